// The product's name and version, and the title text made of them.
#include "app/program.h"

namespace mz {

const std::u16string productName = u"Merkzeile";
const std::u16string productVersion = u"V1.3";

std::u16string titleText() { return productName + u" " + productVersion; }

}  // namespace mz
