// Turning and blending in one pass: SDL's turn (soft_transform) fused with SDL's alpha-blending blits.
#include "soft_bake.h"

#include "turn_rows.h"

#include <algorithm>

namespace zorbel::pixels {
namespace {

using rows::BilinearReach;
using rows::Clip;
using rows::EachReaching;
using rows::Overlap;
using rows::Run;

Clip ClipOf(const TurnPlan& plan, const View& dst, int x, int y) {
    return Clip{Run{std::max(0, -y), std::min(plan.box.h, dst.h - y)},
                Run{std::max(0, -x), std::min(plan.box.w, dst.w - x)}};
}

// Where a nearest turn's position may lie in src (the pixel it takes): on a pixel that is not transparent.
Rect NearestReach(const View& src, const Rect& opaque) {
    return Overlap(Rect{0, 0, src.w, src.h}, opaque);
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

// Whether all eight neighbours are transparent: both pixels then leave dst alone.
inline bool Clear(const rows::PairSample& p) {
    const __m128i alphaZero = _mm_cmpeq_epi8(_mm_or_si128(p.top, p.bottom), kZero);
    return (_mm_movemask_epi8(alphaZero) & 0x8888) == 0x8888;
}

// Blends the turned pixels into what dst holds, leaving it alone where every neighbour is transparent.
template <typename BlendTwo> struct BlendLay {
    BlendTwo blendTwo;

    void Two(const rows::PairSample& sample, uint32_t* out) const {
        if (Clear(sample)) return;
        const __m128i blended = blendTwo(rows::BilinearTwo(sample), Widen(out));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(blended, blended));
    }
    void One(const rows::PairSample& sample, uint32_t* out) const {
        if (Clear(sample)) return;
        const __m128i ground = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(*out)), kZero);
        const __m128i blended = blendTwo(rows::BilinearTwo(sample), ground);
        *out = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(blended, blended)));
    }
};

template <typename BlendTwo>
void TurnBilinearOntoSse2(const View& src, const Rect& opaque, const TurnPlan& plan, const View& dst, int x,
                          int y, const Clip& clip, BlendTwo blendTwo) {
    const uint32_t* const pixels = src.data;
    const ptrdiff_t pitch = src.pitch;
    const BlendLay<BlendTwo> lay{blendTwo};
    EachReaching(plan, clip, BilinearReach(src, opaque), [&](int by, Run run, int sdx, int sdy) {
        rows::PairsOfRow(pixels, pitch, plan, dst.Row(y + by) + x, run.begin, run.end, sdx, sdy, lay);
    });
}

#ifdef ZORBEL_PIXELS_AVX2
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

// Whether all sixteen neighbours are transparent: the four pixels then leave dst alone.
ZORBEL_AVX2 inline bool Clear(const rows::QuadSample& p) {
    const __m256i alphaZero = _mm256_cmpeq_epi8(_mm256_or_si256(p.top, p.bottom), _mm256_setzero_si256());
    return (static_cast<uint32_t>(_mm256_movemask_epi8(alphaZero)) & 0x88888888u) == 0x88888888u;
}

// BlendLay four pixels at a time too.
template <typename BlendFour, typename BlendTwo> struct BlendLayFour : BlendLay<BlendTwo> {
    BlendFour blendFour;

    BlendLayFour(BlendFour four, BlendTwo two) : BlendLay<BlendTwo>{two}, blendFour(four) {}
    ZORBEL_AVX2 void Four(const rows::QuadSample& sample, uint32_t* out) const {
        if (Clear(sample)) return;
        const __m256i ground = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(out)));
        const __m256i blended = blendFour(rows::BilinearFour(sample), ground);
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(out),
            _mm_packus_epi16(_mm256_castsi256_si128(blended), _mm256_extracti128_si256(blended, 1)));
    }
};

template <typename BlendFour, typename BlendTwo>
ZORBEL_AVX2 void TurnBilinearOntoAvx2With(const View& src, const Rect& opaque, const TurnPlan& plan,
                                          const View& dst, int x, int y, const Clip& clip,
                                          BlendFour blendFour, BlendTwo blendTwo) {
    const uint32_t* const pixels = src.data;
    const ptrdiff_t pitch = src.pitch;
    const BlendLayFour<BlendFour, BlendTwo> lay(blendFour, blendTwo);
    EachReaching(plan, clip, BilinearReach(src, opaque), [&](int by, Run run, int sdx, int sdy) ZORBEL_AVX2 {
        rows::QuadsOfRow(pixels, pitch, plan, dst.Row(y + by) + x, run.begin, run.end, sdx, sdy, lay);
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
