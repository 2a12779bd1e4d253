// The shared controls and dialogs: the pointer glide, the attention of modal
// dialogs, the link label, the message and about windows, the launch of
// addresses and the menu and key helpers.
#include "widgets/aboutform.h"
#include "widgets/attention.h"
#include "widgets/dialogkeys.h"
#include "widgets/kvoalabel.h"
#include "widgets/kvocursorto.h"
#include "widgets/kvotrayicon.h"
#include "widgets/launch.h"
#include "widgets/menutools.h"
#include "widgets/messageboxes.h"
#include "widgets/messageform.h"

#include "core/program_info.h"
#include "core/size_text.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

#include <vector>

namespace dorvane {

namespace {

// A pointer of the test's own: where it is and every place it was put.
struct TFakeCursor {
    QPoint at;
    std::vector<QPoint> moves;
    TCursorAccess Access() {
        return {[this] { return at; },
                [this](const QPoint& p) {
                    at = p;
                    moves.push_back(p);
                }};
    }
};

struct TRecordedMessages : TMessageService {
    QStringList texts;
    TRecordedMessages() {
        SetResponder([this](TMessageKind, const QString& text) {
            texts << text;
            return true;
        });
    }
    void Present(TMessageKind, const QString&) override {}
    bool Ask(const QString&) override { return false; }
};

void Release(QWidget* receiver, QEvent::Type type, const QPoint& global,
             Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent event(type, receiver->mapFromGlobal(global), global, button, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(receiver, &event);
}

TAboutInfo SomeAbout(int* memoryReads = nullptr) {
    TAboutInfo info;
    info.version = QStringLiteral("1.2.3.4");
    info.mailAddress = QStringLiteral("feedback@dorvane.example.org");
    info.siteAddress = QStringLiteral("http://dorvane.example.org");
    info.storedTexts = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
                        QStringLiteral("four")};
    info.environment = {QStringLiteral("Debian версия 6.1 (сборка 6.1.0)"), QStringLiteral("Анна"),
                        QStringLiteral("Kvo")};
    info.memory = [memoryReads] {
        const int n = memoryReads ? ++*memoryReads : 1;
        return std::optional<TMemoryStatus>(
            TMemoryStatus{qint64(n) * 1048576 * 1024, 512 * 1048576, 3 * 1048576 + 5});
    };
    return info;
}

} // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void glideCoversTheDistanceInCountSteps() {
        QWidget window;
        window.setGeometry(100, 100, 200, 200);
        auto* target = new QPushButton(&window);
        target->setGeometry(50, 60, 21, 31);
        window.show();
        TFakeCursor cursor;
        cursor.at = QPoint(0, 0);
        TKvoCursorTo glide;
        glide.SetCursorAccess(cursor.Access());
        int arrived = 0;
        glide.OnMouseEnter = [&arrived] { ++arrived; };
        glide.SetEnabled(true); // no control yet: nothing happens
        QVERIFY(!glide.Enabled());
        glide.SetToControl(target);
        glide.SetCount(4);
        glide.SetEnabled(true);
        QCOMPARE(glide.StepsLeft(), 4);
        const QPoint goal = target->mapToGlobal(QPoint(10, 15));
        const QPoint start = cursor.at;
        for (int i = 0; i < 4; ++i)
            glide.Tick();
        QCOMPARE(int(cursor.moves.size()), 4);
        // Each step a quarter, a third, a half of what is left, toward zero.
        QPoint expect = start;
        for (int left = 4; left > 1; --left) {
            const QPoint delta = goal - expect;
            expect += QPoint(delta.x() / left, delta.y() / left);
            QCOMPARE(cursor.moves[std::size_t(4 - left)], expect);
        }
        QCOMPARE(cursor.moves.back(), goal);
        QCOMPARE(arrived, 1);
        glide.Tick(); // no step left: the glide ends
        QVERIFY(!glide.Enabled());
        QCOMPARE(int(cursor.moves.size()), 4);

        // One step: on the target at the first tick.
        cursor.moves.clear();
        cursor.at = QPoint(900, 5);
        glide.SetCount(1);
        glide.SetEnabled(true);
        glide.Tick();
        QCOMPARE(cursor.moves, std::vector<QPoint>{goal});
        QCOMPARE(arrived, 2);
    }

    void attentionDecisionTable() {
        using D = TAttention::TDecision;
        const QRect frame(100, 100, 300, 200);
        struct TCase {
            bool enabled, active;
            Qt::MouseButton button;
            bool own;
            QPoint at;
            D decision;
        };
        const TCase cases[] = {
            {true, true, Qt::LeftButton, false, QPoint(10, 10), D::Flash},
            {true, true, Qt::RightButton, false, QPoint(500, 150), D::Flash},
            {true, true, Qt::LeftButton, false, QPoint(150, 105), D::Raise}, // its caption
            {true, true, Qt::LeftButton, true, QPoint(150, 150), D::Ignore}, // its own button
            {true, true, Qt::MiddleButton, false, QPoint(10, 10), D::Ignore},
            {false, true, Qt::LeftButton, false, QPoint(10, 10), D::Ignore},
            {true, false, Qt::LeftButton, false, QPoint(10, 10), D::Ignore},
        };
        for (const TCase& c : cases)
            QCOMPARE(TAttention::Decide(c.enabled, c.active, c.button, c.own, frame, c.at),
                     c.decision);
    }

    void clickOutsideAModalDialogFlashesAndGlidesToClose() {
        QWidget main;
        main.setGeometry(0, 0, 800, 600);
        main.show();
        TAboutForm form(SomeAbout(), {}, &main);
        TAttention& attention = form.Attention();
        int flashes = 0;
        attention.SetAlert([&flashes, &form](QWidget* widget) {
            QCOMPARE(widget, &form);
            ++flashes;
        });
        TFakeCursor cursor;
        attention.CursorTo().SetCursorAccess(cursor.Access());
        QVERIFY(attention.SetHook());
        form.setWindowModality(Qt::ApplicationModal);
        form.show();
        QCOMPARE(QApplication::activeModalWidget(), &form);
        // Opening glides to the version link.
        QVERIFY(attention.CursorTo().Enabled());
        QCOMPARE(attention.CursorTo().ToControl(), form.VersionLink());
        while (attention.CursorTo().StepsLeft() > 0)
            attention.CursorTo().Tick();
        const QWidget* link = form.VersionLink();
        QCOMPARE(cursor.at, link->mapToGlobal(QPoint(link->width() / 2, link->height() / 2)));
        QCOMPARE(flashes, 0); // no flash: nothing was clicked yet

        // A release on its own caption brings it forward and nothing more.
        const QPoint caption = form.frameGeometry().topLeft() + QPoint(20, 2);
        Release(&form, QEvent::NonClientAreaMouseButtonRelease, caption);
        // A release on its own button is the dialog's business.
        Release(form.OkButton(), QEvent::MouseButtonRelease,
                form.OkButton()->mapToGlobal(QPoint(5, 5)));
        QCOMPARE(flashes, 0);
        QVERIFY(!attention.FlashStart());

        // A release outside: the dialog flashes and the pointer goes to "OK".
        QPoint outside = form.frameGeometry().bottomRight() + QPoint(30, 30);
        if (!main.geometry().contains(outside)) outside = QPoint(2, 2);
        QVERIFY(!form.frameGeometry().contains(outside));
        // A release in a pop-up of the dialog (a list box's list) is its own.
        QMenu popup(&form);
        popup.addAction(QStringLiteral("item"));
        popup.popup(outside);
        Release(&popup, QEvent::MouseButtonRelease, outside);
        popup.hide();
        QCOMPARE(flashes, 0);
        Release(&main, QEvent::MouseButtonRelease, outside);
        QCOMPARE(flashes, 1);
        QVERIFY(attention.FlashStart());
        QCOMPARE(attention.CursorTo().ToControl(), form.OkButton());
        QCOMPARE(attention.CursorTo().StepsLeft(), 10);
        for (int i = 0; i < 10; ++i)
            attention.CursorTo().Tick();
        QVERIFY(form.OkButton()->rect().contains(form.OkButton()->mapFromGlobal(cursor.at)));
        QCOMPARE(flashes, 2); // once more when the pointer arrives

        // While attention is off nothing happens.
        TAttention::SetAttentionEnabled(false);
        Release(&main, QEvent::MouseButtonRelease, outside);
        TAttention::SetAttentionEnabled(true);
        QCOMPARE(flashes, 2);
        form.hide();
        // Not modal any more: clicks elsewhere are none of its business.
        Release(&main, QEvent::MouseButtonRelease, outside);
        QCOMPARE(flashes, 2);
    }

    void oneFilterPerDialogClass() {
        auto first = std::make_unique<TAboutForm>(SomeAbout(), TAboutActions{});
        TAboutForm second(SomeAbout(), {});
        QVERIFY(first->Attention().SetHook());
        QVERIFY(!second.Attention().SetHook());
        first.reset();
        TAboutForm third(SomeAbout(), {});
        QVERIFY(third.Attention().SetHook());
    }

    void linkLabelHoverColours() {
        QWidget window;
        TKvoALabel link(QStringLiteral("url"), &window);
        window.show();
        QVERIFY(link.font().bold());
        QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(link.TextColor(), QColor(0, 0, 128));
        int entered = 0, left = 0, clicked = 0;
        link.OnMouseEnter = [&] { ++entered; };
        link.OnMouseLeave = [&] { ++left; };
        link.OnClick = [&] { ++clicked; };
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&link, &enter);
        QCOMPARE(link.TextColor(), QColor(Qt::blue));
        QVERIFY(link.font().underline());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&link, &leave);
        QCOMPARE(link.TextColor(), QColor(0, 0, 128));
        QVERIFY(!link.font().underline());
        QCOMPARE(entered, 1);
        QCOMPARE(left, 1);
        link.SetDefaultSetting(false);
        QApplication::sendEvent(&link, &enter);
        QCOMPARE(link.TextColor(), QColor(0, 0, 128)); // the events still fire
        QCOMPARE(entered, 2);
        QTest::mouseClick(&link, Qt::LeftButton);
        QTest::mouseClick(&link, Qt::RightButton);
        QCOMPARE(clicked, 1);
    }

    void messageWindowSizeAndReuse() {
        ShowInfoMessage(QStringLiteral("Коротко"), TSystemIcon::Information);
        TMessageForm* form = TMessageForm::Current();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("Dorvane"));
        QVERIFY(form->isVisible());
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!form->isModal());
        QCOMPARE(form->size(), QSize(212, 93));
        QCOMPARE(form->Text()->x(), 56);
        QCOMPARE(form->Text()->y(), (32 - form->Text()->height()) / 2 + 12);
        QCOMPARE(form->OkButton()->geometry(), QRect((212 - 75) / 2, 56, 75, 25));
        QVERIFY(!form->Icon()->pixmap().isNull());

        // A second message replaces the text of the same window.
        MsgUnfinishedOperations();
        QCOMPARE(TMessageForm::Current(), form);
        QCOMPARE(form->Text()->text(), QStringLiteral("Имеются незавершенные операции!"));
        const int textWidth = form->Text()->width();
        QCOMPARE(form->width(), std::max(56 + textWidth, 200) + 12);
        const QString wide(80, QLatin1Char('W'));
        form->SetText(wide, TSystemIcon::None);
        QVERIFY(form->Text()->width() > 144);
        QCOMPARE(form->width(), 56 + form->Text()->width() + 12);
        QVERIFY(form->Icon()->pixmap().isNull());
        QCOMPARE(form->OkButton()->x(), (form->width() - 75) / 2);
        // Several lines keep the button under the text.
        form->SetText(QStringLiteral("1\n2\n3\n4\n5\n6"), TSystemIcon::Warning);
        QVERIFY(form->OkButton()->y() > form->Text()->geometry().bottom());

        QTest::mouseClick(form->OkButton(), Qt::LeftButton);
        QTRY_VERIFY(TMessageForm::Current() == nullptr);
        ShowInfoMessage(QStringLiteral("Снова"), TSystemIcon::Information);
        QVERIFY(TMessageForm::Current() != nullptr);
        TMessageForm::Current()->close();
        QTRY_VERIFY(TMessageForm::Current() == nullptr);
    }

    void aStatementTakesTheFocusAndAnswersItsKeys_data() {
        QTest::addColumn<bool>("ownerActive");
        QTest::addColumn<int>("key");
        QTest::newRow("owner active, Enter") << true << int(Qt::Key_Return);
        QTest::newRow("owner active, Esc") << true << int(Qt::Key_Escape);
        QTest::newRow("another window active, Enter") << false << int(Qt::Key_Return);
        QTest::newRow("another window active, Esc") << false << int(Qt::Key_Escape);
    }
    void aStatementTakesTheFocusAndAnswersItsKeys() {
        QFETCH(bool, ownerActive);
        QFETCH(int, key);
        QWidget owner;
        QWidget other;
        owner.show();
        other.show();
        QWidget& active = ownerActive ? owner : other;
        active.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&active));
        TMessageBoxes messages(&owner);
        messages.Show(QStringLiteral("Вы нарушаете правила игры!"), TMessageIcon::Warning);
        QPointer<QMessageBox> box = owner.findChild<QMessageBox*>();
        QVERIFY(box);
        QTRY_VERIFY(box->isActiveWindow());
        QVERIFY(box->defaultButton());
        QCOMPARE(QApplication::focusWidget(), box->defaultButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!box);
    }

    void aboutWindowTextsMemoryAndLinks() {
        int reads = 0;
        bool mailed = false;
        TAboutForm form(SomeAbout(&reads), {{}, [&mailed] { mailed = true; }, {}});
        QCOMPARE(form.windowTitle(), QStringLiteral("О программе «Dorvane»"));
        QCOMPARE(form.size(), QSize(399, 389));
        QCOMPARE(form.VersionLink()->text(), QStringLiteral("Версия: 1.2.3.4"));
        QCOMPARE(form.MailLink()->text(), QStringLiteral("e-mail: feedback@dorvane.example.org"));
        QCOMPARE(form.SiteLink()->text(), QStringLiteral("url: http://dorvane.example.org"));
        QCOMPARE(form.VersionLink()->geometry().topLeft(), QPoint(88, 101));
        QCOMPARE(form.OkButton()->mapTo(&form, QPoint(0, 0)), QPoint(323, 389 - 27 + 1));
        QStringList shown;
        for (const QLabel* label : form.findChildren<QLabel*>())
            shown << label->text();
        for (const char* text : {"Правом использования этой копии обладает:", "Анна", "Kvo",
                                 "Доступная физическая память:", "Свободная физическая память:",
                                 "Используемая виртуальная память:"})
            QVERIFY2(shown.contains(QString::fromUtf8(text)), text);
        QCOMPARE(reads, 1);
        QCOMPARE(form.PhysicalMemory()->text(), FormatMegabytes(qint64(1024) * 1048576));
        QCOMPARE(form.FreeMemory()->text(), FormatMegabytes(512 * 1048576));
        QCOMPARE(form.VirtualMemory()->text(), FormatMegabytes(3 * 1048576));
        form.RefreshMemory(); // the timer's work
        QCOMPARE(form.PhysicalMemory()->text(), FormatMegabytes(qint64(2048) * 1048576));

        form.setWindowModality(Qt::ApplicationModal);
        form.show();
        QTest::mouseClick(form.MailLink(), Qt::LeftButton);
        QVERIFY(mailed);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
    }

    void logosAtTheirPlaces() {
        std::vector<std::pair<QString, QPoint>> drawn;
        const TJpegDrawer draw = [&drawn](QPainter&, int x, int y, const QString& name) {
            drawn.push_back({name, QPoint(x, y)});
        };
        TAboutForm::DrawLogos(QSize(397, 88), draw);
        // g = (397 - 281) / 3 = 38
        const std::vector<std::pair<QString, QPoint>> expected{
            {QStringLiteral("LOGO2"), QPoint(38, 23)}, {QStringLiteral("LOGO1"), QPoint(117, 8)}};
        QCOMPARE(drawn, expected);
    }

    void launchFailuresSayTheyFailed() {
        TRecordedMessages messages;
        TScriptedRandom random;
        random.Push(1); // the second address
        random.Push(0); // then the first
        std::vector<QUrl> opened;
        bool works = false;
        TLauncher launcher{messages, random, [&](const QUrl& url) {
                               opened.push_back(url);
                               return works;
                           }};
        SendFeedbackMail(launcher);
        QCOMPARE(int(opened.size()), 2);
        QCOMPARE(opened[0].scheme(), QStringLiteral("mailto"));
        QCOMPARE(opened[0].path(), QStringLiteral("support@dorvane.example.org"));
        QCOMPARE(QUrlQuery(opened[0]).queryItemValue(QStringLiteral("Subject")),
                 QStringLiteral("Dorvane ") + ProgramVersion());
        QCOMPARE(opened[1].path(), QStringLiteral("feedback@dorvane.example.org"));
        QCOMPARE(QUrlQuery(opened[1]).queryItemValue(QStringLiteral("Subject")),
                 QStringLiteral("Dorvane"));
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Команду невозможно выполнить!")});
        OpenWebAddress(launcher, QStringLiteral("dorvane.example.org/index/contribute/0-15"));
        QCOMPARE(opened.back(),
                 QUrl(QStringLiteral("http://dorvane.example.org/index/contribute/0-15")));
        QCOMPARE(messages.texts.size(), 2);
        works = true;
        OpenWebAddress(launcher, QStringLiteral("dorvane.example.org"));
        SendFeedbackMail(launcher);
        QCOMPARE(messages.texts.size(), 2);
        QVERIFY(RandomSiteAddress(random).startsWith(QStringLiteral("http://")));
        QVERIFY(RandomSiteAddress(random).endsWith(QStringLiteral("dorvane.example.org")));
    }

    void trayIconTextsFramesAndAnimation() {
        QWidget owner;
        TKvoTrayIcon tray(&owner);
        tray.SetHint(QString(300, QLatin1Char('h')));
        QCOMPARE(tray.Hint().size(), 127);
        QCOMPARE(tray.SystemIcon().toolTip(), tray.Hint());
        tray.SetBalloonHint(QString(300, QLatin1Char('b')));
        tray.SetBalloonTitle(QString(300, QLatin1Char('t')));
        QCOMPARE(tray.BalloonHint().size(), 255);
        QCOMPARE(tray.BalloonTitle().size(), 63);

        const auto frame = [](Qt::GlobalColor colour) {
            QPixmap pixmap(16, 16);
            pixmap.fill(colour);
            return QIcon(pixmap);
        };
        const QIcon still = frame(Qt::white);
        const QList<QIcon> frames{frame(Qt::red), frame(Qt::green), frame(Qt::blue)};
        tray.SetIcon(still);
        QCOMPARE(tray.CurrentIcon().cacheKey(), still.cacheKey());
        tray.SetIcons(frames);
        tray.SetIconIndex(1);
        QCOMPARE(tray.CurrentIcon().cacheKey(), frames[1].cacheKey());

        // The frames run round while animating and visible (a frame on show
        // stays when the icon becomes visible while animating); switching the
        // animation off shows the still icon again.
        std::vector<qint64> shown;
        tray.OnAnimate = [&] { shown.push_back(tray.CurrentIcon().cacheKey()); };
        tray.SetAnimateInterval(5);
        tray.SetAnimate(true);
        tray.SetVisible(true);
        QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 4, 5000);
        const std::vector<qint64> expected{frames[1].cacheKey(), frames[2].cacheKey(),
                                           frames[0].cacheKey(), frames[1].cacheKey()};
        QCOMPARE(std::vector<qint64>(shown.begin(), shown.begin() + 4), expected);
        tray.SetAnimate(false);
        QCOMPARE(tray.CurrentIcon().cacheKey(), still.cacheKey());
        const std::size_t stopped = shown.size();
        QTest::qWait(30);
        QCOMPARE(shown.size(), stopped);

        // Shown without animation, the icon is the still one.
        tray.SetVisible(false);
        tray.SetIconIndex(2);
        tray.SetVisible(true);
        QCOMPARE(tray.CurrentIcon().cacheKey(), still.cacheKey());

        // Without a notification area the window is never hidden.
        owner.show();
        QVERIFY(!tray.HideMainForm());
        QVERIFY(owner.isVisible());
    }

    void desktopRequestsSayWhenTheyFail() {
        TRecordedMessages messages;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a b.mp3"));
        QFile(file).open(QIODevice::WriteOnly);
        std::vector<QUrl> asked;
        bool refuse = false;
        const TDesktopRequest request = [&](const QUrl& url, std::function<void()> failed) {
            asked.push_back(url);
            if (refuse) failed();
        };
        ShowProperties(messages, dir.filePath(QStringLiteral("gone.mp3")), request);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Команду невозможно выполнить!")});
        QVERIFY(asked.empty());
        ShowProperties(messages, file, request);
        OpenWithDialog(messages, dir.path(), request);
        QCOMPARE(asked,
                 (std::vector<QUrl>{QUrl::fromLocalFile(file), QUrl::fromLocalFile(dir.path())}));
        QCOMPARE(messages.texts.size(), 1);
        refuse = true;
        OpenWithDialog(messages, file, request);
        QCOMPARE(messages.texts.size(), 2);

        std::vector<QUrl> opened;
        const TUrlOpener open = [&opened](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        QVERIFY(ShellOpen(open, QStringLiteral("mailto:feedback@dorvane.example.org")));
        QVERIFY(ShellOpen(open, file));
        QCOMPARE(opened,
                 (std::vector<QUrl>{QUrl(QStringLiteral("mailto:feedback@dorvane.example.org")),
                                    QUrl::fromLocalFile(file)}));
        QVERIFY(!RunProcess(QString()));
        QVERIFY(!RunProcess(dir.filePath(QStringLiteral("no-such-program"))));
        QVERIFY(RunProcess(QStringLiteral("true")));
        QVERIFY(!OpenSoundPlaybackSettings(QString()));
    }

    void sharedMessageTexts() {
        TRecordedMessages messages;
        MsgRestartNeeded(messages);
        MsgCannotExecute(messages);
        MsgNoInterface(messages);
        QVERIFY(ConfirmClearList(messages));
        QCOMPARE(messages.texts,
                 (QStringList{QStringLiteral("Изменения вступят в силу после перезагрузки "
                                             "программы «Dorvane»"),
                              QStringLiteral("Команду невозможно выполнить!"),
                              QStringLiteral("Нет доступа к интерфейсу!"),
                              QStringLiteral("Очистить список, Вы уверены?")}));
    }

    void listMenuAndAltKey() {
        QMenu menu;
        int chosen = -1, cleared = 0;
        BuildListMenu(
            &menu, {QStringLiteral("a.m3u"), QStringLiteral("b.m3u")}, QIcon(), [&] { ++cleared; },
            [&](int i) { chosen = i; });
        const QList<QAction*> items = menu.actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[1]->data().toInt(), 1);
        QVERIFY(items[2]->isSeparator());
        QCOMPARE(items[3]->text(), QStringLiteral("Очистить"));
        QVERIFY(menu.menuAction()->isEnabled());
        items[1]->trigger();
        items[3]->trigger();
        QCOMPARE(chosen, 1);
        QCOMPARE(cleared, 1);
        BuildListMenu(&menu, {}, QIcon(), {}, {});
        QVERIFY(menu.actions().isEmpty());
        QVERIFY(!menu.menuAction()->isEnabled());

        int key = Qt::Key_Alt;
        SwallowAltKey(key);
        QCOMPARE(key, 0);
        key = Qt::Key_A;
        SwallowAltKey(key);
        QCOMPARE(key, int(Qt::Key_A));
        QDialog dialog;
        auto* button = new QPushButton(&dialog);
        InstallSwallowAltKey(&dialog);
        QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QVERIFY(!QApplication::sendEvent(button, &alt) || alt.isAccepted());
        QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        letter.ignore();
        QApplication::sendEvent(button, &letter);
        QVERIFY(!letter.isAccepted()); // other keys go on as before
    }

    void toolBarWidthTable() {
        using I = TToolBarItem;
        struct TCase {
            std::vector<I> items;
            int border, button, dpi, width;
        };
        const TCase cases[] = {
            {{}, 0, 23, 96, 28},
            {{{23}}, 0, 23, 96, 28},       // 23 gets 5 more
            {{{10}, {10}}, 1, 23, 96, 28}, // 22: too small
            {{{23}, {23}}, 0, 23, 96, 51},
            {{{23}, {50, false}}, 0, 23, 96, 28},
            {{{23, true, true}}, 0, 23, 96, 41},  // arrow 14 - 1 at 96 dpi
            {{{23, true, true}}, 0, 23, 120, 45}, // 17.5 rounds to 18, less 1
            {{{23, true, true}}, 0, 23, 144, 48}, // 21 - 1
            {{{60, true, true}}, 2, 23, 96, 69},  // wide enough already
        };
        for (const TCase& c : cases)
            QCOMPARE(ToolBarWidth(c.items, c.border, c.button, c.dpi), c.width);
    }
};

} // namespace dorvane

QTEST_MAIN(dorvane::WidgetsTest)
#include "widgets_test.moc"
