// The notification-area icon and the owner-drawn tray menu on Windows.
#include "ui/win32/tray_win32.h"

#include <shellapi.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/win32/win32.h"
#include "ui/menu_draw.h"
#include "ui/tray.h"
#include "ui/win32/icons_win32.h"

namespace mz {

static_assert(sizeof(void*) != 4 || sizeof(NOTIFYICONDATAW) == 956);
// The menu item record without its last field (the item bitmap), which the state alone does not need.
constexpr UINT MenuItemInfoSize = offsetof(MENUITEMINFOW, hbmpItem);
static_assert(sizeof(void*) != 4 || MenuItemInfoSize == 44);
// The metrics record as it was before its last field was added, which every system accepts: 500 bytes.
constexpr UINT NonClientMetricsSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
static_assert(NonClientMetricsSize == 500);

namespace {

struct TrayIcon {
    bool wanted = false;  // added and not removed since: comes back when the taskbar is made anew
    bool shown = false;   // the shell holds it now
    HWND owner = nullptr;
    int image = 0;
    std::u16string tip;
};
TrayIcon tray;

HMENU menu = nullptr;
std::vector<std::unique_ptr<MenuEntry>> menuEntries;
HFONT menuFont = nullptr;

NOTIFYICONDATAW notifyRecord(UINT flags) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = tray.owner;
    data.uID = TrayIconId;
    data.uFlags = flags;
    return data;
}

bool sendIcon(DWORD action) {
    NOTIFYICONDATAW data = notifyRecord(NIF_MESSAGE | NIF_ICON);
    data.uCallbackMessage = TrayCallbackMessage;
    data.hIcon = builtInIcon(tray.image);
    return Shell_NotifyIconW(action, &data) != FALSE;
}

bool sendTip() {
    NOTIFYICONDATAW data = notifyRecord(NIF_TIP);
    const std::u16string clipped = clipTrayToolTip(tray.tip);
    clipped.copy(reinterpret_cast<char16_t*>(data.szTip), clipped.size());
    data.szTip[clipped.size()] = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// A new taskbar knows no icons; without ours the hidden window could never be brought up again.
void restoreTrayIcon() {
    if (!tray.wanted || !builtInIcon(tray.image)) return;
    tray.shown = sendIcon(NIM_ADD) || sendIcon(NIM_MODIFY);
    if (tray.shown && !tray.tip.empty()) sendTip();
}

void remakeMenuFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = NonClientMetricsSize;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, NonClientMetricsSize, &metrics, 0)) return;
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    if (!font) return;
    if (menuFont) DeleteObject(menuFont);
    menuFont = font;
}

HFONT currentMenuFont() {
    if (!menuFont) remakeMenuFont();
    return menuFont;
}

COLORREF colourRef(Rgb c) {
    return RGB(c.r, c.g, c.b);
}
Rgb rgbOf(COLORREF c) {
    return {static_cast<std::uint8_t>(GetRValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
            static_cast<std::uint8_t>(GetBValue(c))};
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

RECT toRect(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool isOwnEntry(ULONG_PTR data) {
    for (const auto& e : menuEntries)
        if (reinterpret_cast<ULONG_PTR>(e.get()) == data) return true;
    return false;
}

bool measureEntry(HWND window, MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || !isOwnEntry(item.itemData)) return false;
    const auto* entry = reinterpret_cast<const MenuEntry*>(item.itemData);
    SIZE extent{0, 0};
    if (!entry->separator) {
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, currentMenuFont());
        GetTextExtentPoint32W(dc, wide(entry->text), static_cast<int>(entry->text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(window, dc);
    }
    const ItemSize size = measureMenuItem(entry->separator, extent.cx, extent.cy);
    item.itemWidth = static_cast<UINT>(size.width);
    item.itemHeight = static_cast<UINT>(size.height);
    return true;
}

// Each entry is drawn off-screen and copied onto the menu in one piece, so it never flickers.
bool drawEntry(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || !isOwnEntry(item.itemData)) return false;
    const auto* entry = reinterpret_cast<const MenuEntry*>(item.itemData);
    const int w = item.rcItem.right - item.rcItem.left;
    const int h = item.rcItem.bottom - item.rcItem.top;
    HDC dc = CreateCompatibleDC(item.hDC);
    HBITMAP bitmap = CreateCompatibleBitmap(item.hDC, w, h);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, currentMenuFont());

    const RECT whole = {0, 0, w, h};
    FillRect(dc, &whole, GetSysColorBrush(COLOR_MENU));
    const Rgb highlight = rgbOf(GetSysColor(COLOR_HIGHLIGHT));
    for (int k = 0; k < ImageColumnWidth; ++k)
        fill(dc, {k, 0, k + 1, h}, colourRef(imageColumnColour(highlight, k)));

    if (entry->separator) {
        const RECT line = toRect(separatorLineRect(w, h));
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
        if (item.itemState & ODS_SELECTED) {
            fill(dc, whole, colourRef(halfHighlight(highlight)));
            FrameRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
        }
        if (entry->image) {
            const Point at = menuImagePosition(h);
            DrawIconEx(dc, at.x, at.y, entry->image, MenuImageSize, MenuImageSize, 0, nullptr, DI_NORMAL);
        }
        SetBkMode(dc, TRANSPARENT);
        RECT text = toRect(menuTextRect(w, h));
        DrawTextW(dc, wide(entry->text), -1, &text, DT_SINGLELINE | DT_VCENTER);
        if (item.itemState & ODS_CHECKED) {
            for (const TickStroke& s : tickStrokes()) {
                MoveToEx(dc, s.x, s.top, nullptr);
                LineTo(dc, s.x, s.top + s.length);
            }
        }
    }

    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, w, h, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return true;
}

// The position of the entry chosen by the typed character, or -1. Only entries carrying one of our
// records take part; whatever else a menu holds counts as a separator.
int matchMenuChar(HMENU target, char16_t c) {
    std::vector<MenuCharEntry> entries;
    const int count = GetMenuItemCount(target);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = MenuItemInfoSize;
        info.fMask = MIIM_DATA;
        const bool own =
            GetMenuItemInfoW(target, static_cast<UINT>(i), TRUE, &info) && isOwnEntry(info.dwItemData);
        const auto* entry = own ? reinterpret_cast<const MenuEntry*>(info.dwItemData) : nullptr;
        entries.push_back({!entry || entry->separator, entry ? entry->text : u""});
    }
    return menuCharPosition(entries, c);
}

LRESULT CALLBACK menuDrawingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, MenuHookProperty));
    switch (message) {
        case WM_SETTINGCHANGE: remakeMenuFont(); break;
        case WM_MEASUREITEM:
            if (wParam == 0 && measureEntry(window, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
                return TRUE;
            break;
        case WM_DRAWITEM:
            if (wParam == 0 && drawEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_MENUCHAR:
            if (!(HIWORD(wParam) & MF_SYSMENU)) {
                const int position =
                    matchMenuChar(reinterpret_cast<HMENU>(lParam), static_cast<char16_t>(LOWORD(wParam)));
                if (position >= 0) return MAKELRESULT(position, MNC_EXECUTE);
            }
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            RemovePropW(window, MenuHookProperty);
            break;
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

void hookForMenuDrawing(HWND window) {
    if (GetPropW(window, MenuHookProperty)) return;
    SetPropW(window, MenuHookProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(window, GWLP_WNDPROC)));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&menuDrawingProc));
}

}  // namespace

bool addTrayIcon(int image) {
    HWND window = phraseWindow();
    if (!window || !builtInIcon(image)) return false;
    static bool listening = false;
    if (!listening) {
        setTaskbarCreatedHandler(&restoreTrayIcon);
        listening = true;
    }
    tray.owner = window;
    tray.image = image;
    tray.wanted = true;
    tray.tip.clear();
    tray.shown = sendIcon(NIM_ADD);
    return tray.shown;
}

void setTrayToolTip(const std::u16string& text) {
    if (!tray.wanted) return;
    tray.tip = text;
    if (tray.shown) sendTip();
}

void removeTrayIcon() {
    if (!tray.owner) return;
    NOTIFYICONDATAW data = notifyRecord(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
    tray = TrayIcon();
}

HMENU trayMenu() {
    return menu;
}

void createTrayMenu() {
    menu = CreatePopupMenu();
}

void appendMenuItem(int item, const std::u16string& text, int image) {
    menuEntries.push_back(std::make_unique<MenuEntry>(MenuEntry{false, text, builtInIcon(image)}));
    AppendMenuW(menu, MF_OWNERDRAW, static_cast<UINT_PTR>(item),
                reinterpret_cast<const wchar_t*>(menuEntries.back().get()));
}

void appendMenuSeparator() {
    menuEntries.push_back(std::make_unique<MenuEntry>(MenuEntry{true, u"", nullptr}));
    AppendMenuW(menu, MF_SEPARATOR | MF_OWNERDRAW, static_cast<UINT_PTR>(-1),
                reinterpret_cast<const wchar_t*>(menuEntries.back().get()));
}

void setMenuItemChecked(int item, bool checked) {
    MENUITEMINFOW info{};
    info.cbSize = MenuItemInfoSize;
    info.fMask = MIIM_STATE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(item), FALSE, &info)) return;
    info.fState = checked ? (info.fState | MFS_CHECKED) : (info.fState & ~static_cast<UINT>(MFS_CHECKED));
    SetMenuItemInfoW(menu, static_cast<UINT>(item), FALSE, &info);
}

void showTrayMenu() {
    HWND window = phraseWindow();
    if (!window || !menu) return;
    POINT pointer{0, 0};
    GetCursorPos(&pointer);
    hookForMenuDrawing(window);
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, pointer.x - 1, pointer.y - 1, 0, window, nullptr);
}

}  // namespace mz
