// The game window's desktop commands in a home of the test's own: the
// "Запуск" launchers, "Интеграция в оболочку", the saved-game type at the
// window's creation, the games it saves in the recently used files, and a
// link dropped on the window opening the game it names.
#include "stored_window.h"

#include "desktop/desktop_entry.h"
#include "desktop/file_types.h"
#include "play/saved_game_file.h"
#include "shell/settings_store.h"
#include "view/filetypeform.h"

#include "support/dialog_wait.h"
#include "support/env_guard.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace dorvane::test {

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class DesktopWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TEnvGuard> home_, config_, data_;

    QString Path(const QString& relative) const { return dir_->filePath(relative); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        home_ = std::make_unique<TEnvGuard>("HOME", dir_->path().toStdString());
        config_ = std::make_unique<TEnvGuard>("XDG_CONFIG_HOME",
                                              Path(QStringLiteral(".config")).toStdString());
        data_ = std::make_unique<TEnvGuard>("XDG_DATA_HOME",
                                            Path(QStringLiteral(".local/share")).toStdString());
    }
    void cleanup() {
        data_.reset();
        config_.reset();
        home_.reset();
        dir_.reset();
    }

    void launchersComeAndGo() {
        SettingsStore store;
        TWindow window(store);
        QVERIFY(window.idle);
        const struct {
            const char* item;
            const char* file;
        } cases[] = {
            {"Создать/удалить ярлык в группе «Игры»",
             ".local/share/applications/kvo-dorvane-games.desktop"},
            {"Создать/удалить ярлык в главном меню",
             ".local/share/applications/kvo-dorvane-menu.desktop"},
            {"Создать/удалить ярлык на рабочем столе", "Desktop/Dorvane.desktop"},
            {"Создать/удалить ярлык в группе «Автозагрузка»", ".config/autostart/Dorvane.desktop"},
        };
        for (const auto& c : cases) {
            QAction* item = window.form.FindAction(QString::fromUtf8(c.item));
            QVERIFY2(item, c.item);
            const QString file = Path(QString::fromUtf8(c.file));
            item->trigger();
            QVERIFY2(QFileInfo::exists(file), c.file);
            QVERIFY(
                ReadAll(file).contains(QFile::encodeName(QCoreApplication::applicationFilePath())));
            item->trigger();
            QVERIFY2(!QFileInfo::exists(file), c.file);
        }
        // No Quick Launch here.
        QVERIFY(!window.form.FindAction(
            QStringLiteral("Создать/удалить ярлык в панели «Быстрый запуск»")));
        QCOMPARE(window.messages, QStringList());
    }

    void savedGamesAreTheProgramsFromTheStart() {
        SettingsStore store;
        TWindow window(store);
        QVERIFY(window.form.Desktop()->Types().IsTypeAssociated(QStringLiteral("dvn")));
        QVERIFY(ReadAll(Path(QStringLiteral(".config/mimeapps.list")))
                    .contains("application/x-dorvane-game=kvo-dorvane.desktop"));
    }

    void chosenTypesAreTakenBackAtTheStartWithRestoreType() {
        {
            SettingsStore store;
            store.RegWriteBool(QStringLiteral("wav"), true);
            store.RegWriteBool(QStringLiteral("flac"), true);
            TWindow window(store);
            // Without "RestoreType" nothing but the saved games.
            QVERIFY(!window.form.Desktop()->Types().IsTypeAssociated(QStringLiteral("wav")));
        }
        SettingsStore store;
        store.RegWriteBool(QStringLiteral("RestoreType"), true);
        TWindow window(store);
        const TFileTypes& types = window.form.Desktop()->Types();
        QVERIFY(types.IsTypeAssociated(QStringLiteral("wav")));
        QVERIFY(types.IsTypeAssociated(QStringLiteral("flac")));
        QVERIFY(!types.IsTypeAssociated(QStringLiteral("mp3")));
    }

    void fileTypesWindowRegistersTheChosenTypes() {
        SettingsStore store;
        TWindow window(store);
        bool seen = false;
        WhenDialogShows<TFileTypeForm>([&seen](TFileTypeForm& form) {
            seen = true;
            QCOMPARE(form.windowTitle(), QStringLiteral("Интеграция в оболочку"));
            QCOMPARE(form.List()->count(), 15);
            QCOMPARE(form.List()->item(0)->text(), QStringLiteral("ac3"));
            for (int i = 0; i < form.List()->count(); ++i)
                QCOMPARE(form.List()->item(i)->checkState(), Qt::Unchecked);
            QCOMPARE(form.RestoreBox()->text(), QStringLiteral("Восстанавливать при запуске"));
            QVERIFY(!form.RestoreBox()->isChecked());
            const auto items = form.List()->findItems(QStringLiteral("mp3"), Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            items.first()->setCheckState(Qt::Checked);
            form.RestoreBox()->setChecked(true);
            form.ApplyButton()->click();
        });
        window.form.FindAction(QStringLiteral("Интеграция в оболочку"))->trigger();
        QVERIFY(seen);
        const TFileTypes& types = window.form.Desktop()->Types();
        QVERIFY(types.IsTypeAssociated(QStringLiteral("mp3")));
        QVERIFY(!types.IsTypeAssociated(QStringLiteral("wav")));
        QVERIFY(SettingsStore().RegReadBool(QStringLiteral("mp3"), false));
        QVERIFY(SettingsStore().RegReadBool(QStringLiteral("RestoreType"), false));

        // Another program takes the type over: the window shows it unchecked
        // and stores that.
        TKeyFile list = TKeyFile::Parse(ReadAll(types.Places().MimeApps()));
        list.SetValue(QString::fromLatin1(kDefaultsGroup),
                      MimeTypeForExtension(QStringLiteral("mp3")), QStringLiteral("other.desktop"));
        QFile out(types.Places().MimeApps());
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(list.Text());
        out.close();
        WhenDialogShows<TFileTypeForm>([](TFileTypeForm& form) {
            const auto items = form.List()->findItems(QStringLiteral("mp3"), Qt::MatchExactly);
            QCOMPARE(items.first()->checkState(), Qt::Unchecked);
            QVERIFY(form.RestoreBox()->isChecked());
            form.CloseButton()->click();
        });
        window.form.FindAction(QStringLiteral("Интеграция в оболочку"))->trigger();
        QVERIFY(!SettingsStore().RegReadBool(QStringLiteral("mp3"), true));
    }

    void savedGameGoesIntoTheRecentlyUsedFiles() {
        SettingsStore store;
        TWindow window(store);
        const QString game = Path(QStringLiteral("партия.dvn"));
        window.form.SetFileChooser([&game](const TFileRequest&) { return game; });
        window.form.FindAction(QStringLiteral("Сохранить игру"))->trigger();
        QVERIFY(QFileInfo::exists(game));
        const QByteArray list = ReadAll(Path(QStringLiteral(".local/share/recently-used.xbel")));
        QVERIFY(list.contains(QUrl::fromLocalFile(game).toEncoded()));
        QVERIFY(list.contains("application/x-dorvane-game"));
    }

    void aLinkLauncherOpensTheGameItNames() {
        SettingsStore store;
        TWindow window(store);
        const QString game = Path(QStringLiteral("g.dvn"));
        QVERIFY(WriteSavedGameFile(game, window.form.Controller().SavedGame()));
        const QString link = Path(QStringLiteral("Desktop/g.desktop"));
        QDir().mkpath(QFileInfo(link).absolutePath());
        QFile file(link);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Link\nName=g\nURL=" +
                   QUrl::fromLocalFile(game).toEncoded() + "\n");
        file.close();
        window.form.OpenFile(link);
        QTRY_VERIFY_WITH_TIMEOUT(window.form.RecentFiles().MenuItems().size() == 1, 10000);
        QCOMPARE(window.form.RecentFiles().MenuItems().first().path, game);
    }
};

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::DesktopWindowTest)
#include "desktop_window_test.moc"
