// Reading back the logical picture (screenshots and test readback).
#pragma once

#include <SDL.h>

namespace zorbel::screen {

// Makes the logical picture (in the window's own pixel format, so that drawing into it blends exactly as
// drawing into the window would); false after reporting why not.
bool CreatePicture();
void DestroyPicture();
// Drawing goes to the logical picture.
void DrawIntoPicture();
// Shows the picture letterboxed in the window.
void Present();

// The logical picture as drawn so far this frame, logical size, ARGB8888; null after reporting an error.
// Must be called while drawing goes to the screen, not into a texture.
SDL_Surface* ReadLogicalPicture();

} // namespace zorbel::screen
