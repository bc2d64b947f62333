// The phrase window and its sixty controls.
#pragma once
#include <cstdint>
#include <string>

namespace mz {

// Reads the display's dots per inch for the label font (96 when it cannot be read). Start-up step 1.
void readDisplayDpi();
// Builds the label font, window, buttons, labels and tool tips; true when the window exists.
bool buildPhraseWindow(std::int32_t x, std::int32_t y);
// Sets slot n's label text without raising events.
void setSlotLabel(int n, const std::u16string& text);
// The one message of the program: the window could not be created.
void showCreationFailure();
// Shut-down: the tool-tip control, the window with its controls, then the label font.
void destroyPhraseWindow();

}  // namespace mz
