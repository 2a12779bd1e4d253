// "Поиск хода" on the real game window: how it opens, what its search shows,
// and that its buttons and closing act on the game exactly as they should.
#include "play_driver.h"

#include "view/assets.h"
#include "view/controlpanel.h"
#include "view/helpform.h"

#include "support/gated_searches.h"

#include "game/engine.h"
#include "game/position_text.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace dorvane::test {

namespace {

TGameOptions Options(int regim, int intellect) {
    TGameOptions options;
    options.Regim = std::uint8_t(regim);
    options.Intellect = std::uint8_t(intellect);
    options.GoFast = true;
    return options;
}

// Plays `moves` human moves by the driver's little policy; in mode 1 the
// computer answers each of them.
[[nodiscard]] bool PlayMoves(TPlayDriver& driver, int moves) {
    unsigned policy = 7;
    for (int i = 0; i < moves; ++i) {
        const TGameState& state = driver.Game().State();
        const int cell = PickMove(state.GameBoard, state.SideToMove, policy);
        if (cell == 0) return false;
        driver.ClickCell(cell);
        if (!driver.WaitIdle()) return false;
    }
    return true;
}

// What the game shows and keeps, to compare before and after.
struct TSnapshot {
    TField board{};
    std::uint8_t side = 0, currentR = 0;
    bool playR = false, onShow1 = false, onShow2 = false;
    QString status1, status2;

    static TSnapshot Of(TPlayDriver& driver) {
        TGameController& game = driver.Game();
        return {game.State().GameBoard,
                game.State().SideToMove,
                game.CurrentR(),
                game.PlayR(),
                game.OnShow1(),
                game.OnShow2(),
                driver.Form().Panel().Shown(TPanelBox::Status, TSide::First),
                driver.Form().Panel().Shown(TPanelBox::Status, TSide::Second)};
    }
    bool operator==(const TSnapshot&) const = default;
};

bool SameHistory(const TMarch& a, const TMarch& b, int entries) {
    for (int k = 0; k <= entries; ++k)
        if (a.Fields[std::size_t(k)] != b.Fields[std::size_t(k)] ||
            a.Moves[std::size_t(k)] != b.Moves[std::size_t(k)] ||
            a.Who[std::size_t(k)] != b.Who[std::size_t(k)])
            return false;
    return true;
}

// Gives "Найти ход" (the menu item, or the F5 key on the game window) and
// runs `act` on the hint window once it shows; a window still open 60 s later
// is closed and the test fails. Returns whether the window showed at all.
bool WithHintWindow(TPlayDriver& driver, const std::function<void(THelpForm&)>& act,
                    bool byKey = false) {
    bool shown = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* form = dynamic_cast<THelpForm*>(QApplication::activeModalWidget());
        if (form == nullptr || shown) return;
        shown = true;
        act(*form);
        // A failed check inside leaves the window open; do not wait for the deadline.
        if (QTest::currentTestFailed() && form->isVisible()) form->done(QDialog::Rejected);
    });
    bool timedOut = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        if (auto* form = dynamic_cast<THelpForm*>(QApplication::activeModalWidget())) {
            qWarning("the hint window did not close in time");
            timedOut = true;
            form->done(QDialog::Rejected);
        }
    });
    poll.start();
    deadline.start(60000);
    if (byKey)
        QTest::keyClick(&driver.Form(), Qt::Key_F5);
    else
        driver.Form().FindAction(QStringLiteral("Найти ход"))->trigger();
    return shown && !timedOut;
}

// Waits (30 s at most) for the search of the open window to finish.
bool WaitSearched(THelpForm& form) {
    return QTest::qWaitFor([&] { return form.Searched(); }, 30000);
}

QImage Shown(const QLabel* label) {
    return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class THelpFormTest : public QObject {
    Q_OBJECT

private slots:
    void miniatureDrawsFiguresOnTheStretchedField();
    void layoutFollowsTheFixedDialog();
    void openingIsGatedLikeAClickOnTheBoard();
    void searchShowsTheMoveAndForecastOfTheLookAhead_data();
    void searchShowsTheMoveAndForecastOfTheLookAhead();
    void noMoveLeavesOnlyCancel();
    void applyPlaysTheMoveLikeAClick();
    void cancelEscapeAndClosingChangeNothing_data();
    void cancelEscapeAndClosingChangeNothing();
    void closingTheGameWindowDuringTheSearchClosesBoth();
};

void THelpFormTest::miniatureDrawsFiguresOnTheStretchedField() {
    QImage field(200, 200, QImage::Format_ARGB32);
    field.fill(QColor(10, 20, 30));
    // Small pictures with a transparent corner: the field must show through.
    QImage small1(16, 16, QImage::Format_ARGB32);
    small1.fill(QColor(250, 0, 0));
    small1.setPixelColor(0, 0, Qt::transparent);
    QImage small2 = small1;
    small2.fill(QColor(0, 0, 250));
    TField board{};
    board[std::size_t(CellIndex(1, 1))] = 1;
    board[std::size_t(CellIndex(8, 8))] = 2;
    board[std::size_t(CellIndex(3, 6))] = 1;

    const QImage picture = DrawMiniature({field, small1, small2}, board);
    QCOMPARE(picture.size(), QSize(128, 128));
    QCOMPARE(picture.pixelColor(8, 8), QColor(250, 0, 0));
    QCOMPARE(picture.pixelColor(0, 0), QColor(10, 20, 30));
    QCOMPARE(picture.pixelColor(112 + 15, 112 + 15), QColor(0, 0, 250));
    QCOMPARE(picture.pixelColor(32 + 5, 80 + 5), QColor(250, 0, 0));  // column 3, row 6
    QCOMPARE(picture.pixelColor(80 + 5, 32 + 5), QColor(10, 20, 30)); // column 6, row 3: empty
    QCOMPARE(picture.pixelColor(16 + 8, 8), QColor(10, 20, 30));
}

void THelpFormTest::layoutFollowsTheFixedDialog() {
    TPlayDriver driver(Options(1, 2));
    QVERIFY(driver.WaitIdle());
    THelpForm form(driver.Game(), {});
    QCOMPARE(form.windowTitle(), QStringLiteral("Поиск хода"));
    QCOMPARE(form.size(), QSize(289, 180));
    QCOMPARE(QRect(form.Miniature()->mapTo(&form, QPoint(0, 0)), form.Miniature()->size()),
             QRect(12, 12, 128, 128));
    QCOMPARE(form.SearchText()->geometry(), QRect(147, 11, 130, 21));
    QCOMPARE(form.SearchText()->palette().color(QPalette::Base), QColor(0, 0, 0));
    QCOMPARE(form.SearchText()->palette().color(QPalette::Text), QColor(255, 0, 0));
    QVERIFY(form.SearchText()->font().bold());
    QCOMPARE(form.ResultPanel()->geometry(), QRect(147, 36, 130, 105));
    QCOMPARE(form.MoveBox()->geometry(), QRect(32, 8, 65, 32));
    QCOMPARE(form.MoveBox()->font().pixelSize(), 19);
    QCOMPARE(form.ResultCaption()->text(), QStringLiteral("Возможный результат"));
    // The caption stays inside the panel's bevel.
    QVERIFY(form.ResultCaption()->fontMetrics().horizontalAdvance(form.ResultCaption()->text()) <=
            form.ResultPanel()->width() - 6);
    for (QPushButton* button : {form.ApplyButton(), form.CancelButton()}) {
        QVERIFY(button->geometry().top() >= 180 - 27);
        QVERIFY(button->geometry().bottom() < 180);
    }
    QCOMPARE(form.ApplyButton()->text(), QStringLiteral("Применить"));
    QCOMPARE(form.CancelButton()->text(), QStringLiteral("Отмена"));
}

void THelpFormTest::openingIsGatedLikeAClickOnTheBoard() {
    TPlayDriver driver(Options(2, 2));
    QVERIFY(driver.WaitIdle());
    QVERIFY(PlayMoves(driver, 2));
    driver.TakeMessages();

    // Right after a move the turn has not been handed over yet.
    unsigned policy = 1;
    driver.ClickCell(
        PickMove(driver.Game().State().GameBoard, driver.Game().State().SideToMove, policy));
    QVERIFY(!driver.Game().CanAct());
    bool shown = false;
    QVERIFY(!WithHintWindow(driver, [&](THelpForm& form) {
        shown = true;
        form.done(QDialog::Rejected);
    }));
    QVERIFY(!shown);
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Сейчас не Ваш ход!")});
    QVERIFY(driver.WaitIdle());

    // In history view, through the panel's button.
    driver.Form().FindAction(QStringLiteral("Назад"))->trigger();
    QVERIFY(!driver.Game().PlayR());
    driver.Press(driver.Form().Panel().Button(TCommand::FindMove));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Игра остановлена!")});
}

void THelpFormTest::searchShowsTheMoveAndForecastOfTheLookAhead_data() {
    QTest::addColumn<int>("regim");
    QTest::addColumn<int>("intellect");
    QTest::addColumn<int>("moves");
    // Four discs: the look-ahead is not used, so there is no forecast.
    QTest::newRow("start, no forecast") << 1 << 3 << 0;
    QTest::newRow("low strength still looks ahead") << 1 << 1 << 3;
    QTest::newRow("two players") << 2 << 2 << 9;
}

void THelpFormTest::searchShowsTheMoveAndForecastOfTheLookAhead() {
    QFETCH(int, regim);
    QFETCH(int, intellect);
    QFETCH(int, moves);
    TPlayDriver driver(Options(regim, intellect));
    QVERIFY(driver.WaitIdle());
    QVERIFY(PlayMoves(driver, moves));
    const TGameState before = driver.Game().State();
    const TSnapshot snapshot = TSnapshot::Of(driver);

    // The same search on a copy of the game, with the same (zero) draws.
    TGameState oracle = before;
    TScriptedRandom zeros;
    FindMove(oracle, zeros, TSearchType::LookAhead);
    QVERIFY(oracle.MovePriority > 0);
    QCOMPARE(oracle.ForecastReady, std::uint8_t(moves == 0 ? 0 : 1));

    QImage atOpening, atEnd, expectedAtOpening, expectedAtEnd;
    bool fieldIsTheBoards = false;
    QString textAtOpening;
    bool panelHiddenAtOpening = false, buttonsOffAtOpening = false;
    QVERIFY(WithHintWindow(driver, [&](THelpForm& form) {
        textAtOpening = form.SearchText()->text();
        panelHiddenAtOpening = !form.ResultPanel()->isVisible();
        buttonsOffAtOpening = !form.ApplyButton()->isEnabled() && !form.CancelButton()->isEnabled();
        atOpening = Shown(form.Miniature());
        fieldIsTheBoards = form.Look().field == driver.Form().Board().FieldTexture();
        expectedAtOpening = DrawMiniature(form.Look(), before.GameBoard);
        expectedAtEnd = DrawMiniature(form.Look(), oracle.ForecastReady != 0 ? oracle.ForecastBoard
                                                                             : before.GameBoard);
        if (!WaitSearched(form)) return;
        // The blink has stopped: the text keeps its colour.
        QTest::qWait(2 * THelpForm::kBlinkMs + 50);
        QCOMPARE(form.SearchText()->text(), QStringLiteral("Ход найден"));
        QCOMPARE(form.SearchText()->palette().color(QPalette::Text), QColor(0, 255, 0));
        QCOMPARE(form.MoveBox()->text().toStdString(), CellName(oracle.MoveColumn, oracle.MoveRow));
        QVERIFY(form.ResultPanel()->isVisible());
        QCOMPARE(form.ResultCaption()->isVisible(), oracle.ForecastReady != 0);
        if (oracle.ForecastReady != 0) {
            QCOMPARE(form.ScoreLine(0)->text(), driver.Game().SideName(TSide::First) +
                                                    QStringLiteral(": ") +
                                                    QString::number(oracle.ForecastCount1));
            QCOMPARE(form.ScoreLine(1)->text(), driver.Game().SideName(TSide::Second) +
                                                    QStringLiteral(": ") +
                                                    QString::number(oracle.ForecastCount2));
        }
        QVERIFY(form.ApplyButton()->isEnabled());
        QVERIFY(form.CancelButton()->isEnabled());
        atEnd = Shown(form.Miniature());
        form.CancelButton()->click();
    }));
    QCOMPARE(textAtOpening, QStringLiteral("Идет поиск хода"));
    QVERIFY(panelHiddenAtOpening);
    QVERIFY(buttonsOffAtOpening);

    QVERIFY(fieldIsTheBoards);
    QCOMPARE(atOpening, expectedAtOpening);
    QCOMPARE(atEnd, expectedAtEnd);
    QCOMPARE(atOpening == atEnd, oracle.ForecastReady == 0);

    const TGameState& after = driver.Game().State();
    QCOMPARE(after.MoveColumn, oracle.MoveColumn);
    QCOMPARE(after.MoveRow, oracle.MoveRow);
    QCOMPARE(after.ForecastReady, oracle.ForecastReady);
    QCOMPARE(after.ForecastCount1, oracle.ForecastCount1);
    QCOMPARE(after.ForecastCount2, oracle.ForecastCount2);
    QVERIFY(after.ForecastBoard == oracle.ForecastBoard);
    QVERIFY(TSnapshot::Of(driver) == snapshot);
}

void THelpFormTest::noMoveLeavesOnlyCancel() {
    TPlayDriver driver(Options(2, 2));
    QVERIFY(driver.WaitIdle());
    // Side 1 to move without a legal cell while side 2 still has one.
    TPosition position;
    std::string error;
    QVERIFY(ParsePosition("2 2 1 - - - - -"
                          "- - - - - - - -"
                          "- - - - - - - -"
                          "- - - - - - - -"
                          "- - - - - - - -"
                          "- - - - - - - -"
                          "- - - - - - - -"
                          "- - - - - - - - 1",
                          position, error));
    TSavedGame saved;
    saved.March.Fields[0] = position.board;
    saved.March.Who[0] = 0;
    saved.Regim = 2;
    QVERIFY(driver.Game().ShowLoadedGame(saved));
    driver.Game().ResumePlay();
    QVERIFY(driver.WaitIdle());
    QCOMPARE(driver.Game().State().SideToMove, std::uint8_t(1));
    QVERIFY(driver.Game().CanAct());
    const TSnapshot snapshot = TSnapshot::Of(driver);

    driver.Form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&driver.Form()));
    QVERIFY(WithHintWindow(
        driver,
        [&](THelpForm& form) {
            if (!WaitSearched(form)) return;
            QCOMPARE(form.SearchText()->text(), QStringLiteral("Ход не найден"));
            QCOMPARE(form.SearchText()->palette().color(QPalette::Text), QColor(255, 0, 0));
            QVERIFY(!form.ResultPanel()->isVisible());
            QVERIFY(!form.ApplyButton()->isEnabled());
            QVERIFY(form.CancelButton()->isEnabled());
            form.CancelButton()->click();
        },
        true));
    QVERIFY(TSnapshot::Of(driver) == snapshot);
    QVERIFY(driver.TakeMessages().isEmpty());
}

void THelpFormTest::applyPlaysTheMoveLikeAClick() {
    // Two identical games: one plays the hint's move with "Применить", the
    // other clicks the same cell; the computer answers both alike.
    TPlayDriver hinted(Options(1, 2));
    TPlayDriver clicked(Options(1, 2));
    QVERIFY(hinted.WaitIdle() && clicked.WaitIdle());
    QVERIFY(PlayMoves(hinted, 4) && PlayMoves(clicked, 4));
    QVERIFY(TSnapshot::Of(hinted) == TSnapshot::Of(clicked));

    int column = 0, row = 0;
    QVERIFY(WithHintWindow(hinted, [&](THelpForm& form) {
        if (!WaitSearched(form)) return;
        column = hinted.Game().State().MoveColumn;
        row = hinted.Game().State().MoveRow;
        form.ApplyButton()->click();
    }));
    QVERIFY(column != 0);
    clicked.Click(column, row);
    QVERIFY(hinted.WaitIdle() && clicked.WaitIdle());

    QVERIFY(TSnapshot::Of(hinted) == TSnapshot::Of(clicked));
    QCOMPARE(hinted.Game().CurrentR(), std::uint8_t(10));
    QCOMPARE(int(hinted.Game().March().Moves[9][0]), column);
    QCOMPARE(int(hinted.Game().March().Moves[9][1]), row);
    QVERIFY(SameHistory(hinted.Game().March(), clicked.Game().March(), 10));
    QCOMPARE(hinted.TakeMessages(), clicked.TakeMessages());
    QCOMPARE(hinted.Game().ClockRunning(TSide::First), clicked.Game().ClockRunning(TSide::First));
    QCOMPARE(hinted.Form().Panel().ShownHint(), clicked.Form().Panel().ShownHint());
}

void THelpFormTest::cancelEscapeAndClosingChangeNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Отмена") << QStringLiteral("cancel");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("closed during the search") << QStringLiteral("close");
}

void THelpFormTest::cancelEscapeAndClosingChangeNothing() {
    QFETCH(QString, how);
    TGatedSearches searches;
    TPlayDriver driver(Options(2, 2), false, &searches);
    QVERIFY(driver.WaitIdle());
    QVERIFY(PlayMoves(driver, 12));
    const TSnapshot snapshot = TSnapshot::Of(driver);
    const TMarch march = driver.Game().March();

    bool closedDuringSearch = true, escapeIgnored = false, searchedBeforeClosing = false;
    QVERIFY(WithHintWindow(driver, [&](THelpForm& form) {
        if (how == QStringLiteral("close")) {
            // The search is held on the worker until Escape and the close
            // have come.
            searches.Shut();
            auto* probe = new QTimer(&form);
            probe->setInterval(0);
            QObject::connect(probe, &QTimer::timeout, &form, [&, probe] {
                if (!form.Searching() || !searches.Waiting()) return;
                probe->stop();
                QTest::keyClick(&form, Qt::Key_Escape);
                escapeIgnored = form.isVisible();
                closedDuringSearch = form.close();
                searches.Open();
            });
            probe->start();
            searchedBeforeClosing =
                QTest::qWaitFor([&] { return !form.isVisible(); }, 30000) && form.Searched();
            return;
        }
        if (!WaitSearched(form)) return;
        if (how == QStringLiteral("cancel"))
            form.CancelButton()->click();
        else
            QTest::keyClick(&form, Qt::Key_Escape);
    }));
    if (how == QStringLiteral("close")) {
        QVERIFY(escapeIgnored);
        QVERIFY(!closedDuringSearch);
        QVERIFY(searchedBeforeClosing);
    }
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(driver.WaitIdle());
    QVERIFY(TSnapshot::Of(driver) == snapshot);
    QVERIFY(SameHistory(driver.Game().March(), march, 60));
    QCOMPARE(driver.Game().State().EngineBusy, std::uint8_t(0));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void THelpFormTest::closingTheGameWindowDuringTheSearchClosesBoth() {
    TGatedSearches searches;
    TPlayDriver driver(Options(2, 2), false, &searches);
    QVERIFY(driver.WaitIdle());
    QVERIFY(PlayMoves(driver, 12));
    const TSnapshot snapshot = TSnapshot::Of(driver);

    bool gameClosedAtOnce = true;
    bool hintGone = false;
    searches.Shut();
    QVERIFY(WithHintWindow(driver, [&](THelpForm& form) {
        auto* probe = new QTimer(&form);
        probe->setInterval(0);
        QObject::connect(probe, &QTimer::timeout, &form, [&, probe] {
            if (!form.Searching() || !searches.Waiting()) return;
            probe->stop();
            gameClosedAtOnce = driver.Form().close();
            searches.Open();
        });
        probe->start();
        hintGone = QTest::qWaitFor([&] { return !form.isVisible(); }, 30000);
    }));
    QVERIFY(!gameClosedAtOnce);
    QVERIFY(hintGone);
    QTRY_VERIFY_WITH_TIMEOUT(!driver.Form().isVisible(), 10000);
    QVERIFY(TSnapshot::Of(driver) == snapshot);
    QCOMPARE(driver.Game().State().EngineBusy, std::uint8_t(0));
}

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::THelpFormTest)
#include "helpform_test.moc"
