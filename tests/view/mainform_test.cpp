// Whole games played on the real game window by mouse clicks, in both modes
// and both board styles, with the message boxes answered by the test.
#include "play_driver.h"

#include "game/engine.h"
#include "view/controlpanel.h"
#include "view/kvolabel.h"
#include "view/textureform.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

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
            FindMove(game, random, intellect);
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
    void panelAndCoordinatesChangeTheWindow();
    void discsAppearOneByOneInVisitingOrder();
    void panelControlsReachTheGame();
    void builtinFieldTextureTurnsTheGridOn();
    void pictureFilesThatFailLeaveTheBuiltinTexture();
};

void TMainFormTest::twoHumansPlayAWholeGame_data() {
    QTest::addColumn<bool>("buttons");
    QTest::newRow("picture") << false;
    QTest::newRow("buttons") << true;
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
    driver.Press(panel.passButton);
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
    QCOMPARE(panel.scores[0]->text(), QStringLiteral("40"));
    QCOMPARE(panel.scores[1]->text(), QStringLiteral("24"));
    QCOMPARE(panel.overall[0]->text(), QStringLiteral("40"));
    QCOMPARE(panel.overall[1]->text(), QStringLiteral("24"));
    QCOMPARE(panel.ratings[0]->text(), QStringLiteral("62"));
    QCOMPARE(panel.ratings[1]->text(), QStringLiteral("38"));
    QCOMPARE(panel.moveCounter->text(), QStringLiteral("Ход 60 из 60"));
    QVERIFY(!driver.Game().BeginGame());

    // A click on the finished game does nothing.
    driver.Click(1, 1);
    QVERIFY(driver.TakeMessages().isEmpty());

    // Back five moves and forward one through the panel's buttons.
    for (int step = 0; step < 5; ++step)
        driver.Press(panel.navigation[1]);
    QVERIFY(driver.WaitIdle());
    QCOMPARE(panel.moveCounter->text(), QStringLiteral("Ход 55 из 60"));
    driver.Press(panel.navigation[3]);
    QVERIFY(driver.WaitIdle());
    QCOMPARE(panel.moveCounter->text(), QStringLiteral("Ход 56 из 60"));
    QVERIFY(driver.Game().State().GameBoard == driver.Game().March().Fields[56]);
    // In history view the board cannot be played.
    QCOMPARE(buttons ? board.CellButton(1, 1)->cursor().shape()
                     : board.FieldWidget()->cursor().shape(),
             Qt::ForbiddenCursor);
    driver.Click(1, 1);
    QCOMPARE(driver.TakeMessages(), QStringList{QStringLiteral("Игра остановлена!")});

    // Back to the start: the field shows the start position again, with the
    // cells emptied by the rebuild.
    driver.Press(panel.navigation[0]);
    QVERIFY(driver.WaitIdle());
    QVERIFY(driver.Game().State().GameBoard == start);
    if (!buttons)
        QVERIFY(driver.Form().Board().FieldPicture() == before);
    else
        QVERIFY(driver.Form().Board().CellButton(1, 1)->icon().isNull());
    QVERIFY(!panel.navigation[0]->isEnabled());
    QVERIFY(panel.navigation[4]->isEnabled());
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
        driver.Press(panel.passButton);
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
    QCOMPARE(panel.overall[0]->text(), QString::number(counts.side1));
    QCOMPARE(panel.overall[1]->text(), QString::number(counts.side2));
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
    driver.Press(panel.navigation[1]);
    QVERIFY(driver.WaitIdle());
    QCOMPARE(panel.moveCounter->text(), QStringLiteral("Ход 05 из 06"));
    QVERIFY(!driver.Game().PlayR());
    QVERIFY(driver.Game().ClockRunning(1) == false);

    driver.Press(panel.navigation[2]);
    // No pause: the computer has moved before the button's click returned.
    QCOMPARE(driver.Game().CurrentR(), std::uint8_t(6));
    QCOMPARE(driver.Game().March().Who[6], std::uint8_t(0));
    QVERIFY(driver.Game().PlayR());
    QVERIFY(driver.WaitIdle());
    QVERIFY(driver.Game().CanAct());
    QVERIFY(!panel.navigation[2]->isEnabled());
}

void TMainFormTest::clicksDuringASearchDoNothingAndCloseWaitsForIt() {
    TPlayDriver driver(AgainstComputer(3));
    QVERIFY(driver.WaitIdle());
    unsigned policy = 3;
    driver.ClickCell(PickMove(driver.Game().State().GameBoard, 1, policy));

    // The high strength's search lets events through: a click and a close
    // arrive while it runs.
    bool sawSearch = false;
    bool closedAtOnce = true;
    bool busyCursor = false;
    TField during{};
    QStringList saidDuring;
    QTimer probe;
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (sawSearch || driver.Game().State().EngineBusy == 0) return;
        sawSearch = true;
        busyCursor = QApplication::overrideCursor() != nullptr &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        during = driver.Game().State().GameBoard;
        driver.Click(1, 1);
        driver.Click(8, 8);
        saidDuring = driver.TakeMessages();
        closedAtOnce = driver.Form().close();
        QVERIFY(driver.Game().State().GameBoard == during);
    });
    probe.start();
    QTRY_VERIFY_WITH_TIMEOUT(sawSearch, 20000);
    QVERIFY(saidDuring.isEmpty());
    QVERIFY(!closedAtOnce);
    QTRY_VERIFY_WITH_TIMEOUT(!driver.Form().isVisible(), 60000);
    QCOMPARE(driver.Game().State().EngineBusy, std::uint8_t(0));
    QVERIFY(busyCursor);
    QVERIFY(QApplication::overrideCursor() == nullptr);
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
    for (const QString& absent :
         {QStringLiteral("Музыка"), QStringLiteral("Запуск"),
          QStringLiteral("Минимизировать в трей"),
          QStringLiteral("Не скрывать окна при минимизации"), QStringLiteral("Другая")})
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
    const TField start = driver.Game().State().GameBoard;
    TField after = start;
    // Side 1's first legal cell in visiting order flips one disc.
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

    const QImage before = driver.Form().Board().FieldPicture();
    std::vector<qint64> seenAt(changed.size(), -1);
    QElapsedTimer clock;
    QTimer probe;
    probe.setInterval(2);
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const QImage& now = driver.Form().Board().FieldPicture();
        for (std::size_t i = 0; i < changed.size(); ++i)
            if (seenAt[i] < 0 && now.pixel(changed[i]) != before.pixel(changed[i]))
                seenAt[i] = clock.elapsed();
    });
    clock.start();
    probe.start();
    driver.ClickCell(cell);
    QVERIFY(driver.WaitIdle());
    probe.stop();
    for (std::size_t i = 0; i < changed.size(); ++i) {
        QVERIFY(seenAt[i] >= 0);
        if (i > 0) QVERIFY2(seenAt[i] - seenAt[i - 1] >= 140, qPrintable(QString::number(i)));
    }
}

void TMainFormTest::panelControlsReachTheGame() {
    TPlayDriver driver(AgainstComputer(2));
    TMainForm& form = driver.Form();
    TControlPanel& panel = form.Panel();
    QVERIFY(driver.WaitIdle());

    // A double click opens the name for editing, Enter takes it over.
    TNameBox* name = panel.names[0];
    QTest::mouseDClick(name, Qt::LeftButton);
    QVERIFY(!name->isReadOnly());
    name->setText(QStringLiteral("Красные"));
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(name->isReadOnly());
    QCOMPARE(driver.Game().SideName(1), QStringLiteral("Красные"));
    QVERIFY(form.FindAction(QStringLiteral("Красные начинают")) != nullptr);
    // An emptied name comes back unchanged.
    QTest::mouseDClick(name, Qt::LeftButton);
    name->clear();
    QTest::mouseDClick(name, Qt::LeftButton);
    QCOMPARE(name->text(), QStringLiteral("Красные"));
    QCOMPARE(driver.Game().SideName(1), QStringLiteral("Красные"));
    // The built-in schemes share the edited name.
    form.FindAction(QStringLiteral("По умолчанию"))->trigger();
    QCOMPARE(driver.Game().SideName(1), QStringLiteral("Красные"));
    QCOMPARE(name->text(), QStringLiteral("Красные"));

    // The level group: "Высокий" is item 0, level 3; the menu follows.
    driver.Press(panel.levels[0]);
    QCOMPARE(driver.Game().Intellect(), std::uint8_t(3));
    QVERIFY(form.FindAction(QStringLiteral("Высокий"))->isChecked());
    QVERIFY(!form.FindAction(QStringLiteral("Средний"))->isChecked());

    // The hint's check box and menu item are one setting.
    const bool hint = driver.Game().HintOn();
    driver.Press(panel.hintCheck);
    QCOMPARE(driver.Game().HintOn(), !hint);
    QCOMPARE(form.FindAction(QStringLiteral("Подсказка"))->isChecked(), !hint);
    form.FindAction(QStringLiteral("Подсказка"))->trigger();
    QCOMPARE(driver.Game().HintOn(), hint);
    QCOMPARE(panel.hintCheck->isChecked(), hint);
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

QObject* MakeMainFormTest() {
    return new dorvane::test::TMainFormTest;
}

#include "mainform_test.moc"
