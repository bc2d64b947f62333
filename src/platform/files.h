// Whole-file access with Windows share modes; the one door through which the program touches files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mz {

enum class FileAccess { Read, ReadWrite };
enum FileShare : unsigned { ShareNone = 0, ShareRead = 1, ShareWrite = 2 };
enum class FileCreation { OpenExisting, CreateNew, CreateAlways };

// Owns one open file; closes it when it goes out of scope.
class File {
public:
    File() = default;
    explicit File(std::intptr_t handle) : handle_(handle) {}
    ~File() { close(); }
    File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = invalid; }
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool isOpen() const { return handle_ != invalid; }
    void close();
    // Reads up to n bytes at the current position; gives the count read, 0 at the end or on an error.
    std::size_t read(std::uint8_t* buffer, std::size_t n);
    bool size(std::uint64_t& bytes) const;
    bool seek(std::uint64_t offset);
    bool write(const std::uint8_t* data, std::size_t n);
    // Cuts the file off at the current position.
    bool truncateHere();

    static constexpr std::intptr_t invalid = -1;

private:
    std::intptr_t handle_ = invalid;
};

// Opens (or creates) name relative to the current directory; an unopened File on failure.
File openFile(const std::u16string& name, FileAccess access, unsigned share, FileCreation creation);
// Whether any directory entry of that name exists (file or folder), whether or not it can be opened.
bool pathExists(const std::u16string& name);

}  // namespace mz
