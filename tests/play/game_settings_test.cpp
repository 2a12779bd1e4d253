#include "fake_game_view.h"
#include "game/random.h"
#include "play/game_settings.h"
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
    TGameSettingsContext context{"/usr/share/dorvane/Sound", "/home/me", true, false};

    TGameSettings Read() { return ReadGameSettings(store, context); }
    QStringList StoredNames() {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return {};
        QStringList names;
        const std::optional<TSettingsDocument> document =
            ParseSettingsText(file.readAll(), nullptr);
        for (const TSettingsEntry& e : document->main.entries)
            names << e.name;
        return names;
    }
};

TEST_F(GameSettingsTest, FirstRunGivesEveryDefault) {
    const TGameSettings s = Read();
    EXPECT_EQ(s.Player1, "Зеленые");
    EXPECT_EQ(s.Player2, "Синие");
    EXPECT_EQ(s.Intellect, 2);
    EXPECT_EQ(s.Regime, 1);
    EXPECT_TRUE(s.Help);
    EXPECT_EQ(s.TextureOfField, 3);
    EXPECT_EQ(s.TextureOfFon, 1);
    EXPECT_TRUE(s.SoundMove && !s.SoundBegin && !s.SoundEnd);
    EXPECT_TRUE(s.SelectionAccidental && s.PlayMusic && !s.MusicAddSub && !s.ShowListMusic);
    EXPECT_EQ(s.DirOfMusic, "/usr/share/dorvane/Sound");
    EXPECT_EQ(s.SColor[0], 0xFFFFFF);
    EXPECT_EQ(s.SColor[2], 0xFF0000); // blue in the stored layout
    EXPECT_EQ(s.SColor[3], 0x0000FF); // red
    EXPECT_EQ(s.SColor[6], 0x008000); // green
    EXPECT_EQ(s.SPlayer2, "Красные");
    EXPECT_EQ(s.SFigure, (std::array<qint32, 4>{1, 3, 0, 2}));
    EXPECT_TRUE(s.SPaths.isEmpty());
    EXPECT_EQ(s.ColorScheme, 2);
    EXPECT_TRUE(s.ShowGrid && s.ShowCoordinates && s.ControlPanel);
    EXPECT_TRUE(s.RecentFiles.MenuItems().isEmpty());
    EXPECT_FALSE(QFile::exists(path)); // reading writes nothing
}

TEST_F(GameSettingsTest, StoredValuesAreCorrected) {
    struct Case {
        const char* name;
        const char* stored;
        std::function<qint32(const TGameSettings&)> field;
        qint32 expected;
    };
    const Case cases[] = {
        {"Regime", "0", [](auto& s) { return s.Regime; }, 1},
        {"Regime", "7", [](auto& s) { return s.Regime; }, 2},
        {"Intellect", "7", [](auto& s) { return s.Intellect; }, 7},
        {"TextureOfField", "0", [](auto& s) { return s.TextureOfField; }, 1},
        {"TextureOfField", "9", [](auto& s) { return s.TextureOfField; }, 5},
        {"TextureOfField", "256", [](auto& s) { return s.TextureOfField; }, 1},
        {"TextureOfField", "260", [](auto& s) { return s.TextureOfField; }, 4},
        {"TextureOfFon", "-1", [](auto& s) { return s.TextureOfFon; }, 5},
        {"ColorScheme", "3", [](auto& s) { return s.ColorScheme; }, 3},
        {"ColorScheme", "5", [](auto& s) { return s.ColorScheme; }, 1},
        {"ColorScheme", "0", [](auto& s) { return s.ColorScheme; }, 1},
        {"Help", "0", [](auto& s) { return qint32(s.Help); }, 0},
        {"Help", "yes", [](auto& s) { return qint32(s.Help); }, 1},
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
    EXPECT_EQ(s.Player1, "Зеленые");
    EXPECT_EQ(s.Player2, "Вася");
    EXPECT_EQ(s.Background, ""); // LoadBackground is off
    EXPECT_EQ(s.Field, "/pictures/wood.jpg");
    EXPECT_EQ(s.DirOfMusic, "/mu");
    EXPECT_TRUE(s.MinimizeToTray);
    EXPECT_FALSE(s.StayOnTop); // only read in the standard window mode

    store.RegWriteString("DirOfMusic", "/x");
    context = {"/usr/share/dorvane/Sound", "/home/me", false, true};
    s = Read();
    EXPECT_EQ(s.DirOfMusic, "/home/me"); // under 3 characters: the current folder
    EXPECT_FALSE(s.MinimizeToTray);      // no tray
    EXPECT_TRUE(s.StayOnTop);
}

TEST_F(GameSettingsTest, AddedPicturesSkipShortEntriesAndStayBounded) {
    store.RegWriteInteger("SPathCount", 4);
    store.RegWriteString("SPath0", "/p/a.bmp");
    store.RegWriteString("SPath1", "a.b");
    store.RegWriteString("SPath3", "/p/d.bmp");
    EXPECT_EQ(Read().SPaths, QStringList({"/p/a.bmp", "/p/d.bmp"}));
    store.RegWriteInteger("SPathCount", 2000000000); // damaged: must not read for ever
    store.RegWriteString("SPath300", "/p/far.bmp");
    EXPECT_EQ(Read().SPaths, QStringList({"/p/a.bmp", "/p/d.bmp"}));
    store.RegWriteInteger("SPathCount", -3);
    EXPECT_TRUE(Read().SPaths.isEmpty());
}

TEST_F(GameSettingsTest, ExitWritesInItsOrderAndReadsBack) {
    TGameSettings s;
    s.LoadBackground = true;
    s.Background = "/pictures/sky.jpg";
    s.Intellect = 3;
    s.Regime = 2;
    s.TextureOfField = 5;
    s.ColorScheme = 3;
    s.Help = false;
    s.SoundEnd = true;
    s.MinimizeToTray = true;
    s.DirOfMusic = "/home/me/Music";
    s.Position = {-40, 25};
    s.RecentFiles.Add("/games/one.dvn");
    store.RegWriteString("File2", "/games/stale.dvn");
    store.RegWriteString("Background", s.Background); // written when loaded, not at exit
    WriteGameSettingsAtExit(store, s);

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
    EXPECT_TRUE(back.LoadBackground);
    EXPECT_EQ(back.Background, s.Background);
    EXPECT_EQ(back.Intellect, 3);
    EXPECT_EQ(back.Regime, 2);
    EXPECT_EQ(back.TextureOfField, 5);
    EXPECT_EQ(back.ColorScheme, 3);
    EXPECT_FALSE(back.Help);
    EXPECT_TRUE(back.SoundEnd);
    EXPECT_TRUE(back.MinimizeToTray);
    EXPECT_EQ(back.DirOfMusic, s.DirOfMusic);
    EXPECT_EQ(back.RecentFiles.Slot(1), "/games/one.dvn");
    EXPECT_EQ(store.RegReadInteger("Left", 0), -40);
}

TEST_F(GameSettingsTest, ControllerStartsFromTheSettingsAndHandsThemBack) {
    TGameSettings s;
    s.Regime = 2;
    s.Intellect = 3;
    s.Help = false;
    s.Complication = true;
    s.Player1 = "Аня";
    s.SPlayer1 = "Свои";
    TGameOptions options = GameOptionsFrom(s);
    EXPECT_EQ(options.Regim, 2);
    EXPECT_EQ(options.Intellect, 3);
    EXPECT_FALSE(options.HintOn);
    EXPECT_TRUE(options.Complication);
    EXPECT_EQ(options.SideName1, "Аня");
    EXPECT_EQ(options.SideName2, "Синие");
    s.ColorScheme = 3;
    s.Intellect = 9;
    options = GameOptionsFrom(s);
    EXPECT_EQ(options.SideName1, "Свои");
    EXPECT_EQ(options.SideName2, "Красные");

    test::TFakeGameView view;
    TScriptedRandom random;
    TGameController game(view, random, options);
    EXPECT_EQ(game.Intellect(), 2); // an unknown strength plays as the average one
    game.SetGoFast(true);
    TGameSettings back;
    TakeGameOptions(back, game);
    EXPECT_EQ(back.Regime, 2);
    EXPECT_EQ(back.Intellect, 2);
    EXPECT_TRUE(back.GoFast);
    EXPECT_TRUE(back.Complication);
    EXPECT_FALSE(back.Help);
}

TEST_F(GameSettingsTest, CustomSchemeWritesEveryValue) {
    TGameSettings s;
    s.SColor[7] = StoredColor(1, 2, 3);
    s.SPlayer1 = "Свои";
    s.SFigure = {4, 0, 1, 2};
    s.SPaths = {"/p/a.bmp", "/p/b.bmp"};
    WriteCustomScheme(store, s);
    const TGameSettings back = Read();
    EXPECT_EQ(back.SColor, s.SColor);
    EXPECT_EQ(back.SColor[7], 0x030201);
    EXPECT_EQ(back.SPlayer1, "Свои");
    EXPECT_EQ(back.SFigure, s.SFigure);
    EXPECT_EQ(back.SPaths, s.SPaths);
}

TEST_F(GameSettingsTest, AllByDefaultKeepsOnlyTheInstallersValues) {
    store.SetStoreKeyPath("SOFTWARE\\Kvo\\Dorvane");
    store.RegWriteString("", "C:\\Program Files\\Dorvane");
    store.RegWriteString("Start Menu Folder", "Games\\Kvo");
    store.RegWriteInteger("Intellect", 3);
    store.RegWriteList("Music", {"/m/a.mp3"}, 0);
    EraseAllSettingsKeepingInstallerValues(store);
    EXPECT_EQ(Read().Intellect, 2);
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

} // namespace
} // namespace dorvane
