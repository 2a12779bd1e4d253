// Saving and loading the game in the window, with the program's messages.
// The window calls these from its commands ("Сохранить игру", "Загрузить
// игру", the "Загрузить снова" items, files handed over from outside); the
// CanAct condition of the two commands and of OpenFile is the window's to
// check, since the recent-files items load without it.
#pragma once

#include "play/game_controller.h"
#include "play/game_view.h"
#include "play/recent_files.h"

#include <QString>

#include <functional>

namespace dorvane {

// How the window shows a message box (caption "Dorvane").
using TShowMessage = std::function<void(const QString& text, TMessageIcon icon)>;

// Writes the current game to path. With report the outcome is shown:
// "Игра успешно сохранена." or "Не удалось сохранить игру!" (a failed save
// leaves an existing file as it was). True when the file was written.
bool SaveGame(const TGameController& game, const QString& path, bool report,
              const TShowMessage& show);

// The restart's save: the game in progress goes to the temporary game file
// without any message. Its folder is created (mode 0700) when missing; the
// file (mode 0600) replaces whatever entry bore its name - a symbolic link
// planted there is replaced, never written through.
bool SaveTemporaryGame(const TGameController& game);

// After a restart with default settings: the temporary game, when it is a
// regular file owned by the user (a link is not followed), is shown and play
// resumes at once, without a word; the entry goes in any case, so a damaged
// one is not offered again. True when play resumed.
bool ResumeTemporaryGame(TGameController& game);

// Reads path and shows the game in history view. A file that cannot be opened
// gives "Не удалось открыть файл!", one that is not a saved game of ours
// "Неверный формат файла!"; both leave the game untouched. The temporary game
// file is deleted once read and its game resumes at once; any other file goes
// to the top of recent (which the window then shows again).
// True when the game was taken over.
bool LoadGame(TGameController& game, const QString& path, TRecentFiles& recent,
              const TShowMessage& show);

} // namespace dorvane
