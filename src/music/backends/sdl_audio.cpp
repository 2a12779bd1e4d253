#include "sdl_audio.h"

#include <SDL.h>

namespace dorvane {

TSdlAudioHold::TSdlAudioHold() {
    // The program handles its own signals; SDL must not take them over.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ok_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

TSdlAudioHold::~TSdlAudioHold() {
    if (ok_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TSdlDevice OpenSdlOutput(int channels, int framesPerCall, TSdlFill fill, void* userdata) {
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(channels);
    want.samples = static_cast<Uint16>(framesPerCall);
    want.callback = fill;
    want.userdata = userdata;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID id =
        SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    return {id, id != 0 ? have.freq : 0};
}

} // namespace dorvane
