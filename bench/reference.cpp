// The least program of Merkzeile's kind, the yardstick of scripts/bench: one window, one tray icon, a 250 ms
// message wait; its one button puts the text of Merkzeile01.txt on the clipboard with a direct SetClipboardData.
// Built a second time with MZ_PLATFORM_SETUP (refsetup.exe): then it also makes Merkzeile's platform
// set-up first (common controls 6 by its manifest, InitCommonControlsEx, CoInitialize), to show how much of a
// difference comes from that set-up alone.
#include <windows.h>
#include <shellapi.h>
#ifdef MZ_PLATFORM_SETUP
#include <commctrl.h>
#include <objbase.h>
#endif

namespace {

constexpr UINT TrayMessage = WM_APP + 1;
constexpr int CopyButtonId = 27;  // the number of Merkzeile's first copy button, so one watcher serves both

wchar_t* text = nullptr;  // Merkzeile01.txt, widened byte by byte (the benchmark writes it in ASCII with CR LF)
SIZE_T textBytes = sizeof(wchar_t);

// Read only after the tray icon is up, so that it costs the start-up nothing.
void readText() {
    HANDLE file = CreateFileW(L"Merkzeile01.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const DWORD size = GetFileSize(file, nullptr);
    HANDLE heap = GetProcessHeap();
    auto* bytes = static_cast<unsigned char*>(HeapAlloc(heap, 0, size + 1));
    text = static_cast<wchar_t*>(HeapAlloc(heap, 0, (size + 1) * sizeof(wchar_t)));
    DWORD got = 0;
    if (bytes && text && ReadFile(file, bytes, size, &got, nullptr)) {
        for (DWORD i = 0; i < got; ++i) text[i] = bytes[i];
        text[got] = 0;
        textBytes = (got + 1) * sizeof(wchar_t);
    }
    if (bytes) HeapFree(heap, 0, bytes);
    CloseHandle(file);
}

void copyText(HWND window) {
    if (!text || !OpenClipboard(window)) return;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, textBytes);
    if (void* target = block ? GlobalLock(block) : nullptr) {
        CopyMemory(target, text, textBytes);
        GlobalUnlock(block);
        if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
}

NOTIFYICONDATAW tray;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == CopyButtonId && HIWORD(wParam) == BN_CLICKED) copyText(window);
        return 0;
    case WM_CLOSE:
        Shell_NotifyIconW(NIM_DELETE, &tray);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef MZ_PLATFORM_SETUP
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);
#endif
    WNDCLASSW cls{};
    cls.lpfnWndProc = windowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = L"MzReference";
    RegisterClassW(&cls);
    HWND window = CreateWindowExW(0, L"MzReference", L"Referenz", WS_OVERLAPPEDWINDOW, 10, 10, 300, 100, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 1;
    CreateWindowExW(0, L"Button", L"Kopieren", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 100, 25, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(CopyButtonId)), instance, nullptr);

    tray.cbSize = sizeof(tray);
    tray.hWnd = window;
    tray.uID = 1;
    tray.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    tray.uCallbackMessage = TrayMessage;
    tray.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpyW(tray.szTip, L"Referenz");
    Shell_NotifyIconW(NIM_ADD, &tray);
    readText();

    for (;;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return 0;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
