#include "music/opening_tags.h"

#include "music/mp3_info.h"
#include "music/wma_info.h"

#include <QFileInfo>

namespace dorvane {

QString OpeningTitle(const TID3v1Info& v1, const TID3v2Info& v2, const QString& path) {
    const QString artist = !v2.Artist.isEmpty() ? v2.Artist : v1.Artist;
    const QString title = !v2.Titel.isEmpty() ? v2.Titel : v1.Titel;
    if (!artist.isEmpty() && !title.isEmpty()) return artist + QStringLiteral(" - ") + title;
    if (!artist.isEmpty()) return artist;
    if (!title.isEmpty()) return title;
    return QFileInfo(path).completeBaseName();
}

std::optional<TOpeningTags> ReadOpeningTags(const QString& path, const QString& extension) {
    TID3v1Info v1;
    TID3v2Info v2;
    TOpeningTags tags;
    if (extension == QLatin1String(".mp3")) {
        MpegInfo mpeg;
        if (ReadMp3Info(path, v1, v2, &mpeg, kDetailTitles) != TTagFileStatus::Read)
            return std::nullopt;
        tags.durationSeconds = std::int64_t(mpeg.Duration);
    } else if (extension == QLatin1String(".wma")) {
        AsfInfo asf;
        if (ReadWmaInfo(path, v2, kDetailTitles, &asf) != TTagFileStatus::Read) return std::nullopt;
        tags.durationSeconds = std::int64_t(asf.Duration);
    } else {
        return std::nullopt;
    }
    tags.tagFound = v1.Ok || v2.Ok;
    tags.title = OpeningTitle(v1, v2, path);
    tags.tagArtist = !v2.Artist.isEmpty() ? v2.Artist : v1.Artist;
    tags.tagTitle = !v2.Titel.isEmpty() ? v2.Titel : v1.Titel;
    return tags;
}

} // namespace dorvane
