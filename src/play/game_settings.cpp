#include "play/game_settings.h"

namespace dorvane {

namespace {

const QString kInstallerValues[] = {QString(), QStringLiteral("Start Menu Folder")};

// Taken as a byte, then 0 gives 1 and anything above 5 gives 5 (so 256 is 1).
qint32 TextureNumber(qint32 stored) {
    const qint32 byte = stored & 0xFF;
    return byte == 0 ? 1 : std::min(byte, 5);
}

QString NonEmpty(const QString& value, const QString& fallback) {
    return value.isEmpty() ? fallback : value;
}

QString Numbered(const char* name, int number) {
    return QLatin1String(name) + QString::number(number);
}

// Pulls one coordinate of the window back into [start, start + extent - size].
int PullInto(int value, int start, int extent, int size) {
    if (value < start) return start;
    if (value + size > start + extent) return start + extent - size;
    return value;
}

} // namespace

TGameSettings ReadGameSettings(const SettingsAccess& store, const TGameSettingsContext& context) {
    TGameSettings s;
    const TGameSettings defaults;
    s.Player1 = NonEmpty(store.RegReadString("Player1", defaults.Player1), defaults.Player1);
    s.Player2 = NonEmpty(store.RegReadString("Player2", defaults.Player2), defaults.Player2);
    s.Intellect = store.RegReadInteger("Intellect", defaults.Intellect);
    s.Regime = store.RegReadIntegerInRange("Regime", defaults.Regime, 1, 2);
    s.Help = store.RegReadBool("Help", defaults.Help);
    s.TextureOfField =
        TextureNumber(store.RegReadInteger("TextureOfField", defaults.TextureOfField));
    s.TextureOfFon = TextureNumber(store.RegReadInteger("TextureOfFon", defaults.TextureOfFon));
    s.LoadBackground = store.RegReadBool("LoadBackground", defaults.LoadBackground);
    if (s.LoadBackground) s.Background = store.RegReadString("Background", QString());
    s.GoFast = store.RegReadBool("GoFast", defaults.GoFast);
    s.StyleButton = store.RegReadBool("StyleButton", defaults.StyleButton);
    s.LoadField = store.RegReadBool("LoadField", defaults.LoadField);
    if (s.LoadField) s.Field = store.RegReadString("Field", QString());
    s.SoundBegin = store.RegReadBool("SoundBegin", defaults.SoundBegin);
    s.SoundMove = store.RegReadBool("SoundMove", defaults.SoundMove);
    s.SoundEnd = store.RegReadBool("SoundEnd", defaults.SoundEnd);
    s.SelectionAccidental = store.RegReadBool("SelectionAccidental", defaults.SelectionAccidental);
    s.MusicAddSub = store.RegReadBool("MusicAddSub", defaults.MusicAddSub);
    s.DirOfMusic = store.RegReadString("DirOfMusic", context.defaultMusicDir);
    if (s.DirOfMusic.size() < 3) s.DirOfMusic = context.currentDir;
    s.DirOfPicture = store.RegReadString("DirOfPicture", QString());
    s.PlayMusic = store.RegReadBool("PlayMusic", defaults.PlayMusic);
    s.ShowListMusic = store.RegReadBool("ShowListMusic", defaults.ShowListMusic);
    s.MinimizeToTray = context.trayAvailable && store.RegReadBool("MinimizeToTray", false);
    for (int i = 0; i < 8; ++i)
        s.SColor[i] = store.RegReadInteger(Numbered("SColor", i + 1), defaults.SColor[i]);
    s.SPlayer1 = store.RegReadString("SPlayer1", defaults.SPlayer1);
    s.SPlayer2 = store.RegReadString("SPlayer2", defaults.SPlayer2);
    s.ShowCoordinates = store.RegReadBool("ShowCoordinates", defaults.ShowCoordinates);
    s.ControlPanel = store.RegReadBool("ControlPanel", defaults.ControlPanel);
    s.StayOnTop = context.startStandard && store.RegReadBool("StayOnTop", false);
    const int pictures = store.RegReadIntegerInRange("SPathCount", 0, 0, kMaxAddedPictures);
    for (int i = 0; i < pictures; ++i) {
        const QString path = store.RegReadString(Numbered("SPath", i), QString());
        if (path.size() > 3) s.SPaths.append(path);
    }
    for (int i = 0; i < 4; ++i)
        s.SFigure[i] = store.RegReadInteger(Numbered("SFigure", i + 1), defaults.SFigure[i]);
    const qint32 scheme = store.RegReadInteger("ColorScheme", defaults.ColorScheme);
    s.ColorScheme = scheme == 2 || scheme == 3 ? scheme : 1;
    s.Complication = store.RegReadBool("Complication", defaults.Complication);
    s.ShowGrid = store.RegReadBool("ShowGrid", defaults.ShowGrid);
    s.RecentFiles.Read(store);
    return s;
}

QPoint ReadWindowPosition(const SettingsAccess& store, const QRect& workArea, QSize window,
                          int panelWidth, bool panelShown) {
    const int width = panelShown ? window.width() : window.width() - panelWidth - 1;
    const int height = window.height();
    // The area's own edges, not just its size: a panel on the left or top of
    // the screen moves the work area away from 0.
    const int left = store.RegReadInteger("Left", workArea.left() + (workArea.width() - width) / 2);
    const int top = store.RegReadInteger("Top", workArea.top() + (workArea.height() - height) / 2);
    return {PullInto(left, workArea.left(), workArea.width(), width),
            PullInto(top, workArea.top(), workArea.height(), height)};
}

TGameOptions GameOptionsFrom(const TGameSettings& s) {
    TGameOptions options;
    options.Regim = static_cast<std::uint8_t>(s.Regime);
    options.Intellect =
        s.Intellect >= 1 && s.Intellect <= 3 ? static_cast<std::uint8_t>(s.Intellect) : 0;
    options.HintOn = s.Help;
    options.GoFast = s.GoFast;
    options.Complication = s.Complication;
    const bool custom = s.ColorScheme == 3;
    options.SideName1 = custom ? s.SPlayer1 : s.Player1;
    options.SideName2 = custom ? s.SPlayer2 : s.Player2;
    return options;
}

void TakeGameOptions(TGameSettings& s, const TGameController& game) {
    s.Regime = game.Regim();
    s.Intellect = game.Intellect();
    s.Help = game.HintOn();
    s.GoFast = game.GoFast();
    s.Complication = game.Complication();
}

void WriteGameSettingsAtExit(SettingsAccess& store, const TGameSettings& s) {
    const TSettingsBatch batch(store);
    store.RegWriteBool("LoadBackground", s.LoadBackground);
    store.RegWriteBool("GoFast", s.GoFast);
    store.RegWriteBool("LoadField", s.LoadField);
    store.RegWriteBool("SoundBegin", s.SoundBegin);
    store.RegWriteBool("SoundMove", s.SoundMove);
    store.RegWriteBool("SoundEnd", s.SoundEnd);
    store.RegWriteBool("Complication", s.Complication);
    store.RegWriteBool("ShowGrid", s.ShowGrid);
    store.RegWriteBool("ShowCoordinates", s.ShowCoordinates);
    store.RegWriteBool("ControlPanel", s.ControlPanel);
    store.RegWriteBool("StayOnTop", s.StayOnTop);
    store.RegWriteInteger("Left", s.Position.x());
    store.RegWriteInteger("Top", s.Position.y());
    store.RegWriteBool("Help", s.Help);
    store.RegWriteInteger("Regime", s.Regime);
    store.RegWriteBool("StyleButton", s.StyleButton);
    store.RegWriteInteger("TextureOfField", s.TextureOfField);
    store.RegWriteInteger("TextureOfFon", s.TextureOfFon);
    store.RegWriteInteger("ColorScheme", s.ColorScheme);
    store.RegWriteInteger("Intellect", s.Intellect);
    store.RegWriteBool("MinimizeToTray", s.MinimizeToTray);
    s.RecentFiles.Write(store);
    store.RegWriteBool("MusicAddSub", s.MusicAddSub);
    store.RegWriteString("DirOfMusic", s.DirOfMusic);
    store.RegWriteBool("PlayMusic", s.PlayMusic);
    store.RegWriteBool("SelectionAccidental", s.SelectionAccidental);
}

void WriteCustomScheme(SettingsAccess& store, const TGameSettings& s) {
    const TSettingsBatch batch(store);
    for (int i = 0; i < 8; ++i)
        store.RegWriteInteger(Numbered("SColor", i + 1), s.SColor[i]);
    store.RegWriteString("SPlayer1", s.SPlayer1);
    store.RegWriteString("SPlayer2", s.SPlayer2);
    for (int i = 0; i < 4; ++i)
        store.RegWriteInteger(Numbered("SFigure", i + 1), s.SFigure[i]);
    store.RegWriteInteger("SPathCount", static_cast<qint32>(s.SPaths.size()));
    for (int i = 0; i < s.SPaths.size(); ++i)
        store.RegWriteString(Numbered("SPath", i), s.SPaths[i]);
}

void EraseAllSettingsKeepingInstallerValues(SettingsAccess& store) {
    QString kept[std::size(kInstallerValues)];
    for (std::size_t i = 0; i < std::size(kInstallerValues); ++i)
        kept[i] = store.RegReadString(kInstallerValues[i], QString());
    store.RegEraseAll();
    for (std::size_t i = 0; i < std::size(kInstallerValues); ++i)
        if (!kept[i].isEmpty()) store.RegWriteString(kInstallerValues[i], kept[i]);
}

} // namespace dorvane
