#include "game/board.h"
#include "game/position_text.h"
#include "play/saved_game.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>

namespace dorvane {
namespace {

bool PlayFirstLegalCell(TField& board, std::uint8_t side, std::array<std::uint8_t, 2>& move) {
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (ApplyMove(board, c, r, side)) {
                move = {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(r)};
                return true;
            }
    return false;
}

// Plays the first legal cell of every turn (passes are not recorded) until
// the game ends or `moves` discs have been placed.
TSavedGame PlayedGame(int moves) {
    TSavedGame game;
    TPosition position = StandardStartPosition();
    game.March.Fields[0] = position.board;
    game.March.Who[0] = position.sideToMove;
    std::uint8_t side = position.sideToMove;
    for (int k = 1; k <= moves; ++k) {
        if (CountLegalMoves(position.board, side) == 0) side = OtherSide(side);
        if (!PlayFirstLegalCell(position.board, side, game.March.Moves[k])) break;
        game.March.Fields[k] = position.board;
        game.March.Who[k] = side;
        game.CurrentR = game.CurrentV = static_cast<std::uint8_t>(k);
        side = OtherSide(side);
    }
    return game;
}

TSavedGame FinishedGame() {
    TSavedGame game = PlayedGame(60);
    game.CurrentE = game.CurrentR;
    game.S3R = 0.1f + 40;
    game.S4R = 0.1f + 24;
    game.Intellect = 3;
    game.Regim = 2;
    game.BeginGame = 0;
    return game;
}

TEST(SavedGame, LayoutIsByteExact) {
    TSavedGame game = PlayedGame(3);
    game.VersionFDVN = 0x01020304;
    game.CurrentV = 1;
    game.S3R = 0.1f;
    game.S4R = -2.5f;
    const std::vector<std::uint8_t> bytes = EncodeSavedGame(game);
    ASSERT_EQ(bytes.size(), 6311u);
    const std::vector<std::uint8_t> header = {'D', 0, 'o', 0, 'r', 0, 'v', 0, 'a', 0};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
    EXPECT_EQ(std::vector(bytes.begin() + 10, bytes.begin() + 14),
              std::vector<std::uint8_t>({4, 3, 2, 1}));
    EXPECT_EQ(bytes[14 + 44], game.March.Fields[0][44]);       // position 0, cell 44
    EXPECT_EQ(bytes[14 + 300 + 55], game.March.Fields[3][55]); // position 3, cell 55
    EXPECT_EQ(bytes[14 + 6100 + 2], game.March.Moves[1][0]);   // move 1's column
    EXPECT_EQ(bytes[14 + 6100 + 3], game.March.Moves[1][1]);   // move 1's row
    EXPECT_EQ(bytes[14 + 6222 + 2], game.March.Who[2]);
    EXPECT_EQ(std::vector(bytes.begin() + 6297, bytes.begin() + 6301),
              std::vector<std::uint8_t>({3, 1, 64, 1}));
    EXPECT_EQ(std::vector(bytes.begin() + 6301, bytes.begin() + 6309),
              std::vector<std::uint8_t>({0xCD, 0xCC, 0xCC, 0x3D, 0, 0, 0x20, 0xC0}));
    EXPECT_EQ(bytes[6309], 2);
    EXPECT_EQ(bytes[6310], 1);
}

TEST(SavedGame, RoundTripsEveryKindOfGame) {
    TSavedGame inHistoryView = PlayedGame(20);
    inHistoryView.CurrentV = 7;
    TSavedGame resumedAfterEnd = FinishedGame(); // finished, then viewed at an earlier move
    resumedAfterEnd.CurrentV = 3;
    TSavedGame full = FinishedGame();
    ASSERT_EQ(full.CurrentR, 60); // the first-legal-cell game fills the board
    TSavedGame odd = PlayedGame(5);
    odd.VersionFDVN = -9;             // taken over unchecked
    odd.BeginGame = 7;                // kept as stored
    odd.March.Moves[40] = {200, 200}; // past CurrentR: never shown, kept as stored

    for (const TSavedGame& game :
         {TSavedGame{}, PlayedGame(0), inHistoryView, full, resumedAfterEnd, odd}) {
        const TSavedGameResult result = DecodeSavedGame(EncodeSavedGame(game));
        ASSERT_TRUE(result.game.has_value()) << result.detail;
        EXPECT_EQ(result.error, TSavedGameError::None);
        EXPECT_EQ(*result.game, game);
    }
}

// A file written by another implementation of the layout (the corpus of the
// reader's fuzz target): four moves, shown at move 2.
TEST(SavedGame, ReadsAFileMadeElsewhere) {
    std::ifstream in(DORVANE_SOURCE_DIR
                     "/tests/fuzz/corpus/saved_game/four_moves_viewing_move_2.dvn",
                     std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    const TSavedGameResult result = DecodeSavedGame(bytes);
    ASSERT_TRUE(result.game.has_value()) << result.detail;
    const TSavedGame& game = *result.game;
    EXPECT_EQ(game.VersionFDVN, 1);
    EXPECT_EQ(game.CurrentR, 4);
    EXPECT_EQ(game.CurrentV, 2);
    EXPECT_EQ(game.CurrentE, 64);
    EXPECT_EQ(game.S4R, 12.1f);
    EXPECT_EQ(game.Intellect, 3);
    EXPECT_EQ(CellName(game.March.Moves[1][0], game.March.Moves[1][1]), "C4");
    EXPECT_EQ(game.March.Who[2], 0);
    TField afterFirst = game.March.Fields[0];
    ASSERT_TRUE(ApplyMove(afterFirst, 3, 5, 1));
    EXPECT_EQ(game.March.Fields[1], afterFirst);
}

TEST(SavedGame, RefusesHostileFiles) {
    const std::vector<std::uint8_t> good = EncodeSavedGame(PlayedGame(10));
    using Edit = std::function<void(std::vector<std::uint8_t>&)>;
    auto at = [](std::size_t offset, std::uint8_t value) -> Edit {
        return [=](std::vector<std::uint8_t>& b) { b[offset] = value; };
    };
    auto score = [](std::size_t offset, float value) -> Edit {
        return [=](std::vector<std::uint8_t>& b) {
            const auto bits = std::bit_cast<std::uint32_t>(value);
            for (int i = 0; i < 4; ++i)
                b[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
        };
    };
    constexpr std::size_t kFields = 14, kMoves = 14 + 6100, kWho = 14 + 6222;
    struct Case {
        const char* what;
        Edit edit;
        TSavedGameError error;
    };
    const Case cases[] = {
        {"empty", [](auto& b) { b.clear(); }, TSavedGameError::WrongSize},
        {"one byte short", [](auto& b) { b.pop_back(); }, TSavedGameError::WrongSize},
        {"one byte long", [](auto& b) { b.push_back(0); }, TSavedGameError::WrongSize},
        {"header only", [](auto& b) { b.resize(10); }, TSavedGameError::WrongSize},
        {"header's low byte", at(0, 'd'), TSavedGameError::BadHeader},
        {"header's high byte", at(9, 1), TSavedGameError::BadHeader},
        {"CurrentR 61", at(6297, 61), TSavedGameError::IndexOutOfRange},
        {"CurrentR 255", at(6297, 255), TSavedGameError::IndexOutOfRange},
        {"CurrentV 61", at(6298, 61), TSavedGameError::IndexOutOfRange},
        {"CurrentV past CurrentR", at(6298, 11), TSavedGameError::ViewPastHistory},
        {"cell 3", at(kFields + 100 * 5 + 44, 3), TSavedGameError::BadCell},
        {"cell 255 past the history", at(kFields + 100 * 60 + 88, 255), TSavedGameError::BadCell},
        {"disc on the top border", at(kFields + 100 * 2 + 10, 1), TSavedGameError::BadCell},
        {"disc on the right border", at(kFields + 100 * 0 + 95, 2), TSavedGameError::BadCell},
        {"disc in the corner of the ring", at(kFields + 99, 1), TSavedGameError::BadCell},
        {"side flag 2", at(kWho + 3, 2), TSavedGameError::BadSideFlag},
        {"starter's flag 255", at(kWho + 0, 255), TSavedGameError::BadSideFlag},
        {"side flag past the history", at(kWho + 60, 2), TSavedGameError::BadSideFlag},
        {"move column 0", at(kMoves + 2 * 4, 0), TSavedGameError::BadMove},
        {"last move row 9", at(kMoves + 2 * 10 + 1, 9), TSavedGameError::BadMove},
        {"S3R NaN", score(6301, std::numeric_limits<float>::quiet_NaN()),
         TSavedGameError::BadScore},
        {"S4R infinite", score(6305, std::numeric_limits<float>::infinity()),
         TSavedGameError::BadScore},
        {"Intellect 0", at(6309, 0), TSavedGameError::BadIntellect},
        {"Intellect 4", at(6309, 4), TSavedGameError::BadIntellect},
        {"Regim 0", at(6310, 0), TSavedGameError::BadRegim},
        {"Regim 3", at(6310, 3), TSavedGameError::BadRegim},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bytes = good;
        c.edit(bytes);
        const TSavedGameResult result = DecodeSavedGame(bytes);
        EXPECT_FALSE(result.game.has_value());
        EXPECT_EQ(result.error, c.error)
            << SavedGameErrorName(result.error) << ": " << result.detail;
        EXPECT_FALSE(result.detail.empty());
    }
}

TEST(SavedGame, AcceptsTheEdgesOfEveryRange) {
    TSavedGame game = PlayedGame(10);
    for (auto [intellect, regim] : {std::pair{1, 2}, std::pair{3, 1}}) {
        game.Intellect = static_cast<std::uint8_t>(intellect);
        game.Regim = static_cast<std::uint8_t>(regim);
        game.CurrentV = 0;
        EXPECT_TRUE(DecodeSavedGame(EncodeSavedGame(game)).game.has_value());
    }
}

} // namespace
} // namespace dorvane
