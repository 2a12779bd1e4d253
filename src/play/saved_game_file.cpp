#include "play/saved_game_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace dorvane {

namespace {

const QString kTemporaryName = QStringLiteral("onlydorvanetemp.dvn");

} // namespace

bool WriteSavedGameFile(const QString& path, const TSavedGame& game) {
    const std::vector<std::uint8_t> bytes = EncodeSavedGame(game);
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk, a file size limit) shows
    // in write()'s count: a buffered QSaveFile commits the cut file as a success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return false;
    return file.commit();
}

TSavedGameRead ReadSavedGameFile(const QString& path) {
    TSavedGameRead read;
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) return read;
    const QByteArray bytes = file.read(static_cast<qint64>(kSavedGameSize) + 1);
    if (file.error() != QFileDevice::NoError) return read;
    read.opened = true;
    read.result = DecodeSavedGame(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                            static_cast<std::size_t>(bytes.size())));
    return read;
}

QString TemporaryGamePath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/' +
           kTemporaryName;
}

bool IsTemporaryGameFile(const QString& path) {
    return QFileInfo(path).fileName() == kTemporaryName;
}

bool IsSavedGamePath(const QString& path) {
    return QFileInfo(path).suffix().compare(QStringLiteral("dvn"), Qt::CaseInsensitive) == 0;
}

} // namespace dorvane
