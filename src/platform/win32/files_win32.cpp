// The file layer on Windows: CreateFileW with the caller's share mode, ReadFile, WriteFile.
#include <windows.h>

#include "platform/files.h"
#include "platform/win32/win32.h"

namespace mz {

static HANDLE handleOf(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        other.handle_ = invalid;
    }
    return *this;
}

void File::close() {
    if (isOpen()) CloseHandle(handleOf(handle_));
    handle_ = invalid;
}

std::size_t File::read(std::uint8_t* buffer, std::size_t n) {
    DWORD got = 0;
    if (!isOpen() || !ReadFile(handleOf(handle_), buffer, static_cast<DWORD>(n), &got, nullptr)) return 0;
    return got;
}

bool File::size(std::uint64_t& bytes) const {
    LARGE_INTEGER s;
    if (!isOpen() || !GetFileSizeEx(handleOf(handle_), &s)) return false;
    bytes = static_cast<std::uint64_t>(s.QuadPart);
    return true;
}

bool File::seek(std::uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return isOpen() && SetFilePointerEx(handleOf(handle_), to, nullptr, FILE_BEGIN);
}

bool File::write(const std::uint8_t* data, std::size_t n) {
    DWORD written = 0;
    return isOpen() && WriteFile(handleOf(handle_), data, static_cast<DWORD>(n), &written, nullptr) && written == n;
}

bool File::truncateHere() { return isOpen() && SetEndOfFile(handleOf(handle_)); }

File openFile(const std::u16string& name, FileAccess access, unsigned share, FileCreation creation) {
    DWORD desired = GENERIC_READ | (access == FileAccess::ReadWrite ? GENERIC_WRITE : 0);
    DWORD shareMode = ((share & ShareRead) ? FILE_SHARE_READ : 0) | ((share & ShareWrite) ? FILE_SHARE_WRITE : 0);
    DWORD disposition = creation == FileCreation::OpenExisting ? OPEN_EXISTING
                        : creation == FileCreation::CreateNew  ? CREATE_NEW
                                                               : CREATE_ALWAYS;
    HANDLE h = CreateFileW(wide(name), desired, shareMode, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return File();
    return File(reinterpret_cast<std::intptr_t>(h));
}

bool pathExists(const std::u16string& name) {
    // Attributes can be read even while another program holds the file open without sharing.
    if (GetFileAttributesW(wide(name)) != INVALID_FILE_ATTRIBUTES) return true;
    DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME;
}

}  // namespace mz
