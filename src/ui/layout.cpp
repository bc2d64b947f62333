// The phrase window's fixed geometry: the sixty controls, the outer size and the label font height.
#include "ui/layout.h"

#include "app/slots.h"

namespace mz {

namespace {

constexpr std::uint32_t ButtonStyle =
    style::Child | style::Visible | style::Group | style::TabStop | style::PushButton;
constexpr std::uint32_t LabelStyle =
    style::Child | style::Visible | style::Group | style::StaticLeft | style::StaticNoPrefix;

std::array<ControlSpec, ControlCount> makeControlTable() {
    std::array<ControlSpec, ControlCount> table{};
    // clang-format off
    for (int n = 1; n <= SlotCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        table[i] = {n, copyButtonId(n), ControlClass::Button,
                    10, rowY(n), 70, 20, ButtonStyle, 0,
                    TextSource::CopyCaption, ToolTipSource::CopyToolTip};
        table[i + SlotCount] = {n, slotLabelId(n), ControlClass::Static,
                                90, rowY(n), 900, 20, LabelStyle, style::ExClientEdge,
                                TextSource::DisplayText, ToolTipSource::None};
        table[i + 2 * SlotCount] = {n, editButtonId(n), ControlClass::Button,
                                    1000, rowY(n), 80, 20, ButtonStyle, 0,
                                    TextSource::EditCaption, ToolTipSource::EditToolTip};
    }
    // clang-format on
    return table;
}

}  // namespace

const std::array<ControlSpec, ControlCount>& controlTable() {
    static const std::array<ControlSpec, ControlCount> table = makeControlTable();
    return table;
}

std::u16string controlText(const ControlSpec& control) {
    switch (control.text) {
        case TextSource::CopyCaption: return copyCaption(control.slot);
        case TextSource::DisplayText: return phraseSlot(control.slot).displayText;
        case TextSource::EditCaption: return editCaption(control.slot);
    }
    return {};
}

std::u16string controlToolTip(const ControlSpec& control) {
    switch (control.toolTip) {
        case ToolTipSource::None: return {};
        case ToolTipSource::CopyToolTip: return copyToolTip(control.slot);
        case ToolTipSource::EditToolTip: return editToolTip(control.slot);
    }
    return {};
}

Size outerWindowSize(const FrameExtents& frame) {
    return {frame.left + ClientWidth + frame.right, frame.top + ClientHeight + frame.bottom};
}

std::int32_t mulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0) return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > 2147483647 || result < -2147483647) return -1;
    return static_cast<std::int32_t>(result);
}

std::int32_t labelFontHeight(int dotsPerInch) {
    return -mulDiv(LabelFontPoints, dotsPerInch, 72);
}

}  // namespace mz
