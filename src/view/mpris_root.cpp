#include "view/mpris_root.h"

#include "core/messages.h"
#include "music/music_masks.h"

#include <QAction>
#include <QMimeDatabase>

namespace dorvane {

TMprisRoot::TMprisRoot(QObject* object, const TMprisParts& parts)
    : QDBusAbstractAdaptor(object), parts_(parts) {}

QString TMprisRoot::Identity() const {
    return QString::fromUtf8(kMessageCaption);
}

QStringList TMprisRoot::SupportedMimeTypes() const {
    // The player's own masks, named as shared-mime-info names them; a mask
    // the database does not know adds nothing.
    static const QStringList types = [] {
        const QMimeDatabase database;
        QStringList names;
        const QString masks =
            QString::fromLatin1(kAudioMasks) + QString::fromLatin1(kPlaylistMasks);
        for (const QString& mask : masks.split(u';', Qt::SkipEmptyParts)) {
            const QMimeType type = database.mimeTypeForFile(QStringLiteral("x") + mask.mid(1),
                                                            QMimeDatabase::MatchExtension);
            if (!type.isDefault() && !names.contains(type.name())) names << type.name();
        }
        names.sort();
        return names;
    }();
    return types;
}

void TMprisRoot::Raise() {
    if (parts_.raiseWindow) parts_.raiseWindow();
}

void TMprisRoot::Quit() {
    // After the answer has gone: the close takes this object off the bus.
    QAction* close = parts_.commands->Action(TCommand::Close);
    QMetaObject::invokeMethod(close, &QAction::trigger, Qt::QueuedConnection);
}

} // namespace dorvane
