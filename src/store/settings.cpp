// The settings store over the file layer, and loading and saving the window position and keep-in-front.
#include "store/settings.h"

#include "platform/files.h"
#include "store/ini.h"

namespace mz {

namespace {

// The product name followed by ".ini", beside the phrase files in the current directory.
const std::u16string settingsFileName = u"Merkzeile.ini";

const char defaultFileText[] =
    "[Fensterkoordinaten]\r\n"
    "WindowPosX=10\r\n"
    "WindowPosY=10\r\n"
    "[Fensterstatus]\r\n"
    "WindowState=0\r\n";

struct SettingsStore {
    File file;
    // Kept when no open succeeded, so that closeStore can create the file.
    bool nameRemembered = false;
    std::u16string fileName;
    bool writable = false;
    bool changed = false;
    bool utf8Mark = false;
    IniDocument document;
};

SettingsStore store;

bool readWhole(File& file, std::string& bytes) {
    std::uint64_t size = 0;
    if (!file.size(size)) return false;
    bytes.clear();
    if (size < (std::uint64_t{1} << 24)) bytes.reserve(static_cast<std::size_t>(size));
    std::uint8_t chunk[4096];
    for (;;) {
        std::size_t got = file.read(chunk, sizeof chunk);
        if (got == 0) break;
        bytes.append(reinterpret_cast<const char*>(chunk), got);
    }
    return true;
}

}  // namespace

bool openStore(const std::u16string& fileName) {
    closeStore();
    File file = openFile(fileName, FileAccess::ReadWrite, ShareRead, FileCreation::OpenExisting);
    store.writable = file.isOpen();
    // Another program may hold the file open for writing; reading is still possible when it shares writing.
    if (!file.isOpen()) file = openFile(fileName, FileAccess::Read, ShareRead, FileCreation::OpenExisting);
    if (!file.isOpen())
        file = openFile(fileName, FileAccess::Read, ShareRead | ShareWrite, FileCreation::OpenExisting);
    std::string bytes;
    if (!file.isOpen() || !readWhole(file, bytes)) {
        store.file.close();
        store.nameRemembered = true;
        store.fileName = fileName;
        store.writable = false;
        store.utf8Mark = true;
        return false;
    }
    IniText text = decodeIniBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    store.file = std::move(file);
    store.utf8Mark = text.utf8Mark;
    store.document.entries = parseIni(text.text);
    return true;
}

bool selectGroup(const std::u16string& group) {
    return selectDocumentGroup(store.document, utf8FromUtf16(group));
}

std::int32_t readInteger(const std::u16string& key, std::int32_t defaultValue) {
    return readDocumentInteger(store.document, utf8FromUtf16(key), defaultValue);
}

void writeInteger(const std::u16string& key, std::int32_t value) {
    writeDocumentInteger(store.document, utf8FromUtf16(key), value);
    store.changed = true;
}

void closeStore() {
    if (store.changed) {
        if (!store.file.isOpen() && store.nameRemembered) {
            // Created only when no file of that name exists: a file we could not open (held without sharing,
            // no right to read it) is never replaced.
            store.file = openFile(store.fileName, FileAccess::ReadWrite, ShareRead, FileCreation::CreateNew);
            store.writable = store.file.isOpen();
        }
        if (store.writable) {
            std::string content = renderIni(store.document.entries, store.utf8Mark);
            // Cut only after a complete write: cutting after a failed one could leave the file empty.
            if (store.file.seek(0) &&
                store.file.write(reinterpret_cast<const std::uint8_t*>(content.data()), content.size())) {
                store.file.truncateHere();
            }
        }
    }
    store = SettingsStore();
}

Settings loadSettings() {
    Settings settings;
    if (openStore(settingsFileName)) {
        selectGroup(u"Fensterkoordinaten");
        settings.windowPosX = readInteger(u"WindowPosX", 10);
        settings.windowPosY = readInteger(u"WindowPosY", 10);
        selectGroup(u"Fensterstatus");
        settings.keepInFront = readInteger(u"WindowState", 0);
        closeStore();
        return settings;
    }
    // Only when no file of that name exists: one that exists but cannot be opened stays as it is.
    File created = openFile(settingsFileName, FileAccess::ReadWrite, ShareNone, FileCreation::CreateNew);
    if (created.isOpen()) {
        created.write(reinterpret_cast<const std::uint8_t*>(defaultFileText), sizeof defaultFileText - 1);
    }
    return settings;
}

void saveWindowPosition(std::int32_t x, std::int32_t y) {
    openStore(settingsFileName);
    selectGroup(u"Fensterkoordinaten");
    writeInteger(u"WindowPosX", x);
    writeInteger(u"WindowPosY", y);
    closeStore();
}

void saveKeepInFront(std::int32_t value) {
    openStore(settingsFileName);
    selectGroup(u"Fensterstatus");
    writeInteger(u"WindowState", value);
    closeStore();
}

}  // namespace mz
