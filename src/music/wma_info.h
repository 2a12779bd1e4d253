// The reader of .wma files: the header objects of the Advanced Systems
// Format, for the attributes (into TID3v2Info) and the length.
#pragma once

#include "music/tag_source.h"
#include "music/track_tags.h"

#include <QString>

namespace dorvane {

// Clears the outputs, then reads them from source; asf may be null when only
// the attributes are wanted. detail: how many attributes to decode.
void ReadWmaInfo(TTagSource& source, TID3v2Info& tags, TagDetail detail, AsfInfo* asf);

// The same for the file at path (a name in the form of core/file_name.h):
// only when its extension is ".wma" in any case and it is a regular file.
TTagFileStatus ReadWmaInfo(const QString& path, TID3v2Info& tags, TagDetail detail, AsfInfo* asf);

} // namespace dorvane
