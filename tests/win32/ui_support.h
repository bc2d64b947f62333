// Helpers of the phrase-window and tray suites: pixels read back from the screen, polling with a deadline.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mz::test {

// A block of pixels read back from the screen or a window, as COLORREF values.
struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> data;
    COLORREF at(int x, int y) const { return data[static_cast<std::size_t>(y * width + x)]; }
    int count(const std::function<bool(COLORREF)>& match) const;
};

// The screen rectangle r as it is shown now.
Pixels captureScreen(const RECT& r);
// The client area of window as it is drawn now.
Pixels captureClient(HWND window);

// Dispatches this thread's messages and tests done until it holds or timeoutMs has passed.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Moves the pointer and waits until the system reports it there for a while: under Wine a pending report of
// an earlier move can otherwise put it back for a moment.
bool placePointer(int x, int y);

std::wstring className(HWND window);
std::wstring windowText(HWND window);
// A window's rectangle in the client coordinates of its parent.
RECT rectInParent(HWND window);

}  // namespace mz::test
