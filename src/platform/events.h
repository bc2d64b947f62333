// Window events and the program's event queue.
#pragma once
#include <cstdint>

namespace mz {

enum class EventKind {
    NoEvent,
    GadgetEvent,
    MenuEvent,
    SysTrayEvent,
    CloseWindowEvent,
    MoveWindowEvent,
    // Raised but not handled by the program.
    ActivateEvent,
    SizeEvent,
    RepaintEvent,
    TimerEvent,
    LeftClickEvent,
    LeftDoubleClickEvent,
    RightClickEvent,
};

struct WindowEvent {
    EventKind kind = EventKind::NoEvent;
    std::int32_t item = 0;       // control, menu item, tray icon or window number, by kind
    std::int32_t clickType = 0;  // tray click type; a control's notification code; else 0
    std::int32_t window = 0;     // the window the event belongs to (the phrase window is 0)
};

inline bool operator==(const WindowEvent& a, const WindowEvent& b) {
    return a.kind == b.kind && a.item == b.item && a.clickType == b.clickType && a.window == b.window;
}

// Tray click types.
constexpr std::int32_t LeftButtonDown = 0, RightButtonDown = 1, LeftDoubleClick = 2, RightDoubleClick = 3;

// Adds an event unless set-text is suppressing events or the newest queued event is equal.
void queueEvent(const WindowEvent& event);
// Takes the oldest queued event; false when the queue is empty.
bool takeEvent(WindowEvent& event);
// Drops queued events that belong to window (and, when item is not -1, to that item).
void removeQueuedEvents(std::int32_t window, std::int32_t item = -1);
void clearEventQueue();
// Set-text suppression: nothing is queued while the count is above zero.
void beginSetTextSuppression();
void endSetTextSuppression();

// The next event: a queued one at once, else one message is taken and dispatched (or the wait times out).
WindowEvent waitForEvent(int timeoutMs);

}  // namespace mz
