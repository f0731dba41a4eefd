// The public handle types are the library's own names for SDL's objects; these convert between them.
#pragma once

#include "kestrune_system.h"

#include <SDL.h>

inline SDL_Window* to_sdl(kestrune_window* handle) { return reinterpret_cast<SDL_Window*>(handle); }
inline SDL_Renderer* to_sdl(kestrune_renderer* handle) { return reinterpret_cast<SDL_Renderer*>(handle); }
inline SDL_Texture* to_sdl(kestrune_renderer_texture* handle) { return reinterpret_cast<SDL_Texture*>(handle); }
inline SDL_Cursor* to_sdl(kestrune_cursor* handle) { return reinterpret_cast<SDL_Cursor*>(handle); }
inline SDL_Joystick* to_sdl(kestrune_controller* handle) { return reinterpret_cast<SDL_Joystick*>(handle); }
inline SDL_Haptic* to_sdl(kestrune_haptic* handle) { return reinterpret_cast<SDL_Haptic*>(handle); }
inline SDL_Thread* to_sdl(kestrune_thread* handle) { return reinterpret_cast<SDL_Thread*>(handle); }
inline SDL_mutex* to_sdl(kestrune_mutex* handle) { return reinterpret_cast<SDL_mutex*>(handle); }
inline SDL_cond* to_sdl(kestrune_condition* handle) { return reinterpret_cast<SDL_cond*>(handle); }
inline SDL_sem* to_sdl(kestrune_semaphore* handle) { return reinterpret_cast<SDL_sem*>(handle); }

inline kestrune_window* from_sdl(SDL_Window* object) { return reinterpret_cast<kestrune_window*>(object); }
inline kestrune_renderer* from_sdl(SDL_Renderer* object) { return reinterpret_cast<kestrune_renderer*>(object); }
inline kestrune_renderer_texture* from_sdl(SDL_Texture* object) {
    return reinterpret_cast<kestrune_renderer_texture*>(object);
}
inline kestrune_cursor* from_sdl(SDL_Cursor* object) { return reinterpret_cast<kestrune_cursor*>(object); }
inline kestrune_controller* from_sdl(SDL_Joystick* object) { return reinterpret_cast<kestrune_controller*>(object); }
inline kestrune_haptic* from_sdl(SDL_Haptic* object) { return reinterpret_cast<kestrune_haptic*>(object); }
inline kestrune_thread* from_sdl(SDL_Thread* object) { return reinterpret_cast<kestrune_thread*>(object); }
inline kestrune_mutex* from_sdl(SDL_mutex* object) { return reinterpret_cast<kestrune_mutex*>(object); }
inline kestrune_condition* from_sdl(SDL_cond* object) { return reinterpret_cast<kestrune_condition*>(object); }
inline kestrune_semaphore* from_sdl(SDL_sem* object) { return reinterpret_cast<kestrune_semaphore*>(object); }
