// The real tray icon and tray menu: the icon in the shell's notification area with its tip, the seven
// owner-drawn entries, the tick, and the menu as it is drawn on the screen.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <functional>

#include "platform/events.h"
#include "platform/win32/win32.h"
#include "platform/window.h"
#include "ui/icons.h"
#include "ui/phrase_window.h"
#include "ui/tray.h"
#include "ui/win32/icons_win32.h"
#include "ui/win32/tray_win32.h"
#include "ui_support.h"

namespace mz {
namespace {

using test::className;
using test::windowText;

const std::u16string HideText = u"Das ge\u00f6ffnete Phrasenfenster ausblenden";
const std::u16string KeepText = u"Das Phrasenfenster nach dem Kopieren im Vordergrund halten";
const std::u16string WebText = u"Die Kelmarin-Webseite aufrufen";
const std::u16string QuitText = u"Das Programm Merkzeile V1.3 beenden";

class Tray : public ::testing::Test {
  protected:
    void SetUp() override {
        setUpPlatform();
        loadBuiltInImages();
        clearEventQueue();
        ASSERT_TRUE(buildPhraseWindow(10, 10));
    }
    void TearDown() override {
        removeTrayIcon();
        destroyPhraseWindow();
        releaseBuiltInImages();
        clearEventQueue();
    }
    // The menu as start-up builds it.
    static void buildMenu(bool keepInFront) {
        createTrayMenu();
        appendMenuItem(3, HideText, 3);
        appendMenuSeparator();
        appendMenuItem(4, KeepText, 0);
        setMenuItemChecked(4, keepInFront);
        appendMenuSeparator();
        appendMenuItem(6, WebText, 2);
        appendMenuSeparator();
        appendMenuItem(5, QuitText, 1);
    }
};

// Whether the shell holds icon 1 of window: it accepts a change only for an icon it has.
bool shellHasIcon(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = TrayIconId;
    data.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

struct ShownTip {
    std::wstring text;
};
BOOL CALLBACK findShownTip(HWND window, LPARAM lParam) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() || !IsWindowVisible(window) ||
        className(window) != L"tooltips_class32")
        return TRUE;
    wchar_t text[256] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000,
                        nullptr);
    if (text[0]) reinterpret_cast<ShownTip*>(lParam)->text = text;
    return TRUE;
}

// The tip the shell shows when the pointer rests on the tray's icons, tried from the right end of the
// taskbar, where the notification area is; empty when none appears.
std::wstring trayTipShown() {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!taskbar) return L"";
    RECT bar;
    GetWindowRect(taskbar, &bar);
    for (int x = bar.right - 6; x > bar.right - 100; x -= 8) {
        test::placePointer(x - 200, (bar.top + bar.bottom) / 2);
        test::placePointer(x, (bar.top + bar.bottom) / 2);
        ShownTip tip;
        test::pumpUntil(
            [&] {
                EnumWindows(&findShownTip, reinterpret_cast<LPARAM>(&tip));
                return !tip.text.empty();
            },
            1500);
        if (!tip.text.empty()) {
            test::placePointer(640, 300);
            return tip.text;
        }
    }
    test::placePointer(640, 300);
    return L"";
}

TEST_F(Tray, IconWithTipPresentUntilRemoved) {
    HWND window = phraseWindow();
    EXPECT_FALSE(shellHasIcon(window));
    ASSERT_TRUE(addTrayIcon(1));
    EXPECT_TRUE(shellHasIcon(window));
    setTrayToolTip(u"Merkzeile V1.3");
    EXPECT_EQ(trayTipShown(), L"Merkzeile V1.3");
    removeTrayIcon();
    EXPECT_FALSE(shellHasIcon(window));
}

TEST_F(Tray, TipKeepsItsFirstSixtyThreeUnits) {
    ASSERT_TRUE(addTrayIcon(1));
    std::u16string tip;
    for (int i = 0; i < 70; ++i) tip += static_cast<char16_t>(u'A' + i % 26);
    setTrayToolTip(tip);
    const std::wstring shown = trayTipShown();
    EXPECT_EQ(shown.size(), 63u);
    EXPECT_EQ(shown, std::wstring(reinterpret_cast<const wchar_t*>(tip.c_str()), 63));
}

TEST_F(Tray, NoIconWithoutImageOrWindow) {
    EXPECT_FALSE(addTrayIcon(0));
    EXPECT_FALSE(addTrayIcon(4));
    EXPECT_FALSE(shellHasIcon(phraseWindow()));
    setTrayToolTip(u"Merkzeile V1.3");  // no icon: nothing to change
    EXPECT_FALSE(shellHasIcon(phraseWindow()));
    destroyPhraseWindow();
    EXPECT_FALSE(addTrayIcon(1));
}

// A restarted shell announces its new taskbar; the icon and its tip come back.
TEST_F(Tray, IconReturnsWhenTheTaskbarIsMadeAnew) {
    HWND window = phraseWindow();
    ASSERT_TRUE(addTrayIcon(1));
    setTrayToolTip(u"Merkzeile V1.3");
    NOTIFYICONDATAW lost{};
    lost.cbSize = sizeof(lost);
    lost.hWnd = window;
    lost.uID = TrayIconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &lost));  // as if the old taskbar had gone with it
    ASSERT_FALSE(shellHasIcon(window));
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(shellHasIcon(window));
    EXPECT_EQ(trayTipShown(), L"Merkzeile V1.3");

    removeTrayIcon();
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(shellHasIcon(window));
}

MENUITEMINFOW itemAt(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
    EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) << GetLastError();
    return info;
}

TEST_F(Tray, SevenOwnerDrawnEntries) {
    buildMenu(false);
    HMENU menu = trayMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 7);
    struct Expected {
        bool separator;
        UINT id;
        std::u16string text;
        int image;
    };
    const Expected expected[] = {{false, 3, HideText, 3}, {true, 0xFFFFFFFF, u"", 0},
                                 {false, 4, KeepText, 0}, {true, 0xFFFFFFFF, u"", 0},
                                 {false, 6, WebText, 2},  {true, 0xFFFFFFFF, u"", 0},
                                 {false, 5, QuitText, 1}};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const Expected& e = expected[i];
        const MENUITEMINFOW info = itemAt(menu, i);
        EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u);
        EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, e.separator);
        EXPECT_EQ(info.wID, e.id);
        // The system greys every separator by itself.
        EXPECT_EQ(info.fState, e.separator ? UINT{MFS_GRAYED} : 0u);
        const auto* entry = reinterpret_cast<const MenuEntry*>(info.dwItemData);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->separator, e.separator);
        EXPECT_TRUE(entry->text == e.text);
        EXPECT_EQ(entry->image, e.image ? builtInIcon(e.image) : nullptr);
        if (e.image) {
            EXPECT_NE(entry->image, nullptr);
        }
    }
}

// The tick is found by item number, not by position, and only its own bit changes.
TEST_F(Tray, TickFollowsSetMenuItemChecked) {
    buildMenu(true);
    HMENU menu = trayMenu();
    EXPECT_EQ(itemAt(menu, 2).fState, UINT{MFS_CHECKED});
    EXPECT_EQ(itemAt(menu, 0).fState, 0u);

    MENUITEMINFOW state{};
    state.cbSize = sizeof(state);
    state.fMask = MIIM_STATE;
    state.fState = MFS_CHECKED | MFS_DEFAULT;
    ASSERT_TRUE(SetMenuItemInfoW(menu, 4, FALSE, &state));
    setMenuItemChecked(4, false);
    EXPECT_EQ(itemAt(menu, 2).fState, UINT{MFS_DEFAULT});
    setMenuItemChecked(4, true);
    EXPECT_EQ(itemAt(menu, 2).fState, UINT{MFS_CHECKED | MFS_DEFAULT});

    setMenuItemChecked(3, true);
    EXPECT_EQ(itemAt(menu, 0).fState, UINT{MFS_CHECKED});
    EXPECT_EQ(itemAt(menu, 3).fState, UINT{MFS_GRAYED});
}

// Runs probe from a timer inside the open menu's own loop until it says it is done, then closes the menu.
struct OpenMenu {
    static inline std::function<bool(HWND)> probe;
    static inline DWORD deadline = 0;
    static inline bool timedOut = false;
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (popup && IsWindowVisible(popup) && probe(popup)) {
            EndMenu();
        } else if (GetTickCount() > deadline) {
            timedOut = true;
            EndMenu();
        }
    }
    static bool run(POINT pointer, std::function<bool(HWND)> p) {
        probe = std::move(p);
        deadline = GetTickCount() + 8000;
        timedOut = false;
        if (!test::placePointer(pointer.x, pointer.y)) return false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, &tick);
        showTrayMenu();
        KillTimer(nullptr, timer);
        return !timedOut;
    }
};

RECT itemRect(int position) {
    RECT r{};
    // No window: for a popup menu the system finds the menu's own window.
    GetMenuItemRect(nullptr, trayMenu(), static_cast<UINT>(position), &r);
    return r;
}

// The expected colours, worked out here from their definitions rather than taken from the code under test.
COLORREF gradient(int k) {
    const COLORREF h = GetSysColor(COLOR_HIGHLIGHT);
    auto shade = [k](int v) { return static_cast<int>(255 - (255 - v) * 5.0 * k / 100.0); };
    return RGB(shade(GetRValue(h)), shade(GetGValue(h)), shade(GetBValue(h)));
}

COLORREF halfway() {
    const COLORREF h = GetSysColor(COLOR_HIGHLIGHT);
    auto half = [](int v) { return static_cast<int>(v + (255 - v) * 0.5); };
    return RGB(half(GetRValue(h)), half(GetGValue(h)), half(GetBValue(h)));
}

constexpr int ColumnWidth = 20;
// The tick's strokes: x, top pixel; three pixels long each.
constexpr int Tick[7][2] = {{7, 9}, {8, 10}, {9, 11}, {10, 10}, {11, 9}, {12, 8}, {13, 7}};
bool onTick(int x, int y) {
    for (const auto& s : Tick)
        if (s[0] == x && y >= s[1] && y < s[1] + 3) return true;
    return false;
}

// What the open menu shows on the screen: sizes, the image column, separators, images, text and the tick.
TEST_F(Tray, MenuDrawnOnTheScreen) {
    buildMenu(true);
    const COLORREF menuFace = GetSysColor(COLOR_MENU), shadow = GetSysColor(COLOR_BTNSHADOW);
    RECT popupRect{};
    test::Pixels shots[7];
    RECT rects[7];
    const bool done = OpenMenu::run({400, 300}, [&](HWND popup) {
        GetWindowRect(popup, &popupRect);
        for (int i = 0; i < 7; ++i) {
            rects[i] = itemRect(i);
            shots[i] = test::captureScreen(rects[i]);
        }
        // Drawn once the first entry's image column shows.
        return shots[0].width > 0 && shots[0].at(0, 0) == gradient(0) && shots[6].at(19, 0) == gradient(19);
    });
    ASSERT_TRUE(done);
    EXPECT_EQ(popupRect.left, 399);
    EXPECT_EQ(popupRect.top, 299);

    HDC dc = GetDC(phraseWindow());
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(KeepText.c_str()),
                          static_cast<int>(KeepText.size()), &extent);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(phraseWindow(), dc);

    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const test::Pixels& p = shots[i];
        const bool separator = i % 2 == 1;
        ASSERT_EQ(p.height, separator ? 9 : extent.cy + 6);
        for (int k = 0; k < ColumnWidth; ++k) {
            EXPECT_EQ(p.at(k, 0), gradient(k)) << k;
            EXPECT_EQ(p.at(k, p.height - 1), gradient(k)) << k;
        }
        if (separator) {
            for (int x = 24; x < p.width; ++x) EXPECT_EQ(p.at(x, 4), shadow) << x;
            for (int x = 20; x < 24; ++x) EXPECT_EQ(p.at(x, 4), menuFace) << x;
            for (int y : {0, 3, 5, 8}) EXPECT_EQ(p.at(30, y), menuFace) << y;
        } else {
            int ink = 0;
            for (int y = 0; y < p.height; ++y)
                for (int x = 28; x < p.width - 8; ++x) ink += p.at(x, y) == GetSysColor(COLOR_MENUTEXT);
            EXPECT_GT(ink, 20);
            for (int y = 0; y < p.height; ++y)
                for (int x = p.width - 8; x < p.width; ++x) EXPECT_EQ(p.at(x, y), menuFace) << x << "," << y;
        }
    }
    EXPECT_EQ(shots[2].width, shots[0].width);
    EXPECT_GE(shots[2].width, extent.cx + 28);

    // The images, squeezed to 16 x 16 at (2, (h - 16) / 2 + 1): blue, green, red monogram pixels inside, none
    // outside.
    const struct {
        int position;
        COLORREF colour;
    } images[] = {{0, RGB(0, 0, 255)}, {4, RGB(0, 147, 0)}, {6, RGB(255, 0, 0)}};
    for (const auto& image : images) {
        SCOPED_TRACE(image.position);
        const test::Pixels& p = shots[image.position];
        const POINT at = {2, (p.height - 16) / 2 + 1};
        int inside = 0, outside = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                if (p.at(x, y) != image.colour) continue;
                const bool in = x >= at.x && x < at.x + 16 && y >= at.y && y < at.y + 16;
                (in ? inside : outside) += 1;
            }
        EXPECT_GT(inside, 10);
        EXPECT_EQ(outside, 0);
    }

    // The tick of item 4: seven black strokes of three pixels, with the column's shading just above and
    // below.
    const test::Pixels& keep = shots[2];
    for (const auto& s : Tick) {
        SCOPED_TRACE(s[0]);
        for (int y = s[1]; y < s[1] + 3; ++y) EXPECT_EQ(keep.at(s[0], y), RGB(0, 0, 0)) << y;
    }
    for (int y = 0; y < keep.height; ++y)
        for (int x = 0; x < ColumnWidth; ++x) {
            if (!onTick(x, y)) {
                EXPECT_EQ(keep.at(x, y), gradient(x)) << x << "," << y;
            }
        }
}

TEST_F(Tray, NoTickWhenUnchecked) {
    buildMenu(false);
    test::Pixels keep;
    ASSERT_TRUE(OpenMenu::run({400, 300}, [&](HWND) {
        keep = test::captureScreen(itemRect(2));
        return keep.width > 0 && keep.at(19, 0) == gradient(19);
    }));
    for (int y = 0; y < keep.height; ++y)
        for (int x = 0; x < ColumnWidth; ++x) EXPECT_EQ(keep.at(x, y), gradient(x)) << x << "," << y;
}

// A selected entry: the half-highlight fill over the whole entry, a black frame, the highlight text colour.
TEST_F(Tray, SelectedEntryIsHalfHighlightedAndFramed) {
    buildMenu(false);
    const COLORREF fill = halfway();
    int step = 0;
    test::Pixels p;
    ASSERT_TRUE(OpenMenu::run({400, 300}, [&](HWND popup) {
        if (step == 0) {
            PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);  // selects the first entry
            step = 1;
            return false;
        }
        p = test::captureScreen(itemRect(0));
        return p.width > 0 && p.at(5, 1) == fill;
    }));
    for (int x = 0; x < p.width; ++x) {
        EXPECT_EQ(p.at(x, 0), RGB(0, 0, 0)) << x;
        EXPECT_EQ(p.at(x, p.height - 1), RGB(0, 0, 0)) << x;
    }
    for (int y = 0; y < p.height; ++y) {
        EXPECT_EQ(p.at(0, y), RGB(0, 0, 0)) << y;
        EXPECT_EQ(p.at(p.width - 1, y), RGB(0, 0, 0)) << y;
    }
    for (int k = 1; k < ColumnWidth; ++k) EXPECT_EQ(p.at(k, 1), fill) << k;  // no shading under the selection
    EXPECT_EQ(p.at(p.width - 3, p.height / 2), fill);
    const COLORREF textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
    int ink = 0;
    for (int y = 1; y < p.height - 1; ++y)
        for (int x = 28; x < p.width - 8; ++x) ink += p.at(x, y) == textColour;
    EXPECT_GT(ink, 20);
}

std::vector<WindowEvent> pendingEvents() {
    std::vector<WindowEvent> events;
    for (int i = 0; i < 200; ++i) {
        WindowEvent e = waitForEvent(0);
        if (e.kind != EventKind::NoEvent) events.push_back(e);
        MSG msg;
        if (e.kind == EventKind::NoEvent && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!takeEvent(e)) break;
            events.push_back(e);
        }
    }
    return events;
}

// Typing "d" chooses item 3 at once; "x" chooses nothing and leaves the menu open.
TEST_F(Tray, TypedCharacterChoosesTheEntry) {
    buildMenu(false);
    pendingEvents();
    ASSERT_TRUE(OpenMenu::run({400, 300}, [](HWND popup) {
        PostMessageW(popup, WM_CHAR, u'd', 0);
        return false;  // the menu closes by itself, long before the deadline
    }));
    std::vector<WindowEvent> events = pendingEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::MenuEvent);
    EXPECT_EQ(events[0].item, 3);

    int step = 0;
    bool stillOpen = false;
    EXPECT_TRUE(OpenMenu::run({400, 300}, [&](HWND popup) {
        if (step++ == 0) {
            PostMessageW(popup, WM_CHAR, u'x', 0);
            return false;
        }
        stillOpen = IsWindowVisible(popup) != FALSE;
        return true;
    }));
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(pendingEvents().empty());
}

// The drawing procedure's own answers, asked directly once the window is hooked.
TEST_F(Tray, HookAnswersMeasureAndMenuChar) {
    buildMenu(false);
    HWND window = phraseWindow();
    const LONG_PTR own = GetWindowLongPtrW(window, GWLP_WNDPROC);
    EXPECT_TRUE(OpenMenu::run({400, 300}, [](HWND) { return true; }));
    EXPECT_TRUE(OpenMenu::run({400, 300}, [](HWND) { return true; }));
    // Hooked once: the property keeps the window's own procedure, not the hook itself.
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropW(window, MenuHookProperty)), own);
    EXPECT_NE(GetWindowLongPtrW(window, GWLP_WNDPROC), own);

    const LRESULT d =
        SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(u'D', MF_POPUP), reinterpret_cast<LPARAM>(trayMenu()));
    EXPECT_EQ(d, MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(HIWORD(SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(u'x', MF_POPUP),
                                  reinterpret_cast<LPARAM>(trayMenu()))),
              MNC_IGNORE);
    EXPECT_EQ(HIWORD(SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(u'd', MF_SYSMENU),
                                  reinterpret_cast<LPARAM>(trayMenu()))),
              MNC_IGNORE);

    MENUITEMINFOW separator = itemAt(trayMenu(), 1);
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = separator.wID;
    measure.itemData = separator.dwItemData;
    EXPECT_TRUE(SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
    EXPECT_EQ(measure.itemWidth, 50u);
    EXPECT_EQ(measure.itemHeight, 9u);
}

// A new menu font from the system's settings is picked up when the settings change is announced.
TEST_F(Tray, SettingChangeRemakesTheMenuFont) {
    buildMenu(false);
    HWND window = phraseWindow();
    EXPECT_TRUE(OpenMenu::run({400, 300}, [](HWND) { return true; }));
    const MENUITEMINFOW quit = itemAt(trayMenu(), 6);
    auto measured = [&] {
        MEASUREITEMSTRUCT m{};
        m.CtlType = ODT_MENU;
        m.itemID = quit.wID;
        m.itemData = quit.dwItemData;
        SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
        return m.itemHeight;
    };
    const UINT before = measured();

    NONCLIENTMETRICSW saved{};
    saved.cbSize = sizeof(saved);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(saved), &saved, 0));
    NONCLIENTMETRICSW bigger = saved;
    bigger.lfMenuFont.lfHeight = saved.lfMenuFont.lfHeight < 0 ? saved.lfMenuFont.lfHeight * 2 : -30;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(bigger), &bigger, 0));
    EXPECT_EQ(measured(), before);  // the font is kept until the change is announced
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    const UINT after = measured();
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(saved), &saved, 0);
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_GT(after, before + 5);
    EXPECT_EQ(measured(), before);
}

}  // namespace
}  // namespace mz
