#include "nboard_engine.h"

namespace dorvane::tool {

namespace {

TGameState StateOf(const TPosition& position) {
    return TGameState::At(position.board, position.sideToMove);
}

// The forecast from the side to move's view.
std::optional<int> ForecastMargin(const TGameState& game) {
    if (game.ForecastReady == 0) return std::nullopt;
    const int margin = int(game.ForecastCount1) - int(game.ForecastCount2);
    return game.SideToMove == 1 ? margin : -margin;
}

} // namespace

TEngineChoice ChooseMove(const TPosition& position, TSearchType type, TRandomSource& random) {
    TEngineChoice choice;
    if (CountLegalMoves(position.board, position.sideToMove) == 0) {
        choice.found = true;
        choice.move = kPass;
        return choice;
    }
    TGameState game = StateOf(position);
    FindMove(game, random, type);
    if (game.MovePriority <= 0) return choice;
    choice.found = true;
    choice.move = {static_cast<std::uint8_t>(game.MoveColumn),
                   static_cast<std::uint8_t>(game.MoveRow)};
    if (type == TSearchType::LookAhead) choice.margin = ForecastMargin(game);
    return choice;
}

std::optional<int> ForecastAfter(const TPosition& position, TRecordMove move,
                                 TRandomSource& random) {
    TPosition after = position;
    std::string ignored;
    if (!PlayRecordMove(after, move, ignored)) return std::nullopt;
    const std::uint8_t mover = position.sideToMove;
    if (IsGameOver(after.board)) {
        const TDiscCounts counts = CountDiscs(after.board);
        const int margin = counts.side1 - counts.side2;
        return mover == 1 ? margin : -margin;
    }
    // The side that moves next: the other one, or the mover again when the
    // other has to pass.
    if (CountLegalMoves(after.board, after.sideToMove) == 0) after.sideToMove = mover;
    TGameState game = StateOf(after);
    FindMove(game, random, TSearchType::LookAhead);
    const std::optional<int> margin = ForecastMargin(game);
    if (!margin) return std::nullopt;
    return after.sideToMove == mover ? *margin : -*margin;
}

} // namespace dorvane::tool
