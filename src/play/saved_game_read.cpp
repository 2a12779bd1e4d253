#include "play/saved_game_read.h"

#include "core/regular_file.h"

namespace dorvane {

TSavedGameRead ReadSavedGameBytes(const std::string& path, bool noFollow) {
    TSavedGameRead read;
    const TFileBytes file = ReadRegularFile(path, kSavedGameSize + 1, noFollow);
    if (!file.ok()) {
        if (*file.failure != TReadFailure::TooLarge) return read;
        // Opened, but far too long to be a saved game.
        read.opened = true;
        read.result.error = TSavedGameError::WrongSize;
        read.result.detail = "more than " + std::to_string(kSavedGameSize) + " bytes";
        return read;
    }
    read.opened = true;
    read.result = DecodeSavedGame(
        std::span(reinterpret_cast<const std::uint8_t*>(file.bytes.data()), file.bytes.size()));
    return read;
}

} // namespace dorvane
