// The program: program-wide values, start-up, the event loop's dispatch and shut-down.
#pragma once
#include <cstdint>
#include <string>

#include "platform/events.h"

namespace mz {

extern const std::u16string productName;     // "Merkzeile"
extern const std::u16string productVersion;  // "V1.3"
std::u16string titleText();                  // "Merkzeile V1.3"
extern const std::u16string makerWebPage;

struct ProgramState {
    std::int32_t windowPosX = 10;
    std::int32_t windowPosY = 10;
    std::int32_t keepInFront = 0;
    std::int32_t firstVisibilityPass = 1;
};
ProgramState& programState();

void applyVisibilityRule();
// Start-up; false when the phrase window could not be created (the message has been shown).
bool startUp();
// Runs the four tests on event; true when the loop must end (the event is, or became, a close event).
bool dispatchEvent(WindowEvent& event);
void runEventLoop();
void shutDown();
// The whole program; the exit code, always 0.
int runProgram();

}  // namespace mz
