// dorvane-tool nboard: the computer player as an engine for Othello programs,
// over the NBoard protocol (version 2) on standard input and output. Commands
// are handled one after another in the order they come, each answer line is
// flushed at once, and a command the engine cannot take is answered with a
// "status error: ..." line (and the reason on standard error) while the game
// stays as it was.
#include "nboard_engine.h"
#include "tool_commands.h"

#include "game/ggf.h"
#include "game/master/master.h"
#include "game/random.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace dorvane::tool {

namespace {

// A set game line with the longest record the reader takes, and a little.
constexpr std::size_t kLongestLine = kMostGgfBytes + 64;

enum class TLineRead { Line, TooLong, End };

// One line without its end; a longer line is read to its end but not kept.
TLineRead ReadLine(std::FILE* in, std::string& line) {
    line.clear();
    bool tooLong = false;
    int c = 0;
    while ((c = std::getc(in)) != EOF && c != '\n') {
        if (line.size() < kLongestLine)
            line += static_cast<char>(c);
        else
            tooLong = true;
    }
    if (c == EOF && line.empty() && !tooLong) return TLineRead::End;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return tooLong ? TLineRead::TooLong : TLineRead::Line;
}

// The first word of text and what follows it, blanks around both dropped.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t begin = 0;
    while (begin < text.size() && blank(text[begin]))
        ++begin;
    std::size_t end = begin;
    while (end < text.size() && !blank(text[end]))
        ++end;
    std::size_t rest = end;
    while (rest < text.size() && blank(text[rest]))
        ++rest;
    std::size_t restEnd = text.size();
    while (restEnd > rest && blank(text[restEnd - 1]))
        --restEnd;
    return {text.substr(begin, end - begin), text.substr(rest, restEnd - rest)};
}

std::string Decimal(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

class TNboardSession {
public:
    explicit TNboardSession(std::uint64_t seed) : random_(seed) {}

    void Reply(const std::string& line) {
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }

    void Refuse(const std::string& why) {
        Reply("status error: " + why);
        std::fprintf(stderr, "dorvane-tool: nboard: %s\n", why.c_str());
    }

    // False when the session ends.
    bool Handle(std::string_view line) {
        const auto [command, rest] = SplitWord(line);
        if (command.empty()) return true;
        if (command == "quit") return false;
        if (command == "nboard")
            Reply("set myname Dorvane");
        else if (command == "set")
            Set(rest);
        else if (command == "move")
            Move(rest);
        else if (command == "hint")
            Hint(rest);
        else if (command == "go")
            Go();
        else if (command == "ping")
            Pong(rest);
        else if (command == "learn")
            Reply("learned"); // the engine keeps no book to learn into
        else
            Refuse("unknown command '" + Shown(command) + "'");
        return true;
    }

private:
    // The protocol's ping carries a number: only its digits go back, so no
    // control byte from the other side reaches its terminal or log.
    void Pong(std::string_view rest) {
        const std::size_t digits =
            std::min<std::size_t>({rest.find_first_not_of("0123456789"), rest.size(), 18});
        Reply(digits == 0 ? std::string("pong") : "pong " + std::string(rest.substr(0, digits)));
    }

    static std::string Shown(std::string_view text) {
        std::string shown(text.substr(0, 32));
        for (char& c : shown)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f)
                c = '?';
        return shown;
    }

    void Set(std::string_view text) {
        const auto [what, value] = SplitWord(text);
        if (what == "game") {
            TGgfGame game;
            std::string error;
            if (!ParseGgf(value, game, error)) return Refuse("set game: " + error);
            position_ = game.final;
        } else if (what == "depth") {
            long depth = 0;
            if (!ParseInt(value, 1, 1000000, depth))
                return Refuse("set depth needs a whole number from 1");
            type_ = depth == 1   ? TSearchType::Simple
                    : depth == 2 ? TSearchType::Rules
                                 : TSearchType::LookAhead;
            master_ = depth >= 4;
        } else if (what == "contempt") {
            // Accepted and ignored: the engine plays for the largest margin.
        } else {
            Refuse("unknown setting '" + Shown(what) + "'");
        }
    }

    void Move(std::string_view text) {
        const std::string_view name = SplitWord(text.substr(0, text.find('/'))).first;
        TRecordMove move;
        if (!ParseOthelloMove(name, move)) return Refuse("move: bad move '" + Shown(text) + "'");
        TPosition after = position_;
        std::string error;
        if (!PlayRecordMove(after, move, error)) return Refuse("move: " + error);
        position_ = after;
    }

    // The empty cells: every search plays its lines out to the end.
    int Depth() const { return 64 - CountDiscs(position_.board).Total(); }

    // The move of the strength with its forecast. The lower strengths and a
    // pass foresee nothing; the high strength's forecast after the move
    // stands in.
    TEngineChoice Answer(TSearchType type) {
        TEngineChoice choice = ChooseMove(position_, type, random_);
        if (choice.found && !choice.margin)
            choice.margin = ForecastAfter(position_, choice.move, random_);
        return choice;
    }

    // The look-ahead ranks its moves by one line each and keeps only the best,
    // so there is one move to show however many are asked for.
    void Hint(std::string_view text) {
        long wanted = 0;
        if (!ParseInt(text, 1, 64, wanted)) return Refuse("hint needs a count from 1 to 64");
        if (IsGameOver(position_.board)) return Refuse("hint: the game is over");
        Reply("status thinking");
        if (master_) return MasterHint(static_cast<std::size_t>(wanted));
        const TEngineChoice choice = Answer(TSearchType::LookAhead);
        if (choice.found && choice.margin)
            Reply("search " + OthelloName(choice.move) + " " + Decimal(*choice.margin) + " 0 " +
                  std::to_string(Depth()));
        Reply("status");
    }

    // The master scores every move, so a hint shows as many as are asked.
    void MasterHint(std::size_t wanted) {
        if (CountLegalMoves(position_.board, position_.sideToMove) != 0) {
            const master::TSearchResult result = Master().Search(
                master::PositionOf(position_.board, position_.sideToMove), {.rankAll = true});
            const std::string depth = result.exact ? "100%" : std::to_string(result.depth);
            for (std::size_t i = 0; i < result.ranked.size() && i < wanted; ++i)
                Reply("search " + OthelloName(RecordMoveOf(result.ranked[i].move)) + " " +
                      Decimal(master::Discs(result.ranked[i].score)) + " 0 " + depth);
        }
        Reply("status");
    }

    static TRecordMove RecordMoveOf(int bit) {
        return {static_cast<std::uint8_t>(bit / 8 + 1), static_cast<std::uint8_t>(bit % 8 + 1)};
    }

    master::TMasterSearch& Master() {
        if (!masterSearch_) masterSearch_ = std::make_unique<master::TMasterSearch>();
        return *masterSearch_;
    }

    void Go() {
        if (IsGameOver(position_.board)) return Refuse("go: the game is over");
        Reply("status thinking...");
        const auto start = std::chrono::steady_clock::now();
        if (CountLegalMoves(position_.board, position_.sideToMove) == 0) {
            Reply("=== pa");
            Reply("status");
            return;
        }
        if (master_) {
            const master::TSearchResult result =
                Master().Search(master::PositionOf(position_.board, position_.sideToMove));
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            Reply("=== " + OthelloName(RecordMoveOf(result.move)) + "/" +
                  Decimal(master::Discs(result.score)) + "/" + Decimal(seconds));
            Reply("status");
            return;
        }
        const TEngineChoice choice = Answer(type_);
        if (!choice.found) return Refuse("go: the engine found no move");
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (choice.margin)
            Reply("=== " + OthelloName(choice.move) + "/" + Decimal(*choice.margin) + "/" +
                  Decimal(seconds));
        else
            Reply("=== " + OthelloName(choice.move));
        Reply("status");
    }

    TPosition position_ = OthelloStartPosition();
    TSearchType type_ = TSearchType::Rules;               // the game's own default strength
    bool master_ = false;                                 // set depth 4 and more
    std::unique_ptr<master::TMasterSearch> masterSearch_; // its table is made on first use
    TRandom random_;
};

} // namespace

int RunNboard(Args args) {
    long seed = 1;
    if (!args.empty() &&
        (args.size() != 2 || args[0] != "--seed" || !ParseInt(args[1], 0, 2147483647, seed)))
        return Usage("nboard takes only --seed S (a whole number, 1 by default)");
    // The name goes out when the other side says "nboard", not before too.
    TNboardSession session(static_cast<std::uint64_t>(seed));
    for (std::string line;;) {
        const TLineRead read = ReadLine(stdin, line);
        if (read == TLineRead::End) break;
        if (read == TLineRead::TooLong) {
            session.Refuse("a line longer than " + std::to_string(kLongestLine) + " bytes");
            continue;
        }
        if (!session.Handle(line)) break;
    }
    return 0;
}

} // namespace dorvane::tool
