#include "music/music_settings.h"

namespace dorvane {

const TSettingsSchema<TMusicSettings, TMusicContext>& MusicSettingsSchema() {
    static const auto schema = [] {
        TSettingsSchema<TMusicSettings, TMusicContext> s;
        s.Bool("SelectionAccidental", DORVANE_MEMBER(SelectionAccidental), true, 4);
        s.Bool("MusicAddSub", DORVANE_MEMBER(MusicAddSub), false, 1);
        s.String(
            "DirOfMusic", DORVANE_MEMBER(DirOfMusic),
            [](const TMusicContext& c) { return c.musicFolder; }, 2,
            [](const QString& value, const TMusicContext& c) {
                return value.size() < 3 ? c.currentDir : value;
            });
        s.Bool("PlayMusic", DORVANE_MEMBER(PlayMusic), true, 3);
        s.Bool("ShowListMusic", DORVANE_MEMBER(ShowListMusic), false, 0).NeverWritten();
        return s;
    }();
    return schema;
}

} // namespace dorvane
