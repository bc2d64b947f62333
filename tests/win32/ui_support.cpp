// Helpers of the phrase-window and tray suites: pixels read back from the screen, polling with a deadline.
#include "ui_support.h"

namespace mz::test {

int Pixels::count(const std::function<bool(COLORREF)>& match) const {
    int n = 0;
    for (COLORREF c : data) n += match(c) ? 1 : 0;
    return n;
}

namespace {

Pixels copyFrom(HDC source, int x, int y, int width, int height) {
    Pixels out;
    out.width = width;
    out.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    out.data.reserve(static_cast<std::size_t>(width * height));
    for (int i = 0; i < width * height; ++i) {
        const std::uint32_t v = p[i];  // 0x00RRGGBB
        out.data.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return out;
}

}  // namespace

Pixels captureScreen(const RECT& r) {
    HDC screen = GetDC(nullptr);
    Pixels p = copyFrom(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return p;
}

Pixels captureClient(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    HDC dc = GetDC(window);
    Pixels p = copyFrom(dc, 0, 0, r.right, r.bottom);
    ReleaseDC(window, dc);
    return p;
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

bool placePointer(int x, int y) {
    SetCursorPos(x, y);
    DWORD since = 0;
    return pumpUntil(
        [&] {
            POINT p{};
            GetCursorPos(&p);
            if (p.x != x || p.y != y) {
                SetCursorPos(x, y);
                since = 0;
                return false;
            }
            if (!since) since = GetTickCount();
            return GetTickCount() - since >= 100;
        },
        3000);
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

RECT rectInParent(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace mz::test
