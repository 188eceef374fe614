// Reading back the logical picture (screenshots and test readback).
#pragma once

#include <SDL.h>

namespace zorbel::screen {

// The logical picture as drawn so far this frame, logical size, ARGB8888; null after reporting an error.
// Must be called while drawing goes to the screen, not into a texture.
SDL_Surface* ReadLogicalPicture();

} // namespace zorbel::screen
