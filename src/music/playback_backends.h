// The services the music engine plays through, handed to it whole: the
// stream path's decoder and looping output, the device player for MIDI and
// the mixer. The program takes the system's (MakeSystemPlaybackBackends in
// src/music/backends); tests hand in their own.
#pragma once

#include "music/device_port.h"
#include "music/mixer_port.h"
#include "music/stream_feed.h"
#include "music/stream_ports.h"

#include <memory>

namespace dorvane {

struct TPlaybackBackends {
    std::unique_ptr<IStreamDecoder> decoder; // none: no stream path at all
    std::unique_ptr<ILoopOutput> output;     // none: no stream path at all
    std::unique_ptr<TDevicePort> device;     // none: nothing plays MIDI
    std::unique_ptr<TMixerPort> mixer;       // none: the volume controls stay off
    TStreamFeed::TClock clock;               // empty: the steady clock
};

} // namespace dorvane
