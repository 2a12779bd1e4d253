// The board played from the keyboard alone on the real game window: whole
// games in both styles, Enter answered exactly as a click, the cursor's
// colour and its coming and going, and the keys reaching the board but not
// the name box being edited.
#include "play_driver.h"

#include "view/colorscheme.h"
#include "view/controlpanel.h"

#include "support/gated_searches.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>

namespace dorvane::test {

namespace {

constexpr QPoint kD4{4, 5};

TGameOptions TwoHumans() {
    TGameOptions options;
    options.Regim = 2;
    options.GoFast = false; // animated, on the test's own quick steps
    return options;
}

// The animation's steps come back through the event loop at once instead
// of 150 ms apart.
void QuickSteps(TBoardWidget& board) {
    board.SetStepScheduler([&board](int, std::function<void()> step) {
        QTimer::singleShot(0, &board, std::move(step));
    });
}

// A key as the desktop delivers it: to the window, which hands it to its
// focus widget (and its commands' shortcuts come first).
void Key(TMainForm& form, Qt::Key key) {
    QTest::keyClick(form.windowHandle(), key);
}

bool HasMove(const TField& board, std::uint8_t side) {
    return CountLegalMoves(board, side) > 0;
}

// Two humans' game on the rules alone: side 1 first, each move chosen by
// PickMove, a side without a move passing (cell 0). A game that ends with
// both sides stuck on a board that is neither full nor wiped out ends with
// the pass that tells the window so.
struct TRulesGame {
    std::vector<int> cells;
    TField end{};
    bool passed = false; // a pass before the end
};

TRulesGame PlayOnRules(TField board, unsigned policy) {
    TRulesGame game;
    std::uint8_t side = 1;
    for (;;) {
        const int cell = PickMove(board, side, policy);
        const std::uint8_t other = side == 1 ? 0 : 1;
        if (cell == 0) {
            const TDiscCounts counts = CountDiscs(board);
            const bool over = counts.Total() == 64 || counts.side1 == 0 || counts.side2 == 0;
            if (!over) game.cells.push_back(0);
            if (!HasMove(board, other)) break;
            game.passed = true;
        } else {
            ApplyMove(board, ColumnOf(cell), RowOf(cell), side);
            game.cells.push_back(cell);
        }
        side = other;
    }
    game.end = board;
    return game;
}

// The first policy whose game has a pass on the way, so the keyboard game
// gives "Нет хода" too.
TRulesGame GameWithPass(const TField& start) {
    for (unsigned policy = 1; policy < 2000; ++policy) {
        TRulesGame game = PlayOnRules(start, policy);
        if (game.passed) return game;
    }
    return {};
}

// Takes the shown cursor from `at` to `target` the short way: Home or End
// first when that saves keys, then the arrows.
void WalkCursor(TMainForm& form, QPoint at, QPoint target) {
    const int direct = std::abs(target.x() - at.x());
    const int viaHome = 1 + (target.x() - 1);
    const int viaEnd = 1 + (8 - target.x());
    if (viaHome < direct && viaHome <= viaEnd) {
        Key(form, Qt::Key_Home);
        at.rx() = 1;
    } else if (viaEnd < direct) {
        Key(form, Qt::Key_End);
        at.rx() = 8;
    }
    for (; at.x() < target.x(); ++at.rx())
        Key(form, Qt::Key_Right);
    for (; at.x() > target.x(); --at.rx())
        Key(form, Qt::Key_Left);
    for (; at.y() < target.y(); ++at.ry())
        Key(form, Qt::Key_Down);
    for (; at.y() > target.y(); --at.ry())
        Key(form, Qt::Key_Up);
}

// The colour on the middle of the left side of a cell's frame, as the
// screen shows it.
QColor FrameColour(TBoardWidget& board, QPoint cell) {
    if (board.StyleButton())
        return board.CellButton(cell.x(), cell.y())->grab().toImage().pixelColor(2, 24);
    const int k = TBoardWidget::kCell;
    return board.FieldWidget()->grab().toImage().pixelColor(k * (cell.x() - 1) + 2,
                                                            k * (cell.y() - 1) + 24);
}

void MoveMouseOver(TBoardWidget& board, QPoint cell) {
    if (board.StyleButton())
        QTest::mouseMove(board.CellButton(cell.x(), cell.y()), QPoint(24, 20));
    else
        QTest::mouseMove(board.FieldWidget(), CellCentre(cell.x(), cell.y()));
}

enum class TSituation { EmptyCellFlipsNothing, OccupiedCell, HistoryView, RedrawRuns, Thinking };

} // namespace

class TBoardKeysTest : public QObject {
    Q_OBJECT

private slots:
    void wholeGameWithTheKeyboard_data();
    void wholeGameWithTheKeyboard();
    void enterAnswersAsAClick_data();
    void enterAnswersAsAClick();
    void cursorInTheSchemeColourUntilTheMouseMoves_data();
    void cursorInTheSchemeColourUntilTheMouseMoves();
    void keysReachTheBoardButNotTheNameBeingEdited();
    void heldEnterPlaysOnceAndCommandKeysAreNotTheBoards();
};

void TBoardKeysTest::wholeGameWithTheKeyboard_data() {
    AddStyleRows();
}

void TBoardKeysTest::wholeGameWithTheKeyboard() {
    QFETCH(bool, buttons);
    TPlayDriver driver(TwoHumans(), buttons);
    TMainForm& form = driver.Form();
    TBoardWidget& board = form.Board();
    QuickSteps(board);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(driver.WaitIdle());
    const TRulesGame game = GameWithPass(driver.Game().State().GameBoard);
    QVERIFY(game.passed);

    // The first arrow shows the cursor on D4 without moving it.
    Key(form, Qt::Key_Down);
    QVERIFY(board.KeyCursor().Shown());
    QCOMPARE(board.KeyCursor().Cell(), kD4);
    QPoint at = kD4;
    for (std::size_t k = 0; k < game.cells.size(); ++k) {
        QVERIFY2(driver.WaitIdle(), qPrintable(QString::number(k)));
        const int cell = game.cells[k];
        if (cell == 0) {
            Key(form, Qt::Key_F3); // "Нет хода"
            continue;
        }
        const QPoint target(ColumnOf(cell), RowOf(cell));
        WalkCursor(form, at, target);
        QCOMPARE(board.KeyCursor().Cell(), target);
        Key(form, k % 2 == 0 ? Qt::Key_Return : Qt::Key_Space);
        at = target;
    }
    QVERIFY(driver.WaitIdle());
    QVERIFY(driver.Game().State().GameBoard == game.end);
    const TDiscCounts counts = CountDiscs(game.end);
    const QString result =
        counts.side1 == counts.side2
            ? QStringLiteral("Ничья!")
            : driver.Game().SideName(counts.side1 > counts.side2 ? TSide::First : TSide::Second) +
                  QStringLiteral(" выиграли!");
    QCOMPARE(driver.TakeMessages(), QStringList{result});

    // A finished game ignores the board: the cursor has gone and stays away.
    QVERIFY(!driver.Game().BeginGame());
    QVERIFY(!board.KeyCursor().Shown());
    Key(form, Qt::Key_Left);
    Key(form, Qt::Key_Return);
    QVERIFY(!board.KeyCursor().Shown());
    QVERIFY(driver.TakeMessages().isEmpty());
    // A new game takes the keys again; the cursor appears on D4.
    Key(form, Qt::Key_F1);
    QVERIFY(driver.WaitIdle());
    Key(form, Qt::Key_Right);
    QCOMPARE(board.KeyCursor().Cell(), kD4);
}

void TBoardKeysTest::enterAnswersAsAClick_data() {
    QTest::addColumn<TSituation>("situation");
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QStringList>("said");
    QTest::newRow("an empty cell that flips nothing")
        << TSituation::EmptyCellFlipsNothing << QPoint(1, 1)
        << QStringList{QStringLiteral("Вы нарушаете правила игры!")};
    QTest::newRow("an occupied cell") << TSituation::OccupiedCell << kD4 << QStringList{};
    QTest::newRow("the history view") << TSituation::HistoryView << QPoint(3, 3)
                                      << QStringList{QStringLiteral("Игра остановлена!")};
    QTest::newRow("the last move still being drawn")
        << TSituation::RedrawRuns << QPoint(3, 3)
        << QStringList{QStringLiteral("Сейчас не Ваш ход!")};
    QTest::newRow("the computer thinking") << TSituation::Thinking << QPoint(3, 3) << QStringList{};
}

void TBoardKeysTest::enterAnswersAsAClick() {
    QFETCH(TSituation, situation);
    QFETCH(QPoint, cell);
    QFETCH(QStringList, said);
    TGatedSearches searches;
    TGameOptions options = TwoHumans();
    if (situation == TSituation::Thinking) {
        options.Regim = 1;
        options.GoFast = true;
    }
    TPlayDriver driver(options, false, &searches);
    TMainForm& form = driver.Form();
    TBoardWidget& board = form.Board();
    std::vector<std::function<void()>> steps; // a held animation
    if (situation == TSituation::RedrawRuns)
        board.SetStepScheduler(
            [&steps](int, std::function<void()> step) { steps.push_back(std::move(step)); });
    else
        QuickSteps(board);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(driver.WaitIdle());

    // Side 1's first move, E6 - a legal one in the start position of two zero
    // draws - sets the scene for the situations after a move.
    if (situation != TSituation::EmptyCellFlipsNothing && situation != TSituation::OccupiedCell) {
        if (situation == TSituation::Thinking) searches.Shut();
        driver.Click(5, 3);
        if (situation == TSituation::HistoryView) {
            QVERIFY(driver.WaitIdle());
            Key(form, Qt::Key_F7); // "Назад"
            QVERIFY(driver.WaitIdle());
            QVERIFY(!driver.Game().PlayR());
        } else if (situation == TSituation::RedrawRuns) {
            QTRY_VERIFY_WITH_TIMEOUT(!steps.empty(), 5000);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(searches.Waiting(), 10000);
        }
        QVERIFY(driver.TakeMessages().isEmpty());
    }
    const TField before = driver.Game().State().GameBoard;
    const std::uint8_t movesBefore = driver.Game().CurrentR();

    // The cursor moves whatever the game is doing.
    Key(form, Qt::Key_Up);
    WalkCursor(form, board.KeyCursor().Cell(), cell);
    QCOMPARE(board.KeyCursor().Cell(), cell);
    Key(form, Qt::Key_Return);
    const QStringList byKey = driver.TakeMessages();
    QVERIFY(driver.Game().State().GameBoard == before);
    driver.Click(cell.x(), cell.y());
    const QStringList byClick = driver.TakeMessages();
    QVERIFY(driver.Game().State().GameBoard == before);
    QCOMPARE(byKey, said);
    QCOMPARE(byClick, said);
    QCOMPARE(driver.Game().CurrentR(), movesBefore);

    if (situation == TSituation::RedrawRuns)
        while (!steps.empty())
            std::exchange(steps, {}).front()();
    searches.Open();
    QVERIFY(driver.WaitIdle());
}

void TBoardKeysTest::cursorInTheSchemeColourUntilTheMouseMoves_data() {
    AddStyleRows();
}

void TBoardKeysTest::cursorInTheSchemeColourUntilTheMouseMoves() {
    QFETCH(bool, buttons);
    // "Другая" with an orange "Нет хода", a colour neither style shows anywhere else.
    const QColor orange(255, 136, 0);
    TGameSettings settings = DefaultGameSettings();
    settings.Game = TwoHumans();
    settings.Look.StyleButton = buttons;
    settings.Look.SoundMove = false;
    settings.Look.ColorScheme = kSchemeCustom;
    settings.Custom.Colors[6] = qint32(StoredFromColor(orange));
    TPlayDriver driver(settings);
    TMainForm& form = driver.Form();
    TBoardWidget& board = form.Board();
    QuickSteps(board);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(driver.WaitIdle());

    QVERIFY(!board.KeyCursor().Shown());
    QVERIFY(FrameColour(board, kD4) != orange);
    Key(form, Qt::Key_Right); // shows it
    QCOMPARE(FrameColour(board, kD4), orange);
    Key(form, Qt::Key_Right);
    QCOMPARE(board.KeyCursor().Cell(), QPoint(5, 5));
    QCOMPARE(FrameColour(board, QPoint(5, 5)), orange);
    QVERIFY(FrameColour(board, kD4) != orange);

    // It stops at the edges.
    Key(form, Qt::Key_End);
    Key(form, Qt::Key_Right);
    for (int k = 0; k < 8; ++k)
        Key(form, Qt::Key_Down);
    QCOMPARE(board.KeyCursor().Cell(), QPoint(8, 8));
    Key(form, Qt::Key_Home);
    for (int k = 0; k < 8; ++k)
        Key(form, Qt::Key_Up);
    Key(form, Qt::Key_Left);
    QCOMPARE(board.KeyCursor().Cell(), QPoint(1, 1));
    QCOMPARE(FrameColour(board, QPoint(1, 1)), orange);

    // The next mouse move over the board hides it.
    MoveMouseOver(board, QPoint(6, 6));
    QVERIFY(!board.KeyCursor().Shown());
    QVERIFY(FrameColour(board, QPoint(1, 1)) != orange);

    // After a move the cursor comes back on that move's cell.
    driver.Click(5, 3);
    QVERIFY(driver.WaitIdle());
    Key(form, Qt::Key_Left);
    QCOMPARE(board.KeyCursor().Cell(), QPoint(5, 3));
    QCOMPARE(FrameColour(board, QPoint(5, 3)), orange);

    // It follows the scheme.
    form.FindAction(QStringLiteral("Темная"))->trigger();
    QVERIFY(driver.WaitIdle());
    QCOMPARE(board.CursorColour(), QColor(255, 0, 255));
    QCOMPARE(FrameColour(board, QPoint(5, 3)), QColor(255, 0, 255));
}

void TBoardKeysTest::keysReachTheBoardButNotTheNameBeingEdited() {
    TPlayDriver driver(TwoHumans());
    TMainForm& form = driver.Form();
    TBoardWidget& board = form.Board();
    QuickSteps(board);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(driver.WaitIdle());
    QCOMPARE(QApplication::focusWidget(), &board);
    // The cells' buttons never take the focus, so Space is the board's.
    QCOMPARE(board.CellButton(1, 1)->focusPolicy(), Qt::NoFocus);

    TNameBox* name = form.Panel().NameBox(TSide::First);
    QTest::mouseDClick(name, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), name);
    // Space types over the selected name; the box moves its own text
    // cursor with Left and Home and leaves Up and Down alone, which still
    // do not go on to the board.
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Up, Qt::Key_Left, Qt::Key_Home, Qt::Key_Down})
        Key(form, key);
    QVERIFY(!board.KeyCursor().Shown());
    QCOMPARE(name->text(), QStringLiteral(" "));
    QTest::keyClicks(name, QStringLiteral("Anna"));
    Key(form, Qt::Key_Return); // takes the name over and leaves the box
    QCOMPARE(driver.Game().SideName(TSide::First), QStringLiteral("Anna"));
    QVERIFY(driver.TakeMessages().isEmpty());
    QVERIFY(!board.KeyCursor().Shown());

    // The box gave the focus up: the keys are the board's again.
    Key(form, Qt::Key_Up);
    QVERIFY(board.KeyCursor().Shown());
    Key(form, Qt::Key_Up);
    QCOMPARE(board.KeyCursor().Cell(), QPoint(4, 4));
    // A click on the board takes the focus back as well.
    QTest::mouseClick(board.FieldWidget(), Qt::LeftButton, {}, CellCentre(1, 1));
    QCOMPARE(QApplication::focusWidget(), &board);
}

void TBoardKeysTest::heldEnterPlaysOnceAndCommandKeysAreNotTheBoards() {
    TPlayDriver driver(TwoHumans());
    TMainForm& form = driver.Form();
    TBoardWidget& board = form.Board();
    QuickSteps(board);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(driver.WaitIdle());
    Key(form, Qt::Key_Home); // shows the cursor and takes it to A4
    QCOMPARE(board.KeyCursor().Cell(), QPoint(1, 5));

    // With Ctrl, Alt or Meta a key is the window's, not the board's.
    for (Qt::KeyboardModifier modifier : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
        QTest::keyClick(form.windowHandle(), Qt::Key_Right, modifier);
        QTest::keyClick(form.windowHandle(), Qt::Key_Return, modifier);
    }
    QCOMPARE(board.KeyCursor().Cell(), QPoint(1, 5));
    QVERIFY(driver.TakeMessages().isEmpty());

    // A4 flips nothing: the first press is refused, its repeats say nothing more.
    Key(form, Qt::Key_Return);
    const QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    for (int k = 0; k < 3; ++k)
        QVERIFY(board.BoardKeyPressed(repeat));
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Вы нарушаете правила игры!")});
}

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::TBoardKeysTest)
#include "boardkeys_test.moc"
