// Saved games in the game window: the load and save commands, the
// "Загрузить снова" submenu, and files handed to the window from outside.
#include "mainform.h"

#include "play/game_files.h"
#include "play/saved_game_file.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace dorvane {

namespace {

// The first dropped item that is a file on this machine; of several dropped
// files only the first counts.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return {};
    return urls.first().toLocalFile();
}

} // namespace

void TMainForm::BuildFileItems(QMenu* menu) {
    QAction* load = menu->addAction(QStringLiteral("Загрузить игру"));
    load->setShortcut(Qt::Key_F11);
    QAction* save = menu->addAction(QStringLiteral("Сохранить игру"));
    save->setShortcut(Qt::Key_F12);
    afterSaveItem_ = menu->addSeparator();
    connect(load, &QAction::triggered, this, [this] { LoadGameCommand(); });
    connect(save, &QAction::triggered, this, [this] { SaveGameCommand(); });
}

void TMainForm::RebuildRecentMenu() {
    delete recentMenu_;
    recentMenu_ = nullptr;
    const QList<TRecentFiles::TItem> items = settings_.RecentFiles.MenuItems();
    if (items.isEmpty()) return;
    recentMenu_ = new QMenu(QStringLiteral("Загрузить снова"), gameMenu_);
    for (const TRecentFiles::TItem& item : items) {
        // An ampersand in a path is shown as it stands, not as a shortcut mark.
        QString text = item.text;
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = recentMenu_->addAction(text);
        const QString path = item.path;
        connect(action, &QAction::triggered, this, [this, path] { LoadGameFile(path); });
    }
    QAction* clear = recentMenu_->addAction(QStringLiteral("Очистить"));
    connect(clear, &QAction::triggered, this, [this] {
        settings_.RecentFiles.Clear();
        // Removing the submenu from inside its own signal: later, not now.
        QMetaObject::invokeMethod(this, &TMainForm::RebuildRecentMenu, Qt::QueuedConnection);
    });
    gameMenu_->insertMenu(afterSaveItem_, recentMenu_);
}

bool TMainForm::LoadGameFile(const QString& path) {
    const bool loaded =
        LoadGame(*controller_, path, settings_.RecentFiles,
                 [this](const QString& text, TMessageIcon icon) { ShowMessage(text, icon); });
    levelChosen_ = levelChosen_ || loaded;
    // A loading item removes its own submenu: rebuild once it has returned.
    if (loaded)
        QMetaObject::invokeMethod(this, &TMainForm::RebuildRecentMenu, Qt::QueuedConnection);
    return loaded;
}

QString TMainForm::AskGameFile(bool save) {
    QFileDialog dialog(this,
                       save ? QStringLiteral("Сохранить игру") : QStringLiteral("Загрузить игру"),
                       gameFolder_, QStringLiteral("Файлы dorvane (*.dvn)"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("dvn"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    gameFolder_ = dialog.directory().absolutePath();
    return dialog.selectedFiles().first();
}

void TMainForm::LoadGameCommand() {
    if (!controller_->CanAct()) return;
    const QString path = AskGameFile(false);
    if (!path.isEmpty()) LoadGameFile(path);
}

void TMainForm::SaveGameCommand() {
    if (!controller_->CanAct()) return;
    const QString path = AskGameFile(true);
    if (path.isEmpty()) return;
    SaveGame(*controller_, path, true,
             [this](const QString& text, TMessageIcon icon) { ShowMessage(text, icon); });
}

void TMainForm::OpenFile(const QString& path) {
    if (!controller_->CanAct()) return;
    const QFileInfo file(path);
    if (!file.isFile()) return;
    // Other kinds of file are the music player's.
    if (IsSavedGamePath(path)) LoadGameFile(file.absoluteFilePath());
}

void TMainForm::OpenAtStart(const QStringList& arguments, bool restarted) {
    const QString temporary = TemporaryGamePath();
    if (restarted && QFileInfo::exists(temporary)) {
        // Not a file the player chose: a damaged one goes without a word, and
        // goes in any case, so it is not offered again at the next restart.
        const bool resumed = LoadGame(*controller_, temporary, settings_.RecentFiles,
                                      [](const QString&, TMessageIcon) {});
        QFile::remove(temporary);
        if (resumed) return;
    }
    if (!arguments.isEmpty()) OpenFile(arguments.first());
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenFile(path);
}

} // namespace dorvane
