// Test helper planted in a data folder under a program's name (Notepad.exe): it must never be run.
// If it is, it leaves planted-ran.txt next to itself.
#include <windows.h>

#include <string>

int wmain() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 2;
    std::wstring marker = path;
    marker = marker.substr(0, marker.rfind(L'\\') + 1) + L"planted-ran.txt";
    HANDLE h =
        CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 3;
    CloseHandle(h);
    return 0;
}
