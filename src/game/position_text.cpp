#include "position_text.h"

#include <cctype>

namespace dorvane {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Reads 64 cells from text starting at pos; leaves pos after the last cell.
bool ReadCells(std::string_view text, std::size_t& pos, TField& out, std::string& error) {
    TField board{};
    int cell = 0;
    while (cell < 64) {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (pos >= text.size()) {
            error = "the position has " + std::to_string(cell) + " cells, 64 expected";
            return false;
        }
        const char c = text[pos++];
        std::uint8_t value;
        if (c == '-' || c == '.')
            value = 0;
        else if (c == '1')
            value = 1;
        else if (c == '2')
            value = 2;
        else {
            error = std::string("bad cell character '") +
                    (std::isprint(static_cast<unsigned char>(c)) ? std::string(1, c) : "?") +
                    "' at cell " + std::to_string(cell + 1);
            return false;
        }
        const int row = cell / 8 + 1;
        const int column = cell % 8 + 1;
        board[CellIndex(column, row)] = value;
        ++cell;
    }
    out = board;
    return true;
}

} // namespace

bool ParseBoard(std::string_view text, TField& out, std::string& error) {
    std::size_t pos = 0;
    if (!ReadCells(text, pos, out, error)) return false;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos != text.size()) {
        error = "unexpected text after the 64 cells";
        return false;
    }
    return true;
}

bool ParsePosition(std::string_view text, TPosition& out, std::string& error) {
    std::size_t pos = 0;
    TField board;
    if (!ReadCells(text, pos, board, error)) return false;
    if (pos >= text.size() || !IsBlank(text[pos])) {
        error = "the side to move must follow the 64 cells after a blank";
        return false;
    }
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos >= text.size() || (text[pos] != '0' && text[pos] != '1')) {
        error = "the side to move must be 1 (side 1) or 0 (side 2)";
        return false;
    }
    const std::uint8_t side = static_cast<std::uint8_t>(text[pos] - '0');
    ++pos;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos != text.size()) {
        error = "unexpected text after the side to move";
        return false;
    }
    out.board = board;
    out.sideToMove = side;
    return true;
}

std::string FormatBoard(const TField& board) {
    std::string text;
    text.reserve(64);
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column) {
            const std::uint8_t v = board[CellIndex(column, row)];
            text += v == 1 ? '1' : v == 2 ? '2' : '-';
        }
    return text;
}

std::string FormatPosition(const TPosition& position) {
    return FormatBoard(position.board) + ' ' + static_cast<char>('0' + position.sideToMove);
}

TPosition StandardStartPosition() {
    TPosition p;
    p.board[CellIndex(4, 4)] = 1;
    p.board[CellIndex(5, 5)] = 1;
    p.board[CellIndex(4, 5)] = 2;
    p.board[CellIndex(5, 4)] = 2;
    p.sideToMove = 1;
    return p;
}

} // namespace dorvane
