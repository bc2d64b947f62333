// The phrase window's procedure, which only turns window messages into events, and the wait for the next event.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/events.h"
#include "platform/win32/win32.h"
#include "ui/tray.h"

namespace mz {

namespace {

constexpr WORD NextControlCommand = 64001;
constexpr WORD PreviousControlCommand = 64002;
constexpr WORD AcceleratorNotification = 1;
constexpr std::int32_t PhraseWindowNumber = 0;
constexpr WORD KeyboardCueFlags = UISF_HIDEFOCUS | UISF_HIDEACCEL;

HWND phraseWindowHandle = nullptr;
bool ready = false;
HWND rememberedFocus = nullptr;
// Kept from WM_ACTIVATE: under Wine, GetActiveWindow is a round trip to the server, and the wait needs the answer
// for every message it takes (a button click is several).
bool phraseWindowActive = false;
HACCEL navigationAccelerators = nullptr;
TaskbarCreatedHandler taskbarCreatedHandler = nullptr;

// The handler is a property of the control itself, so it goes when the control goes. The property's name is an
// atom made once, so that setting it on many controls adds no references to the atom.
const wchar_t* controlHandlerProperty() {
    static const ATOM atom = GlobalAddAtomW(L"MzControlHandler");
    return MAKEINTATOM(atom);
}

// The controls that were given a handler. Reading a property costs a server round trip under Wine, and every
// click and colour request would pay it, although only the labels have a handler. A handle here only says that
// the property may exist; a dead control's handle that comes back for a new window finds no property.
std::vector<HWND> controlsWithHandler;

bool mayHaveHandler(HWND control) {
    for (HWND known : controlsWithHandler)
        if (known == control) return true;
    return false;
}

UINT taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void queue(EventKind kind, std::int32_t item, std::int32_t clickType) {
    queueEvent(WindowEvent{kind, item, clickType, PhraseWindowNumber});
}

ControlHandler controlHandler(HWND control) {
    if (!control || !mayHaveHandler(control)) return nullptr;
    auto stored = reinterpret_cast<std::uintptr_t>(GetPropW(control, controlHandlerProperty()));
    return reinterpret_cast<ControlHandler>(stored);
}

bool offerToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    ControlHandler handler = controlHandler(control);
    return handler && handler(control, message, wParam, lParam, result);
}

// Ctrl, Shift or Alt down in the thread's key state; one request for all three.
bool modifierHeld() {
    BYTE keys[256];
    if (!GetKeyboardState(keys)) return false;
    return ((keys[VK_CONTROL] | keys[VK_SHIFT] | keys[VK_MENU]) & 0x80) != 0;
}

// With onlyWhileModifierHeld, the cues are shown only while Ctrl, Shift or Alt is down. The key state is asked
// last, only when there are cues to show: under Wine it is another round trip to the server.
void showKeyboardCues(HWND window, bool onlyWhileModifierHeld = false) {
    auto state = static_cast<WORD>(SendMessageW(window, WM_QUERYUISTATE, 0, 0));
    if (!(state & KeyboardCueFlags) || (onlyWhileModifierHeld && !modifierHeld())) return;
    SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, KeyboardCueFlags), 0);
}

void hideKeyboardCues(HWND window) {
    auto state = static_cast<WORD>(SendMessageW(window, WM_QUERYUISTATE, 0, 0));
    if ((state & KeyboardCueFlags) != KeyboardCueFlags)
        SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, KeyboardCueFlags), 0);
}

bool isTabStop(HWND child) {
    return IsWindowEnabled(child) && IsWindowVisible(child) && (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP);
}

// The direct child of window that holds the focus (the focus may sit in a grandchild); nullptr if none.
HWND focusedChild(HWND window) {
    HWND focus = GetFocus();
    while (focus && focus != window) {
        HWND parent = GetAncestor(focus, GA_PARENT);
        if (parent == window) return focus;
        focus = parent;
    }
    return nullptr;
}

// Children are linked in creation order (each new child goes below its siblings), so the sibling chain
// from GW_CHILD is the keyboard order, as in dialogs.
void moveFocus(HWND window, bool forward) {
    std::vector<HWND> stops;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (isTabStop(child)) stops.push_back(child);
    if (stops.empty()) return;
    HWND current = focusedChild(window);
    std::size_t at = stops.size();
    for (std::size_t i = 0; i < stops.size(); ++i)
        if (stops[i] == current) at = i;
    std::size_t next;
    if (at == stops.size()) next = forward ? 0 : stops.size() - 1;
    else next = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    SetFocus(stops[next]);
}

std::int32_t trayClickType(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN: return LeftButtonDown;
    case WM_RBUTTONDOWN: return RightButtonDown;
    case WM_LBUTTONDBLCLK: return LeftDoubleClick;
    case WM_RBUTTONDBLCLK: return RightDoubleClick;
    default: return -1;
    }
}

LRESULT onCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (lParam != 0) {
        HWND control = reinterpret_cast<HWND>(lParam);
        LRESULT answer = 0;
        if (offerToControl(control, message, wParam, lParam, answer)) return answer;
        queue(EventKind::GadgetEvent, static_cast<std::int32_t>(GetWindowLongPtrW(control, GWLP_ID)),
              HIWORD(wParam));
        return 0;
    }
    if (HIWORD(wParam) == 0) {
        queue(EventKind::MenuEvent, LOWORD(wParam), 0);
        return 0;
    }
    if (HIWORD(wParam) == AcceleratorNotification &&
        (LOWORD(wParam) == NextControlCommand || LOWORD(wParam) == PreviousControlCommand)) {
        moveFocus(window, LOWORD(wParam) == NextControlCommand);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND controlOf(UINT message, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header ? header->hwndFrom : nullptr;
    }
    return reinterpret_cast<HWND>(lParam);
}

}  // namespace

HWND phraseWindow() { return phraseWindowHandle; }

void setPhraseWindow(HWND window) {
    phraseWindowHandle = window;
    ready = false;
    rememberedFocus = nullptr;
    phraseWindowActive = window && GetActiveWindow() == window;
}

void setPhraseWindowReady(bool isReady) { ready = isReady; }

void setControlHandler(HWND control, ControlHandler handler) {
    if (!control) return;
    controlsWithHandler.erase(std::remove_if(controlsWithHandler.begin(), controlsWithHandler.end(),
                                             [control](HWND known) { return known == control || !IsWindow(known); }),
                              controlsWithHandler.end());
    if (!handler) {
        RemovePropW(control, controlHandlerProperty());
        return;
    }
    controlsWithHandler.push_back(control);
    auto stored = reinterpret_cast<std::uintptr_t>(handler);
    SetPropW(control, controlHandlerProperty(), reinterpret_cast<HANDLE>(stored));
}

void setTaskbarCreatedHandler(TaskbarCreatedHandler handler) {
    taskbarCreatedMessage();
    taskbarCreatedHandler = handler;
}

void createNavigationAccelerators() {
    if (navigationAccelerators) return;
    ACCEL keys[] = {
        {FVIRTKEY | FNOINVERT, VK_TAB, NextControlCommand},
        {FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, PreviousControlCommand},
    };
    navigationAccelerators = CreateAcceleratorTableW(keys, 2);
}

void destroyNavigationAccelerators() {
    if (navigationAccelerators) DestroyAcceleratorTable(navigationAccelerators);
    navigationAccelerators = nullptr;
}

LRESULT CALLBACK phraseWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: return onCommand(window, message, wParam, lParam);
    case TrayCallbackMessage: {
        std::int32_t clickType = trayClickType(lParam);
        if (clickType >= 0) queue(EventKind::SysTrayEvent, static_cast<std::int32_t>(wParam), clickType);
        // The shell sends these rather than posting them, and a wait may take a sent message without returning;
        // a posted no-op ends it. It also keeps a tray menu opened again from closing at once.
        PostMessageW(window, WM_NULL, 0, 0);
        return 0;
    }
    case WM_CLOSE:
        if (window != phraseWindowHandle) break;
        queue(EventKind::CloseWindowEvent, PhraseWindowNumber, 0);
        return 0;
    case WM_MOVE:
        if (window != phraseWindowHandle) break;
        if (ready) queue(EventKind::MoveWindowEvent, PhraseWindowNumber, 0);
        return 0;
    case WM_ACTIVATE:
        if (window == phraseWindowHandle) phraseWindowActive = LOWORD(wParam) != WA_INACTIVE;
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            rememberedFocus = focus && IsChild(window, focus) ? focus : nullptr;
            hideKeyboardCues(window);
        } else if (rememberedFocus && IsWindow(rememberedFocus) && IsChild(window, rememberedFocus)) {
            SetFocus(rememberedFocus);
        }
        return 1;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_NOTIFY: {
        LRESULT answer = 0;
        if (offerToControl(controlOf(message, lParam), message, wParam, lParam, answer)) return answer;
        break;
    }
    case WM_NCDESTROY:
        if (window == phraseWindowHandle) {
            removeQueuedEvents(PhraseWindowNumber);
            setPhraseWindow(nullptr);
        }
        break;
    default:
        if (message == taskbarCreatedMessage() && message != 0) {
            if (taskbarCreatedHandler) taskbarCreatedHandler();
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

WindowEvent waitForEvent(int timeoutMs) {
    WindowEvent event;
    if (takeEvent(event)) return event;

    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
        DWORD woken = MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeoutMs),
                                                QS_ALLINPUT | QS_ALLPOSTMESSAGE);
        if (woken == WAIT_TIMEOUT) return WindowEvent{};
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return WindowEvent{};
    }

    // While the wait runs, no other window of this thread can be active: the tool tip never takes activation,
    // and the tray menu and the message box run loops of their own.
    HWND active = phraseWindowActive ? phraseWindowHandle : nullptr;
    if (active) showKeyboardCues(active, /*onlyWhileModifierHeld=*/true);
    if (active && navigationAccelerators &&
        TranslateAcceleratorW(active, navigationAccelerators, &msg)) {
        showKeyboardCues(active);
        return WindowEvent{};
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return WindowEvent{};
}

}  // namespace mz
