// The fixed-point walk of SDL 2's software turn through a picture, as every kernel that turns takes it: the
// plan of a turn, where each row of its box starts, and the bilinear step; and which kernels this build and
// this CPU have.
#pragma once

#include "pixel_buffer.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zorbel::pixels {

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

// How SDL turns a picture (PlanTurn): the box it covers and the steps through the picture.
struct TurnPlan {
    Rect box;               // what the turned picture covers, relative to the picture's corner
    int quarters = -1;      // 0..3 for a whole number of quarter turns (copied, never filtered), else -1
    int isin = 0, icos = 0; // 16.16 fixed-point steps through the picture per pixel of the box
    float centerX = 0, centerY = 0;
};

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

} // namespace zorbel::pixels
