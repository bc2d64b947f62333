// The real phrase window: frame, sixty controls, fonts, label colours, tool tips, label updates, failure
// message.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/slots.h"
#include "platform/events.h"
#include "platform/win32/win32.h"
#include "platform/window.h"
#include "ui/layout.h"
#include "ui/phrase_window.h"
#include "ui/win32/phrase_window_win32.h"
#include "ui_support.h"

namespace mz {
namespace {

using test::className;
using test::windowText;

class PhraseWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        setUpPlatform();
        resetSlots();
        clearEventQueue();
        readDisplayDpi();
    }
    void TearDown() override {
        destroyPhraseWindow();
        clearEventQueue();
        resetSlots();
    }
    static std::wstring w(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
};

// Every event that the window's pending messages produce, until the thread's queue is empty.
std::vector<WindowEvent> drainEvents() {
    std::vector<WindowEvent> events;
    const DWORD start = GetTickCount();
    MSG msg;
    for (;;) {
        WindowEvent e = waitForEvent(0);
        if (e.kind != EventKind::NoEvent) {
            events.push_back(e);
            continue;
        }
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && !takeEvent(e)) break;
        if (e.kind != EventKind::NoEvent) events.push_back(e);
        if (GetTickCount() - start > 5000) break;
    }
    return events;
}

int count(const std::vector<WindowEvent>& events, EventKind kind) {
    int n = 0;
    for (const WindowEvent& e : events) n += e.kind == kind ? 1 : 0;
    return n;
}

// The family name stored in the font file that the device context's font actually comes from.
std::wstring realFontFamily(HDC dc) {
    const DWORD nameTable = 0x656D616E;  // "name"
    const DWORD size = GetFontData(dc, nameTable, 0, nullptr, 0);
    if (size == GDI_ERROR || size < 6) return L"";
    std::vector<BYTE> t(size);
    GetFontData(dc, nameTable, 0, t.data(), size);
    auto u16 = [&](std::size_t at) { return static_cast<unsigned>(t[at] << 8 | t[at + 1]); };
    const unsigned records = u16(2), strings = u16(4);
    for (unsigned i = 0; i < records && 6 + 12 * (i + 1) <= size; ++i) {
        const std::size_t r = 6 + 12 * i;
        if (u16(r) != 3 || u16(r + 6) != 1) continue;  // Windows platform, family name
        const std::size_t length = u16(r + 8), at = strings + u16(r + 10);
        std::wstring name;
        for (std::size_t k = 0; k + 1 < length && at + k + 1 < size; k += 2)
            name += static_cast<wchar_t>(u16(at + k));
        return name;
    }
    return L"";
}

TEST_F(PhraseWindow, FrameClassAndPlace) {
    ASSERT_TRUE(buildPhraseWindow(10, 10));
    HWND window = phraseWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(windowText(window), L"Merkzeile V1.3");
    EXPECT_EQ(className(window), L"WindowClass_0");
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 10);
    EXPECT_EQ(client.right, 1090);
    EXPECT_EQ(client.bottom, 610);
    RECT frame = {0, 0, 1090, 610};
    AdjustWindowRectEx(&frame, WS_CAPTION, FALSE, 0);
    EXPECT_EQ(outer.right - outer.left, frame.right - frame.left);
    EXPECT_EQ(outer.bottom - outer.top, frame.bottom - frame.top);

    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_POPUP | WS_CHILD),
              0);
    // The system adds the window edge to every captioned window; nothing else is set.
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);

    EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE), CS_DBLCLKS);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(window, GCLP_HCURSOR)),
              LoadCursorW(nullptr, IDC_ARROW));
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(icon, LoadIconW(programInstance(), MAKEINTRESOURCEW(1)));
    EXPECT_EQ(GetClassLongPtrW(window, GCL_CBCLSEXTRA), 0);
    EXPECT_EQ(GetClassLongPtrW(window, GCL_CBWNDEXTRA), 0);
}

TEST_F(PhraseWindow, SixtyControlsInCreationOrder) {
    setSlotFullText(7, u"Gr\u00fc\u00dfe\r\nzweite Zeile\r\n");
    ASSERT_TRUE(buildPhraseWindow(10, 10));
    HWND window = phraseWindow();
    HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlSpec& ctl : controlTable()) {
        SCOPED_TRACE(ctl.id);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), ctl.id);  // the window system lists children in creation order
        HWND control = GetDlgItem(window, ctl.id);
        ASSERT_EQ(control, child);
        const bool button = ctl.controlClass == ControlClass::Button;
        EXPECT_EQ(className(control), button ? L"Button" : L"Static");
        const RECT r = test::rectInParent(control);
        EXPECT_EQ(r.left, ctl.x);
        EXPECT_EQ(r.top, ctl.y);
        EXPECT_EQ(r.right - r.left, ctl.width);
        EXPECT_EQ(r.bottom - r.top, ctl.height);
        const DWORD expectedStyle = button ? WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON
                                           : WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)), expectedStyle);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE)),
                  button ? 0u : DWORD{WS_EX_CLIENTEDGE});
        EXPECT_EQ(windowText(control), w(controlText(ctl)));
        const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        if (button)
            EXPECT_EQ(font, guiFont);
        else
            EXPECT_NE(font, guiFont);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(windowText(GetDlgItem(window, 33)), L"P07 Kopieren");
    EXPECT_EQ(windowText(GetDlgItem(window, 73)), L"Gr\u00fc\u00dfe\\zweite Zeile\\");
    EXPECT_EQ(windowText(GetDlgItem(window, 53)), L"P07 bearbeiten");
    EXPECT_EQ(windowText(GetDlgItem(window, 74)), L"");
}

TEST_F(PhraseWindow, LabelFontIsNinePointCourierNew) {
    ASSERT_TRUE(buildPhraseWindow(10, 10));
    EXPECT_EQ(displayDpi(), 96);
    HWND label = GetDlgItem(phraseWindow(), 67);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(lf.lfQuality, DEFAULT_QUALITY);
    EXPECT_EQ(lf.lfPitchAndFamily, 0);
    EXPECT_STREQ(lf.lfFaceName, L"Courier New");

    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_STREQ(face, L"Courier New");
    // Wine has no Courier New of its own: the prefix replaces it by the metric-compatible Liberation Mono.
    EXPECT_EQ(realFontFamily(dc), L"Liberation Mono");
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    EXPECT_EQ(tm.tmAveCharWidth, 7);
    EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);  // the bit set means variable pitch
    SIZE longest{};
    const std::wstring text(128, L'W');
    GetTextExtentPoint32W(dc, text.c_str(), 128, &longest);
    EXPECT_LE(longest.cx, 896);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
}

TEST_F(PhraseWindow, MulDivMatchesTheSystem) {
    const int cases[][3] = {{9, 96, 72},   {9, 120, 72}, {9, 144, 72},      {9, 100, 72}, {7, 1, 2},
                            {-7, 1, 2},    {7, 1, -2},   {5, 1, 3},         {1, 1, 0},    {2147483647, 2, 1},
                            {-9, 110, 72}, {0, 5, 3},    {2147483647, 2, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(mulDiv(c[0], c[1], c[2]), MulDiv(c[0], c[1], c[2])) << c[0] << " " << c[1];
}

TEST_F(PhraseWindow, LabelsAnswerBlueOnButtonFace) {
    ASSERT_TRUE(buildPhraseWindow(10, 10));
    HWND window = phraseWindow();
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    const LRESULT brush = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(GetDlgItem(window, 80)));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);

    // A button has no colours of its own: the default answer leaves the text colour alone.
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, 27)));
    EXPECT_NE(GetTextColor(dc), RGB(0, 0, 255));
    DeleteDC(dc);
}

// The rightmost column of a capture that holds anything but the background; -1 for none.
int rightmostInk(const test::Pixels& p, COLORREF background) {
    int right = -1;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y) != background && x > right) right = x;
    return right;
}

// "&" is shown as it is: with SS_NOPREFIX the label draws "&x" as two characters, in blue; a static control
// without that style takes "&" as the mark of an access key and shows only an underlined "x".
TEST_F(PhraseWindow, AmpersandShowsLiterallyInBlue) {
    ASSERT_TRUE(buildPhraseWindow(10, 10));
    HWND window = phraseWindow();
    HWND label = GetDlgItem(window, 67);
    setSlotLabel(1, u"&x");
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto blue = [](COLORREF c) { return c == RGB(0, 0, 255); };
    test::Pixels shown;
    ASSERT_TRUE(test::pumpUntil(
        [&] {
            shown = test::captureClient(label);
            return shown.count(blue) > 0;
        },
        3000));

    HWND plain = CreateWindowExW(0, L"Static", L"&x", WS_POPUP | WS_VISIBLE | SS_LEFT, 200, 700, 200, 20,
                                 nullptr, nullptr, programInstance(), nullptr);
    SendMessageW(plain, WM_SETFONT, SendMessageW(label, WM_GETFONT, 0, 0), TRUE);
    UpdateWindow(plain);
    test::Pixels other;
    ASSERT_TRUE(test::pumpUntil(
        [&] {
            other = test::captureClient(plain);
            return rightmostInk(other, face) >= 0;
        },
        3000));
    DestroyWindow(plain);
    // One character of the label font is 7 pixels wide.
    EXPECT_GE(rightmostInk(shown, face) - rightmostInk(other, face), 5);
}

TEST_F(PhraseWindow, OneToolTipControlWithFortyTools) {
    ASSERT_TRUE(buildPhraseWindow(10, 10));
    HWND window = phraseWindow();
    HWND tip = phraseToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(className(tip), L"tooltips_class32");
    EXPECT_EQ(GetWindow(tip, GW_OWNER), nullptr);
    const LONG_PTR style = GetWindowLongPtrW(tip, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP), WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP);
    EXPECT_EQ(style & TTS_BALLOON, 0);
    EXPECT_NE(GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 40);

    for (const ControlSpec& ctl : controlTable()) {
        SCOPED_TRACE(ctl.id);
        wchar_t text[256] = {};
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = window;
        info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, ctl.id));
        info.lpszText = text;
        const LRESULT found = SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
        if (ctl.controlClass == ControlClass::Static) {
            EXPECT_FALSE(found);
            continue;
        }
        ASSERT_TRUE(found);
        EXPECT_EQ(info.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), UINT{TTF_IDISHWND | TTF_SUBCLASS});
        EXPECT_EQ(std::wstring(text), w(controlToolTip(ctl)));
    }
}

bool isAbove(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower) return true;
    return false;
}

// Before each paint the tip puts itself on top, even above a window pinned in front after it.
TEST_F(PhraseWindow, ToolTipRaisesItselfBeforePainting) {
    ASSERT_TRUE(buildPhraseWindow(10, 10));
    HWND tip = phraseToolTip();
    HWND pinned = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                  nullptr, programInstance(), nullptr);
    ASSERT_TRUE(isAbove(pinned, tip));
    SendMessageW(tip, WM_PAINT, 0, 0);
    EXPECT_TRUE(isAbove(tip, pinned));
    DestroyWindow(pinned);
}

TEST_F(PhraseWindow, SetSlotLabelChangesOnlyThatTextAndRaisesNoEvent) {
    setSlotFullText(3, u"alt\r\n");
    setSlotFullText(4, u"vier\r\n");
    ASSERT_TRUE(buildPhraseWindow(10, 10));
    HWND window = phraseWindow();
    HWND label = GetDlgItem(window, 69);
    const RECT before = test::rectInParent(label);
    const LRESULT font = SendMessageW(label, WM_GETFONT, 0, 0);
    drainEvents();

    setSlotLabel(3, u"neu & anders\\");
    EXPECT_EQ(windowText(label), L"neu & anders\\");
    EXPECT_EQ(windowText(GetDlgItem(window, 70)), L"vier\\");
    const RECT after = test::rectInParent(label);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), font);
    EXPECT_TRUE(drainEvents().empty());

    setSlotLabel(3, u"");
    EXPECT_EQ(windowText(label), L"");
}

// Creation moves the window but raises no move event; a move afterwards does.
TEST_F(PhraseWindow, MovesCountOnlyOnceBuilt) {
    ASSERT_TRUE(buildPhraseWindow(10, 10));
    EXPECT_EQ(count(drainEvents(), EventKind::MoveWindowEvent), 0);
    SetWindowPos(phraseWindow(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_GE(count(drainEvents(), EventKind::MoveWindowEvent), 1);
}

TEST_F(PhraseWindow, StoredPlaceIsUsedUnchangedOrLeftToTheSystem) {
    struct Case {
        int x, y;
        bool systemPlace;
    };
    const Case cases[] = {
        {-20, 700, false}, {250, 300, false}, {-65535, 10, true}, {10, -65535, true}, {-65535, -65535, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        ASSERT_TRUE(buildPhraseWindow(c.x, c.y));
        RECT r;
        GetWindowRect(phraseWindow(), &r);
        if (c.systemPlace) {
            EXPECT_NE(r.left, -65535);
            EXPECT_NE(r.top, -65535);
            EXPECT_GE(r.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
            EXPECT_GE(r.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
            EXPECT_LT(r.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
            EXPECT_LT(r.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
        } else {
            EXPECT_EQ(r.left, c.x);
            EXPECT_EQ(r.top, c.y);
        }
        destroyPhraseWindow();
    }
}

HHOOK refusingHook = nullptr;
LRESULT CALLBACK refuseTopLevelWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && !(reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->style & WS_CHILD))
        return 1;
    return CallNextHookEx(refusingHook, code, wParam, lParam);
}

TEST_F(PhraseWindow, FailedCreationLeavesNothingBehind) {
    refusingHook = SetWindowsHookExW(WH_CBT, &refuseTopLevelWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(refusingHook, nullptr);
    const bool built = buildPhraseWindow(10, 10);
    UnhookWindowsHookEx(refusingHook);
    EXPECT_FALSE(built);
    EXPECT_EQ(phraseWindow(), nullptr);
    EXPECT_EQ(phraseToolTip(), nullptr);
    WNDCLASSW info;
    EXPECT_FALSE(GetClassInfoW(programInstance(), L"WindowClass_0", &info));
    // The next attempt starts cleanly.
    EXPECT_TRUE(buildPhraseWindow(10, 10));
}

struct BoxSeen {
    std::atomic<bool> found{false};
    std::wstring title, text, buttonText;
    int buttons = 0, icons = 0;
    HWND owner = nullptr;
    bool pinnedEnabled = true, pinnedTopmost = true, otherEnabled = true, ownerEnabled = false;
};

BOOL CALLBACK describeChild(HWND child, LPARAM lParam) {
    auto* seen = reinterpret_cast<BoxSeen*>(lParam);
    const std::wstring cls = className(child);
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (cls == L"Button" && IsWindowVisible(child)) {
        ++seen->buttons;
        seen->buttonText = windowText(child);
    }
    // The box keeps an icon control of its own even without an icon; what counts is whether it holds one.
    if (cls == L"Static" && (style & SS_TYPEMASK) == SS_ICON && SendMessageW(child, STM_GETICON, 0, 0))
        ++seen->icons;
    if (cls == L"Static" && (style & SS_TYPEMASK) != SS_ICON && !windowText(child).empty())
        seen->text = windowText(child);
    return TRUE;
}

// The message box: its texts, owner and buttons, and the program's other windows disabled and no longer
// pinned while it is up, all restored afterwards.
TEST_F(PhraseWindow, CreationFailureMessage) {
    auto make = [](DWORD exStyle, int x) {
        return CreateWindowExW(exStyle, L"Static", L"", WS_POPUP | WS_VISIBLE, x, 100, 50, 50, nullptr,
                               nullptr, programInstance(), nullptr);
    };
    HWND pinned = make(WS_EX_TOPMOST, 100);
    HWND other = make(0, 200);
    HWND front = make(0, 300);
    SetForegroundWindow(front);
    ASSERT_TRUE(test::pumpUntil([&] { return GetForegroundWindow() == front; }, 3000));

    BoxSeen seen;
    std::thread watcher([&] {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 10000) {
            HWND box = FindWindowW(L"#32770", L"Merkzeile V1.3 - Problem:");
            if (box && IsWindowVisible(box)) {
                seen.title = windowText(box);
                seen.owner = GetWindow(box, GW_OWNER);
                EnumChildWindows(box, &describeChild, reinterpret_cast<LPARAM>(&seen));
                seen.pinnedEnabled = IsWindowEnabled(pinned);
                seen.pinnedTopmost = (GetWindowLongPtrW(pinned, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                seen.otherEnabled = IsWindowEnabled(other);
                seen.found = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
        // Nothing showed up: close whatever box there is so the test ends.
        if (HWND box = FindWindowW(L"#32770", nullptr)) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    showCreationFailure();
    watcher.join();

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, L"Merkzeile V1.3 - Problem:");
    EXPECT_EQ(seen.text, L"Phrasenfenster konnte nicht erzeugt werden!");
    EXPECT_EQ(seen.owner, front);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(seen.buttonText, L"OK");
    EXPECT_EQ(seen.icons, 0);
    EXPECT_FALSE(seen.pinnedEnabled);
    EXPECT_FALSE(seen.pinnedTopmost);
    EXPECT_FALSE(seen.otherEnabled);

    EXPECT_TRUE(IsWindowEnabled(pinned));
    EXPECT_NE(GetWindowLongPtrW(pinned, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_TRUE(IsWindowEnabled(front));
    DestroyWindow(pinned);
    DestroyWindow(other);
    DestroyWindow(front);
}

}  // namespace
}  // namespace mz
