// Handing addresses and files to the desktop: the web site, the feedback
// mail, a document. The desktop's opener (QDesktopServices) is tried first,
// xdg-open after it; when both fail, the program says "Команду невозможно
// выполнить!". Tests put in an opener of their own.
#pragma once

#include "core/messages.h"
#include "game/random.h"

#include <QString>
#include <QUrl>

#include <functional>

namespace dorvane {

// Opens the address; false when it could not be handed over.
using TUrlOpener = std::function<bool(const QUrl&)>;
// Asks a desktop service for something that answers later (a dialog of the
// file manager's, the portal's application chooser); failed is called, on
// the UI thread, when the service refused or is not there. Nothing waits.
using TDesktopRequest = std::function<void(const QUrl&, std::function<void()> failed)>;

// QDesktopServices::openUrl, then a detached xdg-open.
TUrlOpener DesktopOpener();

struct TLauncher {
    TMessageService& messages;
    TRandomSource& random; // the two addresses of each kind are chosen at random
    TUrlOpener open = DesktopOpener();
};

// "http://" + one of the two site hosts.
QString RandomSiteAddress(TRandomSource& random);

// The web page at host and path (without scheme), as "http://" + text.
void OpenWebAddress(const TLauncher& launcher, const QString& text);
// The mail program, with one of the two feedback addresses and the subject
// "Dorvane <version>"; failing that, with an address chosen again and the
// subject "Dorvane".
void SendFeedbackMail(const TLauncher& launcher);
// A file that exists is opened with its desktop application; any other text
// is run as a command line. Failure is the caller's to tell.
bool OpenOrRun(const TUrlOpener& open, const QString& pathOrCommand);
// The desktop's opener on a text: an address with a scheme, else a file.
bool ShellOpen(const TUrlOpener& open, const QString& text);
// Starts the command line (split as a shell would, without a shell) as a
// detached process; false when it could not be started.
bool RunProcess(const QString& commandLine);

// The file manager's properties of a file or folder
// (org.freedesktop.FileManager1.ShowItemProperties over D-Bus).
TDesktopRequest FileManagerProperties();
// The desktop's "open with" chooser (the OpenURI portal, asking).
TDesktopRequest PortalOpenWith();
// Both say "Команду невозможно выполнить!" when the path does not exist or
// the desktop has no such service.
void ShowProperties(TMessageService& messages, const QString& path,
                    const TDesktopRequest& request = FileManagerProperties());
void OpenWithDialog(TMessageService& messages, const QString& path,
                    const TDesktopRequest& request = PortalOpenWith());
// The desktop's volume program (the start-up's VolumeControlPath); false
// when there is none or it could not be started.
bool OpenSoundPlaybackSettings(const QString& volumeControlPath);

} // namespace dorvane
