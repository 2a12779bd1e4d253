// Opening a sound file for a tag reader: by its extension, and only when it
// is a regular file (a FIFO under a track's name must not block the player).
#pragma once

#include "music/tag_source.h"
#include "music/track_tags.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace dorvane {

// Opens the file at path for a reader: nothing when path does not end in
// extension (any case), else the file or why it cannot be read.
struct TTagFile {
    TTagFileStatus status = TTagFileStatus::OtherType;
    std::optional<TFileTagSource> source; // when status is Read
};
TTagFile OpenTagFile(const QString& path, QStringView extension);

} // namespace dorvane
