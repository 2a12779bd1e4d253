// Which files are sound files and which are playlists, by their extension.
#pragma once

#include <QString>

namespace dorvane {

inline constexpr const char* kAudioMasks =
    "*.ac3;*.ape;*.flac;*.m4a;*.mid;*.midi;*.mp3;*.rmi;*.wav;*.wma;";
inline constexpr const char* kPlaylistMasks = "*.m3u;*.m3u8;*.pls;*.wpl;*.asx;";

// The extension of the path's last component with its dot (".mp3"), letter
// case kept; empty when the name has no dot. A name that is only an
// extension (".mp3") is all extension.
QString ExtensionOf(const QString& path);
// The last component without its extension.
QString NameWithoutExtension(const QString& path);

// Masks as the folder search takes them: each "*.ext" ended by ";",
// lower-cased, a leading "*" added where missing.
QString NormalizeMasks(const QString& masks);
// True when "*" + the lower-cased extension + ";" occurs in the normalised
// masks: a name without extension never matches a "*.ext" mask.
bool MatchesMasks(const QString& path, const QString& normalizedMasks);

bool IsAudioFile(const QString& path);
bool IsPlaylistFile(const QString& path);

} // namespace dorvane
