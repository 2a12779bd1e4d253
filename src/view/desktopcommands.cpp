#include "view/desktopcommands.h"

#include "view/filetypeform.h"

#include "desktop/recent_documents.h"
#include "desktop/type_settings.h"
#include "music/music_masks.h"

#include <QDateTime>
#include <QFileInfo>

namespace dorvane {

QString OfferedTypeMasks() {
    return QString::fromLatin1(kPlaylistMasks) + QString::fromLatin1(kAudioMasks);
}

TDesktopCommands::TDesktopCommands(TDesktopParts parts, TXdgPlaces places)
    : parts_(std::move(parts)), places_(std::move(places)), types_(places_, parts_.programPath) {}

void TDesktopCommands::RegisterAtStart(const QStringList& restore) {
    RegisterTypesAtStart(types_, restore);
}

void TDesktopCommands::ToggleLauncher(TLauncherPlace place) {
    // Silent either way, as a launcher that cannot be made is no message's
    // business: the menu shows what the desktop shows.
    ToggleShortcut(place, parts_.programPath, places_);
}

void TDesktopCommands::OpenFileTypes() {
    if (!parts_.store) return;
    const bool writable = parts_.settingsWritable && *parts_.settingsWritable;
    const std::vector<TTypeEntry> entries =
        FillTypeList(types_, OfferedTypeMasks(), writable ? parts_.store : nullptr);
    const bool restore = parts_.store->RegReadBool(QStringLiteral("RestoreType"), false);
    const auto choice = TFileTypeForm::Choose(entries, restore, parts_.window);
    if (choice && writable)
        ApplyTypeList(types_, choice->entries, choice->restoreType, *parts_.store);
}

void TDesktopCommands::GameFileUsed(const QString& path) {
    AddRecentDocument({QFileInfo(path).absoluteFilePath(), QString::fromLatin1(kGameMimeType),
                       QStringLiteral("Dorvane"), parts_.programPath,
                       QDateTime::currentDateTimeUtc()},
                      places_);
}

} // namespace dorvane
