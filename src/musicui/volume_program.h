// The desktop's volume program, which F11 and "Громкость" start: the first
// of the known mixers found on PATH. A second start while the one we started
// still runs does not start another: the mixers in the list are
// single-window programs that bring their window forward when started
// again, so the start is repeated only for that.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QProcess;

namespace dorvane {

// Finds a program by name; empty when it is not there.
using TProgramFinder = std::function<QString(const QString& name)>;
TProgramFinder PathFinder();

struct TVolumeProgram {
    QString program;       // empty: none found (button and item disabled)
    QStringList arguments; // the mixer's page
    QStringList playback;  // the right button: the page of the output devices
};
TVolumeProgram FindVolumeProgram(const TProgramFinder& find = PathFinder());

// Starts it detached; false when it could not be started.
bool StartVolumeProgram(const TVolumeProgram& program, bool playbackPage);

} // namespace dorvane
