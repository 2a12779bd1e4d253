// Whole games played on the real game window by mouse clicks, in both modes
// and both board styles, with the message boxes answered by the test.
#include "play_driver.h"

#include "game/engine.h"
#include "view/controlpanel.h"
#include "widgets/kvolabel.h"
#include "widgets/menutools.h"
#include "widgets/messageform.h"
#include "view/textureform.h"

#include "core/data_folder.h"
#include "core/program_info.h"
#include "support/dialog_wait.h"
#include "widgets/aboutform.h"
#include "widgets/kvoalabel.h"

#include "play/saved_game_file.h"
#include "support/gated_searches.h"
#include "support/saved_game_bytes.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QFile>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace dorvane::test {

namespace {

// A game of two humans from the start position of two zero draws that fills
// the board without a pass and ends 40 to 24 (cells as column * 10 + row).
constexpr std::array<int, 60> kGame40To24{
    46, 34, 63, 64, 53, 62, 23, 56, 66, 77, 74, 73, 76, 84, 88, 24, 52, 37, 25, 36,
    85, 14, 33, 65, 35, 67, 61, 86, 26, 78, 75, 43, 68, 58, 83, 42, 27, 72, 87, 13,
    47, 17, 32, 41, 48, 18, 71, 22, 57, 38, 28, 16, 12, 51, 31, 81, 15, 21, 82, 11};

TGameOptions TwoHumans() {
    TGameOptions options;
    options.Regim = 2;
    options.GoFast = true;
    return options;
}

TGameOptions AgainstComputer(int intellect) {
    TGameOptions options;
    options.Regim = 1;
    options.Intellect = std::uint8_t(intellect);
    options.GoFast = true;
    return options;
}

bool ShowsMark(TPlayDriver& driver, int column, int row, const QImage& before) {
    TBoardWidget& board = driver.Form().Board();
    if (board.StyleButton()) return !board.CellButton(column, row)->icon().isNull();
    const QPoint centre = CellCentre(column, row);
    return board.FieldPicture().pixel(centre) != before.pixel(centre);
}

struct TSimulatedGame {
    unsigned policy = 0;
    bool humanPassed = false;
    bool computerStuck = false;
};

// Plays mode 1 on the engine alone, as the window's controller does with the
// hint off and every draw zero, to find a human policy whose game shows both a
// human pass and a computer without a move.
TSimulatedGame FindEventfulGame(int intellect) {
    for (unsigned seed = 1; seed < 5000; ++seed) {
        TScriptedRandom random;
        TGameState game;
        SetStartPosition(game.GameBoard, random);
        TSimulatedGame found{seed};
        unsigned policy = seed;
        for (int turn = 0; turn < 100; ++turn) {
            const int cell = PickMove(game.GameBoard, 1, policy);
            if (cell == 0)
                found.humanPassed = true;
            else
                ApplyMove(game.GameBoard, ColumnOf(cell), RowOf(cell), 1);
            TDiscCounts counts = CountDiscs(game.GameBoard);
            if (counts.Total() == 64 || counts.side1 == 0 || counts.side2 == 0) break;
            game.SideToMove = 0;
            FindMove(game, random, SearchTypeOf(intellect));
            game.SideToMove = 1;
            if (game.MovePriority <= 0) {
                if (cell == 0) break;
                found.computerStuck = true;
                continue;
            }
            ApplyMove(game.GameBoard, game.MoveColumn, game.MoveRow, 0);
            counts = CountDiscs(game.GameBoard);
            if (counts.Total() == 64 || counts.side1 == 0 || counts.side2 == 0) break;
        }
        if (found.humanPassed && found.computerStuck) return found;
    }
    return {};
}

} // namespace

class TMainFormTest : public QObject {
    Q_OBJECT

private slots:
    void twoHumansPlayAWholeGame_data();
    void twoHumansPlayAWholeGame();
    void againstTheComputerWithPassAndNoMove();
    void resumingInModeOneLetsTheComputerMoveAtOnce();
    void clicksDuringASearchDoNothingAndCloseWaitsForIt();
    void aLongFileOperationRefusesTheClose();
    void aHandedTextOpensEachPathOnThePlayersTurn();
    void everyCommandWaitsForTheComputersSearch();
    void panelAndCoordinatesChangeTheWindow();
    void discsAppearOneByOneInVisitingOrder();
    void panelControlsReachTheGame();
    void builtinFieldTextureTurnsTheGridOn();
    void pictureFilesThatFailLeaveTheBuiltinTexture();
    void helpMenuOpensTheProjectsAddresses();
    void helpPageIsShippedAndNamesTheWindowsKeys();
    void menuLettersAndCommonKeys();
};

void TMainFormTest::twoHumansPlayAWholeGame_data() {
    AddStyleRows();
}

void TMainFormTest::twoHumansPlayAWholeGame() {
    QFETCH(bool, buttons);
    TPlayDriver driver(TwoHumans(), buttons);
    TControlPanel& panel = driver.Form().Panel();
    QVERIFY(driver.WaitIdle());
    const TField start = driver.Game().State().GameBoard;
    const QImage before = driver.Form().Board().FieldPicture();
    TBoardWidget& board = driver.Form().Board();
    TFlipGrid legal{};
    CountFlips(legal, start, 1);

    // The hand shows where a move may go: over the whole field in the picture
    // style, over the legal cells' buttons in the button style.
    if (buttons) {
        QCOMPARE(board.CellButton(1, 1)->cursor().shape(), Qt::ForbiddenCursor);
        for (int index = 11; index <= 88; ++index)
            if (legal[std::size_t(index)] != 0 && IsPlayingCell(ColumnOf(index), RowOf(index)))
                QCOMPARE(board.CellButton(ColumnOf(index), RowOf(index))->cursor().shape(),
                         Qt::PointingHandCursor);
    } else {
        QCOMPARE(board.FieldWidget()->cursor().shape(), Qt::PointingHandCursor);
        // Moving over the field: the hand over a legal cell, "no" elsewhere.
        for (int index = 11; index <= 88; ++index) {
            const int column = ColumnOf(index), row = RowOf(index);
            if (!IsPlayingCell(column, row)) continue;
            QTest::mouseMove(board.FieldWidget(), CellCentre(column, row));
            QCOMPARE(board.FieldWidget()->cursor().shape(),
                     legal[std::size_t(index)] != 0 ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
        }
    }

    // A pass with four legal moves is refused, and the moves are marked.
    driver.Press(panel.Button(TCommand::PassMove));
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Сейчас у Вас есть 4 хода.")});
    for (int index = 11; index <= 88; ++index)
        if (IsPlayingCell(ColumnOf(index), RowOf(index)) && start[std::size_t(index)] == 0)
            QCOMPARE(ShowsMark(driver, ColumnOf(index), RowOf(index), before),
                     legal[std::size_t(index)] != 0);

    // An empty cell that flips nothing is refused and changes nothing; an
    // occupied cell is ignored without a word.
    driver.Click(1, 1);
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Вы нарушаете правила игры!")});
    driver.Click(4, 4);
    QVERIFY(driver.TakeMessages().isEmpty());
    QVERIFY(driver.Game().State().GameBoard == start);
    QCOMPARE(driver.Game().CurrentR(), std::uint8_t(0));

    for (std::size_t k = 0; k < kGame40To24.size(); ++k) {
        QVERIFY2(driver.WaitIdle(), qPrintable(QString::number(k)));
        driver.ClickCell(kGame40To24[k]);
        if (k == 0) {
            // The marks on cells that are still empty go with the first redraw.
            QVERIFY(driver.WaitIdle());
            const TField& now = driver.Game().State().GameBoard;
            for (int index = 11; index <= 88; ++index)
                if (IsPlayingCell(ColumnOf(index), RowOf(index)) && now[std::size_t(index)] == 0)
                    QVERIFY(!ShowsMark(driver, ColumnOf(index), RowOf(index), before));
        }
    }
    QVERIFY(driver.WaitIdle());
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Зеленые выиграли!")});
    QCOMPARE(panel.Shown(TPanelBox::Score, TSide::First), QStringLiteral("40"));
    QCOMPARE(panel.Shown(TPanelBox::Score, TSide::Second), QStringLiteral("24"));
    QCOMPARE(panel.Shown(TPanelBox::Overall, TSide::First), QStringLiteral("40"));
    QCOMPARE(panel.Shown(TPanelBox::Overall, TSide::Second), QStringLiteral("24"));
    QCOMPARE(panel.Shown(TPanelBox::Rating, TSide::First), QStringLiteral("62"));
    QCOMPARE(panel.Shown(TPanelBox::Rating, TSide::Second), QStringLiteral("38"));
    QCOMPARE(panel.ShownMoveCounter(), QStringLiteral("Ход 60 из 60"));
    QVERIFY(!driver.Game().BeginGame());

    // A click on the finished game does nothing.
    driver.Click(1, 1);
    QVERIFY(driver.TakeMessages().isEmpty());

    // Back five moves and forward one through the panel's buttons.
    for (int step = 0; step < 5; ++step)
        driver.Press(panel.Button(TCommand::StepBack));
    QVERIFY(driver.WaitIdle());
    QCOMPARE(panel.ShownMoveCounter(), QStringLiteral("Ход 55 из 60"));
    driver.Press(panel.Button(TCommand::StepForward));
    QVERIFY(driver.WaitIdle());
    QCOMPARE(panel.ShownMoveCounter(), QStringLiteral("Ход 56 из 60"));
    QVERIFY(driver.Game().State().GameBoard == driver.Game().March().Fields[56]);
    // In history view the board cannot be played.
    QCOMPARE(buttons ? board.CellButton(1, 1)->cursor().shape()
                     : board.FieldWidget()->cursor().shape(),
             Qt::ForbiddenCursor);
    driver.Click(1, 1);
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Игра остановлена!")});

    // Back to the start: the field shows the start position again, with the
    // cells emptied by the rebuild.
    driver.Press(panel.Button(TCommand::ToBegin));
    QVERIFY(driver.WaitIdle());
    QVERIFY(driver.Game().State().GameBoard == start);
    if (!buttons)
        QVERIFY(driver.Form().Board().FieldPicture() == before);
    else
        QVERIFY(driver.Form().Board().CellButton(1, 1)->icon().isNull());
    QVERIFY(!panel.Button(TCommand::ToBegin)->isEnabled());
    QVERIFY(panel.Button(TCommand::ToEnd)->isEnabled());
}

void TMainFormTest::againstTheComputerWithPassAndNoMove() {
    const TSimulatedGame plan = FindEventfulGame(1);
    QVERIFY2(plan.policy != 0, "no game with a pass and a stuck computer");
    TPlayDriver driver(AgainstComputer(1));
    TControlPanel& panel = driver.Form().Panel();
    unsigned policy = plan.policy;
    bool passed = false;
    for (int turn = 0; turn < 100 && driver.Game().BeginGame(); ++turn) {
        QVERIFY(driver.WaitIdle());
        if (!driver.Game().BeginGame()) break;
        QVERIFY(driver.Game().CanAct());
        const int cell = PickMove(driver.Game().State().GameBoard, 1, policy);
        if (cell != 0) {
            driver.ClickCell(cell);
            continue;
        }
        // Without a legal move the pass is taken: no count of moves is shown.
        driver.Press(panel.Button(TCommand::PassMove));
        passed = true;
        for (const QString& text : driver.messages)
            QVERIFY(!text.startsWith(QStringLiteral("Сейчас у Вас есть")));
    }
    QVERIFY(driver.WaitIdle());
    QVERIFY(passed);
    QVERIFY(!driver.Game().BeginGame());
    const QStringList said = driver.TakeMessages();
    QVERIFY2(said.contains(QStringLiteral("У меня нет хода.")), qPrintable(said.join('|')));
    QVERIFY(!said.contains(QStringLiteral("Вы нарушаете правила игры!")));
    QVERIFY(said.last().endsWith(QStringLiteral("выиграли!")) ||
            said.last().endsWith(QStringLiteral("разгромлены!")) ||
            said.last() == QStringLiteral("Ничья!"));
    const TDiscCounts counts = CountDiscs(driver.Game().State().GameBoard);
    QCOMPARE(panel.Shown(TPanelBox::Overall, TSide::First), QString::number(counts.side1));
    QCOMPARE(panel.Shown(TPanelBox::Overall, TSide::Second), QString::number(counts.side2));
}

void TMainFormTest::resumingInModeOneLetsTheComputerMoveAtOnce() {
    TPlayDriver driver(AgainstComputer(2));
    TControlPanel& panel = driver.Form().Panel();
    unsigned policy = 7;
    for (int move = 0; move < 3; ++move) {
        QVERIFY(driver.WaitIdle());
        driver.ClickCell(PickMove(driver.Game().State().GameBoard, 1, policy));
    }
    QVERIFY(driver.WaitIdle());
    QCOMPARE(driver.Game().CurrentR(), std::uint8_t(6));

    // Back to the position after the human's third move: the computer's turn.
    driver.Press(panel.Button(TCommand::StepBack));
    QVERIFY(driver.WaitIdle());
    QCOMPARE(panel.ShownMoveCounter(), QStringLiteral("Ход 05 из 06"));
    QVERIFY(!driver.Game().PlayR());
    QVERIFY(driver.Game().ClockRunning(TSide::First) == false);

    driver.Press(panel.Button(TCommand::ResumePlay));
    // No pause: the computer's search starts at once, and its move follows
    // as soon as the search returns.
    QVERIFY(!driver.Game().PausePending());
    QVERIFY(driver.Game().State().EngineBusy != 0);
    QVERIFY(QTest::qWaitFor([&] { return driver.Game().CurrentR() == 6; }, 5000));
    QCOMPARE(driver.Game().March().Who[6], std::uint8_t(0));
    QVERIFY(driver.Game().PlayR());
    QVERIFY(driver.WaitIdle());
    QVERIFY(driver.Game().CanAct());
    QVERIFY(!panel.Button(TCommand::ResumePlay)->isEnabled());
}

void TMainFormTest::clicksDuringASearchDoNothingAndCloseWaitsForIt() {
    TGatedSearches searches;
    TPlayDriver driver(AgainstComputer(3), false, &searches);
    QVERIFY(driver.WaitIdle());
    unsigned policy = 3;
    // The computer's search is held on the worker while a click and a close
    // arrive; the window's event loop runs on meanwhile.
    searches.Shut();
    driver.ClickCell(PickMove(driver.Game().State().GameBoard, 1, policy));
    QTRY_VERIFY_WITH_TIMEOUT(searches.Waiting(), 20000);
    QVERIFY(QApplication::overrideCursor() != nullptr &&
            QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    const TField during = driver.Game().State().GameBoard;
    driver.Click(1, 1);
    driver.Click(8, 8);
    QVERIFY(driver.TakeMessages().isEmpty());
    QVERIFY(driver.Game().State().GameBoard == during);
    QVERIFY(!driver.Form().close());
    QVERIFY(driver.Form().isVisible());
    searches.Open();
    QTRY_VERIFY_WITH_TIMEOUT(!driver.Form().isVisible(), 60000);
    QCOMPARE(driver.Game().State().EngineBusy, std::uint8_t(0));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TMainFormTest::aLongFileOperationRefusesTheClose() {
    TPlayDriver driver(TwoHumans());
    QVERIFY(driver.WaitIdle());
    int closeSteps = 0;
    driver.Form().SetCloseStep([&closeSteps] { ++closeSteps; });
    {
        const TLongOperations::TScope search(driver.Form().LongOperations());
        // Each attempt is refused with the message window, which does not
        // wait for the player; a second attempt brings the same one forward.
        for (int attempt = 0; attempt < 2; ++attempt) {
            QVERIFY(!driver.Form().close());
            QVERIFY(TMessageForm::Current() != nullptr);
            QCOMPARE(TMessageForm::Current()->Text()->text(),
                     QStringLiteral("Имеются незавершенные операции!"));
        }
        TMessageForm::Current()->close();
        QVERIFY(driver.Form().isVisible());
        QCOMPARE(closeSteps, 0);
    }
    QVERIFY(driver.Form().close());
    QCOMPARE(closeSteps, 1);
}

void TMainFormTest::aHandedTextOpensEachPathOnThePlayersTurn() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray bytes = test::NewTwoPlayerGameBytes();
    QStringList paths;
    for (const char* name : {"a b.dvn", "c.dvn", "d #1.dvn"}) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        paths << file.fileName();
    }
    TGatedSearches searches;
    TPlayDriver driver(AgainstComputer(1), false, &searches);
    QVERIFY(driver.WaitIdle());
    // A search holds the game when the hand-over arrives: it waits its turn.
    searches.Shut();
    unsigned policy = 3;
    driver.ClickCell(PickMove(driver.Game().State().GameBoard, 1, policy));
    QTRY_VERIFY_WITH_TIMEOUT(searches.Waiting(), 20000);
    driver.Form().OpenHandedText(u'"' + paths[0] + QStringLiteral("\" \"") + paths[1] + u'"');
    // A second hand-over meanwhile (another start, a file manager's URI)
    // waits behind the first instead of replacing it.
    driver.Form().OpenHandedText(QUrl::fromLocalFile(paths[2]).toString(QUrl::FullyEncoded));
    QVERIFY(driver.Form().RecentFiles().Slot(1).isEmpty());
    searches.Open();
    QTRY_VERIFY_WITH_TIMEOUT(!driver.Form().RecentFiles().Slot(3).isEmpty(), 20000);
    QCOMPARE(driver.Form().RecentFiles().Slot(1), paths[2]);
    QCOMPARE(driver.Form().RecentFiles().Slot(2), paths[1]);
    QCOMPARE(driver.Form().RecentFiles().Slot(3), paths[0]);
}

// What the game is, as far as any command could change it.
struct TGameSnapshot {
    TSavedGame saved;
    TGameState state;
    bool playR = false, beginGame = false, onShow1 = false, onShow2 = false;
    int regim = 0, intellect = 0;

    static TGameSnapshot Of(TGameController& game) {
        return {game.SavedGame(), game.State(),   game.PlayR(), game.BeginGame(),
                game.OnShow1(),   game.OnShow2(), game.Regim(), int(game.Intellect())};
    }
    bool operator==(const TGameSnapshot& o) const {
        return saved == o.saved && state.GameBoard == o.state.GameBoard &&
               state.SideToMove == o.state.SideToMove && state.MoveColumn == o.state.MoveColumn &&
               state.MoveRow == o.state.MoveRow && playR == o.playR && beginGame == o.beginGame &&
               onShow1 == o.onShow1 && onShow2 == o.onShow2 && regim == o.regim &&
               intellect == o.intellect;
    }
};

// Every command of the window, given while the computer's search runs on the
// worker, leaves the game as it is and opens no dialog; the search's move
// follows when the worker is let go.
void TMainFormTest::everyCommandWaitsForTheComputersSearch() {
    TGatedSearches searches;
    TPlayDriver driver(AgainstComputer(3), false, &searches);
    TMainForm& form = driver.Form();
    int filesAsked = 0;
    form.SetFileChooser([&](const TFileRequest&) {
        ++filesAsked;
        return QString();
    });
    QStringList dialogs;
    QTimer failsafe; // a dialog that opens anyway is recorded and closed
    QObject::connect(&failsafe, &QTimer::timeout, [&] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialogs << modal->windowTitle();
            modal->reject();
        }
    });
    failsafe.start(20);
    QVERIFY(driver.WaitIdle());
    unsigned policy = 5;
    for (int i = 0; i < 2; ++i) {
        driver.ClickCell(PickMove(driver.Game().State().GameBoard, 1, policy));
        QVERIFY(driver.WaitIdle());
    }
    const QString saved = QDir::temp().filePath(QStringLiteral("dorvane-during-search.dvn"));
    QVERIFY(WriteSavedGameFile(saved, driver.Game().SavedGame()));

    searches.Shut();
    driver.ClickCell(PickMove(driver.Game().State().GameBoard, 1, policy));
    QTRY_VERIFY_WITH_TIMEOUT(searches.Waiting(), 20000);
    const TGameSnapshot before = TGameSnapshot::Of(driver.Game());
    const int recorded = driver.Game().CurrentR();
    driver.TakeMessages();
    // The help menu's links leave the game alone and are never refused; here
    // they go nowhere.
    std::vector<QUrl> links;
    driver.Form().Help().SetUrlOpener([&links](const QUrl& url) {
        links.push_back(url);
        return true;
    });

    for (int i = 0; i < kCommandCount; ++i) {
        const auto command = static_cast<TCommand>(i);
        if (command == TCommand::Close) continue; // deferred: see the test above
        QAction* action = form.Commands().Action(command);
        action->trigger();
        if (QAbstractButton* button = form.Panel().Button(command)) button->click();
        QTest::qWait(1);
        QVERIFY2(TGameSnapshot::Of(driver.Game()) == before, qPrintable(action->text()));
        QVERIFY2(searches.Waiting(), qPrintable(action->text()));
    }
    form.Panel().LevelButton(TStrength::Low)->click();
    form.OpenFile(saved);
    QVERIFY(form.LoadGameFile(saved) == false);
    QVERIFY(TGameSnapshot::Of(driver.Game()) == before);
    QCOMPARE(searches.Started(), 3);
    QCOMPARE(filesAsked, 0);
    QCOMPARE(dialogs, QStringList());
    QCOMPARE(int(links.size()), 3); // the mail, the site, the support page
    QCOMPARE(driver.TakeMessages(), QStringList());

    searches.Open();
    QVERIFY(driver.WaitIdle());
    QCOMPARE(driver.Game().CurrentR(), std::uint8_t(recorded + 1));
    QFile::remove(saved);
}

void TMainFormTest::panelAndCoordinatesChangeTheWindow() {
    TPlayDriver driver(TwoHumans());
    TMainForm& form = driver.Form();
    QVERIFY(driver.WaitIdle());
    QCOMPARE(form.centralWidget()->size(), QSize(611, 447));
    QCOMPARE(form.StatusBar()->isVisible(), false);

    form.FindAction(QStringLiteral("Панель управления"))->trigger();
    QCOMPARE(form.centralWidget()->size(), QSize(447, 466));
    QVERIFY(form.StatusBar()->isVisible());
    QVERIFY(!form.Panel().isVisible());
    QCOMPARE(form.StatusPanel(3)->text(), QStringLiteral("Зеленые: 2"));
    QCOMPARE(form.StatusPanel(1)->text(), QStringLiteral("Зеленые: думают"));
    for (const QString& style : {QStringLiteral("Кнопки"), QStringLiteral("Рисунок")}) {
        form.FindAction(style)->trigger();
        form.FindAction(QStringLiteral("Координаты"))->trigger();
        for (int i = 0; i < 32; ++i)
            QVERIFY(!form.Board().CoordinateLabel(i)->isVisible());
        form.FindAction(QStringLiteral("Координаты"))->trigger();
        for (int i = 0; i < 32; ++i)
            QVERIFY(form.Board().CoordinateLabel(i)->isVisible());
        QCOMPARE(form.FindAction(QStringLiteral("Сетка"))->isEnabled(),
                 style == QStringLiteral("Рисунок"));
    }
    // Items whose commands the window does not have yet are not offered.
    for (const QString& absent : {QStringLiteral("Запуск")})
        QVERIFY(form.FindAction(absent) == nullptr);
    QCOMPARE(form.FindAction(QStringLiteral("Нет хода"))->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(form.FindAction(QStringLiteral("В конец"))->shortcut(), QKeySequence(Qt::Key_F10));

    form.SetCaption(QStringLiteral("Track"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Dorvane - Track"));
    form.SetCaption(QString());
    QCOMPARE(form.windowTitle(), QStringLiteral("Dorvane"));
}

void TMainFormTest::discsAppearOneByOneInVisitingOrder() {
    TGameOptions options = TwoHumans();
    options.GoFast = false;
    TPlayDriver driver(options);
    QVERIFY(driver.WaitIdle());
    TBoardWidget& board = driver.Form().Board();
    // Every step of the animation comes here instead of to the board's timer.
    std::vector<std::function<void()>> steps;
    std::vector<int> delays;
    board.SetStepScheduler([&](int delayMs, std::function<void()> step) {
        delays.push_back(delayMs);
        steps.push_back(std::move(step));
    });
    const TField start = driver.Game().State().GameBoard;
    TField after = start;
    unsigned policy = 0;
    const int cell = PickMove(start, 1, policy);
    QVERIFY(ApplyMove(after, ColumnOf(cell), RowOf(cell), 1));
    std::vector<QPoint> changed; // in visiting order
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column)
            if (after[std::size_t(CellIndex(column, row))] !=
                start[std::size_t(CellIndex(column, row))])
                changed.push_back(CellCentre(column, row));
    QVERIFY(changed.size() >= 2);

    const QImage before = board.FieldPicture();
    const auto shown = [&] {
        std::size_t count = 0;
        while (count < changed.size() &&
               board.FieldPicture().pixel(changed[count]) != before.pixel(changed[count]))
            ++count;
        for (std::size_t k = count; k < changed.size(); ++k)
            if (board.FieldPicture().pixel(changed[k]) != before.pixel(changed[k])) return -1;
        return int(count);
    };
    driver.ClickCell(cell);
    QTRY_COMPARE_WITH_TIMEOUT(steps.size(), std::size_t(1), 5000);
    // One disc per step, in visiting order, each step 150 ms after the last.
    for (std::size_t k = 0; k < changed.size(); ++k) {
        QCOMPARE(shown(), int(k + 1));
        QCOMPARE(steps.size(), k + 1);
        QVERIFY(!board.Idle());
        const std::function<void()> next = steps[k];
        next();
    }
    QCOMPARE(delays, std::vector<int>(changed.size(), TBoardWidget::kDiscWait));
    QVERIFY(driver.WaitIdle());
    QCOMPARE(steps.size(), changed.size());
}

void TMainFormTest::panelControlsReachTheGame() {
    TPlayDriver driver(AgainstComputer(2));
    TMainForm& form = driver.Form();
    TControlPanel& panel = form.Panel();
    QVERIFY(driver.WaitIdle());
    // "Нет хода" reads in the dark scheme's colour until it blinks.
    QCOMPARE(panel.Button(TCommand::PassMove)->palette().color(QPalette::ButtonText),
             QColor(255, 0, 255));

    // A double click opens the name for editing, Enter takes it over; the
    // read-only box takes no focus, so it shows no typing frame.
    TNameBox* name = panel.NameBox(TSide::First);
    QCOMPARE(name->focusPolicy(), Qt::NoFocus);
    QTest::mouseDClick(name, Qt::LeftButton);
    QVERIFY(!name->isReadOnly());
    name->setText(QStringLiteral("Красные"));
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(name->isReadOnly());
    QCOMPARE(driver.Game().SideName(TSide::First), QStringLiteral("Красные"));
    QVERIFY(form.FindAction(QStringLiteral("Красные начинают")) != nullptr);
    // An emptied name comes back unchanged.
    QTest::mouseDClick(name, Qt::LeftButton);
    name->clear();
    QTest::mouseDClick(name, Qt::LeftButton);
    QCOMPARE(name->text(), QStringLiteral("Красные"));
    QCOMPARE(driver.Game().SideName(TSide::First), QStringLiteral("Красные"));
    // The built-in schemes share the edited name.
    form.FindAction(QStringLiteral("По умолчанию"))->trigger();
    QCOMPARE(driver.Game().SideName(TSide::First), QStringLiteral("Красные"));
    QCOMPARE(name->text(), QStringLiteral("Красные"));

    // The level group: "Высокий" is item 0, level 3; the menu follows.
    driver.Press(panel.LevelButton(TStrength::High));
    QCOMPARE(driver.Game().Intellect(), TStrength::High);
    QVERIFY(form.FindAction(QStringLiteral("Высокий"))->isChecked());
    QVERIFY(!form.FindAction(QStringLiteral("Средний"))->isChecked());

    // The hint's check box and menu item are one setting.
    const bool hint = driver.Game().HintOn();
    driver.Press(panel.HintCheck());
    QCOMPARE(driver.Game().HintOn(), !hint);
    QCOMPARE(form.FindAction(QStringLiteral("Подсказка"))->isChecked(), !hint);
    form.FindAction(QStringLiteral("Подсказка"))->trigger();
    QCOMPARE(driver.Game().HintOn(), hint);
    QCOMPARE(panel.HintCheck()->isChecked(), hint);
    QVERIFY(driver.WaitIdle());

    // Choosing the style already in use changes nothing.
    const QImage field = form.Board().FieldPicture();
    form.FindAction(QStringLiteral("Рисунок"))->trigger();
    QVERIFY(form.Board().Idle());
    QVERIFY(form.Board().FieldPicture() == field);
}

void TMainFormTest::builtinFieldTextureTurnsTheGridOn() {
    TPlayDriver driver(TwoHumans());
    TMainForm& form = driver.Form();
    QVERIFY(driver.WaitIdle());
    form.FindAction(QStringLiteral("Сетка"))->trigger();
    QVERIFY(!form.Board().Grid());
    QVERIFY(driver.WaitIdle());
    const QImage withoutGrid = form.Board().FieldPicture();

    // Apply the fifth texture in the chooser when it comes up.
    bool chose = false;
    QTimer::singleShot(0, [&chose] {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() != nullptr, 5000);
        auto* chooser = dynamic_cast<TTextureForm*>(QApplication::activeModalWidget());
        QVERIFY(chooser != nullptr);
        chooser->SetNewNumber(5);
        chooser->ApplyButton()->click();
        chose = true;
    });
    form.FindAction(QStringLiteral("Встроенная текстура поля"))->trigger();
    QVERIFY(chose);
    QVERIFY(form.FindAction(QStringLiteral("Сетка"))->isChecked());
    QVERIFY(form.Board().Grid());
    QVERIFY(form.FindAction(QStringLiteral("Встроенная текстура поля"))->isChecked());
    QVERIFY(driver.WaitIdle());
    QVERIFY(form.Board().FieldPicture() != withoutGrid);
    // Discs are back on the rebuilt field.
    const QPoint centre = CellCentre(4, 4);
    QVERIFY(form.Board().FieldPicture().pixel(centre) == withoutGrid.pixel(centre));
}

void TMainFormTest::helpMenuOpensTheProjectsAddresses() {
    TPlayDriver driver(TwoHumans());
    TMainForm& form = driver.Form();
    QVERIFY(driver.WaitIdle());
    std::vector<QUrl> opened;
    bool works = true;
    form.Help().SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return works;
    });
    QStringList items;
    for (const QAction* action : form.Help().Menu()->actions())
        items << action->text();
    QCOMPARE(items,
             (QStringList{QStringLiteral("Справка по игре"), QString(),
                          QStringLiteral("Отзывы и предложения"), QString(),
                          QStringLiteral("Сайт Dorvane"), QStringLiteral("Поддержать проект"),
                          QStringLiteral("Internet"), QString(), QStringLiteral("О программе")}));
    form.FindAction(QStringLiteral("Сайт Dorvane"))->trigger();
    form.FindAction(QStringLiteral("Поддержать проект"))->trigger();
    form.FindAction(QStringLiteral("Отзывы и предложения"))->trigger();
    QCOMPARE(int(opened.size()), 3);
    QCOMPARE(opened[0], QUrl(QStringLiteral("http://dorvane.example.org")));
    QCOMPARE(opened[1], QUrl(QStringLiteral("http://dorvane.example.org/index/contribute/0-15")));
    QCOMPARE(opened[2].scheme(), QStringLiteral("mailto"));
    QVERIFY(opened[2].path().endsWith(QStringLiteral("@dorvane.example.org")));
    // Every link of "Internet" is a page of the project's own site.
    QMenu* internet = form.Help().Menu()->actions()[6]->menu();
    QVERIFY(internet);
    int links = 0;
    for (QMenu* menu : {internet, internet->actions().last()->menu()}) {
        QVERIFY(menu);
        for (QAction* link : menu->actions()) {
            if (link->menu()) continue;
            link->trigger();
            ++links;
            QCOMPARE(opened.back().host(), QStringLiteral("dorvane.example.org"));
        }
    }
    QCOMPARE(links, 6);
    // A desktop that cannot open it says so.
    works = false;
    form.FindAction(QStringLiteral("Сайт Dorvane"))->trigger();
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Команду невозможно выполнить!")});

    // "О программе": the about window; its site link opens a site and closes it.
    works = true;
    bool shown = false;
    WhenDialogShows<TAboutForm>([&](TAboutForm& about) {
        shown = true;
        QCOMPARE(about.windowTitle(), QStringLiteral("О программе «Dorvane»"));
        QCOMPARE(about.VersionLink()->text(), QStringLiteral("Версия: ") + ProgramVersion());
        QVERIFY(about.MailLink()->text().endsWith(QStringLiteral("@dorvane.example.org")));
        QVERIFY(!about.PhysicalMemory()->text().isEmpty());
        QTest::mouseClick(about.SiteLink(), Qt::LeftButton);
    });
    const std::size_t before = opened.size();
    form.FindAction(QStringLiteral("О программе"))->trigger();
    QVERIFY(shown);
    QCOMPARE(opened.size(), before + 1);
    QVERIFY(opened.back().host().endsWith(QStringLiteral("dorvane.example.org")));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TMainFormTest::helpPageIsShippedAndNamesTheWindowsKeys() {
    TPlayDriver driver(TwoHumans());
    TMainForm& form = driver.Form();
    QVERIFY(driver.WaitIdle());
    std::vector<QUrl> opened;
    form.Help().SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    // "Справка по игре" and the about window's version link open the same
    // page of the data folder, which is there.
    const QString page = DataFolder() + QStringLiteral("/readme.html");
    QVERIFY(QFileInfo(page).isFile());
    form.FindAction(QStringLiteral("Справка по игре"))->trigger();
    WhenDialogShows<TAboutForm>(
        [](TAboutForm& about) { QTest::mouseClick(about.VersionLink(), Qt::LeftButton); });
    form.FindAction(QStringLiteral("О программе"))->trigger();
    QCOMPARE(int(opened.size()), 2);
    QCOMPARE(opened[0], QUrl::fromLocalFile(page));
    QCOMPARE(opened[1], QUrl::fromLocalFile(page));
    QVERIFY(driver.TakeMessages().isEmpty());

    // The page's table of the game window's keys is the window's: every key
    // of a command is in it with the command's text, and it names no other.
    QFile file(page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    const qsizetype from = html.indexOf(QStringLiteral("<h3>Окно игры</h3>"));
    QVERIFY(from >= 0);
    const QString table = html.mid(from, html.indexOf(QStringLiteral("</table>"), from) - from);
    static const QRegularExpression row(QStringLiteral("<tr><td>(.*?)</td><td>(.*?)</td></tr>"));
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QMap<QString, QString> documented;
    for (const auto& match : row.globalMatch(table))
        documented.insert(match.captured(1).remove(tag), match.captured(2));
    QMap<QString, QString> commands;
    for (int i = 0; i < kCommandCount; ++i) {
        const QAction* action = form.Commands().Action(TCommand(i));
        for (const QKeySequence& key : action->shortcuts())
            commands.insert(key.toString(QKeySequence::PortableText), action->text());
    }
    QCOMPARE(documented.keys(), commands.keys());
    for (auto it = commands.cbegin(); it != commands.cend(); ++it)
        QVERIFY2(documented.value(it.key()).contains(it.value()),
                 qPrintable(it.key() + QStringLiteral(": ") + documented.value(it.key())));

    // A desktop that cannot open it says so.
    form.Help().SetUrlOpener([](const QUrl&) { return false; });
    form.FindAction(QStringLiteral("Справка по игре"))->trigger();
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Команду невозможно выполнить!")});
}

// Alt with a title's underlined letter opens that menu, the titles reading
// as before; Ctrl+Z steps back as "Назад" does and only where it may; Ctrl+Q
// closes as "Закрыть" does, through the same close query.
void TMainFormTest::menuLettersAndCommonKeys() {
    TPlayDriver driver(TwoHumans());
    TMainForm& form = driver.Form();
    QVERIFY(driver.WaitIdle());
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    const std::array<std::pair<QString, QChar>, 3> menus{{
        {QStringLiteral("Игра"), QChar(u'И')},
        {QStringLiteral("Параметры"), QChar(u'П')},
        {QStringLiteral("Справка"), QChar(u'С')},
    }};
    const QList<QAction*> bar = form.menuBar()->actions();
    QCOMPARE(bar.size(), qsizetype(menus.size()));
    for (std::size_t i = 0; i < menus.size(); ++i) {
        const auto& [title, letter] = menus[i];
        QAction* item = bar[qsizetype(i)];
        QCOMPARE(WithoutMnemonic(item->text()), title);
        QCOMPARE(QKeySequence::mnemonic(item->text()),
                 QKeySequence(Qt::ALT | Qt::Key(letter.unicode())));
        // Not an ASCII key: the event gets its text from the test.
        QTest::sendKeyEvent(QTest::Click, &form, Qt::Key(letter.unicode()), QString(letter),
                            Qt::AltModifier);
        QTRY_VERIFY2_WITH_TIMEOUT(item->menu()->isVisible(), qPrintable(title), 2000);
        QTest::keyClick(item->menu(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activePopupWidget(), 2000);
    }
    QVERIFY(form.FindAction(QStringLiteral("Параметры")) != nullptr);
    // The offscreen platform leaves the closed popup the active window.
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    // At the start there is nothing to step back to.
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(driver.Game().PlayR());
    QCOMPARE(driver.Game().CurrentV(), std::uint8_t(0));
    for (int move = 0; move < 2; ++move) {
        driver.ClickCell(kGame40To24[std::size_t(move)]);
        QVERIFY(driver.WaitIdle());
    }
    QCOMPARE(driver.Game().CurrentR(), std::uint8_t(2));
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!driver.Game().PlayR());
    QCOMPARE(driver.Game().CurrentV(), std::uint8_t(1));
    QCOMPARE(form.Panel().ShownMoveCounter(), QStringLiteral("Ход 01 из 02"));
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(driver.Game().CurrentV(), std::uint8_t(0));
    QVERIFY(!form.Commands().Action(TCommand::StepBack)->isEnabled());

    {
        const TLongOperations::TScope search(form.LongOperations());
        QTest::keyClick(&form, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(form.isVisible());
        QVERIFY(TMessageForm::Current() != nullptr);
        QCOMPARE(TMessageForm::Current()->Text()->text(),
                 QStringLiteral("Имеются незавершенные операции!"));
        TMessageForm::Current()->close();
    }
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 5000);
}

void TMainFormTest::pictureFilesThatFailLeaveTheBuiltinTexture() {
    TPlayDriver driver(TwoHumans());
    TMainForm& form = driver.Form();
    QVERIFY(driver.WaitIdle());
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QImage red(200, 200, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString bitmap = folder.filePath(QStringLiteral("red.bmp"));
    const QString png = folder.filePath(QStringLiteral("red.png"));
    const QString truncated = folder.filePath(QStringLiteral("cut.bmp"));
    QVERIFY(red.save(bitmap) && red.save(png));
    QFile whole(bitmap);
    QVERIFY(whole.open(QIODevice::ReadOnly));
    QFile cut(truncated);
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(40));
    cut.close();

    QAction* loadField = form.FindAction(QStringLiteral("Загружать рисунок поля"));
    QAction* builtinField = form.FindAction(QStringLiteral("Встроенная текстура поля"));
    const QImage builtin = form.Board().FieldPicture();
    const QPoint emptyCell = CellCentre(1, 1);
    for (const QString& refused : {folder.filePath(QStringLiteral("gone.bmp")), png, truncated}) {
        QVERIFY(!form.UseFieldPicture(refused));
        QVERIFY(driver.WaitIdle());
        QVERIFY(form.Board().FieldPicture() == builtin);
        QVERIFY(!loadField->isChecked());
        QVERIFY(builtinField->isChecked());
    }
    QVERIFY(form.UseFieldPicture(bitmap));
    QVERIFY(driver.WaitIdle());
    QCOMPARE(form.Board().FieldPicture().pixelColor(emptyCell), QColor(Qt::red));
    QVERIFY(loadField->isChecked());
    QVERIFY(!builtinField->isChecked());

    // The background takes any picture the platform reads.
    QAction* loadBackground = form.FindAction(QStringLiteral("Загружать рисунок фона"));
    QVERIFY(!form.UseBackgroundPicture(truncated));
    QVERIFY(!loadBackground->isChecked());
    QVERIFY(form.UseBackgroundPicture(png));
    QVERIFY(loadBackground->isChecked());
    QCOMPARE(form.Board().Background().toImage().pixelColor(5, 5), QColor(Qt::red));
    QVERIFY(driver.TakeMessages().isEmpty());
}

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::TMainFormTest)
#include "mainform_test.moc"
