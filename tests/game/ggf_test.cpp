// The GGF reader takes the records Othello programs send (NBoard's set game)
// and refuses everything that is not one legal game of plain 8x8 Othello.
#include "game/ggf.h"
#include "test_boards.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

const std::string kStartCells = "---------------------------O*------*O---------------------------";
const std::string kBoard = "BO[8 " + kStartCells + " *]";

std::string Record(const std::string& body) {
    return "(;GM[Othello]" + body + ";)";
}

TEST(Ggf, ReadsTheRecordAnOthelloProgramSends) {
    // Names, dates, clocks and comments are skipped; moves carry evaluations
    // and times, in either letter case; blanks and line ends come anywhere.
    const std::string text = "  (;GM[Othello]PC[NBoard]DT[2014-02-21 20:52:27 GMT]PB[./mEdax]\n"
                             "PW[chris]RE[?]TI[15:00]C[a \\] in a comment]TY[ 8 ]\r\n"
                             "BO[8 ---------------------------O*------*O--------------------------"
                             "- *] B[F5/1.50/3.2]\nW[d6//0.5] ;) \n";
    TGgfGame game;
    std::string error;
    ASSERT_TRUE(ParseGgf(text, game, error)) << error;
    EXPECT_EQ(game.record.start, OthelloStartPosition());
    const std::vector<TRecordMove> moves = {{6, 5}, {4, 6}};
    EXPECT_EQ(game.record.moves, moves);
    EXPECT_EQ(game.final.board, test::Picture("--------"
                                              "--------"
                                              "--------"
                                              "---21---"
                                              "---211--"
                                              "---2----"
                                              "--------"
                                              "--------"));
    EXPECT_EQ(game.final.sideToMove, 1);
}

TEST(Ggf, WritesWhatItReads) {
    TGameRecord record;
    record.start = OthelloStartPosition();
    record.moves = {{6, 5}, {4, 6}, {3, 3}};
    const std::string text = FormatGgf(record, {"A [b]", "C\\d"});
    EXPECT_EQ(text, "(;GM[Othello]PC[Dorvane]PB[A b]PW[Cd]TY[8]" + kBoard + "B[f5]W[d6]B[c3];)");
    TGgfGame game;
    std::string error;
    ASSERT_TRUE(ParseGgf(text, game, error)) << error;
    EXPECT_EQ(game.record.moves, record.moves);
    EXPECT_EQ(TranscriptText(game.record), "f5d6c3");
}

TEST(Ggf, MoveNamesAreOthellos) {
    struct TName {
        const char* text;
        bool ok;
        TRecordMove move;
        const char* written;
    };
    const TName names[] = {
        {"a1", true, {1, 1}, "a1"}, {"H8", true, {8, 8}, "h8"}, {"f5", true, {6, 5}, "f5"},
        {"pa", true, kPass, "pa"},  {"PA", true, kPass, "pa"},  {"i1", false, {}, ""},
        {"a9", false, {}, ""},      {"a0", false, {}, ""},      {"f", false, {}, ""},
        {"f55", false, {}, ""},     {"", false, {}, ""},        {"p1", false, {}, ""},
    };
    for (const TName& name : names) {
        SCOPED_TRACE(name.text);
        TRecordMove move;
        EXPECT_EQ(ParseOthelloMove(name.text, move), name.ok);
        if (!name.ok) continue;
        EXPECT_EQ(move, name.move);
        EXPECT_EQ(OthelloName(move), name.written);
    }
}

TEST(Ggf, RefusesWhatIsNotOneLegalGameOfPlainOthello) {
    const std::string tenByTen = "BO[10 " + std::string(100, '-') + " *]";
    const std::string over = "BO[8 " + std::string(63, '*') + "- O]";
    struct TBad {
        std::string text;
        const char* error; // a piece of the reason
    };
    const TBad bad[] = {
        {"", "does not start with (;"},
        {"GM[Othello]" + kBoard, "does not start with (;"},
        {"(;GM[Othello]" + kBoard + "B[f5]", "not closed with ;)"},
        {"(;GM[Othello]" + kBoard + "B[f5;)", "unbalanced brackets"},
        {"(;GM[Othello]" + kBoard + "(;B[f5];);)", "unbalanced brackets"},
        {"(;GM[Othello]" + kBoard + "];)", "unexpected ']'"},
        {"(;GM[Othello]" + kBoard + "B f5;)", "has no [value]"},
        {Record("TY[8]"), "no board (BO)"},
        {Record("BO[99999999999999999999999999 *]"), "board size"},
        {Record("TY[10]" + tenByTen), "board size 10"},
        {Record(tenByTen), "board size 10 (BO)"},
        {Record("TY[6]BO[6 " + std::string(36, '-') + " *]"), "board size 6"},
        {Record("TY[8a]" + kBoard), "anti"},
        {Record("TY[s8]" + kBoard), "synchro"},
        {Record("TY[8r20]" + kBoard), "random start"},
        {Record("TY[8k]" + kBoard), "komi"},
        {Record("TY[8]" + kBoard + "KB[f5/0.5]"), "komi games"},
        {"(;GM[Chess]" + kBoard + ";)", "is not Othello"},
        {Record("BO[8 " + kStartCells.substr(1) + "]"), "has 63 cells"},
        {Record("BO[8 " + kStartCells.substr(1) + "# *]"), "bad cell '#'"},
        {Record("BO[8 " + kStartCells + "]"), "side to move"},
        {Record("BO[8 " + kStartCells + " * x]"), "after the side to move"},
        {Record(kBoard + kBoard), "a second board"},
        {Record("B[f5]" + kBoard), "before the board"},
        {Record(kBoard + "W[f5]"), "W[f5] while black is to move"},
        {Record(kBoard + "B[a1]"), "a1 is not a legal move for black"},
        {Record(kBoard + "B[d5]"), "d5 is not a legal move for black"},
        {Record(kBoard + "B[f5]W[e6]"), "move 2 W[e6]: e6 is not a legal move for white"},
        {Record(kBoard + "B[pa]"), "a pass while black has a move"},
        {Record(kBoard + "B[z9]"), "bad move B[z9]"},
        {Record(over + "W[a8]"), "after the end of the game"},
        {Record(over + "W[pa]"), "after the end of the game"},
        {Record(kBoard) + " (;GM[Othello]" + kBoard + ";)", "after the record"},
        {Record(kBoard + ";GM[Othello]"), "a second node"},
        {Record(kBoard + "ABCDEFGHIJ[x]"), "longer than 8 letters"},
        {Record(kBoard + "C[" + std::string(kMostGgfBytes, 'x') + "]"), "longer than"},
    };
    for (const TBad& b : bad) {
        SCOPED_TRACE(b.text.substr(0, 120));
        TGgfGame game;
        std::string error;
        EXPECT_FALSE(ParseGgf(b.text, game, error));
        EXPECT_NE(error.find(b.error), std::string::npos) << error;
    }
}

TEST(Ggf, EveryTruncatedRecordIsRefused) {
    const std::string whole = Record("PB[a]PW[b]TY[8]" + kBoard + "B[f5/1.0/2.0]W[d6]B[c3]");
    TGgfGame game;
    std::string error;
    ASSERT_TRUE(ParseGgf(whole, game, error)) << error;
    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        error.clear();
        EXPECT_FALSE(ParseGgf(whole.substr(0, length), game, error));
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace dorvane
