#include "music/playlist_window_settings.h"

#include <algorithm>

namespace dorvane {

namespace {

using TContext = TPlaylistWindowContext;

constexpr TIntRange kSpacing{0, 2};
constexpr TIntRange kFontHeight{-1000, 1000}; // negative: pixels, else points

// A bounds value whose default is the default rectangle's.
template <class Get, class Part>
void Bound(TSettingsSchema<TPlaylistWindowSettings, TContext>& s, const char* name, Get get,
           Part part, TIntRange range) {
    const QString n = QString::fromLatin1(name);
    s.Custom(
         name, 0,
         [n, get, part, range](const SettingsAccess& store, const TContext& c,
                               TPlaylistWindowSettings& r) {
             get(r) = store.RegReadIntegerInRange(
                 n, part(DefaultPlaylistBounds(c.gameWindow, c.workArea, c.frame)), range.minimum,
                 range.maximum);
         },
         [n, get](SettingsAccess& store, const TPlaylistWindowSettings& r) {
             if (r.BoundsWritable) store.RegWriteInteger(n, get(r));
         },
         [get, part](const TContext& c, TPlaylistWindowSettings& r) {
             get(r) = part(DefaultPlaylistBounds(c.gameWindow, c.workArea, c.frame));
         })
        .Ranged(range);
}

} // namespace

const TSettingsSchema<TPlaylistWindowSettings, TContext>& PlaylistWindowSettingsSchema() {
    static const auto schema = [] {
        TSettingsSchema<TPlaylistWindowSettings, TContext> s;
        s.Bool("ListShowHint", DORVANE_MEMBER(ListShowHint), true, 0);
        s.Integer("ListColor", DORVANE_MEMBER(ListColor), 0x183C7B, 0, kStoredColorRange);
        s.Integer("ListFontColor", DORVANE_MEMBER(ListFontColor), 0xFFFFFF, 0, kStoredColorRange);
        s.Integer("ListFontHeight", DORVANE_MEMBER(ListFontHeight), -10, 0, kFontHeight);
        s.String("ListFontName", DORVANE_MEMBER(ListFontName), QStringLiteral("Arial"), 0);
        s.Bool("ListFontBold", DORVANE_MEMBER(ListFontBold), false, 0);
        s.Integer("ListInterval", DORVANE_MEMBER(ListInterval), 0, 0, kSpacing);
        s.Integer("ListNumberColor", DORVANE_MEMBER(ListNumberColor), 0x9CC0FF, 0,
                  kStoredColorRange);
        s.Integer("ListTB1Top", DORVANE_MEMBER(ListTB1Top), 2, 0, kScreenCoordinate);
        s.Integer("ListTB1Left", DORVANE_MEMBER(ListTB1Left), 11, 0, kScreenCoordinate);
        s.Integer("ListTB2Top", DORVANE_MEMBER(ListTB2Top), 28, 0, kScreenCoordinate);
        s.Integer("ListTB2Left", DORVANE_MEMBER(ListTB2Left), 11, 0, kScreenCoordinate);
        Bound(
            s, "ListTop", DORVANE_MEMBER(ListTop), [](const QRect& b) { return b.top(); },
            kScreenCoordinate);
        Bound(
            s, "ListLeft", DORVANE_MEMBER(ListLeft), [](const QRect& b) { return b.left(); },
            kScreenCoordinate);
        Bound(
            s, "ListWidth", DORVANE_MEMBER(ListWidth), [](const QRect& b) { return b.width(); },
            kScreenExtent);
        Bound(
            s, "ListHeight", DORVANE_MEMBER(ListHeight), [](const QRect& b) { return b.height(); },
            kScreenExtent);
        s.Integer("ListColumns", DORVANE_MEMBER(ListColumns), 0, 0, TIntRange{-1, 8});
        s.Bool("ListMaximized", DORVANE_MEMBER(ListMaximized), false, 0);
        s.Integer("IndicatorBC", DORVANE_MEMBER(IndicatorBC), 0x0080C0, 0, kStoredColorRange);
        s.Integer("IndicatorEC", DORVANE_MEMBER(IndicatorEC), 0x00FFFF, 0, kStoredColorRange);
        s.Integer("IndicatorCS", DORVANE_MEMBER(IndicatorCS), 0, 0, TIntRange{0, 12});
        s.Integer("IndicatorModification", DORVANE_MEMBER(IndicatorModification), 1, 0, kSpacing);
        s.Integer("IndicatorW", DORVANE_MEMBER(IndicatorW), 19, 0,
                  TIntRange{19, kScreenExtent.maximum});
        s.Integer("ListLayered", DORVANE_MEMBER(ListLayered), 255, 0, TIntRange{64, 255});
        s.Bool("ListOneClick", DORVANE_MEMBER(ListOneClick), false, 0);
        s.Custom("ShowMusicMin", 0, {},
                 [](SettingsAccess& store, const TPlaylistWindowSettings& r) {
                     store.RegWriteBool(QStringLiteral("ShowMusicMin"), r.ShowMusicMin);
                 });
        s.Custom("SpeedSound", 0, {}, [](SettingsAccess& store, const TPlaylistWindowSettings& r) {
            store.RegWriteInteger(QStringLiteral("SpeedSound"), r.SpeedSound);
        });
        return s;
    }();
    return schema;
}

QRect DefaultPlaylistBounds(const QRect& gameWindow, const QRect& workArea, const QMargins& frame) {
    const int right = gameWindow.left() + gameWindow.width();
    const int room = workArea.left() + workArea.width() - right - frame.left() - frame.right();
    const int width = std::max(std::min(gameWindow.width(), room), 123);
    return FitBoundsToWorkArea({right, gameWindow.top(), width, gameWindow.height()}, workArea,
                               frame);
}

} // namespace dorvane
