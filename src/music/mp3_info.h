// The reader of .mp3 files: the ID3 tags and the audio stream's header.
#pragma once

#include "music/tag_source.h"
#include "music/track_tags.h"

#include <QString>

namespace dorvane {

// Clears the outputs, then reads them from source; mpeg may be null when only
// the tags are wanted. detail: how many ID3v2 fields to decode.
void ReadMp3Info(TTagSource& source, TID3v1Info& v1, TID3v2Info& v2, MpegInfo* mpeg,
                 TagDetail detail);

// The same for the file at path (a name in the form of core/file_name.h):
// only when its extension is ".mp3" in any case and it is a regular file.
TTagFileStatus ReadMp3Info(const QString& path, TID3v1Info& v1, TID3v2Info& v2, MpegInfo* mpeg,
                           TagDetail detail);

} // namespace dorvane
