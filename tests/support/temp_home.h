// A fresh home for the settings file and the data folder, for as long as the
// value lives: XDG_CONFIG_HOME and XDG_DATA_HOME point into a temporary
// folder and come back afterwards.
#pragma once

#include "support/env_guard.h"

#include <QString>
#include <QTemporaryDir>

namespace dorvane::test {

struct TTempHome {
    QTemporaryDir dir;
    TEnvGuard config{"XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toStdString()};
    TEnvGuard data{"XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toStdString()};
    QString FilePath(const QString& name) const { return dir.filePath(name); }
};

} // namespace dorvane::test
