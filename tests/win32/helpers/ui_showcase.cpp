// Shows the phrase window and then the open tray menu for screenshots taken from outside, in the current
// folder: writes window.txt once the window is drawn and waits for go-window; then hides it, adds the tray
// icon and writes tray.txt; a press on the tray icon shows the window and opens the menu; writes menu.txt
// once the menu is drawn and closes it when go-menu appears. Every step gives up after a minute (exit code
// 2).
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/program.h"
#include "app/slots.h"
#include "platform/events.h"
#include "platform/win32/win32.h"
#include "platform/window.h"
#include "ui/icons.h"
#include "ui/phrase_window.h"
#include "ui/tray.h"
#include "ui/win32/tray_win32.h"

namespace {

constexpr ULONGLONG StepTimeout = 60000;

bool exists(const wchar_t* name) {
    return GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES;
}

// Written under another name first, so the script never reads half a file.
bool writeText(const wchar_t* name, const std::string& text) {
    const std::wstring part = std::wstring(name) + L".part";
    FILE* f = _wfopen(part.c_str(), L"wb");
    if (!f) return false;
    const bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    fclose(f);
    return ok && MoveFileExW(part.c_str(), name, MOVEFILE_REPLACE_EXISTING);
}

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
           std::to_string(r.bottom) + "\n";
}

std::string colourText(int index) {
    const COLORREF c = GetSysColor(index);
    return std::to_string(GetRValue(c)) + " " + std::to_string(GetGValue(c)) + " " +
           std::to_string(GetBValue(c)) + "\n";
}

bool menuReported = false;
bool menuTimedOut = false;
ULONGLONG menuDeadline = 0;

void CALLBACK whileMenuOpen(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!menuReported && popup && IsWindowVisible(popup)) {
        RECT r;
        GetWindowRect(popup, &r);
        std::string text = "popup " + rectText(r);
        for (int i = 0; i < GetMenuItemCount(mz::trayMenu()); ++i) {
            GetMenuItemRect(nullptr, mz::trayMenu(), static_cast<UINT>(i), &r);
            text += "item " + rectText(r);
        }
        text += "highlight " + colourText(COLOR_HIGHLIGHT);
        text += "menu " + colourText(COLOR_MENU);
        text += "shadow " + colourText(COLOR_BTNSHADOW);
        text += "highlighttext " + colourText(COLOR_HIGHLIGHTTEXT);
        menuReported = writeText(L"menu.txt", text);
    }
    if (exists(L"go-menu")) EndMenu();
    if (GetTickCount64() > menuDeadline) {
        menuTimedOut = true;
        EndMenu();
    }
}

void samplePhrases() {
    mz::setSlotFullText(1, u"Mit freundlichen Gr\u00fc\u00dfen\r\nErika Mustermann\r\n");
    mz::setSlotFullText(2, u"Sehr geehrte Damen und Herren,\r\n");
    mz::setSlotFullText(3, u"Vielen Dank f\u00fcr Ihre Nachricht & bis bald!\r\n");
    mz::setSlotFullText(4, u"erika.mustermann@example.org\r\n");
    mz::setSlotFullText(5, u"+49 30 1234567\r\n");
    mz::setSlotFullText(6, u"Musterstra\u00dfe 12\r\n12345 Musterstadt\r\n");
    mz::setSlotFullText(
        8,
        u"Bitte beachten Sie, dass unser B\u00fcro vom 23. Dezember bis zum 2. Januar geschlossen "
        u"ist. In dringenden F\u00e4llen erreichen Sie uns unter der oben genannten Nummer.\r\n");
    mz::setSlotFullText(10, u"\r\n");
}

}  // namespace

int wmain() {
    mz::setUpPlatform();
    mz::loadBuiltInImages();
    samplePhrases();
    mz::readDisplayDpi();
    if (!mz::buildPhraseWindow(10, 10)) return 3;
    HWND window = mz::phraseWindow();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

    RECT r;
    GetWindowRect(window, &r);
    if (!writeText(L"window.txt", "window " + rectText(r))) return 4;
    ULONGLONG deadline = GetTickCount64() + StepTimeout;
    while (!exists(L"go-window")) {
        if (GetTickCount64() > deadline) return 2;
        mz::waitForEvent(50);
    }

    mz::hidePhraseWindow();
    mz::addTrayIcon(1);
    mz::setTrayToolTip(mz::titleText());
    mz::createTrayMenu();
    mz::appendMenuItem(3, u"Das ge\u00f6ffnete Phrasenfenster ausblenden", 3);
    mz::appendMenuSeparator();
    mz::appendMenuItem(4, u"Das Phrasenfenster nach dem Kopieren im Vordergrund halten", 0);
    mz::setMenuItemChecked(4, true);
    mz::appendMenuSeparator();
    mz::appendMenuItem(6, u"Die Kelmarin-Webseite aufrufen", 2);
    mz::appendMenuSeparator();
    mz::appendMenuItem(5, u"Das Programm " + mz::titleText() + u" beenden", 1);
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT bar{};
    if (taskbar) GetWindowRect(taskbar, &bar);
    if (!writeText(L"tray.txt", "taskbar " + rectText(bar))) return 4;

    deadline = GetTickCount64() + StepTimeout;
    for (;;) {
        if (GetTickCount64() > deadline) return 2;
        const mz::WindowEvent e = mz::waitForEvent(250);
        if (e.kind == mz::EventKind::SysTrayEvent &&
            (e.clickType == mz::LeftButtonDown || e.clickType == mz::RightButtonDown))
            break;
    }
    mz::showPhraseWindow();
    menuDeadline = GetTickCount64() + StepTimeout;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &whileMenuOpen);
    mz::showTrayMenu();
    KillTimer(nullptr, timer);

    mz::removeTrayIcon();
    mz::destroyPhraseWindow();
    mz::releaseBuiltInImages();
    return menuTimedOut || !menuReported ? 2 : 0;
}
