// The tray menu's Windows-only parts: the record behind each owner-drawn entry, and the menu itself.
#pragma once
#include <windows.h>

#include <string>

namespace mz {

// What an owner-drawn entry's item data points to. Owned by the menu; the image is borrowed.
struct MenuEntry {
    bool separator;
    std::u16string text;
    HICON image;
};

// The window property that holds the phrase window's own procedure once the menu drawing has hooked it.
constexpr wchar_t MenuHookProperty[] = L"Merkzeile.MenuHook";

// The tray menu; nullptr before createTrayMenu.
HMENU trayMenu();

}  // namespace mz
