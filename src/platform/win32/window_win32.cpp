// Showing, hiding, pinning and locating the phrase window, and the platform's start-up on Windows.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/events.h"
#include "platform/win32/win32.h"
#include "platform/window.h"

namespace mz {

HINSTANCE programInstance() { return GetModuleHandleW(nullptr); }

void setUpPlatform() {
    clearEventQueue();
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);
}

void showPhraseWindow() {
    HWND window = phraseWindow();
    if (!window) return;
    int how = IsZoomed(window) ? SW_SHOWMAXIMIZED : IsIconic(window) ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    ShowWindow(window, how);
}

void hidePhraseWindow() {
    if (HWND window = phraseWindow()) ShowWindow(window, SW_HIDE);
}

void setPhraseWindowOnTop(bool onTop) {
    if (HWND window = phraseWindow())
        SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void phraseWindowPosition(std::int32_t& x, std::int32_t& y) {
    x = 0;
    y = 0;
    RECT frame;
    if (HWND window = phraseWindow(); window && GetWindowRect(window, &frame)) {
        x = frame.left;
        y = frame.top;
    }
}

}  // namespace mz
