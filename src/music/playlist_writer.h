// Writing the playlist as a list file: M3U and PLS with paths relative to
// the list's folder where the files lie under it, LSF and LST with full
// paths; UTF-8 with a byte-order mark, every line ended by CR LF.
#pragma once

#include "core/messages.h"
#include "music/playlist_entry.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace dorvane {

// The numbers are the save dialog's filter positions.
enum class TPlaylistFormat { M3u = 1, Pls = 2, Lsf = 3, Lst = 4 };

// The save dialog's filters, in the order of TPlaylistFormat.
QStringList SaveFilters();
QString FormatExtension(TPlaylistFormat format); // ".m3u"
std::optional<TPlaylistFormat> FormatOfName(const QString& name);

struct TSaveProposal {
    QString name;
    TPlaylistFormat format = TPlaylistFormat::M3u;
};

// The name the dialog proposes: the source itself when it is a list file;
// a list named after the source folder beside it; else after the folder
// that holds the source; "Безымянный.m3u" when that gives no name. A name of
// another type gets ".m3u" appended.
TSaveProposal ProposeSaveName(const QString& musicSource);

// The name with its extension replaced by the format's (added when none).
QString ForceExtension(const QString& name, TPlaylistFormat format);

// How an entry's path is written into a list saved at listPath.
QString ListedPathForm(const QString& path, const QString& listPath, TPlaylistFormat format);

// The file's bytes. Entries whose path holds a line break cannot be written
// in a line format and are left out; a line break in a title becomes a space.
QByteArray EncodePlaylist(const std::vector<FList>& entries, TPlaylistFormat format,
                          const QString& listPath);

// Atomic: the old file stays as it was unless the new one is complete.
bool WritePlaylistFile(const QString& path, const QByteArray& bytes);

struct TSaveRequest {
    QString proposedName;
    TPlaylistFormat format = TPlaylistFormat::M3u;
};
struct TSaveAnswer {
    QString path;
    TPlaylistFormat format = TPlaylistFormat::M3u; // the filter chosen
};
// Asks the player for the list's name; nullopt when cancelled.
using TSaveChooser = std::function<std::optional<TSaveAnswer>(const TSaveRequest&)>;

inline constexpr const char* kCommandFailed = "Команду невозможно выполнить!";

// The "Сохранить" command: the saved file's name, empty when nothing was
// saved (no entries, cancelled, or a write error, which is reported).
QString SavePlaylist(const std::vector<FList>& entries, const QString& musicSource,
                     const TSaveChooser& chooser, TMessageService& messages);

} // namespace dorvane
