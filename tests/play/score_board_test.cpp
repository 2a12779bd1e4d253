#include "play/score_board.h"

#include <gtest/gtest.h>

namespace dorvane {
namespace {

TEST(ScoreBoard, OneGameOf40To24GivesRatings62And38) {
    TScoreBoard scores;
    scores.AddGame(40, 24);
    scores.UpdateRating();
    EXPECT_EQ(scores.OverallText1(), "40");
    EXPECT_EQ(scores.OverallText2(), "24");
    // 40.1 / 64.2 and 24.1 / 64.2: the 0.1 start takes part in the rating.
    EXPECT_EQ(scores.S5R, 62);
    EXPECT_EQ(scores.S6R, 38);
}

TEST(ScoreBoard, RatingStaysZeroUntilMoreThan63DiscsWerePlayed) {
    TScoreBoard scores;
    scores.AddGame(13, 0); // a wipe-out
    scores.UpdateRating();
    EXPECT_EQ(scores.S5R, 0);
    EXPECT_EQ(scores.S6R, 0);
    scores.AddGame(30, 20); // 63.2 in all
    scores.UpdateRating();
    EXPECT_EQ(scores.S5R, 68);
    EXPECT_EQ(scores.S6R, 32);
}

TEST(ScoreBoard, OverflowedOverallScoresRestartAndShowZero) {
    TScoreBoard scores;
    scores.S3R = 10000.5f;
    scores.S4R = 12.1f;
    scores.ClampOverall();
    EXPECT_FLOAT_EQ(scores.S3R, 0.1f);
    EXPECT_FLOAT_EQ(scores.S4R, 0.1f);
    EXPECT_EQ(scores.OverallText1(), "0");
    EXPECT_EQ(scores.OverallText2(), "0");
}

TEST(ScoreBoard, Texts) {
    EXPECT_EQ(RoundedText(2.5), "2"); // halves to even
    EXPECT_EQ(RoundedText(3.5), "4");
    EXPECT_EQ(ScoreCaption(false), "Счет игры");
    EXPECT_EQ(ScoreCaption(true), "Счет игры  (прогноз)");
    EXPECT_EQ(ScoreText(40, true, 45), "40      (45)");
    EXPECT_EQ(ScoreText(7, false, 45), "7");
    EXPECT_EQ(ClockText(0), "0:00:00");
    EXPECT_EQ(ClockText(65), "0:01:05");
    EXPECT_EQ(ClockText(3 * 3600 + 59 * 60 + 9), "3:59:09");
    EXPECT_EQ(MoveCounterText(0, 0), "Ход 00 из 00");
    EXPECT_EQ(MoveCounterText(7, 12), "Ход 07 из 12");
    EXPECT_EQ(MoveCounterText(60, 60), "Ход 60 из 60");
}

TEST(ScoreBoard, LegalMovesWording) {
    const struct {
        int count;
        const char* text;
    } cases[] = {{1, "один ход"},  {2, "2 хода"},    {4, "4 хода"},   {5, "5 ходов"},
                 {11, "11 ходов"}, {21, "21 ходов"}, {22, "22 ходов"}};
    for (const auto& c : cases)
        EXPECT_EQ(LegalMovesText(c.count), QString::fromUtf8(c.text)) << c.count;
}

} // namespace
} // namespace dorvane
