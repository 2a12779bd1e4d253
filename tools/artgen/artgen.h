// The artwork generator: every picture and sound of the program is computed
// here from fixed numbers, so a rebuild of the assets gives the same bytes on
// the same Qt version. Nothing reads system fonts: the two word pictures are
// drawn with the stroke letters of stroke_font.cpp.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace artgen {

// A small deterministic generator (splitmix64) for noise and dither.
class TRng {
public:
    explicit TRng(std::uint64_t seed) : State(seed) {}
    std::uint64_t Next();
    double Uniform(); // [0, 1)

private:
    std::uint64_t State;
};

// Smooth value noise on an integer lattice, and its fractal sum, both in
// [0, 1]. The seed picks an independent lattice.
double ValueNoise(double x, double y, std::uint32_t seed);
double Fbm(double x, double y, int octaves, std::uint32_t seed);

// A shaded sphere with a highlight, antialiased by supersampling, with
// alpha outside the disc.
QImage RenderBall(int size, QColor base);

// Stroke letters for the word pictures: the text is drawn in capitals A..Z
// with round pens, its cell `height` pixels tall, starting at (x, y).
void StrokeText(class QPainter& p, const QString& text, double x, double y, double height,
                double spacing);
double StrokeTextWidth(const QString& text, double height, double spacing);

QImage MakeTexture(int number);                                         // 1..5, 200 x 200
QImage MakePersonIcon();                                                // 32 x 32
QImage MakeWordPicture(const QString& word, QColor top, QColor bottom); // 72 x 32
QImage MakeProgramIcon(int size);
QImage MakeLogoBanner();           // LOGO1, 240 x 78, opaque
QImage MakeLogoIcon();             // LOGO2, 48 x 48, opaque
QImage MakeMenuPicture(int index); // 16 x 16, indices 0..15 of the small-picture list

// Mono PCM in a RIFF/WAVE file: 8-bit unsigned (the game sounds) or 16-bit
// signed (the music), dithered.
std::vector<std::uint8_t> MakeWave(const std::vector<double>& samples, int rate, int bits = 8);
// The same samples as 16-bit signed values, dithered as MakeWave does.
std::vector<std::int16_t> Dither16(const std::vector<double>& samples);
// Mono 16-bit PCM as a FLAC file: fixed-predictor subframes with Rice-coded
// residuals (verbatim where that is smaller), the STREAMINFO with the MD5 of
// the samples.
std::vector<std::uint8_t> MakeFlac(const std::vector<std::int16_t>& samples, int rate);

// Sound building blocks shared by the game sounds and the music pieces.
std::vector<double> Silence(int rate, double seconds);
// A bell-like note from start (seconds) on: a few partials, the higher ones
// dying faster; decay is the fundamental's time constant.
void AddBell(std::vector<double>& out, int rate, double start, double freq, double decay,
             double gain);
// A short fade at the end, then the loudest sample scaled to peak.
void FinishAndNormalise(std::vector<double>& out, int rate, double peak);
std::vector<double> MakeBeginSound(int rate);
std::vector<double> MakeMoveSound(int rate);
std::vector<double> MakeEndSound(int rate);

// The music in the program's "Sound" folder (written by --music).
std::vector<std::uint8_t> MakeMidiTune();        // a Standard MIDI File, about 32 s
std::vector<double> MakeArpeggioPiece(int rate); // about 21 s

} // namespace artgen
