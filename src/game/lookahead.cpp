#include "lookahead.h"

#include "bitboard.h"
#include "board_cells.h"
#include "rules.h"
#include "rules_cache.h"
#include "search_pool.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>

namespace dorvane {

namespace {

// Below the reply-search threshold the playouts are too shallow to judge the
// squares next to an empty corner, so they are not tried as candidates there.
constexpr std::array<int, 12> kXAndCSquares = {22, 72, 77, 27, 12, 21, 71, 82, 87, 78, 28, 17};

bool IsXOrCSquare(int cell) {
    return std::find(kXAndCSquares.begin(), kXAndCSquares.end(), cell) != kXAndCSquares.end();
}

bool HasLegalCell(const TFlipGrid& cand) {
    for (int column = 1; column <= 8; ++column)
        for (int row = 1; row <= 8; ++row)
            if (cand[CellIndex(column, row)] != 0) return true;
    return false;
}

// From this many discs on (five empty cells or fewer) the root lines are
// searched one after another: a whole search then takes some tens of
// microseconds, about what waking the pool's threads costs.
constexpr int kSerialFromDiscs = 59;

// What one line (or one branch of the opponent's search) left in the state
// the serial search shares between lines. Lines are searched from a fresh
// best, so a merged line is recorded exactly when the serial search would
// have recorded one of its results: a wipe-out always, anything else when it
// beats the best of the lines before it. Either way the result recorded last
// within the line is the one that stands, as in the serial search.
struct TLineResult {
    TLookAheadState state; // the line's state at its end
    TGameState game;       // the copy of the game it searched on
};

struct TFork;

// One look-ahead. Every simulated move is played on the context's board and
// undone by restoring copies kept on the stack; nothing is allocated.
class TLookAhead {
public:
    TLookAhead(TSearchContext& ctx, const TDiscCounts& live, const TLookAheadEnv& env, int slot,
               std::uint8_t rootSide)
        : ctx_(ctx), game_(ctx.game), live_(live), rootSide_(rootSide), env_(env), slot_(slot),
          cache_(env.pool != nullptr ? &env.pool->CacheOf(slot) : nullptr) {}

    void Run();

private:
    friend struct TFork;

    struct TSnapshot {
        TField board;
        TFlipGrid cand;
        std::uint8_t side;
    };

    TSnapshot Save() const { return {ctx_.Board, ctx_.Cand, ctx_.Side}; }
    void Restore(const TSnapshot& s) {
        ctx_.Board = s.board;
        ctx_.Cand = s.cand;
        ctx_.SetSide(s.side);
    }
    TDiscCounts Counts() const { return {game_.DiscCount1, game_.DiscCount2}; }
    void SetCounts(const TDiscCounts& counts) {
        game_.DiscCount1 = counts.side1;
        game_.DiscCount2 = counts.side2;
    }
    bool Cancelled() const {
        return env_.cancel != nullptr && env_.cancel->load(std::memory_order_relaxed);
    }

    // The own stop flag of the line loop that calls branching level `level`;
    // the deepest level calls nothing and keeps a flag nobody sets.
    std::uint8_t& StopFlag(int level) {
        switch (level) {
        case 2:
            return s_.Stop2;
        case 3:
            return s_.Stop3;
        case 4:
            return s_.Stop4;
        default:
            return noStop_;
        }
    }

    struct TExplore {
        bool ownsResult;
        bool filter;
        bool searchReplies;
        bool branch;
        int nextLevel;
        TDiscCounts restoreCounts;
    };

    void PlayChosen();
    bool EndTest();
    void ChooseByCachedRules();
    void PlayOut(bool searchReplies, bool branch, int nextLevel);
    void ExploreMoves(const TExplore& explore, bool parallel);
    void ExploreOne(const TExplore& explore, const TSnapshot& at, int cell);
    void ExploreInParallel(const TExplore& explore, const TSnapshot& at);
    void OpponentSearch();
    void Branch(int level);
    void FallBackToRules(const TSnapshot& at, const TDiscCounts& counts);

    TSearchContext& ctx_;
    TGameState& game_;
    const TDiscCounts live_;
    const std::uint8_t rootSide_;
    const TLookAheadEnv env_;
    const int slot_;
    TRulesCache* const cache_;
    // Set in the root lines of a parallel search: the opponent's replies in
    // them are searched in parallel too.
    bool parallelReplies_ = false;
    TLookAheadState s_;
    std::uint8_t noStop_ = 0;
};

// The lines of one ExploreMoves spread over the pool: each runs on a copy of
// the state at the loop's start, and their results are merged in the loop's
// order afterwards.
struct TFork {
    TLookAhead* owner;
    const TLookAhead::TExplore* explore;
    const TLookAhead::TSnapshot* at;
    bool parallelReplies;
    int count = 0;
    std::array<std::uint8_t, 64> cells{};
    std::array<TLineResult, 64> results{};

    static void RunLine(void* arg, int index, int slot) {
        TFork& fork = *static_cast<TFork*>(arg);
        const TLookAhead& owner = *fork.owner;
        TGameState game = owner.game_;
        TSearchContext ctx(owner.ctx_, game);
        TLookAhead line(ctx, owner.live_, owner.env_, slot, owner.rootSide_);
        line.parallelReplies_ = fork.parallelReplies;
        line.s_ = owner.s_;
        line.s_.Best = -65;
        line.s_.Found = 0;
        line.ExploreOne(*fork.explore, *fork.at, fork.cells[static_cast<std::size_t>(index)]);
        fork.results[static_cast<std::size_t>(index)] = {line.s_, game};
    }
};

// Plays the move the last method left in the register, or counts a pass.
void TLookAhead::PlayChosen() {
    if (game_.MovePriority > 0) {
        [[maybe_unused]] const bool legal =
            ApplyMove(ctx_.Board, game_.MoveColumn, game_.MoveRow, ctx_.Side);
        assert(legal && "the cascade answered a cell the side cannot play");
        s_.Passes = 0;
    } else {
        ++s_.Passes;
    }
}

// True while the game of the current line goes on. A finished line is scored
// from the side SideToMove names, which OpponentSearch turns round.
bool TLookAhead::EndTest() {
    const TDiscCounts counts = CountDiscs(ctx_.Board);
    SetCounts(counts);
    if (counts.side1 != 0 && counts.side2 != 0 && counts.Total() != 64 && s_.Passes <= 1)
        return true;
    const int mine = game_.SideToMove == 1 ? counts.side1 : counts.side2;
    const int theirs = game_.SideToMove == 1 ? counts.side2 : counts.side1;
    if (mine == 0) return false;
    // A wipe-out is recorded every time, so the last of several stays.
    if (theirs != 0 && mine - theirs <= s_.Best) return false;
    s_.Best = theirs == 0 ? 65 : mine - theirs;
    s_.Found = 1;
    s_.BestCol = s_.CandCol;
    s_.BestRow = s_.CandRow;
    if (!s_.ForecastLock) {
        game_.ForecastCount1 = static_cast<std::uint8_t>(counts.side1);
        game_.ForecastCount2 = static_cast<std::uint8_t>(counts.side2);
        game_.ForecastBoard = ctx_.Board;
    }
    return false;
}

// The cascade's move for ctx_.Side on the board, with the disc counts set as
// ComputeCandidates sets them. A remembered answer leaves Cand and OppGrid as
// they were: nothing in a line reads them before the next ComputeCandidates,
// and the snapshots restore them where a caller needs them again.
void TLookAhead::ChooseByCachedRules() {
    if (cache_ == nullptr) {
        ComputeCandidates(ctx_);
        ChooseByRules(ctx_);
        return;
    }
    const TRulesCache::TKey key{DiscBits(ctx_.Board, 1), DiscBits(ctx_.Board, 2), ctx_.Side,
                                ctx_.Draw2, ctx_.Draw4};
    TRulesCache::TAnswer answer;
    if (cache_->Find(key, answer)) {
        game_.MoveColumn = answer.column;
        game_.MoveRow = answer.row;
        game_.MovePriority = answer.priority;
        game_.DiscCount1 = std::popcount(key.side1);
        game_.DiscCount2 = std::popcount(key.side2);
        return;
    }
    ComputeCandidates(ctx_);
    ChooseByRules(ctx_);
    cache_->Store(key, {game_.MovePriority, static_cast<std::uint8_t>(game_.MoveColumn),
                        static_cast<std::uint8_t>(game_.MoveRow)});
}

// The line loop, run after a move of ctx_.Side: the sides alternate by the
// cascade (or, for the opponent of the root, by OpponentSearch) until the end
// test stops the line or a branching level has played out the rest of it.
void TLookAhead::PlayOut(bool searchReplies, bool branch, int nextLevel) {
    std::uint8_t& stop = StopFlag(nextLevel);
    for (;;) {
        if (Cancelled()) return;
        ctx_.SetSide(OtherSide(ctx_.Side));
        if (searchReplies && ctx_.Side != rootSide_) {
            ComputeCandidates(ctx_);
            OpponentSearch();
        } else {
            ChooseByCachedRules();
        }
        PlayChosen();
        if (branch && s_.Passes < 2) Branch(nextLevel);
        if (stop) return;
        if (!EndTest()) return;
    }
}

// Plays the legal cell of ctx_.Side and its line, then restores the position,
// the grid, the side and the given counts. When the level owns the result the
// cell is the one a recorded line is credited to.
void TLookAhead::ExploreOne(const TExplore& explore, const TSnapshot& at, int cell) {
    const int column = ColumnOf(cell);
    const int row = RowOf(cell);
    if (explore.ownsResult) {
        s_.CandCol = static_cast<std::uint8_t>(column);
        s_.CandRow = static_cast<std::uint8_t>(row);
    }
    s_.Passes = 0;
    StopFlag(explore.nextLevel) = 0;
    [[maybe_unused]] const bool legal = ApplyMove(ctx_.Board, column, row, at.side);
    assert(legal && "a non-zero candidate weight marks a legal cell");
    PlayOut(explore.searchReplies, explore.branch, explore.nextLevel);
    Restore(at);
    SetCounts(explore.restoreCounts);
}

// Every legal cell of ctx_.Side in column-major order. The filter leaves out
// the X- and C-squares while the counts are at most the reply-search
// threshold; those are the counts before the first line and the restored
// ones after it.
void TLookAhead::ExploreMoves(const TExplore& explore, bool parallel) {
    const TSnapshot at = Save();
    if (parallel) {
        ExploreInParallel(explore, at);
        return;
    }
    for (int column = 1; column <= 8 && !Cancelled(); ++column) {
        for (int row = 1; row <= 8; ++row) {
            const int cell = CellIndex(column, row);
            if (at.cand[cell] == 0) continue;
            if (explore.filter && Counts().Total() <= kReplySearchAbove && IsXOrCSquare(cell))
                continue;
            ExploreOne(explore, at, cell);
        }
    }
}

void TLookAhead::ExploreInParallel(const TExplore& explore, const TSnapshot& at) {
    TFork fork{this, &explore, &at, !parallelReplies_};
    int total = Counts().Total();
    ForEachCellColumnMajor([&](int cell) {
        if (at.cand[cell] == 0) return;
        if (explore.filter && total <= kReplySearchAbove && IsXOrCSquare(cell)) return;
        fork.cells[static_cast<std::size_t>(fork.count++)] = static_cast<std::uint8_t>(cell);
        total = explore.restoreCounts.Total();
    });
    if (fork.count == 0) return;
    env_.pool->ForEach(fork.count, &TFork::RunLine, &fork, slot_);

    TLookAheadState record = s_;
    for (int i = 0; i < fork.count; ++i) {
        const TLineResult& line = fork.results[static_cast<std::size_t>(i)];
        if (!line.state.Found || (line.state.Best != 65 && line.state.Best <= record.Best))
            continue;
        record.TakeRecord(line.state);
        if (!s_.ForecastLock) game_.TakeForecast(line.game);
    }
    // The rest of the state is what the last line left, as after the serial
    // loop.
    const TLineResult& last = fork.results[static_cast<std::size_t>(fork.count - 1)];
    s_ = last.state;
    s_.TakeRecord(record);
    game_.TakeMoveRegister(last.game);
    Restore(at);
    SetCounts(explore.restoreCounts);
}

// The cascade on a saved position, with a fresh register and opponent grid
// (the register may still hold the last simulated line's move).
void TLookAhead::FallBackToRules(const TSnapshot& at, const TDiscCounts& counts) {
    Restore(at);
    SetCounts(counts);
    game_.ClearMoveRegister();
    CountFlips(ctx_.OppGrid, ctx_.Board, OtherSide(ctx_.Side));
    ChooseByRules(ctx_);
}

// The opponent of the root chooses its reply by the same kind of search,
// measured from its own side; the reply is left in the move register.
void TLookAhead::OpponentSearch() {
    const TSnapshot at = Save();
    const TLookAheadState outer = s_;
    const TDiscCounts counts = Counts();
    const int m = counts.Total();
    game_.SideToMove = OtherSide(game_.SideToMove);
    s_.Best = -65;
    s_.Found = 0;
    s_.ForecastLock = 1;

    ExploreMoves({true, false, false, m > kReplySearchAbove, 2, counts}, parallelReplies_);
    if (s_.Found) {
        game_.MoveColumn = s_.BestCol;
        game_.MoveRow = s_.BestRow;
        game_.MovePriority = 1;
    } else {
        FallBackToRules(at, counts);
    }

    Restore(at);
    s_.TakeRecord(outer);
    s_.CandCol = outer.CandCol;
    s_.CandRow = outer.CandRow;
    s_.Stop2 = 0;
    game_.SideToMove = OtherSide(game_.SideToMove);
    s_.ForecastLock = 0;
}

// Branching level 2, 3 or 4, run inside a line after a move or a pass: takes
// over the rest of the caller's line by branching over every move of the side
// to move, each branch played out (and branched deeper near the end).
void TLookAhead::Branch(int level) {
    const TSnapshot entry = Save();
    ctx_.SetSide(OtherSide(ctx_.Side));
    ComputeCandidates(ctx_);
    // The depth of the levels below is decided by the total at this level's
    // start, even when a forced move below changes it.
    const int m = Counts().Total();

    if (!HasLegalCell(ctx_.Cand)) {
        const std::uint8_t passer = ctx_.Side;
        ctx_.SetSide(OtherSide(passer));
        ComputeCandidates(ctx_);
        ChooseByRules(ctx_);
        if (game_.MovePriority <= 0) {
            // Neither side can move: the caller's end test scores the line.
            s_.Passes = static_cast<std::uint8_t>(s_.Passes + 2);
            Restore(entry);
            return;
        }
        PlayChosen();
        // Branch over whoever is to move now: the side that passed if it can
        // move again, else the side that has just moved.
        ctx_.SetSide(passer);
        ComputeCandidates(ctx_);
        if (!HasLegalCell(ctx_.Cand)) {
            ctx_.SetSide(OtherSide(passer));
            ComputeCandidates(ctx_);
            if (!HasLegalCell(ctx_.Cand)) {
                // That move ended the game; the caller's position is restored
                // below, so the line is scored here.
                s_.Passes = 2;
                EndTest();
                StopFlag(level) = 1;
                Restore(entry);
                return;
            }
        }
    }

    const int next = level + 1;
    const bool deeper = (level == 2 && m > kLevel3Above) || (level == 3 && m > kLevel4Above);
    ExploreMoves({false, true, false, deeper, next, Counts()}, false);
    StopFlag(level) = 1;
    Restore(entry);
}

void TLookAhead::Run() {
    ctx_.Mode = kModeLookAhead;
    s_ = TLookAheadState{};
    const int n = live_.Total();
    if (n > 4 && n < 64) {
        const bool endgame = n > kReplySearchAbove;
        ExploreMoves({true, true, endgame, endgame, 2, live_},
                     env_.pool != nullptr && n < kSerialFromDiscs);
        if (s_.Found) {
            game_.ForecastReady = 1;
            game_.MoveColumn = s_.BestCol;
            game_.MoveRow = s_.BestRow;
            game_.MovePriority = 1;
            return;
        }
    }
    FallBackToRules({game_.GameBoard, game_.MoveGrid, game_.SideToMove}, live_);
}

} // namespace

void LookAhead(TSearchContext& ctx, const TDiscCounts& live, const TLookAheadEnv& env) {
    TLookAhead(ctx, live, env, 0, ctx.Side).Run();
}

} // namespace dorvane
