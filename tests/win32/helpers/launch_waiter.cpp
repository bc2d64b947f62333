// Test helper started by launchTarget: reports how it was started, then runs until the test releases it.
// Usage: launch_waiter.exe <folder>. Writes <folder>\started.txt, waits for <folder>\release.txt,
// writes <folder>\ended.txt (its end time) and exits.
#include <windows.h>

#include <string>

static bool writeText(const std::wstring& path, const std::wstring& text) {
    // Written under another name first, so the test never reads half a file.
    const std::wstring part = path + L".part";
    HANDLE h =
        CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const BOOL ok = WriteFile(h, text.data(), bytes, &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes && MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring folder = argv[1];

    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring report = std::wstring(GetCommandLineW()) + L"\n" + current + L"\n" +
                                std::to_wstring(startup.dwFlags) + L"\n" +
                                std::to_wstring(startup.wShowWindow);
    if (!writeText(folder + L"\\started.txt", report)) return 3;

    const std::wstring release = folder + L"\\release.txt";
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (GetFileAttributesW(release.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > deadline) return 4;
        Sleep(10);
    }

    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG end = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return writeText(folder + L"\\ended.txt", std::to_wstring(end)) ? 0 : 5;
}
