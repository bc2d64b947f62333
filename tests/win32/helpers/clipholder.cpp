// Test helper: holds the clipboard open for the given milliseconds, as a clipboard manager would.
// Usage: clipholder <ms> <ready-event-name>. Signals the named event once the clipboard is open.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    DWORD ms = static_cast<DWORD>(_wtoi(argv[1]));
    // Opened with a window, as clipboard managers do: Wine lets a second owner-less open through while the
    // first one is owner-less too.
    HWND window = CreateWindowExW(0, L"Static", L"clipholder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window || !OpenClipboard(window)) return 1;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (ready) SetEvent(ready);
    Sleep(ms);
    CloseClipboard();
    DestroyWindow(window);
    if (ready) CloseHandle(ready);
    return 0;
}
