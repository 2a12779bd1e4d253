// The colour-scheme editor on the real game window with a real settings
// file: "Применить" stores and applies, "Отмена" keeps what was changed in
// memory only, added pictures join the figures, the menus and the hint's
// miniature, and are exported as numbered bitmaps.
#include "view/commands.h"
#include "view/controlpanel.h"
#include "view/helpform.h"
#include "view/mainform.h"
#include "view/schemeform.h"

#include "stored_window.h"

#include "shell/settings_store.h"
#include "support/dialog_wait.h"
#include "support/temp_home.h"
#include "widgets/attention.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <deque>
#include <functional>
#include <unistd.h>

namespace dorvane::test {

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int ColorEntry(const TSchemeForm& form, const char* name) {
    const auto& colors = form.Colors();
    for (std::size_t i = 0; i < colors.size(); ++i)
        if (colors[i].name == QString::fromUtf8(name)) return int(i);
    return -1;
}

QImage Pixels(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage IconPixels(const QAction* action) {
    return Pixels(action->icon().pixmap(16, 16).toImage());
}

} // namespace

class SchemeFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempHome> home_;

    // The start-up's first write, which makes the store count as writable.
    static void StartUp(SettingsStore& store) {
        store.RegWriteBool(QStringLiteral("ReStart"), false);
    }

    QString Picture(const QString& name, QRgb colour) const {
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 10; y < 50; ++y)
            for (int x = 10; x < 50; ++x)
                image.setPixel(x, y, colour);
        const QString path = home_->FilePath(name);
        image.save(path);
        return path;
    }

private slots:
    void init() { home_ = std::make_unique<TTempHome>(); }
    void cleanup() { home_.reset(); }

    void appliedSchemeIsStoredAndShown() {
        SettingsStore store;
        StartUp(store);
        TWindow window(store);
        QVERIFY(window.idle);
        bool opened = false;
        WhenDialogShows<TSchemeForm>([&](TSchemeForm& form) {
            opened = true;
            QCOMPARE(form.windowTitle(), QStringLiteral("Цветовая схема"));
            QCOMPARE(form.size(), QSize(294, 383));
            // Opening: the custom defaults, element 0, figure button 1.
            QCOMPARE(form.NameBox(1)->text(), QStringLiteral("Синие"));
            QCOMPARE(form.NameBox(2)->text(), QStringLiteral("Красные"));
            QCOMPARE(form.IndexColor(), 0);
            QCOMPARE(form.ColorList()->currentText(), QStringLiteral("Белый"));
            QCOMPARE(form.IndexButton(), 1);
            QCOMPARE(form.FigureList()->count(), 4);
            QCOMPARE(form.FigureList()->currentIndex(), 1);
            QCOMPARE(form.Attention().CursorTo().ToControl(), form.CancelButton());
            QVERIFY(form.CancelButton()->hasFocus() || !form.isActiveWindow());
            // A click on "Сброс" edits its caption colour.
            QTest::mouseClick(form.PreviewButton(7), Qt::LeftButton);
            QCOMPARE(form.IndexColor(), 7);
            QCOMPARE(form.ElementList()->currentIndex(), 7);
            QCOMPARE(form.ColorList()->currentText(), QStringLiteral("Фуксия"));
            form.SelectElement(2);
            form.ChooseColor(ColorEntry(form, "Желтый"));
            QCOMPARE(form.ElementColor(2), QColor(255, 255, 0));
            form.NameBox(1)->setText(QStringLiteral("Аня"));
            form.NameBox(2)->clear(); // an empty name keeps the old one
            form.SelectFigureButton(2);
            QCOMPARE(form.FigureList()->currentIndex(), 3);
            form.ChooseFigure(0);
            QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);
        });
        window.form.Commands().Action(TCommand::SchemeCustom)->trigger();
        QVERIFY(opened);

        const TGameSettings& now = window.form.Settings();
        QCOMPARE(now.Look.ColorScheme, kSchemeCustom);
        QVERIFY(window.form.Commands().Action(TCommand::SchemeCustom)->isChecked());
        QCOMPARE(window.form.Panel().NameBox(TSide::First)->text(), QStringLiteral("Аня"));
        QCOMPARE(window.form.Panel().NameBox(TSide::Second)->text(), QStringLiteral("Красные"));
        QCOMPARE(window.form.Commands().Action(TCommand::StartSide1)->text(),
                 QStringLiteral("Аня начинают"));
        QCOMPARE(IconPixels(window.form.Commands().Action(TCommand::StartSide2)),
                 Pixels(window.form.Figures().SmallFigure(0)));

        const TGameSettings stored = ReadGameSettings(store, {});
        QCOMPARE(stored.Custom.Colors[2], StoredColor(255, 255, 0));
        QCOMPARE(stored.Custom.Player1, QStringLiteral("Аня"));
        QCOMPARE(stored.Custom.Player2, QStringLiteral("Красные"));
        QCOMPARE(stored.Custom.Figures, (std::array<qint32, 4>{1, 0, 0, 2}));
        QCOMPARE(store.RegReadString(QStringLiteral("SPathCount"), QString()), QStringLiteral("0"));
    }

    void cancelKeepsTheChangesInMemoryOnly() {
        SettingsStore store;
        StartUp(store);
        TWindow window(store);
        QVERIFY(window.idle);
        const int before = window.form.Settings().Look.ColorScheme;
        WhenDialogShows<TSchemeForm>([](TSchemeForm& form) {
            form.ChooseColor(ColorEntry(form, "Красный"));
            form.ChooseFigure(3);
            QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
        });
        window.form.Commands().Action(TCommand::SchemeCustom)->trigger();
        QCOMPARE(window.form.Settings().Look.ColorScheme, before);
        QVERIFY(!window.form.Commands().Action(TCommand::SchemeCustom)->isChecked());
        QCOMPARE(window.form.Settings().Custom.Colors[0], StoredColor(255, 0, 0));
        QCOMPARE(window.form.Settings().Custom.Figures[0], 3);
        // Nothing was stored.
        QCOMPARE(store.RegReadString(QStringLiteral("SColor1"), QStringLiteral("none")),
                 QStringLiteral("none"));
        // The next opening starts from the changes.
        bool reopened = false;
        WhenDialogShows<TSchemeForm>([&](TSchemeForm& form) {
            reopened = true;
            QCOMPARE(form.ColorList()->currentText(), QStringLiteral("Красный"));
            QCOMPARE(form.FigureList()->currentIndex(), 3);
            form.reject();
        });
        window.form.Commands().Action(TCommand::SchemeCustom)->trigger();
        QVERIFY(reopened);
    }

    void addedPicturesJoinTheFiguresMenusAndHint() {
        SettingsStore store;
        StartUp(store);
        auto window = std::make_unique<TWindow>(store);
        QVERIFY(window->idle);
        const QString one = Picture(QStringLiteral("one.png"), qRgb(200, 0, 0));
        const QString two = Picture(QStringLiteral("two.bmp"), qRgb(0, 0, 200));
        const QString junk = home_->FilePath(QStringLiteral("junk.png"));
        QFile(junk).open(QIODevice::WriteOnly);
        const QString out = home_->FilePath(QStringLiteral("out"));
        QDir().mkpath(out);
        std::deque<QString> answers{one, junk, two, out};
        std::vector<TFileRequest> asked;
        window->form.SetFileChooser([&](const TFileRequest& request) {
            asked.push_back(request);
            const QString answer = answers.front();
            answers.pop_front();
            return answer;
        });
        WhenDialogShows<TSchemeForm>([&](TSchemeForm& form) {
            form.AddPicture();
            form.AddPicture(); // not a picture: nothing is added
            form.AddPicture();
            QCOMPARE(form.FigureList()->count(), 6);
            form.ExportPictures();
            form.ChooseFigure(4); // side 1 takes the first added picture
            QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);
        });
        window->form.Commands().Action(TCommand::SchemeCustom)->trigger();
        QCOMPARE(window->messages, QStringList{QStringLiteral("Неверный формат файла!")});
        QCOMPARE(int(asked.size()), 4);
        QVERIFY(asked[3].chooseFolder);
        QCOMPARE(asked[3].title, QStringLiteral("Выбор директории для сохранения рисунков."));

        const TFigureList& figures = window->form.Figures();
        QCOMPARE(figures.FigureCount(), 6);
        for (int k = 0; k < 6; ++k) {
            const QImage saved(QDir(out).filePath(QStringLiteral("Dorvane%1.bmp").arg(k)));
            QCOMPARE(saved.size(), QSize(40, 40));
        }
        QVERIFY(!QFile::exists(QDir(out).filePath(QStringLiteral("Dorvane6.bmp"))));
        // The added figure is side 1's: in the menu and in the hint's miniature.
        QCOMPARE(IconPixels(window->form.Commands().Action(TCommand::StartSide1)),
                 Pixels(figures.SmallFigure(4)));
        QCOMPARE(figures.SmallFigure(4).pixel(8, 8), qRgb(200, 0, 0));
        bool hinted = false;
        WhenDialogShows<THelpForm>([&](THelpForm& form) {
            hinted = true;
            QCOMPARE(Pixels(form.Look().small1), Pixels(figures.SmallFigure(4)));
            const QImage miniature =
                DrawMiniature(form.Look(), window->form.Controller().State().GameBoard);
            // D5 (column 4, row 4) holds a disc of side 1 at the start.
            bool sideOneShown = false;
            for (const auto& [c, r] :
                 {std::pair{4, 4}, std::pair{5, 5}, std::pair{4, 5}, std::pair{5, 4}})
                if (window->form.Controller().State().GameBoard[std::size_t(c * 10 + r)] == 1)
                    sideOneShown =
                        miniature.pixel(16 * (c - 1) + 8, 16 * (r - 1) + 8) == qRgb(200, 0, 0);
            QVERIFY(sideOneShown);
            QTRY_VERIFY_WITH_TIMEOUT(form.Searched(), 10000);
            form.reject();
        });
        window->form.Commands().Action(TCommand::FindMove)->trigger();
        QVERIFY(hinted);

        const TGameSettings stored = ReadGameSettings(store, {});
        QCOMPARE(stored.Custom.Paths, (QStringList{one, two}));
        QCOMPARE(stored.Custom.Figures[0], 4);
        QCOMPARE(stored.Look.DirOfPicture, out);
        // The next run loads both pictures and shows the same scheme.
        window.reset();
        TWindow again(store);
        QCOMPARE(again.form.Figures().FigureCount(), 6);
        QCOMPARE(again.form.Settings().Look.ColorScheme, kSchemeCustom);
        QCOMPARE(IconPixels(again.form.Commands().Action(TCommand::StartSide1)),
                 Pixels(again.form.Figures().SmallFigure(4)));
    }

    // The export asks before it replaces the bitmaps already in the folder,
    // and never writes through a name that another user made a link.
    void exportAsksBeforeReplacingAndSkipsAnotherUsersLink() {
        SettingsStore store;
        StartUp(store);
        TWindow window(store);
        QVERIFY(window.idle);
        const QString out = home_->FilePath(QStringLiteral("shared"));
        QVERIFY(QDir().mkpath(out));
        const QString mine = QDir(out).filePath(QStringLiteral("Dorvane0.bmp"));
        QVERIFY(WriteBytes(mine, "mine"));
        const QString victim = home_->FilePath(QStringLiteral("victim"));
        QVERIFY(WriteBytes(victim, "kept"));
        const QString planted = QDir(out).filePath(QStringLiteral("Dorvane1.bmp"));
        QVERIFY(QFile::link(victim, planted));
        const bool otherUser =
            ::geteuid() == 0 && ::lchown(QFile::encodeName(planted).constData(), 65534, 65534) == 0;
        window.form.SetFileChooser([&](const TFileRequest&) { return out; });

        for (const bool replace : {false, true}) {
            window.answer = replace;
            window.messages.clear();
            WhenDialogShows<TSchemeForm>([](TSchemeForm& form) {
                form.ExportPictures();
                form.reject();
            });
            window.form.Commands().Action(TCommand::SchemeCustom)->trigger();
            QVERIFY(!window.messages.isEmpty());
            QVERIFY(window.messages.first().startsWith(
                QStringLiteral("Dorvane0.bmp, Dorvane1.bmp уже существует.")));
            QCOMPARE(QImage(mine).size(), replace ? QSize(40, 40) : QSize(0, 0));
        }
        QVERIFY(QImage(QDir(out).filePath(QStringLiteral("Dorvane3.bmp"))).size() == QSize(40, 40));
        if (otherUser) {
            QFile kept(victim);
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), QByteArray("kept"));
            QVERIFY(QFileInfo(planted).isSymLink());
            QCOMPARE(window.messages.size(), 2); // the question, then the failure
        }
    }

    void aStoredPictureThatIsGoneIsSkipped() {
        SettingsStore store;
        StartUp(store);
        const QString good = Picture(QStringLiteral("good.png"), qRgb(0, 150, 0));
        store.RegWriteInteger(QStringLiteral("SPathCount"), 3);
        store.RegWriteString(QStringLiteral("SPath0"), home_->FilePath(QStringLiteral("gone.png")));
        store.RegWriteString(QStringLiteral("SPath1"), good);
        store.RegWriteString(QStringLiteral("SPath2"), QStringLiteral("x"));
        store.RegWriteInteger(QStringLiteral("SFigure1"), 5); // the good picture
        store.RegWriteInteger(QStringLiteral("SFigure2"), 4); // the one that is gone
        store.RegWriteInteger(QStringLiteral("ColorScheme"), kSchemeCustom);
        TWindow window(store);
        QCOMPARE(window.form.Figures().FigureCount(), 5);
        const TCustomScheme& custom = window.form.Settings().Custom;
        QCOMPARE(custom.Paths, QStringList{good});
        QCOMPARE(custom.Figures[0], 4);
        QCOMPARE(custom.Figures[1], 3); // its default
        QCOMPARE(IconPixels(window.form.Commands().Action(TCommand::StartSide1)),
                 Pixels(window.form.Figures().SmallFigure(4)));
    }

    void unwritableSettingsNeitherStoreNorApply() {
        // The test window keeps no settings at all.
        TScriptedRandom random;
        TMainForm form(random);
        form.show();
        QVERIFY(QTest::qWaitFor([&form] { return !form.Controller().Blocked(); }, 10000));
        const int before = form.Settings().Look.ColorScheme;
        WhenDialogShows<TSchemeForm>([](TSchemeForm& editor) { editor.accept(); });
        form.Commands().Action(TCommand::SchemeCustom)->trigger();
        QCOMPARE(form.Settings().Look.ColorScheme, before);
        QVERIFY(!form.Commands().Action(TCommand::SchemeCustom)->isChecked());
    }
};

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::SchemeFormTest)
#include "schemeform_test.moc"
