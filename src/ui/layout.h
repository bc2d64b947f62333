// The phrase window's fixed geometry: the sixty controls, the outer size and the label font height.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace mz {

constexpr int ClientWidth = 1090;
constexpr int ClientHeight = 610;
constexpr int ControlCount = 60;
constexpr char16_t PhraseWindowClassName[] = u"WindowClass_0";
constexpr char16_t LabelFontFace[] = u"Courier New";
constexpr int LabelFontPoints = 9;
constexpr std::uint32_t LabelTextColour = 0xFF0000;  // 0x00BBGGRR: blue

// Window style bits, with the values the window system gives them (checked against its headers there).
namespace style {
constexpr std::uint32_t Child = 0x40000000;
constexpr std::uint32_t Visible = 0x10000000;
constexpr std::uint32_t Group = 0x00020000;
constexpr std::uint32_t TabStop = 0x00010000;
constexpr std::uint32_t Caption = 0x00C00000;
constexpr std::uint32_t PushButton = 0x00000000;
constexpr std::uint32_t StaticLeft = 0x00000000;
constexpr std::uint32_t StaticNoPrefix = 0x00000080;
constexpr std::uint32_t ExClientEdge = 0x00000200;
}  // namespace style

enum class ControlClass { Button, Static };
// Where a control's text comes from: the slot's caption or its display text.
enum class TextSource { CopyCaption, DisplayText, EditCaption };
enum class ToolTipSource { None, CopyToolTip, EditToolTip };

struct ControlSpec {
    int slot;  // 1..20
    int id;    // control number, also the Win32 identifier
    ControlClass controlClass;
    int x, y, width, height;  // client coordinates of the phrase window
    std::uint32_t style;
    std::uint32_t exStyle;
    TextSource text;
    ToolTipSource toolTip;
};

// The sixty controls in creation order (which is also the keyboard order): twenty copy buttons,
// twenty slot labels, twenty edit buttons.
const std::array<ControlSpec, ControlCount>& controlTable();

std::u16string controlText(const ControlSpec& control);
// Empty for controls without a tool tip.
std::u16string controlToolTip(const ControlSpec& control);

// How far the frame reaches beyond the client area on each side, in pixels.
struct FrameExtents {
    int left, top, right, bottom;
};
struct Size {
    int width, height;
};
Size outerWindowSize(const FrameExtents& frame);

// The window system's MulDiv: a * b / c rounded half away from zero; -1 when c is 0 or the result overflows.
std::int32_t mulDiv(std::int32_t a, std::int32_t b, std::int32_t c);
// The label font's height for CreateFontW: negative, so it is the character height of nine points.
std::int32_t labelFontHeight(int dotsPerInch);

}  // namespace mz
