// The working record of one search of the computer player, and the small
// vocabulary its rules are written in: cells as indices, the four corners in
// their standard order, the two edge lines of a corner and the corner window.
//
// The computer player does not score positions. It runs a fixed cascade of
// positional rules; each rule proposes a cell, and a proposal stands only if
// its weight in the candidate grid beats the best proposal so far (the move
// register, "P") and, in rule mode, survives the wipe-out veto.
#pragma once

#include "board.h"
#include "gamestate.h"

#include <array>
#include <cstdint>

namespace dorvane {

enum TSearchMode : std::uint8_t {
    kModeFullScan = 1,
    kModeSimple = 2,
    kModeRules = 3,
    kModeLookAhead = 4,
};

struct TSearchContext {
    explicit TSearchContext(TGameState& state) : game(state) {}
    // A copy of another context's working record that works on `state`.
    TSearchContext(const TSearchContext& other, TGameState& state)
        : Side(other.Side), Mover(other.Mover), Opponent(other.Opponent), Mode(other.Mode),
          Draw2(other.Draw2), Draw4(other.Draw4), Cand(other.Cand), Board(other.Board),
          OppGrid(other.OppGrid), game(state) {}

    std::uint8_t Side = 1;     // the mover, encoded like SideToMove
    std::uint8_t Mover = 1;    // M
    std::uint8_t Opponent = 2; // X
    std::uint8_t Mode = kModeRules;
    std::uint8_t Draw2 = 0; // 0..1, drawn once per search
    std::uint8_t Draw4 = 0; // 0..3, drawn once per search
    TFlipGrid Cand{};       // W: weighted flip counts of the mover
    TField Board{};         // B: the working position
    TFlipGrid OppGrid{};    // O: plain flip counts of the opponent on Board

    // The move register (P and its cell) and the disc counts live in the game
    // state the search was started from.
    TGameState& game;

    void SetSide(std::uint8_t side) {
        Side = side;
        Mover = MoverCode(side);
        Opponent = OpponentCode(side);
    }

    std::uint8_t B(int cell) const { return Board[cell]; }
    int W(int cell) const { return Cand[cell]; }
    int O(int cell) const { return OppGrid[cell]; }
    int P() const { return game.MovePriority; }
    bool IsM(int cell) const { return Board[cell] == Mover; }
    bool IsX(int cell) const { return Board[cell] == Opponent; }
    bool IsEmpty(int cell) const { return Board[cell] == 0; }
    bool IsOccupied(int cell) const { return Board[cell] != 0; }
};

// Fills Cand (with the edge bonus and the edge-danger override), OppGrid and
// the disc counts from Board and Side, and clears the move register.
void ComputeCandidates(TSearchContext& ctx);

// Corners in the standard order K1 (1,1) A8, K2 (8,1) H8, K3 (8,8) H1, K4 (1,8) A1.
inline constexpr std::array<int, 4> kCorners = {11, 81, 88, 18};
inline constexpr std::array<int, 4> kXSquares = {22, 72, 77, 27};

// An edge line of a corner: L0 is the corner, Lk the cell k steps along the
// edge, L7 the corner at the other end. For K1 and K2 the horizontal edge
// comes first, for K3 and K4 the vertical one.
struct TEdgeLine {
    std::array<int, 8> L;
    int operator[](int k) const { return L[k]; }
};

// The two edge lines of corner k (0..3), in the standard direction order.
inline constexpr std::array<std::array<TEdgeLine, 2>, 4> kEdgeLines = [] {
    std::array<std::array<TEdgeLine, 2>, 4> lines{};
    // (corner cell, first step, second step), steps in the standard order.
    constexpr int kSetup[4][3] = {{11, 10, 1}, {81, -10, 1}, {88, -1, -10}, {18, -1, 10}};
    for (int k = 0; k < 4; ++k) {
        for (int l = 0; l < 2; ++l) {
            for (int i = 0; i < 8; ++i)
                lines[k][l].L[i] = kSetup[k][0] + i * kSetup[k][1 + l];
        }
    }
    return lines;
}();
inline const std::array<TEdgeLine, 2>& EdgeLines(int corner) {
    return kEdgeLines[static_cast<std::size_t>(corner)];
}

// The corner window: Q(u, v) is the cell u steps from the corner along the
// columns and v steps along the rows, both pointing into the board.
struct TCornerWindow {
    int corner;  // index of the corner cell
    int colStep; // +1 or -1
    int rowStep; // +1 or -1
    int Q(int u, int v) const { return corner + u * colStep * 10 + v * rowStep; }
};
// Takes the corner's number 0..3 in the standard order or its cell index.
constexpr TCornerWindow CornerWindow(int corner) {
    const int cell = corner < 4 ? kCorners[static_cast<std::size_t>(corner)] : corner;
    return TCornerWindow{cell, ColumnOf(cell) == 1 ? 1 : -1, RowOf(cell) == 1 ? 1 : -1};
}

// Matches an eight-character line pattern against L0..L7:
//   M mover, X opponent, '.' empty, '?' anything, '-' not the mover,
//   '+' not the opponent, 'o' occupied, 'T' the proposed cell (empty).
bool MatchesLine(const TSearchContext& ctx, const TEdgeLine& line, const char (&pattern)[9]);

} // namespace dorvane
