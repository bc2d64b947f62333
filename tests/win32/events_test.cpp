// The real window procedure and event wait: a top-level window of the phrase window's procedure with real buttons.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/events.h"
#include "platform/win32/win32.h"
#include "platform/window.h"
#include "ui/tray.h"

namespace mz {
namespace {

const wchar_t TestClassName[] = L"MzEventsTestWindow";

std::string describe(const WindowEvent& e) {
    static const char* const names[] = {"NoEvent",    "Gadget", "Menu",   "SysTray", "Close",       "Move",
                                        "Activate",   "Size",   "Repaint", "Timer",  "LeftClick", "LeftDouble",
                                        "RightClick"};
    return std::string(names[static_cast<int>(e.kind)]) + "(" + std::to_string(e.item) + "," +
           std::to_string(e.clickType) + "," + std::to_string(e.window) + ")";
}

std::string describe(const std::vector<WindowEvent>& events) {
    std::string s;
    for (const WindowEvent& e : events) s += (s.empty() ? "" : " ") + describe(e);
    return s;
}

WindowEvent gadget(std::int32_t id) { return {EventKind::GadgetEvent, id, 0, 0}; }
const WindowEvent Move{EventKind::MoveWindowEvent, 0, 0, 0};
const WindowEvent Close{EventKind::CloseWindowEvent, 0, 0, 0};

double nowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Takes events through waitForEvent until quietMs pass without an event. Messages that give no event (the
// hover timers of themed buttons, for one) may keep arriving meanwhile.
std::vector<WindowEvent> settle(int quietMs = 250) {
    std::vector<WindowEvent> got;
    const double deadline = nowMs() + 10000;
    double lastEvent = nowMs();
    while (nowMs() < deadline) {
        WindowEvent e = waitForEvent(quietMs);
        if (e.kind != EventKind::NoEvent) {
            got.push_back(e);
            lastEvent = nowMs();
        } else if (nowMs() - lastEvent >= quietMs) {
            return got;
        }
    }
    ADD_FAILURE() << "events kept arriving";
    return got;
}

// Takes events until one equal to wanted has arrived; false after the deadline.
bool waitFor(const WindowEvent& wanted, std::vector<WindowEvent>& got, int deadlineMs = 5000) {
    const double deadline = nowMs() + deadlineMs;
    while (nowMs() < deadline) {
        WindowEvent e = waitForEvent(50);
        if (e.kind == EventKind::NoEvent) continue;
        got.push_back(e);
        if (e == wanted) return true;
    }
    return false;
}

template <typename Condition>
bool pollUntil(Condition condition, int deadlineMs = 5000) {
    const double deadline = nowMs() + deadlineMs;
    while (!condition()) {
        if (nowMs() > deadline) return false;
        waitForEvent(20);
    }
    return true;
}

// Wine keeps no keyboard-cue state (WM_QUERYUISTATE answers 0 and WM_UPDATEUISTATE changes nothing), so this
// procedure keeps it as Windows does and records the updates, then hands everything to the phrase window's.
WORD emulatedCueState = 0;
std::vector<WPARAM> cueUpdates;
LRESULT CALLBACK cueRecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYUISTATE) return emulatedCueState;
    if (message == WM_UPDATEUISTATE) {
        cueUpdates.push_back(wParam);
        if (LOWORD(wParam) == UIS_SET) emulatedCueState |= HIWORD(wParam);
        if (LOWORD(wParam) == UIS_CLEAR) emulatedCueState &= static_cast<WORD>(~HIWORD(wParam));
    }
    return phraseWindowProc(window, message, wParam, lParam);
}
const wchar_t CueClassName[] = L"MzEventsCueTestWindow";

bool registerTestClass(const wchar_t* name = TestClassName) {
    WNDCLASSW wc{};
    if (GetClassInfoW(programInstance(), name, &wc)) return true;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = name == CueClassName ? cueRecordingProc : phraseWindowProc;
    wc.hInstance = programInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassW(&wc) != 0;
}

// A window like the phrase window: WS_CAPTION only, and children in this creation order:
// button 27, label 67 (no tab stop), button 28 (disabled), button 29 (hidden), button 47, button 48.
class PhraseWindowTest : public ::testing::Test {
protected:
    HWND window = nullptr;
    const wchar_t* windowClass = TestClassName;

    void SetUp() override {
        setUpPlatform();
        ASSERT_TRUE(registerTestClass(windowClass)) << "RegisterClassW failed, error " << GetLastError();
        window = CreateWindowExW(0, windowClass, L"Merkzeile Test", WS_CAPTION, 10, 10, 400, 240, nullptr,
                                 nullptr, programInstance(), nullptr);
        ASSERT_NE(window, nullptr) << "CreateWindowExW failed, error " << GetLastError();
        setPhraseWindow(window);
        ShowWindow(window, SW_SHOWNORMAL);
        createNavigationAccelerators();
        setPhraseWindowReady(true);
        addChild(L"Button", L"P01 Kopieren", WS_TABSTOP | BS_PUSHBUTTON, 27, 10);
        addChild(L"Static", L"label", SS_LEFT | SS_NOPREFIX, 67, 40);
        addChild(L"Button", L"P02 Kopieren", WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 28, 70);
        addChild(L"Button", L"P03 Kopieren", WS_TABSTOP | BS_PUSHBUTTON, 29, 100, false);
        addChild(L"Button", L"P01 bearbeiten", WS_TABSTOP | BS_PUSHBUTTON, 47, 130);
        addChild(L"Button", L"P02 bearbeiten", WS_TABSTOP | BS_PUSHBUTTON, 48, 160);
        ASSERT_TRUE(pollUntil([&] { return GetActiveWindow() == window; }))
            << "the test window did not become active, error " << GetLastError();
        std::vector<WindowEvent> early = settle();
        ASSERT_TRUE(early.empty()) << describe(early);
    }

    void TearDown() override {
        if (window) DestroyWindow(window);
        EXPECT_EQ(phraseWindow(), nullptr);
        destroyNavigationAccelerators();
        settle(50);
        clearEventQueue();
    }

    HWND addChild(const wchar_t* cls, const wchar_t* text, DWORD style, int id, int y, bool visible = true) {
        HWND child = CreateWindowExW(0, cls, text, WS_CHILD | (visible ? WS_VISIBLE : 0) | style, 10, y, 120, 20,
                                     window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), programInstance(),
                                     nullptr);
        EXPECT_NE(child, nullptr) << "child " << id << " not created, error " << GetLastError();
        return child;
    }

    HWND control(int id) { return GetDlgItem(window, id); }
    bool hasStyle(LONG_PTR exStyle) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & exStyle) != 0; }

    bool moveTo(int x, int y) {
        return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
    }

    // A real click through the system's input: the pointer goes to the centre of target and the left button
    // is pressed and released.
    void clickAt(HWND target) {
        RECT r;
        ASSERT_TRUE(GetWindowRect(target, &r)) << GetLastError();
        // Each input carries its own absolute position (0..65535 across the screen): a click queued right
        // behind another must not depend on where the pointer is when the system gets round to it.
        const LONG x = ((r.left + r.right) / 2 * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN);
        const LONG y = ((r.top + r.bottom) / 2 * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
        INPUT in[2]{};
        for (INPUT& i : in) {
            i.type = INPUT_MOUSE;
            i.mi.dx = x;
            i.mi.dy = y;
        }
        in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
        ASSERT_EQ(SendInput(2, in, sizeof(INPUT)), 2u) << "SendInput failed, error " << GetLastError();
    }
};

TEST_F(PhraseWindowTest, ButtonClickGivesExactlyOneGadgetEvent) {
    SendMessageW(control(47), BM_CLICK, 0, 0);
    std::vector<WindowEvent> got = settle();
    EXPECT_EQ(describe(got), describe({gadget(47)}));
}

TEST_F(PhraseWindowTest, RealMouseClickOnButtonGivesOneEventAndOnLabelNone) {
    clickAt(control(27));
    std::vector<WindowEvent> got;
    ASSERT_TRUE(waitFor(gadget(27), got)) << "no GadgetEvent for a real click; got " << describe(got);
    std::vector<WindowEvent> rest = settle();
    got.insert(got.end(), rest.begin(), rest.end());
    EXPECT_EQ(describe(got), describe({gadget(27)}));

    // The label has no SS_NOTIFY: a click on it gives nothing. Input is taken in order, so once the click on
    // the button after it has arrived, the label's click has been handled too.
    clickAt(control(67));
    clickAt(control(47));
    got.clear();
    ASSERT_TRUE(waitFor(gadget(47), got)) << "no GadgetEvent for a real click; got " << describe(got);
    rest = settle();
    got.insert(got.end(), rest.begin(), rest.end());
    EXPECT_EQ(describe(got), describe({gadget(47)}));
}

TEST_F(PhraseWindowTest, TrayCallbackGivesFourClickTypesAndPostsANoOp) {
    struct Case {
        LPARAM mouse;
        const char* name;
        bool event;
        std::int32_t clickType;
    };
    const Case cases[] = {
        {WM_LBUTTONDOWN, "left press", true, LeftButtonDown},
        {WM_RBUTTONDOWN, "right press", true, RightButtonDown},
        {WM_LBUTTONDBLCLK, "left double", true, LeftDoubleClick},
        {WM_RBUTTONDBLCLK, "right double", true, RightDoubleClick},
        {WM_MOUSEMOVE, "move", false, 0},
        {WM_LBUTTONUP, "left release", false, 0},
        {WM_RBUTTONUP, "right release", false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SendMessageW(window, TrayCallbackMessage, TrayIconId, c.mouse), 0) << c.name;
        WindowEvent e;
        bool queued = takeEvent(e);
        EXPECT_EQ(queued, c.event) << c.name;
        if (queued) {
            EXPECT_EQ(describe(e), describe(WindowEvent{EventKind::SysTrayEvent, 1, c.clickType, 0})) << c.name;
        }
        EXPECT_FALSE(takeEvent(e)) << c.name << ": more than one event";
        bool nullPosted = false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == window && msg.message == WM_NULL) nullPosted = true;
            else DispatchMessageW(&msg);
        }
        EXPECT_TRUE(nullPosted) << c.name << ": no WM_NULL posted to the window";
    }
}

TEST_F(PhraseWindowTest, TrayPressSentFromAnotherThreadArrivesPromptly) {
    HWND target = window;
    std::thread sender([target] {
        SendMessageW(target, TrayCallbackMessage, TrayIconId, WM_RBUTTONDOWN);
    });
    const double start = nowMs();
    WindowEvent first = waitForEvent(5000);
    const double waited = nowMs() - start;
    sender.join();
    EXPECT_LT(waited, 2500) << "the wait did not return on the tray message";
    std::vector<WindowEvent> got;
    if (first.kind != EventKind::NoEvent) got.push_back(first);
    std::vector<WindowEvent> rest = settle();
    got.insert(got.end(), rest.begin(), rest.end());
    EXPECT_EQ(describe(got), describe({WindowEvent{EventKind::SysTrayEvent, 1, RightButtonDown, 0}}));
}

TEST_F(PhraseWindowTest, CloseRequestGivesCloseEventAndTheWindowStays) {
    ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0)) << GetLastError();
    std::vector<WindowEvent> got = settle();
    EXPECT_EQ(describe(got), describe({Close}));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(phraseWindow(), window);
}

TEST_F(PhraseWindowTest, MenuChoiceGivesMenuEvent) {
    HMENU menu = CreatePopupMenu();
    ASSERT_NE(menu, nullptr) << GetLastError();
    AppendMenuW(menu, MF_STRING, 3, L"Fenster verbergen");
    AppendMenuW(menu, MF_STRING, 4, L"Im Vordergrund halten");
    // The menu's own loop reads these keys: down to the first item, then choose it.
    PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    HWND target = window;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread watchdog([target, done] {
        if (WaitForSingleObject(done, 5000) == WAIT_TIMEOUT) PostMessageW(target, WM_CANCELMODE, 0, 0);
    });
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 100, 100, 0, window, nullptr);
    SetEvent(done);
    watchdog.join();
    CloseHandle(done);
    DestroyMenu(menu);
    std::vector<WindowEvent> got = settle();
    EXPECT_EQ(describe(got), describe({WindowEvent{EventKind::MenuEvent, 3, 0, 0}}));

    SendMessageW(window, WM_COMMAND, MAKEWPARAM(6, 0), 0);
    got = settle();
    EXPECT_EQ(describe(got), describe({WindowEvent{EventKind::MenuEvent, 6, 0, 0}}));
}

TEST_F(PhraseWindowTest, MovesMergeUnlessAnotherEventCameBetween) {
    ASSERT_TRUE(moveTo(30, 40)) << GetLastError();
    ASSERT_TRUE(moveTo(50, 60)) << GetLastError();
    std::vector<WindowEvent> got = settle();
    EXPECT_EQ(describe(got), describe({Move}));

    ASSERT_TRUE(moveTo(70, 80)) << GetLastError();
    SendMessageW(control(27), BM_CLICK, 0, 0);
    ASSERT_TRUE(moveTo(90, 100)) << GetLastError();
    got = settle();
    EXPECT_EQ(describe(got), describe({Move, gadget(27), Move}));

    std::int32_t x = -1, y = -1;
    phraseWindowPosition(x, y);
    EXPECT_EQ(x, 90);
    EXPECT_EQ(y, 100);
}

TEST_F(PhraseWindowTest, PositionIsTheOuterCornerWhereTheWindowWasMade) {
    std::int32_t x = -1, y = -1;
    phraseWindowPosition(x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 10);
    ASSERT_TRUE(moveTo(-40, 333)) << GetLastError();
    phraseWindowPosition(x, y);
    EXPECT_EQ(x, -40);
    EXPECT_EQ(y, 333);
}

TEST(PhraseWindowCreation, MovesBeforeReadyGiveNoEvent) {
    setUpPlatform();
    ASSERT_TRUE(registerTestClass()) << GetLastError();
    HWND window = CreateWindowExW(0, TestClassName, L"Merkzeile Test", WS_CAPTION, 10, 10, 300, 100, nullptr,
                                  nullptr, programInstance(), nullptr);
    ASSERT_NE(window, nullptr) << GetLastError();
    setPhraseWindow(window);
    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowPos(window, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(window, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    std::vector<WindowEvent> got = settle();
    EXPECT_EQ(describe(got), "");

    setPhraseWindowReady(true);
    SetWindowPos(window, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    got = settle();
    EXPECT_EQ(describe(got), describe({Move}));

    // A move queued before the window is destroyed is dropped with it.
    SetWindowPos(window, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    DestroyWindow(window);
    EXPECT_EQ(phraseWindow(), nullptr);
    got = settle();
    EXPECT_EQ(describe(got), "");
}

TEST_F(PhraseWindowTest, NoInputGivesNoEventAfterTheTimeOutWhileTheThreadSleeps) {
    FILETIME created, ended, kernel0, user0, kernel1, user1;
    ASSERT_TRUE(GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel0, &user0)) << GetLastError();
    auto cpuMs = [](const FILETIME& k0, const FILETIME& u0, const FILETIME& k1, const FILETIME& u1) {
        auto ticks = [](const FILETIME& t) {
            return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
        };
        return (ticks(k1) - ticks(k0) + ticks(u1) - ticks(u0)) / 10000.0;
    };

    // The measure itself must see work: a short busy loop shows up as thread time.
    const double busyStart = nowMs();
    volatile unsigned spin = 0;
    while (nowMs() - busyStart < 300) spin = spin + 1;
    ASSERT_TRUE(GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel1, &user1)) << GetLastError();
    ASSERT_GT(cpuMs(kernel0, user0, kernel1, user1), 100.0) << "thread times do not move under load";

    ASSERT_TRUE(GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel0, &user0)) << GetLastError();
    const double start = nowMs();
    int calls = 0, early = 0, late = 0, events = 0;
    double shortest = 1e9, longest = 0;
    while (nowMs() - start < 3000) {
        const double callStart = nowMs();
        WindowEvent e = waitForEvent(250);
        const double took = nowMs() - callStart;
        ++calls;
        if (e.kind != EventKind::NoEvent) ++events;
        if (took < 240) ++early;
        if (took >= 400) ++late;
        shortest = std::min(shortest, took);
        longest = std::max(longest, took);
    }
    const double wall = nowMs() - start;
    ASSERT_TRUE(GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel1, &user1)) << GetLastError();
    const double cpu = cpuMs(kernel0, user0, kernel1, user1);
    std::printf("idle: %d calls in %.0f ms, each %.0f to %.0f ms, %.1f ms of thread CPU time\n", calls, wall, shortest,
                longest, cpu);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(early, 0) << "shortest call " << shortest << " ms";
    EXPECT_EQ(late, 0) << "longest call " << longest << " ms";
    EXPECT_GE(calls, 10);
    EXPECT_LE(calls, 13);
    EXPECT_LT(cpu, 0.02 * wall) << cpu << " ms of CPU in " << wall << " ms of idle waiting";
}

TEST_F(PhraseWindowTest, AMessageArrivingDuringTheWaitEndsIt) {
    // The timer's message is made while the thread is inside the wait, 300 ms after it began.
    ASSERT_NE(SetTimer(window, 1, 300, nullptr), 0u) << GetLastError();
    const double start = nowMs();
    WindowEvent e = waitForEvent(5000);
    const double took = nowMs() - start;
    KillTimer(window, 1);
    EXPECT_EQ(describe(e), "NoEvent(0,0,0)");
    EXPECT_GE(took, 250);
    EXPECT_LT(took, 2500) << "the wait did not end when the timer's message came";
}

TEST_F(PhraseWindowTest, PinningSurvivesHideAndShow) {
    setPhraseWindowOnTop(true);
    EXPECT_TRUE(hasStyle(WS_EX_TOPMOST));
    EXPECT_TRUE(IsWindowVisible(window));
    hidePhraseWindow();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(hasStyle(WS_EX_TOPMOST));
    showPhraseWindow();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(hasStyle(WS_EX_TOPMOST));
    EXPECT_TRUE(pollUntil([&] { return GetActiveWindow() == window; })) << "shown but not active";

    // Pinning a hidden window neither shows it nor is lost on showing.
    setPhraseWindowOnTop(false);
    EXPECT_FALSE(hasStyle(WS_EX_TOPMOST));
    hidePhraseWindow();
    setPhraseWindowOnTop(true);
    EXPECT_FALSE(IsWindowVisible(window));
    showPhraseWindow();
    EXPECT_TRUE(hasStyle(WS_EX_TOPMOST));
    setPhraseWindowOnTop(false);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(hasStyle(WS_EX_TOPMOST));
}

TEST(PhraseWindowAbsent, OperationsDoNothing) {
    setPhraseWindow(nullptr);
    showPhraseWindow();
    hidePhraseWindow();
    setPhraseWindowOnTop(true);
    std::int32_t x = 7, y = 7;
    phraseWindowPosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(PhraseWindowTest, TabAndShiftTabWalkEnabledVisibleTabStopsAndWrap) {
    struct Case {
        int from;  // 0: no child has the focus
        bool shift;
        int to;
    };
    const Case cases[] = {
        {27, false, 47}, {47, false, 48}, {48, false, 27}, {0, false, 27},
        {27, true, 48},  {48, true, 47},  {47, true, 27},  {0, true, 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("from " + std::to_string(c.from) + (c.shift ? " Shift+Tab" : " Tab"));
        SetFocus(c.from ? control(c.from) : window);
        ASSERT_EQ(GetFocus(), c.from ? control(c.from) : window);
        BYTE keys[256];
        ASSERT_TRUE(GetKeyboardState(keys)) << GetLastError();
        BYTE shifted[256];
        std::copy(keys, keys + 256, shifted);
        // Posted keys do not change the key state, so Shift is set in the thread's state for the translation.
        if (c.shift) shifted[VK_SHIFT] = 0x80;
        ASSERT_TRUE(SetKeyboardState(shifted)) << GetLastError();
        ASSERT_TRUE(PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001)) << GetLastError();
        std::vector<WindowEvent> got = settle(100);
        SetKeyboardState(keys);
        EXPECT_EQ(GetFocus(), control(c.to)) << "focus went to id " << GetDlgCtrlID(GetFocus());
        EXPECT_EQ(describe(got), "");
    }
}

// Another top-level window of the thread, to take the activation away from the test window.
HWND makeOtherWindow() {
    HWND other = CreateWindowExW(0, L"Button", L"other", WS_OVERLAPPEDWINDOW, 500, 300, 200, 100, nullptr, nullptr,
                                 programInstance(), nullptr);
    EXPECT_NE(other, nullptr) << "CreateWindowExW failed, error " << GetLastError();
    if (other) ShowWindow(other, SW_SHOWNOACTIVATE);
    return other;
}

bool activate(HWND target) {
    SetActiveWindow(target);
    return pollUntil([&] { return GetActiveWindow() == target; });
}

TEST_F(PhraseWindowTest, FocusComesBackAfterDeactivation) {
    HWND other = makeOtherWindow();
    ASSERT_NE(other, nullptr);
    for (int id : {47, 27, 48}) {
        SCOPED_TRACE("focus on " + std::to_string(id));
        SetFocus(control(id));
        ASSERT_EQ(GetFocus(), control(id));
        ASSERT_TRUE(activate(other)) << GetLastError();
        EXPECT_NE(GetFocus(), control(id));
        ASSERT_TRUE(activate(window)) << GetLastError();
        EXPECT_EQ(GetFocus(), control(id)) << "focus is on id " << GetDlgCtrlID(GetFocus());
    }
    DestroyWindow(other);
}

class KeyboardCueTest : public PhraseWindowTest {
protected:
    KeyboardCueTest() { windowClass = CueClassName; }
    const WPARAM show = MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL);
    const WPARAM hide = MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL);

    // Posts msg, takes it through the wait with the given modifier held in the thread's key state.
    void takeWithKey(HWND target, UINT message, WPARAM wParam, int modifier) {
        BYTE keys[256], held[256];
        ASSERT_TRUE(GetKeyboardState(keys)) << GetLastError();
        std::copy(keys, keys + 256, held);
        if (modifier) held[modifier] = 0x80;
        ASSERT_TRUE(SetKeyboardState(held)) << GetLastError();
        ASSERT_TRUE(PostMessageW(target, message, wParam, 0x000F0001)) << GetLastError();
        settle(100);
        SetKeyboardState(keys);
    }
};

TEST_F(KeyboardCueTest, HiddenOnDeactivationShownByTabAndModifiers) {
    HWND other = makeOtherWindow();
    ASSERT_NE(other, nullptr);
    emulatedCueState = 0;
    cueUpdates.clear();
    ASSERT_TRUE(activate(other));
    EXPECT_EQ(cueUpdates, std::vector<WPARAM>{hide});
    ASSERT_TRUE(activate(window));
    ASSERT_TRUE(activate(other));
    EXPECT_EQ(cueUpdates, std::vector<WPARAM>{hide}) << "hidden again although already hidden";
    ASSERT_TRUE(activate(window));
    DestroyWindow(other);
    ASSERT_TRUE(pollUntil([&] { return GetActiveWindow() == window; }));

    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        int modifier;
        WORD before;
        std::vector<WPARAM> updates;
    };
    const Case cases[] = {
        {"Tab shows", WM_KEYDOWN, VK_TAB, 0, UISF_HIDEFOCUS | UISF_HIDEACCEL, {show}},
        {"Tab with one cue hidden shows", WM_KEYDOWN, VK_TAB, 0, UISF_HIDEACCEL, {show}},
        {"Tab when shown sends nothing", WM_KEYDOWN, VK_TAB, 0, 0, {}},
        {"Shift+Tab shows", WM_KEYDOWN, VK_TAB, VK_SHIFT, UISF_HIDEFOCUS | UISF_HIDEACCEL, {show}},
        {"any message with Ctrl held shows", WM_NULL, 0, VK_CONTROL, UISF_HIDEFOCUS | UISF_HIDEACCEL, {show}},
        {"any message with Alt held shows", WM_NULL, 0, VK_MENU, UISF_HIDEFOCUS | UISF_HIDEACCEL, {show}},
        {"a plain message shows nothing", WM_NULL, 0, 0, UISF_HIDEFOCUS | UISF_HIDEACCEL, {}},
        {"a plain key shows nothing", WM_KEYDOWN, 'A', 0, UISF_HIDEFOCUS | UISF_HIDEACCEL, {}},
    };
    for (const Case& c : cases) {
        emulatedCueState = c.before;
        cueUpdates.clear();
        SetFocus(control(27));
        takeWithKey(c.message == WM_NULL ? window : control(27), c.message, c.wParam, c.modifier);
        // With Shift held the cues are shown when the key is taken; the translation then finds them shown.
        EXPECT_EQ(cueUpdates, c.updates) << c.name;
    }
}

// The wait keeps the phrase window's activation itself; while another window is active, keys held or Tab must
// neither show cues on the phrase window nor move its focus, and both work again once it is active again.
TEST_F(KeyboardCueTest, NothingWhileAnotherWindowIsActive) {
    HWND other = makeOtherWindow();
    ASSERT_NE(other, nullptr);
    SetFocus(control(27));
    ASSERT_TRUE(activate(other));
    emulatedCueState = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    cueUpdates.clear();
    takeWithKey(window, WM_NULL, 0, VK_CONTROL);
    takeWithKey(control(27), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(cueUpdates.empty()) << cueUpdates.size() << " updates while inactive";
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_NE(GetFocus(), control(47)) << "Tab moved the focus of an inactive window";

    ASSERT_TRUE(activate(window));
    emulatedCueState = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    cueUpdates.clear();
    takeWithKey(window, WM_NULL, 0, VK_CONTROL);
    EXPECT_EQ(cueUpdates, std::vector<WPARAM>{show}) << "no cues once active again";
    SetFocus(control(27));
    takeWithKey(control(27), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), control(47)) << "Tab did not move the focus once active again";
    DestroyWindow(other);
}

struct HandlerCall {
    HWND control;
    UINT message;
};
std::vector<HandlerCall> handlerCalls;
UINT answeredMessage = 0;
const LRESULT HandlerAnswer = 0x5a5a;

bool recordingHandler(HWND control, UINT message, WPARAM, LPARAM, LRESULT& result) {
    handlerCalls.push_back({control, message});
    if (message != answeredMessage) return false;
    result = HandlerAnswer;
    return true;
}

TEST_F(PhraseWindowTest, ControlMessagesGoToTheControlsOwnHandler) {
    HWND label = control(67);
    HDC dc = GetDC(window);
    setControlHandler(label, recordingHandler);
    struct Case {
        const char* name;
        UINT message;
        UINT answered;
    };
    const Case cases[] = {
        {"static colour answered", WM_CTLCOLORSTATIC, WM_CTLCOLORSTATIC},
        {"static colour declined", WM_CTLCOLORSTATIC, 0},
        {"button colour answered", WM_CTLCOLORBTN, WM_CTLCOLORBTN},
        {"edit colour answered", WM_CTLCOLOREDIT, WM_CTLCOLOREDIT},
        {"list colour declined", WM_CTLCOLORLISTBOX, 0},
        {"horizontal scroll answered", WM_HSCROLL, WM_HSCROLL},
        {"vertical scroll declined", WM_VSCROLL, 0},
    };
    for (const Case& c : cases) {
        handlerCalls.clear();
        answeredMessage = c.answered;
        const bool scroll = c.message == WM_HSCROLL || c.message == WM_VSCROLL;
        WPARAM wParam = scroll ? SB_LINEDOWN : reinterpret_cast<WPARAM>(dc);
        LPARAM lParam = reinterpret_cast<LPARAM>(label);
        LRESULT result = SendMessageW(window, c.message, wParam, lParam);
        ASSERT_EQ(handlerCalls.size(), 1u) << c.name;
        EXPECT_EQ(handlerCalls[0].control, label) << c.name;
        EXPECT_EQ(handlerCalls[0].message, c.message) << c.name;
        LRESULT expected = c.answered ? HandlerAnswer : DefWindowProcW(window, c.message, wParam, lParam);
        EXPECT_EQ(result, expected) << c.name;
    }

    // WM_NOTIFY names its control in the header, not in lParam.
    handlerCalls.clear();
    answeredMessage = WM_NOTIFY;
    NMHDR header{label, 67, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(SendMessageW(window, WM_NOTIFY, 67, reinterpret_cast<LPARAM>(&header)), HandlerAnswer);
    ASSERT_EQ(handlerCalls.size(), 1u);
    EXPECT_EQ(handlerCalls[0].control, label);

    // A control without a handler gets the default colours.
    handlerCalls.clear();
    HWND button = control(27);
    EXPECT_EQ(SendMessageW(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button)),
              DefWindowProcW(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button)));
    EXPECT_TRUE(handlerCalls.empty());

    // A real repaint of the label asks its parent for colours on its behalf.
    handlerCalls.clear();
    answeredMessage = WM_CTLCOLORSTATIC;
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    bool asked = false;
    for (const HandlerCall& call : handlerCalls)
        asked = asked || (call.control == label && call.message == WM_CTLCOLORSTATIC);
    EXPECT_TRUE(asked) << "repainting the label did not reach its handler";

    // A command answered by the control's handler raises no event; one it declines does.
    answeredMessage = WM_COMMAND;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(67, STN_CLICKED), reinterpret_cast<LPARAM>(label));
    answeredMessage = 0;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(67, STN_DBLCLK), reinterpret_cast<LPARAM>(label));
    std::vector<WindowEvent> got = settle();
    EXPECT_EQ(describe(got), describe({WindowEvent{EventKind::GadgetEvent, 67, STN_DBLCLK, 0}}));

    setControlHandler(label, nullptr);
    handlerCalls.clear();
    SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
    EXPECT_TRUE(handlerCalls.empty()) << "the handler was not removed";
    ReleaseDC(window, dc);
}

int taskbarCreatedCalls = 0;
void countTaskbarCreated() { ++taskbarCreatedCalls; }

TEST_F(PhraseWindowTest, TaskbarCreatedCallsItsHandler) {
    taskbarCreatedCalls = 0;
    setTaskbarCreatedHandler(countTaskbarCreated);
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u) << GetLastError();
    ASSERT_TRUE(PostMessageW(window, taskbarCreated, 0, 0)) << GetLastError();
    std::vector<WindowEvent> got = settle();
    EXPECT_EQ(taskbarCreatedCalls, 1);
    EXPECT_EQ(describe(got), "");
    setTaskbarCreatedHandler(nullptr);
    SendMessageW(window, taskbarCreated, 0, 0);
    EXPECT_EQ(taskbarCreatedCalls, 1);
}

TEST(EventWait, QueuedEventComesFirstWithoutTakingMessages) {
    clearEventQueue();
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0)) << GetLastError();
    queueEvent(WindowEvent{EventKind::MenuEvent, 5, 0, 0});
    EXPECT_EQ(describe(waitForEvent(250)), "Menu(5,0,0)");
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE)) << "the waiting message was taken";
    EXPECT_EQ(describe(waitForEvent(0)), "NoEvent(0,0,0)");
}

}  // namespace
}  // namespace mz
