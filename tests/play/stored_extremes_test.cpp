// Numbers from a settings file that someone edited by hand, or that another
// program damaged: every integer value of every group at the ends of 32 bits
// and just past the ranges the program uses, and what the windows and the
// player make of such values.
#include "core/shell_settings.h"
#include "core/window_placement.h"
#include "music/playlist_window_settings.h"
#include "play/game_settings.h"
#include "shell/environment.h"

#include "support/map_store.h"

#include <gtest/gtest.h>

#include <limits>

namespace dorvane {
namespace {

constexpr qint32 kMin = std::numeric_limits<qint32>::min();
constexpr qint32 kMax = std::numeric_limits<qint32>::max();

const QString kExtremes[] = {
    QString::number(kMin),          QString::number(kMax),      QStringLiteral("-16777217"),
    QStringLiteral("16777217"),     QStringLiteral("-1"),       QStringLiteral("0"),
    QString::number(kMax / 10 + 1), QString::number(kMin / 10), // past a product by ten
};

// Every value of the group is stored at the extreme, read, and written back:
// an integer with a range comes back inside it, and no other value comes
// back as the extreme number (an integer read without a range would).
template <class R, class C>
void CheckGroup(const char* group, const TSettingsSchema<R, C>& schema, const C& context = {}) {
    for (const QString& extreme : kExtremes) {
        test::TMapStore stored;
        for (const auto& entry : schema.Entries())
            stored.values[entry.Name] = extreme;
        // The texts: a value that comes back as stored when it is no number
        // (read under the same conditions as the extreme).
        QStringList texts;
        for (const auto& entry : schema.Entries()) {
            test::TMapStore probe = stored;
            probe.values[entry.Name] = QStringLiteral("no number");
            test::TMapStore written;
            schema.WriteAll(written, schema.Read(probe, context));
            if (written.values[entry.Name] == QStringLiteral("no number")) texts << entry.Name;
        }
        const R read = schema.Read(stored, context);
        test::TMapStore written;
        schema.WriteAll(written, read);
        for (const auto& entry : schema.Entries()) {
            SCOPED_TRACE(std::string(group) + " " + entry.Name.toStdString() + "=" +
                         extreme.toStdString());
            const auto it = written.values.find(entry.Name);
            if (it == written.values.end()) continue; // never written by the program
            const std::optional<qint32> back = SettingsAccess::ParseStoredInteger(it->second);
            if (entry.Range) {
                ASSERT_TRUE(back.has_value()) << it->second.toStdString();
                EXPECT_GE(*back, entry.Range->minimum);
                EXPECT_LE(*back, entry.Range->maximum);
            } else if (back && !texts.contains(entry.Name) && extreme != QStringLiteral("0") &&
                       extreme != QStringLiteral("-1")) {
                EXPECT_NE(it->second, extreme) << "an integer without a range";
            }
        }
    }
}

TEST(StoredExtremes, EveryIntegerComesBackWithinItsRange) {
    CheckGroup("game", GameSettingsSchema());
    CheckGroup("scheme", CustomSchemeSchema());
    const TPlaylistWindowContext playlist{QRect(0, 0, 600, 500), QRect(0, 0, 1280, 1000),
                                          QMargins()};
    CheckGroup("playlist window", PlaylistWindowSettingsSchema(), playlist);
    CheckGroup("shell", ShellSettingsSchema(), TShellContext{true});
}

// The places the values end in: each window lies inside the work area and
// the speed inside what the player offers, whatever the file said.
TEST(StoredExtremes, WindowsStayOnTheScreenAndTheSpeedInItsRange) {
    const QRect area(64, 24, 1216, 976);
    for (const qint32 value : {kMin, kMax, kMax - 100, kMin + 100}) {
        SCOPED_TRACE(value);
        test::TMapStore store;
        for (const char* name : {"Left", "Top", "ListLeft", "ListTop", "ListWidth", "ListHeight",
                                 "ScopeLeft", "ScopeTop", "SpeedSound"})
            store.RegWriteInteger(QLatin1String(name), value);

        const QRect game(ReadWindowPosition(store, area, QSize(600, 400), 98, true),
                         QSize(600, 400));
        EXPECT_TRUE(area.contains(game)) << game.x() << "," << game.y();

        const TPlaylistWindowSettings list = PlaylistWindowSettingsSchema().Read(
            store, TPlaylistWindowContext{QRect(100, 100, 600, 400), area, QMargins()});
        const QRect fitted = FitBoundsToWorkArea(
            QRect(list.ListLeft, list.ListTop, list.ListWidth, list.ListHeight), area);
        EXPECT_TRUE(area.contains(fitted)) << fitted.x() << "," << fitted.y();

        const QPoint scope =
            PlaceWindowFromSettings(store, QStringLiteral("ScopeLeft"), QStringLiteral("ScopeTop"),
                                    -1, -1, QSize(300, 200), QRect(0, 0, 1280, 1000), area);
        EXPECT_TRUE(area.contains(QRect(scope, QSize(300, 200))));

        const int speed = ProbeEnvironment(store).RequestedSpeed;
        EXPECT_EQ(speed, value > 0 ? 2000 : 10);
    }
}

} // namespace
} // namespace dorvane
