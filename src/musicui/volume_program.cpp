#include "musicui/volume_program.h"

#include <QProcess>
#include <QStandardPaths>

#include <array>

namespace dorvane {

TProgramFinder PathFinder() {
    return [](const QString& name) { return QStandardPaths::findExecutable(name); };
}

TVolumeProgram FindVolumeProgram(const TProgramFinder& find) {
    struct TKnown {
        const char* name;
        const char* page;
        const char* playback;
    };
    // PulseAudio's and PipeWire's volume control first; its tab 3 is the
    // output devices, the counterpart of the sound panel's playback page.
    static constexpr std::array<TKnown, 4> kKnown{{
        {"pavucontrol", "--tab=1", "--tab=3"},
        {"pavucontrol-qt", "--tab=1", "--tab=3"},
        {"mate-volume-control", "", "--page=output"},
        {"xfce4-mixer", "", ""},
    }};
    for (const TKnown& known : kKnown) {
        const QString path = find(QString::fromLatin1(known.name));
        if (path.isEmpty()) continue;
        TVolumeProgram program{path, {}, {}};
        if (*known.page) program.arguments << QString::fromLatin1(known.page);
        if (*known.playback) program.playback << QString::fromLatin1(known.playback);
        return program;
    }
    return {};
}

bool StartVolumeProgram(const TVolumeProgram& program, bool playbackPage) {
    if (program.program.isEmpty()) return false;
    return QProcess::startDetached(program.program,
                                   playbackPage ? program.playback : program.arguments);
}

} // namespace dorvane
