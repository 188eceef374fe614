// Cached copies for the software renderer: pictures turned or scaled once and drawn many times, with exactly
// the pixels SDL's own software path would give.
//
// The software renderer turns a picture for every rotated copy (scaling it first when the copy's size is not
// the picture's), and stretches it into a fresh surface for every scaled copy that crosses the screen's edge;
// both are most of a frame's cost when many monsters, or the light, are drawn. Every monster draws its shadow
// and its body with the same picture, frame, size and angle, and the light is stretched the same way every
// frame, so the results are kept, keyed by everything that shapes them.
#pragma once

#include "pixel_buffer.h"

#include <SDL.h>

#include <cstdint>

namespace zorbel::copycache {

// Whether cached copies stand in on this renderer (software only) and are allowed (ZORBEL_DRAW_CACHE=0 turns
// them off, to compare pictures against SDL's own drawing).
void Configure(SDL_Renderer* renderer);

// Draws the picture rotated about the rectangle's centre as SDL_RenderCopyExF would, with the texture's
// current colour, alpha and blend mode. False when a cached copy cannot stand in: the caller draws through
// SDL.
bool DrawRotated(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst, double angle);

// Draws the picture stretched into the rectangle as SDL_RenderCopyF would. False as above.
bool DrawScaled(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst);

// Whether cached copies stand in (Configure found this SDL drawing as the cache does).
bool Active();

// The picture's rectangle scaled to w × h as SDL scales it before a turn or into its stretch surface, kept
// from an earlier draw or made now and kept until EndFrame at least; no pixels if it cannot be read.
pixels::View ScaledSource(SDL_Texture* texture, const SDL_Rect& src, int w, int h, SDL_ScaleMode mode);

// For the bake, which has the sources of its queued draws made together when it runs: the kept source as
// ScaledSource gives it, or a new one of that size, kept from now on, whose pixels are made by the next
// MakeReservedSources (or by ScaledSource, if asked for first). Only for sizes CanReserveScaledSource allows.
// `opaque` is pointed at the part of the source that is not wholly transparent (pixels::OpaquePart), kept
// with it and worked out once its pixels are made.
// SDL's stretch refuses only rectangles outside its pictures and sizes past 16 bits; a reserved source is
// within both, so it is always made. Inline: every mark baked into a face asks.
constexpr int kMaxStretch = 0xFFFF;
inline bool CanReserveScaledSource(const SDL_Rect& src, int w, int h) {
    if (w <= 0 || h <= 0) return false;
    return (src.w == w && src.h == h) ||
           (w <= kMaxStretch && h <= kMaxStretch && src.w <= kMaxStretch && src.h <= kMaxStretch);
}
pixels::View ReserveScaledSource(SDL_Texture* texture, const SDL_Rect& src, int w, int h, SDL_ScaleMode mode,
                                 const pixels::Rect** opaque);
// Makes the pixels of every source reserved since the last call, shared out over the threads.
void MakeReservedSources();

// Called once a frame: copies not drawn for a while are let go.
void EndFrame();

// Lets go every copy made from this texture (before the texture itself goes).
void Forget(SDL_Texture* texture);

// Lets go every copy and turns the cache off until the next Configure.
void Reset();

struct Figures {
    uint64_t hits = 0, misses = 0, bytes = 0, entries = 0;
};
Figures Counts();

} // namespace zorbel::copycache
