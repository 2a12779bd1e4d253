// The one entry through which the game window asks the computer player for a
// move, and the hooks through which a search lets the window breathe.
#pragma once

#include "gamestate.h"
#include "random.h"

namespace dorvane {

// What a search needs from the user interface. The search runs on the UI
// thread; the look-ahead calls ProcessEvents at every end test so the window
// stays responsive. The defaults do nothing (tests, the engine tool).
class TEngineHost {
public:
    virtual ~TEngineHost() = default;
    virtual void SearchStarted() {}  // EngineBusy has just been set: show the busy state
    virtual void ProcessEvents() {}  // let pending window events through
    virtual void SearchFinished() {} // EngineBusy has just been cleared: refresh
};

// Search types: 1 the simple method, 3 the look-ahead, anything else the rule
// cascade. Finds a move for game.SideToMove on game.GameBoard and leaves it in
// the move register (MovePriority > 0) or reports no move (MovePriority <= 0,
// cell (0, 0)). GameBoard, SideToMove and the disc counts come back as they
// were; MoveGrid holds the candidate grid; the forecast is set only by a
// successful look-ahead. Takes two draws from the random source (0..1, 0..3).
void FindMove(TGameState& game, TRandomSource& random, int type, TEngineHost& host);
void FindMove(TGameState& game, TRandomSource& random, int type);

} // namespace dorvane
