// Blending 32-bit ARGB pictures into an RGB888 picture exactly as SDL 2's software blitters do, byte for
// byte (the unused top byte included), in plain C++, in SSE2 and in AVX2. Pixels in, pixels out.
#pragma once

#include "pixel_buffer.h"
#include "soft_transform.h"

#include <cstdint>

namespace zorbel::pixels {

enum class BlendMode { Alpha, Add, Multiply };

// The copy's colour and alpha modulation, 255 for none.
struct Mods {
    uint8_t r = 255, g = 255, b = 255, a = 255;
    bool None() const { return (r & g & b & a) == 255; }
};

// A copy of `from` (inside its picture) with its corner at (x, y), clipped as SDL's blit clips it to a w × h
// picture: `from` shrinks with it. False when nothing is left.
bool ClipCopy(Rect& from, int& x, int& y, int w, int h);

// Blends the w × h pixels of src whose corner is (sx, sy) into dst at (dx, dy); both rectangles lie inside
// their pictures (the caller clips). Alpha without modulation takes SDL's pixel-alpha blitter; anything else
// its generic blitter with modulation, which writes the top byte as 0.
void BlendInto(const View& src, int sx, int sy, const View& dst, int dx, int dy, int w, int h, BlendMode mode,
               Mods mods, Kernel kernel = FastestKernel());

} // namespace zorbel::pixels
