// Opening a sound file for a tag reader: by its extension, and only when it
// is a regular file (a FIFO under a track's name must not block the player).
#pragma once

#include "music/tag_source.h"
#include "music/track_tags.h"

#include <QString>
#include <QStringView>

#include <functional>

namespace dorvane {

// Runs read on the file at path when path ends in extension (any case) and
// names a regular file.
TTagFileStatus WithTagFile(const QString& path, QStringView extension,
                           const std::function<void(TTagSource&)>& read);

} // namespace dorvane
