#include "engine.h"

#include "lookahead.h"
#include "rules.h"
#include "search_context.h"

namespace dorvane {

namespace {

// EngineBusy for the length of one search.
class TBusyGuard {
public:
    explicit TBusyGuard(TGameState& game) : game_(game) { game_.EngineBusy = 1; }
    ~TBusyGuard() { game_.EngineBusy = 0; }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;

private:
    TGameState& game_;
};

} // namespace

TSearchDraws TSearchDraws::Take(TRandomSource& random) {
    TSearchDraws draws;
    draws.Draw2 = static_cast<std::uint8_t>(random.Below(2));
    draws.Draw4 = static_cast<std::uint8_t>(random.Below(4));
    return draws;
}

void FindMove(TGameState& game, const TSearchDraws& draws, TSearchType type) {
    const TBusyGuard busy(game);
    // The search recounts the discs of every position it visits; the window's
    // counts of the live position come back afterwards.
    const TDiscCounts live{game.DiscCount1, game.DiscCount2};

    TSearchContext ctx(game);
    ctx.Board = game.GameBoard;
    ctx.SetSide(game.SideToMove);
    ComputeCandidates(ctx);
    game.MoveGrid = ctx.Cand;
    ctx.Draw2 = draws.Draw2;
    ctx.Draw4 = draws.Draw4;
    game.ForecastReady = 0;

    if (type == TSearchType::Simple)
        ChooseSimple(ctx);
    else if (type == TSearchType::LookAhead)
        LookAhead(ctx, live);
    else
        ChooseByRules(ctx);

    game.DiscCount1 = live.side1;
    game.DiscCount2 = live.side2;
}

void FindMove(TGameState& game, TRandomSource& random, TSearchType type) {
    FindMove(game, TSearchDraws::Take(random), type);
}

void TakeSearchResult(TGameState& live, const TGameState& searched) {
    live.MoveColumn = searched.MoveColumn;
    live.MoveRow = searched.MoveRow;
    live.MovePriority = searched.MovePriority;
    live.MoveGrid = searched.MoveGrid;
    live.ForecastReady = searched.ForecastReady;
    live.ForecastCount1 = searched.ForecastCount1;
    live.ForecastCount2 = searched.ForecastCount2;
    live.ForecastBoard = searched.ForecastBoard;
}

} // namespace dorvane
