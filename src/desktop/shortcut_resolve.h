// A file handed to the program may be a link to the file meant: a symbolic
// link, or a launcher of the kind "Link" (a .desktop file whose URL names a
// local file), as file managers make them. Anything else is itself.
#pragma once

#include <QByteArray>
#include <QString>

namespace dorvane {

// The target when path is a link whose target exists, else path itself.
QString ResolveShortcut(const QString& path);
// The local file a link launcher's text names (Type=Link, URL=file://... or
// an absolute path); empty for anything else.
QString LinkLauncherTarget(const QByteArray& text);

} // namespace dorvane
