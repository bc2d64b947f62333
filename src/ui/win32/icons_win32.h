// The decoded built-in icons as Windows icon handles, for the tray icon and the menu.
#pragma once
#include <windows.h>

namespace mz {

// The icon of image n (1..3), or nullptr when n is out of range or decoding failed. Borrowed, never freed.
HICON builtInIcon(int n);

}  // namespace mz
