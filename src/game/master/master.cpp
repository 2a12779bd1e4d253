#include "master.h"

namespace dorvane::master {

TSearchResult FindMasterMove(TGameState& game, TMasterSearch& search, const TLimits& limits) {
    game.EngineBusy = 1;
    CountFlips(game.MoveGrid, game.GameBoard, game.SideToMove);
    const TSearchResult result = search.Search(PositionOf(game.GameBoard, game.SideToMove), limits);
    game.ClearMoveRegister();
    if (result.move >= 0) {
        game.MoveColumn = result.move / 8 + 1;
        game.MoveRow = result.move % 8 + 1;
        game.MovePriority = 1;
    }
    game.ForecastReady = 0;
    game.EngineBusy = 0;
    return result;
}

} // namespace dorvane::master
