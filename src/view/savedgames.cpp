#include "view/savedgames.h"

#include "core/file_name.h"
#include "core/regular_file.h"
#include "play/game_controller.h"
#include "play/game_files.h"
#include "play/saved_game_file.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

namespace dorvane {

TSavedGameCommands::TSavedGameCommands(const TSavedGameParts& parts, TFileChooser chooser)
    : parts_(parts), chooser_(std::move(chooser)) {
    // The program's own folder is a system folder here: the dialogs start in
    // the player's documents, then wherever the player last chose a file.
    folder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder_.isEmpty() || !QFileInfo(folder_).isDir()) folder_ = QDir::homePath();
}

TShowMessage TSavedGameCommands::Show() const {
    return [messages = parts_.messages](const QString& text, TMessageIcon icon) {
        messages->Show(text, icon);
    };
}

QString TSavedGameCommands::Choose(bool save) {
    const QString path =
        chooser_({save ? QStringLiteral("Сохранить игру") : QStringLiteral("Загрузить игру"),
                  folder_, QStringLiteral("Файлы dorvane (*.dvn)"), save, QStringLiteral("dvn")});
    if (!path.isEmpty()) folder_ = QFileInfo(path).absolutePath();
    return path;
}

void TSavedGameCommands::LoadCommand() {
    TGameController& game = *parts_.controller;
    if (game.Blocked() || !game.CanAct()) return;
    const QString path = Choose(false);
    if (!path.isEmpty()) LoadFile(path);
}

void TSavedGameCommands::SaveCommand() {
    TGameController& game = *parts_.controller;
    if (game.Blocked() || !game.CanAct()) return;
    QString path = Choose(true);
    if (path.isEmpty()) return;
    // A name typed without an extension is a saved game all the same; not
    // every desktop's dialog adds the default one.
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".dvn");
    if (SaveGame(game, path, true, Show()) && parts_.gameFileUsed) parts_.gameFileUsed(path);
}

bool TSavedGameCommands::LoadFile(const QString& path) {
    if (parts_.controller->Blocked()) return false;
    const bool loaded = LoadGame(*parts_.controller, path, *parts_.recent, Show());
    if (loaded && parts_.gameFileUsed) parts_.gameFileUsed(path);
    // A loading item removes its own submenu: rebuild once it has returned.
    if (loaded)
        QMetaObject::invokeMethod(
            parts_.window, [this] { RebuildRecentMenu(); }, Qt::QueuedConnection);
    return loaded;
}

void TSavedGameCommands::OpenFile(const QString& path) {
    TGameController& game = *parts_.controller;
    if (game.Blocked() || !game.CanAct()) return;
    // The name as the file system gave it: bytes that are not UTF-8 stay as
    // they are (core/file_name.h), so QFileInfo, which would re-encode the
    // name lossily, is not asked.
    if (!IsRegularFile(NativeFileName(path))) return;
    const QString absolute =
        QDir::isAbsolutePath(path) ? QDir::cleanPath(path) : QDir::currentPath() + u'/' + path;
    // Other kinds of file are the music player's.
    if (IsSavedGamePath(absolute)) LoadFile(absolute);
}

void TSavedGameCommands::OpenAtStart(const QStringList& arguments, bool restarted) {
    parts_.controller->WhenIdle([this, arguments, restarted] {
        // Not a file the player chose: a damaged one goes without a word.
        if (restarted && ResumeTemporaryGame(*parts_.controller)) return;
        if (!arguments.isEmpty()) OpenFile(arguments.first());
    });
}

void TSavedGameCommands::RebuildRecentMenu() {
    delete recentMenu_;
    recentMenu_ = nullptr;
    const QList<TRecentFiles::TItem> items = parts_.recent->MenuItems();
    if (items.isEmpty()) return;
    recentMenu_ = new QMenu(QStringLiteral("Загрузить снова"), parts_.gameMenu);
    for (const TRecentFiles::TItem& item : items) {
        // An ampersand in a path is shown as it stands, not as a shortcut mark.
        QString text = DisplayFileName(item.text);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = recentMenu_->addAction(text);
        const QString path = item.path;
        QObject::connect(action, &QAction::triggered, parts_.window,
                         [this, path] { LoadFile(path); });
    }
    QAction* clear = recentMenu_->addAction(QStringLiteral("Очистить"));
    QObject::connect(clear, &QAction::triggered, parts_.window, [this] {
        parts_.recent->Clear();
        // Removing the submenu from inside its own signal: later, not now.
        QMetaObject::invokeMethod(
            parts_.window, [this] { RebuildRecentMenu(); }, Qt::QueuedConnection);
    });
    parts_.gameMenu->insertMenu(parts_.recentBefore, recentMenu_);
}

} // namespace dorvane
