// dorvane-tool dvn FILE: what a saved game holds, as JSON, or why the game
// would refuse it.
#include "saved_game_input.h"
#include "tool_commands.h"

#include "game/board.h"
#include "play/saved_game.h"

#include <charconv>
#include <cstdio>
#include <iterator>
#include <string>

namespace dorvane::tool {

namespace {

// Shortest text that reads back as the same single (0.1f prints 0.1).
std::string FloatText(float value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("null");
}

std::string MoveText(const TSavedGame& game, int k) {
    const int column = game.March.Moves[k][0];
    const int row = game.March.Moves[k][1];
    return "{\"move\": " + std::to_string(k) + ", \"cell\": \"" + CellName(column, row) +
           "\", \"side\": " + std::to_string(game.March.Who[k]) + "}";
}

std::string GameJson(const TSavedGame& game) {
    std::string out = "{\n";
    out += "  \"version\": " + std::to_string(game.VersionFDVN) + ",\n";
    out += "  \"currentR\": " + std::to_string(game.CurrentR) + ",\n";
    out += "  \"currentV\": " + std::to_string(game.CurrentV) + ",\n";
    out += "  \"currentE\": " + std::to_string(game.CurrentE) + ",\n";
    out +=
        "  \"finished\": " + std::string(game.CurrentE == game.CurrentR ? "true" : "false") + ",\n";
    out += "  \"beginGame\": " + std::to_string(game.BeginGame) + ",\n";
    out += "  \"starter\": " + std::to_string(game.March.Who[0]) + ",\n";
    out += "  \"s3r\": " + FloatText(game.S3R) + ",\n";
    out += "  \"s4r\": " + FloatText(game.S4R) + ",\n";
    out += "  \"intellect\": " + std::to_string(game.Intellect) + ",\n";
    out += "  \"regim\": " + std::to_string(game.Regim) + ",\n";
    out += "  \"moves\": [";
    for (int k = 1; k <= game.CurrentR; ++k)
        out += std::string(k > 1 ? ",\n" : "\n") + "    " + MoveText(game, k);
    out += game.CurrentR > 0 ? "\n  ]\n}\n" : "]\n}\n";
    return out;
}

} // namespace

int RunDvn(Args args) {
    if (args.size() != 1) return Usage("dvn needs one file: dvn FILE");
    TSavedGame game;
    if (const int code = LoadSavedGame("dvn", std::string(args[0]), game); code != 0) return code;
    std::fputs(GameJson(game).c_str(), stdout);
    return 0;
}

} // namespace dorvane::tool
