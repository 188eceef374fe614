// The check, when the window opens, that faces are drawn as SDL's software renderer draws into its own
// render targets.
#pragma once

#include <SDL.h>

namespace zorbel::bake {

// Draws a set of awkward copies into a face and, with SDL, into a render target of the same start, and
// compares every pixel. Leaves the render target as it was, and no face nor scaled picture behind.
bool FacesDrawLikeSdl(SDL_Renderer* renderer);

} // namespace zorbel::bake
