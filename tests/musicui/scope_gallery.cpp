// Not a test: plays a generated two-channel tone sweep on the system's
// services and shows the visualiser in one style (`scope_gallery <style>
// [full]`) or the screen saver with the visualiser (`scope_gallery saver`)
// or without it (`scope_gallery blank`),
// so that they can be looked at under Xvfb (SDL_AUDIODRIVER=dummy without a
// sound card).
#include "music/backends/system_backends.h"
#include "music/music_engine.h"
#include "music/music_loader.h"
#include "musicui/scopeform.h"
#include "musicui/serverform.h"

#include "support/quiet_engine_host.h"

#include <QApplication>
#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

using namespace dorvane;

namespace {

// 30 s of a sweep from 55 Hz up four octaves, the right channel a fifth
// higher and its loudness swinging, as a 16-bit WAV file.
bool WriteSweep(const QString& path) {
    constexpr int kRate = 44100, kSeconds = 30;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 data = kRate * kSeconds * 4;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + data);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(2) << quint32(kRate) << quint32(kRate * 4)
        << quint16(4) << quint16(16);
    out.writeRawData("data", 4);
    out << data;
    double phase[2] = {0, 0};
    for (int i = 0; i < kRate * kSeconds; ++i) {
        const double t = double(i) / kRate;
        for (int c = 0; c < 2; ++c) {
            const double hz = 55.0 * std::pow(2.0, 4.0 * t / kSeconds) * (c ? 1.5 : 1.0);
            phase[c] += 2 * std::numbers::pi * hz / kRate;
            const double loud = 0.35 + 0.6 * std::abs(std::sin(t * 1.7 + c));
            out << qint16(std::lround(32000 * loud * std::sin(phase[c])));
        }
    }
    return out.status() == QDataStream::Ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("8");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sweep.wav"));
    if (!dir.isValid() || !WriteSweep(path)) return 1;
    test::TQuietHost host;
    TMusicStart start;
    start.randomOn = false;
    TMusicEngine engine(host, MakeSystemPlaybackBackends(), start);
    engine.Start();
    engine.Playlist().Append(FileEntry(path));
    engine.PlayChosen(0);
    TScopeFormParts parts;
    parts.engine = &engine;
    parts.screenSaverRunning = ScreenSaverRunning;
    auto* scope = new TScopeForm(std::move(parts));
    if (what == QStringLiteral("saver")) {
        OpenScreenSaver(scope, true);
    } else if (what == QStringLiteral("blank")) {
        // The saver alone: the (hidden) visualiser ends the program with it.
        if (TServerForm* saver = OpenScreenSaver(nullptr, false))
            QObject::connect(saver, &QObject::destroyed, scope, &QWidget::close);
    } else {
        scope->SetStyle(what.toInt());
        scope->show();
        if (argc > 2) scope->SetFullScreen(true);
    }
    QObject::connect(scope, &QObject::destroyed, &app, &QApplication::quit);
    const int rc = app.exec();
    engine.Shutdown();
    return rc;
}
