// Saved games as game records: the GGF and the move list other Othello
// programs read, checked letter by letter, and read back by the engine's GGF
// reader into the position the saved game ends in.
#include "game/ggf.h"
#include "game/test_boards.h"
#include "play/saved_game_record.h"

#include <gtest/gtest.h>

#include <sstream>

namespace dorvane {
namespace {

using test::Picture;

// A saved game as the game window records it: every move after the position
// before it, with its mover; a side without a move passes unrecorded. moves
// are Othello names ("c5").
TSavedGame Recorded(const TField& start, std::uint8_t starter, const std::string& moves,
                    std::uint8_t regim) {
    TSavedGame game;
    game.Regim = regim;
    game.March.Fields[0] = start;
    game.March.Who[0] = starter;
    TField board = start;
    std::uint8_t side = starter;
    std::istringstream names(moves);
    int k = 0;
    for (std::string name; names >> name;) {
        TRecordMove move;
        EXPECT_TRUE(ParseOthelloMove(name, move)) << name;
        if (CountLegalMoves(board, side) == 0) side = OtherSide(side);
        EXPECT_TRUE(ApplyMove(board, move.column, move.row, side)) << name;
        ++k;
        game.March.Fields[k] = board;
        game.March.Moves[k] = {move.column, move.row};
        game.March.Who[k] = side;
        side = OtherSide(side);
    }
    game.CurrentR = game.CurrentV = static_cast<std::uint8_t>(k);
    if (IsGameOver(board)) game.CurrentE = game.CurrentR;
    return game;
}

struct TRecordCase {
    const char* name;
    TSavedGame game;
    std::string ggf;
    std::string transcript;
    std::uint8_t sideToMove; // after the last move
};

// The board's diagonal start: side 1 (black) on d4 and e5.
const TField kDiagonal = StandardStartPosition().board;
// A random centre arrangement: side 1 on the d column, side 2 on the e column.
const TField kColumns = Picture("--------"
                                "--------"
                                "--------"
                                "---12---"
                                "---12---"
                                "--------"
                                "--------"
                                "--------");
// Side 2 cannot move at all; side 1 takes b5 and c5 with d5, then h2 with h1.
const TField kPasses = Picture("--------"
                               "-------2"
                               "-------1"
                               "-------1"
                               "122----1"
                               "-------1"
                               "-------1"
                               "-------1");

const TRecordCase kCases[] = {
    {"diagonal start, unfinished, against the computer", Recorded(kDiagonal, 1, "c5 c4", 1),
     "(;GM[Othello]PC[Dorvane]PB[Green]PW[Dorvane]TY[8]"
     "BO[8 ---------------------------*O------O*--------------------------- *]B[c5]W[c4];)",
     "c5c4", 1},
    {"side 2 starts on a column arrangement, two players", Recorded(kColumns, 0, "c4 f5", 2),
     "(;GM[Othello]PC[Dorvane]PB[Green]PW[Blue]TY[8]"
     "BO[8 ---------------------------*O------*O--------------------------- O]W[c4]B[f5];)",
     "c4f5", 0},
    {"passes and a finished game", Recorded(kPasses, 0, "d5 h1", 1),
     "(;GM[Othello]PC[Dorvane]PB[Green]PW[Dorvane]TY[8]"
     "BO[8 ---------------O-------*-------**OO----*-------*-------*-------* O]"
     "W[pa]B[d5]W[pa]B[h1]RE[+12.000];)",
     "d5h1", 0},
};

TEST(SavedGameRecord, GgfAndTranscriptOfEachGameReadBackToItsLastPosition) {
    for (const TRecordCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TGameRecord record;
        std::string error;
        ASSERT_TRUE(RecordOfSavedGame(c.game, record, error)) << error;
        const std::string ggf = FormatGgf(record, PlayersOfSavedGame(c.game));
        EXPECT_EQ(ggf, c.ggf);
        EXPECT_EQ(TranscriptText(record), c.transcript);

        TGgfGame read;
        ASSERT_TRUE(ParseGgf(ggf, read, error)) << error;
        EXPECT_EQ(read.final.board, c.game.March.Fields[c.game.CurrentR]);
        EXPECT_EQ(read.final.sideToMove, c.sideToMove);
        EXPECT_EQ(read.record.moves, record.moves);
    }
}

TEST(SavedGameRecord, HistoryThatDoesNotReplayIsRefusedAtItsMove) {
    const TSavedGame good = Recorded(kDiagonal, 1, "c5 c4 b3", 1);
    struct TDamage {
        const char* name;
        void (*damage)(TSavedGame&);
        const char* error;
    };
    const TDamage damages[] = {
        // c4 is side 2's cell; side 1 cannot play there.
        {"a move its side could not make", [](TSavedGame& g) { g.March.Who[2] = 1; },
         "move 2 (C5): the same side moved twice"},
        {"an occupied cell",
         [](TSavedGame& g) {
             g.March.Moves[3] = {4, 4};
         },
         "move 3 (D5): d4 is not a legal move for black"},
        {"a position its move does not lead to",
         [](TSavedGame& g) { g.March.Fields[2][CellIndex(1, 1)] = 1; },
         "move 2 (C5): the recorded position is not the one the move leads to"},
        {"a move after the end",
         [](TSavedGame& g) { g.March.Fields[0] = Picture(std::string(63, '1') + "-"); },
         "move 1 (C4): c5 after the end of the game"},
    };
    for (const TDamage& d : damages) {
        SCOPED_TRACE(d.name);
        TSavedGame game = good;
        d.damage(game);
        TGameRecord record;
        std::string error;
        EXPECT_FALSE(RecordOfSavedGame(game, record, error));
        EXPECT_EQ(error.substr(0, std::string(d.error).size()), d.error) << error;
    }
}

} // namespace
} // namespace dorvane
