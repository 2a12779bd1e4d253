// Saved games come from anywhere (mail, downloads, a second copy's command
// line). Whatever the bytes, the reader answers with a game or a reason, and a
// game it accepts is exactly the bytes it came from and safe to show.
#include "game/board.h"
#include "play/saved_game.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const std::span<const std::uint8_t> bytes(data, size);
    const TSavedGameResult result = DecodeSavedGame(bytes);
    if (!result.game) {
        if (result.error == TSavedGameError::None || result.detail.empty()) std::abort();
        return 0;
    }
    const TSavedGame& game = *result.game;
    if (result.error != TSavedGameError::None || game.CurrentV > game.CurrentR ||
        game.CurrentR > kMaxRecordedMoves || game.Intellect < 1 || game.Intellect > 3 ||
        game.Regim < 1 || game.Regim > 2)
        std::abort();
    for (int k = 1; k <= game.CurrentR; ++k)
        if (!IsPlayingCell(game.March.Moves[k][0], game.March.Moves[k][1])) std::abort();
    const std::vector<std::uint8_t> again = EncodeSavedGame(game);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
    return 0;
}
