// Starting a program (the editor) or handing a target to the shell (the web page).
#include "actions/win32/launch_win32.h"

#include <vector>

#include "actions/launch.h"
#include "actions/program_search.h"
#include "platform/win32/win32.h"

// After <windows.h>, which it needs.
#include <shellapi.h>

namespace mz {

static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOW) == 68);
static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOW) == 60);
static_assert((SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI) == 0x540);

namespace {

class OwnedHandle {
  public:
    explicit OwnedHandle(HANDLE h) : h_(h) {}
    ~OwnedHandle() {
        if (h_) CloseHandle(h_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

// Calls a "fill this buffer" function until the buffer is large enough.
template <typename Fill>
std::u16string bufferText(Fill fill) {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = fill(buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return std::u16string();
        if (n < buf.size()) return fromWide(buf.data());
        buf.resize(n + 1 > 2 * buf.size() ? n + 1 : 2 * buf.size());
    }
}

std::u16string applicationFolder() {
    std::u16string path = bufferText([](wchar_t* b, DWORD n) {
        const DWORD got = GetModuleFileNameW(nullptr, b, n);
        return got >= n ? n : got;  // a cut-off name reports the buffer size
    });
    const std::size_t last = path.rfind(u'\\');
    return last == std::u16string::npos ? std::u16string() : path.substr(0, last);
}

// The folder's full form without a trailing backslash (a drive root keeps its own), for comparing.
std::u16string normalFolder(const std::u16string& folder) {
    std::u16string full =
        bufferText([&folder](wchar_t* b, DWORD n) { return GetFullPathNameW(wide(folder), n, b, nullptr); });
    while (full.size() > 3 && (full.back() == u'\\' || full.back() == u'/')) full.pop_back();
    return full;
}

bool sameFolder(const std::u16string& a, const std::u16string& b) {
    return CompareStringOrdinal(wide(a), -1, wide(b), -1, TRUE) == CSTR_EQUAL;
}

bool isFile(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shell looks for a bare name in the current directory (or the given one) first; a program planted
// there must not be run in our place.
bool programInDataFolder(const std::u16string& target, const std::u16string& directory) {
    for (const std::u16string& name : currentFolderProgramNames(target))
        if (isFile(name) || (!directory.empty() && isFile(joinPath(directory, name)))) return true;
    return false;
}

bool openWithShell(const std::u16string& target, const std::u16string& parameters,
                   const std::u16string& directory, bool wait) {
    const std::u16string folder = shellDirectory(target, directory);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpFile = wide(target);
    info.lpParameters = wide(parameters);
    info.lpDirectory = folder.empty() ? nullptr : wide(folder);
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) return false;
    // The shell gives no process when it handed the target over some other way (to a running program, say).
    OwnedHandle process(info.hProcess);
    if (wait && process.get()) WaitForSingleObject(process.get(), INFINITE);
    return true;
}

}  // namespace

std::u16string findBareProgram(const std::u16string& target) {
    const std::u16string name = bareProgramName(target);
    if (name.empty()) return name;
    const std::u16string path =
        bufferText([](wchar_t* b, DWORD n) { return GetEnvironmentVariableW(L"PATH", b, n); });
    const std::u16string current = normalFolder(u".");
    const std::u16string system = bufferText([](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); });
    const std::u16string windows = bufferText([](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); });
    for (const std::u16string& folder : programSearchFolders(applicationFolder(), system, windows, path)) {
        if (sameFolder(normalFolder(folder), current)) continue;
        const std::u16string candidate = joinPath(folder, name);
        if (isFile(candidate)) return candidate;
    }
    return std::u16string();
}

bool launchTarget(const std::u16string& target, const std::u16string& parameters,
                  const std::u16string& directory, bool wait) {
    const std::u16string commandLine = buildCommandLine(target, parameters);
    const bool bare = !bareProgramName(target).empty();
    const std::u16string program = bare ? findBareProgram(target) : std::u16string();

    // A bare name is started only from where it was found: left to CreateProcessW, the name would also be
    // looked up in the current directory, which holds the user's data.
    if (!bare || !program.empty()) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION started{};
        // CreateProcessW may write into the command line.
        std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
        line.push_back(L'\0');
        if (CreateProcessW(program.empty() ? nullptr : wide(program), line.data(), nullptr, nullptr, FALSE,
                           NORMAL_PRIORITY_CLASS, nullptr, directory.empty() ? nullptr : wide(directory),
                           &startup, &started)) {
            CloseHandle(started.hThread);
            OwnedHandle process(started.hProcess);
            if (wait) WaitForSingleObject(process.get(), INFINITE);
            return true;
        }
    }

    if (bare && programInDataFolder(target, directory)) return false;
    return openWithShell(target, parameters, directory, wait);
}

}  // namespace mz
