// The recording fake of the Windows-only operations, for native unit tests of the program's logic.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/events.h"

namespace mz::fake {

// Every call the fake receives, one readable line each: "showPhraseWindow", "copyToClipboard abc\r\n".
std::vector<std::string>& calls();
// The calls whose line starts with prefix, in order.
std::vector<std::string> callsStartingWith(const std::string& prefix);

struct Scenario {
    bool windowCanBeCreated = true;
    std::int32_t windowX = 10, windowY = 10;  // what phraseWindowPosition reports
    std::deque<WindowEvent> events;           // what waitForEvent hands out; a close event once it runs dry
    std::function<void(const std::u16string& target, const std::u16string& parameters)> onLaunch;
};
Scenario& scenario();

// Clears the calls and the scenario.
void reset();

std::string utf8(const std::u16string& s);

}  // namespace mz::fake
