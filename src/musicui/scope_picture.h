// The visualiser's picture: 640 x 320 pixels drawn from the engine's wave
// snapshots in one of 16 styles, without a widget. Each frame draws the
// style's lines, runs its pixel effect over the raw rows and fades the
// whole picture; the track's title banner is drawn over the result.
//
// The picture is 24-bit (three bytes a pixel) so that the effects work on
// bytes alone; the window stretches it to its panel.
#pragma once

#include "game/random.h"
#include "music/stream_feed.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class QPainter;

namespace dorvane {

class TRowPen;

inline constexpr int kScopeWidth = 640;
inline constexpr int kScopeHeight = 320;
inline constexpr int kScopeStyles = 16;
inline constexpr int kScopeDefaultStyle = 8;
// A column i lies at angle i / kScopeAngleScale radians: column 638 closes
// the circle.
inline constexpr double kScopeAngleScale = 101.540855;

// "Осциллограф " + family + " " + name, as the window's caption shows it.
QString ScopeCaption(int style);

// The track caption sliding into the picture each time the position in the
// play order changes, and staying for 5 seconds once it has arrived.
class TTitleBanner {
public:
    static constexpr std::int64_t kShowMs = 5000;

    // A new position (also the same title again through Previous and Next)
    // starts the banner from a random side.
    void Follow(int orderPosition, TRandomSource& random);
    // From a random side again, for a new text.
    void Restart(TRandomSource& random);
    // Moves one pixel, draws text and hides once it has stayed 5 seconds.
    void Draw(QPainter& painter, const QString& text, std::int64_t nowMs);

    bool Visible() const { return visible_; }
    int Direction() const { return direction_; } // 0 from the right, 1 from the top
    int Position() const { return position_; }   // x (direction 0) or y (1)
    bool Arrived() const { return arrivedAt_ >= 0; }

private:
    bool seen_ = false;
    int lastPosition_ = 0;
    bool visible_ = false;
    int direction_ = 0;
    int position_ = 0;
    std::int64_t arrivedAt_ = -1;
};

class TScopePicture {
public:
    explicit TScopePicture(std::uint64_t seed, int style = kScopeDefaultStyle);

    int Style() const { return style_; }
    // Clamped to 0..15; a different style clears the picture to black.
    // Returns whether the style changed.
    bool SetStyle(int style);
    void Clear();

    // One frame of the style for a fresh snapshot.
    void DrawFrame(const TWaveSnapshot& snapshot);

    const QImage& Picture() const { return picture_; }
    QImage& Picture() { return picture_; }
    TRandom& Random() { return random_; }
    TTitleBanner& Banner() { return banner_; }

private:
    struct TDecay {
        int amount = 10;
        int hold = 0;
    };

    void DrawLines(const TWaveSnapshot& snapshot);
    void DrawGrid();
    void DrawLinear(TRowPen& painter, const TWaveSnapshot& s, int channel, int base);
    void DrawPolar(TRowPen& painter, const TWaveSnapshot& s, int channel);
    void DrawHearts(TRowPen& painter, const TWaveSnapshot& s, int channel);
    void DrawLissajous(TRowPen& painter, const TWaveSnapshot& s, int channel);
    void DrawStar(TRowPen& painter, const TWaveSnapshot& s, int channel);
    void ZoomTrail();
    void Process();
    void Fade();
    void Step(TDecay& decay, int low, int high);
    void Animate();
    int Draw(int low, int high) { return low + int(random_.Below(std::uint32_t(high - low + 1))); }

    QImage picture_;
    TRandom random_;
    TTitleBanner banner_;
    int style_ = kScopeDefaultStyle;
    TDecay decay_;
    TDecay lowerDecay_; // the lower half in the flame style
    int pulse_ = 0;
    int pulseStep_ = 4;
    double factor_ = 1.0;
    double factorStep_ = 0.0025;
    bool useSine_ = true;
    int mirror_ = -1;
    int swing_ = 0;
    int swingStep_ = 2;
    QRgb lineColour_ = 0xFFFFFF;
    int baseColour_ = 0;
    int baseHold_ = 0;
    std::vector<std::uint8_t> scratch_; // the rows before an effect reads them
};

} // namespace dorvane
