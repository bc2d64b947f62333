// Finding the program of a bare name the way the system does, but never in the current directory.
#pragma once
#include <string>
#include <vector>

namespace mz {

// The file name of the program a target names when it has no folder in it ("Notepad.exe", "notepad"),
// without quotes and with ".exe" added when it has no extension; empty when the target names a folder.
std::u16string bareProgramName(const std::u16string& target);

// Whether folder is fully qualified ("C:\..." or "\\server\share"), so it cannot mean the current directory.
bool isAbsoluteFolder(const std::u16string& folder);

// The folders to search, in order: the application's folder, the system folder, the Windows folder and the
// entries of the PATH value. Empty, "." and relative entries are left out.
std::vector<std::u16string> programSearchFolders(const std::u16string& applicationFolder,
                                                 const std::u16string& systemFolder,
                                                 const std::u16string& windowsFolder,
                                                 const std::u16string& pathValue);

std::u16string joinPath(const std::u16string& folder, const std::u16string& name);

// The file names in the current directory that the shell could run for target: the name itself when it has
// a program extension, or the name with each program extension when it has none. Empty for other targets.
std::vector<std::u16string> currentFolderProgramNames(const std::u16string& target);

}  // namespace mz
