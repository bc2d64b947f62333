// The program: start-up, the event loop's four tests, the copy and edit flows, and shut-down.
#include "app/program.h"

#include "actions/clipboard.h"
#include "actions/launch.h"
#include "app/slots.h"
#include "platform/window.h"
#include "store/phrases.h"
#include "store/settings.h"
#include "ui/icons.h"
#include "ui/phrase_window.h"
#include "ui/tray.h"

namespace mz {

const std::u16string productName = u"Merkzeile";
const std::u16string productVersion = u"V1.3";
const std::u16string makerWebPage = u"http://kelmarin.example/merkzeile/";

std::u16string titleText() { return productName + u" " + productVersion; }

// Tray menu item numbers.
enum : std::int32_t { HideItem = 3, KeepInFrontItem = 4, QuitItem = 5, WebPageItem = 6 };

ProgramState& programState() {
    static ProgramState state;
    return state;
}

void applyVisibilityRule() {
    ProgramState& s = programState();
    // Pin before showing, unpin before hiding.
    if (s.keepInFront == 1) {
        setPhraseWindowOnTop(true);
        showPhraseWindow();
    } else {
        setPhraseWindowOnTop(false);
        hidePhraseWindow();
    }
    if (s.firstVisibilityPass == 1) {
        setMenuItemChecked(KeepInFrontItem, s.keepInFront == 1);
        hidePhraseWindow();
        s.firstVisibilityPass = 0;
    }
}

bool startUp() {
    clearEventQueue();
    readDisplayDpi();
    setUpPlatform();

    ProgramState& s = programState();
    const Settings settings = loadSettings();
    s.windowPosX = settings.windowPosX;
    s.windowPosY = settings.windowPosY;
    s.keepInFront = settings.keepInFront;
    s.firstVisibilityPass = 1;

    loadBuiltInImages();
    loadPhraseFiles();
    if (!buildPhraseWindow(s.windowPosX, s.windowPosY)) {
        showCreationFailure();
        return false;
    }

    hidePhraseWindow();
    addTrayIcon(1);
    setTrayToolTip(titleText());
    createTrayMenu();
    appendMenuItem(HideItem, u"Das ge\u00F6ffnete Phrasenfenster ausblenden", 3);
    appendMenuSeparator();
    appendMenuItem(KeepInFrontItem, u"Das Phrasenfenster nach dem Kopieren im Vordergrund halten", 0);
    applyVisibilityRule();  // sets item 4's check mark, so it runs right after that item exists
    appendMenuSeparator();
    appendMenuItem(WebPageItem, u"Die Kelmarin-Webseite aufrufen", 2);
    appendMenuSeparator();
    appendMenuItem(QuitItem, u"Das Programm " + titleText() + u" beenden", 1);
    return true;
}

static void copyFlow(int n) {
    copyToClipboard(phraseSlot(n).fullText);
    applyVisibilityRule();
}

static void editFlow(int n) {
    hidePhraseWindow();
    launchTarget(u"Notepad.exe", phraseFileName(n), u"", true);
    loadPhraseFiles();
    setSlotLabel(n, phraseSlot(n).displayText);
    showPhraseWindow();
}

static void toggleKeepInFront() {
    ProgramState& s = programState();
    if (s.keepInFront != 0 && s.keepInFront != 1) return;  // a value from a hand-edited file is left alone
    s.keepInFront = 1 - s.keepInFront;
    saveKeepInFront(s.keepInFront);
    setMenuItemChecked(KeepInFrontItem, s.keepInFront == 1);
}

static void savePosition() {
    ProgramState& s = programState();
    phraseWindowPosition(s.windowPosX, s.windowPosY);  // where the window is now, not where the move was reported
    saveWindowPosition(s.windowPosX, s.windowPosY);
}

bool dispatchEvent(WindowEvent& event) {
    if (event.kind == EventKind::SysTrayEvent &&
        (event.clickType == LeftButtonDown || event.clickType == RightButtonDown)) {
        showPhraseWindow();
        showTrayMenu();
    }
    if (event.kind == EventKind::MenuEvent) {
        switch (event.item) {
            case HideItem: hidePhraseWindow(); break;
            case KeepInFrontItem: toggleKeepInFront(); break;
            case WebPageItem: launchTarget(makerWebPage, u"", u"", false); break;
            case QuitItem: event.kind = EventKind::CloseWindowEvent; break;
            default: break;
        }
    }
    if (event.kind == EventKind::GadgetEvent) {
        if (int n = slotOfCopyButton(event.item)) copyFlow(n);
        else if (int m = slotOfEditButton(event.item)) editFlow(m);
    }
    if (event.kind == EventKind::MoveWindowEvent) savePosition();
    return event.kind == EventKind::CloseWindowEvent;
}

void runEventLoop() {
    for (;;) {
        WindowEvent event = waitForEvent(250);
        if (dispatchEvent(event)) return;
    }
}

void shutDown() {
    removeTrayIcon();
    destroyPhraseWindow();
    releaseBuiltInImages();
}

int runProgram() {
    if (startUp()) runEventLoop();
    shutDown();
    return 0;
}

}  // namespace mz
