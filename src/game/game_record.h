// A game as other Othello programs exchange it: a start position, the side to
// move there and the moves in order, passes included. Side 1 is Othello's
// black (it moves first from the standard start), side 2 white. Cells are
// named the Othello way, column a..h left to right and row 1..8 from the top:
// Dorvane's (column, row) is exactly that cell, while the board's own labels
// (CellName) count the rows from the bottom.
#pragma once

#include "position_text.h"

#include <string>
#include <string_view>
#include <vector>

namespace dorvane {

// A move of a record; column 0 is a pass.
struct TRecordMove {
    std::uint8_t column = 0;
    std::uint8_t row = 0;
    bool IsPass() const { return column == 0; }
    bool operator==(const TRecordMove&) const = default;
};

inline constexpr TRecordMove kPass{};

// At most one pass before each of the 60 disc moves and none after the last:
// a pass is only legal while the other side can still move.
inline constexpr std::size_t kMostRecordMoves = 121;

struct TGameRecord {
    TPosition start;
    std::vector<TRecordMove> moves;
};

// "f5" for column 6, row 5; "pa" for a pass.
std::string OthelloName(TRecordMove move);
// "f5", "F5", "pa", "PA"; false on anything else.
bool ParseOthelloMove(std::string_view text, TRecordMove& out);

// Neither side has a legal move.
bool IsGameOver(const TField& board);

// The position with its side to move as the standard Othello game starts it:
// black (side 1) on d5 and e4, white on d4 and e5, black to move.
TPosition OthelloStartPosition();

// Plays one move of the side to move, or its pass, and hands the turn over.
// A pass is legal only when that side has no move and the other has one; a
// move only on a cell where it flips. On refusal the position stays and error
// says why.
bool PlayRecordMove(TPosition& position, TRecordMove move, std::string& error);

// The position after every move of the record; false at the first illegal one
// (error names it and its number).
bool ReplayRecord(const TGameRecord& record, TPosition& out, std::string& error);

// The plain move list, "f5d6c3...", without the passes.
std::string TranscriptText(const TGameRecord& record);

} // namespace dorvane
