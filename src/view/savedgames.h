// The game window's saved games: "Загрузить игру" (F11), "Сохранить игру"
// (F12), the "Загрузить снова" submenu, files handed over from outside and
// the game resumed after a restart. The messages are the program's; the file
// dialog is a chooser the window passes in, so tests answer in its place.
#pragma once

#include "view/filechooser.h"

#include "core/messages.h"
#include "play/game_files.h"
#include "play/recent_files.h"

#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace dorvane {

class TGameController;

struct TSavedGameParts {
    QWidget* window = nullptr;
    TGameController* controller = nullptr;
    TMessageService* messages = nullptr;
    TRecentFiles* recent = nullptr;
    QMenu* gameMenu = nullptr;       // holds "Загрузить снова"
    QAction* recentBefore = nullptr; // the submenu goes before this item
    // A game loaded or saved, for the desktop's recently used files.
    std::function<void(const QString& path)> gameFileUsed;
};

class TSavedGameCommands {
public:
    TSavedGameCommands(const TSavedGameParts& parts, TFileChooser chooser);

    void SetFileChooser(TFileChooser chooser) { chooser_ = std::move(chooser); }

    // F11, F12: when the player may act; nothing while the computer thinks.
    void LoadCommand();
    void SaveCommand();
    // Loads a saved game with the program's messages; true when taken over.
    bool LoadFile(const QString& path);
    // A file from outside (command line, drop): a saved game is loaded when
    // the player may act; anything else is left alone.
    void OpenFile(const QString& path);
    // The start-up's files, once the first search of the window has returned:
    // after a restart with default settings the temporary game resumes (and a
    // game named on the command line is not opened over it); otherwise the
    // first argument is opened like a file handed over from outside.
    void OpenAtStart(const QStringList& arguments, bool restarted);
    void RebuildRecentMenu();

private:
    QString Choose(bool save);
    TShowMessage Show() const;

    TSavedGameParts parts_;
    TFileChooser chooser_;
    QString folder_; // where the dialogs open
    QMenu* recentMenu_ = nullptr;
};

} // namespace dorvane
