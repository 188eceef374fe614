// The rows of a turn as SDL's turn walks them, a run of reached pixels at a time, with the bilinear pixels
// worked out two at a time (SSE2) or four (AVX2): shared by the turn into a copy (soft_transform) and the
// turn blended into a picture (soft_bake). Each row hands its samples to a "lay", which writes the pixels
// (Two, One, and Four for AVX2) as its caller wants them: copied, or blended into what lies there.
#pragma once

#include "turn_plan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#ifdef ZORBEL_PIXELS_AVX2
#include <immintrin.h>
#endif

namespace zorbel::pixels::rows {

// The columns x of [0, n) where lo <= start + x * step < hi. Along a row of the box the source position moves
// by a constant step, so the pixels that reach the picture form one run.
struct Run {
    int begin = 0, end = 0;
};

// Every row of a turn asks where it lies within the same bounds with the same step, so what they share is
// worked out once: the bounds turned to a step that is positive, and that step's reciprocal. Its quotient is
// only a first guess, at most one short of the exact one, and one whole step corrects it.
class Reach {
  public:
    Reach(int64_t step, int64_t lo, int64_t hi)
        : size_(step < 0 ? -step : step), inverse_(step != 0 ? 1.0 / static_cast<double>(size_) : 0.0),
          sign_(step < 0 ? -1 : 1), lo_(lo), hi_(hi),
          // With a negative step, start + x * step < hi is -start + x * size >= 1 - hi.
          first_(step < 0 ? hi - 1 : lo), last_(step < 0 ? lo - 1 : hi) {}

    Run Within(int64_t start, int n) const {
        if (size_ == 0) return start >= lo_ && start < hi_ ? Run{0, n} : Run{0, 0};
        return Run{AtLeast(sign_ * (first_ - start), n), AtLeast(sign_ * (last_ - start), n)};
    }

  private:
    // The smallest x of [0, n] with x * size >= a, or n when there is none. Below zero the guess may be
    // anything: it is held at zero, as the answer is.
    int AtLeast(int64_t a, int n) const {
        const auto x = static_cast<int64_t>(std::clamp(static_cast<double>(a) * inverse_, 0.0, n + 1.0));
        return static_cast<int>(std::min<int64_t>(x + (x * size_ < a), n));
    }

    int64_t size_;
    double inverse_;
    int64_t sign_, lo_, hi_, first_, last_;
};

inline Run Intersect(Run a, Run b) {
    return Run{std::max(a.begin, b.begin), std::min(a.end, b.end)};
}

// The part of the box that lands inside dst: its rows and, per row, its columns.
struct Clip {
    Run rows, columns;
};
inline Rect Overlap(const Rect& a, const Rect& b) {
    const int left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    return Rect{left, top, std::min(a.x + a.w, b.x + b.w) - left, std::min(a.y + a.h, b.y + b.h) - top};
}

// Where a bilinear turn's position may lie in src, as its top-left neighbour: with a neighbour to the right
// and one below inside the picture, and one of the four in `opaque`.
inline Rect BilinearReach(const View& src, const Rect& opaque) {
    return Overlap(Rect{0, 0, src.w - 1, src.h - 1},
                   Rect{opaque.x - 1, opaque.y - 1, opaque.w + 1, opaque.h + 1});
}

// Calls put(row, run, sdx, sdy) for each row of the box that lands in dst, with the run of its columns whose
// source position (sdx, sdy at the run's start, in 16.16) lies within `reach`, in whole pixels of src.
template <typename Put>
void EachReaching(const TurnPlan& plan, const Clip& clip, const Rect& reach, Put put) {
    if (reach.w <= 0 || reach.h <= 0) return;
    const Reach across(plan.icos, int64_t{reach.x} << 16, int64_t{reach.x + reach.w} << 16);
    const Reach down(plan.isin, int64_t{reach.y} << 16, int64_t{reach.y + reach.h} << 16);
    for (int by = clip.rows.begin; by < clip.rows.end; ++by) {
        int sdx = 0, sdy = 0;
        RowStart(plan, by, &sdx, &sdy);
        const Run run =
            Intersect(clip.columns, Intersect(across.Within(sdx, plan.box.w), down.Within(sdy, plan.box.w)));
        if (run.begin < run.end) put(by, run, sdx + run.begin * plan.icos, sdy + run.begin * plan.isin);
    }
}

#ifdef __SSE2__
inline __m128i Zero() {
    return _mm_setzero_si128();
}

// Two neighbouring pixels of a row of the box: where their neighbours lie in the picture, and how far
// between them each pixel falls.
struct PairSample {
    __m128i top,
        bottom;        // the left and right neighbour of pixel 0, then of pixel 1, in the row above and below
    __m128i fractions; // 32-bit lanes [ex0 ey0 ex1 ey1], below 65536
};

// BilinearPixel for both pixels: the rows lerped across by each pixel's own fraction, then down.
inline __m128i BilinearTwo(const PairSample& p) {
    const __m128i ex = _mm_shufflehi_epi16(_mm_shufflelo_epi16(p.fractions, 0x00), 0x00);
    const __m128i ey = _mm_shufflehi_epi16(_mm_shufflelo_epi16(p.fractions, 0xAA), 0xAA);
    const __m128i top0 = _mm_unpacklo_epi8(p.top, Zero()), top1 = _mm_unpackhi_epi8(p.top, Zero());
    const __m128i bottom0 = _mm_unpacklo_epi8(p.bottom, Zero()),
                  bottom1 = _mm_unpackhi_epi8(p.bottom, Zero());
    const __m128i upper = LerpLanes(_mm_unpacklo_epi64(top0, top1), _mm_unpackhi_epi64(top0, top1), ex);
    const __m128i lower =
        LerpLanes(_mm_unpacklo_epi64(bottom0, bottom1), _mm_unpackhi_epi64(bottom0, bottom1), ex);
    return LerpLanes(upper, lower, ey);
}

// The pixels of a row of the box from column bx up to end, two at a time and the last one alone, starting at
// (sdx, sdy) in the picture, handed to lay.Two and lay.One with where they go. The picture's pixels come
// apart from its view: stores into dst could otherwise alias the view and make every load read it again.
template <typename Lay>
__attribute__((always_inline)) inline void PairsOfRow(const uint32_t* pixels, ptrdiff_t pitch,
                                                      const TurnPlan& plan, uint32_t* out, int bx, int end,
                                                      int sdx, int sdy, const Lay& lay) {
    const __m128i step = _mm_set_epi32(2 * plan.isin, 2 * plan.icos, 2 * plan.isin, 2 * plan.icos);
    const __m128i low16 = _mm_set1_epi32(0xffff);
    __m128i position = _mm_set_epi32(sdy + plan.isin, sdx + plan.icos, sdy, sdx);
    for (; bx + 1 < end; bx += 2) {
        const uint32_t* p0 = pixels + (sdy >> 16) * pitch + (sdx >> 16);
        const uint32_t* p1 = pixels + ((sdy + plan.isin) >> 16) * pitch + ((sdx + plan.icos) >> 16);
        const PairSample sample{
            _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0)),
                               _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p1))),
            _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0 + pitch)),
                               _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p1 + pitch))),
            _mm_and_si128(position, low16)};
        sdx += 2 * plan.icos;
        sdy += 2 * plan.isin;
        position = _mm_add_epi32(position, step);
        lay.Two(sample, out + bx);
    }
    if (bx < end) {
        // The last one as a pair of itself, of which the lay keeps the first.
        const uint32_t* p0 = pixels + (sdy >> 16) * pitch + (sdx >> 16);
        const __m128i top = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0));
        const __m128i bottom = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0 + pitch));
        lay.One(PairSample{_mm_unpacklo_epi64(top, top), _mm_unpacklo_epi64(bottom, bottom),
                           _mm_and_si128(position, low16)},
                out + bx);
    }
}
#endif

#ifdef ZORBEL_PIXELS_AVX2
// Only functions marked so may use AVX2: the rest of the build stays baseline, and they are called only when
// the CPU has it.
#define ZORBEL_AVX2 __attribute__((target("avx2")))

// Four pixels at a time: two of the SSE2 kernel's pairs side by side, pixels 0 and 1 in the low 128 bits and
// 2 and 3 in the high. AVX2's unpacks and shuffles stay within each half, so every step is the pair's own
// and the bytes are the same.
ZORBEL_AVX2 inline __m256i LerpLanes(__m256i a, __m256i b, __m256i f) {
    const __m256i d = _mm256_sub_epi16(b, a);
    const __m256i high = _mm256_mulhi_epi16(d, f);
    return _mm256_add_epi16(_mm256_add_epi16(high, _mm256_and_si256(d, _mm256_srai_epi16(f, 15))), a);
}

// PairSample for four pixels: each half holds one pair's.
struct QuadSample {
    __m256i top, bottom;
    __m256i fractions; // 32-bit lanes [ex0 ey0 ex1 ey1 | ex2 ey2 ex3 ey3]
};

// The two neighbours at each of p0..p3, in the order of QuadSample.
ZORBEL_AVX2 inline __m256i Neighbours(const uint32_t* p0, const uint32_t* p1, const uint32_t* p2,
                                      const uint32_t* p3) {
    const __m128i low = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0)),
                                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p1)));
    const __m128i high = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p2)),
                                            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p3)));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

// BilinearTwo on both halves.
ZORBEL_AVX2 inline __m256i BilinearFour(const QuadSample& p) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ex = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(p.fractions, 0x00), 0x00);
    const __m256i ey = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(p.fractions, 0xAA), 0xAA);
    const __m256i top0 = _mm256_unpacklo_epi8(p.top, zero), top1 = _mm256_unpackhi_epi8(p.top, zero);
    const __m256i bottom0 = _mm256_unpacklo_epi8(p.bottom, zero),
                  bottom1 = _mm256_unpackhi_epi8(p.bottom, zero);
    const __m256i upper = LerpLanes(_mm256_unpacklo_epi64(top0, top1), _mm256_unpackhi_epi64(top0, top1), ex);
    const __m256i lower =
        LerpLanes(_mm256_unpacklo_epi64(bottom0, bottom1), _mm256_unpackhi_epi64(bottom0, bottom1), ex);
    return LerpLanes(upper, lower, ey);
}

// The pixels of a row of the box from column bx up to end, four at a time (lay.Four) and then as PairsOfRow
// ends a row. Everything comes by value: the stores into dst could otherwise alias the steps and make every
// pixel load them again.
template <typename Lay>
ZORBEL_AVX2 __attribute__((always_inline)) inline void QuadsOfRow(const uint32_t* pixels, ptrdiff_t pitch,
                                                                  const TurnPlan& plan, uint32_t* out, int bx,
                                                                  int end, int sdx, int sdy, const Lay& lay) {
    const int isin = plan.isin, icos = plan.icos;
    const __m256i step =
        _mm256_set_epi32(4 * isin, 4 * icos, 4 * isin, 4 * icos, 4 * isin, 4 * icos, 4 * isin, 4 * icos);
    const __m256i low16 = _mm256_set1_epi32(0xffff);
    const __m256i pitches = _mm256_set1_epi64x(pitch);
    __m256i position = _mm256_set_epi32(sdy + 3 * isin, sdx + 3 * icos, sdy + 2 * isin, sdx + 2 * icos,
                                        sdy + isin, sdx + icos, sdy, sdx);
    for (; bx + 3 < end; bx += 4) {
        // Each pixel's top-left neighbour, (sdy >> 16) · pitch + (sdx >> 16) in 64-bit lanes: positions
        // inside the run are never negative, so the shifts may be logical.
        const __m256i rows = _mm256_srli_epi64(position, 48);
        const __m256i columns = _mm256_srli_epi64(_mm256_slli_epi64(position, 32), 48);
        const __m256i at = _mm256_add_epi64(_mm256_mul_epu32(rows, pitches), columns);
        const __m128i atLow = _mm256_castsi256_si128(at), atHigh = _mm256_extracti128_si256(at, 1);
        const uint32_t* p0 = pixels + _mm_cvtsi128_si64(atLow);
        const uint32_t* p1 = pixels + _mm_extract_epi64(atLow, 1);
        const uint32_t* p2 = pixels + _mm_cvtsi128_si64(atHigh);
        const uint32_t* p3 = pixels + _mm_extract_epi64(atHigh, 1);
        const QuadSample sample{Neighbours(p0, p1, p2, p3),
                                Neighbours(p0 + pitch, p1 + pitch, p2 + pitch, p3 + pitch),
                                _mm256_and_si256(position, low16)};
        sdx += 4 * icos;
        sdy += 4 * isin;
        position = _mm256_add_epi32(position, step);
        lay.Four(sample, out + bx);
    }
    // Up to three left: a pair and the last one alone, as the SSE2 kernel ends its rows.
    PairsOfRow(pixels, pitch, plan, out, bx, end, sdx, sdy, lay);
}
#endif

} // namespace zorbel::pixels::rows
