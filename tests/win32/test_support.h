// Helpers shared by the Windows test suites: a fresh temporary folder as current directory, file bytes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace mz::test {

// Makes a new empty folder under %TEMP%, enters it, and on destruction goes back and deletes it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::wstring& path() const { return path_; }

private:
    std::wstring previous_, path_;
};

bool writeBytes(const std::wstring& name, const std::string& bytes);
// The file's bytes; false when it cannot be read (shared for reading and writing, so it never blocks a test).
bool readBytes(const std::wstring& name, std::string& bytes);
bool fileExists(const std::wstring& name);

}  // namespace mz::test

namespace mz::test {

// The full path of a helper program built next to the test program.
std::wstring helperPath(const wchar_t* exeName);
// Starts a program with the given command line; the process handle, or nullptr (see GetLastError).
HANDLE startProcess(const std::wstring& application, const std::wstring& commandLine);

}  // namespace mz::test
