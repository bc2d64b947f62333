// Test helper registered as the web browser: records the address the shell gives it, then runs until
// released. Usage: launch_url_stub.exe <record file> <address>. Writes the address (UTF-16) to the record
// file, then waits for <record file>.release, which it deletes to say that it is ending.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring record = argv[1];
    std::wstring text;
    for (int i = 2; i < argc; ++i) text += (i > 2 ? L"\n" : L"") + std::wstring(argv[i]);

    const std::wstring part = record + L".part";
    HANDLE h =
        CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(h);
    if (!MoveFileExW(part.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING)) return 4;

    const std::wstring release = record + L".release";
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (GetFileAttributesW(release.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > deadline) return 5;
        Sleep(10);
    }
    DeleteFileW(release.c_str());
    return 0;
}
