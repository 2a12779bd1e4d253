#include "engine.h"

#include "lookahead.h"
#include "rules.h"
#include "search_context.h"
#include "search_pool.h"

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

void FindMove(TGameState& game, const TSearchDraws& draws, TSearchType type,
              const TSearchOptions& options) {
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
    else if (type == TSearchType::LookAhead) {
        TSearchPool* pool = options.Serial ? nullptr
                            : options.Pool ? options.Pool
                                           : &TSearchPool::Shared();
        if (pool != nullptr) {
            const TSearchPool::TUse use(*pool);
            LookAhead(ctx, live, {use.Owns() ? pool : nullptr, options.Cancel});
        } else {
            LookAhead(ctx, live, {nullptr, options.Cancel});
        }
    } else
        ChooseByRules(ctx);

    game.DiscCount1 = live.side1;
    game.DiscCount2 = live.side2;
}

void FindMove(TGameState& game, TRandomSource& random, TSearchType type,
              const TSearchOptions& options) {
    FindMove(game, TSearchDraws::Take(random), type, options);
}

void TakeSearchResult(TGameState& live, const TGameState& searched) {
    live.TakeMoveRegister(searched);
    live.MoveGrid = searched.MoveGrid;
    live.ForecastReady = searched.ForecastReady;
    live.TakeForecast(searched);
}

} // namespace dorvane
