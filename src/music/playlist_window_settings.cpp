#include "music/playlist_window_settings.h"

#include <algorithm>

namespace dorvane {

namespace {

using TContext = TPlaylistWindowContext;

qint32 Spacing(qint32 v) {
    return std::clamp(v, 0, 2);
}
qint32 ColumnChoice(qint32 v) {
    return std::clamp(v, -1, 8);
}
qint32 IndicatorWidth(qint32 v) {
    return std::max(v, 19);
}
qint32 Opacity(qint32 v) {
    return std::clamp(v, 64, 255);
}
qint32 PresetNumber(qint32 v) {
    return std::clamp(v, 0, 12);
}

// A bounds value whose default is the default rectangle's.
template <class Get, class Part>
void Bound(TSettingsSchema<TPlaylistWindowSettings, TContext>& s, const char* name, Get get,
           Part part) {
    const QString n = QString::fromLatin1(name);
    s.Custom(
        name, 0,
        [n, get, part](const SettingsAccess& store, const TContext& c, TPlaylistWindowSettings& r) {
            get(r) = store.RegReadInteger(n, part(DefaultPlaylistBounds(c.gameWindow, c.workArea)));
        },
        [n, get](SettingsAccess& store, const TPlaylistWindowSettings& r) {
            if (r.BoundsWritable) store.RegWriteInteger(n, get(r));
        },
        [get, part](const TContext& c, TPlaylistWindowSettings& r) {
            get(r) = part(DefaultPlaylistBounds(c.gameWindow, c.workArea));
        });
}

} // namespace

const TSettingsSchema<TPlaylistWindowSettings, TContext>& PlaylistWindowSettingsSchema() {
    static const auto schema = [] {
        TSettingsSchema<TPlaylistWindowSettings, TContext> s;
        s.Bool("ListShowHint", DORVANE_MEMBER(ListShowHint), true, 0);
        s.Integer("ListColor", DORVANE_MEMBER(ListColor), 0x183C7B, 0);
        s.Integer("ListFontColor", DORVANE_MEMBER(ListFontColor), 0xFFFFFF, 0);
        s.Integer("ListFontHeight", DORVANE_MEMBER(ListFontHeight), -10, 0);
        s.String("ListFontName", DORVANE_MEMBER(ListFontName), QStringLiteral("Arial"), 0);
        s.Bool("ListFontBold", DORVANE_MEMBER(ListFontBold), false, 0);
        s.Integer("ListInterval", DORVANE_MEMBER(ListInterval), 0, 0, Spacing);
        s.Integer("ListNumberColor", DORVANE_MEMBER(ListNumberColor), 0x9CC0FF, 0);
        s.Integer("ListTB1Top", DORVANE_MEMBER(ListTB1Top), 2, 0);
        s.Integer("ListTB1Left", DORVANE_MEMBER(ListTB1Left), 11, 0);
        s.Integer("ListTB2Top", DORVANE_MEMBER(ListTB2Top), 28, 0);
        s.Integer("ListTB2Left", DORVANE_MEMBER(ListTB2Left), 11, 0);
        Bound(s, "ListTop", DORVANE_MEMBER(ListTop), [](const QRect& b) { return b.top(); });
        Bound(s, "ListLeft", DORVANE_MEMBER(ListLeft), [](const QRect& b) { return b.left(); });
        Bound(s, "ListWidth", DORVANE_MEMBER(ListWidth), [](const QRect& b) { return b.width(); });
        Bound(s, "ListHeight", DORVANE_MEMBER(ListHeight),
              [](const QRect& b) { return b.height(); });
        s.Integer("ListColumns", DORVANE_MEMBER(ListColumns), 0, 0, ColumnChoice);
        s.Bool("ListMaximized", DORVANE_MEMBER(ListMaximized), false, 0);
        s.Integer("IndicatorBC", DORVANE_MEMBER(IndicatorBC), 0x0080C0, 0);
        s.Integer("IndicatorEC", DORVANE_MEMBER(IndicatorEC), 0x00FFFF, 0);
        s.Integer("IndicatorCS", DORVANE_MEMBER(IndicatorCS), 0, 0, PresetNumber);
        s.Integer("IndicatorModification", DORVANE_MEMBER(IndicatorModification), 1, 0, Spacing);
        s.Integer("IndicatorW", DORVANE_MEMBER(IndicatorW), 19, 0, IndicatorWidth);
        s.Integer("ListLayered", DORVANE_MEMBER(ListLayered), 255, 0, Opacity);
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

QRect FitBoundsToWorkArea(const QRect& bounds, const QRect& workArea) {
    const int width = std::min(std::max(bounds.width(), 100), workArea.width());
    const int height = std::min(std::max(bounds.height(), 50), workArea.height());
    int left = std::max(bounds.left(), workArea.left());
    int top = std::max(bounds.top(), workArea.top());
    if (left + width > workArea.left() + workArea.width())
        left = workArea.left() + workArea.width() - width;
    if (top + height > workArea.top() + workArea.height())
        top = workArea.top() + workArea.height() - height;
    return {left, top, width, height};
}

QRect DefaultPlaylistBounds(const QRect& gameWindow, const QRect& workArea) {
    const int right = gameWindow.left() + gameWindow.width();
    const int room = workArea.left() + workArea.width() - right;
    const int width = std::max(std::min(gameWindow.width(), room), 123);
    return FitBoundsToWorkArea({right, gameWindow.top(), width, gameWindow.height()}, workArea);
}

} // namespace dorvane
