// Benchmark watcher: starts tray programs and observes them from outside, under the same Wine server.
//   startup <runs> <exe> <class> [<exe> <class> ...]
//       Per run and program: the time from just before CreateProcessW until the program's main window (found
//       by its class) exists and is hidden and one more icon sits in the taskbar's notification area. Then the
//       program is closed with WM_CLOSE and must end with exit code 0. One warm-up run first, not counted.
//   copy <runs> <text file> <exe> <class> [<exe> <class> ...]
//       Starts the programs; per run and program in turns: puts "-" on the clipboard, posts a left click (button
//       down and up) to the window's control 27, and takes the time until the clipboard changes
//       (WM_CLIPBOARDUPDATE, sent when the copier closes the clipboard); then checks that it holds the text
//       file's content, widened byte by byte. One warm-up run first, not counted.
//   hold <exe> <class> [<exe> <class> ...]
//       Starts each program as above, prints "ready", keeps them running until a line or the end of input comes
//       on stdin, then closes them (exit code 0 expected).
// Prints one line per sample: "<what> <exe name> <milliseconds>"; problems go to stderr and the exit code.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "clock_win32.h"

namespace {


// The icons in the taskbar's notification area. Newer Wine gives each icon a child window of its own
// ("__wine_tray_icon"); Wine 8 draws them into the taskbar and gives each added icon a tool tip owned by the
// taskbar, which stays when the icon goes. So this count rises by one with each icon added, which is all that
// start() asks of it.
int trayIcons() {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) return 0;
    int windows = 0, tips = 0;
    for (HWND icon = nullptr; (icon = FindWindowExW(tray, icon, L"__wine_tray_icon", nullptr));)
        windows += IsWindowVisible(icon) ? 1 : 0;
    for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr));)
        tips += GetWindow(tip, GW_OWNER) == tray ? 1 : 0;
    return windows > 0 ? windows : tips;
}

HWND hiddenWindow(const wchar_t* cls, DWORD process = 0) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, cls, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if ((process == 0 || owner == process) && !IsWindowVisible(w)) return w;
    }
    return nullptr;
}

bool waitFor(double deadlineMs, bool (*condition)(void*), void* context) {
    const double until = clockMs() + deadlineMs;
    while (!condition(context)) {
        if (clockMs() > until) return false;
        Sleep(1);
    }
    return true;
}

std::string name(const wchar_t* path) {
    std::wstring p(path);
    const std::size_t slash = p.find_last_of(L"\\/");
    std::wstring base = slash == std::wstring::npos ? p : p.substr(slash + 1);
    return std::string(base.begin(), base.end());
}

struct Started {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    double readyMs = 0;
};

struct ReadyWatch {
    const wchar_t* cls;
    DWORD process;
    int iconsBefore;
    HWND window;
};

bool startedAndHidden(void* context) {
    auto* w = static_cast<ReadyWatch*>(context);
    w->window = hiddenWindow(w->cls, w->process);
    return w->window && trayIcons() > w->iconsBefore;
}

bool start(const wchar_t* exe, const wchar_t* cls, Started& out) {
    int icons = trayIcons();
    std::wstring command = L"\"" + std::wstring(exe) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    // Wine now and then refuses a process start with ERROR_INTERNAL_ERROR; a second attempt goes through.
    double t0 = 0;
    bool started = false;
    for (int attempt = 1; attempt <= 3 && !started; ++attempt) {
        t0 = clockMs();
        started = CreateProcessW(exe, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &out.process);
        if (!started) {
            std::fprintf(stderr, "cannot start %s (attempt %d): error %lu\n", name(exe).c_str(), attempt,
                         GetLastError());
            Sleep(200);
        }
    }
    if (!started) return false;
    ReadyWatch watch{cls, out.process.dwProcessId, icons, nullptr};
    if (!waitFor(30000, startedAndHidden, &watch)) {
        std::fprintf(stderr, "%s: no hidden window and tray icon within 30 s\n", name(exe).c_str());
        TerminateProcess(out.process.hProcess, 1);
        return false;
    }
    out.readyMs = clockMs() - t0;
    out.window = watch.window;
    return true;
}

bool stop(const wchar_t* exe, Started& s) {
    PostMessageW(s.window, WM_CLOSE, 0, 0);
    bool ok = WaitForSingleObject(s.process.hProcess, 20000) == WAIT_OBJECT_0;
    DWORD code = 1;
    if (!ok) {
        std::fprintf(stderr, "%s did not end within 20 s of WM_CLOSE\n", name(exe).c_str());
        TerminateProcess(s.process.hProcess, 1);
    } else if (!GetExitCodeProcess(s.process.hProcess, &code) || code != 0) {
        std::fprintf(stderr, "%s ended with exit code %lu\n", name(exe).c_str(), code);
        ok = false;
    }
    CloseHandle(s.process.hProcess);
    CloseHandle(s.process.hThread);
    return ok;
}

int startupCommand(int runs, int count, wchar_t** args) {
    bool ok = true;
    for (int run = 0; run <= runs; ++run) {
        for (int i = 0; i + 1 < count; i += 2) {
            Started s;
            if (!start(args[i], args[i + 1], s)) return 1;
            if (run > 0) std::printf("startup %s %.3f\n", name(args[i]).c_str(), s.readyMs);
            std::fflush(stdout);
            ok = stop(args[i], s) && ok;
        }
    }
    return ok ? 0 : 1;
}

bool putOnClipboard(HWND owner, const std::wstring& text) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (OpenClipboard(owner)) {
            EmptyClipboard();
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
            if (block) {
                CopyMemory(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
                GlobalUnlock(block);
                if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
            }
            CloseClipboard();
            return block != nullptr;
        }
        Sleep(1);
    }
    return false;
}

bool clipboardText(HWND owner, std::wstring& text) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (OpenClipboard(owner)) {
            HANDLE data = GetClipboardData(CF_UNICODETEXT);
            const auto* p = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
            if (p) text = p;
            if (data) GlobalUnlock(data);
            CloseClipboard();
            return p != nullptr;
        }
        Sleep(1);
    }
    return false;
}

void drainMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Waits for the next WM_CLIPBOARDUPDATE; the time it arrived, or a negative number after the deadline.
double clipboardUpdate(double deadlineMs) {
    const double until = clockMs() + deadlineMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_CLIPBOARDUPDATE) return clockMs();
            DispatchMessageW(&msg);
        }
        const double left = until - clockMs();
        if (left <= 0) return -1;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

int copyCommand(int runs, const wchar_t* textFile, int count, wchar_t** args) {
    std::wstring expected;
    HANDLE file = CreateFileW(textFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        for (DWORD i = 0; i < got; ++i) expected += static_cast<wchar_t>(static_cast<unsigned char>(buffer[i]));
    CloseHandle(file);

    HWND listener = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!listener || !AddClipboardFormatListener(listener)) {
        std::fprintf(stderr, "no clipboard listener: error %lu\n", GetLastError());
        return 1;
    }
    // All programs run side by side and take turns, so that a busy moment of the machine hits them alike.
    std::vector<Started> started;
    std::vector<HWND> buttons;
    bool ok = true;
    for (int i = 0; i + 1 < count && ok; i += 2) {
        started.emplace_back();
        ok = start(args[i], args[i + 1], started.back());
        if (!ok) {
            started.pop_back();
            break;
        }
        buttons.push_back(GetDlgItem(started.back().window, 27));
        if (!buttons.back()) {
            std::fprintf(stderr, "%s has no control 27\n", name(args[i]).c_str());
            ok = false;
        }
    }
    for (int run = 0; ok && run <= runs; ++run) {
        for (std::size_t p = 0; ok && p < started.size(); ++p) {
            const char* who = nullptr;
            std::string exe = name(args[2 * p]);
            who = exe.c_str();
            if (!putOnClipboard(listener, L"-")) {
                std::fprintf(stderr, "cannot set the clipboard\n");
                ok = false;
                break;
            }
            // The program has handled everything before (the previous copy's aftermath included) once it
            // answers a sent message; our own update notice is drained.
            DWORD_PTR answer;
            SendMessageTimeoutW(started[p].window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer);
            clipboardUpdate(0);
            drainMessages();
            const double t0 = clockMs();
            PostMessageW(buttons[p], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            PostMessageW(buttons[p], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            const double t1 = clipboardUpdate(10000);
            std::wstring text;
            if (t1 < 0 || !clipboardText(listener, text) || text != expected) {
                std::fprintf(stderr, "%s: the clipboard does not hold the text after the click (run %d)\n", who, run);
                ok = false;
                break;
            }
            if (run > 0) std::printf("copy %s %.3f\n", who, t1 - t0);
            std::fflush(stdout);
        }
    }
    for (std::size_t p = 0; p < started.size(); ++p) ok = stop(args[2 * p], started[p]) && ok;
    RemoveClipboardFormatListener(listener);
    DestroyWindow(listener);
    return ok ? 0 : 1;
}

// Starts the programs one after the other, each until it is ready, and keeps them running until a line or
// the end of input arrives on stdin; then closes them.
int holdCommand(int count, wchar_t** args) {
    std::vector<Started> started;
    bool ok = true;
    for (int i = 0; i + 1 < count && ok; i += 2) {
        started.emplace_back();
        ok = start(args[i], args[i + 1], started.back());
        if (!ok) started.pop_back();
    }
    if (ok) {
        std::printf("ready\n");
        std::fflush(stdout);
        char line[64];
        DWORD got = 0;
        ReadFile(GetStdHandle(STD_INPUT_HANDLE), line, sizeof line, &got, nullptr);
    }
    for (std::size_t i = 0; i < started.size(); ++i) ok = stop(args[2 * i], started[i]) && ok;
    return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"startup" && argc >= 5) return startupCommand(_wtoi(argv[2]), argc - 3, argv + 3);
    if (command == L"copy" && argc >= 6) return copyCommand(_wtoi(argv[2]), argv[3], argc - 4, argv + 4);
    if (command == L"hold" && argc >= 4) return holdCommand(argc - 2, argv + 2);
    std::fprintf(stderr, "usage: see the head of watcher.cpp\n");
    return 2;
}
