// dorvane-artgen <folder>: writes every picture and sound of the program into
// the folder (normally assets/). dorvane-artgen --music <folder>: writes the
// music pieces of the installed "Sound" folder (normally data/Sound). Not
// part of the ordinary build; run it after changing the artwork and commit
// its output.
#include "artgen.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool Save(const QImage& image, const QDir& dir, const QString& name) {
    if (image.save(dir.filePath(name), "PNG")) return true;
    std::fprintf(stderr, "dorvane-artgen: cannot write %s\n", qPrintable(dir.filePath(name)));
    return false;
}

bool SaveJpeg(const QImage& image, const QDir& dir, const QString& name) {
    if (image.save(dir.filePath(name), "JPEG", 92)) return true;
    std::fprintf(stderr, "dorvane-artgen: cannot write %s\n", qPrintable(dir.filePath(name)));
    return false;
}

bool SaveBytes(const std::vector<std::uint8_t>& bytes, const QDir& dir, const QString& name) {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly) && file.write(reinterpret_cast<const char*>(bytes.data()),
                                                      qint64(bytes.size())) == qint64(bytes.size()))
        return true;
    std::fprintf(stderr, "dorvane-artgen: cannot write %s\n", qPrintable(dir.filePath(name)));
    return false;
}

int WriteMusic(const QDir& dir) {
    bool ok = SaveBytes(artgen::MakeMidiTune(), dir, QStringLiteral("dorvane_theme.mid"));
    ok &= SaveBytes(artgen::MakeFlac(artgen::Dither16(artgen::MakeArpeggioPiece(22050)), 22050),
                    dir, QStringLiteral("evening_arpeggio.flac"));
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    // The JPEG writer is a Qt plugin, which needs an application object.
    QCoreApplication app(argc, argv);
    const bool music = argc == 3 && QByteArray(argv[1]) == "--music";
    if (argc != 2 && !music) {
        std::fprintf(stderr, "usage: dorvane-artgen [--music] <output folder>\n");
        return 2;
    }
    const char* folder = argv[argc - 1];
    QDir dir(QString::fromLocal8Bit(folder));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "dorvane-artgen: cannot create %s\n", folder);
        return 1;
    }
    if (music) return WriteMusic(dir);
    bool ok = true;
    for (int n = 1; n <= 5; ++n)
        ok &= Save(artgen::MakeTexture(n), dir, QStringLiteral("texture%1.png").arg(n));

    const QColor balls[4] = {QColor(48, 176, 72), QColor(44, 96, 224), QColor(150, 150, 156),
                             QColor(222, 44, 44)};
    const char* ballNames[4] = {"ball_green", "ball_blue", "ball_grey", "ball_red"};
    for (int i = 0; i < 4; ++i)
        ok &= Save(artgen::RenderBall(40, balls[i]), dir,
                   QStringLiteral("%1.png").arg(QLatin1String(ballNames[i])));

    ok &= Save(artgen::MakePersonIcon(), dir, QStringLiteral("person.png"));
    ok &= Save(artgen::MakeWordPicture(QStringLiteral("COMPUTER"), QColor(112, 136, 168),
                                       QColor(44, 60, 92)),
               dir, QStringLiteral("computer.png"));
    ok &= Save(
        artgen::MakeWordPicture(QStringLiteral("USER"), QColor(96, 170, 112), QColor(30, 96, 52)),
        dir, QStringLiteral("user.png"));

    for (int i = 0; i < 16; ++i)
        ok &= Save(artgen::MakeMenuPicture(i), dir,
                   QStringLiteral("small%1.png").arg(i, 2, 10, QChar('0')));
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        ok &= Save(artgen::MakeProgramIcon(size), dir, QStringLiteral("dorvane_%1.png").arg(size));

    ok &= SaveJpeg(artgen::MakeLogoBanner(), dir, QStringLiteral("logo1.jpg"));
    ok &= SaveJpeg(artgen::MakeLogoIcon(), dir, QStringLiteral("logo2.jpg"));

    ok &= SaveBytes(artgen::MakeWave(artgen::MakeBeginSound(11025), 11025), dir,
                    QStringLiteral("rbegin.wav"));
    ok &= SaveBytes(artgen::MakeWave(artgen::MakeMoveSound(22050), 22050), dir,
                    QStringLiteral("rmove.wav"));
    ok &= SaveBytes(artgen::MakeWave(artgen::MakeEndSound(11025), 11025), dir,
                    QStringLiteral("rend.wav"));
    return ok ? 0 : 1;
}
