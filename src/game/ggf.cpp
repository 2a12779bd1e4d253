#include "ggf.h"

#include <cctype>
#include <cstdlib>
#include <utility>

namespace dorvane {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
}

std::string_view Trimmed(std::string_view text) {
    std::size_t begin = 0;
    SkipBlanks(text, begin);
    std::size_t end = text.size();
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// A piece of outside text fit for an error line: short and printable.
std::string Shown(std::string_view text) {
    constexpr std::size_t kShown = 24;
    std::string shown;
    for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        shown += std::isprint(c) != 0 ? static_cast<char>(c) : '?';
    }
    if (text.size() > kShown) shown += "...";
    return shown;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

struct TProperty {
    std::string_view name;
    std::string_view value;
};

// NAME[value] from pos on; a backslash keeps the next character in the value.
bool ReadProperty(std::string_view text, std::size_t& pos, TProperty& out, std::string& error) {
    constexpr std::size_t kLongestName = 8;
    const std::size_t start = pos;
    while (pos < text.size() && pos - start <= kLongestName &&
           std::isupper(static_cast<unsigned char>(text[pos])) != 0)
        ++pos;
    if (pos == start) {
        error = "unexpected '" + Shown(text.substr(pos, 1)) + "' at offset " + std::to_string(pos);
        return false;
    }
    if (pos - start > kLongestName) {
        error = "a property name longer than " + std::to_string(kLongestName) + " letters";
        return false;
    }
    out.name = text.substr(start, pos - start);
    SkipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != '[') {
        error = "property " + std::string(out.name) + " has no [value]";
        return false;
    }
    const std::size_t valueStart = ++pos;
    while (pos < text.size() && text[pos] != ']') {
        if (text[pos] == '\\') ++pos;
        ++pos;
    }
    if (pos >= text.size()) {
        error = "unbalanced brackets: the value of " + std::string(out.name) + " is not closed";
        return false;
    }
    out.value = text.substr(valueStart, pos - valueStart);
    ++pos;
    return true;
}

// TY: only the plain game on the 8x8 board.
bool CheckType(std::string_view value, std::string& error) {
    const std::string_view type = Trimmed(value);
    if (type == "8") return true;
    std::string reasons;
    const auto add = [&reasons](const std::string& reason) {
        reasons += (reasons.empty() ? "" : ", ") + reason;
    };
    std::size_t i = 0;
    while (i < type.size()) {
        const char c = type[i];
        if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            std::size_t end = i;
            while (end < type.size() && std::isdigit(static_cast<unsigned char>(type[end])) != 0)
                ++end;
            // The number after 'r' is the count of random discs, read with it.
            if (type.substr(i, end - i) != "8") add("board size " + Shown(type.substr(i, end - i)));
            i = end;
            continue;
        }
        switch (c) {
        case 's':
            add("synchro");
            break;
        case 'k':
            add("komi");
            break;
        case 'a':
            add("anti");
            break;
        case 'r':
            add("random start");
            while (i + 1 < type.size() && std::isdigit(static_cast<unsigned char>(type[i + 1])))
                ++i;
            break;
        default:
            add("unknown variant '" + Shown(type.substr(i, 1)) + "'");
            break;
        }
        ++i;
    }
    if (reasons.empty()) reasons = "no board size";
    error = "game type '" + Shown(type) + "' is not plain 8x8 Othello (" + reasons + ")";
    return false;
}

// BO: "8 <64 cells> <side>", blanks anywhere between.
bool ReadBoard(std::string_view value, TPosition& out, std::string& error) {
    std::size_t pos = 0;
    SkipBlanks(value, pos);
    const std::size_t sizeStart = pos;
    while (pos < value.size() && std::isdigit(static_cast<unsigned char>(value[pos])) != 0)
        ++pos;
    const std::string_view size = value.substr(sizeStart, pos - sizeStart);
    if (size.empty()) {
        error = "the board (BO) does not start with its size";
        return false;
    }
    if (size != "8") {
        error = "board size " + Shown(size) + " (BO): only 8x8 boards are played";
        return false;
    }
    TPosition position;
    for (int cell = 0; cell < 64; ++cell) {
        SkipBlanks(value, pos);
        if (pos >= value.size()) {
            error = "the board (BO) has " + std::to_string(cell) + " cells, 64 expected";
            return false;
        }
        const char c = value[pos++];
        std::uint8_t disc = 0;
        if (c == '*' || c == 'X' || c == 'x')
            disc = 1;
        else if (c == 'O' || c == 'o')
            disc = 2;
        else if (c != '-' && c != '.') {
            error = "bad cell '" + Shown(std::string_view(&c, 1)) + "' in the board (BO)";
            return false;
        }
        position.board[CellIndex(cell % 8 + 1, cell / 8 + 1)] = disc;
    }
    SkipBlanks(value, pos);
    const char side = pos < value.size() ? value[pos++] : '\0';
    if (side == '*' || side == 'X' || side == 'x')
        position.sideToMove = 1;
    else if (side == 'O' || side == 'o')
        position.sideToMove = 0;
    else {
        error = "the board (BO) does not end with the side to move (* or O)";
        return false;
    }
    SkipBlanks(value, pos);
    if (pos != value.size()) {
        error = "unexpected text after the side to move in the board (BO)";
        return false;
    }
    out = position;
    return true;
}

struct TReader {
    TGgfGame game;
    TPosition position;
    bool haveBoard = false;

    bool Take(const TProperty& property, std::string& error) {
        const std::string_view name = property.name;
        if (name == "GM") {
            if (!EqualsIgnoringCase(Trimmed(property.value), "Othello")) {
                error = "the game '" + Shown(Trimmed(property.value)) + "' is not Othello";
                return false;
            }
            return true;
        }
        if (name == "TY") return CheckType(property.value, error);
        if (name == "BO") {
            if (haveBoard) {
                error = "a second board (BO)";
                return false;
            }
            if (!ReadBoard(property.value, position, error)) return false;
            game.record.start = position;
            haveBoard = true;
            return true;
        }
        if (name == "KB" || name == "KW") {
            error = "a komi move (" + std::string(name) + "): komi games are not played";
            return false;
        }
        if (name == "B" || name == "W") return TakeMove(property, error);
        return true; // names, dates, clocks, the result and the rest
    }

    bool TakeMove(const TProperty& property, std::string& error) {
        const std::string shown = std::string(property.name) + "[" + Shown(property.value) + "]";
        if (!haveBoard) {
            error = "a move (" + shown + ") before the board (BO)";
            return false;
        }
        const std::uint8_t colour = property.name == "B" ? 1 : 0;
        if (position.sideToMove != colour) {
            error = shown + " while " + (colour == 1 ? "white" : "black") + " is to move";
            return false;
        }
        const std::string_view text = property.value.substr(0, property.value.find('/'));
        TRecordMove move;
        if (!ParseOthelloMove(Trimmed(text), move)) {
            error = "bad move " + shown;
            return false;
        }
        if (game.record.moves.size() >= kMostRecordMoves) {
            error = "more moves than a game can have";
            return false;
        }
        std::string why;
        if (!PlayRecordMove(position, move, why)) {
            error =
                "move " + std::to_string(game.record.moves.size() + 1) + " " + shown + ": " + why;
            return false;
        }
        game.record.moves.push_back(move);
        return true;
    }
};

// The names of the players as written: a bracket would end the value early.
std::string Clean(std::string_view name) {
    std::string clean;
    for (const char c : name)
        if (c != ']' && c != '[' && c != '\\' && static_cast<unsigned char>(c) >= 0x20) clean += c;
    return clean;
}

} // namespace

std::string FormatGgf(const TGameRecord& record, const TGgfPlayers& players) {
    std::string out = "(;GM[Othello]PC[Dorvane]PB[" + Clean(players.black) + "]PW[" +
                      Clean(players.white) + "]TY[8]BO[8 ";
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column) {
            const std::uint8_t disc = record.start.board[CellIndex(column, row)];
            out += disc == 1 ? '*' : disc == 2 ? 'O' : '-';
        }
    out += record.start.sideToMove == 1 ? " *]" : " O]";
    TPosition position = record.start;
    for (const TRecordMove& move : record.moves) {
        out += position.sideToMove == 1 ? "B[" : "W[";
        out += OthelloName(move) + ']';
        std::string ignored;
        if (!PlayRecordMove(position, move, ignored)) position.sideToMove ^= 1;
    }
    if (IsGameOver(position.board)) {
        const TDiscCounts counts = CountDiscs(position.board);
        const int margin = counts.side1 - counts.side2;
        out += "RE[" + std::string(margin < 0 ? "-" : "+") + std::to_string(std::abs(margin)) +
               ".000]";
    }
    out += ";)";
    return out;
}

bool ParseGgf(std::string_view text, TGgfGame& out, std::string& error) {
    if (text.size() > kMostGgfBytes) {
        error = "the record is longer than " + std::to_string(kMostGgfBytes) + " bytes";
        return false;
    }
    std::size_t pos = 0;
    SkipBlanks(text, pos);
    if (text.substr(pos, 2) != "(;") {
        error = "the record does not start with (;";
        return false;
    }
    pos += 2;
    TReader reader;
    for (;;) {
        SkipBlanks(text, pos);
        if (pos >= text.size()) {
            error = "unbalanced brackets: the record is not closed with ;)";
            return false;
        }
        if (text[pos] == ';') {
            ++pos;
            SkipBlanks(text, pos);
            if (pos < text.size() && text[pos] == ')') {
                ++pos;
                break;
            }
            error = "a second node (;) in the record";
            return false;
        }
        if (text[pos] == '(' || text[pos] == ')') {
            error = "unbalanced brackets: '" + std::string(1, text[pos]) + "' at offset " +
                    std::to_string(pos);
            return false;
        }
        TProperty property;
        if (!ReadProperty(text, pos, property, error)) return false;
        if (!reader.Take(property, error)) return false;
    }
    SkipBlanks(text, pos);
    if (pos != text.size()) {
        error = "unexpected text after the record";
        return false;
    }
    if (!reader.haveBoard) {
        error = "the record has no board (BO)";
        return false;
    }
    reader.game.final = reader.position;
    out = std::move(reader.game);
    return true;
}

} // namespace dorvane
