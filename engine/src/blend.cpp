// SDL 2's software blitters from ARGB8888 into RGB888 (src/video/SDL_blit_A.c's pixel-alpha blitter and the
// generated ones of SDL_blit_auto.c), over plain pixels.
#include "blend.h"

#include <algorithm>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#ifdef ZORBEL_PIXELS_AVX2
#include <immintrin.h>
#endif

namespace zorbel::pixels {
namespace {

// The pixel-alpha blitter SDL picks for plain alpha: every byte (s·a >> 8) + (d·(255 − a) >> 8), the top byte
// weighing s by 255 instead of a; a of 0 leaves the pixel, 255 copies it, top byte and all.
uint32_t PixelAlpha(uint32_t s, uint32_t d) {
    const uint32_t a = s >> 24;
    if (a == 0) return d;
    if (a == 255) return s;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t sv = (s >> shift) & 0xFF, dv = (d >> shift) & 0xFF;
        const uint32_t weight = shift == 24 ? 255 : a;
        out |= std::min(((sv * weight) >> 8) + ((dv * (255 - a)) >> 8), 255u) << shift;
    }
    return out;
}

// The generic blitter: colour and alpha modulated (x · mod / 255, a no-op at 255), the colour weighted by
// alpha for alpha and additive blending, every division truncating; the top byte is written as 0.
uint32_t Modulated(uint32_t s, uint32_t d, BlendMode mode, Mods m) {
    const uint32_t sa = (s >> 24) * m.a / 255;
    const uint32_t mods[3] = {m.b, m.g, m.r};
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const int shift = c * 8;
        uint32_t sc = ((s >> shift) & 0xFF) * mods[c] / 255;
        uint32_t dc = (d >> shift) & 0xFF;
        switch (mode) {
        case BlendMode::Alpha:
            sc = sc * sa / 255;
            dc = sc + (255 - sa) * dc / 255;
            break;
        case BlendMode::Add:
            sc = sc * sa / 255;
            dc = std::min(sc + dc, 255u);
            break;
        case BlendMode::Multiply:
            dc = std::min((sc * dc + dc * (255 - sa)) / 255, 255u);
            break;
        }
        out |= dc << shift;
    }
    return out;
}

void PlainRow(const uint32_t* s, uint32_t* d, int n, BlendMode mode, Mods mods) {
    if (mode == BlendMode::Alpha && mods.None()) {
        for (int i = 0; i < n; ++i)
            d[i] = PixelAlpha(s[i], d[i]);
    } else {
        for (int i = 0; i < n; ++i)
            d[i] = Modulated(s[i], d[i], mode, mods);
    }
}

#ifdef __SSE2__
// Four pixels at a time, two to a register of 16-bit lanes (blue, green, red, alpha of each).

__m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// v / 255 rounded down, exact for v up to 65534.
__m128i Div255(__m128i v) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(v, _mm_set1_epi16(1)), _mm_srli_epi16(v, 8)), 8);
}

__m128i AlphaEverywhere(__m128i v) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

__m128i PixelAlphaHalf(__m128i s, __m128i d, __m128i a) {
    const __m128i top = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
    const __m128i ws = _mm_or_si128(a, top);
    const __m128i wd = _mm_xor_si128(a, _mm_set1_epi16(255));
    return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(s, ws), 8),
                         _mm_srli_epi16(_mm_mullo_epi16(d, wd), 8));
}

__m128i PixelAlpha4(__m128i s, __m128i d) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha = _mm_srli_epi32(s, 24);
    const __m128i a = AlphaEverywhere(_mm_unpacklo_epi8(s, zero));
    const __m128i aHigh = AlphaEverywhere(_mm_unpackhi_epi8(s, zero));
    __m128i out =
        _mm_packus_epi16(PixelAlphaHalf(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), a),
                         PixelAlphaHalf(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), aHigh));
    out = Select(_mm_cmpeq_epi32(alpha, zero), d, out);
    return Select(_mm_cmpeq_epi32(alpha, _mm_set1_epi32(255)), s, out);
}

// d · k / 255 with k = c + 255 − a up to 510, whose product passes 16 bits: split k at 255, d · 255 / 255
// being exactly d, the two parts' quotients add up to the whole one.
inline __attribute__((always_inline)) __m128i MultiplyHalf(__m128i c, __m128i d, __m128i a) {
    const __m128i k = _mm_add_epi16(c, _mm_xor_si128(a, _mm_set1_epi16(255)));
    const __m128i low = _mm_min_epi16(k, _mm_set1_epi16(255));
    return _mm_add_epi16(Div255(_mm_mullo_epi16(d, low)), Div255(_mm_mullo_epi16(d, _mm_sub_epi16(k, low))));
}

// Modulating by 255 changes nothing (x · 255 / 255 = x), so unmodulated copies skip it.
template <BlendMode mode, bool modulated>
inline __attribute__((always_inline)) __m128i ModulatedHalf(__m128i s, __m128i d, __m128i mods) {
    const __m128i c = modulated ? Div255(_mm_mullo_epi16(s, mods)) : s;
    const __m128i a = AlphaEverywhere(c);
    if constexpr (mode == BlendMode::Multiply) return MultiplyHalf(c, d, a);
    const __m128i weighted = Div255(_mm_mullo_epi16(c, a));
    if constexpr (mode == BlendMode::Add) return _mm_add_epi16(weighted, d);
    return _mm_add_epi16(weighted, Div255(_mm_mullo_epi16(_mm_xor_si128(a, _mm_set1_epi16(255)), d)));
}

template <BlendMode mode, bool modulated> void ModulatedRow(const uint32_t* s, uint32_t* d, int n, Mods m) {
    const __m128i mods = _mm_set_epi16(m.a, m.r, m.g, m.b, m.a, m.r, m.g, m.b);
    const __m128i zero = _mm_setzero_si128(), rgb = _mm_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i* at = reinterpret_cast<__m128i*>(d + i);
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i dv = _mm_loadu_si128(at);
        const __m128i out = _mm_packus_epi16(
            ModulatedHalf<mode, modulated>(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero), mods),
            ModulatedHalf<mode, modulated>(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero), mods));
        _mm_storeu_si128(at, _mm_and_si128(out, rgb));
    }
    PlainRow(s + i, d + i, n - i, mode, m);
}

template <BlendMode mode> void ModulatedRowAnyMods(const uint32_t* s, uint32_t* d, int n, Mods m) {
    if (m.None())
        ModulatedRow<mode, false>(s, d, n, m);
    else
        ModulatedRow<mode, true>(s, d, n, m);
}

void Sse2Row(const uint32_t* s, uint32_t* d, int n, BlendMode mode, Mods m) {
    int i = 0;
    if (mode == BlendMode::Alpha && m.None()) {
        for (; i + 4 <= n; i += 4) {
            const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            const __m128i alpha = _mm_srli_epi32(sv, 24);
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128())) == 0xFFFF)
                continue; // four clear pixels leave the picture as it is
            __m128i* at = reinterpret_cast<__m128i*>(d + i);
            // Four opaque ones replace it, as PixelAlpha4 would, without reading it.
            const bool opaque = _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_set1_epi32(255))) == 0xFFFF;
            _mm_storeu_si128(at, opaque ? sv : PixelAlpha4(sv, _mm_loadu_si128(at)));
        }
        PlainRow(s + i, d + i, n - i, mode, m);
    } else if (mode == BlendMode::Alpha) {
        ModulatedRowAnyMods<BlendMode::Alpha>(s, d, n, m);
    } else if (mode == BlendMode::Add) {
        ModulatedRowAnyMods<BlendMode::Add>(s, d, n, m);
    } else {
        ModulatedRowAnyMods<BlendMode::Multiply>(s, d, n, m);
    }
}
#endif

#ifdef ZORBEL_PIXELS_AVX2
// Only these functions may use AVX2: the rest of the build stays baseline, and BlendInto calls them only when
// the CPU has it.
#define ZORBEL_AVX2 __attribute__((target("avx2")))

// Eight pixels at a time: the SSE2 kernel's four side by side, pixels 0 to 3 in the low 128 bits and 4 to 7
// in the high. AVX2's unpacks, shuffles and packs stay within each half, so every step is the SSE2 step's own
// arithmetic and the bytes are the same.

ZORBEL_AVX2 inline __m256i Select(__m256i mask, __m256i yes, __m256i no) {
    return _mm256_or_si256(_mm256_and_si256(mask, yes), _mm256_andnot_si256(mask, no));
}

ZORBEL_AVX2 inline __m256i Div255(__m256i v) {
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_add_epi16(v, _mm256_set1_epi16(1)), _mm256_srli_epi16(v, 8)), 8);
}

ZORBEL_AVX2 inline __m256i AlphaEverywhere(__m256i v) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, _MM_SHUFFLE(3, 3, 3, 3)),
                                  _MM_SHUFFLE(3, 3, 3, 3));
}

ZORBEL_AVX2 inline __m256i PixelAlphaHalf(__m256i s, __m256i d, __m256i a) {
    const __m256i top = _mm256_set_epi16(255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0);
    const __m256i ws = _mm256_or_si256(a, top);
    const __m256i wd = _mm256_xor_si256(a, _mm256_set1_epi16(255));
    return _mm256_add_epi16(_mm256_srli_epi16(_mm256_mullo_epi16(s, ws), 8),
                            _mm256_srli_epi16(_mm256_mullo_epi16(d, wd), 8));
}

ZORBEL_AVX2 inline __m256i PixelAlpha8(__m256i s, __m256i d) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alpha = _mm256_srli_epi32(s, 24);
    const __m256i low = _mm256_unpacklo_epi8(s, zero), high = _mm256_unpackhi_epi8(s, zero);
    __m256i out =
        _mm256_packus_epi16(PixelAlphaHalf(low, _mm256_unpacklo_epi8(d, zero), AlphaEverywhere(low)),
                            PixelAlphaHalf(high, _mm256_unpackhi_epi8(d, zero), AlphaEverywhere(high)));
    out = Select(_mm256_cmpeq_epi32(alpha, zero), d, out);
    return Select(_mm256_cmpeq_epi32(alpha, _mm256_set1_epi32(255)), s, out);
}

// MultiplyHalf on eight pixels' halves.
ZORBEL_AVX2 inline __m256i MultiplyHalf(__m256i c, __m256i d, __m256i a) {
    const __m256i k = _mm256_add_epi16(c, _mm256_xor_si256(a, _mm256_set1_epi16(255)));
    const __m256i low = _mm256_min_epi16(k, _mm256_set1_epi16(255));
    return _mm256_add_epi16(Div255(_mm256_mullo_epi16(d, low)),
                            Div255(_mm256_mullo_epi16(d, _mm256_sub_epi16(k, low))));
}

template <BlendMode mode, bool modulated>
ZORBEL_AVX2 inline __m256i ModulatedHalf(__m256i s, __m256i d, __m256i mods) {
    const __m256i c = modulated ? Div255(_mm256_mullo_epi16(s, mods)) : s;
    const __m256i a = AlphaEverywhere(c);
    if constexpr (mode == BlendMode::Multiply) return MultiplyHalf(c, d, a);
    const __m256i weighted = Div255(_mm256_mullo_epi16(c, a));
    if constexpr (mode == BlendMode::Add) return _mm256_add_epi16(weighted, d);
    return _mm256_add_epi16(weighted,
                            Div255(_mm256_mullo_epi16(_mm256_xor_si256(a, _mm256_set1_epi16(255)), d)));
}

// The row's whole eights; the pixels left over are the SSE2 kernel's.
template <BlendMode mode, bool modulated>
ZORBEL_AVX2 int ModulatedRowAvx2(const uint32_t* s, uint32_t* d, int n, Mods m) {
    const __m256i mods =
        _mm256_set_epi16(m.a, m.r, m.g, m.b, m.a, m.r, m.g, m.b, m.a, m.r, m.g, m.b, m.a, m.r, m.g, m.b);
    const __m256i zero = _mm256_setzero_si256(), rgb = _mm256_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256i* at = reinterpret_cast<__m256i*>(d + i);
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i dv = _mm256_loadu_si256(at);
        const __m256i out =
            _mm256_packus_epi16(ModulatedHalf<mode, modulated>(_mm256_unpacklo_epi8(sv, zero),
                                                               _mm256_unpacklo_epi8(dv, zero), mods),
                                ModulatedHalf<mode, modulated>(_mm256_unpackhi_epi8(sv, zero),
                                                               _mm256_unpackhi_epi8(dv, zero), mods));
        _mm256_storeu_si256(at, _mm256_and_si256(out, rgb));
    }
    return i;
}

template <BlendMode mode>
ZORBEL_AVX2 int ModulatedRowAvx2AnyMods(const uint32_t* s, uint32_t* d, int n, Mods m) {
    return m.None() ? ModulatedRowAvx2<mode, false>(s, d, n, m) : ModulatedRowAvx2<mode, true>(s, d, n, m);
}

ZORBEL_AVX2 int PixelAlphaRowAvx2(const uint32_t* s, uint32_t* d, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i alpha = _mm256_srli_epi32(sv, 24);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, _mm256_setzero_si256())) == -1)
            continue; // eight clear pixels leave the picture as it is
        __m256i* at = reinterpret_cast<__m256i*>(d + i);
        // Eight opaque ones replace it, as PixelAlpha8 would, without reading it.
        const bool opaque = _mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, _mm256_set1_epi32(255))) == -1;
        _mm256_storeu_si256(at, opaque ? sv : PixelAlpha8(sv, _mm256_loadu_si256(at)));
    }
    return i;
}

ZORBEL_AVX2 void Avx2Row(const uint32_t* s, uint32_t* d, int n, BlendMode mode, Mods m) {
    int i;
    if (mode == BlendMode::Alpha && m.None())
        i = PixelAlphaRowAvx2(s, d, n);
    else if (mode == BlendMode::Alpha)
        i = ModulatedRowAvx2AnyMods<BlendMode::Alpha>(s, d, n, m);
    else if (mode == BlendMode::Add)
        i = ModulatedRowAvx2AnyMods<BlendMode::Add>(s, d, n, m);
    else
        i = ModulatedRowAvx2AnyMods<BlendMode::Multiply>(s, d, n, m);
    // The SSE2 code is not VEX-encoded: left with the upper halves in use, it and everything after it would
    // pay for the mix (the compiler leaves this out before the tail call).
    _mm256_zeroupper();
    Sse2Row(s + i, d + i, n - i, mode, m);
}
#endif

} // namespace

bool ClipCopy(Rect& from, int& x, int& y, int w, int h) {
    if (x < 0) {
        from.w += x;
        from.x -= x;
        x = 0;
    }
    from.w -= std::max(x + from.w - w, 0);
    if (y < 0) {
        from.h += y;
        from.y -= y;
        y = 0;
    }
    from.h -= std::max(y + from.h - h, 0);
    return from.w > 0 && from.h > 0;
}

void BlendInto(const View& src, int sx, int sy, const View& dst, int dx, int dy, int w, int h, BlendMode mode,
               Mods mods, Kernel kernel) {
#ifdef ZORBEL_PIXELS_AVX2
    if (kernel == Kernel::Avx2 && HaveAvx2()) {
        for (int row = 0; row < h; ++row)
            Avx2Row(src.Row(sy + row) + sx, dst.Row(dy + row) + dx, w, mode, mods);
        return;
    }
#endif
    for (int row = 0; row < h; ++row) {
        const uint32_t* s = src.Row(sy + row) + sx;
        uint32_t* d = dst.Row(dy + row) + dx;
#ifdef __SSE2__
        if (kernel != Kernel::Plain) { // AVX2 without the CPU for it gets SSE2
            Sse2Row(s, d, w, mode, mods);
            continue;
        }
#endif
        (void)kernel;
        PlainRow(s, d, w, mode, mods);
    }
}

} // namespace zorbel::pixels
