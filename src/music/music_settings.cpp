#include "music/music_settings.h"
#include "music/music_sources.h"

#include <QDir>

namespace dorvane {

namespace {

bool IsBuiltInFolder(const QString& item, const QString& musicFolder) {
    return !item.isEmpty() && !musicFolder.isEmpty() &&
           QDir::cleanPath(item) == QDir::cleanPath(musicFolder);
}

// The items of a stored list with the marker as the folder of this run.
QString ReadMusicSource(const QString& stored, const QString& musicFolder) {
    QStringList items = SplitSources(stored);
    for (QString& item : items)
        if (item == QLatin1String(kBuiltInMusic)) item = musicFolder;
    return items.join(QLatin1Char(';'));
}

} // namespace

QString StoredMusicSource(const QString& sources, const QString& musicFolder) {
    QStringList items = SplitSources(sources);
    for (QString& item : items)
        if (IsBuiltInFolder(item, musicFolder)) item = QString::fromLatin1(kBuiltInMusic);
    return items.join(QLatin1Char(';'));
}

const TSettingsSchema<TMusicSettings, TMusicContext>& MusicSettingsSchema() {
    static const auto schema = [] {
        TSettingsSchema<TMusicSettings, TMusicContext> s;
        s.Bool("SelectionAccidental", DORVANE_MEMBER(SelectionAccidental), true, 4);
        s.Bool("MusicAddSub", DORVANE_MEMBER(MusicAddSub), false, 1);
        s.String(
            "DirOfMusic", DORVANE_MEMBER(DirOfMusic),
            [](const TMusicContext& c) { return c.musicFolder; }, 2,
            [](const QString& value, const TMusicContext& c) {
                return value.size() < 3 ? c.currentDir : ReadMusicSource(value, c.musicFolder);
            });
        s.Bool("PlayMusic", DORVANE_MEMBER(PlayMusic), true, 3);
        s.Bool("ShowListMusic", DORVANE_MEMBER(ShowListMusic), false, 0).NeverWritten();
        return s;
    }();
    return schema;
}

} // namespace dorvane
