// The game's options as the settings keep them. The controller works on the
// window's copy in place, so what the exit writes is what is in force; the
// stored defaults are declared once, in the settings schema
// (play/game_settings.cpp), not here.
#pragma once

#include <QString>

#include <optional>

namespace dorvane {

// The computer's strength: "Низкий", "Средний", "Высокий".
enum class TStrength : std::uint8_t { Low = 1, Average = 2, High = 3 };

// A stored "Intellect" as a strength; none for a value outside 1..3, which
// plays as the average strength and is kept as it was.
constexpr std::optional<TStrength> StrengthOf(int stored) {
    if (stored < 1 || stored > 3) return std::nullopt;
    return static_cast<TStrength>(stored);
}
constexpr int StoredStrength(TStrength strength) {
    return static_cast<int>(strength);
}

struct TGameOptions {
    int Regim = 0;             // "Regime": 1 human against computer, 2 two humans
    int Intellect = 0;         // "Intellect", see StrengthOf
    bool HintOn = false;       // "Help": the "Подсказка" box suggests a move
    bool GoFast = false;       // "Ходить быстро"
    bool Complication = false; // "Усложнение"
};

// The sides' names of the built-in colour schemes ("Player1", "Player2"); the
// custom scheme keeps names of its own.
struct TPlayerNames {
    QString Player1;
    QString Player2;
    bool operator==(const TPlayerNames&) const = default;
};

} // namespace dorvane
