// Turning and stretching 32-bit pictures in memory exactly as SDL 2's software renderer does: the same sizes,
// fixed-point steps and bilinear rounding, so the pixels are the same to the bit. Pixels in, pixels out.
#pragma once

#include "pixel_buffer.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zorbel::pixels {

enum class Filter { Nearest, Bilinear };

// Ways to work out pixels, giving the same bytes: SSE2 where the compiler targets it, plain C++ everywhere
// (asking for SSE2 without it gets the plain one), and AVX2 where the CPU running us has it, chosen at run
// time so the build stays baseline x86-64 (on a CPU without AVX2, asking for it gets SSE2). The bilinear
// turn, the one-pass turn and blend (soft_bake) and the frame's blits (blend) have all three.
enum class Kernel { Plain, Sse2, Avx2 };
#ifdef __SSE2__
constexpr bool kHaveSse2 = true;
#else
constexpr bool kHaveSse2 = false;
#endif
// The fastest kernel the compiler's target promises.
constexpr Kernel kFastestKernel = kHaveSse2 ? Kernel::Sse2 : Kernel::Plain;

// x86-64 builds by GCC or Clang carry AVX2 functions beside the baseline ones.
#if defined(__SSE2__) && defined(__x86_64__) && defined(__GNUC__)
#define ZORBEL_PIXELS_AVX2 1
#endif

// Whether the CPU running us has AVX2 (and the system keeps its registers), asked once.
bool HaveAvx2();
// The fastest kernel on the CPU running us.
inline Kernel FastestKernel() {
    return HaveAvx2() ? Kernel::Avx2 : kFastestKernel;
}

// How SDL turns a w × h picture `angle` degrees clockwise about `center` (from the picture's corner).
struct TurnPlan {
    Rect box;               // what the turned picture covers, relative to the picture's corner
    int quarters = -1;      // 0..3 for a whole number of quarter turns (copied, never filtered), else -1
    int isin = 0, icos = 0; // 16.16 fixed-point steps through the picture per pixel of the box
    float centerX = 0, centerY = 0;
};
TurnPlan PlanTurn(int w, int h, double angle, float centerX, float centerY);

// The sine and cosine of the angle (degrees) that a plan turns by.
struct TurnTrig {
    double sin = 0, cos = 1;
};
TurnTrig TrigOf(double angle);
// The same plan, given the angle's TrigOf: for callers that keep the sines of the angles they see again.
TurnPlan PlanTurn(int w, int h, double angle, const TurnTrig& trig, float centerX, float centerY);

// Where row y of the box starts in the picture, in 16.16 fixed point; each pixel to the right is (icos, isin)
// further on. Inline, so a loop over the rows works out what they share once.
inline void RowStart(const TurnPlan& plan, int y, int* sdx, int* sdy) {
    const int cx = static_cast<int>(plan.centerX * 65536.0);
    const int cy = static_cast<int>(plan.centerY * 65536.0);
    const int fpHalf = 1 << 15;
    const double srcX = (plan.box.x + 0 + 0.5 - plan.centerX);
    const double srcY = (plan.box.y + y + 0.5 - plan.centerY);
    *sdx = static_cast<int>((plan.icos * srcX - plan.isin * srcY) + cx - fpHalf);
    *sdy = static_cast<int>((plan.isin * srcX + plan.icos * srcY) + cy - fpHalf);
}

// The pixel of a w × h picture that a whole number of quarter turns puts at (x, y) of the box.
inline void QuarterSource(int quarters, int w, int h, int x, int y, int* sx, int* sy) {
    switch (quarters) {
    case 1: // 90 degrees clockwise
        *sx = y;
        *sy = h - 1 - x;
        break;
    case 2:
        *sx = w - 1 - x;
        *sy = h - 1 - y;
        break;
    case 3:
        *sx = w - 1 - y;
        *sy = x;
        break;
    default:
        *sx = x;
        *sy = y;
        break;
    }
}

// SDL's bilinear blend of the four neighbours top[0], top[1], bottom[0], bottom[1] at fractions ex, ey (of
// 65536): per channel along the rows, then along the column, each step (((b - a) * f) >> 16) + a.
uint32_t BilinearPixel(const uint32_t* top, const uint32_t* bottom, int ex, int ey);

#ifdef __SSE2__
// One bilinear step on eight 16-bit lanes, (((b - a) * f) >> 16) + a with its own fraction f in each lane:
// the signed high product sees a fraction of 32768 or more as negative, which takes the difference off once;
// adding it back gives SDL's sums exactly.
inline __m128i LerpLanes(__m128i a, __m128i b, __m128i f) {
    const __m128i d = _mm_sub_epi16(b, a);
    const __m128i high = _mm_mulhi_epi16(d, f);
    return _mm_add_epi16(_mm_add_epi16(high, _mm_and_si128(d, _mm_srai_epi16(f, 15))), a);
}
#endif

// Turns `src`, of the planned picture's size, into `dst`, of the box's size (TurnRows: into the rows
// [firstRow, endRow) of it only, so that bands of one turn may be made apart, on any threads, and give what
// the whole turn gives). Pixels the turn does not reach keep what they held (SDL clears them first).
void TurnRows(const View& src, const View& dst, const TurnPlan& plan, Filter filter, int firstRow, int endRow,
              Kernel kernel = FastestKernel());
inline void Turn(const View& src, const View& dst, const TurnPlan& plan, Filter filter,
                 Kernel kernel = FastestKernel()) {
    TurnRows(src, dst, plan, filter, 0, dst.h, kernel);
}

// The rectangle `from` (inside src) scaled to the whole of dst by SDL's own stretch, or copied when the sizes
// agree; false if SDL refuses.
bool Stretch(const View& src, const Rect& from, const View& dst, Filter filter);

} // namespace zorbel::pixels
