// The device player over FluidSynth: MIDI files played by a software
// synthesizer with the system's General MIDI SoundFont, rendered into the
// program's shared SDL2 output like every other sound of the program.
#pragma once

#include "music/device_port.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace dorvane {

// The SoundFonts tried, best first: the larger FluidR3 set when it is
// installed, then TimGM6mb, then whatever the system calls its default.
QStringList GeneralMidiSoundFonts();
// The first of them that is a regular file; empty when none is.
QString FindGeneralMidiSoundFont(const QStringList& candidates = GeneralMidiSoundFonts());

// A device that opens nothing until Open; the synth, its SoundFont and its
// hold on the shared output exist only while a file is open.
std::unique_ptr<TDevicePort> MakeFluidDevice(const QString& soundFont = FindGeneralMidiSoundFont());

} // namespace dorvane
