// The recording fake of the Windows-only operations, for native unit tests of the program's logic.
#pragma once
#include <string>
#include <vector>

namespace mz::fake {

// Every call the fake receives, as one readable line each ("showPhraseWindow", "copyToClipboard abc").
std::vector<std::string>& calls();
void reset();

}  // namespace mz::fake
