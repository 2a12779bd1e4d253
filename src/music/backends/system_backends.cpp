#include "music/backends/system_backends.h"

#include "music/backends/alsa_mixer.h"
#include "music/backends/ffmpeg_decoder.h"
#include "music/backends/fluid_device.h"
#include "music/backends/sdl_loop_output.h"

namespace dorvane {

TPlaybackBackends MakeSystemPlaybackBackends() {
    TPlaybackBackends backends;
    backends.decoder = std::make_unique<TFfmpegDecoder>();
    backends.output = std::make_unique<TSdlLoopOutput>();
    backends.device = MakeFluidDevice();
    backends.mixer = OpenAlsaMixer();
    return backends;
}

} // namespace dorvane
