// The phrase window's Windows-only parts that other Windows code and the Windows tests look at.
#pragma once
#include <windows.h>

namespace mz {

// The one tool-tip control of the forty buttons; nullptr before the first tip is registered.
HWND phraseToolTip();
// The dots per inch readDisplayDpi found (96 until then, and when no display context could be made).
int displayDpi();

}  // namespace mz
