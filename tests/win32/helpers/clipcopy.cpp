// Test helper: copies the UTF-8 content of a file to the clipboard with the program's own copy operation.
// Usage: clipcopy <file>. Exit code 0 when the clipboard accepted the text.
#include <windows.h>

#include <string>

#include "actions/clipboard.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HANDLE h = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 3;
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(h);
    std::wstring text;
    if (!bytes.empty()) {
        int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        text.resize(static_cast<std::size_t>(n));
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
    }
    return mz::copyToClipboard(std::u16string(reinterpret_cast<const char16_t*>(text.c_str()), text.size())) ? 0 : 1;
}
