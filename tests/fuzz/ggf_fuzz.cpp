// Game records come from other programs over the NBoard protocol. Whatever
// the text, the reader answers with a legal game or a reason, and a game it
// takes replays to the position it reports and reads back the same once
// written out.
#include "game/ggf.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TGgfGame game;
    std::string error;
    if (!ParseGgf(text, game, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (game.record.moves.size() > kMostRecordMoves) std::abort();
    TPosition replayed;
    if (!ReplayRecord(game.record, replayed, error) || !(replayed == game.final)) std::abort();
    TGgfGame again;
    if (!ParseGgf(FormatGgf(game.record, {"black", "white"}), again, error)) std::abort();
    if (!(again.final == game.final) || !(again.record.moves == game.record.moves) ||
        !(again.record.start == game.record.start))
        std::abort();
    return 0;
}
