// The twenty phrase slots: fixed names, control numbers and texts per slot, and the two texts each holds.
#pragma once
#include <cstddef>
#include <string>

namespace mz {

constexpr int SlotCount = 20;
constexpr std::size_t DisplayLimit = 125;
constexpr char16_t DisplayLineMark[] = u"\\";
constexpr char16_t DisplayCutMark[] = u"...";

struct PhraseSlot {
    std::u16string fullText;     // the file's lines, each followed by CR LF; what a copy puts on the clipboard
    std::u16string displayText;  // makeDisplayText(fullText); what the slot label shows
};

std::u16string makeDisplayText(const std::u16string& fullText);

// Slot n is 1..20. Out-of-range numbers are a programming error.
const PhraseSlot& phraseSlot(int n);
// Replaces slot n's full text and sets its display text with it (the phrase loader only).
void setSlotFullText(int n, std::u16string fullText);
// Empties every slot (program start; tests).
void resetSlots();

std::u16string phraseFileName(int n);  // "Merkzeile07.txt"
std::u16string copyCaption(int n);     // "P07 Kopieren"
std::u16string copyToolTip(int n);
std::u16string editCaption(int n);     // "P07 bearbeiten"
std::u16string editToolTip(int n);
constexpr int copyButtonId(int n) { return 26 + n; }
constexpr int editButtonId(int n) { return 46 + n; }
constexpr int slotLabelId(int n) { return 66 + n; }
constexpr int rowY(int n) { return 10 + 30 * (n - 1); }
// The slot a control number names, or 0 when it names none.
constexpr int slotOfCopyButton(int id) { return id >= 27 && id <= 46 ? id - 26 : 0; }
constexpr int slotOfEditButton(int id) { return id >= 47 && id <= 66 ? id - 46 : 0; }

}  // namespace mz
