// File names as the file system gives them. A Linux file name is bytes; most
// are UTF-8, but not all, and Qt's own decoding replaces what is not UTF-8,
// so such a file could not be opened again. Here a byte that is not part of
// valid UTF-8 travels in the QString as the lone surrogate U+DC00 + byte
// (the "surrogate escape" of other toolkits), and encoding gives the same
// bytes back. A name with only valid UTF-8 is an ordinary QString.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace dorvane {

QString FileNameFromBytes(const QByteArray& bytes);
QByteArray FileNameToBytes(const QString& name);
std::string NativeFileName(const QString& name); // the bytes, for POSIX calls

// A command-line or handed-over name: a local "file:" URI (file:///path or
// file://localhost/path, as desktops and file managers pass them) becomes
// its path, percent-decoded to the name's bytes; anything else stays as it
// is, so a URI of another kind, or a damaged one, is refused later as a
// file that does not exist.
QString LocalPathFromArgument(const QString& argument);

// Whether a named file can be opened for reading: it (or what a link names)
// is there and readable. A folder counts: the music player opens folders.
bool NamedFileOpens(const QString& name);

// The name for people to read: escaped bytes shown as U+FFFD.
QString DisplayFileName(const QString& name);

} // namespace dorvane
