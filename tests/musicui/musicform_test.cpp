// The playlist window over a stepped engine without sound services,
// offscreen: its edits of the list, the columns, the title editor, the
// status bar, the colour schemes and its settings.
#include "music/music_engine.h"
#include "musicui/input_form.h"
#include "musicui/kvoindicator.h"
#include "musicui/musicform.h"
#include "musicui/playlist_box.h"
#include "musicui/queryidform.h"

#include "support/map_store.h"
#include "support/quiet_engine_host.h"
#include "support/square_stream.h"
#include "support/tag_builder.h"

#include "widgets/messageboxes.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolBar>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>

using namespace dorvane;
using dorvane::test::TMapStore;
using dorvane::test::TQuietHost;
using dorvane::test::TSquareDecoder;
using dorvane::test::TStandingOutput;

namespace {

FList Entry(const QString& title, qint64 size = 0) {
    FList entry;
    entry.S1 = title;
    entry.S2 = QStringLiteral("/nowhere/") + title + QStringLiteral(".mp3");
    entry.Ext = QStringLiteral(".mp3");
    entry.Size = size;
    return entry;
}

QStringList Lines(const TMusicForm& form) {
    return form.List()->Lines();
}

QAction* Item(const QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text) return action;
    return nullptr;
}

} // namespace

class MusicFormTest : public QObject {
    Q_OBJECT

    TQuietHost host_;
    std::unique_ptr<TMusicEngine> engine_;
    std::unique_ptr<TMapStore> store_;

    TMusicForm* MakeForm(const QStringList& titles, const std::vector<qint64>& sizes = {}) {
        for (qsizetype i = 0; i < titles.size(); ++i)
            engine_->Playlist().Append(
                Entry(titles[i], std::size_t(i) < sizes.size() ? sizes[std::size_t(i)] : 0));
        TMusicFormParts parts;
        parts.engine = engine_.get();
        parts.store = store_.get();
        parts.gameWindow = QRect(0, 0, 400, 400);
        parts.workArea = QRect(0, 0, 1280, 1024);
        auto* form = new TMusicForm(std::move(parts));
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        return form;
    }

private slots:
    void init() {
        engine_ = std::make_unique<TMusicEngine>(host_, TPlaybackBackends{}, TMusicStart{});
        store_ = std::make_unique<TMapStore>();
    }
    void cleanup() {
        engine_->Shutdown();
        engine_.reset();
    }

    void deletingTheLastAndTheOnlyRow() {
        std::unique_ptr<TMusicForm> form(
            MakeForm({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, {1, 2, 3}));
        form->show();
        form->List()->SetCurrentRow(2);
        QTest::keyClick(form->List(), Qt::Key_Delete);
        QCOMPARE(Lines(*form), QStringList({"a", "b"}));
        QCOMPARE(form->List()->CurrentRow(), 1);
        QVERIFY(form->TotalsText().startsWith(QStringLiteral("Файлов: 2    Занято: 3 Б")));
        QTest::keyClick(form->List(), Qt::Key_Delete);
        QTest::keyClick(form->List(), Qt::Key_Delete);
        QCOMPARE(Lines(*form), QStringList());
        QCOMPARE(form->List()->CurrentRow(), -1);
        QCOMPARE(form->TotalsText(), QStringLiteral("Файлов: 0    Занято: 0 Б"));
        QTest::keyClick(form->List(), Qt::Key_Delete); // nothing left to delete
        QVERIFY(engine_->Playlist().IsEmpty());
    }

    void draggingRowTwoOntoRowFive() {
        std::unique_ptr<TMusicForm> form(MakeForm({"1", "2", "3", "4", "5", "6"}));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        TPlaylistBox* list = form->List();
        QWidget* view = list->viewport();
        const QPoint from = list->RowRect(1).center();
        const QPoint to = list->RowRect(4).center();
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), view->mapToGlobal(QPointF(to)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
        QCOMPARE(Lines(*form), QStringList({"1", "3", "4", "5", "2", "6"}));
        QCOMPARE(list->CurrentRow(), 4);
        // Dropped on itself: nothing moves.
        const QPoint same = list->RowRect(4).center();
        QTest::mousePress(view, Qt::LeftButton, {}, same);
        QTest::mouseRelease(view, Qt::LeftButton, {}, same);
        QCOMPARE(Lines(*form), QStringList({"1", "3", "4", "5", "2", "6"}));
    }

    void sortingBySizeDescendingWithEqualSizesByTitle() {
        std::unique_ptr<TMusicForm> form(
            MakeForm({"mid", "alpha", "small", "Beta"}, {200, 500, 10, 500}));
        form->List()->SetCurrentRow(0);
        QMenu* sort = nullptr;
        for (QAction* action : form->ContextMenu()->actions())
            if (action->menu() && action->text() == QStringLiteral("Сортировать"))
                sort = action->menu();
        QVERIFY(sort);
        Item(sort, QStringLiteral("Убывание"))->trigger();
        Item(sort, QStringLiteral("Размер"))->trigger();
        QCOMPARE(Lines(*form), QStringList({"Beta", "alpha", "mid", "small"}));
        QCOMPARE(form->List()->CurrentRow(), 2); // "mid" stays selected
        Item(sort, QStringLiteral("Возрастание"))->trigger();
        QCOMPARE(Lines(*form), QStringList({"small", "mid", "alpha", "Beta"}));
    }

    void autoColumnsFollowTheRowsThatFit() {
        TPlaylistBox box;
        QStringList lines;
        for (int i = 0; i < 100; ++i)
            lines << QStringLiteral("Track %1").arg(i + 1);
        box.SetLines(lines);
        box.SetColumnChoice(kAutoColumns);
        box.resize(600, 20 * box.RowHeight());
        box.show();
        QCOMPARE(box.viewport()->height(), 20 * box.RowHeight());
        QCOMPARE(box.Columns(), 5);
        // Row 0 of the fourth column is entry 60.
        QCOMPARE(box.RowAt(QPoint(3 * 120 + 5, 2)), 60);
        box.resize(600, 10 * box.RowHeight());
        QCOMPARE(box.Columns(), 10);
        box.SetColumnChoice(0);
        QCOMPARE(box.Columns(), 0);
    }

    void theCurrentRowIsHighlightedInEveryLayout_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("row");
        QTest::newRow("one column, row 3") << 0 << 2;
        QTest::newRow("3 columns, first row") << 3 << 0;
        QTest::newRow("3 columns, row 3") << 3 << 2;
        QTest::newRow("3 columns, second column") << 3 << 7;
        QTest::newRow("auto, row 3") << int(kAutoColumns) << 2;
        QTest::newRow("auto, last row") << int(kAutoColumns) << 29;
    }
    void theCurrentRowIsHighlightedInEveryLayout() {
        QFETCH(int, choice);
        QFETCH(int, row);
        TPlaylistBox box;
        QStringList lines;
        for (int i = 0; i < 30; ++i)
            lines << QStringLiteral("Track %1").arg(i + 1);
        box.SetLines(lines);
        box.SetColours(Qt::black, Qt::green, Qt::yellow);
        box.SetColumnChoice(choice);
        box.resize(600, 6 * box.RowHeight());
        box.show();
        box.SetCurrentRow(row);
        const QRect rect = box.RowRect(row);
        QVERIFY(box.viewport()->rect().contains(rect.center()));
        const QImage shown = box.viewport()->grab().toImage();
        // Past the text's end the selected row is all highlight.
        const QPoint blank(rect.right() - 2, rect.center().y());
        QCOMPARE(QColor(shown.pixel(blank)), QColor(Qt::yellow));
        // And its text is drawn over that highlight in the background colour.
        int dark = 0;
        for (int x = rect.left(); x < rect.right(); ++x)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                if (QColor(shown.pixel(x, y)) == QColor(Qt::black)) ++dark;
        QVERIFY(dark > 0);
    }

    void theTagQueryRetitlesTheListOnceAtItsEnd() {
        std::unique_ptr<TMusicForm> empty(MakeForm({}));
        empty->show();
        empty->QueryTags();
        QVERIFY(!empty->QueryWindow()); // only with entries
        empty.reset();

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        {
            const test::Bytes bytes =
                test::Cat({test::Id3Tag(test::Cat({test::TextFrame("TPE1", "Artist"),
                                                   test::TextFrame("TIT2", "Song")})),
                           test::Mp3Frames(384)});
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        }
        FList entry = Entry(QStringLiteral("old"));
        entry.S2 = path;
        engine_->Playlist().Append(entry);
        std::unique_ptr<TMusicForm> form(MakeForm({}));
        form->show();
        form->QueryTags();
        QPointer<TQueryIDForm> query = form->QueryWindow();
        QVERIFY(query);
        QSignalSpy finished(query.data(), &TQueryIDForm::QueryFinished);
        QTest::mouseClick(query->QueryButton(), Qt::LeftButton);
        QVERIFY(!form->List()->updatesEnabled()); // the list waits for the end
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(form->List()->updatesEnabled());
        QCOMPARE(Lines(*form), QStringList({QStringLiteral("Artist - Song")}));
        query->CloseButton()->click();
        QTRY_VERIFY(!form->QueryWindow());
    }

    void editingATitle() {
        std::unique_ptr<TMusicForm> form(MakeForm({"Song", "Other"}));
        form->show();
        form->List()->SetCurrentRow(0);
        const auto edit = [&](const QString& text) {
            QTest::keyClick(form->List(), Qt::Key_Return, Qt::ShiftModifier);
            TInputForm* editor = form->TitleEditor();
            if (!editor) return false;
            editor->TextBox()->setEditText(text);
            const bool enabled = editor->ApplyButton()->isEnabled();
            if (enabled)
                editor->ApplyButton()->click();
            else
                editor->CloseButton()->click();
            return QTest::qWaitFor([&] { return !form->TitleEditor(); }) && enabled;
        };
        QTest::keyClick(form->List(), Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(form->TitleEditor());
        QCOMPARE(form->TitleEditor()->windowTitle(), QStringLiteral("1. Song"));
        QCOMPARE(form->TitleEditor()->TextBox()->currentText(), QStringLiteral("Song"));
        form->TitleEditor()->CloseButton()->click();
        QTRY_VERIFY(!form->TitleEditor());

        QVERIFY(!edit(QStringLiteral("   "))); // "Применить" stays disabled
        QVERIFY(edit(QStringLiteral("  Song  ")));
        QCOMPARE(engine_->Playlist().Entry(0).S1, QStringLiteral("Song"));
        QVERIFY(edit(QStringLiteral("song")));
        QCOMPARE(engine_->Playlist().Entry(0).S1, QStringLiteral("song"));
        QCOMPARE(Lines(*form).first(), QStringLiteral("song"));
        QCOMPARE(Lines(*form).last(), QStringLiteral("Other"));
    }

    void enterInTheTextBoxApplies() {
        TInputForm input(nullptr, QStringLiteral("1. a"), QStringLiteral("Новый заголовок"),
                         QStringLiteral("a"), 1, TInputForm::TFocus::Text);
        QSignalSpy applied(&input, &TInputForm::Applied);
        input.open();
        QVERIFY(input.TextBox()->hasFocus() || input.focusWidget() == input.TextBox() ||
                input.focusWidget() == input.TextBox()->lineEdit());
        input.TextBox()->setEditText(QStringLiteral("  "));
        QTest::keyClick(input.TextBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(applied.size(), 0);
        QVERIFY(input.isVisible());
        input.TextBox()->setEditText(QStringLiteral("  b c "));
        QTest::keyClick(input.TextBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(applied.size(), 1);
        QCOMPARE(applied.first().first().toString(), QStringLiteral("b c"));
        QCOMPARE(input.Result(), QStringLiteral("b c"));
        QVERIFY(!input.isVisible());
    }

    void theVolumeProgramIsTheFirstMixerFound() {
        const auto on = [](QStringList present) {
            return [present](const QString& name) {
                return present.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
            };
        };
        const TVolumeProgram none = FindVolumeProgram(on({}));
        QVERIFY(none.program.isEmpty());
        QVERIFY(!StartVolumeProgram(none, false));
        const TVolumeProgram pulse = FindVolumeProgram(on({"xfce4-mixer", "pavucontrol"}));
        QCOMPARE(pulse.program, QStringLiteral("/usr/bin/pavucontrol"));
        QCOMPARE(pulse.playback, QStringList({"--tab=3"}));
        QCOMPARE(FindVolumeProgram(on({"xfce4-mixer"})).program,
                 QStringLiteral("/usr/bin/xfce4-mixer"));
        // Without one the button and the item are off.
        std::unique_ptr<TMusicForm> form(MakeForm({"a"}));
        QAction* item = Item(form->ContextMenu(), QStringLiteral("Громкость"));
        QVERIFY(item && !item->isEnabled());
    }

    void statusPanelsWhilePaused() {
        std::unique_ptr<TMusicForm> form(MakeForm({"a"}));
        TEngineState& state = engine_->State();
        state.TrackLength = 200000;
        state.TrackPosition = 61000;
        state.PlayerMode = kModePaused;
        QVERIFY(engine_->PlayOn());
        form->SwitchesChanged();
        form->StatusTick();
        QVERIFY(form->PlayAction()->isChecked());
        QCOMPARE(form->PanelText(1), QStringLiteral("0:01:01"));
        QCOMPARE(form->PanelText(2), QStringLiteral("0:02:19"));
        QCOMPARE(form->PanelText(3), QStringLiteral("0:03:20"));
        QCOMPARE(form->Progress()->maximum(), 200000);
        QCOMPARE(form->Progress()->value(), 61000);
        QVERIFY(form->Progress()->toolTip().contains(QStringLiteral("проигрывает файл №1")));

        form->PlayAction()->trigger(); // the play button goes up
        QVERIFY(!engine_->PlayOn());
        state.PlayerMode = kModePaused;
        form->StatusTick();
        QCOMPARE(form->PanelText(1), QStringLiteral("0:00:00"));
        QCOMPARE(form->PanelText(2), QStringLiteral("0:00:00"));
        QCOMPARE(form->PanelText(3), QStringLiteral("0:00:00"));
        QCOMPARE(form->Progress()->value(), 0);
        QCOMPARE(form->Progress()->toolTip(), QString());
    }

    void schemesAndTheMeterPresets() {
        std::unique_ptr<TMusicForm> form(MakeForm({"a"}));
        form->show();
        form->ApplyScheme(5);
        QCOMPARE(form->List()->Background(), QColor(0, 0, 0));
        QCOMPARE(form->List()->Numbers(), QColor(0xFF, 0xFF, 0));
        QCOMPARE(form->Indicator()->Modification(), 0);
        QCOMPARE(form->Settings().IndicatorW, 35);
        form->ApplyScheme(3);
        QCOMPARE(form->Indicator()->Modification(), 1);
        QCOMPARE(form->Indicator()->BeginColor() & 0xFFFFFFu, 0x0000FFu);
        QCOMPARE(form->Indicator()->EndColor() & 0xFFFFFFu, 0x00FFFFu);
        // A click steps the preset on, past 11 back to 0.
        emit form->Indicator()->LeftClicked();
        QCOMPARE(form->IndicatorPresetNumber(), 4);
        form->ApplyIndicatorPreset(11);
        emit form->Indicator()->LeftClicked();
        QCOMPARE(form->IndicatorPresetNumber(), 0);
        QCOMPARE(form->Indicator()->Modification(), 0);
    }

    void theToolBarsHoldEveryCommandInOrder() {
        std::unique_ptr<TMusicForm> form(MakeForm({"a"}));
        const auto hints = [](QToolBar* bar) {
            QStringList texts;
            for (QAction* action : bar->actions()) {
                if (action->isSeparator()) {
                    texts << QStringLiteral("-");
                    continue;
                }
                QWidget* widget = bar->widgetForAction(action);
                texts << (widget ? widget->toolTip() : action->toolTip());
            }
            return texts;
        };
        QCOMPARE(form->ChoiceBar()->windowTitle(), QStringLiteral("Выбор"));
        QCOMPARE(hints(form->ChoiceBar()),
                 QStringList(
                     {"Открыть", "Добавить", "Предыстория", "Сохранить (Ctrl+S)",
                      "Запрос заголовков из MP3 и WMA файлов", "Изменить заголовок (Shift+Enter)",
                      "-", "Сортировать", "Цветовая схема", "Столбцы", "-",
                      "Осциллограф (Правая кнопка - Хранитель экрана)", "Хранитель экрана (F9)",
                      "Dorvane (F12)", "Громкость (F11)", "Закрыть (Esc, Alt+F4)"}));
        QCOMPARE(form->PlaybackBar()->windowTitle(), QStringLiteral("Воспроизведение"));
        QCOMPARE(
            hints(form->PlaybackBar()),
            QStringList({"Предыдущий", "Следующий (F6)", "Воспроизводить (Enter)", "Пауза (Space)",
                         "В начало", "Случайный выбор (F7)", "Громкость общая", "Выключить звук",
                         "Скорость воспроизведения, % (1-200)", "Открывать одним щелчком"}));
        // Without a mixer the volume controls stay off.
        QVERIFY(
            !form->PlaybackBar()->widgetForAction(form->PlaybackBar()->actions()[6])->isEnabled());
    }

    void theKeys() {
        std::unique_ptr<TMusicForm> form(MakeForm({"a", "b"}));
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->List()->setFocus();
        QSignalSpy sources(form.get(), &TMusicForm::SourceRequested);
        QSignalSpy game(form.get(), &TMusicForm::RaiseGameWindowRequested);
        QVERIFY(!engine_->PauseOn());
        QTest::keyClick(form->List(), Qt::Key_Space);
        QVERIFY(engine_->PauseOn());
        const bool random = engine_->RandomOn();
        QTest::keyClick(form->List(), Qt::Key_F7);
        QCOMPARE(engine_->RandomOn(), !random);
        for (const Qt::Key key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4})
            QTest::keyClick(form->List(), key);
        QCOMPARE(sources.size(), 4);
        // Open folder, open list, add folder, add list.
        QList<int> tags;
        for (const QList<QVariant>& call : sources)
            tags << call.first().toInt();
        QCOMPARE(tags, QList<int>({1, 3, 2, 4}));
        QTest::keyClick(form->List(), Qt::Key_F12);
        QCOMPARE(game.size(), 1);
        QTest::keyClick(form->List(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
    }

    void theHistoryLoadsAnItemAndIsClearedAfterTheQuestion() {
        engine_->Loader().SetRecentSources({QStringLiteral("/m/one"), QStringLiteral("/m/two")});
        std::unique_ptr<TMusicForm> form(MakeForm({"a"}));
        QMenu* history = nullptr;
        for (QAction* action : form->ContextMenu()->actions())
            if (action->menu() && action->text() == QStringLiteral("Предыстория"))
                history = action->menu();
        QVERIFY(history);
        QVERIFY(history->menuAction()->isEnabled());
        Item(history, QStringLiteral("/m/two"))->trigger();
        QVERIFY(engine_->Loader().LoadRequested());
        QCOMPARE(engine_->Loader().PendingSource(), QStringLiteral("/m/two"));
        QVERIFY(engine_->Loader().LoadMode() == TLoadMode::AllSources);

        TMessageBoxes messages(form.get());
        QStringList asked;
        bool answer = false;
        messages.SetResponder([&](TMessageKind, const QString& text) {
            asked << text;
            return answer;
        });
        form->SetMessages(&messages);
        Item(history, QStringLiteral("Очистить"))->trigger();
        QCOMPARE(engine_->Loader().RecentSources().size(), 2); // "No"
        answer = true;
        Item(history, QStringLiteral("Очистить"))->trigger();
        QCOMPARE(asked, QStringList(2, QStringLiteral("Очистить список, Вы уверены?")));
        QVERIFY(engine_->Loader().RecentSources().isEmpty());
        QVERIFY(!history->menuAction()->isEnabled());
    }

    void aSavedListBecomesTheSourceAndACancelledOneDoesNot() {
        QTemporaryDir dir;
        engine_->Loader().SetMusicSource(dir.path());
        std::unique_ptr<TMusicForm> form(MakeForm({"a", "b"}));
        TMessageBoxes messages(form.get());
        QStringList shown;
        messages.SetResponder([&](TMessageKind, const QString& text) {
            shown << text;
            return false;
        });
        form->SetMessages(&messages);
        QStringList proposed;
        QString answer = dir.filePath(QStringLiteral("mix.pls"));
        form->SetSaveChooser([&](const TSaveRequest& request) -> std::optional<TSaveAnswer> {
            proposed << request.proposedName;
            if (answer.isEmpty()) return std::nullopt;
            return TSaveAnswer{answer, TPlaylistFormat::Pls};
        });
        form->LetCaption();
        const QString folderCaption = form->windowTitle();
        QAction* save = Item(form->ContextMenu(), QStringLiteral("Сохранить\tCtrl+S"));
        QVERIFY(save);
        save->trigger();
        QCOMPARE(engine_->Loader().MusicSource(), answer);
        QCOMPARE(form->windowTitle(), QStringLiteral("Список - mix.pls"));
        QVERIFY(form->windowTitle() != folderCaption);
        // The next save proposes the file just written.
        save->trigger();
        QCOMPARE(proposed.value(1), answer);

        // Cancelled, and a write that fails: the source stays.
        answer.clear();
        save->trigger();
        answer = dir.filePath(QStringLiteral("no/such/folder/x.m3u"));
        save->trigger();
        QCOMPARE(engine_->Loader().MusicSource(), dir.filePath(QStringLiteral("mix.pls")));
        QCOMPARE(shown, QStringList({QStringLiteral("Команду невозможно выполнить!")}));
    }

    void thePropertiesOfAFileSayWhenTheDesktopRefuses() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.mp3"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        FList entry = Entry(QStringLiteral("a"));
        entry.S2 = path;
        engine_->Playlist().Append(entry);
        TMusicFormParts parts;
        parts.engine = engine_.get();
        parts.store = store_.get();
        parts.workArea = QRect(0, 0, 1280, 1024);
        QList<QUrl> asked;
        parts.propertiesRequest = [&](const QUrl& url, std::function<void()> failed) {
            asked << url;
            failed(); // as the desktop answers without a file manager
        };
        TMusicForm form(std::move(parts));
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        TMessageBoxes messages(&form);
        QStringList shown;
        messages.SetResponder([&](TMessageKind, const QString& text) {
            shown << text;
            return false;
        });
        form.SetMessages(&messages);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QWidget* view = form.List()->viewport();
        const QPoint at = form.List()->RowRect(0).center();
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, view->mapToGlobal(at));
        QApplication::sendEvent(view, &menu);
        QMenu* files = nullptr;
        for (QAction* action : form.ContextMenu()->actions())
            if (action->menu() && action->text() == QStringLiteral("Файл")) files = action->menu();
        QVERIFY(files);
        QVERIFY(files->menuAction()->isEnabled());
        form.ContextMenu()->hide();
        Item(files, QStringLiteral("Свойства"))->trigger();
        QCOMPARE(asked, QList<QUrl>({QUrl::fromLocalFile(path)}));
        QCOMPARE(shown, QStringList({QStringLiteral("Команду невозможно выполнить!")}));
    }

    void theMeterShowsTheLevelsOfThePlayingTrack() {
        engine_->Shutdown();
        TPlaybackBackends backends;
        backends.decoder = std::make_unique<TSquareDecoder>();
        backends.output = std::make_unique<TStandingOutput>();
        std::int64_t now = 1000;
        backends.clock = [&now] { return now; };
        TMusicStart start;
        start.randomOn = false;
        engine_ = std::make_unique<TMusicEngine>(host_, std::move(backends), start);
        engine_->Start(TEngineRun::Manual);
        std::unique_ptr<TMusicForm> form(MakeForm({"loud"}));
        form->show();
        form->FrameTick();
        QCOMPARE(form->Indicator()->Position0(), 0);
        engine_->PlayChosen(0);
        engine_->TimerTimeTimer();
        for (int i = 0; i < 8; ++i) {
            now += 10;
            engine_->Worker().Pass();
        }
        QCOMPARE(engine_->PlayerMode(), kModePlaying);
        QVERIFY(engine_->SnapshotFresh(TSnapshotReader::Playlist));
        form->FrameTick();
        // Peaks of 128 and 32 from the middle: trunc(sqrt(peak / 128) x 128).
        QCOMPARE(form->Indicator()->Position0(), 128);
        QCOMPARE(form->Indicator()->Position1(), 64);
        QVERIFY(!engine_->SnapshotFresh(TSnapshotReader::Playlist));
        // A click on the progress bar seeks there.
        form->StatusTick();
        QVERIFY(form->Progress()->isVisible());
        const int width = form->Progress()->width();
        QTest::mouseClick(form->Progress(), Qt::LeftButton, {}, QPoint(width / 4, 2));
        QCOMPARE(engine_->State().SeekTarget.load(), std::llround(60000.0 / width * (width / 4)));
        QVERIFY(engine_->State().EngineCommand() == TEngineCommand::Seek);
        // Minimised, the window leaves the snapshot to others.
        form->Indicator()->SetPosition0(0);
        form->showMinimized();
        for (int i = 0; i < 2; ++i) {
            now += 10;
            engine_->Worker().Pass();
        }
        form->FrameTick();
        QCOMPARE(form->Indicator()->Position0(), 0);
    }

    void settingsAreReadAtCreationAndWrittenAtDestruction() {
        store_->values[QStringLiteral("ListColumns")] = QStringLiteral("42");
        store_->values[QStringLiteral("ListColor")] = QString::number(0x112233);
        store_->values[QStringLiteral("ListOneClick")] = QStringLiteral("1");
        {
            std::unique_ptr<TMusicForm> form(MakeForm({"a"}));
            QCOMPARE(form->List()->ColumnChoice(), 8); // clamped
            QCOMPARE(form->List()->Background(), QColor(0x11, 0x22, 0x33));
            // Beside the game window, as high as it.
            QCOMPARE(form->pos(), QPoint(400, 0));
            QCOMPARE(form->height(), 400);
            form->SetColumnChoice(kAutoColumns);
            form->SpeedBox()->setValue(150);
            QCOMPARE(engine_->RequestedSpeed(), 1500);
        }
        QCOMPARE(store_->values[QStringLiteral("ListColumns")], QStringLiteral("-1"));
        QCOMPARE(store_->values[QStringLiteral("ListOneClick")], QStringLiteral("1"));
        QCOMPARE(store_->values[QStringLiteral("SpeedSound")], QStringLiteral("150"));
        QCOMPARE(store_->values[QStringLiteral("ListLeft")], QStringLiteral("400"));

        store_->values.clear();
        {
            std::unique_ptr<TMusicForm> form(MakeForm({"a"}));
            form->ForgetSettings();
        }
        QVERIFY(store_->values.empty());
    }
};

QTEST_MAIN(MusicFormTest)
#include "musicform_test.moc"

#include "support/map_store.h"
#include "support/quiet_engine_host.h"
