// The phrase window on Windows: label font, window class, window, sixty controls, tool tips, failure message.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <vector>

#include "app/program.h"
#include "app/slots.h"
#include "platform/events.h"
#include "platform/win32/win32.h"
#include "ui/layout.h"
#include "ui/phrase_window.h"
#include "ui/win32/phrase_window_win32.h"

namespace mz {

static_assert(style::Child == WS_CHILD && style::Visible == WS_VISIBLE && style::Group == WS_GROUP &&
              style::TabStop == WS_TABSTOP && style::Caption == WS_CAPTION &&
              style::PushButton == BS_PUSHBUTTON && style::StaticLeft == SS_LEFT &&
              style::StaticNoPrefix == SS_NOPREFIX && style::ExClientEdge == WS_EX_CLIENTEDGE);

// The tool-tip record without its trailing reserved field: 44 bytes on 32-bit Windows.
constexpr UINT ToolInfoSize = offsetof(TOOLINFOW, lParam) + sizeof(LPARAM);
static_assert(sizeof(void*) != 4 || ToolInfoSize == 44);

namespace {

int dotsPerInch = 96;
HFONT labelFont = nullptr;
HWND toolTip = nullptr;
WNDPROC toolTipPreviousProc = nullptr;

constexpr COLORREF LabelBlue = LabelTextColour;
static_assert(LabelBlue == RGB(0, 0, 255));

struct DisplayContext {
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    ~DisplayContext() {
        if (dc) DeleteDC(dc);
    }
};

// The labels have a text colour but no background of their own: they take the button-face colour.
bool answerLabelColour(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_CTLCOLORSTATIC) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, LabelBlue);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

// A showing tip must stay above every window, the phrase window pinned in front included, so it raises
// itself before each paint.
LRESULT CALLBACK toolTipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT)
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return CallWindowProcW(toolTipPreviousProc, window, message, wParam, lParam);
}

bool ensureToolTip() {
    if (toolTip) return true;
    toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, programInstance(), nullptr);
    if (!toolTip) return false;
    toolTipPreviousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(toolTip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&toolTipProc)));
    return true;
}

void registerToolTip(HWND button, const std::u16string& text) {
    if (!ensureToolTip()) return;
    TOOLINFOW info{};
    info.cbSize = ToolInfoSize;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = phraseWindow();
    info.uId = reinterpret_cast<UINT_PTR>(button);
    info.lpszText = const_cast<wchar_t*>(wide(text));
    SendMessageW(toolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

HWND createControl(HWND window, const ControlSpec& ctl) {
    const wchar_t* className = ctl.controlClass == ControlClass::Button ? L"Button" : L"Static";
    const std::u16string text = controlText(ctl);
    // A child's menu argument is its identifier: set at creation, it costs no second request to the window
    // system (under Wine each one is a round trip, and there are sixty controls).
    HWND control = CreateWindowExW(ctl.exStyle, className, wide(text), ctl.style, ctl.x, ctl.y, ctl.width,
                                   ctl.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl.id)),
                                   programInstance(), nullptr);
    if (!control) return nullptr;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return control;
}

void makeButton(HWND window, const ControlSpec& ctl) {
    HWND button = createControl(window, ctl);
    if (button) registerToolTip(button, controlToolTip(ctl));
}

void makeLabel(HWND window, const ControlSpec& ctl) {
    HWND label = createControl(window, ctl);
    if (!label) return;
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont), TRUE);
    setControlHandler(label, &answerLabelColour);
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_FRAME);
}

struct ThreadWindows {
    DWORD thread;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectThreadWindow(HWND window, LPARAM lParam) {
    auto* found = reinterpret_cast<ThreadWindows*>(lParam);
    if (GetWindowThreadProcessId(window, nullptr) == found->thread && IsWindowVisible(window))
        found->windows.push_back(window);
    return TRUE;
}

}  // namespace

HWND phraseToolTip() {
    return toolTip;
}
int displayDpi() {
    return dotsPerInch;
}

void readDisplayDpi() {
    DisplayContext display;
    dotsPerInch = display.dc ? GetDeviceCaps(display.dc, LOGPIXELSY) : 96;
}

bool buildPhraseWindow(std::int32_t x, std::int32_t y) {
    labelFont = CreateFontW(labelFontHeight(dotsPerInch), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0,
                            reinterpret_cast<const wchar_t*>(LabelFontFace));

    const wchar_t* className = reinterpret_cast<const wchar_t*>(PhraseWindowClassName);
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &phraseWindowProc;
    windowClass.hInstance = programInstance();
    windowClass.hIcon = LoadIconW(programInstance(), MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);

    RECT frame = {0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&frame, WS_CAPTION, FALSE, 0);
    const Size outer =
        outerWindowSize({-frame.left, -frame.top, frame.right - ClientWidth, frame.bottom - ClientHeight});

    // -65535 is how a stored position asks the system to choose the place.
    const bool systemPlace = x == -65535 || y == -65535;
    const std::u16string title = titleText();
    HWND window = CreateWindowExW(0, className, wide(title), WS_CAPTION, systemPlace ? CW_USEDEFAULT : x,
                                  systemPlace ? CW_USEDEFAULT : y, outer.width, outer.height, nullptr,
                                  nullptr, programInstance(), nullptr);
    if (!window) {
        UnregisterClassW(className, programInstance());
        return false;
    }
    setPhraseWindow(window);
    ShowWindow(window, SW_SHOWNORMAL);
    createNavigationAccelerators();
    setPhraseWindowReady(true);

    const auto& table = controlTable();
    for (int n = 0; n < SlotCount; ++n) makeButton(window, table[static_cast<std::size_t>(n)]);
    for (int n = 0; n < SlotCount; ++n) makeLabel(window, table[static_cast<std::size_t>(SlotCount + n)]);
    for (int n = 0; n < SlotCount; ++n)
        makeButton(window, table[static_cast<std::size_t>(2 * SlotCount + n)]);
    return IsWindow(window) != FALSE;
}

void setSlotLabel(int n, const std::u16string& text) {
    HWND window = phraseWindow();
    if (!window) return;
    HWND label = GetDlgItem(window, slotLabelId(n));
    if (!label) return;
    beginSetTextSuppression();
    SetWindowTextW(label, wide(text));
    endSetTextSuppression();
}

void showCreationFailure() {
    HWND owner = GetForegroundWindow();
    DWORD ownerProcess = 0;
    if (owner) GetWindowThreadProcessId(owner, &ownerProcess);
    if (ownerProcess != GetCurrentProcessId()) owner = nullptr;

    // The box must not sit behind a window pinned in front, and the program's other windows must not take
    // input while it is up.
    ThreadWindows found{GetCurrentThreadId(), {}};
    EnumWindows(&collectThreadWindow, reinterpret_cast<LPARAM>(&found));
    HWND foreground = GetForegroundWindow();
    std::vector<HWND> disabled, topmost;
    for (HWND w : found.windows) {
        if (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) topmost.push_back(w);
        if (IsWindowEnabled(w) && w != foreground) {
            EnableWindow(w, FALSE);
            disabled.push_back(w);
        }
    }
    for (HWND w : topmost) SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    const std::u16string title = titleText() + u" - Problem:";
    MessageBoxW(owner, L"Phrasenfenster konnte nicht erzeugt werden!", wide(title), MB_OK);

    for (HWND w : disabled) EnableWindow(w, TRUE);
    for (HWND w : topmost) SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void destroyPhraseWindow() {
    if (toolTip) {
        DestroyWindow(toolTip);
        toolTip = nullptr;
    }
    if (HWND window = phraseWindow()) {
        setPhraseWindowReady(false);
        DestroyWindow(window);
        setPhraseWindow(nullptr);
        UnregisterClassW(reinterpret_cast<const wchar_t*>(PhraseWindowClassName), programInstance());
    }
    destroyNavigationAccelerators();
    if (labelFont) {
        DeleteObject(labelFont);
        labelFont = nullptr;
    }
}

}  // namespace mz
