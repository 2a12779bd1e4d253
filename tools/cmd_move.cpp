// dorvane-tool move: the computer player's choice for positions read from
// standard input, one per line: "<64 cells> <side flag> <type> <draw2> <draw4>".
// The two draws of the search come from the line instead of the random
// source, so a line always gives the same answer. Type 4 is the master, which
// draws nothing: it answers with its evaluation in discs for the mover and
// whether that is the exact final margin.
#include "tool_commands.h"

#include "game/engine.h"
#include "game/master/master.h"
#include "game/position_text.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace dorvane::tool {

namespace {

struct TMoveRequest {
    TPosition position;
    int type = 2;
    std::uint32_t draw2 = 0;
    std::uint32_t draw4 = 0;
};

bool ParseRequest(const std::string& line, TMoveRequest& out, std::string& error) {
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;)
        fields.push_back(word);
    if (fields.size() != 5) {
        error = "expected <position> <side> <type> <draw2> <draw4>";
        return false;
    }
    std::string positionText = fields[0];
    positionText += ' ';
    positionText += fields[1];
    if (!ParsePosition(positionText, out.position, error)) return false;
    long type = 0;
    long draw2 = 0;
    long draw4 = 0;
    if (!ParseInt(fields[2], -1000, 1000, type)) {
        error = "the type must be a whole number (1 simple, 3 look-ahead, 4 master, else rules)";
        return false;
    }
    if (!ParseInt(fields[3], 0, 1, draw2) || !ParseInt(fields[4], 0, 3, draw4)) {
        error = "draw2 must be 0 or 1 and draw4 0..3";
        return false;
    }
    out.type = static_cast<int>(type);
    out.draw2 = static_cast<std::uint32_t>(draw2);
    out.draw4 = static_cast<std::uint32_t>(draw4);
    return true;
}

// The answer line: the chosen cell (or "--" for no move) and its priority;
// the look-ahead adds its forecast of the final counts of side 1 and side 2,
// or "- -" when it found no line to forecast from.
std::string FormatAnswer(const TGameState& game, int type) {
    const bool found = game.MovePriority > 0;
    std::string answer = found ? CellName(game.MoveColumn, game.MoveRow) : "--";
    answer += ' ';
    answer += std::to_string(game.MovePriority);
    if (type == 3) {
        if (game.ForecastReady)
            answer += ' ' + std::to_string(game.ForecastCount1) + ' ' +
                      std::to_string(game.ForecastCount2);
        else
            answer += " - -";
    }
    return answer;
}

std::string MasterAnswer(TGameState& game, master::TMasterSearch& search) {
    const master::TSearchResult result = master::FindMasterMove(game, search);
    if (game.MovePriority <= 0) return "-- 0";
    char evaluation[32];
    std::snprintf(evaluation, sizeof evaluation, "%.2f", master::Discs(result.score));
    return CellName(game.MoveColumn, game.MoveRow) + " 1 " + evaluation +
           (result.exact ? " exact" : " estimate");
}

} // namespace

int RunMove(Args args) {
    if (!args.empty())
        return Usage("move takes no arguments; it reads positions from standard input");
    bool allRead = true;
    int lineNumber = 0;
    std::unique_ptr<master::TMasterSearch> master; // its table is made on first use
    for (std::string line; std::getline(std::cin, line);) {
        ++lineNumber;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        TMoveRequest request;
        std::string error;
        if (!ParseRequest(line, request, error)) {
            std::fprintf(stderr, "dorvane-tool: move: line %d: %s\n", lineNumber, error.c_str());
            allRead = false;
            continue;
        }
        TGameState game;
        game.GameBoard = request.position.board;
        game.SideToMove = request.position.sideToMove;
        game.RecountDiscs();
        if (request.type == 4) {
            if (!master) master = std::make_unique<master::TMasterSearch>();
            std::printf("%s\n", MasterAnswer(game, *master).c_str());
            std::fflush(stdout);
            continue;
        }
        TScriptedRandom draws;
        draws.Push(request.draw2);
        draws.Push(request.draw4);
        FindMove(game, draws, SearchTypeOf(request.type));
        std::printf("%s\n", FormatAnswer(game, request.type).c_str());
        std::fflush(stdout);
    }
    return allRead ? 0 : 2;
}

} // namespace dorvane::tool
