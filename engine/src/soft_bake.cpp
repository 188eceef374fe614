// Turning and blending in one pass: SDL's turn (soft_transform) fused with SDL's alpha-blending blits.
#include "soft_bake.h"

#include <algorithm>

#ifdef ZORBEL_PIXELS_AVX2
#include <immintrin.h>
#endif

namespace zorbel::pixels {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The columns x of [0, n) where lo <= start + x * step < hi. Along a row of the box the source position moves
// by a constant step, so the pixels that reach the picture form one run.
struct Run {
    int begin = 0, end = 0;
};
Run Within(int64_t start, int64_t step, int64_t lo, int64_t hi, int n) {
    int64_t begin = 0, end = n;
    if (step > 0) {
        begin = -FloorDiv(start - lo, step); // the smallest x with start + x * step >= lo
        end = -FloorDiv(start - hi, step);   // the smallest x with start + x * step >= hi
    } else if (step < 0) {
        begin = FloorDiv(start - hi, -step) + 1;
        end = FloorDiv(start - lo, -step) + 1;
    } else if (start < lo || start >= hi) {
        end = 0;
    }
    return Run{static_cast<int>(std::clamp<int64_t>(begin, 0, n)),
               static_cast<int>(std::clamp<int64_t>(end, 0, n))};
}

Run Intersect(Run a, Run b) {
    return Run{std::max(a.begin, b.begin), std::min(a.end, b.end)};
}

// The part of the box that lands inside dst: its rows and, per row, its columns.
struct Clip {
    Run rows, columns;
};
Clip ClipOf(const TurnPlan& plan, const View& dst, int x, int y) {
    return Clip{Run{std::max(0, -y), std::min(plan.box.h, dst.h - y)},
                Run{std::max(0, -x), std::min(plan.box.w, dst.w - x)}};
}

Rect Overlap(const Rect& a, const Rect& b) {
    const int left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    return Rect{left, top, std::min(a.x + a.w, b.x + b.w) - left, std::min(a.y + a.h, b.y + b.h) - top};
}

// Where a nearest turn's position may lie in src (the pixel it takes): on a pixel that is not transparent.
Rect NearestReach(const View& src, const Rect& opaque) {
    return Overlap(Rect{0, 0, src.w, src.h}, opaque);
}

// Where a bilinear turn's position may lie in src, as its top-left neighbour: with a neighbour to the right
// and one below inside the picture, and one of the four in `opaque`.
Rect BilinearReach(const View& src, const Rect& opaque) {
    return Overlap(Rect{0, 0, src.w - 1, src.h - 1},
                   Rect{opaque.x - 1, opaque.y - 1, opaque.w + 1, opaque.h + 1});
}

// Calls put(row, run, sdx, sdy) for each row of the box that lands in dst, with the run of its columns whose
// source position (sdx, sdy at the run's start, in 16.16) lies within `reach`, in whole pixels of src.
template <typename Put>
void EachReaching(const TurnPlan& plan, const Clip& clip, const Rect& reach, Put put) {
    if (reach.w <= 0 || reach.h <= 0) return;
    const int64_t left = int64_t{reach.x} << 16, right = int64_t{reach.x + reach.w} << 16;
    const int64_t top = int64_t{reach.y} << 16, bottom = int64_t{reach.y + reach.h} << 16;
    for (int by = clip.rows.begin; by < clip.rows.end; ++by) {
        int sdx = 0, sdy = 0;
        RowStart(plan, by, &sdx, &sdy);
        const Run run = Intersect(clip.columns, Intersect(Within(sdx, plan.icos, left, right, plan.box.w),
                                                          Within(sdy, plan.isin, top, bottom, plan.box.w)));
        if (run.begin < run.end) put(by, run, sdx + run.begin * plan.icos, sdy + run.begin * plan.isin);
    }
}

template <typename Blend>
void TurnBilinearOnto(const View& src, const Rect& opaque, const TurnPlan& plan, const View& dst, int x,
                      int y, const Clip& clip, Blend blend) {
    EachReaching(plan, clip, BilinearReach(src, opaque), [&](int by, Run run, int sdx, int sdy) {
        uint32_t* out = dst.Row(y + by) + x;
        for (int bx = run.begin; bx < run.end; ++bx, sdx += plan.icos, sdy += plan.isin) {
            const uint32_t* top = src.Row(sdy >> 16) + (sdx >> 16);
            const uint32_t* bottom = top + src.pitch;
            // Four transparent neighbours blend to a transparent pixel, which leaves dst alone.
            if (((top[0] | top[1] | bottom[0] | bottom[1]) >> 24) == 0) continue;
            out[bx] = blend(BilinearPixel(top, bottom, sdx & 0xffff, sdy & 0xffff), out[bx]);
        }
    });
}

template <typename Blend>
void TurnNearestOnto(const View& src, const Rect& opaque, const TurnPlan& plan, const View& dst, int x, int y,
                     const Clip& clip, Blend blend) {
    EachReaching(plan, clip, NearestReach(src, opaque), [&](int by, Run run, int sdx, int sdy) {
        uint32_t* out = dst.Row(y + by) + x;
        for (int bx = run.begin; bx < run.end; ++bx, sdx += plan.icos, sdy += plan.isin)
            out[bx] = blend(src.Row(sdy >> 16)[sdx >> 16], out[bx]);
    });
}

template <typename Blend>
void TurnQuartersOnto(const View& src, const TurnPlan& plan, const View& dst, int x, int y, const Clip& clip,
                      Blend blend) {
    for (int by = clip.rows.begin; by < clip.rows.end; ++by) {
        uint32_t* out = dst.Row(y + by) + x;
        for (int bx = clip.columns.begin; bx < clip.columns.end; ++bx) {
            int sx = 0, sy = 0;
            QuarterSource(plan.quarters, src.w, src.h, bx, by, &sx, &sy);
            out[bx] = blend(src.Row(sy)[sx], out[bx]);
        }
    }
}

#ifdef __SSE2__
// Pixels are handled two at a time, each channel in a 16-bit lane: [B G R A | B G R A].
const __m128i kZero = _mm_setzero_si128();
const __m128i k255 = _mm_set1_epi16(255);
const __m128i kAlphaLanes = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);

inline __m128i Widen(const uint32_t* two) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(two)), kZero);
}

inline __m128i AlphaOfEach(__m128i pixels) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, 0xFF), 0xFF);
}

inline __m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// x / 255 for every x up to 65535: the high half of x · 0x8081, shifted down by 7.
inline __m128i Div255(__m128i x) {
    return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(static_cast<int16_t>(0x8081))), 7);
}

// The unmodulated blend of BlendPixel, on two pixels.
struct BlendTwoPlain {
    __m128i operator()(__m128i s, __m128i d) const {
        const __m128i alpha = AlphaOfEach(s);
        const __m128i mixed =
            _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(s, _mm_or_si128(alpha, kAlphaLanes)), 8),
                          _mm_srli_epi16(_mm_mullo_epi16(d, _mm_xor_si128(alpha, k255)), 8));
        return Select(_mm_cmpeq_epi16(alpha, k255), s, Select(_mm_cmpeq_epi16(alpha, kZero), d, mixed));
    }
};

// The modulated blend of BlendPixel, on two pixels.
struct BlendTwoModulated {
    __m128i mod;
    explicit BlendTwoModulated(const Modulation& m)
        : mod(_mm_set_epi16(m.a, m.r, m.g, m.b, m.a, m.r, m.g, m.b)) {}
    __m128i operator()(__m128i s, __m128i d) const {
        const __m128i tinted = Div255(_mm_mullo_epi16(s, mod));
        const __m128i alpha = AlphaOfEach(tinted);
        const __m128i weighted = Div255(_mm_mullo_epi16(tinted, _mm_or_si128(alpha, kAlphaLanes)));
        return _mm_add_epi16(weighted, Div255(_mm_mullo_epi16(d, _mm_xor_si128(alpha, k255))));
    }
};

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
    const __m128i top0 = _mm_unpacklo_epi8(p.top, kZero), top1 = _mm_unpackhi_epi8(p.top, kZero);
    const __m128i bottom0 = _mm_unpacklo_epi8(p.bottom, kZero), bottom1 = _mm_unpackhi_epi8(p.bottom, kZero);
    const __m128i upper = LerpLanes(_mm_unpacklo_epi64(top0, top1), _mm_unpackhi_epi64(top0, top1), ex);
    const __m128i lower =
        LerpLanes(_mm_unpacklo_epi64(bottom0, bottom1), _mm_unpackhi_epi64(bottom0, bottom1), ex);
    return LerpLanes(upper, lower, ey);
}

// Whether all eight neighbours are transparent: both pixels then leave dst alone.
inline bool Clear(const PairSample& p) {
    const __m128i alphaZero = _mm_cmpeq_epi8(_mm_or_si128(p.top, p.bottom), kZero);
    return (_mm_movemask_epi8(alphaZero) & 0x8888) == 0x8888;
}

// The pixels of a row of the box from column bx up to end, two at a time and the last one alone, starting at
// (sdx, sdy) in the picture. The picture's pixels come apart from its view: stores into dst could otherwise
// alias the view and make every load read it again.
template <typename BlendTwo>
__attribute__((always_inline)) inline void PairsOfRow(const uint32_t* pixels, ptrdiff_t pitch,
                                                      const TurnPlan& plan, uint32_t* out, int bx, int end,
                                                      int sdx, int sdy, const BlendTwo& blendTwo) {
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
        if (Clear(sample)) continue;
        const __m128i blended = blendTwo(BilinearTwo(sample), Widen(out + bx));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + bx), _mm_packus_epi16(blended, blended));
    }
    if (bx < end) {
        // The last one as a pair of itself, of which only the first is kept.
        const uint32_t* p0 = pixels + (sdy >> 16) * pitch + (sdx >> 16);
        const __m128i top = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0));
        const __m128i bottom = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0 + pitch));
        const PairSample sample{_mm_unpacklo_epi64(top, top), _mm_unpacklo_epi64(bottom, bottom),
                                _mm_and_si128(position, low16)};
        if (Clear(sample)) return;
        const __m128i ground = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(out[bx])), kZero);
        const __m128i blended = blendTwo(BilinearTwo(sample), ground);
        out[bx] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(blended, blended)));
    }
}

template <typename BlendTwo>
void TurnBilinearOntoSse2(const View& src, const Rect& opaque, const TurnPlan& plan, const View& dst, int x,
                          int y, const Clip& clip, BlendTwo blendTwo) {
    const uint32_t* const pixels = src.data;
    const ptrdiff_t pitch = src.pitch;
    EachReaching(plan, clip, BilinearReach(src, opaque), [&](int by, Run run, int sdx, int sdy) {
        PairsOfRow(pixels, pitch, plan, dst.Row(y + by) + x, run.begin, run.end, sdx, sdy, blendTwo);
    });
}

#ifdef ZORBEL_PIXELS_AVX2
// Only these functions may use AVX2: the rest of the build stays baseline, and TurnOnto calls them only when
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

ZORBEL_AVX2 inline __m256i AlphaOfEach(__m256i pixels) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(pixels, 0xFF), 0xFF);
}

ZORBEL_AVX2 inline __m256i Select(__m256i mask, __m256i yes, __m256i no) {
    return _mm256_blendv_epi8(no, yes, mask);
}

ZORBEL_AVX2 inline __m256i Div255(__m256i x) {
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(static_cast<int16_t>(0x8081))), 7);
}

ZORBEL_AVX2 inline __m256i AlphaLanes() {
    return _mm256_set_epi16(255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0);
}

// BlendTwoPlain on four pixels.
struct BlendFourPlain {
    ZORBEL_AVX2 __m256i operator()(__m256i s, __m256i d) const {
        const __m256i zero = _mm256_setzero_si256(), full = _mm256_set1_epi16(255);
        const __m256i alpha = AlphaOfEach(s);
        const __m256i mixed = _mm256_add_epi16(
            _mm256_srli_epi16(_mm256_mullo_epi16(s, _mm256_or_si256(alpha, AlphaLanes())), 8),
            _mm256_srli_epi16(_mm256_mullo_epi16(d, _mm256_xor_si256(alpha, full)), 8));
        return Select(_mm256_cmpeq_epi16(alpha, full), s, Select(_mm256_cmpeq_epi16(alpha, zero), d, mixed));
    }
};

// BlendTwoModulated on four pixels.
struct BlendFourModulated {
    __m256i mod;
    ZORBEL_AVX2 explicit BlendFourModulated(const Modulation& m)
        : mod(_mm256_set_epi16(m.a, m.r, m.g, m.b, m.a, m.r, m.g, m.b, m.a, m.r, m.g, m.b, m.a, m.r, m.g,
                               m.b)) {}
    ZORBEL_AVX2 __m256i operator()(__m256i s, __m256i d) const {
        const __m256i tinted = Div255(_mm256_mullo_epi16(s, mod));
        const __m256i alpha = AlphaOfEach(tinted);
        const __m256i weighted = Div255(_mm256_mullo_epi16(tinted, _mm256_or_si256(alpha, AlphaLanes())));
        return _mm256_add_epi16(
            weighted, Div255(_mm256_mullo_epi16(d, _mm256_xor_si256(alpha, _mm256_set1_epi16(255)))));
    }
};

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

// Whether all sixteen neighbours are transparent: the four pixels then leave dst alone.
ZORBEL_AVX2 inline bool Clear(const QuadSample& p) {
    const __m256i alphaZero = _mm256_cmpeq_epi8(_mm256_or_si256(p.top, p.bottom), _mm256_setzero_si256());
    return (static_cast<uint32_t>(_mm256_movemask_epi8(alphaZero)) & 0x88888888u) == 0x88888888u;
}

// The pixels of a row of the box from column bx up to end, four at a time and then as PairsOfRow ends a row.
// Everything comes by value: the stores into dst could otherwise alias the steps and make every pixel load
// them again.
template <typename BlendFour, typename BlendTwo>
ZORBEL_AVX2 __attribute__((always_inline)) inline void
QuadsOfRow(const uint32_t* pixels, ptrdiff_t pitch, const TurnPlan& plan, uint32_t* out, int bx, int end,
           int sdx, int sdy, const BlendFour& blendFour, const BlendTwo& blendTwo) {
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
        if (Clear(sample)) continue;
        const __m256i ground =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(out + bx)));
        const __m256i blended = blendFour(BilinearFour(sample), ground);
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(out + bx),
            _mm_packus_epi16(_mm256_castsi256_si128(blended), _mm256_extracti128_si256(blended, 1)));
    }
    // Up to three left: a pair and the last one alone, as the SSE2 kernel ends its rows.
    PairsOfRow(pixels, pitch, plan, out, bx, end, sdx, sdy, blendTwo);
}

template <typename BlendFour, typename BlendTwo>
ZORBEL_AVX2 void TurnBilinearOntoAvx2With(const View& src, const Rect& opaque, const TurnPlan& plan,
                                          const View& dst, int x, int y, const Clip& clip,
                                          BlendFour blendFour, BlendTwo blendTwo) {
    const uint32_t* const pixels = src.data;
    const ptrdiff_t pitch = src.pitch;
    EachReaching(plan, clip, BilinearReach(src, opaque), [&](int by, Run run, int sdx, int sdy) ZORBEL_AVX2 {
        QuadsOfRow(pixels, pitch, plan, dst.Row(y + by) + x, run.begin, run.end, sdx, sdy, blendFour,
                   blendTwo);
    });
}

ZORBEL_AVX2 void TurnBilinearOntoAvx2(const View& src, const Rect& opaque, const TurnPlan& plan,
                                      const View& dst, int x, int y, const Clip& clip,
                                      const Modulation& mod) {
    if (mod.None())
        TurnBilinearOntoAvx2With(src, opaque, plan, dst, x, y, clip, BlendFourPlain{}, BlendTwoPlain{});
    else
        TurnBilinearOntoAvx2With(src, opaque, plan, dst, x, y, clip, BlendFourModulated(mod),
                                 BlendTwoModulated(mod));
}
#endif
#endif

template <typename Blend>
void TurnOntoWith(const View& src, const Rect& opaque, const TurnPlan& plan, Filter filter, const View& dst,
                  int x, int y, const Clip& clip, Blend blend) {
    if (plan.quarters >= 0)
        TurnQuartersOnto(src, plan, dst, x, y, clip, blend);
    else if (filter == Filter::Nearest)
        TurnNearestOnto(src, opaque, plan, dst, x, y, clip, blend);
    else
        TurnBilinearOnto(src, opaque, plan, dst, x, y, clip, blend);
}

} // namespace

uint32_t BlendPixel(uint32_t s, uint32_t d) {
    const uint32_t a = s >> 24;
    if (a == 0) return d;
    if (a == 255) return s;
    const uint32_t na = 255 - a;
    // Red and blue side by side: each product stays within its own 16 bits.
    const uint32_t rb = (((s & 0xff00ff) * a >> 8) & 0xff00ff) + (((d & 0xff00ff) * na >> 8) & 0xff00ff);
    const uint32_t g = (((s & 0xff00) * a >> 8) & 0xff00) + (((d & 0xff00) * na >> 8) & 0xff00);
    return (((a * 255 >> 8) + ((d >> 24) * na >> 8)) << 24) | rb | g;
}

uint32_t BlendPixel(uint32_t s, uint32_t d, const Modulation& mod) {
    const uint32_t mods[4] = {mod.b, mod.g, mod.r, mod.a};
    uint32_t src[4], out = 0;
    for (int c = 0; c < 4; ++c)
        src[c] = ((s >> (8 * c)) & 0xff) * mods[c] / 255;
    const uint32_t a = src[3];
    for (int c = 0; c < 4; ++c) {
        const uint32_t weighted = c < 3 && a < 255 ? src[c] * a / 255 : src[c];
        out |= (weighted + (255 - a) * ((d >> (8 * c)) & 0xff) / 255) << (8 * c);
    }
    return out;
}

TurnPlan PlanUnturned(int w, int h) {
    TurnPlan plan;
    plan.box = Rect{0, 0, w, h};
    plan.quarters = 0;
    return plan;
}

void TurnOnto(const View& src, const Rect& opaque, const TurnPlan& plan, Filter filter, const View& dst,
              int x, int y, const Modulation& mod, Kernel kernel) {
    const Clip clip = ClipOf(plan, dst, x, y);
    if (clip.rows.begin >= clip.rows.end || clip.columns.begin >= clip.columns.end) return;
    const auto plain = [](uint32_t s, uint32_t d) { return BlendPixel(s, d); };
    const auto modulated = [&mod](uint32_t s, uint32_t d) { return BlendPixel(s, d, mod); };
#ifdef ZORBEL_PIXELS_AVX2
    if (kernel == Kernel::Avx2 && HaveAvx2() && plan.quarters < 0 && filter == Filter::Bilinear) {
        TurnBilinearOntoAvx2(src, opaque, plan, dst, x, y, clip, mod);
        return;
    }
#endif
#ifdef __SSE2__
    if (kernel != Kernel::Plain && plan.quarters < 0 && filter == Filter::Bilinear) {
        if (mod.None())
            TurnBilinearOntoSse2(src, opaque, plan, dst, x, y, clip, BlendTwoPlain{});
        else
            TurnBilinearOntoSse2(src, opaque, plan, dst, x, y, clip, BlendTwoModulated(mod));
        return;
    }
#endif
    (void)kernel;
    if (mod.None())
        TurnOntoWith(src, opaque, plan, filter, dst, x, y, clip, plain);
    else
        TurnOntoWith(src, opaque, plan, filter, dst, x, y, clip, modulated);
}

} // namespace zorbel::pixels
