#include "core/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace dorvane {

QString DataFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    const QString build = QDir::cleanPath(QStringLiteral(DORVANE_BUILD_TREE));
    if (!program.isEmpty() && (program == build || program.startsWith(build + QLatin1Char('/'))))
        return QDir::cleanPath(QStringLiteral(DORVANE_SOURCE_DATA));
    const QString relative =
        QDir(program).absoluteFilePath(QStringLiteral(DORVANE_DATA_FROM_BINARY));
    if (!program.isEmpty() && QFileInfo(relative).isDir()) return QDir::cleanPath(relative);
    return QDir::cleanPath(QStringLiteral(DORVANE_INSTALLED_DATA));
}

QString MusicFolder() {
    return DataFolder() + QStringLiteral("/Sound");
}

} // namespace dorvane
