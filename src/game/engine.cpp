#include "engine.h"

#include "lookahead.h"
#include "rules.h"
#include "search_context.h"

namespace dorvane {

namespace {

enum TSearchType { kTypeSimple = 1, kTypeLookAhead = 3 };

// EngineBusy for the length of one search; the window is told on both edges.
class TBusyGuard {
public:
    TBusyGuard(TGameState& game, TEngineHost& host) : game_(game), host_(host) {
        game_.EngineBusy = 1;
        host_.SearchStarted();
    }
    ~TBusyGuard() {
        game_.EngineBusy = 0;
        host_.SearchFinished();
    }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;

private:
    TGameState& game_;
    TEngineHost& host_;
};

} // namespace

void FindMove(TGameState& game, TRandomSource& random, int type, TEngineHost& host) {
    const TBusyGuard busy(game, host);
    // The search recounts the discs of every position it visits; the window's
    // counts of the live position come back afterwards.
    const TDiscCounts live{game.DiscCount1, game.DiscCount2};

    TSearchContext ctx(game);
    ctx.Board = game.GameBoard;
    ctx.SetSide(game.SideToMove);
    ComputeCandidates(ctx);
    game.MoveGrid = ctx.Cand;
    ctx.Draw2 = static_cast<std::uint8_t>(random.Below(2));
    ctx.Draw4 = static_cast<std::uint8_t>(random.Below(4));
    game.ForecastReady = 0;

    if (type == kTypeSimple)
        ChooseSimple(ctx);
    else if (type == kTypeLookAhead)
        LookAhead(ctx, live, host);
    else
        ChooseByRules(ctx);

    game.DiscCount1 = live.side1;
    game.DiscCount2 = live.side2;
}

void FindMove(TGameState& game, TRandomSource& random, int type) {
    TEngineHost quiet;
    FindMove(game, random, type, quiet);
}

} // namespace dorvane
