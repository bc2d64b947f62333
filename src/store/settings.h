// The settings file Merkzeile.ini: its reader/rewriter (SettingsStore) and the program's three operations.
#pragma once
#include <cstdint>
#include <string>

namespace mz {

struct Settings {
    std::int32_t windowPosX = 10;
    std::int32_t windowPosY = 10;
    std::int32_t keepInFront = 0;
};

Settings loadSettings();
void saveWindowPosition(std::int32_t x, std::int32_t y);
void saveKeepInFront(std::int32_t value);

// The SettingsStore: one per program, open only between openStore and closeStore.
bool openStore(const std::u16string& fileName);
bool selectGroup(const std::u16string& group);
std::int32_t readInteger(const std::u16string& key, std::int32_t defaultValue);
void writeInteger(const std::u16string& key, std::int32_t value);
void closeStore();

}  // namespace mz
