// Reads the twenty phrase files into the slots.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace mz {

// Loads all twenty phrase files from the current directory; creates missing ones empty.
void loadPhraseFiles();

// The full text of one phrase file's bytes: encoding detected, lines split, each followed by CR LF.
std::u16string phraseFullText(const std::uint8_t* bytes, std::size_t n);

}  // namespace mz
