// Starts the editor or hands a web address to the shell.
#pragma once
#include <string>

namespace mz {

// Starts target with parameters in directory (empty: ours); with wait, returns when the process has ended.
bool launchTarget(const std::u16string& target, const std::u16string& parameters,
                  const std::u16string& directory, bool wait);

// The command line: the target in double quotes unless it starts with one, then a space and the parameters.
std::u16string buildCommandLine(const std::u16string& target, const std::u16string& parameters);
// The shell's working directory when the direct start failed: the given one, else the target's folder.
std::u16string shellDirectory(const std::u16string& target, const std::u16string& directory);

}  // namespace mz
