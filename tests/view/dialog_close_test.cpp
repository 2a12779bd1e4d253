// A logout (SIGTERM) while a dialog of the program is open: the signal is
// read inside the dialog's own loop, so the close starts under the dialog
// and the command that opened it. Every dialog of both windows in turn: the
// program must end the dialog, let its command return, and then close,
// without destroying anything that is still in use.
#include "stored_window.h"

#include "musicui/musicform.h"
#include "shell/settings_store.h"
#include "shell/termination.h"
#include "support/temp_home.h"
#include "view/commands.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>

namespace dorvane::test {

namespace {

QAction* ListAction(TMusicForm& list, const QString& text) {
    for (QAction* action : list.findChildren<QAction*>())
        if (action->text() == text) return action;
    return nullptr;
}

} // namespace

class DialogCloseTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempHome> home_;

private slots:
    void init() { home_ = std::make_unique<TTempHome>(); }
    void cleanup() { home_.reset(); }

    void aSignalClosesTheProgramWhileADialogIsOpen_data() {
        QTest::addColumn<int>("command");      // a game window command, or -1
        QTest::addColumn<QString>("listItem"); // else an item of the playlist window
        const auto game = [](const char* name, TCommand command) {
            QTest::newRow(name) << int(command) << QString();
        };
        const auto list = [](const char* name, const char* item) {
            QTest::newRow(name) << -1 << QString::fromUtf8(item);
        };
        list("playlist: save", "Сохранить\tCtrl+S");
        list("playlist: background colour", "Цвет фона");
        list("playlist: font", "Выбрать");
        list("playlist: add a file", "Файл");
        list("playlist: tag query", "Запрос заголовков");
        game("open a game", TCommand::LoadGame);
        game("save the game", TCommand::SaveGame);
        game("open a music folder", TCommand::MusicOpenFolder);
        game("field texture", TCommand::FieldTexture);
        game("colour scheme", TCommand::SchemeCustom);
        game("hint", TCommand::FindMove);
        game("file types", TCommand::ShellIntegration);
        game("about", TCommand::About);
    }
    void aSignalClosesTheProgramWhileADialogIsOpen() {
        QFETCH(int, command);
        QFETCH(QString, listItem);
        SettingsStore store;
        store.RegWriteBool(QStringLiteral("ReStart"), false);
        auto window = std::make_unique<TWindow>(store);
        TMainForm& form = window->form;
        QVERIFY(window->idle);
        const TTerminationSignals termination([&form] { form.CloseWhenIdle(); });

        QAction* action = nullptr;
        if (command >= 0) {
            action = form.Commands().Action(TCommand(command));
        } else {
            form.Commands().Action(TCommand::MusicList)->trigger();
            QPointer<TMusicForm> list = form.PlaylistWindow();
            QVERIFY(list);
            // Something to save and to query.
            const QString track = home_->FilePath(QStringLiteral("a.mp3"));
            QFile file(track);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not really") > 0);
            file.close();
            QVERIFY(form.Music().Loader().AddFiles({track}, true));
            QVERIFY(QTest::qWaitFor([&] { return !form.Music().Playlist().Busy(); }, 10000));
            action = ListAction(*list, listItem);
        }
        QVERIFY(action);

        // Once the dialog shows, the logout comes.
        bool signalled = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&signalled] {
            if (!signalled && QApplication::activeModalWidget()) {
                signalled = true;
                ::raise(SIGTERM);
            }
        });
        poll.start(20);
        action->trigger(); // runs the dialog, as the player's click does
        QTRY_VERIFY_WITH_TIMEOUT(signalled, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 10000);
        QVERIFY(!form.PlaylistWindow());
        poll.stop();
        window.reset(); // the rest of the program's end
    }
};

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::DialogCloseTest)
#include "dialog_close_test.moc"
