// Game records in the Generic Game Format of the Othello servers, the form
// NBoard and other Othello programs hand games over in:
//   (;GM[Othello]PC[Dorvane]PB[..]PW[..]TY[8]BO[8 <64 cells> <side>]B[f5]W[d6]...RE[+12.000];)
// BO lists the cells row by row from a1 to h8, '*' black (side 1), 'O' white
// (side 2), '-' empty, then the side to move. Each B[..]/W[..] is one move of
// that colour, "pa" a pass, optionally followed by /eval/time.
#pragma once

#include "game_record.h"

#include <string>
#include <string_view>

namespace dorvane {

// The players' names; brackets and backslashes are left out when written.
struct TGgfPlayers {
    std::string black;
    std::string white;
};

// One record of the game. RE (the disc margin of black) is written only when
// the moves end the game. The record's moves must replay (ReplayRecord).
std::string FormatGgf(const TGameRecord& record, const TGgfPlayers& players);

// A record a little longer than any real game with comments may be; anything
// longer is refused before it is looked at.
inline constexpr std::size_t kMostGgfBytes = 64 * 1024;

struct TGgfGame {
    TGameRecord record;
    TPosition final; // after all moves, with the side to move
};

// Reads one record of a plain 8x8 Othello game: a board of another size or a
// variant (anti, random, komi, synchro) is refused, as is a move the side to
// move could not make or one by the wrong colour. Properties other than GM,
// TY, BO, B, W, KB and KW are skipped. Linear in the text; nothing is
// allocated from a length the text gives. On failure returns false with a
// one-line reason.
bool ParseGgf(std::string_view text, TGgfGame& out, std::string& error);

} // namespace dorvane
