// The file types the player chooses in "Интеграция в оболочку": one stored
// switch per extension (its name is the extension in lower case) and
// "RestoreType", which registers the chosen types again at every start.
#pragma once

#include "desktop/file_types.h"

#include "core/settings_access.h"

#include <QString>

#include <vector>

namespace dorvane {

struct TTypeEntry {
    QString extension;
    bool checked = false;
};

// The window's list, sorted by extension: each type's mark is whether it is
// the program's now, and when the store is writable the stored switches
// are brought in line with the marks.
std::vector<TTypeEntry> FillTypeList(const TFileTypes& types, const QString& masks,
                                     SettingsAccess* writableStore);
// "Применить": every entry whose mark differs from its stored switch is
// registered or unregistered and stored; then "RestoreType".
void ApplyTypeList(const TFileTypes& types, const std::vector<TTypeEntry>& entries,
                   bool restoreType, SettingsAccess& store);
// What the window's creation registers again: with "RestoreType" the types
// whose switch is on, else none. Read with the window's other settings.
QStringList TypesToRestore(const QString& masks, const SettingsAccess& store);
// At the window's creation: those types, and the saved games at every start.
void RegisterTypesAtStart(const TFileTypes& types, const QStringList& restore);

} // namespace dorvane
