// SDL 2's software turn (src/render/software/SDL_rotate.c) over plain pixels, and its stretch called
// directly.
#include "soft_transform.h"

#include "turn_rows.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace zorbel::pixels {
namespace {

void RotatePoint(double sx, double sy, double sinangle, double cosangle, double cx, double cy, double* dx,
                 double* dy) {
    sx -= cx;
    sy -= cy;
    *dx = cosangle * sx - sinangle * sy;
    *dy = sinangle * sx + cosangle * sy;
    *dx += cx;
    *dy += cy;
}

// Each kernel below writes the pixels of `part` of the box (in the box's coordinates) into dst, of part's
// size.
// transformSurfaceRGBA90: a quarter turn (or several) copies pixels without filtering.
void TurnQuarters(const View& src, const View& dst, int quarters, const Rect& part) {
    for (int dy = part.y; dy < part.y + part.h; ++dy) {
        uint32_t* out = dst.Row(dy - part.y);
        for (int dx = part.x; dx < part.x + part.w; ++dx) {
            int sx = 0, sy = 0;
            QuarterSource(quarters, src.w, src.h, dx, dy, &sx, &sy);
            out[dx - part.x] = src.Row(sy)[sx];
        }
    }
}

// transformSurfaceRGBA: walks the box, stepping through the source in 16.16 fixed point; `put` writes the
// pixel at one source position, or leaves it.
template <typename Put> void Walk(const View& dst, const TurnPlan& plan, const Rect& part, Put put) {
    for (int y = part.y; y < part.y + part.h; ++y) {
        int sdx = 0, sdy = 0;
        RowStart(plan, y, &sdx, &sdy);
        sdx += part.x * plan.icos;
        sdy += part.x * plan.isin;
        uint32_t* out = dst.Row(y - part.y);
        for (int x = 0; x < part.w; ++x, sdx += plan.icos, sdy += plan.isin)
            put(sdx, sdy, out[x]);
    }
}

void TurnBilinear(const View& src, const View& dst, const TurnPlan& plan, const Rect& part) {
    Walk(dst, plan, part, [&src](int sdx, int sdy, uint32_t& out) {
        const int dx = sdx >> 16, dy = sdy >> 16;
        if (dx <= -1 || dy <= -1 || dx >= src.w - 1 || dy >= src.h - 1) return;
        const uint32_t* top = src.Row(dy) + dx;
        out = BilinearPixel(top, top + src.pitch, sdx & 0xffff, sdy & 0xffff);
    });
}

#ifdef __SSE2__
// The same turn a run of reached pixels at a time (the pixels around a run are the ones the walk leaves),
// their pixels written as they come.
struct CopyLay {
    void Two(const rows::PairSample& sample, uint32_t* out) const {
        const __m128i both = rows::BilinearTwo(sample);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(both, both));
    }
    void One(const rows::PairSample& sample, uint32_t* out) const {
        const __m128i both = rows::BilinearTwo(sample);
        *out = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(both, both)));
    }
#ifdef ZORBEL_PIXELS_AVX2
    ZORBEL_AVX2 void Four(const rows::QuadSample& sample, uint32_t* out) const {
        const __m256i four = rows::BilinearFour(sample);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_packus_epi16(_mm256_castsi256_si128(four), _mm256_extracti128_si256(four, 1)));
    }
#endif
};

// Where a turn's pixels land: the part's rows and columns of the box; where they read: the whole picture.
rows::Clip ClipOf(const Rect& part) {
    return rows::Clip{rows::Run{part.y, part.y + part.h}, rows::Run{part.x, part.x + part.w}};
}
Rect WholePicture(const View& src) {
    return rows::BilinearReach(src, Rect{0, 0, src.w, src.h});
}

void TurnBilinearSse2(const View& src, const View& dst, const TurnPlan& plan, const Rect& part) {
    rows::EachReaching(plan, ClipOf(part), WholePicture(src), [&](int by, rows::Run run, int sdx, int sdy) {
        rows::PairsOfRow(src.data, src.pitch, plan, dst.Row(by - part.y), run.begin - part.x,
                         run.end - part.x, sdx, sdy, CopyLay{});
    });
}

#ifdef ZORBEL_PIXELS_AVX2
ZORBEL_AVX2 void TurnBilinearAvx2(const View& src, const View& dst, const TurnPlan& plan, const Rect& part) {
    rows::EachReaching(plan, ClipOf(part), WholePicture(src),
                       [&](int by, rows::Run run, int sdx, int sdy) ZORBEL_AVX2 {
                           rows::QuadsOfRow(src.data, src.pitch, plan, dst.Row(by - part.y),
                                            run.begin - part.x, run.end - part.x, sdx, sdy, CopyLay{});
                       });
}
#endif
#endif

} // namespace

uint32_t BilinearPixel(const uint32_t* top, const uint32_t* bottom, int ex, int ey) {
    uint32_t pixel = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int a00 = static_cast<int>((top[0] >> shift) & 0xff),
                  a01 = static_cast<int>((top[1] >> shift) & 0xff);
        const int a10 = static_cast<int>((bottom[0] >> shift) & 0xff);
        const int a11 = static_cast<int>((bottom[1] >> shift) & 0xff);
        const int t1 = ((((a01 - a00) * ex) >> 16) + a00) & 0xff;
        const int t2 = ((((a11 - a10) * ex) >> 16) + a10) & 0xff;
        pixel |= static_cast<uint32_t>(static_cast<uint8_t>((((t2 - t1) * ey) >> 16) + t1)) << shift;
    }
    return pixel;
}

// SDLgfx_rotozoomSurfaceSizeTrig: the turned picture's bounding box about the centre, and the sine and cosine
// the turn steps by (reversed, as SDL turns clockwise).
TurnTrig TrigOf(double angle) {
    const double radangle = angle * (std::numbers::pi / 180.0);
    return TurnTrig{std::sin(radangle), std::cos(radangle)};
}

TurnPlan PlanTurn(int w, int h, double angle, float centerX, float centerY) {
    return PlanTurn(w, h, angle, TrigOf(angle), centerX, centerY);
}

TurnPlan PlanTurn(int w, int h, double angle, const TurnTrig& trig, float centerX, float centerY) {
    const double sinangle = trig.sin, cosangle = trig.cos;
    double x0, x1, x2, x3, y0, y1, y2, y3;
    RotatePoint(0.5, 0.5, sinangle, cosangle, centerX, centerY, &x0, &y0);
    RotatePoint(w - 0.5, 0.5, sinangle, cosangle, centerX, centerY, &x1, &y1);
    RotatePoint(0.5, h - 0.5, sinangle, cosangle, centerX, centerY, &x2, &y2);
    RotatePoint(w - 0.5, h - 0.5, sinangle, cosangle, centerX, centerY, &x3, &y3);
    const int minx = static_cast<int>(std::floor(std::min(std::min(x0, x1), std::min(x2, x3))));
    const int maxx = static_cast<int>(std::ceil(std::max(std::max(x0, x1), std::max(x2, x3))));
    const int miny = static_cast<int>(std::floor(std::min(std::min(y0, y1), std::min(y2, y3))));
    const int maxy = static_cast<int>(std::ceil(std::max(std::max(y0, y1), std::max(y2, y3))));
    TurnPlan plan;
    plan.box = Rect{minx, miny, maxx - minx, maxy - miny};
    plan.centerX = centerX;
    plan.centerY = centerY;
    double sangle = -sinangle, cangle = cosangle;
    // Whole quarter turns get exact sizes and factors (the trigonometry is a hair off there).
    int angle90 = static_cast<int>(angle / 90);
    if (angle90 == angle / 90) {
        angle90 %= 4;
        if (angle90 < 0) angle90 += 4;
        plan.quarters = angle90;
        if (angle90 & 1) {
            plan.box.w = h;
            plan.box.h = w;
            cangle = 0;
            sangle = angle90 == 1 ? -1 : 1;
        } else {
            plan.box.w = w;
            plan.box.h = h;
            cangle = angle90 == 0 ? 1 : -1;
            sangle = 0;
        }
    }
    plan.isin = static_cast<int>(sangle * 65536.0);
    plan.icos = static_cast<int>(cangle * 65536.0);
    return plan;
}

bool HaveAvx2() {
#ifdef ZORBEL_PIXELS_AVX2
    // The check may run before the constructors that would otherwise fill in what the CPU has.
    static const bool have = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return have;
#else
    return false;
#endif
}

void TurnPart(const View& src, const View& dst, const TurnPlan& plan, Filter filter, const Rect& wanted,
              Kernel kernel) {
    // Within the box, and no larger than dst.
    const Rect inBox = rows::Overlap(wanted, Rect{0, 0, plan.box.w, plan.box.h});
    const Rect part{inBox.x, inBox.y, std::min(inBox.w, dst.w), std::min(inBox.h, dst.h)};
    if (part.w <= 0 || part.h <= 0) return;
    if (plan.quarters >= 0) {
        TurnQuarters(src, dst, plan.quarters, part);
    } else if (filter == Filter::Nearest) {
        Walk(dst, plan, part, [&src](int sdx, int sdy, uint32_t& out) {
            const int dx = sdx >> 16, dy = sdy >> 16;
            if (static_cast<unsigned>(dx) < static_cast<unsigned>(src.w) &&
                static_cast<unsigned>(dy) < static_cast<unsigned>(src.h))
                out = src.Row(dy)[dx];
        });
#ifdef ZORBEL_PIXELS_AVX2
    } else if (kernel == Kernel::Avx2 && HaveAvx2()) {
        TurnBilinearAvx2(src, dst, plan, part);
#endif
#ifdef __SSE2__
    } else if (kernel != Kernel::Plain) { // AVX2 without the CPU for it gets SSE2
        TurnBilinearSse2(src, dst, plan, part);
#endif
    } else {
        TurnBilinear(src, dst, plan, part);
    }
}

bool Stretch(const View& src, const Rect& from, const View& dst, Filter filter) {
    if (from.x < 0 || from.y < 0 || from.w > src.w - from.x || from.h > src.h - from.y) return false;
    if (from.w == dst.w && from.h == dst.h) {
        for (int y = 0; y < dst.h; ++y)
            std::memcpy(dst.Row(y), src.Row(from.y + y) + from.x,
                        static_cast<size_t>(dst.w) * sizeof(uint32_t));
        return true;
    }
    SDL_Surface* in = SDL_CreateRGBSurfaceWithFormatFrom(src.data, src.w, src.h, 32, src.pitch * 4,
                                                         SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* out = SDL_CreateRGBSurfaceWithFormatFrom(dst.data, dst.w, dst.h, 32, dst.pitch * 4,
                                                          SDL_PIXELFORMAT_ARGB8888);
    const SDL_Rect source{from.x, from.y, from.w, from.h}, whole{0, 0, dst.w, dst.h};
    const bool done = in && out &&
                      (filter == Filter::Nearest ? SDL_SoftStretch(in, &source, out, &whole)
                                                 : SDL_SoftStretchLinear(in, &source, out, &whole)) == 0;
    SDL_FreeSurface(out);
    SDL_FreeSurface(in);
    return done;
}

} // namespace zorbel::pixels
