// A fresh empty current directory for tests that touch real files, and whole-file helpers.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace mz::test {

// Enters a new folder under the system's temp directory; goes back and removes it on destruction.
class TempFolder {
public:
    explicit TempFolder(const char* prefix) : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~TempFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

private:
    std::filesystem::path previous_, path_;
};

inline void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace mz::test
