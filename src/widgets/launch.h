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

} // namespace dorvane
