// The program's event queue: first in, first out, with its merge, suppression and removal rules.
#include "platform/events.h"

#include <algorithm>
#include <deque>

namespace mz {

namespace {

std::deque<WindowEvent> queue;
int suppression = 0;

}  // namespace

void queueEvent(const WindowEvent& event) {
    if (suppression > 0) return;
    // Only the newest waiting event counts: a burst of equal moves becomes one, but a different event in
    // between keeps both, and an event already handed over is gone from the queue.
    if (!queue.empty() && queue.back() == event) return;
    queue.push_back(event);
}

bool takeEvent(WindowEvent& event) {
    if (queue.empty()) return false;
    event = queue.front();
    queue.pop_front();
    return true;
}

void removeQueuedEvents(std::int32_t window, std::int32_t item) {
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [&](const WindowEvent& e) {
                                   return e.window == window && (item == -1 || e.item == item);
                               }),
                queue.end());
}

void clearEventQueue() { queue.clear(); }

void beginSetTextSuppression() { ++suppression; }

void endSetTextSuppression() {
    if (suppression > 0) --suppression;
}

}  // namespace mz
