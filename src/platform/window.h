// Operations on the phrase window; each does nothing when the window does not exist.
#pragma once
#include <cstdint>

namespace mz {

void showPhraseWindow();
void hidePhraseWindow();
void setPhraseWindowOnTop(bool onTop);
// The outer top-left corner in screen pixels; (0, 0) when there is no window.
void phraseWindowPosition(std::int32_t& x, std::int32_t& y);

}  // namespace mz

namespace mz {

// Start-up step 1: the common controls (tool tips and others) and COM on the program's thread.
void setUpPlatform();

}  // namespace mz
