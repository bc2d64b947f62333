// End-to-end driver: inspects and pokes the running Merkzeile.exe from inside the same Wine session, for what
// X11 tools cannot see (window styles, pinned state, control texts, the open menu). Prints one JSON object.
// Usage: mzdriver window | windows | menu | tips | find <class> | closeclass <class> | close | move <x> <y> |
//        holdfile <name> <ms> | holdclip <ms> | idle <ms> | release file|clip|idle | untray | taskbarcreated
// holdfile, holdclip and idle last until `release` names them, or at most <ms> milliseconds.
#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include <cstdio>
#include <string>

#include "ui/tray.h"

static std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

static std::string json(const std::wstring& w) {
    std::string out = "\"";
    for (unsigned char c : utf8(w)) {
        if (c == '"' || c == '\\') out += '\\', out += static_cast<char>(c);
        else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else out += static_cast<char>(c);
    }
    return out + "\"";
}

static std::wstring textOf(HWND w) {
    wchar_t buf[1024];
    // WM_GETTEXT crosses process boundaries, unlike GetWindowTextW for other processes' controls. The program
    // does not answer while it waits for the editor, so a busy window gives an empty text.
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &n)) n = 0;
    return std::wstring(buf, static_cast<std::size_t>(n));
}

static HWND phraseWindow() { return FindWindowW(L"WindowClass_0", L"Merkzeile V1.3"); }

static int windowState() {
    HWND w = phraseWindow();
    if (!w) {
        std::printf("{\"exists\": false}\n");
        return 0;
    }
    RECT r, c;
    GetWindowRect(w, &r);
    GetClientRect(w, &c);
    LONG style = GetWindowLongW(w, GWL_STYLE), ex = GetWindowLongW(w, GWL_EXSTYLE);
    std::printf("{\"exists\": true, \"visible\": %s, \"topmost\": %s, \"foreground\": %s, \"style\": %ld, "
                "\"exstyle\": %ld, \"left\": %ld, \"top\": %ld, \"right\": %ld, \"bottom\": %ld, \"clientWidth\": %ld, "
                "\"clientHeight\": %ld, \"labels\": [",
                IsWindowVisible(w) ? "true" : "false", (ex & WS_EX_TOPMOST) ? "true" : "false",
                GetForegroundWindow() == w ? "true" : "false", static_cast<long>(style), static_cast<long>(ex),
                static_cast<long>(r.left), static_cast<long>(r.top), static_cast<long>(r.right),
                static_cast<long>(r.bottom), static_cast<long>(c.right), static_cast<long>(c.bottom));
    for (int n = 1; n <= 20; ++n) {
        HWND label = GetDlgItem(w, 66 + n);
        std::printf("%s%s", n > 1 ? ", " : "", label ? json(textOf(label)).c_str() : "null");
    }
    std::printf("]}\n");
    return 0;
}

// Every phrase window, of however many running copies of the program.
static int windowList() {
    std::printf("{\"windows\": [");
    HWND w = nullptr;
    bool first = true;
    while ((w = FindWindowExW(nullptr, w, L"WindowClass_0", L"Merkzeile V1.3")) != nullptr) {
        RECT r;
        GetWindowRect(w, &r);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        std::printf("%s{\"pid\": %lu, \"visible\": %s, \"left\": %ld, \"top\": %ld}", first ? "" : ", ",
                    static_cast<unsigned long>(pid), IsWindowVisible(w) ? "true" : "false",
                    static_cast<long>(r.left), static_cast<long>(r.top));
        first = false;
    }
    std::printf("]}\n");
    return 0;
}

// Holds until another driver sets the named release event, or at most ms milliseconds.
static void holdUntilReleased(const wchar_t* what, DWORD ms) {
    std::wstring name = std::wstring(L"mzdriver-release-") + what;
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    if (release) ResetEvent(release);  // left over from an earlier hold
    std::printf("{\"held\": true}\n");
    std::fflush(stdout);
    if (release) {
        WaitForSingleObject(release, ms);
        CloseHandle(release);
    } else {
        Sleep(ms);
    }
}

static int menuState() {
    HWND m = FindWindowW(L"#32768", nullptr);
    if (!m || !IsWindowVisible(m)) {
        std::printf("{\"open\": false}\n");
        return 0;
    }
    RECT r, c;
    GetWindowRect(m, &r);
    GetClientRect(m, &c);
    POINT origin = {0, 0};
    ClientToScreen(m, &origin);
    std::printf("{\"open\": true, \"left\": %ld, \"top\": %ld, \"right\": %ld, \"bottom\": %ld, \"clientLeft\": %ld, "
                "\"clientTop\": %ld, \"clientWidth\": %ld, \"clientHeight\": %ld}\n",
                static_cast<long>(r.left), static_cast<long>(r.top), static_cast<long>(r.right),
                static_cast<long>(r.bottom), static_cast<long>(origin.x), static_cast<long>(origin.y),
                static_cast<long>(c.right), static_cast<long>(c.bottom));
    return 0;
}

static BOOL CALLBACK listTip(HWND w, LPARAM first) {
    wchar_t cls[64];
    if (GetClassNameW(w, cls, 64) && std::wstring(cls) == L"tooltips_class32" && IsWindowVisible(w)) {
        std::printf("%s%s", *reinterpret_cast<bool*>(first) ? "" : ", ", json(textOf(w)).c_str());
        *reinterpret_cast<bool*>(first) = false;
    }
    return TRUE;
}

// Closes the top-level windows of a class (an editor the test opened through the program).
static BOOL CALLBACK closeClass(HWND w, LPARAM cls) {
    wchar_t name[64];
    if (GetClassNameW(w, name, 64) && _wcsicmp(name, reinterpret_cast<const wchar_t*>(cls)) == 0)
        PostMessageW(w, WM_CLOSE, 0, 0);
    return TRUE;
}

static BOOL CALLBACK findClass(HWND w, LPARAM cls) {
    wchar_t name[64];
    if (GetClassNameW(w, name, 64) && _wcsicmp(name, reinterpret_cast<const wchar_t*>(cls)) == 0 &&
        IsWindowVisible(w)) {
        std::printf("{\"found\": true, \"title\": %s}\n", json(textOf(w)).c_str());
        return FALSE;
    }
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    std::wstring cmd = argc > 1 ? argv[1] : L"";
    if (cmd == L"tips") {
        bool first = true;
        std::printf("{\"tips\": [");
        EnumWindows(listTip, reinterpret_cast<LPARAM>(&first));
        std::printf("]}\n");
        return 0;
    }
    if (cmd == L"find" && argc > 2) {
        if (EnumWindows(findClass, reinterpret_cast<LPARAM>(argv[2]))) std::printf("{\"found\": false}\n");
        return 0;
    }
    if (cmd == L"closeclass" && argc > 2) return EnumWindows(closeClass, reinterpret_cast<LPARAM>(argv[2])) ? 0 : 1;
    if (cmd == L"move" && argc > 3) {
        HWND w = phraseWindow();
        return w && SetWindowPos(w, nullptr, _wtoi(argv[2]), _wtoi(argv[3]), 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    }
    if (cmd == L"window") return windowState();
    if (cmd == L"menu") return menuState();
    if (cmd == L"close") {
        HWND w = phraseWindow();
        if (!w) return 1;
        return PostMessageW(w, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (cmd == L"holdfile" && argc > 3) {
        // Another program with the file open and no sharing, as an editor or a backup tool may hold it.
        HANDLE h = CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return 1;
        holdUntilReleased(L"file", static_cast<DWORD>(_wtoi(argv[3])));
        CloseHandle(h);
        return 0;
    }
    if (cmd == L"holdclip" && argc > 2) {
        HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        if (!OpenClipboard(owner)) return 1;
        holdUntilReleased(L"clip", static_cast<DWORD>(_wtoi(argv[2])));
        CloseClipboard();
        return 0;
    }
    if (cmd == L"idle" && argc > 2) {
        // A Wine process that keeps the Wine server and the desktop up between the programs a test starts.
        holdUntilReleased(L"idle", static_cast<DWORD>(_wtoi(argv[2])));
        return 0;
    }
    if (cmd == L"release" && argc > 2) {
        std::wstring name = std::wstring(L"mzdriver-release-") + argv[2];
        HANDLE release = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str());
        if (!release) return 1;
        SetEvent(release);
        CloseHandle(release);
        return 0;
    }
    if (cmd == L"windows") return windowList();
    if (cmd == L"untray") {
        // What a taskbar that goes away does to the icon: the shell forgets it, the program is not told.
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof(data);
        data.hWnd = phraseWindow();
        data.uID = mz::TrayIconId;
        return data.hWnd && Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
    }
    if (cmd == L"taskbarcreated") {
        // What a new taskbar announces to every top-level window.
        return PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: see the head of mzdriver.cpp\n");
    return 2;
}
