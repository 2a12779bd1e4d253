// What the player learns of an .mp3 or .wma when it opens one: the title it
// shows ("artist - title") and the length, written into the playlist entry
// unless the entry has a length already.
#pragma once

#include "music/track_tags.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace dorvane {

struct TOpeningTags {
    std::int64_t durationSeconds = 0; // 0 when not found
    bool tagFound = false;
    QString title;
    // The tag's own artist and title (version 2 first), empty when absent:
    // the desktop's media controls show them apart.
    QString tagArtist;
    QString tagTitle;
};

// The artist and title of the version 2 tag (or the ASF attributes), each
// falling back to the version 1 tag; "artist - title" when both exist, else
// whichever exists, else the file name without its extension.
QString OpeningTitle(const TID3v1Info& v1, const TID3v2Info& v2, const QString& path);

// The tags of path when extension (lower case, with its dot) is ".mp3" or
// ".wma" and the file can be read; nothing otherwise.
std::optional<TOpeningTags> ReadOpeningTags(const QString& path, const QString& extension);

} // namespace dorvane
