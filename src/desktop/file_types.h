// The program as the opener of file types, over the freedesktop standards:
//
// - each extension names a MIME type: the one shared-mime-info knows, or a
//   type of the program's own ("application/x-dorvane-<ext>"; the saved
//   games are application/x-dorvane-game), declared in the program's MIME
//   package in ~/.local/share/mime/packages;
// - the handler is the program's launcher kvo-dorvane.desktop in the user's
//   applications folder (hidden from menus), whose MimeType list names the
//   types the program has registered - the counterpart of the class keys;
// - the default is the "[Default Applications]" entry of the user's
//   mimeapps.list. Registering keeps the previous default in the group
//   "[X-Dorvane Previous Defaults]" of the same file, and unregistering gives
//   it back.
//
// A type counts as the program's only while both hold: the handler lists it
// and mimeapps.list names the handler as its default, so a type another
// program took over shows unchecked. Every failure is silent.
#pragma once

#include "desktop/desktop_entry.h"
#include "desktop/xdg_places.h"

#include <QString>
#include <QStringList>

namespace dorvane {

inline constexpr const char* kHandlerId = "kvo-dorvane.desktop";
// The launcher the package installs (dist/dorvane.desktop).
inline constexpr const char* kInstalledLauncherId = "dorvane.desktop";
inline constexpr const char* kGameMimeType = "application/x-dorvane-game";
inline constexpr const char* kDefaultsGroup = "Default Applications";
inline constexpr const char* kAddedGroup = "Added Associations";
inline constexpr const char* kRemovedGroup = "Removed Associations";
inline constexpr const char* kBackupGroup = "X-Dorvane Previous Defaults";

// The extensions of a mask list ("*.mp3;*.m3u;"): one leading "*" and one
// leading "." taken off each piece, empty pieces skipped, lower case.
QStringList ExtensionsOfMasks(const QString& masks);
// The MIME type of files with that extension (without dot).
QString MimeTypeForExtension(const QString& extension);
// The program's MIME package: the saved-game type. The installed package
// (dist/) holds the same text.
QByteArray MimePackageText();

// What registering and unregistering do to the text of mimeapps.list, on
// its own so that tests and the fuzz target can drive it.
void RegisterDefault(TKeyFile& mimeApps, const QString& mimeType, const QString& handler);
void UnregisterDefault(TKeyFile& mimeApps, const QString& mimeType, const QString& handler);

class TFileTypes {
public:
    TFileTypes(TXdgPlaces places, QString programPath)
        : places_(std::move(places)), programPath_(std::move(programPath)) {}

    void AssociateType(bool registerType, const QString& extension) const;
    bool IsTypeAssociated(const QString& extension) const;
    // The saved-game type, declared in the program's MIME package and
    // registered: done at every start. The MIME database is brought up to
    // date in the background when the package changed. Where the installed
    // launcher already runs this program for saved games, it is made their
    // default and nothing of the program's own is written.
    void RegisterGameType() const;
    // The installed launcher's path when one in the data folders runs this
    // very program and opens saved games; empty otherwise.
    QString InstalledLauncher() const;

    QString HandlerPath() const;
    const TXdgPlaces& Places() const { return places_; }

private:
    TKeyFile Handler() const;
    bool WriteHandler(const TKeyFile& handler) const;

    TXdgPlaces places_;
    QString programPath_;
};

} // namespace dorvane
