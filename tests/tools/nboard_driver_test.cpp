// dorvane-tool nboard from the outside, the way an Othello program drives it:
// the test plays black with the first legal cell of each turn and the tool
// plays white through go, each move followed by ping/pong, until the game
// ends; lines the tool must refuse come in between and the game goes on.
#include "game/ggf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dorvane {
namespace {

// The tool as a child process with its standard input and output on pipes.
class TToolProcess {
public:
    explicit TToolProcess(const std::vector<std::string>& args) {
        int toChild[2];
        int fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            close(toChild[1]);
            close(fromChild[0]);
            std::vector<char*> argv;
            static std::string tool = DORVANE_TOOL;
            argv.push_back(tool.data());
            for (const std::string& arg : args)
                argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        in_ = toChild[1];
        out_ = fdopen(fromChild[0], "r");
    }
    ~TToolProcess() {
        if (pid_ > 0 && Finish() < 0) kill(pid_, SIGKILL);
        if (out_ != nullptr) std::fclose(out_);
    }
    TToolProcess(const TToolProcess&) = delete;
    TToolProcess& operator=(const TToolProcess&) = delete;

    bool Running() const { return pid_ > 0 && out_ != nullptr; }

    void Send(const std::string& line) {
        const std::string text = line + "\n";
        ASSERT_EQ(write(in_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    // The next line without its end; "<end>" when the tool closed its output.
    std::string Line() {
        std::string line;
        for (int c; (c = std::getc(out_)) != EOF && c != '\n';)
            line += static_cast<char>(c);
        return line.empty() && std::feof(out_) ? "<end>" : line;
    }

    // Closes the tool's input and waits: its exit code, or -1.
    int Finish() {
        if (in_ >= 0) close(in_);
        in_ = -1;
        int status = 0;
        if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int in_ = -1;
    std::FILE* out_ = nullptr;
};

std::string StartRecord() {
    return "(;GM[Othello]PC[test]PB[test]PW[Dorvane]TY[8]BO[8 "
           "---------------------------O*------*O--------------------------- *];)";
}

TRecordMove FirstLegalMove(const TPosition& position) {
    TFlipGrid grid;
    CountFlips(grid, position.board, position.sideToMove);
    for (int column = 1; column <= 8; ++column)
        for (int row = 1; row <= 8; ++row)
            if (grid[CellIndex(column, row)] != 0)
                return {static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row)};
    return kPass;
}

// The lines the tool must refuse without losing its game, then a hint.
void SendHostileLinesAndAHint(TToolProcess& tool, const TPosition& position) {
    tool.Send("frobnicate 1 2");
    EXPECT_EQ(tool.Line().rfind("status error: unknown command", 0), 0u);
    tool.Send("set game (;GM[Othello]TY[10]BO[10 " + std::string(100, '-') + " *];)");
    EXPECT_EQ(tool.Line().rfind("status error: set game: ", 0), 0u);
    tool.Send("set game (;GM[Othello]BO[8 " + std::string(64, '-') + " *]B[f5;)");
    EXPECT_EQ(tool.Line().rfind("status error: set game: unbalanced brackets", 0), 0u);
    tool.Send("move a1/0.00/1.0");
    EXPECT_EQ(tool.Line(), std::string("status error: move: a1 is not a legal move for ") +
                               (position.sideToMove == 1 ? "black" : "white"));
    tool.Send("move q9");
    EXPECT_EQ(tool.Line().rfind("status error: move: bad move", 0), 0u);
    tool.Send("set game " + std::string(kMostGgfBytes + 100, '('));
    EXPECT_EQ(tool.Line().rfind("status error: a line longer than", 0), 0u);
    tool.Send("set depth many");
    EXPECT_EQ(tool.Line().rfind("status error: set depth", 0), 0u);

    tool.Send("hint 3");
    EXPECT_EQ(tool.Line(), "status thinking");
    std::string line = tool.Line();
    char name[3] = {};
    double eval = 0;
    int depth = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "search %2s %lf 0 %d", name, &eval, &depth), 3) << line;
    TRecordMove move;
    ASSERT_TRUE(ParseOthelloMove(name, move)) << line;
    TPosition after = position;
    std::string error;
    EXPECT_TRUE(PlayRecordMove(after, move, error)) << line << ": " << error;
    EXPECT_EQ(depth, 64 - CountDiscs(position.board).Total());
    EXPECT_LE(eval, 64);
    EXPECT_GE(eval, -64);
    EXPECT_EQ(tool.Line(), "status");
}

void PlayAgainst(int depth) {
    TToolProcess tool({"nboard", "--seed", "7"});
    ASSERT_TRUE(tool.Running());
    tool.Send("nboard 2");
    EXPECT_EQ(tool.Line(), "set myname Dorvane");
    tool.Send("set depth " + std::to_string(depth));
    tool.Send("set contempt 0");
    tool.Send("set game " + StartRecord());

    TPosition position = OthelloStartPosition();
    int ping = 0;
    int turn = 0;
    while (!IsGameOver(position.board)) {
        std::string move;
        if (position.sideToMove == 0) {
            tool.Send("go");
            EXPECT_EQ(tool.Line(), "status thinking...");
            const std::string answer = tool.Line();
            ASSERT_EQ(answer.rfind("=== ", 0), 0u) << answer;
            move = answer.substr(4, answer.find('/') - 4);
            // The move alone (a pass, or no forecast: every line of the
            // other side ends with it wiped out), or with the forecast margin
            // and the seconds.
            if (answer.size() > 6) {
                double eval = 0;
                double seconds = 0;
                char more = 0;
                EXPECT_EQ(std::sscanf(answer.c_str() + 6, "/%lf/%lf%c", &eval, &seconds, &more), 2)
                    << answer;
                EXPECT_LE(std::abs(eval), 64) << answer;
            }
            EXPECT_EQ(tool.Line(), "status");
        } else {
            const TRecordMove mine = FirstLegalMove(position);
            move = OthelloName(mine);
        }
        TRecordMove played;
        ASSERT_TRUE(ParseOthelloMove(move, played)) << move;
        std::string error;
        ASSERT_TRUE(PlayRecordMove(position, played, error)) << "turn " << turn << ": " << error;
        tool.Send("move " + (played.IsPass() ? std::string("PA") : move) + "/0.00/0.1");
        if (turn == 6) SendHostileLinesAndAHint(tool, position);
        tool.Send("ping " + std::to_string(++ping));
        ASSERT_EQ(tool.Line(), "pong " + std::to_string(ping)) << "turn " << turn;
        ++turn;
    }
    // The tool's game ended where the test's did.
    tool.Send("go");
    EXPECT_EQ(tool.Line(), "status error: go: the game is over");
    tool.Send("learn");
    EXPECT_EQ(tool.Line(), "learned");
    tool.Send("quit");
    EXPECT_EQ(tool.Line(), "<end>");
    EXPECT_EQ(tool.Finish(), 0);
}

TEST(NboardTool, PlaysAGameToItsEndAtTheLowStrength) {
    PlayAgainst(1);
}
TEST(NboardTool, PlaysAGameToItsEndAtTheAverageStrength) {
    PlayAgainst(2);
}
TEST(NboardTool, PlaysAGameToItsEndAtTheHighStrength) {
    PlayAgainst(3);
}

// White has no move, black takes b5 and c5 with d5, then h2 with h1: a
// pass for white each turn, and black ends 12 to 0.
TEST(NboardTool, PassesWithoutAMoveAndForecastsThroughThePass) {
    TToolProcess tool({"nboard"});
    ASSERT_TRUE(tool.Running());
    tool.Send("nboard 2");
    EXPECT_EQ(tool.Line(), "set myname Dorvane");
    tool.Send("set depth 3");
    tool.Send("set game (;GM[Othello]TY[8]BO[8 ---------------O-------*-------**OO----*-------*---"
              "----*-------* O];)");
    tool.Send("hint 2");
    EXPECT_EQ(tool.Line(), "status thinking");
    EXPECT_EQ(tool.Line(), "search pa -12.00 0 54");
    EXPECT_EQ(tool.Line(), "status");
    for (const char* black : {"d5", "h1"}) {
        tool.Send("go");
        EXPECT_EQ(tool.Line(), "status thinking...");
        EXPECT_EQ(tool.Line(), "=== pa");
        EXPECT_EQ(tool.Line(), "status");
        tool.Send("move pa");
        tool.Send(std::string("move ") + black);
    }
    tool.Send("go");
    EXPECT_EQ(tool.Line(), "status error: go: the game is over");
    EXPECT_EQ(tool.Finish(), 0);
}

TEST(NboardTool, EndOfInputEndsTheSession) {
    TToolProcess tool({"nboard"});
    ASSERT_TRUE(tool.Running());
    tool.Send("nboard 2");
    EXPECT_EQ(tool.Line(), "set myname Dorvane");
    tool.Send("ping 5");
    EXPECT_EQ(tool.Line(), "pong 5");
    EXPECT_EQ(tool.Finish(), 0);
}

// The name is said once, in answer to "nboard"; a ping is answered with
// the digits of its number and nothing of whatever else came with it.
TEST(NboardTool, SaysItsNameOnceAndPongsOnlyDigits) {
    TToolProcess tool({"nboard"});
    ASSERT_TRUE(tool.Running());
    tool.Send("ping 1");
    EXPECT_EQ(tool.Line(), "pong 1"); // nothing said before the other side spoke
    tool.Send("nboard 2");
    EXPECT_EQ(tool.Line(), "set myname Dorvane");
    const std::vector<std::pair<std::string, std::string>> pings = {
        {"ping 42", "pong 42"},
        {"ping", "pong"},
        {"ping 7\x1b]0;owned\x07", "pong 7"},
        {std::string("ping 9\0tail", 11), "pong 9"},
        {"ping \x1b[2J", "pong"},
        {"ping 12345678901234567890123", "pong 123456789012345678"},
    };
    for (const auto& [line, answer] : pings) {
        tool.Send(line);
        EXPECT_EQ(tool.Line(), answer) << line.size();
    }
    tool.Send("ping 3");
    EXPECT_EQ(tool.Line(), "pong 3"); // and nothing else came in between
    EXPECT_EQ(tool.Finish(), 0);
}

} // namespace
} // namespace dorvane
