// Turning and stretching 32-bit pictures in memory exactly as SDL 2's software renderer does: the same sizes,
// fixed-point steps and bilinear rounding, so the pixels are the same to the bit. Pixels in, pixels out.
#pragma once

#include "pixel_buffer.h"

namespace zorbel::pixels {

enum class Filter { Nearest, Bilinear };

// Two ways to blend the four neighbours of a bilinear turn, giving the same bytes: SSE2 where the compiler
// targets it, plain C++ everywhere (asking for SSE2 without it gets the plain one).
enum class Kernel { Plain, Sse2 };
#ifdef __SSE2__
constexpr bool kHaveSse2 = true;
#else
constexpr bool kHaveSse2 = false;
#endif
constexpr Kernel kFastestKernel = kHaveSse2 ? Kernel::Sse2 : Kernel::Plain;

// How SDL turns a w × h picture `angle` degrees clockwise about `center` (from the picture's corner).
struct TurnPlan {
    Rect box;               // what the turned picture covers, relative to the picture's corner
    int quarters = -1;      // 0..3 for a whole number of quarter turns (copied, never filtered), else -1
    int isin = 0, icos = 0; // 16.16 fixed-point steps through the picture per pixel of the box
    float centerX = 0, centerY = 0;
};
TurnPlan PlanTurn(int w, int h, double angle, float centerX, float centerY);

// Turns `src`, of the planned picture's size, into `dst`, of the box's size. Pixels the turn does not reach
// keep what they held (SDL clears them first).
void Turn(const View& src, const View& dst, const TurnPlan& plan, Filter filter,
          Kernel kernel = kFastestKernel);

// The rectangle `from` (inside src) scaled to the whole of dst by SDL's own stretch, or copied when the sizes
// agree; false if SDL refuses.
bool Stretch(const View& src, const Rect& from, const View& dst, Filter filter);

} // namespace zorbel::pixels
