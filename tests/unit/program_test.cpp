// The program's start-up, dispatch and flows, against the recording fake and real files in a temp folder.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/program.h"
#include "app/slots.h"
#include "fake_platform.h"
#include "temp_folder.h"

namespace mz {
namespace {

using Calls = std::vector<std::string>;

class Program : public testing::Test {
protected:
    void SetUp() override {
        resetSlots();
        fake::reset();
        programState() = ProgramState();
    }
    void TearDown() override {
        resetSlots();
        fake::reset();
    }
    static void write(const std::string& name, const std::string& bytes) { test::writeFile(name, bytes); }
    static std::string read(const std::string& name) { return test::readFile(name); }
    // Starts up, then forgets the start-up calls so a test sees only what its events cause.
    void startQuietly() {
        ASSERT_TRUE(startUp());
        fake::calls().clear();
    }
    Calls dispatch(WindowEvent e, bool* ended = nullptr) {
        fake::calls().clear();
        bool end = dispatchEvent(e);
        if (ended) *ended = end;
        return fake::calls();
    }
    test::TempFolder folder_{"mz-program"};
};

const std::string hideText = "Das ge\xC3\xB6" "ffnete Phrasenfenster ausblenden";
const std::string keepText = "Das Phrasenfenster nach dem Kopieren im Vordergrund halten";

TEST_F(Program, FirstStartInAnEmptyFolder) {
    ASSERT_TRUE(startUp());
    const Calls expected = {
        "readDisplayDpi", "setUpPlatform", "loadBuiltInImages", "buildPhraseWindow 10 10", "hidePhraseWindow",
        "addTrayIcon 1", "setTrayToolTip Merkzeile V1.3", "createTrayMenu", "appendMenuItem 3 3 " + hideText,
        "appendMenuSeparator", "appendMenuItem 4 0 " + keepText,
        // the first visibility pass: unpin and hide, the check mark, hide again
        "setPhraseWindowOnTop 0", "hidePhraseWindow", "setMenuItemChecked 4 0", "hidePhraseWindow",
        "appendMenuSeparator", "appendMenuItem 6 2 Die Kelmarin-Webseite aufrufen", "appendMenuSeparator",
        "appendMenuItem 5 1 Das Programm Merkzeile V1.3 beenden"};
    EXPECT_EQ(fake::calls(), expected);
    EXPECT_EQ(read("Merkzeile.ini"),
              "[Fensterkoordinaten]\r\nWindowPosX=10\r\nWindowPosY=10\r\n[Fensterstatus]\r\nWindowState=0\r\n");
    for (int n = 1; n <= SlotCount; ++n) {
        struct stat st;
        ASSERT_EQ(stat(fake::utf8(phraseFileName(n)).c_str(), &st), 0);
        EXPECT_EQ(st.st_size, 0);
    }
    EXPECT_EQ(programState().firstVisibilityPass, 0);
}

TEST_F(Program, StartWithKeepInFrontPinsShowsChecksAndHides) {
    write("Merkzeile.ini", "[Fensterkoordinaten]\r\nWindowPosX=250\r\nWindowPosY=-40\r\n[Fensterstatus]\r\nWindowState=1\r\n");
    ASSERT_TRUE(startUp());
    EXPECT_EQ(fake::callsStartingWith("buildPhraseWindow"), Calls{"buildPhraseWindow 250 -40"});
    const Calls& c = fake::calls();
    auto at = std::find(c.begin(), c.end(), "appendMenuItem 4 0 " + keepText);
    ASSERT_NE(at, c.end());
    const Calls pass(at + 1, at + 5);
    EXPECT_EQ(pass, (Calls{"setPhraseWindowOnTop 1", "showPhraseWindow", "setMenuItemChecked 4 1", "hidePhraseWindow"}));
}

TEST_F(Program, WindowThatCannotBeCreatedShowsTheMessageAndEndsWithZero) {
    fake::scenario().windowCanBeCreated = false;
    write("Merkzeile02.txt", "zwei\r\n");
    EXPECT_EQ(runProgram(), 0);
    const Calls expected = {"readDisplayDpi",     "setUpPlatform",  "loadBuiltInImages",   "buildPhraseWindow 10 10",
                            "showCreationFailure", "removeTrayIcon", "destroyPhraseWindow", "releaseBuiltInImages"};
    EXPECT_EQ(fake::calls(), expected);
    EXPECT_EQ(phraseSlot(2).fullText, u"zwei\r\n");  // files were read, and missing ones created, before the failure
    EXPECT_EQ(read("Merkzeile.ini").size(), 84u);
}

TEST_F(Program, EachEventKindCausesItsCalls) {
    write("Merkzeile07.txt", "sieben\r\n");
    startQuietly();
    using K = EventKind;
    struct Case { WindowEvent event; Calls calls; bool ends; };
    const Case cases[] = {
        {{K::SysTrayEvent, 1, LeftButtonDown}, {"showPhraseWindow", "showTrayMenu"}, false},
        {{K::SysTrayEvent, 1, RightButtonDown}, {"showPhraseWindow", "showTrayMenu"}, false},
        {{K::SysTrayEvent, 1, LeftDoubleClick}, {}, false},
        {{K::SysTrayEvent, 1, RightDoubleClick}, {}, false},
        {{K::MenuEvent, 3}, {"hidePhraseWindow"}, false},
        {{K::MenuEvent, 6}, {"launchTarget http://kelmarin.example/merkzeile/  [] nowait"}, false},
        {{K::MenuEvent, 7}, {}, false},
        {{K::MenuEvent, 5}, {}, true},
        {{K::GadgetEvent, 33}, {"copyToClipboard sieben\r\n", "setPhraseWindowOnTop 0", "hidePhraseWindow"}, false},
        {{K::GadgetEvent, 26}, {}, false},
        {{K::GadgetEvent, 73}, {}, false},  // a label
        {{K::GadgetEvent, 87}, {}, false},
        {{K::CloseWindowEvent, 0}, {}, true},
        {{K::NoEvent, 0}, {}, false},
        {{K::ActivateEvent, 0}, {}, false},
    };
    for (const Case& c : cases) {
        bool ended = false;
        EXPECT_EQ(dispatch(c.event, &ended), c.calls) << static_cast<int>(c.event.kind) << " " << c.event.item;
        EXPECT_EQ(ended, c.ends) << static_cast<int>(c.event.kind) << " " << c.event.item;
    }
}

TEST_F(Program, CopyWithKeepInFrontPinsAndShows) {
    write("Merkzeile.ini", "[Fensterstatus]\r\nWindowState=1\r\n");
    write("Merkzeile01.txt", "eins");
    startQuietly();
    EXPECT_EQ(dispatch({EventKind::GadgetEvent, 27}),
              (Calls{"copyToClipboard eins\r\n", "setPhraseWindowOnTop 1", "showPhraseWindow"}));
}

TEST_F(Program, ToggleFlipsOnlyZeroAndOneAndNeverPins) {
    startQuietly();
    const std::string before = read("Merkzeile.ini");
    EXPECT_EQ(dispatch({EventKind::MenuEvent, 4}), Calls{"setMenuItemChecked 4 1"});
    EXPECT_EQ(programState().keepInFront, 1);
    EXPECT_NE(read("Merkzeile.ini").find("WindowState=1\r\n"), std::string::npos);
    EXPECT_EQ(dispatch({EventKind::MenuEvent, 4}), Calls{"setMenuItemChecked 4 0"});
    EXPECT_NE(read("Merkzeile.ini").find("WindowState=0\r\n"), std::string::npos);
    EXPECT_NE(read("Merkzeile.ini"), before);  // rewritten (with the mark line) on each change
}

TEST_F(Program, WindowStateFiveBehavesAsOffAndTheToggleLeavesItAlone) {
    const std::string ini = "[Fensterstatus]\r\nWindowState=5\r\n";
    write("Merkzeile.ini", ini);
    ASSERT_TRUE(startUp());
    EXPECT_EQ(fake::callsStartingWith("setMenuItemChecked"), Calls{"setMenuItemChecked 4 0"});
    EXPECT_EQ(dispatch({EventKind::MenuEvent, 4}), Calls{});
    EXPECT_EQ(programState().keepInFront, 5);
    EXPECT_EQ(read("Merkzeile.ini"), ini);
    EXPECT_EQ(dispatch({EventKind::GadgetEvent, 27}),
              (Calls{"copyToClipboard ", "setPhraseWindowOnTop 0", "hidePhraseWindow"}));
}

TEST_F(Program, EditReloadsAllButRelabelsOnlyTheEditedSlotAndShowsTheWindow) {
    write("Merkzeile03.txt", "alt drei\r\n");
    write("Merkzeile05.txt", "alt f\xC3\xBC" "nf\r\n");
    startQuietly();
    fake::scenario().onLaunch = [](const std::u16string&, const std::u16string&) {
        write("Merkzeile03.txt", "neu drei\r\n");
        write("Merkzeile05.txt", "neu f\xC3\xBC" "nf\r\n");  // changed outside the program meanwhile
    };
    EXPECT_EQ(dispatch({EventKind::GadgetEvent, 49}),
              (Calls{"hidePhraseWindow", "launchTarget Notepad.exe Merkzeile03.txt [] wait",
                     "setSlotLabel 3 neu drei\\", "showPhraseWindow"}));
    EXPECT_EQ(dispatch({EventKind::GadgetEvent, 31}),
              (Calls{"copyToClipboard neu f\xC3\xBC" "nf\r\n", "setPhraseWindowOnTop 0", "hidePhraseWindow"}));
}

TEST_F(Program, MoveSavesThePositionReadWhenHandled) {
    startQuietly();
    fake::scenario().windowX = 250;
    fake::scenario().windowY = 300;
    EXPECT_EQ(dispatch({EventKind::MoveWindowEvent, 0}), Calls{"phraseWindowPosition"});
    EXPECT_EQ(read("Merkzeile.ini"),
              "\xEF\xBB\xBF\r\n[Fensterkoordinaten]\r\nWindowPosX=250\r\nWindowPosY=300\r\n[Fensterstatus]\r\n"
              "WindowState=0\r\n");
    EXPECT_EQ(programState().windowPosX, 250);
}

TEST_F(Program, LoopEndsInTheIterationOfTheQuitItem) {
    startQuietly();
    auto& events = fake::scenario().events;
    events = {{EventKind::NoEvent}, {EventKind::MenuEvent, 3}, {EventKind::MenuEvent, 5}, {EventKind::MenuEvent, 3}};
    runEventLoop();
    EXPECT_EQ(fake::calls(), (Calls{"waitForEvent 250", "waitForEvent 250", "hidePhraseWindow", "waitForEvent 250"}));
    EXPECT_EQ(events.size(), 1u);
    fake::calls().clear();
    shutDown();
    EXPECT_EQ(fake::calls(), (Calls{"removeTrayIcon", "destroyPhraseWindow", "releaseBuiltInImages"}));
}

}  // namespace
}  // namespace mz
