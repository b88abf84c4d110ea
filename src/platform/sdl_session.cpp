#include "platform/sdl_session.h"

#include <SDL.h>

namespace morvanex {

void preferOffscreenVideoWithoutDisplay() {
    if (SDL_getenv("DISPLAY") == nullptr && SDL_getenv("WAYLAND_DISPLAY") == nullptr) {
        SDL_setenv("SDL_VIDEODRIVER", "offscreen", 0);
    }
}

SdlSession::SdlSession() {
    // Closing the window is a request the application answers (it may ask to
    // save first), not an order to quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Keep the desktop's compositor running: the editor is not a game.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    ok_ = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) == 0;
    if (!ok_) error_ = SDL_GetError();
}

SdlSession::~SdlSession() {
    if (ok_) SDL_Quit();
}

}  // namespace morvanex
