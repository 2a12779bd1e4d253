// What the start learns before any window exists: the system's line for the
// about window, and the start-up's settings with the write of "ReStart".
#include "shell/environment.h"
#include "shell/settings_store.h"
#include "support/file_contents.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace dorvane {
namespace {

TEST(Environment, OsDescriptionFromOsRelease) {
    const std::vector<std::tuple<QByteArray, QString, QString>> cases = {
        {"PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
         "VERSION_ID=\"12\"\n",
         "6.1.0-18-amd64", "Debian GNU/Linux 12 (bookworm) версия 12 (сборка 6.1.0-18-amd64)"},
        // No PRETTY_NAME: the plain name; no version (a rolling release).
        {"NAME=Arch\nID=arch\n", "6.7.1", "Arch (сборка 6.7.1)"},
        // Single quotes and escapes as the shell reads them; comments ignored.
        {"# comment\nPRETTY_NAME='Name \"X\"'\nVERSION_ID=1\\.0\n", "5",
         "Name \"X\" версия 1.0 (сборка 5)"},
        // Nothing usable at all.
        {"", "", "Linux"},
        {QByteArray("\0\xff=\n=\"", 6), "", "Linux"},
    };
    for (const auto& [text, kernel, expected] : cases) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(DescribeOs(text, kernel), expected);
    }
    EXPECT_EQ(OsReleaseValue("VERSION_ID=\"12", "VERSION_ID"), QStringLiteral("12")); // unclosed
}

TEST(Environment, RestartMarkDecidesTheInstanceLimit) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Kvo/Dorvane.conf");
    {
        // A first run: "ReStart" is missing and counts as set.
        SettingsStore store(path);
        const TEnvironment first = ProbeEnvironment(store);
        EXPECT_EQ(first.InstanceLimit, 2);
        EXPECT_TRUE(first.Restarted);
        EXPECT_TRUE(first.RegistryWritable);
    }
    {
        SettingsStore store(path);
        const TEnvironment second = ProbeEnvironment(store);
        EXPECT_EQ(second.InstanceLimit, 1);
        EXPECT_FALSE(second.Restarted);
        EXPECT_EQ(second.RequestedSpeed, 1000);
        EXPECT_FALSE(second.ProgramPath.isEmpty());
        EXPECT_TRUE(second.ProgramFolder.endsWith(u'/'));
        EXPECT_FALSE(second.OsDescription.isEmpty());
    }
    // A store that cannot be written: one copy only, whatever it reads.
    test::WriteAll(dir.filePath("blocked"), "not a folder");
    SettingsStore blocked(dir.filePath("blocked/Kvo/Dorvane.conf"));
    const TEnvironment unwritable = ProbeEnvironment(blocked);
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
    TEnvironment env = ProbeEnvironment(store);
    ProbeNotificationArea(env, store, false);
    EXPECT_FALSE(env.ShowMainMin); // no tray: never start hidden
    ProbeNotificationArea(env, store, true);
    EXPECT_TRUE(env.ShowMainMin);
}

} // namespace
} // namespace dorvane
