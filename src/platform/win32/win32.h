// What the Windows-specific parts of the program share: window handles, the window procedure, helpers.
#pragma once
#include <windows.h>

#include <string>

namespace mz {

// UTF-16 strings are wchar_t strings on Windows.
inline const wchar_t* wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline std::u16string fromWide(const wchar_t* s) {
    return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}

HINSTANCE programInstance();

// The phrase window (window number 0), once created; nullptr before and after.
HWND phraseWindow();
void setPhraseWindow(HWND window);
// Moves raise events only once the window's creation is complete.
void setPhraseWindowReady(bool ready);
// The window procedure that the phrase window's class is registered with.
LRESULT CALLBACK phraseWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The Tab / Shift+Tab keyboard table of the phrase window, made with it and destroyed with it.
void createNavigationAccelerators();
void destroyNavigationAccelerators();

// A control's own handler for the colour, scroll and notify messages its parent receives on its behalf.
// Returns true when it answered, with the answer in result.
using ControlHandler = bool (*)(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
void setControlHandler(HWND control, ControlHandler handler);

// Called when the taskbar has been created anew (Explorer restarted), so the tray icon can come back.
using TaskbarCreatedHandler = void (*)();
void setTaskbarCreatedHandler(TaskbarCreatedHandler handler);

}  // namespace mz
