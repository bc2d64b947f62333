// The notification-area icon and its owner-drawn popup menu.
#pragma once
#include <string>

namespace mz {

constexpr unsigned TrayCallbackMessage = 12501;
constexpr int TrayIconId = 1;

// Adds the tray icon of the phrase window with built-in image number image; false when none was added.
bool addTrayIcon(int image);
void setTrayToolTip(const std::u16string& text);
void removeTrayIcon();

void createTrayMenu();
// image 0 means none.
void appendMenuItem(int item, const std::u16string& text, int image);
void appendMenuSeparator();
void setMenuItemChecked(int item, bool checked);
// Opens the menu at the mouse pointer, owned by the phrase window; returns when it has closed.
void showTrayMenu();

}  // namespace mz
