#include "score_board.h"

#include <cmath>

namespace dorvane {

void TScoreBoard::Reset() {
    S3R = S4R = kOverallStart;
    S5R = S6R = 0;
}

void TScoreBoard::AddGame(int count1, int count2) {
    S3R += static_cast<float>(count1);
    S4R += static_cast<float>(count2);
}

void TScoreBoard::ClampOverall() {
    if (S3R > kOverallLimit || S4R > kOverallLimit) S3R = S4R = kOverallStart;
}

void TScoreBoard::UpdateRating() {
    const long double total = static_cast<long double>(S3R) + static_cast<long double>(S4R);
    if (total > kRatingThreshold) {
        // nearbyint rounds halves to even in the default rounding mode.
        S5R = static_cast<std::int32_t>(std::nearbyint(S3R / total * 100));
        S6R = static_cast<std::int32_t>(std::nearbyint(S4R / total * 100));
    } else {
        S5R = S6R = 0;
    }
}

QString TScoreBoard::OverallText1() const {
    return RoundedText(S3R);
}

QString TScoreBoard::OverallText2() const {
    return RoundedText(S4R);
}

QString RoundedText(double value) {
    return QString::number(static_cast<long long>(std::nearbyint(value)));
}

QString ScoreCaption(bool forecast) {
    return forecast ? QStringLiteral("Счет игры  (прогноз)") : QStringLiteral("Счет игры");
}

QString ScoreText(int count, bool forecast, int forecastCount) {
    QString text = QString::number(count);
    if (forecast) text += QStringLiteral("      (%1)").arg(forecastCount);
    return text;
}

QString ClockText(std::int32_t seconds) {
    // A time of day: the hours wrap after a day, as a clock face would.
    const std::int32_t s = seconds < 0 ? 0 : seconds;
    return QStringLiteral("%1:%2:%3")
        .arg((s / 3600) % 24)
        .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString LegalMovesText(int count) {
    if (count == 1) return QStringLiteral("один ход");
    if (count >= 2 && count <= 4) return QStringLiteral("%1 хода").arg(count);
    return QStringLiteral("%1 ходов").arg(count);
}

QString MoveCounterText(int shown, int recorded) {
    return QStringLiteral("Ход %1 из %2")
        .arg(shown, 2, 10, QLatin1Char('0'))
        .arg(recorded, 2, 10, QLatin1Char('0'));
}

} // namespace dorvane
