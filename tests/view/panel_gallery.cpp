// Not a test: the real game window on a light or a dark desktop palette
// (Fusion), for screenshots under Xvfb (`panel_gallery light|dark [scheme]`,
// scheme 1 "По умолчанию", 2 "Темная", 3 "Другая").
#include "play_driver.h"

#include "view/colorscheme.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

using namespace dorvane;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QStringList args = QApplication::arguments();
    if (args.value(1) == QStringLiteral("dark")) {
        QPalette dark;
        const QColor face(53, 53, 53);
        for (const auto role : {QPalette::Window, QPalette::Button})
            dark.setColor(role, face);
        dark.setColor(QPalette::Base, QColor(42, 42, 42));
        dark.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                QPalette::HighlightedText})
            dark.setColor(role, Qt::white);
        dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
        QApplication::setPalette(dark);
    }
    TGameSettings settings = DefaultGameSettings();
    settings.Game.Regim = 2;
    settings.Look.SoundMove = false;
    settings.Look.ColorScheme = args.value(2, QStringLiteral("1")).toInt();
    test::TPlayDriver driver(settings);
    driver.Form().move(0, 0);
    return QApplication::exec();
}
