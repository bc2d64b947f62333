// The slot table and the display-text rule.
#include "app/slots.h"

#include <array>
#include <cassert>

namespace mz {

static std::array<PhraseSlot, SlotCount> slots;

std::u16string makeDisplayText(const std::u16string& fullText) {
    std::u16string out;
    // One unit past the limit decides the cut; the rest of a long phrase is never looked at.
    out.reserve(DisplayLimit + 3);
    for (std::size_t i = 0; i < fullText.size() && out.size() <= DisplayLimit; ++i) {
        if (fullText[i] == u'\r' && i + 1 < fullText.size() && fullText[i + 1] == u'\n') {
            out += DisplayLineMark;
            ++i;
        } else {
            out += fullText[i];
        }
    }
    if (out.size() > DisplayLimit) {
        out.resize(DisplayLimit);
        out += DisplayCutMark;
    }
    return out;
}

const PhraseSlot& phraseSlot(int n) {
    assert(n >= 1 && n <= SlotCount);
    return slots[static_cast<std::size_t>(n - 1)];
}

void setSlotFullText(int n, std::u16string fullText) {
    assert(n >= 1 && n <= SlotCount);
    PhraseSlot& s = slots[static_cast<std::size_t>(n - 1)];
    s.displayText = makeDisplayText(fullText);
    // Swapped, not moved: moving a short string into a long one keeps the long one's memory.
    s.fullText.swap(fullText);
}

void resetSlots() {
    for (PhraseSlot& s : slots) s = PhraseSlot();
}

static std::u16string twoDigits(int n) {
    return {static_cast<char16_t>(u'0' + n / 10), static_cast<char16_t>(u'0' + n % 10)};
}

std::u16string phraseFileName(int n) { return u"Merkzeile" + twoDigits(n) + u".txt"; }
std::u16string copyCaption(int n) { return u"P" + twoDigits(n) + u" Kopieren"; }
std::u16string copyToolTip(int n) { return u"Phrase" + twoDigits(n) + u" in die Windows-Zwischenablage kopieren."; }
std::u16string editCaption(int n) { return u"P" + twoDigits(n) + u" bearbeiten"; }
std::u16string editToolTip(int n) { return u"Phrase" + twoDigits(n) + u" in 'Notepad'-Programm bearbeiten."; }

}  // namespace mz
