// A picture turned and blended into another in one pass, with the pixels SDL 2's software renderer gives when
// it turns a copy and then blits the copy with alpha blending: pixels in, pixels out.
#pragma once

#include "soft_transform.h"

#include <cstdint>

namespace zorbel::pixels {

// A blit's colour and alpha modulation (SDL's colour and alpha mods); all 255 modulates nothing.
struct Modulation {
    uint8_t r = 255, g = 255, b = 255, a = 255;
    bool None() const { return (r & g & b & a) == 255; }
};

// SDL's blit of one ARGB8888 pixel onto another with alpha blending. Unmodulated, its x86 blitter weighs each
// channel as (s·α >> 8) + (d·(255 − α) >> 8), and a transparent pixel leaves dst as an opaque one replaces
// it; modulated, its generic blitter multiplies and divides by 255 exactly.
uint32_t BlendPixel(uint32_t src, uint32_t dst);
uint32_t BlendPixel(uint32_t src, uint32_t dst, const Modulation& mod);

// The plan of a w × h picture laid down unturned.
TurnPlan PlanUnturned(int w, int h);

// What turning `src` into a cleared copy of the plan's box (Turn) and blitting the copy with its corner at
// (x, y) of dst gives, without the copy: each pixel of the box that lands inside dst is worked out and
// blended at once. Pixels the turn does not reach, and transparent ones, leave dst as it was; so do those
// whose neighbours in src all lie outside `opaque`, which must hold every pixel of src whose alpha is not 0
// (OpaquePart, or the whole picture), and which are not even read. Every kernel gives the same bytes; AVX2
// takes a bilinear turn four pixels at a time, SSE2 two.
void TurnOnto(const View& src, const Rect& opaque, const TurnPlan& plan, Filter filter, const View& dst,
              int x, int y, const Modulation& mod, Kernel kernel = FastestKernel());

} // namespace zorbel::pixels
