#include "play/game_settings.h"

namespace dorvane {

namespace {

// Taken as a byte, then 0 gives 1 and anything above 5 gives 5 (so 256 is 1).
qint32 TextureNumber(qint32 stored) {
    const qint32 byte = stored & 0xFF;
    return byte == 0 ? 1 : std::min(byte, 5);
}

// 2 and 3 stay; every other value is the default scheme.
qint32 SchemeNumber(qint32 stored) {
    return stored == 2 || stored == 3 ? stored : 1;
}

// A side's name may not be empty: an empty one is the default again.
TGameSchema::TStringCorrection NameOr(QString fallback) {
    return [fallback](const QString& value, const TGameSettingsContext&) {
        return value.isEmpty() ? fallback : value;
    };
}

QString Numbered(const char* name, int number) {
    return QLatin1String(name) + QString::number(number);
}

const QString kDefaultName1 = QStringLiteral("Зеленые");
const QString kDefaultName2 = QStringLiteral("Синие");

// The custom scheme's values, declared once for both tables that hold them:
// the window's reading and the editor's writing. get reaches the scheme in
// the record of the table.
template <class R, class C, class Get> void DeclareCustomScheme(TSettingsSchema<R, C>& s, Get get) {
    s.template Integers<8>(
        "SColor", 1, [get](auto& r) -> auto& { return get(r).Colors; },
        {
            StoredColor(255, 255, 255), StoredColor(255, 255, 255), // side names' text
            StoredColor(0, 0, 255), StoredColor(255, 0, 0),         // side names' background
            StoredColor(0, 0, 255), StoredColor(255, 0, 0),         // the two "Старт"
            StoredColor(0, 128, 0), StoredColor(255, 0, 255), // "Нет хода", "Сброс"
        },
        0, kStoredColorRange);
    s.String(
        "SPlayer1", [get](auto& r) -> auto& { return get(r).Player1; }, QStringLiteral("Синие"), 0);
    s.String(
        "SPlayer2", [get](auto& r) -> auto& { return get(r).Player2; }, QStringLiteral("Красные"),
        0);
    // The count first, then "SPath0" ..; entries of 3 characters or fewer are
    // skipped when read.
    s.Custom(
        "SPathCount", 0,
        [get](const SettingsAccess& store, const C&, R& r) {
            const int count =
                store.RegReadIntegerInRange(QStringLiteral("SPathCount"), 0, 0, kMaxAddedPictures);
            QStringList& paths = get(r).Paths;
            paths.clear();
            for (int i = 0; i < count; ++i) {
                const QString path = store.RegReadString(Numbered("SPath", i), QString());
                if (path.size() > 3) paths.append(path);
            }
        },
        [get](SettingsAccess& store, const R& r) {
            const QStringList& paths = get(r).Paths;
            store.RegWriteInteger(QStringLiteral("SPathCount"), qint32(paths.size()));
            for (int i = 0; i < paths.size(); ++i)
                store.RegWriteString(Numbered("SPath", i), paths[i]);
        });
    s.template Integers<4>(
        "SFigure", 1, [get](auto& r) -> auto& { return get(r).Figures; }, {1, 3, 0, 2}, 0,
        TIntRange{0, 0xFFFF});
}

struct TInstallerValues {
    QString Default;         // the section's unnamed value
    QString StartMenuFolder; // "Start Menu Folder"
};

const TSettingsSchema<TInstallerValues>& InstallerSchema() {
    static const auto schema = [] {
        TSettingsSchema<TInstallerValues> s;
        s.String("", DORVANE_MEMBER(Default), QString(), 0);
        s.String("Start Menu Folder", DORVANE_MEMBER(StartMenuFolder), QString(), 0);
        return s;
    }();
    return schema;
}

// A stored coordinate, or none when it is missing or not a number (the
// reads' default then applies).
std::optional<qint32> StoredCoordinate(const SettingsAccess& store, const QString& name) {
    const auto stored = SettingsAccess::ParseStoredInteger(store.RegReadString(name, QString()));
    if (!stored) return std::nullopt;
    return kScreenCoordinate.Clamp(*stored);
}

} // namespace

const TGameSchema& GameSettingsSchema() {
    using C = TGameSettingsContext;
    static const auto schema = [] {
        TGameSchema s;
        s.String("Player1", DORVANE_MEMBER(Names.Player1), kDefaultName1, 0, NameOr(kDefaultName1));
        s.String("Player2", DORVANE_MEMBER(Names.Player2), kDefaultName2, 0, NameOr(kDefaultName2));
        // A level outside 1..3 is kept as it is and plays as the average one.
        s.Integer("Intellect", DORVANE_MEMBER(Game.Intellect), 2, 20, kAnyInteger);
        s.Integer("Regime", DORVANE_MEMBER(Game.Regim), 1, 15, TIntRange{1, 2});
        s.Bool("Help", DORVANE_MEMBER(Game.HintOn), true, 14);
        s.Integer("TextureOfField", DORVANE_MEMBER(Look.TextureOfField), 3, 17, kAnyInteger,
                  TextureNumber);
        s.Integer("TextureOfFon", DORVANE_MEMBER(Look.TextureOfFon), 1, 18, kAnyInteger,
                  TextureNumber);
        s.Bool("LoadBackground", DORVANE_MEMBER(Look.LoadBackground), false, 1);
        s.String("Background", DORVANE_MEMBER(Look.Background), QString(), 0)
            .ReadOnlyWhen([](const TGameSettings& r, const C&) { return r.Look.LoadBackground; });
        s.Bool("GoFast", DORVANE_MEMBER(Game.GoFast), false, 2);
        s.Bool("StyleButton", DORVANE_MEMBER(Look.StyleButton), false, 16);
        s.Bool("LoadField", DORVANE_MEMBER(Look.LoadField), false, 3);
        s.String("Field", DORVANE_MEMBER(Look.Field), QString(), 0)
            .ReadOnlyWhen([](const TGameSettings& r, const C&) { return r.Look.LoadField; });
        s.Bool("SoundBegin", DORVANE_MEMBER(Look.SoundBegin), false, 4);
        s.Bool("SoundMove", DORVANE_MEMBER(Look.SoundMove), true, 5);
        s.Bool("SoundEnd", DORVANE_MEMBER(Look.SoundEnd), false, 6);
        s.String("DirOfPicture", DORVANE_MEMBER(Look.DirOfPicture), QString(), 0);
        DeclareCustomScheme(s, DORVANE_MEMBER(Custom));
        s.Bool("ShowCoordinates", DORVANE_MEMBER(Look.ShowCoordinates), true, 9);
        s.Bool("ControlPanel", DORVANE_MEMBER(Look.ControlPanel), true, 10);
        s.Bool("StayOnTop", DORVANE_MEMBER(Look.StayOnTop), false, 11)
            .ReadOnlyWhen([](const TGameSettings&, const C& c) { return c.startStandard; });
        s.Integer("ColorScheme", DORVANE_MEMBER(Look.ColorScheme), 2, 19, kAnyInteger,
                  SchemeNumber);
        s.Bool("Complication", DORVANE_MEMBER(Game.Complication), false, 7);
        s.Bool("ShowGrid", DORVANE_MEMBER(Look.ShowGrid), true, 8);
        // The stored position is read as it is; where the window goes also
        // needs the work area (WindowPosition).
        const auto coordinate = [&s](const char* name, int exit, auto stored, auto now) {
            s.Custom(
                 name, exit,
                 [name, stored](const SettingsAccess& store, const C&, TGameSettings& r) {
                     stored(r) = StoredCoordinate(store, QLatin1String(name));
                 },
                 [name, now](SettingsAccess& store, const TGameSettings& r) {
                     store.RegWriteInteger(QLatin1String(name), now(r));
                 })
                .Ranged(kScreenCoordinate);
        };
        coordinate("Left", 12, DORVANE_MEMBER(StoredLeft),
                   [](const TGameSettings& r) { return r.Position.x(); });
        coordinate("Top", 13, DORVANE_MEMBER(StoredTop),
                   [](const TGameSettings& r) { return r.Position.y(); });
        return s;
    }();
    return schema;
}

const TSettingsSchema<TCustomScheme>& CustomSchemeSchema() {
    static const auto schema = [] {
        TSettingsSchema<TCustomScheme> s;
        DeclareCustomScheme(
            s, [](auto& r) -> auto& { return r; });
        return s;
    }();
    return schema;
}

TGameSettings DefaultGameSettings() {
    return GameSettingsSchema().Defaults();
}

TGameSettings ReadGameSettings(const SettingsAccess& store, const TGameSettingsContext& context) {
    return GameSettingsSchema().Read(store, context);
}

QPoint WindowPosition(std::optional<qint32> left, std::optional<qint32> top, const QRect& workArea,
                      QSize window, int panelWidth, bool panelShown, const QMargins& frame) {
    const int width = panelShown ? window.width() : window.width() - panelWidth - 1;
    const int height = window.height();
    // The area's own edges, not just its size: a panel on the left or top of
    // the screen moves the work area away from 0.
    const int frameWidth = width + frame.left() + frame.right();
    const int frameHeight = height + frame.top() + frame.bottom();
    const QPoint at(left.value_or(workArea.left() + (workArea.width() - frameWidth) / 2),
                    top.value_or(workArea.top() + (workArea.height() - frameHeight) / 2));
    return PullIntoWorkArea(at, {width, height}, frame, workArea);
}

QPoint ReadWindowPosition(const SettingsAccess& store, const QRect& workArea, QSize window,
                          int panelWidth, bool panelShown) {
    return WindowPosition(StoredCoordinate(store, QStringLiteral("Left")),
                          StoredCoordinate(store, QStringLiteral("Top")), workArea, window,
                          panelWidth, panelShown);
}

void WriteGameSettingsAtExit(SettingsAccess& store, const TGameSettings& settings) {
    GameSettingsSchema().WriteAtExit(store, settings);
}

void WriteGameSettingNow(SettingsAccess& store, const TGameSettings& settings,
                         const QString& name) {
    GameSettingsSchema().WriteNow(store, settings, name);
}

void WriteCustomScheme(SettingsAccess& store, const TCustomScheme& scheme) {
    CustomSchemeSchema().WriteAll(store, scheme);
}

void EraseAllSettingsKeepingInstallerValues(SettingsAccess& store) {
    // One reading and one writing of the store; a store left with nothing to
    // keep leaves no file.
    const TSettingsBatch batch(store);
    const TSettingsSchema<TInstallerValues>& installer = InstallerSchema();
    const TInstallerValues kept = installer.Read(store);
    store.RegEraseAll();
    // An empty value was not there (or said nothing): it stays away.
    if (!kept.Default.isEmpty()) installer.WriteNow(store, kept, QString());
    if (!kept.StartMenuFolder.isEmpty())
        installer.WriteNow(store, kept, QStringLiteral("Start Menu Folder"));
}

} // namespace dorvane
