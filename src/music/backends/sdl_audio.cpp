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

} // namespace dorvane
