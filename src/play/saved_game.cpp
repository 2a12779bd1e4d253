#include "play/saved_game.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <string>

namespace dorvane {

namespace {

// The first five characters of "DorvaneKvo", two bytes each, low byte first.
constexpr std::uint8_t kHeader[10] = {'D', 0, 'o', 0, 'r', 0, 'v', 0, 'a', 0};

constexpr std::size_t kVersionAt = 10;
constexpr std::size_t kMarchAt = 14;
constexpr std::size_t kIndicesAt = kMarchAt + sizeof(TMarch); // 6297
constexpr std::size_t kScoresAt = kIndicesAt + 4;             // 6301
constexpr std::size_t kIntellectAt = kScoresAt + 8;           // 6309
constexpr std::size_t kRegimAt = kIntellectAt + 1;            // 6310
static_assert(kRegimAt + 1 == kSavedGameSize);

void PutU32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return v;
}

// TMarch is all bytes, so its in-memory image is the file image on every host.
void PutMarch(std::uint8_t* at, const TMarch& march) {
    std::size_t offset = 0;
    for (const TField& field : march.Fields) {
        std::memcpy(at + offset, field.data(), field.size());
        offset += field.size();
    }
    for (const auto& move : march.Moves) {
        at[offset++] = move[0];
        at[offset++] = move[1];
    }
    std::memcpy(at + offset, march.Who.data(), march.Who.size());
}

void GetMarch(const std::uint8_t* at, TMarch& march) {
    std::size_t offset = 0;
    for (TField& field : march.Fields) {
        std::memcpy(field.data(), at + offset, field.size());
        offset += field.size();
    }
    for (auto& move : march.Moves) {
        move[0] = at[offset++];
        move[1] = at[offset++];
    }
    std::memcpy(march.Who.data(), at + offset, march.Who.size());
}

TSavedGameResult Refuse(TSavedGameError error, std::string detail) {
    TSavedGameResult result;
    result.error = error;
    result.detail = std::move(detail);
    return result;
}

// Every position must be one the board can hold: the border ring empty, the
// playing cells 0, 1 or 2. The program clears the whole record for a new game,
// so entries past CurrentR are checked too.
std::optional<std::string> FindBadCell(const TMarch& march) {
    for (int k = 0; k < TMarch::kEntries; ++k)
        for (int i = 0; i < 100; ++i) {
            const std::uint8_t cell = march.Fields[k][i];
            const bool playing = IsPlayingCell(ColumnOf(i), RowOf(i));
            if (cell > 2 || (!playing && cell != 0))
                return "position " + std::to_string(k) + ", index " + std::to_string(i) +
                       " holds " + std::to_string(cell);
        }
    return std::nullopt;
}

} // namespace

std::vector<std::uint8_t> EncodeSavedGame(const TSavedGame& game) {
    std::vector<std::uint8_t> bytes(kSavedGameSize, 0);
    std::memcpy(bytes.data(), kHeader, sizeof kHeader);
    PutU32(bytes.data() + kVersionAt, static_cast<std::uint32_t>(game.VersionFDVN));
    PutMarch(bytes.data() + kMarchAt, game.March);
    bytes[kIndicesAt + 0] = game.CurrentR;
    bytes[kIndicesAt + 1] = game.CurrentV;
    bytes[kIndicesAt + 2] = game.CurrentE;
    bytes[kIndicesAt + 3] = game.BeginGame;
    PutU32(bytes.data() + kScoresAt, std::bit_cast<std::uint32_t>(game.S3R));
    PutU32(bytes.data() + kScoresAt + 4, std::bit_cast<std::uint32_t>(game.S4R));
    bytes[kIntellectAt] = game.Intellect;
    bytes[kRegimAt] = game.Regim;
    return bytes;
}

TSavedGameResult DecodeSavedGame(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kSavedGameSize)
        return Refuse(TSavedGameError::WrongSize, std::to_string(bytes.size()) + " bytes, not " +
                                                      std::to_string(kSavedGameSize));
    if (std::memcmp(bytes.data(), kHeader, sizeof kHeader) != 0)
        return Refuse(TSavedGameError::BadHeader, "the file does not start with the header");

    TSavedGame game;
    const std::uint8_t* at = bytes.data();
    game.VersionFDVN = static_cast<std::int32_t>(GetU32(at + kVersionAt));
    GetMarch(at + kMarchAt, game.March);
    game.CurrentR = at[kIndicesAt + 0];
    game.CurrentV = at[kIndicesAt + 1];
    game.CurrentE = at[kIndicesAt + 2];
    game.BeginGame = at[kIndicesAt + 3];
    game.S3R = std::bit_cast<float>(GetU32(at + kScoresAt));
    game.S4R = std::bit_cast<float>(GetU32(at + kScoresAt + 4));
    game.Intellect = at[kIntellectAt];
    game.Regim = at[kRegimAt];

    if (game.CurrentR > kMaxRecordedMoves || game.CurrentV > kMaxRecordedMoves)
        return Refuse(TSavedGameError::IndexOutOfRange,
                      "CurrentR " + std::to_string(game.CurrentR) + ", CurrentV " +
                          std::to_string(game.CurrentV) + " (at most 60)");
    if (game.CurrentV > game.CurrentR)
        return Refuse(TSavedGameError::ViewPastHistory,
                      "CurrentV " + std::to_string(game.CurrentV) + " is past CurrentR " +
                          std::to_string(game.CurrentR));
    if (auto bad = FindBadCell(game.March)) return Refuse(TSavedGameError::BadCell, *bad);
    for (int k = 0; k < TMarch::kEntries; ++k)
        if (game.March.Who[k] > 1)
            return Refuse(TSavedGameError::BadSideFlag, "side flag " + std::to_string(k) + " is " +
                                                            std::to_string(game.March.Who[k]));
    // The history view names the move it shows, so every recorded move must be
    // a cell of the board; entries past CurrentR are never shown.
    for (int k = 1; k <= game.CurrentR; ++k)
        if (!IsPlayingCell(game.March.Moves[k][0], game.March.Moves[k][1]))
            return Refuse(TSavedGameError::BadMove, "move " + std::to_string(k) + " is column " +
                                                        std::to_string(game.March.Moves[k][0]) +
                                                        ", row " +
                                                        std::to_string(game.March.Moves[k][1]));
    if (!std::isfinite(game.S3R) || !std::isfinite(game.S4R))
        return Refuse(TSavedGameError::BadScore, "an overall score is not a number");
    if (game.Intellect < 1 || game.Intellect > 3)
        return Refuse(TSavedGameError::BadIntellect,
                      "Intellect " + std::to_string(game.Intellect) + " (1..3)");
    if (game.Regim < 1 || game.Regim > 2)
        return Refuse(TSavedGameError::BadRegim, "Regim " + std::to_string(game.Regim) + " (1..2)");

    TSavedGameResult result;
    result.game = game;
    return result;
}

bool operator==(const TSavedGame& a, const TSavedGame& b) {
    return a.VersionFDVN == b.VersionFDVN && a.March.Fields == b.March.Fields &&
           a.March.Moves == b.March.Moves && a.March.Who == b.March.Who &&
           a.CurrentR == b.CurrentR && a.CurrentV == b.CurrentV && a.CurrentE == b.CurrentE &&
           a.BeginGame == b.BeginGame && a.S3R == b.S3R && a.S4R == b.S4R &&
           a.Intellect == b.Intellect && a.Regim == b.Regim;
}

const char* SavedGameErrorName(TSavedGameError error) {
    switch (error) {
    case TSavedGameError::None:
        return "none";
    case TSavedGameError::WrongSize:
        return "wrong size";
    case TSavedGameError::BadHeader:
        return "bad header";
    case TSavedGameError::IndexOutOfRange:
        return "index out of range";
    case TSavedGameError::ViewPastHistory:
        return "shown position past the history";
    case TSavedGameError::BadCell:
        return "bad cell";
    case TSavedGameError::BadSideFlag:
        return "bad side flag";
    case TSavedGameError::BadMove:
        return "bad move";
    case TSavedGameError::BadScore:
        return "bad overall score";
    case TSavedGameError::BadIntellect:
        return "bad strength";
    case TSavedGameError::BadRegim:
        return "bad mode";
    }
    return "unknown";
}

} // namespace dorvane
