// Board pictures for tests: 8 lines of 8 cells, top row (A8..H8) first,
// '-' or '.' empty, '1' and '2' the discs of the two sides.
#pragma once

#include "game/position_text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace dorvane::test {

inline TField Picture(const std::string& text) {
    TField board;
    std::string error;
    if (!ParseBoard(text, board, error)) throw std::invalid_argument("bad board picture: " + error);
    return board;
}

inline TPosition PositionOf(const std::string& text) {
    TPosition position;
    std::string error;
    if (!ParsePosition(text, position, error))
        throw std::invalid_argument("bad position: " + error);
    return position;
}

// Cell by name, "E6" -> column 5, row 3.
inline int Cell(const char* name) {
    return (name[0] - 'A' + 1) * 10 + (9 - (name[1] - '0'));
}

} // namespace dorvane::test
