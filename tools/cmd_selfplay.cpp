// dorvane-tool selfplay: games between two strengths of the computer player,
// with the results from side 1's view and the time each strength takes per move.
#include "tool_commands.h"

#include "game/selfplay.h"

#include <array>
#include <cstdio>
#include <string>

namespace dorvane::tool {

namespace {

struct TSelfPlayOptions {
    long games = 0;
    long seed = 0;
    long strength1 = 0;
    long strength2 = 0;
};

constexpr const char* kSelfPlayUsage =
    "selfplay --games N --seed S --strength1 A --strength2 B (strengths 1..3)";

bool ParseOptions(Args args, TSelfPlayOptions& out, std::string& error) {
    struct TOption {
        std::string_view name;
        long low, high;
        long* value;
        bool seen = false;
    };
    std::array<TOption, 4> options = {{
        {"--games", 1, 1000000, &out.games},
        {"--seed", 0, 2147483647, &out.seed},
        {"--strength1", 1, 3, &out.strength1},
        {"--strength2", 1, 3, &out.strength2},
    }};
    for (std::size_t i = 0; i < args.size(); i += 2) {
        TOption* option = nullptr;
        for (TOption& candidate : options) {
            if (candidate.name == args[i]) option = &candidate;
        }
        if (option == nullptr) {
            error = "unknown option '" + std::string(args[i]) + "'";
            return false;
        }
        if (i + 1 >= args.size() ||
            !ParseInt(args[i + 1], option->low, option->high, *option->value)) {
            error = std::string(option->name) + " needs a whole number from " +
                    std::to_string(option->low) + " to " + std::to_string(option->high);
            return false;
        }
        option->seen = true;
    }
    for (const TOption& option : options) {
        if (!option.seen) {
            error = "missing " + std::string(option.name);
            return false;
        }
    }
    return true;
}

} // namespace

int RunSelfPlay(Args args) {
    TSelfPlayOptions options;
    std::string error;
    if (!ParseOptions(args, options, error))
        return Usage("selfplay: " + error + "\nusage: " + kSelfPlayUsage);

    TRandom random(static_cast<std::uint64_t>(options.seed));
    const std::array<int, 2> types = {static_cast<int>(options.strength1),
                                      static_cast<int>(options.strength2)};
    int wins = 0;
    int draws = 0;
    int losses = 0;
    long marginSum = 0;
    std::array<TMoveTimes, 4> byStrength; // indexed by strength 1..3
    for (long g = 0; g < options.games; ++g) {
        const TSelfPlayGame game =
            PlayEngineGame(random, {SearchTypeOf(types[0]), SearchTypeOf(types[1])});
        if (game.engineFault) {
            std::fprintf(stderr,
                         "dorvane-tool: selfplay: game %ld: the engine chose an illegal move\n",
                         g + 1);
            return 1;
        }
        const int margin = game.Margin();
        marginSum += margin;
        if (margin > 0)
            ++wins;
        else if (margin < 0)
            ++losses;
        else
            ++draws;
        byStrength[types[0]].Merge(game.times[0]);
        byStrength[types[1]].Merge(game.times[1]);
    }
    std::printf("games %ld\n", options.games);
    std::printf("side 1 (strength %ld): wins %d draws %d losses %d\n", options.strength1, wins,
                draws, losses);
    std::printf("average margin %.2f\n",
                static_cast<double>(marginSum) / static_cast<double>(options.games));
    for (int strength = 1; strength <= 3; ++strength) {
        const TMoveTimes& times = byStrength[strength];
        if (times.moves == 0) continue;
        std::printf("strength %d: moves %d, mean %.3f ms, max %.3f ms per move\n", strength,
                    times.moves, 1000.0 * times.totalSeconds / times.moves,
                    1000.0 * times.maxSeconds);
    }
    return 0;
}

} // namespace dorvane::tool
