#include "game_record.h"

#include <utility>

namespace dorvane {

std::string OthelloName(TRecordMove move) {
    if (move.IsPass()) return "pa";
    return {static_cast<char>('a' + move.column - 1), static_cast<char>('0' + move.row)};
}

bool ParseOthelloMove(std::string_view text, TRecordMove& out) {
    if (text.size() != 2) return false;
    const char letter = static_cast<char>(text[0] | 0x20); // ASCII lower case
    if ((letter == 'p') && (text[1] | 0x20) == 'a') {
        out = kPass;
        return true;
    }
    if (letter < 'a' || letter > 'h' || text[1] < '1' || text[1] > '8') return false;
    out.column = static_cast<std::uint8_t>(letter - 'a' + 1);
    out.row = static_cast<std::uint8_t>(text[1] - '0');
    return true;
}

bool IsGameOver(const TField& board) {
    return CountLegalMoves(board, 1) == 0 && CountLegalMoves(board, 0) == 0;
}

TPosition OthelloStartPosition() {
    // The mirror image of the board's own diagonal start.
    TPosition p = StandardStartPosition();
    std::swap(p.board[CellIndex(4, 4)], p.board[CellIndex(5, 4)]);
    std::swap(p.board[CellIndex(4, 5)], p.board[CellIndex(5, 5)]);
    return p;
}

namespace {

const char* SideName(std::uint8_t sideFlag) {
    return sideFlag == 1 ? "black" : "white";
}

} // namespace

bool PlayRecordMove(TPosition& position, TRecordMove move, std::string& error) {
    const std::uint8_t side = position.sideToMove;
    if (IsGameOver(position.board)) {
        error = OthelloName(move) + " after the end of the game";
        return false;
    }
    if (move.IsPass()) {
        if (CountLegalMoves(position.board, side) != 0) {
            error = std::string("a pass while ") + SideName(side) + " has a move";
            return false;
        }
    } else if (!IsPlayingCell(move.column, move.row) ||
               !ApplyMove(position.board, move.column, move.row, side)) {
        error = OthelloName(move) + " is not a legal move for " + SideName(side);
        return false;
    }
    position.sideToMove = OtherSide(side);
    return true;
}

bool ReplayRecord(const TGameRecord& record, TPosition& out, std::string& error) {
    TPosition position = record.start;
    for (std::size_t k = 0; k < record.moves.size(); ++k) {
        std::string why;
        if (!PlayRecordMove(position, record.moves[k], why)) {
            error = "move " + std::to_string(k + 1) + ": " + why;
            return false;
        }
    }
    out = position;
    return true;
}

std::string TranscriptText(const TGameRecord& record) {
    std::string text;
    for (const TRecordMove& move : record.moves)
        if (!move.IsPass()) text += OthelloName(move);
    return text;
}

} // namespace dorvane
