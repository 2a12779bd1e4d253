// The game window's tray icon and window management, offscreen, where no
// notification area exists: "Минимизировать в трей" cannot be switched on and
// nothing hides the window; the tray menu's window list; the window mode of
// the next run; windows that stay on top around a modal dialog.
#include "stored_window.h"

#include "shell/settings_store.h"
#include "widgets/window_mode.h"

#include "support/temp_home.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <memory>

namespace dorvane::test {

class TrayTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempHome> home_;

private slots:
    void init() { home_ = std::make_unique<TTempHome>(); }
    void cleanup() { home_.reset(); }

    void withoutNotificationAreaNothingHidesTheWindow() {
        QVERIFY(!TKvoTrayIcon::NotificationAreaAvailable());
        SettingsStore store;
        store.RegWriteBool(QStringLiteral("MinimizeToTray"), true);
        TWindow window(store);
        TMainForm& form = window.form;
        QAction* item = form.FindAction(QStringLiteral("Минимизировать в трей"));
        QVERIFY(item);
        QVERIFY(!item->isChecked());
        item->trigger();
        QVERIFY(!item->isChecked());
        QVERIFY(!form.Tray().Icon().MinimizeToTray());

        // Even when asked to, the component does not hide the only way back.
        form.Tray().Icon().SetMinimizeToTray(true);
        form.showMinimized();
        QTest::qWait(50);
        QVERIFY(form.isVisible());
        QVERIFY(!form.Tray().Icon().HideMainForm());
        QVERIFY(form.isVisible());
    }

    void trayMenuListsTheWindows() {
        SettingsStore store;
        TWindow window(store);
        TGameTray& tray = window.form.Tray();
        QStringList items;
        for (const QAction* action : tray.Menu()->actions())
            if (!action->isSeparator()) items << action->text();
        QCOMPARE(items, (QStringList{QStringLiteral("О программе"), QStringLiteral("Окна"),
                                     QStringLiteral("Закрыть")}));

        QWidget other;
        const QString caption = QString(70, QLatin1Char('x'));
        other.setWindowTitle(caption);
        other.show();
        QWidget untitled;
        untitled.show();
        tray.RebuildWindowList();
        const QList<QAction*> listed = tray.WindowsMenu()->actions();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed[0]->text(), QStringLiteral("Главное окно"));
        QVERIFY(listed[0]->font().bold());
        QCOMPARE(listed[1]->text(), caption.left(61) + QStringLiteral("..."));
        QVERIFY(!listed[1]->font().bold());
        QVERIFY(tray.WindowsMenu()->menuAction()->isVisible());
        QVERIFY(!tray.AboutItem()->isVisible());

        // Started minimised, the list stays as it was until the first click.
        tray.SetShowMainMin(true);
        other.hide();
        tray.RebuildWindowList();
        QCOMPARE(tray.WindowsMenu()->actions().size(), 2);
        tray.Click();
        QVERIFY(!tray.ShowMainMin());
        tray.RebuildWindowList();
        QCOMPARE(tray.WindowsMenu()->actions().size(), 1);
    }

    void listedCaptionsAreCutAfter64Characters() {
        QCOMPARE(ListedWindowCaption(QString(64, QLatin1Char('a'))), QString(64, QLatin1Char('a')));
        QCOMPARE(ListedWindowCaption(QString(65, QLatin1Char('a'))),
                 QString(61, QLatin1Char('a')) + QStringLiteral("..."));
    }

    void windowModeChangesAtTheNextStart() {
        SettingsStore store;
        TWindow window(store);
        TMainForm& form = window.form;
        QAction* item = form.FindAction(QStringLiteral("Не скрывать окна при минимизации"));
        // The independent mode is the default: the item is checked and
        // "Поверх всех окон" is not offered.
        QVERIFY(item->isChecked());
        QVERIFY(!form.FindAction(QStringLiteral("Поверх всех окон"))->isEnabled());
        item->trigger();
        QVERIFY(!item->isChecked());
        QCOMPARE(window.messages,
                 QStringList{QStringLiteral(
                     "Изменения вступят в силу после перезагрузки программы «Dorvane»")});
        QVERIFY(SettingsStore().RegReadBool(QStringLiteral("StartStandard"), false));
        QVERIFY(!form.FindAction(QStringLiteral("Поверх всех окон"))->isEnabled());
        QVERIFY(!form.Tray().Icon().StartStandard());
        item->trigger();
        QVERIFY(!SettingsStore().RegReadBool(QStringLiteral("StartStandard"), true));
    }

    void stayOnTopWindowsStepDownWhileAModalDialogIsOpen() {
        QWidget topmost;
        topmost.setWindowFlag(Qt::WindowStaysOnTopHint);
        topmost.show();
        QWidget plain;
        plain.show();
        QVERIFY(TModalScope::TopMostRestoreAllowed());
        {
            const TModalScope outer;
            QVERIFY(!topmost.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QVERIFY(topmost.isVisible());
            {
                const TModalScope inner;
                QVERIFY(!TModalScope::TopMostRestoreAllowed());
            }
            QVERIFY(!TModalScope::TopMostRestoreAllowed());
            QVERIFY(!topmost.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        }
        QVERIFY(TModalScope::TopMostRestoreAllowed());
        QVERIFY(topmost.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(topmost.isVisible());
        QVERIFY(!plain.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void theStandardModesWindowsAreMinimisedTogether() {
        SettingsStore store;
        store.RegWriteBool(QStringLiteral("StartStandard"), true);
        TWindow window(store);
        TMainForm& form = window.form;
        QVERIFY(form.Tray().Icon().StartStandard());
        QVERIFY(!form.FindAction(QStringLiteral("Не скрывать окна при минимизации"))->isChecked());
        QVERIFY(form.FindAction(QStringLiteral("Поверх всех окон"))->isEnabled());
        QWidget other;
        other.setWindowTitle(QStringLiteral("Список"));
        other.show();
        // A window the window manager does not manage, as the toolkit's own
        // widget of an XEmbed tray icon is, is not one of the program's.
        QWidget icon(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
        icon.resize(22, 22);
        icon.show();
        form.showMinimized();
        QTRY_VERIFY(other.isMinimized());
        QVERIFY(!icon.isMinimized());
        form.showNormal();
        QTRY_VERIFY(!other.isMinimized());
        QVERIFY(other.isVisible());
        QVERIFY(icon.isVisible());
    }

    void theIndependentModesWindowsStayWhenTheGameWindowIsMinimised() {
        SettingsStore store;
        TWindow window(store);
        QWidget other;
        other.show();
        window.form.showMinimized();
        QTest::qWait(20);
        QVERIFY(!other.isMinimized());
    }

    void hintFollowsTheCaptionWithinItsLimit() {
        SettingsStore store;
        TWindow window(store);
        window.form.SetCaption(QString(200, QLatin1Char('y')));
        QCOMPARE(window.form.Tray().Icon().Hint().size(), TKvoTrayIcon::kHintLength);
        QVERIFY(window.form.Tray().Icon().Hint().startsWith(QStringLiteral("Dorvane - yyy")));
    }
};

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::TrayTest)
#include "tray_test.moc"
