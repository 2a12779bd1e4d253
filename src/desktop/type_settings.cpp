#include "desktop/type_settings.h"

#include <algorithm>
#include <optional>

namespace dorvane {

namespace {

const QString kRestoreType = QStringLiteral("RestoreType");

} // namespace

std::vector<TTypeEntry> FillTypeList(const TFileTypes& types, const QString& masks,
                                     SettingsAccess* writableStore) {
    std::vector<TTypeEntry> entries;
    // One write of the settings file for all the switches.
    std::optional<TSettingsBatch> batch;
    if (writableStore) batch.emplace(*writableStore);
    for (const QString& extension : ExtensionsOfMasks(masks)) {
        const bool associated = types.IsTypeAssociated(extension);
        entries.push_back({extension, associated});
        if (writableStore) writableStore->RegWriteBool(extension, associated);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const TTypeEntry& a, const TTypeEntry& b) {
        return a.extension < b.extension;
    });
    return entries;
}

void ApplyTypeList(const TFileTypes& types, const std::vector<TTypeEntry>& entries,
                   bool restoreType, SettingsAccess& store) {
    const TSettingsBatch batch(store);
    for (const TTypeEntry& entry : entries) {
        if (store.RegReadBool(entry.extension, false) == entry.checked) continue;
        types.AssociateType(entry.checked, entry.extension);
        store.RegWriteBool(entry.extension, entry.checked);
    }
    store.RegWriteBool(kRestoreType, restoreType);
}

QStringList TypesToRestore(const QString& masks, const SettingsAccess& store) {
    QStringList restore;
    if (!store.RegReadBool(kRestoreType, false)) return restore;
    for (const QString& extension : ExtensionsOfMasks(masks))
        if (store.RegReadBool(extension, false)) restore << extension;
    return restore;
}

void RegisterTypesAtStart(const TFileTypes& types, const QStringList& restore) {
    for (const QString& extension : restore)
        types.AssociateType(true, extension);
    types.RegisterGameType();
}

} // namespace dorvane
