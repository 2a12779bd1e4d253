// The one text form of a position shared by the engine tool and the tests:
// 64 characters row by row from the top row (A8..H8) to the bottom row, each
// row left to right, '-' empty, '1' and '2' the discs of the two sides; then a
// blank and the side-to-move flag (1 = side 1 to move, 0 = side 2).
// Tests may also write the 64 cells as 8 lines of 8 with any white space
// between them: "board pictures" that read like the board.
#pragma once

#include "board.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dorvane {

struct TPosition {
    TField board{};
    std::uint8_t sideToMove = 1;
    bool operator==(const TPosition&) const = default;
};

// Parses the 64 cells followed by the side flag. White space between cells is
// ignored, so both the one-line and the eight-line forms are accepted. On
// failure returns false and sets error to a one-line reason.
bool ParsePosition(std::string_view text, TPosition& out, std::string& error);

// Only the 64 cells (white space ignored); the side flag is not read.
bool ParseBoard(std::string_view text, TField& out, std::string& error);

std::string FormatBoard(const TField& board);          // 64 characters
std::string FormatPosition(const TPosition& position); // 64 characters, blank, flag

TPosition StandardStartPosition(); // the diagonal arrangement, side 1 to move

} // namespace dorvane
