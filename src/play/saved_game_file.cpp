#include "play/saved_game_file.h"

#include "core/file_name.h"
#include "core/regular_file.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace dorvane {

namespace {

const QString kTemporaryName = QStringLiteral("onlydorvanetemp.dvn");

} // namespace

bool WriteSavedGameFile(const QString& path, const TSavedGame& game) {
    if (!MaySaveThrough(NativeFileName(path))) return false;
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
    return ReadSavedGameBytes(NativeFileName(path));
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
