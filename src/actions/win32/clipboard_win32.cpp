// Writes one phrase to the Windows clipboard as CF_UNICODETEXT.
#include <windows.h>

#include <cstring>

#include "actions/clipboard.h"

namespace mz {

// Clipboard managers and remote-desktop clients open the clipboard for a moment after every change, so a
// single attempt fails often in real use; a copy tries for up to about 100 ms before it gives up.
static bool openClipboardBriefly() {
    const DWORD start = GetTickCount();
    for (;;) {
        if (OpenClipboard(nullptr)) return true;
        if (GetTickCount() - start >= 100) return false;
        Sleep(5);
    }
}

bool copyToClipboard(const std::u16string& text) {
    if (!openClipboardBriefly()) return false;
    const std::size_t length = std::char_traits<char16_t>::length(text.c_str());  // up to the first 0 unit
    const std::size_t bytes = (length + 1) * sizeof(char16_t);
    // Allocate before emptying, so that a failure leaves the previous content in place.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes);
    if (!block) {
        CloseClipboard();
        return false;
    }
    EmptyClipboard();
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        CloseClipboard();
        return false;
    }
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(block);
    const bool accepted = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!accepted) GlobalFree(block);  // only a block the clipboard took belongs to it
    CloseClipboard();
    return accepted;
}

}  // namespace mz
