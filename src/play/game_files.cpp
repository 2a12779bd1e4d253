#include "play/game_files.h"

#include "play/saved_game_file.h"

#include "core/file_name.h"
#include "core/regular_file.h"
#include "play/saved_game_read.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace dorvane {

bool SaveGame(const TGameController& game, const QString& path, bool report,
              const TShowMessage& show) {
    const bool written = WriteSavedGameFile(path, game.SavedGame());
    if (report)
        show(written ? QStringLiteral("Игра успешно сохранена.")
                     : QStringLiteral("Не удалось сохранить игру!"),
             TMessageIcon::Warning);
    return written;
}

bool SaveTemporaryGame(const TGameController& game) {
    const QString path = TemporaryGamePath();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        // Only its owner may look into the folder of the restart's game.
        if (::mkdir(NativeFileName(folder).c_str(), 0700) != 0 && !QFileInfo(folder).isDir())
            return false;
    }
    const std::vector<std::uint8_t> bytes = EncodeSavedGame(game.SavedGame());
    return ReplaceFileEntry(NativeFileName(path), reinterpret_cast<const char*>(bytes.data()),
                            bytes.size());
}

bool ResumeTemporaryGame(TGameController& game) {
    const QString path = TemporaryGamePath();
    const std::string native = NativeFileName(path);
    bool resumed = false;
    if (IsRegularFile(native, true, true)) {
        const TSavedGameRead read = ReadSavedGameBytes(native, true);
        if (read.opened && read.result.game && game.ShowLoadedGame(*read.result.game)) {
            game.ResumePlay();
            resumed = true;
        }
    }
    // unlink() removes a link itself, never what it points to.
    ::unlink(native.c_str());
    return resumed;
}

bool LoadGame(TGameController& game, const QString& path, TRecentFiles& recent,
              const TShowMessage& show) {
    const TSavedGameRead read = ReadSavedGameFile(path);
    if (!read.opened) {
        show(QStringLiteral("Не удалось открыть файл!"), TMessageIcon::Warning);
        return false;
    }
    if (!read.result.game) {
        show(QStringLiteral("Неверный формат файла!"), TMessageIcon::Warning);
        return false;
    }
    if (!game.ShowLoadedGame(*read.result.game)) return false;
    if (IsTemporaryGameFile(path)) {
        QFile::remove(path);
        game.ResumePlay();
    } else {
        recent.Add(path);
    }
    return true;
}

} // namespace dorvane
