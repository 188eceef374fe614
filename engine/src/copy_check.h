// The check, when the window opens, that the copy cache draws what SDL's own software renderer draws.
#pragma once

#include <SDL.h>

#include <functional>

namespace zorbel::copycache {

// Draws the picture as the cache would: turned by `angle` degrees, or stretched when the angle is 0. False
// when the cache did not stand in.
using CachedDraw =
    std::function<bool(SDL_Texture* picture, const SDL_Rect* src, const SDL_FRect& dst, double angle)>;

// Draws a set of awkward copies both ways into two small targets and compares every pixel, so an SDL whose
// software renderer turns or stretches differently keeps its own drawing. Leaves the render target as it was;
// the copies the cache made of the test picture are the caller's to let go.
bool DrawsLikeSdl(SDL_Renderer* renderer, const CachedDraw& cached);

} // namespace zorbel::copycache
