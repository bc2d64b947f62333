// Finding the program of a bare name the way the system does, but never in the current directory.
#include "actions/program_search.h"

namespace mz {

namespace {

std::u16string unquoted(const std::u16string& target) {
    if (target.empty() || target[0] != u'"') return target;
    const std::size_t close = target.find(u'"', 1);
    return target.substr(1, close == std::u16string::npos ? std::u16string::npos : close - 1);
}

bool hasFolder(const std::u16string& name) {
    return name.find_first_of(u"\\/:") != std::u16string::npos;
}

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool sameAscii(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// What the shell runs or opens as a program.
const char16_t* const ProgramExtensions[] = {u".exe", u".com", u".bat", u".cmd", u".pif", u".scr",
                                             u".lnk", u".vbs", u".vbe", u".js",  u".jse", u".wsf",
                                             u".wsh", u".msc", u".cpl", u".hta", u".msi"};

}  // namespace

std::u16string bareProgramName(const std::u16string& target) {
    std::u16string name = unquoted(target);
    if (name.empty() || hasFolder(name)) return std::u16string();
    if (name.find(u'.') == std::u16string::npos) name += u".exe";
    return name;
}

bool isAbsoluteFolder(const std::u16string& folder) {
    if (folder.size() >= 3 && folder[1] == u':' && (folder[2] == u'\\' || folder[2] == u'/')) {
        const char16_t d = lower(folder[0]);
        return d >= u'a' && d <= u'z';
    }
    return folder.size() >= 3 && folder[0] == u'\\' && folder[1] == u'\\';
}

std::vector<std::u16string> programSearchFolders(const std::u16string& applicationFolder,
                                                 const std::u16string& systemFolder,
                                                 const std::u16string& windowsFolder,
                                                 const std::u16string& pathValue) {
    std::vector<std::u16string> folders;
    auto add = [&folders](std::u16string folder) {
        if (folder.size() >= 2 && folder.front() == u'"' && folder.back() == u'"')
            folder = folder.substr(1, folder.size() - 2);
        // A relative entry would be looked up from the current directory.
        if (isAbsoluteFolder(folder)) folders.push_back(folder);
    };
    add(applicationFolder);
    add(systemFolder);
    add(windowsFolder);
    std::size_t start = 0;
    while (start <= pathValue.size()) {
        std::size_t end = pathValue.find(u';', start);
        if (end == std::u16string::npos) end = pathValue.size();
        add(pathValue.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

std::u16string joinPath(const std::u16string& folder, const std::u16string& name) {
    if (folder.empty() || folder.back() == u'\\' || folder.back() == u'/') return folder + name;
    return folder + u"\\" + name;
}

std::vector<std::u16string> currentFolderProgramNames(const std::u16string& target) {
    std::vector<std::u16string> names;
    const std::u16string name = unquoted(target);
    if (name.empty() || hasFolder(name)) return names;
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string::npos) {
        for (const char16_t* ext : ProgramExtensions) names.push_back(name + ext);
        return names;
    }
    const std::u16string ext = name.substr(dot);
    for (const char16_t* known : ProgramExtensions)
        if (sameAscii(ext, known)) names.push_back(name);
    return names;
}

}  // namespace mz
