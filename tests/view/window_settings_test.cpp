// The game window with a real settings file and real saved games: what it
// reads at its creation, what it writes at its destruction, the load and save
// commands through their dialogs, the recent-files submenu, dropped files and
// "Все по умолчанию" with the restart's temporary game.
#include "play_driver.h"
#include "stored_window.h"

#include "core/data_folder.h"
#include "play/saved_game.h"
#include "play/saved_game_file.h"
#include "shell/settings_store.h"
#include "view/controlpanel.h"

#include "support/env_guard.h"

#include "view/assets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <sys/stat.h>

namespace dorvane::test {

namespace {

// Triggers a command that asks for a saved-game file and answers with path;
// fails the test when the command asked nothing or asked the wrong way.
void RunDialogCommand(TMainForm& form, const QString& item, const QString& path) {
    std::optional<TFileRequest> asked;
    form.SetFileChooser([&](const TFileRequest& request) {
        asked = request;
        return path;
    });
    form.FindAction(item)->trigger();
    QVERIFY2(asked, qPrintable(item));
    QCOMPARE(asked->filter, QStringLiteral("Файлы dorvane (*.dvn)"));
    QCOMPARE(asked->defaultSuffix, QStringLiteral("dvn"));
    QCOMPARE(asked->save, item == QStringLiteral("Сохранить игру"));
    QCOMPARE(asked->title, item);
}

QMenu* RecentMenu(TMainForm& form) {
    for (QMenu* menu : form.findChildren<QMenu*>())
        if (menu->title() == QStringLiteral("Загрузить снова")) return menu;
    return nullptr;
}

QStringList Texts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    return texts;
}

// Plays moves of the side to move (two humans) until count moves are made or
// the game is over.
void PlayMoves(TPlayDriver& driver, int count, unsigned policy = 7) {
    for (int i = 0; i < count && driver.Game().PlayR(); ++i) {
        const int cell =
            PickMove(driver.Game().State().GameBoard, driver.Game().State().SideToMove, policy);
        if (cell == 0)
            driver.Game().PassMove();
        else
            driver.ClickCell(cell);
        QVERIFY(driver.WaitIdle());
    }
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

class WindowSettingsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<TEnvGuard> config_, data_;

    QString ConfigFile() const { return SettingsStore::DefaultFilePath(); }

private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        config_ = std::make_unique<TEnvGuard>(
            "XDG_CONFIG_HOME", home_->filePath(QStringLiteral("config")).toStdString());
        data_ = std::make_unique<TEnvGuard>("XDG_DATA_HOME",
                                            home_->filePath(QStringLiteral("data")).toStdString());
    }
    void cleanup() {
        data_.reset();
        config_.reset();
        home_.reset();
    }

    void firstRunStartsOnDefaultsAndWritesThemInOrder() {
        {
            SettingsStore store;
            store.RegWriteBool(QStringLiteral("ReStart"), false);
            TWindow window(store);
            TMainForm& form = window.form;
            QVERIFY(form.SettingsWritable());
            QVERIFY(form.FindAction(QStringLiteral("Подсказка"))->isChecked());
            QVERIFY(form.FindAction(QStringLiteral("Средний"))->isChecked());
            QVERIFY(form.FindAction(QStringLiteral("Человек и Компьютер"))->isChecked());
            QVERIFY(form.FindAction(QStringLiteral("Темная"))->isChecked());
            QVERIFY(form.FindAction(QStringLiteral("Ход"))->isChecked());
            QVERIFY(!form.FindAction(QStringLiteral("Начало игры"))->isChecked());
            QVERIFY(form.Panel().isVisible());
            QVERIFY(form.FindAction(QStringLiteral("Все по умолчанию"))->isEnabled());
            QVERIFY(!form.FindAction(QStringLiteral("Поверх всех окон"))->isEnabled());
            QCOMPARE(RecentMenu(form), nullptr);
            QCOMPARE(form.Controller().SideName(TSide::First), QStringLiteral("Зеленые"));
            const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
            QVERIFY(area.contains(QRect(form.pos(), form.size())));
            QCOMPARE(window.messages, QStringList());
        }
        const QString text = QString::fromUtf8(ReadAll(ConfigFile()));
        const QStringList order{"LoadBackground=0",
                                "GoFast=0",
                                "LoadField=0",
                                "SoundMove=1",
                                "ShowGrid=1",
                                "ControlPanel=1",
                                "Left=",
                                "Top=",
                                "Help=1",
                                "Regime=1",
                                "TextureOfField=3",
                                "ColorScheme=2",
                                "Intellect=2",
                                "MinimizeToTray=0",
                                "PlayMusic=1",
                                "SelectionAccidental=1"};
        qsizetype at = 0;
        for (const QString& line : order) {
            const qsizetype found = text.indexOf(line, at);
            QVERIFY2(found >= 0, qPrintable(line + QStringLiteral(" in order in\n") + text));
            at = found;
        }
        QVERIFY(!text.contains(QStringLiteral("File1")));
    }

    void theBuiltInMusicFolderIsStoredSoThatItFollowsTheProgram_data() {
        QTest::addColumn<QString>("stored"); // before the run; empty: none
        QTest::addColumn<QString>("source"); // the player's source in the run
        QTest::addColumn<QString>("written");
        // "MINE" stands for a folder of the test's home, made in the test.
        const QString builtIn = MusicFolder();
        const QString mine = QStringLiteral("MINE");
        QTest::newRow("first run") << QString() << builtIn << QStringLiteral("<Sound>");
        QTest::newRow("stored in a moved program")
            << QStringLiteral("<Sound>") << builtIn << QStringLiteral("<Sound>");
        QTest::newRow("the user's own folder") << mine << mine << mine;
        QTest::newRow("the built-in folder among others")
            << QStringLiteral("<Sound>;") + mine << builtIn + QLatin1Char(';') + mine
            << QStringLiteral("<Sound>;") + mine;
    }
    void theBuiltInMusicFolderIsStoredSoThatItFollowsTheProgram() {
        QFETCH(QString, stored);
        QFETCH(QString, source);
        QFETCH(QString, written);
        const QString mine = home_->filePath(QStringLiteral("Music"));
        QVERIFY(QDir().mkpath(mine));
        for (QString* text : {&stored, &source, &written})
            text->replace(QStringLiteral("MINE"), mine);
        {
            SettingsStore store;
            store.RegWriteBool(QStringLiteral("ReStart"), false);
            if (!stored.isEmpty()) store.RegWriteString(QStringLiteral("DirOfMusic"), stored);
            TWindow window(store);
            QCOMPARE(window.form.Music().Loader().MusicSource(), source);
        }
        SettingsStore store;
        QCOMPARE(store.RegReadString(QStringLiteral("DirOfMusic"), {}), written);
    }

    void changesSurviveANewWindow() {
        {
            SettingsStore store;
            TWindow window(store);
            TMainForm& form = window.form;
            for (const char* item :
                 {"Ходить быстро", "Усложнение", "Сетка", "Координаты", "Панель управления",
                  "Кнопки", "По умолчанию", "Начало игры", "Высокий", "Человек и Человек"})
                form.FindAction(QString::fromUtf8(item))->trigger();
            form.Panel().HintCheck()->click();
            // Edited names are kept at once, not only at the exit.
            form.Panel().NameBox(TSide::First)->OnEdited(QStringLiteral("Ира"));
            QCOMPARE(store.RegReadString(QStringLiteral("Player1"), {}), QStringLiteral("Ира"));
            QCOMPARE(form.Controller().Regim(), 2);
        }
        SettingsStore store;
        // A position far off the screen comes back to the work area's edge.
        store.RegWriteInteger(QStringLiteral("Left"), -5000);
        store.RegWriteInteger(QStringLiteral("Top"), 90000);
        TWindow window(store);
        TMainForm& form = window.form;
        for (const char* item : {"Ходить быстро", "Усложнение", "Кнопки", "По умолчанию",
                                 "Начало игры", "Человек и Человек"})
            QVERIFY2(form.FindAction(QString::fromUtf8(item))->isChecked(), item);
        for (const char* item : {"Сетка", "Координаты", "Панель управления", "Подсказка"})
            QVERIFY2(!form.FindAction(QString::fromUtf8(item))->isChecked(), item);
        QVERIFY(!form.Panel().isVisible());
        QVERIFY(form.Board().StyleButton());
        QCOMPARE(form.Controller().Intellect(), TStrength::High);
        QCOMPARE(form.Controller().SideName(TSide::First), QStringLiteral("Ира"));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(form.pos().x(), area.left());
        QCOMPARE(form.pos().y(), area.top() + area.height() - form.height());
    }

    void storedValuesAreCorrectedOnReading_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("item"); // checked afterwards; empty: see below
        QTest::newRow("mode 0 is against the computer")
            << "Regime"
            << "0" << QStringLiteral("Человек и Компьютер");
        QTest::newRow("mode 7 is two humans") << "Regime"
                                              << "7" << QStringLiteral("Человек и Человек");
        QTest::newRow("an unknown scheme is the default one")
            << "ColorScheme"
            << "9" << QStringLiteral("По умолчанию");
        QTest::newRow("a level outside 1..3 checks no level") << "Intellect"
                                                              << "9" << QString();
        QTest::newRow("an empty name is the default one") << "Player1"
                                                          << "" << QString();
    }

    void storedValuesAreCorrectedOnReading() {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QString, item);
        SettingsStore store;
        store.RegWriteString(name, stored);
        {
            TWindow window(store);
            TMainForm& form = window.form;
            if (!item.isEmpty()) QVERIFY(form.FindAction(item)->isChecked());
            if (name == QStringLiteral("Intellect"))
                for (const char* level : {"Высокий", "Средний", "Низкий"})
                    QVERIFY(!form.FindAction(QString::fromUtf8(level))->isChecked());
            QCOMPARE(form.Controller().SideName(TSide::First), QStringLiteral("Зеленые"));
        }
        // A level the program does not know is kept as it was.
        if (name == QStringLiteral("Intellect")) QCOMPARE(store.RegReadInteger(name, 0), 9);
    }

    void loadedPicturesComeBackInTheNextWindow() {
        SettingsStore store;
        const QString field = home_->filePath(QStringLiteral("field.bmp"));
        const QString background = home_->filePath(QStringLiteral("fon.png"));
        QImage red(200, 200, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(field, "BMP"));
        QImage blue(500, 500, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(background, "PNG"));
        {
            TWindow window(store);
            QVERIFY(window.form.UseFieldPicture(field));
            QVERIFY(window.form.UseBackgroundPicture(background));
            // The paths are kept at once.
            QCOMPARE(store.RegReadString(QStringLiteral("Field"), {}), field);
            QCOMPARE(store.RegReadString(QStringLiteral("Background"), {}), background);
        }
        {
            TWindow window(store);
            QVERIFY(window.form.FindAction(QStringLiteral("Загружать рисунок поля"))->isChecked());
            QVERIFY(window.form.FindAction(QStringLiteral("Загружать рисунок фона"))->isChecked());
            QCOMPARE(window.form.Board().FieldTexture().pixelColor(10, 10), QColor(Qt::red));
            QCOMPARE(window.form.Board().Background().toImage().pixelColor(10, 10),
                     QColor(Qt::blue));
        }
        // A picture that cannot be shown now (gone, on a drive not mounted
        // yet): the built-in texture, without a word, but the preference, its
        // path and its check mark stay through the exit.
        QVERIFY(QFile::remove(field));
        for (int run = 0; run < 2; ++run) {
            TWindow window(store);
            QVERIFY(window.form.FindAction(QStringLiteral("Загружать рисунок поля"))->isChecked());
            QVERIFY(
                !window.form.FindAction(QStringLiteral("Встроенная текстура поля"))->isChecked());
            QCOMPARE(window.form.Board().FieldTexture().pixelColor(10, 10),
                     BuiltinTexture(3).pixelColor(10, 10));
            QVERIFY(window.form.FindAction(QStringLiteral("Загружать рисунок фона"))->isChecked());
            QCOMPARE(window.messages, QStringList());
        }
        QVERIFY(store.RegReadBool(QStringLiteral("LoadField"), false));
        QCOMPARE(store.RegReadString(QStringLiteral("Field"), {}), field);
        // Taken back by the player's own choice, the picture goes.
        {
            TWindow window(store);
            window.form.SetFileChooser([](const TFileRequest&) { return QString(); });
            QVERIFY(!window.form.UseFieldPicture(home_->filePath(QStringLiteral("none.bmp"))));
            QVERIFY(window.form.FindAction(QStringLiteral("Загружать рисунок поля"))->isChecked());
        }
        QVERIFY(store.RegReadBool(QStringLiteral("LoadField"), false));
    }

    // Settings files that a hand, another program or a runaway write made:
    // the window still comes up at once, with what it can read.
    void hostileSettingsFilesStillStartTheWindow_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("regime");
        QByteArray many;
        for (int i = 0; i < 100000; ++i)
            many += "Unknown" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
        QTest::newRow("100 000 keys") << QByteArray("Regime=2\n" + many) << 2;
        QTest::newRow("one 3 MB line")
            << QByteArray("Regime=2\nLong=" + QByteArray(3 << 20, 'x')) << 2;
        QTest::newRow("old Mac line ends") << QByteArray("Regime=2\rIntellect=3\r") << 2;
        QTest::newRow("a line without '='") << QByteArray("Intellect=3\nRegime 2\nHelp=0\n") << 1;
    }
    void hostileSettingsFilesStillStartTheWindow() {
        QFETCH(QByteArray, text);
        QFETCH(int, regime);
        SettingsStore store;
        QVERIFY(QDir().mkpath(QFileInfo(ConfigFile()).absolutePath()));
        QVERIFY(WriteFile(ConfigFile(), text));
        {
            const int before = store.FileReads();
            TWindow window(store);
            QVERIFY(window.idle);
            QCOMPARE(store.FileReads() - before, 1); // the window's creation reads it once
            QCOMPARE(int(window.form.Controller().Regim()), regime);
        }
        // The exit wrote over the file; a text it could not fully read was
        // kept aside first.
        const QStringList aside =
            QDir(QFileInfo(ConfigFile()).absolutePath()).entryList({"Dorvane.conf.corrupt-*"});
        QCOMPARE(aside.isEmpty(), !QByteArray(QTest::currentDataTag()).contains("'='"));
        if (!aside.isEmpty())
            QCOMPARE(ReadAll(QFileInfo(ConfigFile()).absolutePath() + u'/' + aside[0]), text);
        QCOMPARE(store.RegReadInteger(QStringLiteral("Regime"), 0), regime);
    }

    // A named pipe under a file's name is never opened: it would wait for a
    // writer for ever.
    void namedPipesAreNeverOpened() {
        const QString pipe = home_->filePath(QStringLiteral("pipe.dvn"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(QDir().mkpath(QFileInfo(ConfigFile()).absolutePath()));
        QCOMPARE(::mkfifo(QFile::encodeName(ConfigFile()).constData(), 0600), 0);
        {
            SettingsStore store;
            TWindow window(store); // the settings file: defaults
            QVERIFY(window.idle);
            QVERIFY(!window.form.UseBackgroundPicture(pipe)); // a picture: the texture
            QVERIFY(!window.form.LoadGameFile(pipe));         // a game: the message
            QCOMPARE(window.messages, QStringList{QStringLiteral("Не удалось открыть файл!")});
            window.form.OpenFile(pipe); // handed over: nothing
            QCOMPARE(window.messages.size(), 1);
        }
        QFile::remove(ConfigFile());
    }

    // The restart's game file is written by replacing its folder entry: a
    // link planted under its name is replaced, never written through, and
    // the next copy reads only a regular file of the user's.
    void theRestartNeverWritesThroughALink() {
        const QString victim = home_->filePath(QStringLiteral("victim.txt"));
        QVERIFY(WriteFile(victim, "precious"));
        QString temporary;
        {
            SettingsStore store;
            TWindow window(store);
            temporary = TemporaryGamePath();
            const QString folder = QFileInfo(temporary).absolutePath();
            QVERIFY(!QFileInfo::exists(folder));
            window.form.SetProgramStarter([] { return true; });
            window.form.FindAction(QStringLiteral("Все по умолчанию"))->trigger();
            QVERIFY(QFileInfo(temporary).isFile());
            QCOMPARE(QFile::permissions(temporary) & 0x7777,
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
            struct stat info {};
            QCOMPARE(::stat(QFile::encodeName(folder).constData(), &info), 0);
            QCOMPARE(int(info.st_mode & 0777), 0700);

            // Planted where the game was: the next save replaces the link.
            QVERIFY(QFile::remove(temporary));
            QVERIFY(QFile::link(victim, temporary));
        }
        SettingsStore store;
        {
            TWindow window(store);
            window.form.SetProgramStarter([] { return true; });
            window.form.FindAction(QStringLiteral("Все по умолчанию"))->trigger();
        }
        QCOMPARE(ReadAll(victim), QByteArray("precious"));
        QVERIFY(!QFileInfo(temporary).isSymLink());
        QVERIFY(QFileInfo(temporary).isFile());

        // A link to a real game is not followed by the restarted copy either.
        const QString game = home_->filePath(QStringLiteral("elsewhere.dvn"));
        QVERIFY(QFile::rename(temporary, game));
        QVERIFY(QFile::link(game, temporary));
        TWindow restarted(store);
        const TSavedGame before = restarted.form.Controller().SavedGame();
        restarted.form.OpenAtStart({}, true);
        QVERIFY(restarted.form.Controller().SavedGame() == before);
        QVERIFY(!QFileInfo(temporary).isSymLink() && !QFileInfo::exists(temporary));
        QVERIFY(QFileInfo(game).isFile()); // the target itself stays
    }

    void stayOnTopIsOfferedInTheStandardWindowMode() {
        SettingsStore store;
        store.RegWriteBool(QStringLiteral("StartStandard"), true);
        {
            TWindow window(store);
            QAction* item = window.form.FindAction(QStringLiteral("Поверх всех окон"));
            QVERIFY(item->isEnabled());
            item->trigger();
            QVERIFY(window.form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QVERIFY(window.form.isVisible());
        }
        {
            // The stored mark holds from the splash's end on, not before: a
            // window on top would come up under the splash.
            TWindow window(store);
            QVERIFY(window.form.FindAction(QStringLiteral("Поверх всех окон"))->isChecked());
            QVERIFY(!window.form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            window.form.ShowWindows();
            QVERIFY(window.form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QVERIFY(window.form.isVisible());
        }
        {
            // A logout during the splash's last ticks closes the window; the
            // splash's end must not bring it back without its music.
            TWindow window(store);
            window.form.show();
            QVERIFY(window.form.close());
            window.form.ShowWindows();
            QVERIFY(!window.form.isVisible());
        }
        // In the independent mode the stored value is not read.
        store.RegWriteBool(QStringLiteral("StartStandard"), false);
        TWindow window(store);
        QAction* item = window.form.FindAction(QStringLiteral("Поверх всех окон"));
        QVERIFY(!item->isEnabled());
        QVERIFY(!item->isChecked());
        QVERIFY(!window.form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void hiddenPanelCentresTheNarrowerWindow() {
        SettingsStore store;
        store.RegWriteBool(QStringLiteral("ControlPanel"), false);
        TWindow window(store);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(window.form.width() < 500);
        QCOMPARE(window.form.pos().x(), area.left() + (area.width() - window.form.width()) / 2);
    }

    void unwritableSettingsStartQuietlyAndSaveNothing() {
        // A file where the settings folder should be: nothing can be written
        // (as root a read-only folder would not stop it).
        QDir().mkpath(home_->filePath(QStringLiteral("config")));
        QFile blocker(home_->filePath(QStringLiteral("config/Kvo")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        {
            SettingsStore store;
            store.RegWriteBool(QStringLiteral("ReStart"), false);
            QVERIFY(!store.RegistryWritable());
            TWindow window(store);
            QVERIFY(!window.form.SettingsWritable());
            QVERIFY(!window.form.FindAction(QStringLiteral("Все по умолчанию"))->isEnabled());
            window.form.FindAction(QStringLiteral("Сетка"))->trigger();
            window.form.close();
            QCOMPARE(window.messages, QStringList());
        }
        QCOMPARE(QFileInfo(home_->filePath(QStringLiteral("config/Kvo"))).size(), 0);
        QVERIFY(!QFileInfo::exists(ConfigFile()));
    }

    void savedGamesRoundTripThroughTheCommands_data() {
        QTest::addColumn<int>("regim");
        QTest::addColumn<int>("moves");
        QTest::addColumn<int>("stepsBack");
        QTest::newRow("two humans, history view") << 2 << 9 << 3;
        QTest::newRow("against the computer") << 1 << 4 << 0;
        QTest::newRow("finished game") << 2 << 100 << 0;
    }

    void savedGamesRoundTripThroughTheCommands() {
        QFETCH(int, regim);
        QFETCH(int, moves);
        QFETCH(int, stepsBack);
        TGameOptions options;
        options.Regim = std::uint8_t(regim);
        options.GoFast = true;
        TPlayDriver driver(options);
        if (regim == 1) {
            unsigned policy = 3;
            for (int i = 0; i < moves; ++i) {
                const int cell = PickMove(driver.Game().State().GameBoard, 1, policy);
                if (cell == 0) break;
                driver.ClickCell(cell);
                QVERIFY(driver.WaitIdle());
            }
        } else {
            PlayMoves(driver, moves);
        }
        for (int i = 0; i < stepsBack; ++i)
            driver.Form().FindAction(QStringLiteral("Назад"))->trigger();
        QVERIFY(driver.WaitIdle());
        const bool finished = moves > 60;
        QCOMPARE(driver.Game().CurrentE() != TGameController::kUnfinished, finished);
        const TSavedGame before = driver.Game().SavedGame();
        const QString path = QDir(home_->path()).filePath(QStringLiteral("partie"));
        driver.TakeMessages();

        RunDialogCommand(driver.Form(), QStringLiteral("Сохранить игру"), path);
        QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Игра успешно сохранена.")});
        QVERIFY(QFileInfo::exists(path + QStringLiteral(".dvn"))); // the default extension

        TPlayDriver other(TGameOptions{});
        QVERIFY(other.WaitIdle());
        RunDialogCommand(other.Form(), QStringLiteral("Загрузить игру"),
                         path + QStringLiteral(".dvn"));
        QVERIFY(other.WaitIdle());
        QCOMPARE(other.TakeMessages(), QStringList());
        QVERIFY(other.Game().SavedGame() == before);
        QVERIFY(!other.Game().PlayR()); // shown in history view
        QCOMPARE(other.Game().State().GameBoard, before.March.Fields[before.CurrentV]);
        QCOMPARE(other.Form().FindAction(QStringLiteral("Вперед"))->isEnabled(), stepsBack > 0);
        QCOMPARE(other.Form().FindAction(QStringLiteral("Назад"))->isEnabled(),
                 before.CurrentV > 0);
        QCOMPARE(other.Form().FindAction(QStringLiteral("Человек и Человек"))->isChecked(),
                 regim == 2);
        QTRY_VERIFY_WITH_TIMEOUT(RecentMenu(other.Form()) != nullptr, 2000);
        QCOMPARE(Texts(RecentMenu(other.Form())),
                 (QStringList{QStringLiteral("1) ") + path + QStringLiteral(".dvn"),
                              QStringLiteral("Очистить")}));

        other.Form().FindAction(QStringLiteral("Играть"))->trigger();
        QVERIFY(other.WaitIdle());
        QCOMPARE(other.Game().CurrentE() != TGameController::kUnfinished, finished);
        if (!finished) QCOMPARE(other.Game().CurrentR(), before.CurrentV);
    }

    void hostileFilesAreRefusedAndTheGameStays_data() {
        QTest::addColumn<int>("damage");
        QTest::newRow("one byte short") << 0;
        QTest::newRow("wrong header") << 1;
        QTest::newRow("cell that is no disc") << 2;
        QTest::newRow("empty file") << 3;
    }

    void hostileFilesAreRefusedAndTheGameStays() {
        QFETCH(int, damage);
        TPlayDriver driver(TGameOptions{});
        PlayMoves(driver, 1);
        const TSavedGame before = driver.Game().SavedGame();
        const std::vector<std::uint8_t> encoded = EncodeSavedGame(before);
        QByteArray bytes(reinterpret_cast<const char*>(encoded.data()), qsizetype(encoded.size()));
        if (damage == 0) bytes.chop(1);
        if (damage == 1) bytes[0] = 'X';
        if (damage == 2) bytes[14 + 45] = 7;
        if (damage == 3) bytes.clear();
        const QString path = home_->filePath(QStringLiteral("hostile.dvn"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        driver.TakeMessages();
        RunDialogCommand(driver.Form(), QStringLiteral("Загрузить игру"), path);
        QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Неверный формат файла!")});
        QVERIFY(driver.Game().SavedGame() == before);
        QVERIFY(driver.Game().PlayR());
        QVERIFY(driver.Form().RecentFiles().MenuItems().isEmpty());
    }

    void recentSubmenuFollowsTheList() {
        SettingsStore store;
        const QString folder = home_->path();
        QStringList paths;
        {
            TPlayDriver source(TGameOptions{});
            for (int i = 0; i < 11; ++i) {
                paths << QDir(folder).filePath(QStringLiteral("g%1.dvn").arg(i));
                QVERIFY(WriteSavedGameFile(paths.last(), source.Game().SavedGame()));
            }
        }
        {
            TWindow window(store);
            TMainForm& form = window.form;
            form.LoadGameFile(paths[0]);
            QTRY_VERIFY_WITH_TIMEOUT(RecentMenu(form) != nullptr, 2000);
            // The same file under another letter case is not listed twice.
            const QString upper = QDir(folder).filePath(QStringLiteral("G0.DVN"));
            QVERIFY(QFile::copy(paths[0], upper));
            QVERIFY(form.LoadGameFile(upper));
            for (int i = 1; i < 11; ++i)
                QVERIFY(form.LoadGameFile(paths[i]));
            QTest::qWait(1);
            QMenu* menu = RecentMenu(form);
            QVERIFY(menu);
            QStringList expected;
            for (int slot = 1; slot <= 10; ++slot)
                expected << QStringLiteral("%1) %2").arg(slot).arg(paths[11 - slot]);
            expected << QStringLiteral("Очистить");
            QCOMPARE(Texts(menu), expected);
            // The item before the submenu is "Сохранить игру".
            const QList<QAction*> items = qobject_cast<QWidget*>(menu->parent())->actions();
            QCOMPARE(items[items.indexOf(menu->menuAction()) - 1]->text(),
                     QStringLiteral("Сохранить игру"));
            QVERIFY(window.messages.isEmpty());
        }
        {
            TWindow window(store);
            QMenu* menu = RecentMenu(window.form);
            QVERIFY(menu);
            QCOMPARE(menu->actions().size(), 11);
            // An item loads its file.
            QVERIFY(window.form.Controller().PlayR());
            menu->actions()[3]->trigger();
            QVERIFY(!window.form.Controller().PlayR());
            menu = RecentMenu(window.form);
            menu->actions().last()->trigger(); // "Очистить"
            QTRY_COMPARE_WITH_TIMEOUT(RecentMenu(window.form), nullptr, 2000);
        }
        QCOMPARE(store.RegReadString(QStringLiteral("File1"), QStringLiteral("none")),
                 QStringLiteral("none"));
    }

    void droppedAndCommandLineFilesOpen() {
        SettingsStore store;
        const QString path = home_->filePath(QStringLiteral("dropped.DVN"));
        TSavedGame saved;
        {
            TPlayDriver source(TGameOptions{});
            PlayMoves(source, 3);
            saved = source.Game().SavedGame();
            QVERIFY(WriteSavedGameFile(path, saved));
        }
        TWindow window(store);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(QStringLiteral("/nope"))});
        // Dropped on the board: the window takes it.
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window.form.Board(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window.form.Board(), &drop);
        QVERIFY(drop.isAccepted());
        QVERIFY(window.form.Controller().SavedGame() == saved);

        // While the computer is to move a dropped file is ignored.
        TWindow busy(store);
        unsigned policy = 1;
        const int cell = PickMove(busy.form.Controller().State().GameBoard, 1, policy);
        QTest::mouseClick(busy.form.Board().FieldWidget(), Qt::LeftButton, {},
                          CellCentre(ColumnOf(cell), RowOf(cell)));
        QVERIFY(!busy.form.Controller().CanAct());
        QApplication::sendEvent(&busy.form.Board(), &drop);
        QVERIFY(busy.form.RecentFiles().MenuItems().isEmpty());
        QVERIFY(!(busy.form.Controller().SavedGame() == saved));

        TWindow started(store);
        started.form.OpenAtStart({path}, false);
        QVERIFY(started.form.Controller().SavedGame() == saved);
        QCOMPARE(started.messages, QStringList());

        // Names given at the start that lead nowhere are said once, whatever
        // they name and wherever they stand; the game named beside them opens.
        const QString dangling = home_->filePath(QStringLiteral("gone.mp3"));
        QVERIFY(QFile::link(home_->filePath(QStringLiteral("no such.mp3")), dangling));
        const QString missing = home_->filePath(QStringLiteral("нет/такой.dvn"));
        const std::vector<QStringList> nowhere{
            {missing},
            {dangling, path},
            {path, QStringLiteral("http://example.org/remote.dvn"), missing},
        };
        for (const QStringList& named : nowhere) {
            TWindow opened(store);
            opened.form.OpenAtStart(named, false);
            QTRY_COMPARE_WITH_TIMEOUT(
                opened.messages, QStringList{QStringLiteral("Не удалось открыть файл!")}, 5000);
            if (named.contains(path))
                QTRY_VERIFY_WITH_TIMEOUT(opened.form.Controller().SavedGame() == saved, 5000);
        }
    }

    void allByDefaultWritesNothingAtExitAndTheNewCopyResumes() {
        TSavedGame kept;
        {
            SettingsStore store;
            store.RegWriteString(QString(), QStringLiteral("installed"));
            store.RegWriteString(QStringLiteral("Start Menu Folder"), QStringLiteral("Games"));
            store.RegWriteBool(QStringLiteral("ReStart"), false);
            store.RegWriteBool(QStringLiteral("GoFast"), true);
            TWindow window(store);
            int starts = 0;
            window.form.SetProgramStarter([&] {
                ++starts;
                return true;
            });
            window.answer = false;
            window.form.FindAction(QStringLiteral("Все по умолчанию"))->trigger();
            QCOMPARE(starts, 0);
            QVERIFY(store.RegReadBool(QStringLiteral("GoFast"), false));

            TPlayDriver game(TGameOptions{}); // a game worth keeping, played by clicks
            PlayMoves(game, 1);
            window.form.Controller().ShowLoadedGame(game.Game().SavedGame());
            window.form.Controller().ResumePlay();
            QVERIFY(window.form.Controller().PlayR());
            QVERIFY(QTest::qWaitFor([&] { return !window.form.Controller().Blocked(); }, 10000));
            kept = window.form.Controller().SavedGame();

            window.answer = true;
            // A copy that cannot be started: this one stays, and no later
            // start picks up a game.
            window.form.SetProgramStarter([&] {
                ++starts;
                return false;
            });
            window.form.FindAction(QStringLiteral("Все по умолчанию"))->trigger();
            QVERIFY(window.form.isVisible());
            QVERIFY(!QFileInfo::exists(TemporaryGamePath()));
            window.form.SetProgramStarter([&] {
                ++starts;
                return true;
            });
            QVERIFY(window.form.FindAction(QStringLiteral("Все по умолчанию"))->isEnabled());
            window.form.FindAction(QStringLiteral("Все по умолчанию"))->trigger();
            QCOMPARE(window.messages.last(),
                     QStringLiteral("Текущие настройки будут потеряны, Вы уверены?"));
            QCOMPARE(starts, 2);
            QVERIFY(!window.form.isVisible());
            QVERIFY(!window.form.SettingsWritable());
            QVERIFY(QFileInfo::exists(TemporaryGamePath()));
        }
        SettingsStore store;
        QCOMPARE(store.RegReadString(QString(), {}), QStringLiteral("installed"));
        QCOMPARE(store.RegReadString(QStringLiteral("Start Menu Folder"), {}),
                 QStringLiteral("Games"));
        QVERIFY(store.RegReadBool(QStringLiteral("ReStart"), false));
        QVERIFY(!store.RegReadBool(QStringLiteral("GoFast"), false));
        QCOMPARE(store.RegReadString(QStringLiteral("Left"), QStringLiteral("gone")),
                 QStringLiteral("gone"));

        TWindow restarted(store);
        const QString other = home_->filePath(QStringLiteral("other.dvn"));
        QVERIFY(WriteSavedGameFile(other, TPlayDriver(TGameOptions{}).Game().SavedGame()));
        restarted.form.OpenAtStart({other}, true);
        QVERIFY(!QFileInfo::exists(TemporaryGamePath()));
        TSavedGame now = restarted.form.Controller().SavedGame();
        QVERIFY(now.March.Fields == kept.March.Fields);
        QCOMPARE(now.CurrentR, kept.CurrentR);
        QVERIFY(restarted.form.Controller().PlayR()); // play resumed at once
        QVERIFY(restarted.form.RecentFiles().MenuItems().isEmpty());
        QCOMPARE(restarted.messages, QStringList());
    }
};

} // namespace dorvane::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvane"));
    QApplication::setOrganizationName(QStringLiteral("Kvo"));
    dorvane::test::WindowSettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_settings_test.moc"
