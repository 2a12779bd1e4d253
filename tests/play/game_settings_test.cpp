#include "fake_game_view.h"
#include "game/random.h"
#include "core/shell_settings.h"
#include "music/music_settings.h"
#include "play/game_settings.h"
#include "play/recent_files.h"
#include "shell/settings_store.h"
#include "shell/settings_text.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace dorvane {
namespace {

class GameSettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("Kvo/Dorvane.conf");
    SettingsStore store{path};
    TGameSettingsContext context{false};
    TShellContext shellContext{true};
    TMusicContext musicContext{"/usr/share/dorvane/Sound", "/home/me"};

    TGameSettings Read() { return ReadGameSettings(store, context); }
    TShellSettings ReadShell() { return ShellSettingsSchema().Read(store, shellContext); }
    TMusicSettings ReadMusic() { return MusicSettingsSchema().Read(store, musicContext); }
    QStringList StoredNames() {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return {};
        QStringList names;
        const std::optional<TSettingsDocument> document =
            ParseSettingsText(file.readAll(), nullptr);
        for (const TSettingsEntry& e : document->main.Entries())
            names << e.name;
        return names;
    }
};

TEST_F(GameSettingsTest, FirstRunGivesEveryDefault) {
    const TGameSettings s = Read();
    EXPECT_EQ(s.Names, (TPlayerNames{"Зеленые", "Синие"}));
    EXPECT_EQ(s.Game.Intellect, 2);
    EXPECT_EQ(s.Game.Regim, 1);
    EXPECT_TRUE(s.Game.HintOn);
    EXPECT_FALSE(s.Game.GoFast || s.Game.Complication);
    EXPECT_EQ(s.Look.TextureOfField, 3);
    EXPECT_EQ(s.Look.TextureOfFon, 1);
    EXPECT_TRUE(s.Look.SoundMove && !s.Look.SoundBegin && !s.Look.SoundEnd);
    EXPECT_EQ(s.Custom.Colors[0], 0xFFFFFF);
    EXPECT_EQ(s.Custom.Colors[2], 0xFF0000); // blue in the stored layout
    EXPECT_EQ(s.Custom.Colors[3], 0x0000FF); // red
    EXPECT_EQ(s.Custom.Colors[6], 0x008000); // green
    EXPECT_EQ(s.Custom.Player2, "Красные");
    EXPECT_EQ(s.Custom.Figures, (std::array<qint32, 4>{1, 3, 0, 2}));
    EXPECT_TRUE(s.Custom.Paths.isEmpty());
    EXPECT_EQ(s.Look.ColorScheme, 2);
    EXPECT_TRUE(s.Look.ShowGrid && s.Look.ShowCoordinates && s.Look.ControlPanel);
    EXPECT_FALSE(s.Look.StyleButton || s.Look.StayOnTop || s.Look.LoadField);
    // The defaults without a store are the same as a first run's reading.
    const TGameSettings defaults = DefaultGameSettings();
    EXPECT_EQ(defaults.Names, s.Names);
    EXPECT_EQ(defaults.Game.HintOn, s.Game.HintOn);
    EXPECT_EQ(defaults.Custom.Colors, s.Custom.Colors);

    const TMusicSettings music = ReadMusic();
    EXPECT_TRUE(music.SelectionAccidental && music.PlayMusic);
    EXPECT_FALSE(music.MusicAddSub || music.ShowListMusic);
    EXPECT_EQ(music.DirOfMusic, "/usr/share/dorvane/Sound");
    const TShellSettings shell = ReadShell();
    EXPECT_FALSE(shell.MinimizeToTray || shell.StartStandard);
    EXPECT_TRUE(shell.ReStart);        // a first run counts as a restart
    EXPECT_FALSE(QFile::exists(path)); // reading writes nothing
}

// Every stored name is declared once across the groups that the exit writes
// together, so no two tables can disagree about one value.
TEST_F(GameSettingsTest, EachValueIsDeclaredOnce) {
    QStringList names;
    for (const auto& entry : GameSettingsSchema().Entries())
        names << entry.Name.toLower();
    for (const auto& entry : ShellSettingsSchema().Entries())
        names << entry.Name.toLower();
    for (const auto& entry : MusicSettingsSchema().Entries())
        names << entry.Name.toLower();
    for (int slot = 1; slot <= TRecentFiles::kSlots; ++slot)
        names << QStringLiteral("file%1").arg(slot);
    QStringList unique = names;
    unique.removeDuplicates();
    EXPECT_EQ(unique.size(), names.size()) << names.join(' ').toStdString();
    EXPECT_GT(names.size(), 50);
}

TEST_F(GameSettingsTest, StoredValuesAreCorrected) {
    struct Case {
        const char* name;
        const char* stored;
        std::function<qint32(const TGameSettings&)> field;
        qint32 expected;
    };
    const Case cases[] = {
        {"Regime", "0", [](auto& s) { return s.Game.Regim; }, 1},
        {"Regime", "7", [](auto& s) { return s.Game.Regim; }, 2},
        {"Intellect", "7", [](auto& s) { return s.Game.Intellect; }, 7},
        {"TextureOfField", "0", [](auto& s) { return s.Look.TextureOfField; }, 1},
        {"TextureOfField", "9", [](auto& s) { return s.Look.TextureOfField; }, 5},
        {"TextureOfField", "256", [](auto& s) { return s.Look.TextureOfField; }, 1},
        {"TextureOfField", "260", [](auto& s) { return s.Look.TextureOfField; }, 4},
        {"TextureOfFon", "-1", [](auto& s) { return s.Look.TextureOfFon; }, 5},
        {"ColorScheme", "3", [](auto& s) { return s.Look.ColorScheme; }, 3},
        {"ColorScheme", "5", [](auto& s) { return s.Look.ColorScheme; }, 1},
        {"ColorScheme", "0", [](auto& s) { return s.Look.ColorScheme; }, 1},
        {"Help", "0", [](auto& s) { return qint32(s.Game.HintOn); }, 0},
        {"Help", "yes", [](auto& s) { return qint32(s.Game.HintOn); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.stored);
        store.RegEraseAll();
        store.RegWriteString(c.name, c.stored);
        EXPECT_EQ(c.field(Read()), c.expected);
    }
}

TEST_F(GameSettingsTest, TextValuesAndTheirConditions) {
    store.RegWriteString("Player1", "");
    store.RegWriteString("Player2", "Вася");
    store.RegWriteString("Background", "/pictures/sky.jpg");
    store.RegWriteString("Field", "/pictures/wood.jpg");
    store.RegWriteBool("LoadField", true);
    store.RegWriteString("DirOfMusic", "/mu");
    store.RegWriteBool("MinimizeToTray", true);
    store.RegWriteBool("StayOnTop", true);
    TGameSettings s = Read();
    EXPECT_EQ(s.Names.Player1, "Зеленые");
    EXPECT_EQ(s.Names.Player2, "Вася");
    EXPECT_EQ(s.Look.Background, ""); // LoadBackground is off
    EXPECT_EQ(s.Look.Field, "/pictures/wood.jpg");
    EXPECT_EQ(ReadMusic().DirOfMusic, "/mu");
    EXPECT_TRUE(ReadShell().MinimizeToTray);
    EXPECT_FALSE(s.Look.StayOnTop); // only read in the standard window mode

    store.RegWriteString("DirOfMusic", "/x");
    context.startStandard = true;
    shellContext.trayAvailable = false;
    s = Read();
    EXPECT_EQ(ReadMusic().DirOfMusic, "/home/me"); // under 3 characters: the current folder
    EXPECT_FALSE(ReadShell().MinimizeToTray);      // no tray
    EXPECT_TRUE(s.Look.StayOnTop);
}

TEST_F(GameSettingsTest, AddedPicturesSkipShortEntriesAndStayBounded) {
    store.RegWriteInteger("SPathCount", 4);
    store.RegWriteString("SPath0", "/p/a.bmp");
    store.RegWriteString("SPath1", "a.b");
    store.RegWriteString("SPath3", "/p/d.bmp");
    EXPECT_EQ(Read().Custom.Paths, QStringList({"/p/a.bmp", "/p/d.bmp"}));
    store.RegWriteInteger("SPathCount", 2000000000); // damaged: must not read for ever
    store.RegWriteString("SPath300", "/p/far.bmp");
    EXPECT_EQ(Read().Custom.Paths, QStringList({"/p/a.bmp", "/p/d.bmp"}));
    store.RegWriteInteger("SPathCount", -3);
    EXPECT_TRUE(Read().Custom.Paths.isEmpty());
}

TEST_F(GameSettingsTest, ExitWritesInItsOrderAndReadsBack) {
    TGameSettings s = DefaultGameSettings();
    s.Look.LoadBackground = true;
    s.Look.Background = "/pictures/sky.jpg";
    s.Game.Intellect = 3;
    s.Game.Regim = 2;
    s.Look.TextureOfField = 5;
    s.Look.ColorScheme = 3;
    s.Game.HintOn = false;
    s.Look.SoundEnd = true;
    s.Position = {-40, 25};
    TShellSettings shell = ShellSettingsSchema().Defaults();
    shell.MinimizeToTray = true;
    TMusicSettings music = MusicSettingsSchema().Defaults(musicContext);
    music.DirOfMusic = "/home/me/Music";
    TRecentFiles recent;
    recent.Add("/games/one.dvn");
    store.RegWriteString("File2", "/games/stale.dvn");
    WriteGameSettingNow(store, s, "Background"); // written when loaded, not at exit
    {
        const TSettingsBatch batch(store);
        WriteGameSettingsAtExit(store, s);
        ShellSettingsSchema().WriteAtExit(store, shell);
        recent.Write(store);
        MusicSettingsSchema().WriteAtExit(store, music);
    }

    // "File2" was emptied, so its value is gone.
    const QStringList expected = {
        "Background",   "LoadBackground",     "GoFast",         "LoadField",    "SoundBegin",
        "SoundMove",    "SoundEnd",           "Complication",   "ShowGrid",     "ShowCoordinates",
        "ControlPanel", "StayOnTop",          "Left",           "Top",          "Help",
        "Regime",       "StyleButton",        "TextureOfField", "TextureOfFon", "ColorScheme",
        "Intellect",    "MinimizeToTray",     "File1",          "MusicAddSub",  "DirOfMusic",
        "PlayMusic",    "SelectionAccidental"};
    EXPECT_EQ(StoredNames(), expected);

    const TGameSettings back = Read();
    EXPECT_TRUE(back.Look.LoadBackground);
    EXPECT_EQ(back.Look.Background, s.Look.Background);
    EXPECT_EQ(back.Game.Intellect, 3);
    EXPECT_EQ(back.Game.Regim, 2);
    EXPECT_EQ(back.Look.TextureOfField, 5);
    EXPECT_EQ(back.Look.ColorScheme, 3);
    EXPECT_FALSE(back.Game.HintOn);
    EXPECT_TRUE(back.Look.SoundEnd);
    EXPECT_TRUE(ReadShell().MinimizeToTray);
    EXPECT_EQ(ReadMusic().DirOfMusic, music.DirOfMusic);
    TRecentFiles recentBack;
    recentBack.Read(store);
    EXPECT_EQ(recentBack.Slot(1), "/games/one.dvn");
    EXPECT_EQ(store.RegReadInteger("Left", 0), -40);
}

// The controller works on the settings' own options: what it changes is
// what the exit writes, and an unknown stored level stays unless a level is
// picked.
TEST_F(GameSettingsTest, ControllerChangesTheSettingsInPlace) {
    store.RegWriteInteger("Intellect", 9);
    store.RegWriteInteger("Regime", 2);
    store.RegWriteBool("Complication", true);
    TGameSettings s = Read();
    test::TFakeGameView view;
    TScriptedRandom random;
    TGameController game(view, view, random, s.Game, s.Names);
    view.controller = &game;
    game.Initialize();
    EXPECT_EQ(game.Intellect(), TStrength::Average); // an unknown strength plays as the average one
    EXPECT_EQ(view.intellect, 0);                    // and no level is checked
    EXPECT_EQ(game.Regim(), 2);
    EXPECT_TRUE(game.Complication());
    game.SetGoFast(true);
    game.SetHintOn(false);
    EXPECT_TRUE(s.Game.GoFast);
    EXPECT_FALSE(s.Game.HintOn);
    EXPECT_EQ(s.Game.Intellect, 9);
    game.SetIntellect(TStrength::Average); // the level in force, picked
    EXPECT_EQ(s.Game.Intellect, 2);
    EXPECT_TRUE(view.questions.empty());
}

TEST_F(GameSettingsTest, CustomSchemeWritesEveryValue) {
    TCustomScheme scheme = DefaultGameSettings().Custom;
    scheme.Colors[7] = StoredColor(1, 2, 3);
    scheme.Player1 = "Свои";
    scheme.Figures = {4, 0, 1, 2};
    scheme.Paths = {"/p/a.bmp", "/p/b.bmp"};
    WriteCustomScheme(store, scheme);
    const TGameSettings back = Read();
    EXPECT_EQ(back.Custom.Colors, scheme.Colors);
    EXPECT_EQ(back.Custom.Colors[7], 0x030201);
    EXPECT_EQ(back.Custom.Player1, "Свои");
    EXPECT_EQ(back.Custom.Figures, scheme.Figures);
    EXPECT_EQ(back.Custom.Paths, scheme.Paths);
}

TEST_F(GameSettingsTest, AllByDefaultKeepsOnlyTheInstallersValues) {
    store.SetStoreKeyPath("SOFTWARE\\Kvo\\Dorvane");
    store.RegWriteString("", "C:\\Program Files\\Dorvane");
    store.RegWriteString("Start Menu Folder", "Games\\Kvo");
    store.RegWriteInteger("Intellect", 3);
    store.RegWriteList("Music", {"/m/a.mp3"}, 0);
    EraseAllSettingsKeepingInstallerValues(store);
    EXPECT_EQ(Read().Game.Intellect, 2);
    QStringList list;
    EXPECT_FALSE(store.RegReadList("Music", list, 0));
    EXPECT_EQ(store.RegReadString("", ""), "C:\\Program Files\\Dorvane");
    EXPECT_EQ(store.RegReadString("start menu folder", ""), "Games\\Kvo");

    store.RegWriteString("", "");
    store.RegDeleteValue("Start Menu Folder");
    EraseAllSettingsKeepingInstallerValues(store);
    EXPECT_FALSE(QFile::exists(path)); // nothing to keep: a first run again
}

TEST_F(GameSettingsTest, WindowPositionIsPulledIntoTheWorkArea) {
    const QRect area(0, 0, 1280, 1000);
    const QSize window(600, 400);
    struct Case {
        const char* what;
        std::optional<QPoint> stored;
        QRect area;
        bool panelShown;
        QPoint expected;
    };
    const Case cases[] = {
        {"centred", std::nullopt, area, true, {340, 300}},
        {"centred, panel hidden", std::nullopt, area, false, {389, 300}}, // 600 - 99 wide
        {"kept", QPoint(100, 50), area, true, {100, 50}},
        {"far left and above", QPoint(-5000, -20), area, true, {0, 0}},
        {"far right and below", QPoint(5000, 990), area, true, {680, 600}},
        {"work area beside a left panel", QPoint(10, 10), QRect(64, 0, 1216, 1000), true, {64, 10}},
        {"right edge of a moved area", QPoint(1200, 10), QRect(64, 0, 1216, 1000), true, {680, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store.RegEraseAll();
        if (c.stored) {
            store.RegWriteInteger("Left", c.stored->x());
            store.RegWriteInteger("Top", c.stored->y());
        }
        EXPECT_EQ(ReadWindowPosition(store, c.area, window, 98, c.panelShown), c.expected);
    }
}

// The game window's frame is centred and kept in the work area, not only its
// client: with a large scale a title bar left out puts the bottom off screen.
TEST_F(GameSettingsTest, WindowPositionKeepsTheFrameInTheWorkArea) {
    const QRect area(0, 0, 640, 512);
    const QSize window(600, 470);
    const QMargins frame(2, 20, 2, 2);
    const struct {
        const char* what;
        std::optional<qint32> left, top;
        QPoint expected;
    } cases[] = {
        {"centred", std::nullopt, std::nullopt, {18, 10}},
        {"below", 10, 400, {10, 20}},
        {"right", 300, 0, {36, 0}},
        {"above and left", -30, -30, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QPoint at = WindowPosition(c.left, c.top, area, window, 0, true, frame);
        EXPECT_EQ(at, c.expected);
        EXPECT_TRUE(area.contains(QRect(at, window + QSize(4, 22))));
    }
}

} // namespace
} // namespace dorvane
