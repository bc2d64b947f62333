// The string work of a launch: the command line and the shell's working directory.
#include "actions/launch.h"

namespace mz {

std::u16string buildCommandLine(const std::u16string& target, const std::u16string& parameters) {
    std::u16string line = !target.empty() && target[0] == u'"' ? target : u"\"" + target + u"\"";
    if (!parameters.empty()) line += u" " + parameters;
    return line;
}

std::u16string shellDirectory(const std::u16string& target, const std::u16string& directory) {
    if (!directory.empty()) return directory;
    const std::size_t last = target.rfind(u'\\');
    // A backslash only at the very start names no folder worth changing to.
    if (last == std::u16string::npos || last == 0) return std::u16string();
    return target.substr(0, last + 1);
}

}  // namespace mz
