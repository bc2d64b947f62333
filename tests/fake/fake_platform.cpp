// The recording fake: stands in for the window, tray, clipboard, launcher and event wait.
#include "fake_platform.h"

#include "platform/text.h"

#include "actions/clipboard.h"
#include "actions/launch.h"
#include "platform/window.h"
#include "ui/icons.h"
#include "ui/phrase_window.h"
#include "ui/tray.h"

namespace mz::fake {

std::vector<std::string>& calls() {
    static std::vector<std::string> all;
    return all;
}

std::vector<std::string> callsStartingWith(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& c : calls())
        if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
}

Scenario& scenario() {
    static Scenario s;
    return s;
}

void reset() {
    calls().clear();
    scenario() = Scenario();
}

std::string utf8(const std::u16string& s) { return utf8FromUtf16(s); }

static void record(const std::string& line) { calls().push_back(line); }

}  // namespace mz::fake

namespace mz {

using fake::record;
using fake::utf8;

void setUpPlatform() { record("setUpPlatform"); }
void readDisplayDpi() { record("readDisplayDpi"); }
bool buildPhraseWindow(std::int32_t x, std::int32_t y) {
    record("buildPhraseWindow " + std::to_string(x) + " " + std::to_string(y));
    return fake::scenario().windowCanBeCreated;
}
void setSlotLabel(int n, const std::u16string& text) { record("setSlotLabel " + std::to_string(n) + " " + utf8(text)); }
void showCreationFailure() { record("showCreationFailure"); }
void destroyPhraseWindow() { record("destroyPhraseWindow"); }

void showPhraseWindow() { record("showPhraseWindow"); }
void hidePhraseWindow() { record("hidePhraseWindow"); }
void setPhraseWindowOnTop(bool onTop) { record(std::string("setPhraseWindowOnTop ") + (onTop ? "1" : "0")); }
void phraseWindowPosition(std::int32_t& x, std::int32_t& y) {
    record("phraseWindowPosition");
    x = fake::scenario().windowX;
    y = fake::scenario().windowY;
}

WindowEvent waitForEvent(int timeoutMs) {
    record("waitForEvent " + std::to_string(timeoutMs));
    auto& events = fake::scenario().events;
    if (events.empty()) return WindowEvent{EventKind::CloseWindowEvent, 0, 0, 0};
    WindowEvent e = events.front();
    events.pop_front();
    return e;
}

bool addTrayIcon(int image) {
    record("addTrayIcon " + std::to_string(image));
    return true;
}
void setTrayToolTip(const std::u16string& text) { record("setTrayToolTip " + utf8(text)); }
void removeTrayIcon() { record("removeTrayIcon"); }
void createTrayMenu() { record("createTrayMenu"); }
void appendMenuItem(int item, const std::u16string& text, int image) {
    record("appendMenuItem " + std::to_string(item) + " " + std::to_string(image) + " " + utf8(text));
}
void appendMenuSeparator() { record("appendMenuSeparator"); }
void setMenuItemChecked(int item, bool checked) {
    record("setMenuItemChecked " + std::to_string(item) + " " + (checked ? "1" : "0"));
}
void showTrayMenu() { record("showTrayMenu"); }

void loadBuiltInImages() { record("loadBuiltInImages"); }
bool builtInImageLoaded(int n) { return n >= 1 && n <= 3; }
void releaseBuiltInImages() { record("releaseBuiltInImages"); }

bool copyToClipboard(const std::u16string& text) {
    record("copyToClipboard " + utf8(text));
    return true;
}

bool launchTarget(const std::u16string& target, const std::u16string& parameters, const std::u16string& directory,
                  bool wait) {
    record("launchTarget " + utf8(target) + " " + utf8(parameters) + " [" + utf8(directory) + "] " +
           (wait ? "wait" : "nowait"));
    if (fake::scenario().onLaunch) fake::scenario().onLaunch(target, parameters);
    return true;
}

}  // namespace mz
