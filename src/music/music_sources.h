// Where the playlist comes from: the ";"-list of folders and playlist files
// (the setting "DirOfMusic") and the history of the lists used lately
// (the settings list "Music", newest first).
#pragma once

#include "core/settings_access.h"

#include <QString>
#include <QStringList>

namespace dorvane {

inline constexpr int kMostRecentSources = 24;
inline constexpr const char* kRecentSourcesList = "Music";

// The items of a source list; an empty list is one empty item.
QStringList SplitSources(const QString& sources);
// The first item (the text before the first ";").
QString FirstSource(const QString& sources);

// Appends item to the ";"-list sources unless an item of it equals item
// without regard to letter case; false (and sources unchanged) then.
bool AddSource(const QString& item, QString& sources);

// Puts sources at the top of recent (an existing entry in any letter case
// moves there), keeping at most kMostRecentSources entries. An empty
// string is ignored.
void AddRecentSource(const QString& sources, QStringList& recent);

QStringList ReadRecentSources(const SettingsAccess& store);
void WriteRecentSources(SettingsAccess& store, const QStringList& recent);

} // namespace dorvane
