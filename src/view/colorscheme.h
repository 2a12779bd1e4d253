// The colour schemes as values: the three schemes are data, and the panel,
// the board and the menus only consume the TColorScheme they are handed.
// The custom scheme's values come from the settings (stored as strings
// there); this file only knows their meaning and their defaults.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace dorvane {

inline constexpr int kSchemeDefault = 1; // "По умолчанию"
inline constexpr int kSchemeDark = 2;    // "Темная"
inline constexpr int kSchemeCustom = 3;  // "Другая"

// The custom scheme as the player edits it ("SColor1".."SColor8",
// "SPlayer1", "SPlayer2", "SFigure1".."SFigure4", the added pictures).
struct TCustomScheme {
    // text 1, text 2, background 1, background 2, "Старт" 1, "Старт" 2,
    // "Нет хода", "Сброс"
    std::array<QColor, 8> Colors{QColor(255, 255, 255), QColor(255, 255, 255), QColor(0, 0, 255),
                                 QColor(255, 0, 0),     QColor(0, 0, 255),     QColor(255, 0, 0),
                                 QColor(0, 128, 0),     QColor(255, 0, 255)};
    QString Player1 = QStringLiteral("Синие");
    QString Player2 = QStringLiteral("Красные");
    // side 1, side 2, possible move, suggested move: blue, red, green, grey ball
    std::array<int, 4> Figures{1, 3, 0, 2};
    QStringList Paths; // "SPath0".. : pictures added to the figure list
};

// The current scheme: what the panel, the board and the menus show.
struct TColorScheme {
    int Number = kSchemeDefault;
    QColor TextColor1, TextColor2;
    QColor BackColor1, BackColor2;
    QColor StartColor1, StartColor2;
    QColor NoMoveColor, ResetColor;
    QString SideName1, SideName2;
    int Figure1 = 0, Figure2 = 1, FigureAny = 2, FigureBest = 3;

    bool operator==(const TColorScheme&) const = default;
};

// The names of the built-in schemes' sides ("Player1", "Player2").
struct TPlayerNames {
    QString Player1 = QStringLiteral("Зеленые");
    QString Player2 = QStringLiteral("Синие");
};

// Scheme n (1, 2 or 3; anything else is taken as 1). windowColour is the
// desktop's colour for the inside of text boxes (QPalette::Base), the boxes'
// background in the default scheme.
// A custom figure outside 0..figureCount-1 (a picture that is gone) falls
// back to that figure's default, so the board never draws a missing picture.
TColorScheme ApplyScheme(int n, const TCustomScheme& custom, const TPlayerNames& names,
                         const QColor& windowColour, int figureCount);

// The stored "ColorScheme": 2 and 3 stay, anything else is the default scheme.
int CorrectSchemeNumber(int stored);

// Colours are stored as 32-bit values whose low three bytes are red, green
// and blue; the high byte is ignored on reading and written as 0.
QColor ColorFromStored(std::uint32_t value);
std::uint32_t StoredFromColor(const QColor& colour);

} // namespace dorvane
