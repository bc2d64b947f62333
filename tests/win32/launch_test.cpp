// launchTarget under Wine: the wait for the started program, the program search that skips the current
// directory, and a web address handed to the shell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/launch.h"
#include "actions/win32/launch_win32.h"
#include "platform/win32/win32.h"
#include "test_support.h"

// After <windows.h>, which it needs.
#include <tlhelp32.h>

namespace mz {
namespace {

std::wstring testFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\'));
}

std::wstring helperPath(const wchar_t* name) {
    return testFolder() + L"\\" + name + L".exe";
}

std::u16string u16(const std::wstring& s) {
    return fromWide(s.c_str());
}

std::wstring readWide(const std::wstring& path) {
    std::string bytes;
    if (!test::readBytes(path, bytes)) return std::wstring();
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

std::vector<std::wstring> lines(const std::wstring& text) {
    std::vector<std::wstring> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    out.push_back(text.substr(start));
    return out;
}

template <typename Condition>
bool pollUntil(Condition condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() > deadline) return false;
        Sleep(10);
    }
    return true;
}

bool sameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

ULONGLONG nowFileTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// launchTarget on a thread of its own, so that a launch that blocks cannot hang the test.
struct Launch {
    std::u16string target, parameters, directory;
    bool wait = false;
    std::wstring watchFile;  // looked at the moment launchTarget returns
    bool result = false;
    bool watchFileAtReturn = false;
    ULONGLONG returnedAt = 0;
    HANDLE thread = nullptr;

    static DWORD WINAPI run(void* self) {
        Launch& l = *static_cast<Launch*>(self);
        l.result = launchTarget(l.target, l.parameters, l.directory, l.wait);
        l.returnedAt = nowFileTime();
        l.watchFileAtReturn = !l.watchFile.empty() && test::fileExists(l.watchFile);
        return 0;
    }
    void start() { thread = CreateThread(nullptr, 0, run, this, 0, nullptr); }
    bool returned() const { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }
    bool finishWithin(DWORD ms) const { return WaitForSingleObject(thread, ms) == WAIT_OBJECT_0; }
    ~Launch() {
        if (thread) CloseHandle(thread);
    }
};

// Sets an environment variable for one test and puts the old value back.
class EnvironmentValue {
  public:
    EnvironmentValue(const wchar_t* name, const std::wstring& value) : name_(name) {
        std::vector<wchar_t> buf(32767);
        had_ = GetEnvironmentVariableW(name, buf.data(), static_cast<DWORD>(buf.size())) > 0;
        old_ = buf.data();
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~EnvironmentValue() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
    const std::wstring& old() const { return old_; }

  private:
    const wchar_t* name_;
    bool had_ = false;
    std::wstring old_;
};

TEST(Win32Launch, WaitingLaunchReturnsOnlyAfterTheProgramHasEnded) {
    test::TempFolder folder;
    const std::wstring helper = helperPath(L"launch_waiter");
    Launch launch;
    launch.target = u16(helper);
    launch.parameters = u16(folder.path());
    launch.wait = true;
    launch.watchFile = folder.path() + L"\\ended.txt";
    launch.start();

    ASSERT_TRUE(pollUntil([&] { return test::fileExists(folder.path() + L"\\started.txt"); }, 20000))
        << "the helper did not start";
    EXPECT_FALSE(launch.returned()) << "returned while the started program still runs";
    const std::vector<std::wstring> report = lines(readWide(folder.path() + L"\\started.txt"));
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[0], L"\"" + helper + L"\" " + folder.path());
    EXPECT_TRUE(sameText(report[1], folder.path())) << "inherits our current directory";
    EXPECT_EQ(std::stoul(report[2]) & STARTF_USESHOWWINDOW, static_cast<unsigned long>(STARTF_USESHOWWINDOW));
    EXPECT_EQ(report[3], std::to_wstring(SW_SHOWNORMAL));

    ASSERT_TRUE(test::writeBytes(folder.path() + L"\\release.txt", ""));
    ASSERT_TRUE(launch.finishWithin(20000)) << "launchTarget did not return after the program ended";
    EXPECT_TRUE(launch.result);
    ASSERT_TRUE(launch.watchFileAtReturn) << "returned before the started program had ended";
    const ULONGLONG endedAt = std::stoull(readWide(folder.path() + L"\\ended.txt"));
    EXPECT_GE(launch.returnedAt, endedAt);
}

TEST(Win32Launch, BareNameFromTheApplicationFolderInTheGivenDirectory) {
    test::TempFolder folder;
    const std::wstring work = folder.path() + L"\\work";
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
    // Released beforehand: the helper ends as soon as it has reported.
    ASSERT_TRUE(test::writeBytes(folder.path() + L"\\release.txt", ""));

    // No extension: ".exe" is added, and the program is found next to the test program.
    EXPECT_TRUE(launchTarget(u"launch_waiter", u16(folder.path()), u16(work), true));
    ASSERT_TRUE(test::fileExists(folder.path() + L"\\ended.txt")) << "did not wait";
    const std::vector<std::wstring> report = lines(readWide(folder.path() + L"\\started.txt"));
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[0], L"\"launch_waiter\" " + folder.path()) << "the command line stays as built";
    EXPECT_TRUE(sameText(report[1], work));
}

TEST(Win32Launch, ProgramSearchNeverLooksInTheCurrentDirectory) {
    test::TempFolder folder;
    const std::wstring planted = helperPath(L"launch_planted");
    const std::wstring other = folder.path() + L"\\other";
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\bin").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(planted.c_str(), L"mzonly.exe", FALSE));
    ASSERT_TRUE(CopyFileW(planted.c_str(), L"bin\\mzonly.exe", FALSE));
    ASSERT_TRUE(CopyFileW(planted.c_str(), L"Notepad.exe", FALSE));

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::u16string notepad = findBareProgram(u"Notepad.exe");
    EXPECT_TRUE(
        sameText(reinterpret_cast<const wchar_t*>(notepad.c_str()), std::wstring(system) + L"\\notepad.exe"))
        << "found " << std::string(notepad.begin(), notepad.end());

    {
        // The current directory under every name PATH may give it, and a relative entry below it.
        EnvironmentValue path(L"PATH", L".;;bin;" + folder.path() + L";" + folder.path() + L"\\;" +
                                           folder.path() + L"\\bin\\..");
        EXPECT_EQ(findBareProgram(u"mzonly.exe"), u"");
        EXPECT_EQ(findBareProgram(u"mzonly"), u"");
    }
    ASSERT_TRUE(CopyFileW(planted.c_str(), (other + L"\\mzonly.exe").c_str(), FALSE));
    {
        EnvironmentValue path(L"PATH", L".;" + other);
        EXPECT_TRUE(sameText(reinterpret_cast<const wchar_t*>(findBareProgram(u"mzonly").c_str()),
                             other + L"\\mzonly.exe"));
    }
    // Not even the application's own folder when it is the current directory.
    EXPECT_FALSE(findBareProgram(u"launch_waiter").empty());
    ASSERT_TRUE(SetCurrentDirectoryW(testFolder().c_str()));
    EXPECT_EQ(findBareProgram(u"launch_waiter"), u"");
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));

    EXPECT_EQ(findBareProgram(u"C:\\windows\\notepad.exe"), u"");
    EXPECT_EQ(findBareProgram(u"no-such-program-here.exe"), u"");
}

TEST(Win32Launch, PlantedProgramOnlyInTheCurrentDirectoryIsNotRun) {
    test::TempFolder folder;
    ASSERT_TRUE(CopyFileW(helperPath(L"launch_planted").c_str(), L"mzonly.exe", FALSE));
    // Neither directly nor through the shell, which would look in the current directory first.
    EXPECT_FALSE(launchTarget(u"mzonly.exe", u"", u"", true));
    EXPECT_FALSE(launchTarget(u"mzonly", u"", u"", true));
    EXPECT_FALSE(test::fileExists(L"planted-ran.txt"));
}

DWORD childProcess(const wchar_t* exeName) {
    DWORD found = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry))
        if (entry.th32ParentProcessID == GetCurrentProcessId() && sameText(entry.szExeFile, exeName))
            found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

std::wstring processImage(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return std::wstring();
    wchar_t buf[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const BOOL ok = QueryFullProcessImageNameW(process, 0, buf, &size);
    CloseHandle(process);
    return ok ? buf : std::wstring();
}

HWND topWindowOf(DWORD pid) {
    struct Search {
        DWORD pid;
        HWND found;
    } search{pid, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.pid || !IsWindowVisible(window)) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(Win32Launch, EditorIsTheSystemNotepadNotOnePlantedInTheDataFolder) {
    test::TempFolder folder;
    ASSERT_TRUE(CopyFileW(helperPath(L"launch_planted").c_str(), L"Notepad.exe", FALSE));
    // The file exists, so the editor opens it without a question.
    ASSERT_TRUE(test::writeBytes(L"Merkzeile07.txt", "Gruss\r\n"));

    Launch launch;
    launch.target = u"Notepad.exe";
    launch.parameters = u"Merkzeile07.txt";
    launch.wait = true;
    launch.start();

    DWORD pid = 0;
    HWND editor = nullptr;
    const bool started = pollUntil(
        [&] {
            if (launch.returned()) return true;
            if (!pid) pid = childProcess(L"notepad.exe");
            if (pid) editor = topWindowOf(pid);
            return editor != nullptr;
        },
        30000);
    ASSERT_TRUE(started) << "no editor window appeared";
    ASSERT_FALSE(launch.returned()) << "returned at once; planted program ran: "
                                    << test::fileExists(L"planted-ran.txt");
    EXPECT_FALSE(test::fileExists(L"planted-ran.txt"));
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring image = processImage(pid);
    EXPECT_TRUE(sameText(image, std::wstring(system) + L"\\notepad.exe"))
        << "editor image " << std::string(image.begin(), image.end());

    PostMessageW(editor, WM_CLOSE, 0, 0);
    ASSERT_TRUE(launch.finishWithin(20000)) << "launchTarget did not return after the editor was closed";
    EXPECT_TRUE(launch.result);
    EXPECT_FALSE(test::fileExists(L"planted-ran.txt"));
}

TEST(Win32Launch, NothingToStartGivesFailureWithoutADialog) {
    test::TempFolder folder;
    Launch launch;
    launch.target = u"C:\\no-such-folder\\no-such-program.exe";
    launch.wait = true;
    launch.start();
    ASSERT_TRUE(launch.finishWithin(20000));
    EXPECT_FALSE(launch.result);
}

// Points the http scheme at a recording stub and puts the old command back afterwards. It is set in the
// merged classes view: Wine 8 takes HKEY_CLASSES_ROOT from the machine's classes only and does not look at
// HKCU\Software\Classes, so a per-user handler would never be asked.
class HttpHandler {
  public:
    explicit HttpHandler(const std::wstring& command) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Key, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            existed_ = true;
            wchar_t buf[2048] = {};
            DWORD size = sizeof buf - sizeof(wchar_t);
            DWORD type = 0;
            hadValue_ = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) ==
                            ERROR_SUCCESS &&
                        type == REG_SZ;
            old_ = buf;
            RegCloseKey(key);
        }
        ok_ = RegCreateKeyExW(HKEY_CLASSES_ROOT, Key, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
              ERROR_SUCCESS;
        if (ok_) {
            ok_ = setDefault(key, command);
            RegCloseKey(key);
        }
    }
    ~HttpHandler() {
        if (!existed_) {
            RegDeleteKeyW(HKEY_CLASSES_ROOT, Key);
            return;
        }
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Key, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
        if (hadValue_)
            setDefault(key, old_);
        else
            RegDeleteValueW(key, nullptr);
        RegCloseKey(key);
    }
    bool ok() const { return ok_; }

  private:
    static bool setDefault(HKEY key, const std::wstring& text) {
        return RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    static constexpr const wchar_t* Key = L"http\\shell\\open\\command";
    bool existed_ = false, hadValue_ = false, ok_ = false;
    std::wstring old_;
};

TEST(Win32Launch, WebAddressGoesToTheShellWithoutWaiting) {
    test::TempFolder folder;
    const std::wstring record = folder.path() + L"\\address.txt";
    HttpHandler handler(L"\"" + helperPath(L"launch_url_stub") + L"\" \"" + record + L"\" \"%1\"");
    ASSERT_TRUE(handler.ok());
    const std::u16string address = u"http://kelmarin.example/merkzeile?from=tray";

    Launch launch;
    launch.target = address;
    launch.wait = false;
    launch.start();
    // The stub runs until it is released, so a launch that waited for it could not return here.
    ASSERT_TRUE(launch.finishWithin(20000)) << "launchTarget waited for the browser";
    EXPECT_TRUE(launch.result);
    ASSERT_TRUE(pollUntil([&] { return test::fileExists(record); }, 20000)) << "the stub was not started";
    EXPECT_EQ(u16(readWide(record)), address);
    ASSERT_TRUE(test::writeBytes(record + L".release", ""));
    EXPECT_TRUE(pollUntil([&] { return !test::fileExists(record + L".release"); }, 20000))
        << "the stub did not end";
}

}  // namespace
}  // namespace mz
