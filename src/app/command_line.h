// The program's command line: "--help" and "--version" answered on the
// terminal, an unknown option refused, and the file names (paths or file://
// URIs) for the start. Read before anything else of the program exists: no
// display, no settings, no other copy is asked.
#pragma once

#include <QStringList>

namespace dorvane {

struct TCommandLine {
    // Set when the start ends here: the exit code, what was written done.
    bool ended = false;
    int exitCode = 0;
    // The named files as local paths (file:// URIs turned into paths).
    QStringList files;
};

// arguments: the program's own arguments without the program name, decoded
// with FileNameFromBytes. Help and version go to stdout, errors to stderr.
TCommandLine ReadCommandLine(const QStringList& arguments, const QString& version);

// The named files that cannot be opened: missing, a link to nothing, not
// readable. Each is told on stderr.
QStringList ReportUnopenableFiles(const QStringList& files);

} // namespace dorvane
