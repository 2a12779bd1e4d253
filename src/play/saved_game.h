// A saved game (.dvn): the history of the game, where the player was looking,
// the overall score and the mode of play, in a fixed little-endian layout of
// exactly 6311 bytes. Plain C++ so that the engine tool can read it too.
//
// The reader refuses anything the program could not have written: a wrong
// size or header, an index past the history, a cell or side flag the board
// does not know, a strength or mode out of range. Such a file must never reach
// the game state, where it would index past the history or draw garbage.
#pragma once

#include "play/march.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dorvane {

inline constexpr std::size_t kSavedGameSize = 6311;
inline constexpr int kMaxRecordedMoves = TMarch::kEntries - 1; // 60

struct TSavedGame {
    std::int32_t VersionFDVN = 1; // taken over as stored, written as held
    TMarch March{};
    std::uint8_t CurrentR = 0;  // recorded moves
    std::uint8_t CurrentV = 0;  // position shown
    std::uint8_t CurrentE = 64; // 64 while unfinished, else the last move of the game
    std::uint8_t BeginGame = 1; // kept as the byte it was, any non-zero is true
    float S3R = 0.1f;           // overall score of side 1
    float S4R = 0.1f;           // overall score of side 2
    std::uint8_t Intellect = 2; // 1..3
    std::uint8_t Regim = 1;     // 1 against the computer, 2 two players
};

bool operator==(const TSavedGame& a, const TSavedGame& b);

// Why a file was refused; None when it was taken.
enum class TSavedGameError {
    None,
    WrongSize,       // not exactly 6311 bytes
    BadHeader,       // not "Dorva" in UTF-16LE
    IndexOutOfRange, // CurrentR or CurrentV above 60
    ViewPastHistory, // CurrentV above CurrentR
    BadCell,         // a cell not 0/1/2, or a disc on the border ring
    BadSideFlag,     // a Who entry other than 0/1
    BadMove,         // a recorded move (1..CurrentR) that is not a playing cell
    BadScore,        // an overall score that is not a finite number
    BadIntellect,    // outside 1..3
    BadRegim,        // outside 1..2
};

struct TSavedGameResult {
    std::optional<TSavedGame> game; // set exactly when error == None
    TSavedGameError error = TSavedGameError::None;
    std::string detail; // one line for people: what exactly is wrong and where
};

std::vector<std::uint8_t> EncodeSavedGame(const TSavedGame& game);
TSavedGameResult DecodeSavedGame(std::span<const std::uint8_t> bytes);

// A short English name of the reason ("wrong size", "bad header", ...).
const char* SavedGameErrorName(TSavedGameError error);

} // namespace dorvane
