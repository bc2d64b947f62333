// The file layer for the native build: real files, with Windows share modes stood in for by flock().
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/files.h"
#include "platform/text.h"

namespace mz {

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        other.handle_ = invalid;
    }
    return *this;
}

void File::close() {
    if (isOpen()) ::close(static_cast<int>(handle_));
    handle_ = invalid;
}

std::size_t File::read(std::uint8_t* buffer, std::size_t n) {
    if (!isOpen()) return 0;
    ssize_t got = ::read(static_cast<int>(handle_), buffer, n);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool File::size(std::uint64_t& bytes) const {
    struct stat st;
    if (!isOpen() || fstat(static_cast<int>(handle_), &st) != 0) return false;
    bytes = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool File::seek(std::uint64_t offset) {
    return isOpen() && lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool File::write(const std::uint8_t* data, std::size_t n) {
    if (!isOpen()) return false;
    while (n > 0) {
        ssize_t done = ::write(static_cast<int>(handle_), data, n);
        if (done <= 0) return false;
        data += done;
        n -= static_cast<std::size_t>(done);
    }
    return true;
}

bool File::truncateHere() {
    if (!isOpen()) return false;
    off_t at = lseek(static_cast<int>(handle_), 0, SEEK_CUR);
    return at >= 0 && ftruncate(static_cast<int>(handle_), at) == 0;
}

File openFile(const std::u16string& name, FileAccess access, unsigned share, FileCreation creation) {
    std::string path = utf8FromUtf16(name);
    int flags = (access == FileAccess::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    if (creation == FileCreation::CreateNew) flags |= O_CREAT | O_EXCL;
    if (creation == FileCreation::CreateAlways) flags |= O_CREAT;
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) return File();
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return File();
    }
    // No sharing or a writer that shares nothing: exclusive lock; otherwise a shared one.
    bool exclusive = share == ShareNone || (access == FileAccess::ReadWrite && !(share & ShareWrite));
    if (flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        ::close(fd);
        return File();
    }
    if (creation == FileCreation::CreateAlways && ftruncate(fd, 0) != 0) {
        ::close(fd);
        return File();
    }
    return File(fd);
}

bool pathExists(const std::u16string& name) {
    struct stat st;
    return lstat(utf8FromUtf16(name).c_str(), &st) == 0;
}

}  // namespace mz
