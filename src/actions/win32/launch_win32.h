// The program search behind launchTarget, open to the Windows tests.
#pragma once
#include <string>

namespace mz {

// The full path of the program a bare target names, searched in the application's folder, the system folder,
// the Windows folder and the PATH folders, never in the current directory; empty when not found or when the
// target has a folder in it.
std::u16string findBareProgram(const std::u16string& target);

}  // namespace mz
