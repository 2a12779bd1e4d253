// The game window as the music engine's host: the "Музыка" submenu and its
// marks, files from outside that are the player's, the start-up's load, the
// caption and the message of a track that fails, the close refused during a
// folder search and the values written at the exit. The engine is stepped
// by hand and has no playback services: nothing is heard.
#include "play_driver.h"
#include "stored_window.h"

#include "music/music_sources.h"
#include "musicui/musicform.h"
#include "musicui/playlist_box.h"
#include "shell/settings_store.h"
#include "widgets/menutools.h"
#include "widgets/messageform.h"

#include "support/saved_game_bytes.h"
#include "support/temp_home.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

namespace dorvane::test {

namespace {

TGameOptions TwoHumans() {
    TGameOptions options;
    options.Regim = 2;
    options.GoFast = true;
    return options;
}

QMenu* SubMenu(QWidget* owner, const QString& title) {
    for (QMenu* menu : owner->findChildren<QMenu*>())
        if (WithoutMnemonic(menu->title()) == title) return menu;
    return nullptr;
}

bool MakeFile(const QString& path, const QByteArray& bytes = QByteArrayLiteral("not really")) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The names of the playlist's entries, in their order.
QStringList EntryNames(TMusicEngine& engine) {
    QStringList names;
    for (const FList& entry : engine.Playlist().Entries())
        names << QFileInfo(entry.S2).fileName();
    return names;
}

[[nodiscard]] bool WaitLoaded(TMainForm& form) {
    return QTest::qWaitFor([&form] { return !form.LongOperations().Running(); }, 20000);
}

QString MessageShown() {
    TMessageForm* form = TMessageForm::Current();
    return form ? form->Text()->text() : QString();
}

// One tick, after the worker has done what was asked of it (the engine runs
// no thread here).
void Tick(TMusicEngine& engine) {
    for (int i = 0; i < 8 && engine.State().EngineCommand() != TEngineCommand::None; ++i)
        engine.Worker().Pass();
    engine.TimerTimeTimer();
}

} // namespace

class TMainMusicTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempHome> home_;
    QString music_; // a.mp3, b.flac, notes.txt
    QString other_; // c.mp3, list.m3u (naming b.flac), more.m3u (naming c.mp3)

private slots:
    void init() {
        home_ = std::make_unique<TTempHome>();
        music_ = home_->FilePath(QStringLiteral("music"));
        other_ = home_->FilePath(QStringLiteral("other"));
        QVERIFY(QDir().mkpath(music_) && QDir().mkpath(other_));
        for (const char* name : {"a.mp3", "b.flac", "notes.txt"})
            QVERIFY(MakeFile(QDir(music_).filePath(QString::fromUtf8(name))));
        QVERIFY(MakeFile(QDir(other_).filePath(QStringLiteral("c.mp3"))));
        QVERIFY(MakeFile(QDir(other_).filePath(QStringLiteral("list.m3u")),
                         (QDir(music_).filePath(QStringLiteral("b.flac")) + u'\n').toUtf8()));
        QVERIFY(MakeFile(QDir(other_).filePath(QStringLiteral("more.m3u")),
                         QByteArrayLiteral("c.mp3\n")));
    }
    void cleanup() {
        delete TMessageForm::Current();
        home_.reset();
    }

    void submenuOffersTheCommandsAndMirrorsTheSwitches() {
        TPlayDriver driver(TwoHumans());
        TMainForm& form = driver.Form();
        QMenu* parameters = SubMenu(&form, QStringLiteral("Параметры"));
        QMenu* music = SubMenu(parameters, QStringLiteral("Музыка"));
        QVERIFY(music);
        // Right after "Звуки".
        const QList<QAction*> items = parameters->actions();
        const qsizetype at = items.indexOf(music->menuAction());
        QCOMPARE(items[at - 1]->text(), QStringLiteral("Звуки"));
        QStringList texts;
        for (const QAction* action : music->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(texts,
                 QStringList({"Предыдущая", "В начало", "Воспроизводить", "Пауза", "Следующая",
                              "Случайный выбор", "-", "Открыть директорию", "Добавить директорию",
                              "Открыть список", "Добавить список", "-", "Список"}));

        const TCommandRegistry& commands = form.Commands();
        TMusicEngine& engine = form.Music();
        const auto marks = [&] {
            return QList<bool>{commands.Action(TCommand::MusicPlay)->isChecked(),
                               commands.Action(TCommand::MusicPause)->isChecked(),
                               commands.Action(TCommand::MusicRandom)->isChecked()};
        };
        const auto switches = [&] {
            return QList<bool>{engine.PlayOn(), engine.PauseOn(), engine.RandomOn()};
        };
        QCOMPARE(marks(), QList<bool>({true, false, true}));
        // Each step: the item, then play, pause and random as the engine has them.
        const std::vector<std::pair<TCommand, QList<bool>>> steps{
            {TCommand::MusicPause, {true, true, true}},
            {TCommand::MusicNext, {true, false, true}}, // clears the pause
            {TCommand::MusicPause, {true, true, true}},
            {TCommand::MusicPrevious, {true, false, true}},
            {TCommand::MusicPause, {true, true, true}},
            {TCommand::MusicPlay, {false, false, true}}, // clears the pause too
            {TCommand::MusicRandom, {false, false, false}},
            {TCommand::MusicPlay, {true, false, false}},
            {TCommand::MusicRandom, {true, false, true}},
        };
        for (const auto& [command, expected] : steps) {
            commands.Action(command)->trigger();
            QCOMPARE(switches(), expected);
            QCOMPARE(marks(), expected);
        }
    }

    void sourceCommandsAskAndLoadWhatWasChosen() {
        TPlayDriver driver(TwoHumans());
        TMainForm& form = driver.Form();
        QVERIFY(driver.WaitIdle());
        TMusicEngine& engine = form.Music();
        std::optional<TSourceRequest> asked;
        QString answer;
        form.SetSourceChooser([&](const TSourceRequest& request) {
            asked = request;
            return answer;
        });
        struct TCase {
            TCommand command;
            bool folder;
            QString chosen;
            QStringList names; // the playlist afterwards, sorted
        };
        const QString list = QDir(other_).filePath(QStringLiteral("list.m3u"));
        const QString more = QDir(other_).filePath(QStringLiteral("more.m3u"));
        const std::vector<TCase> cases{
            {TCommand::MusicOpenFolder, true, music_, {"a.mp3", "b.flac"}},
            {TCommand::MusicAddFolder, true, other_, {"a.mp3", "b.flac", "c.mp3"}},
            {TCommand::MusicOpenList, false, list, {"b.flac"}},
            {TCommand::MusicAddList, false, more, {"b.flac", "c.mp3"}},
        };
        for (const TCase& c : cases) {
            const QString item = form.Commands().Action(c.command)->text();
            asked.reset();
            answer = c.chosen;
            form.Commands().Action(c.command)->trigger();
            QVERIFY2(asked, qPrintable(item));
            QCOMPARE(asked->folder, c.folder);
            // The tick serves the request.
            Tick(engine);
            QVERIFY(WaitLoaded(form));
            QStringList names = EntryNames(engine);
            names.sort();
            QVERIFY2(names == c.names, qPrintable(item + QStringLiteral(": ") + names.join(u' ')));
        }
        // A cancelled dialog changes nothing.
        answer.clear();
        form.Commands().Action(TCommand::MusicOpenFolder)->trigger();
        QVERIFY(!engine.Loader().LoadRequested());
    }

    void filesFromOutsideGoToThePlayerOrTheGame() {
        TPlayDriver driver(TwoHumans());
        TMainForm& form = driver.Form();
        QVERIFY(driver.WaitIdle());
        TMusicEngine& engine = form.Music();
        const QString chosen = QDir(music_).filePath(QStringLiteral("b.flac"));
        form.OpenFile(chosen);
        QVERIFY(WaitLoaded(form));
        // Its folder is the source now, and the file itself plays first.
        QCOMPARE(engine.Loader().MusicSource(), music_);
        QStringList names = EntryNames(engine);
        names.sort();
        QCOMPARE(names, QStringList({"a.mp3", "b.flac"}));
        const TPendingSelection pending = engine.Playlist().PendingSelection();
        QVERIFY(pending.pending);
        QCOMPARE(engine.Playlist().Entry(pending.index).S2, chosen);
        Tick(engine);
        QCOMPARE(form.windowTitle(), QStringLiteral("Dorvane - %1. b").arg(pending.index + 1));

        // Nothing can play it here: the play mark goes and the message window
        // says why, without waiting for anybody.
        Tick(engine);
        QVERIFY(!form.Commands().Action(TCommand::MusicPlay)->isChecked());
        QCOMPARE(MessageShown(),
                 QStringLiteral("Не удалось открыть файл %1!\nМузыка отключена.").arg(chosen));
        QCOMPARE(TMessageForm::Current()->windowTitle(), QStringLiteral("Dorvane"));
        QCOMPARE(driver.TakeMessages(), QStringList());

        // A saved game is still the game's.
        const QString saved = home_->FilePath(QStringLiteral("game.dvn"));
        QVERIFY(MakeFile(saved, NewTwoPlayerGameBytes()));
        form.OpenFile(saved);
        QCOMPARE(form.RecentFiles().Slot(1), saved);
        QVERIFY(!form.LongOperations().Running());
        QCOMPARE(engine.Loader().MusicSource(), music_);
    }

    void theListItemTogglesThePlaylistWindowAndTheButtonShowsIt() {
        TPlayDriver driver(TwoHumans());
        TMainForm& form = driver.Form();
        QVERIFY(driver.WaitIdle());
        TMusicEngine& engine = form.Music();
        form.Commands().Action(TCommand::MusicList)->trigger();
        QPointer<TMusicForm> list = form.PlaylistWindow();
        QVERIFY(list && list->isVisible());
        form.Commands().Action(TCommand::MusicList)->trigger();
        QTRY_VERIFY(!list);
        // A folder from outside brings the window up.
        form.OpenFile(music_);
        Tick(engine);
        QVERIFY(WaitLoaded(form));
        list = form.PlaylistWindow();
        QVERIFY(list && list->isVisible());
        // Opened after the load: it shows what the engine holds.
        QCOMPARE(list->List()->Lines(), QStringList({"a", "b"}));
        QCOMPARE(list->windowTitle(), QStringLiteral("Список - music"));
        // Beside the game window, at its top.
        QCOMPARE(list->frameGeometry().left(), form.frameGeometry().right() + 1);

        // The engine's calls reach it: the row that plays, the speed box, a
        // new list.
        engine.PlayChosen(1);
        Tick(engine);
        QCOMPARE(list->List()->CurrentRow(), 1);
        form.OpenFile(other_);
        Tick(engine);
        QVERIFY(WaitLoaded(form));
        QCOMPARE(list->List()->Lines(), QStringList({"c"}));
        QVERIFY(list->TotalsText().startsWith(QStringLiteral("Файлов: 1")));

        // A drop on it opens like a drop on the game window.
        emit list->TargetDropped(music_);
        Tick(engine);
        QVERIFY(WaitLoaded(form));
        QCOMPARE(list->List()->Lines(), QStringList({"a", "b"}));

        form.Commands().Action(TCommand::MusicList)->trigger();
        QTRY_VERIFY(!list);
        QCOMPARE(form.PlaylistWindow(), nullptr);

        // The panel's button shows it, and a second press keeps it open.
        QAbstractButton* button = form.Panel().Button(TCommand::MusicShowList);
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Показать список звуковых файлов"));
        button->click();
        list = form.PlaylistWindow();
        QVERIFY(list && list->isVisible());
        list->showMinimized();
        button->click();
        QCOMPARE(form.PlaylistWindow(), list.data());
        QVERIFY(!list->isMinimized());
    }

    void closingDuringAFolderSearchIsRefused() {
        TPlayDriver driver(TwoHumans());
        TMainForm& form = driver.Form();
        QVERIFY(driver.WaitIdle());
        // The search runs on the loader's worker until the event loop takes
        // its result.
        form.OpenFile(QDir(music_).filePath(QStringLiteral("a.mp3")));
        QVERIFY(form.LongOperations().Running());
        QVERIFY(!form.close());
        QCOMPARE(MessageShown(), QStringLiteral("Имеются незавершенные операции!"));
        QVERIFY(form.isVisible());
        QVERIFY(WaitLoaded(form));
        QCOMPARE(form.Music().Playlist().Count(), 2);
        delete TMessageForm::Current();

        // A close asked for from outside (a signal, a quit request) is not
        // refused: the search stops and the window closes after it.
        form.OpenFile(QDir(other_).filePath(QStringLiteral("c.mp3")));
        QVERIFY(form.LongOperations().Running());
        form.CloseWhenIdle();
        QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 20000);
        QVERIFY(!form.LongOperations().Running());
        QCOMPARE(MessageShown(), QString());
    }

    void startUpLoadsTheStoredSourcesUnlessASoundFileIsNamed_data() {
        QTest::addColumn<QString>("argument"); // relative to the home folder
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("source"); // "DirOfMusic" written at the exit
        QTest::newRow("no argument") << QString() << QStringList{"a.mp3", "b.flac"} << "music";
        QTest::newRow("a saved game")
            << QStringLiteral("game.dvn") << QStringList{"a.mp3", "b.flac"} << "music";
        QTest::newRow("a sound file")
            << QStringLiteral("other/c.mp3") << QStringList{"c.mp3"} << "other";
        QTest::newRow("a folder") << QStringLiteral("other") << QStringList{"c.mp3"} << "other";
    }

    void startUpLoadsTheStoredSourcesUnlessASoundFileIsNamed() {
        QFETCH(QString, argument);
        QFETCH(QStringList, names);
        QFETCH(QString, source);
        QVERIFY(MakeFile(home_->FilePath(QStringLiteral("game.dvn")), NewTwoPlayerGameBytes()));
        SettingsStore store;
        store.SetStoreKeyPath(QStringLiteral("SOFTWARE\\Kvo\\Dorvane")); // the lists' section
        store.RegWriteString(QStringLiteral("DirOfMusic"), music_);
        {
            TWindow window(store);
            TMainForm& form = window.form;
            QVERIFY(window.idle);
            form.OpenAtStart(
                argument.isEmpty() ? QStringList() : QStringList{home_->FilePath(argument)}, false);
            // A folder waits for the tick; the others load at once.
            Tick(form.Music());
            QVERIFY(WaitLoaded(form));
            QStringList loaded = EntryNames(form.Music());
            loaded.sort();
            QCOMPARE(loaded, names);
            // "Воспроизводить" and "Случайный выбор" off go into the settings.
            form.Commands().Action(TCommand::MusicPlay)->trigger();
            form.Commands().Action(TCommand::MusicRandom)->trigger();
        }
        QCOMPARE(store.RegReadString(QStringLiteral("DirOfMusic"), {}), home_->FilePath(source));
        QCOMPARE(store.RegReadBool(QStringLiteral("PlayMusic"), true), false);
        QCOMPARE(store.RegReadBool(QStringLiteral("SelectionAccidental"), true), false);
        QVERIFY(ReadRecentSources(store).contains(home_->FilePath(source)));
    }

    // Sound files named together, as a file manager's selection is passed,
    // become the playlist in their order: at the start, and in a hand-over
    // that comes while the start's load still runs.
    void soundFilesNamedTogetherPlayTogether() {
        SettingsStore store;
        store.SetStoreKeyPath(QStringLiteral("SOFTWARE\\Kvo\\Dorvane"));
        store.RegWriteString(QStringLiteral("DirOfMusic"), music_);
        const QString a = QDir(music_).filePath(QStringLiteral("a.mp3"));
        const QString b = QDir(music_).filePath(QStringLiteral("b.flac"));
        const QString c = QDir(other_).filePath(QStringLiteral("c.mp3"));
        {
            TWindow window(store);
            TMainForm& form = window.form;
            QVERIFY(window.idle);
            form.OpenAtStart({c, a}, false);
            QVERIFY(WaitLoaded(form));
            QCOMPARE(EntryNames(form.Music()), QStringList({"c.mp3", "a.mp3"}));
            QVERIFY(form.Music().PlayOn());
            QCOMPARE(form.Music().Playlist().PendingSelection().index, 0);
        }
        {
            TWindow window(store);
            TMainForm& form = window.form;
            QVERIFY(window.idle);
            form.OpenAtStart({}, false);
            QVERIFY(form.LongOperations().Running()); // the stored sources load
            form.OpenHandedText(u'"' + c + QStringLiteral("\" \"") + b + u'"');
            QVERIFY(WaitLoaded(form));
            QTRY_COMPARE_WITH_TIMEOUT(EntryNames(form.Music()), QStringList({"c.mp3", "b.flac"}),
                                      20000);
        }
    }
};

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::TMainMusicTest)
#include "mainmusic_test.moc"
