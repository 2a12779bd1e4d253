// The score bookkeeping of the game window and the texts that show it: the
// overall score over the games since the program started, the rating derived
// from it, and the wording of counts, clocks and the move counter. Plain
// values, so the arithmetic is tested without a controller.
#pragma once

#include <QString>

#include <cstdint>

namespace dorvane {

struct TScoreBoard {
    // The overall scores start a little above zero so that the rating's
    // division never meets 0 + 0; they show as 0 after rounding.
    static constexpr float kOverallStart = 0.1f;
    // Above this either overall score is taken as overflowed and restarts.
    static constexpr float kOverallLimit = 9999.0f;
    // The rating stays 0 until the games have put more discs than this on the boards.
    static constexpr int kRatingThreshold = 63;

    float S3R = kOverallStart; // overall score of side 1
    float S4R = kOverallStart; // overall score of side 2
    std::int32_t S5R = 0;      // rating of side 1, percent
    std::int32_t S6R = 0;      // rating of side 2, percent

    void Reset();
    void AddGame(int count1, int count2);
    // Both scores back to the start when either has run past the limit.
    void ClampOverall();
    void UpdateRating();

    QString OverallText1() const;
    QString OverallText2() const;
};

// A float to the nearest whole number, halves to even, as text.
QString RoundedText(double value);

// "Счет игры", or "Счет игры  (прогноз)" while a forecast is shown.
QString ScoreCaption(bool forecast);
// "40", or "40      (45)" with the forecast.
QString ScoreText(int count, bool forecast, int forecastCount);

// Seconds as a time of day, "0:01:05".
QString ClockText(std::int32_t seconds);

// "один ход", "3 хода", "21 ходов": the wording of a refused pass.
QString LegalMovesText(int count);

// "Ход 07 из 12".
QString MoveCounterText(int shown, int recorded);

} // namespace dorvane
