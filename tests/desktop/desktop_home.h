// A home of its own for desktop files: HOME, XDG_DATA_HOME, XDG_CONFIG_HOME
// and the installed data folders (XDG_DATA_DIRS, "system/share") point into a
// temporary folder while the value lives.
#pragma once

#include "desktop/xdg_places.h"

#include "support/env_guard.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace dorvane::test {

struct TDesktopHome {
    QTemporaryDir dir;
    TEnvGuard home{"HOME", dir.path().toStdString()};
    TEnvGuard data{"XDG_DATA_HOME", dir.filePath(QStringLiteral(".local/share")).toStdString()};
    TEnvGuard config{"XDG_CONFIG_HOME", dir.filePath(QStringLiteral(".config")).toStdString()};
    TEnvGuard dataDirs{"XDG_DATA_DIRS", dir.filePath(QStringLiteral("system/share")).toStdString()};

    TXdgPlaces Places() const { return TXdgPlaces::FromEnvironment(); }
    QString Path(const QString& relative) const { return dir.filePath(relative); }
};

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace dorvane::test
