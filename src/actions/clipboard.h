// Puts one phrase on the system clipboard as Unicode text.
#pragma once
#include <string>

namespace mz {

// Replaces the clipboard content by text (CF_UNICODETEXT); true when the clipboard accepted it.
bool copyToClipboard(const std::u16string& text);

}  // namespace mz
