// What the start learns before any window exists: the start-up's settings
// with the write of "ReStart", the speed and the notification area.
#include "shell/environment.h"
#include "shell/settings_store.h"
#include "support/file_contents.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace dorvane {
namespace {

TEST(Environment, RestartMarkDecidesTheInstanceLimit) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Kvo/Dorvane.conf");
    {
        // A first run: "ReStart" is missing and counts as set.
        SettingsStore store(path);
        const TRunValues first = ProbeEnvironment(store);
        EXPECT_EQ(first.InstanceLimit, 2);
        EXPECT_TRUE(first.Restarted);
        EXPECT_TRUE(first.RegistryWritable);
    }
    {
        SettingsStore store(path);
        const TRunValues second = ProbeEnvironment(store);
        EXPECT_EQ(second.InstanceLimit, 1);
        EXPECT_FALSE(second.Restarted);
        EXPECT_EQ(second.RequestedSpeed, 1000);
        EXPECT_FALSE(second.ProgramPath.isEmpty());
        EXPECT_TRUE(second.ProgramFolder.endsWith(u'/'));
        EXPECT_FALSE(second.Machine.OsDescription.isEmpty());
    }
    // A store that cannot be written: one copy only, whatever it reads.
    test::WriteAll(dir.filePath("blocked"), "not a folder");
    SettingsStore blocked(dir.filePath("blocked/Kvo/Dorvane.conf"));
    const TRunValues unwritable = ProbeEnvironment(blocked);
    EXPECT_FALSE(unwritable.RegistryWritable);
    EXPECT_EQ(unwritable.InstanceLimit, 1);
}

TEST(Environment, SpeedAndTheNotificationArea) {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("Kvo/Dorvane.conf"));
    for (const auto& [stored, speed] : std::vector<std::pair<int, int>>{
             {0, 10}, {1, 10}, {50, 500}, {200, 2000}, {201, 2000}, {-3, 10}}) {
        store.RegWriteInteger(QStringLiteral("SpeedSound"), stored);
        EXPECT_EQ(ProbeEnvironment(store).RequestedSpeed, speed) << stored;
    }
    store.RegWriteBool(QStringLiteral("RunToTray"), true);
    TRunValues env = ProbeEnvironment(store);
    ProbeNotificationArea(env, store, false);
    EXPECT_FALSE(env.ShowMainMin); // no tray: never start hidden
    ProbeNotificationArea(env, store, true);
    EXPECT_TRUE(env.ShowMainMin);
}

} // namespace
} // namespace dorvane
