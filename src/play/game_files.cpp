#include "play/game_files.h"

#include "play/saved_game_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    QDir().mkpath(QFileInfo(path).absolutePath());
    return WriteSavedGameFile(path, game.SavedGame());
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
