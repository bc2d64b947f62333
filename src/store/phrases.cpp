// Loads the twenty phrase files from the current directory into the slots.
#include "store/phrases.h"

#include <cstdint>
#include <vector>

#include "app/slots.h"
#include "platform/files.h"

namespace mz {

static constexpr std::size_t ReadChunk = 4096;

void loadPhraseFiles() {
    std::vector<std::uint8_t> bytes;
    for (int n = 1; n <= SlotCount; ++n) {
        const std::u16string name = phraseFileName(n);
        // No sharing: a file another program holds open is not read this time, and nobody writes while we read.
        File file = openFile(name, FileAccess::Read, ShareNone, FileCreation::OpenExisting);
        if (!file.isOpen()) {
            // Create only where nothing of that name exists: a file that is held, unreadable or a folder stays
            // exactly as it is, and the slot keeps its texts.
            openFile(name, FileAccess::ReadWrite, ShareNone, FileCreation::CreateNew);
            continue;
        }
        // The old text goes before the new one is built, so a reload never holds both.
        setSlotFullText(n, std::u16string());
        bytes.clear();
        std::uint64_t size = 0;
        if (file.size(size) && size < SIZE_MAX / 2) bytes.reserve(static_cast<std::size_t>(size) + ReadChunk);
        std::size_t got;
        do {
            std::size_t at = bytes.size();
            bytes.resize(at + ReadChunk);
            got = file.read(bytes.data() + at, ReadChunk);  // a read error counts as the end of the file
            bytes.resize(at + got);
        } while (got > 0);
        file.close();
        setSlotFullText(n, phraseFullText(bytes.data(), bytes.size()));
    }
}

}  // namespace mz
