#include "game/position_text.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

const std::string kStart = "---------------------------12------21--------------------------- 1";

TEST(PositionText, RoundTripsAndReadsThePictureForm) {
    TPosition parsed;
    std::string error;
    ASSERT_TRUE(ParsePosition(kStart, parsed, error)) << error;
    EXPECT_EQ(parsed, StandardStartPosition());
    EXPECT_EQ(FormatPosition(parsed), kStart);
    // D5 is column 4, row 4 and holds side 1 in the standard start.
    EXPECT_EQ(parsed.board[CellIndex(4, 4)], 1);
    EXPECT_EQ(parsed.board[CellIndex(5, 4)], 2);

    TPosition picture;
    ASSERT_TRUE(ParsePosition("--------\n--------\n--------\n---12---\n"
                              "---21---\n--------\n--------\n--------\n0",
                              picture, error))
        << error;
    EXPECT_EQ(picture.board, parsed.board);
    EXPECT_EQ(picture.sideToMove, 0);
}

TEST(PositionText, RefusesMalformedText) {
    const std::string board64 = kStart.substr(0, 64);
    const std::string bad[] = {
        "",
        board64,                               // no side flag
        board64 + "1",                         // flag without the blank
        board64 + " 2",                        // not a side flag
        board64 + " 1 x",                      // trailing text
        kStart.substr(0, 63) + " 1",           // 63 cells
        std::string(1, 'x').append(kStart, 1), // bad cell character
        std::string(64, '3') + " 1",           // a third colour
        board64 + std::string("\0 1", 3),      // embedded NUL
        std::string(64, '1') + '-' + " 1",     // 65 cells
    };
    for (const std::string& text : bad) {
        TPosition out = StandardStartPosition();
        out.sideToMove = 0;
        std::string error;
        EXPECT_FALSE(ParsePosition(text, out, error)) << '"' << text << '"';
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(out.sideToMove, 0) << "a refused text must not change the output";
    }
}

} // namespace
} // namespace dorvane
