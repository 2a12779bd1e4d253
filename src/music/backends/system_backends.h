// The system's playback services for the music engine: FFmpeg decoding into
// the program's SDL2 output, FluidSynth for MIDI and ALSA's master volume.
#pragma once

#include "music/playback_backends.h"

namespace dorvane {

// UI thread (the mixer's notices arrive on the thread that calls this).
TPlaybackBackends MakeSystemPlaybackBackends();

} // namespace dorvane
