// The control panel's colours on the real game window under a light and a
// dark desktop palette (Fusion): the built-in schemes keep the design's
// colours on a light desktop and stay readable, in the design's hues, on a
// dark one; the player's own scheme is shown as chosen.
#include "play_driver.h"

#include "view/colorscheme.h"
#include "view/controlpanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QTest>

namespace dorvane::test {

namespace {

QPalette DarkPalette() {
    QPalette dark;
    const QColor face(53, 53, 53);
    dark.setColor(QPalette::Window, face);
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(42, 42, 42));
    dark.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, face);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

// The application's palette for as long as the value lives.
struct TDesktopPalette {
    QPalette before = QApplication::palette();
    explicit TDesktopPalette(const QPalette& palette) { QApplication::setPalette(palette); }
    ~TDesktopPalette() { QApplication::setPalette(before); }
};

struct TShownColour {
    const char* what;
    QColor text, back;
};

std::vector<TShownColour> Shown(TControlPanel& panel) {
    const auto caption = [&panel](TCommand command) {
        const QPalette p = panel.Button(command)->palette();
        return std::pair{p.color(QPalette::ButtonText), p.color(QPalette::Button)};
    };
    std::vector<TShownColour> shown;
    for (const auto& [what, command] :
         {std::pair{"Старт 1", TCommand::StartSide1}, std::pair{"Старт 2", TCommand::StartSide2},
          std::pair{"Нет хода", TCommand::PassMove}, std::pair{"Сброс", TCommand::ResetScore}}) {
        const auto [text, back] = caption(command);
        shown.push_back({what, text, back});
    }
    for (const auto& [what, side] :
         {std::pair{"имя 1", TSide::First}, std::pair{"имя 2", TSide::Second}}) {
        const QPalette p = panel.NameBox(side)->palette();
        shown.push_back({what, p.color(QPalette::Text), p.color(QPalette::Base)});
    }
    return shown;
}

TGameSettings TwoHumans(int scheme) {
    TGameSettings settings = DefaultGameSettings();
    settings.Game.Regim = 2;
    settings.Game.GoFast = true;
    settings.Look.SoundMove = false;
    settings.Look.ColorScheme = scheme;
    return settings;
}

// The design's colours of the four captions and the two name boxes.
std::vector<QColor> Design(int scheme) {
    const bool dark = scheme == kSchemeDark;
    return {QColor(0, 128, 0),
            QColor(0, 0, 255),
            QColor(255, 0, 255),
            QColor(255, 0, 0),
            dark ? QColor(0, 255, 0) : QColor(0, 128, 0),
            dark ? QColor(0, 255, 255) : QColor(0, 0, 255)};
}

void AddSchemeRows() {
    QTest::addColumn<int>("scheme");
    QTest::newRow("По умолчанию") << kSchemeDefault;
    QTest::newRow("Темная") << kSchemeDark;
}

} // namespace

class TPanelColoursTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion"))); }

    void lightDesktopKeepsTheDesignsColours_data() { AddSchemeRows(); }
    void lightDesktopKeepsTheDesignsColours() {
        QFETCH(int, scheme);
        TPlayDriver driver(TwoHumans(scheme));
        QVERIFY(driver.WaitIdle());
        QVERIFY(driver.Form().Panel().State().passHighlighted);
        const auto shown = Shown(driver.Form().Panel());
        const auto design = Design(scheme);
        for (std::size_t i = 0; i < shown.size(); ++i)
            QVERIFY2(shown[i].text == design[i],
                     qPrintable(QString::fromUtf8(shown[i].what) + u' ' + shown[i].text.name()));
    }

    void darkDesktopKeepsTheHuesAndReachesTheContrast_data() { AddSchemeRows(); }
    void darkDesktopKeepsTheHuesAndReachesTheContrast() {
        QFETCH(int, scheme);
        const TDesktopPalette dark(DarkPalette());
        TPlayDriver driver(TwoHumans(scheme));
        QVERIFY(driver.WaitIdle());
        QVERIFY(driver.Form().Panel().State().passHighlighted);
        const auto shown = Shown(driver.Form().Panel());
        const auto design = Design(scheme);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const QString what = QString::fromUtf8(shown[i].what) + u' ' + shown[i].text.name() +
                                 QStringLiteral(" on ") + shown[i].back.name();
            QVERIFY2(shown[i].back.lightnessF() < 0.3f, qPrintable(what));
            QVERIFY2(ContrastRatio(shown[i].text, shown[i].back) >= kReadableContrast,
                     qPrintable(what));
            QVERIFY2(qAbs(shown[i].text.hslHueF() - design[i].hslHueF()) <= 1.0 / 360,
                     qPrintable(what));
        }
    }

    void darkDesktopShowsThePlayersOwnSchemeAsChosen() {
        const TDesktopPalette dark(DarkPalette());
        TGameSettings settings = TwoHumans(kSchemeCustom);
        // Dark blue and dark red captions on a dark face: the player's choice.
        settings.Custom.Colors[4] = qint32(StoredFromColor(QColor(0, 0, 128)));
        settings.Custom.Colors[7] = qint32(StoredFromColor(QColor(128, 0, 0)));
        TPlayDriver driver(settings);
        QVERIFY(driver.WaitIdle());
        const auto shown = Shown(driver.Form().Panel());
        QCOMPARE(shown[0].text, QColor(0, 0, 128));
        QCOMPARE(shown[3].text, QColor(128, 0, 0));
        QCOMPARE(shown[4].text, ColorFromStored(std::uint32_t(settings.Custom.Colors[0])));
    }
};

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::TPanelColoursTest)
#include "panelcolours_test.moc"
