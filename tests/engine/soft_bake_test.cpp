// Turning and blending in one pass: the pixels of a turned copy blitted onto a picture, by either kernel,
// with SDL's own blends.
#include "soft_bake.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

using namespace zorbel::pixels;

namespace {

// Random pixels in three bands, as marks have them: black with any alpha on the left, mostly transparent
// (colour kept) with a visible pixel here and there in the middle, and anything on the right, every seventh
// pixel opaque.
Buffer Noise(int w, int h, uint32_t seed) {
    Buffer picture(w, h);
    const View v = picture.view();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            uint32_t pixel = seed;
            if (3 * x < w)
                pixel &= 0xFF000000u;
            else if (3 * x < 2 * w && (x + 3 * y) % 5 != 0)
                pixel &= 0x00FFFFFFu;
            else if ((x + y) % 7 == 0)
                pixel |= 0xFF000000u;
            v.Row(y)[x] = pixel;
        }
    return picture;
}

// The picture inside a margin of `left`, `top`, `right` and `bottom` pixels that are transparent but keep a
// colour, as marks have round their drawing.
Buffer Framed(const View& inside, int left, int top, int right, int bottom) {
    Buffer picture(inside.w + left + right, inside.h + top + bottom);
    const View v = picture.view();
    for (int y = 0; y < v.h; ++y)
        for (int x = 0; x < v.w; ++x)
            v.Row(y)[x] = 0x00C08040u + static_cast<uint32_t>(x * 7 + y);
    for (int y = 0; y < inside.h; ++y)
        for (int x = 0; x < inside.w; ++x)
            v.Row(y + top)[x + left] = inside.Row(y)[x];
    return picture;
}

uint32_t Blend(uint32_t s, uint32_t d, const Modulation& mod) {
    return mod.None() ? BlendPixel(s, d) : BlendPixel(s, d, mod);
}

// The long way: the turn into a cleared copy of its box, then every pixel of the copy blended where it lands.
std::vector<uint32_t> TurnedThenBlitted(const View& src, const TurnPlan& plan, Filter filter, Buffer ground,
                                        int x, int y, const Modulation& mod) {
    Buffer turned(plan.box.w, plan.box.h);
    Turn(src, turned.view(), plan, filter, Kernel::Plain);
    const View out = ground.view(), copy = turned.view();
    for (int by = 0; by < copy.h; ++by)
        for (int bx = 0; bx < copy.w; ++bx)
            if (x + bx >= 0 && x + bx < out.w && y + by >= 0 && y + by < out.h)
                out.Row(y + by)[x + bx] = Blend(copy.Row(by)[bx], out.Row(y + by)[x + bx], mod);
    return std::vector<uint32_t>(out.data, out.data + out.w * out.h);
}

std::vector<uint32_t> TurnedOnto(const View& src, const TurnPlan& plan, Filter filter, Buffer ground, int x,
                                 int y, const Modulation& mod, Kernel kernel) {
    const View out = ground.view();
    TurnOnto(src, OpaquePart(src), plan, filter, out, x, y, mod, kernel);
    return std::vector<uint32_t>(out.data, out.data + out.w * out.h);
}

// A turn by the angle (none for NaN: the picture laid down unturned), of pictures of several sizes, some in
// transparent margins the turn may skip, landing inside, across each edge of and beyond a 64 × 48 ground,
// filtered both ways, plain, tinted and faded: every kernel asked for gives what the turned copy blitted
// gives.
void ExpectEachKernelGivesTheBlittedCopy(double angle, std::initializer_list<Kernel> kernels) {
    struct Size {
        int w, h;
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    const Size sizes[] = {{1, 1},
                          {3, 5},
                          {23, 17},
                          {40, 9},
                          {64, 64},
                          {1, 1, 2, 1, 1, 3},
                          {9, 5, 1, 0, 6, 2},
                          {17, 23, 12, 9, 1, 14},
                          {0, 0, 5, 4, 3, 2}};
    const Modulation mods[] = {{}, {250, 180, 120, 255}, {255, 255, 255, 120}, {0, 0, 0, 100}};
    const std::pair<int, int> places[] = {{10, 8}, {-9, 20}, {40, 30}, {30, -12}, {-70, 0}};
    for (const Size& size : sizes) {
        Buffer inside = Noise(size.w, size.h, static_cast<uint32_t>(size.w * 131 + size.h));
        Buffer source = Framed(inside.view(), size.left, size.top, size.right, size.bottom);
        const int w = source.view().w, h = source.view().h;
        const TurnPlan plan = angle != angle ? PlanUnturned(w, h) : PlanTurn(w, h, angle, w / 2.0f, h / 2.0f);
        for (const Filter filter : {Filter::Bilinear, Filter::Nearest})
            for (const Modulation& mod : mods)
                for (const auto& [x, y] : places) {
                    SCOPED_TRACE(testing::Message()
                                 << w << "x" << h << (filter == Filter::Nearest ? " nearest" : " bilinear")
                                 << " mod " << int{mod.r} << "," << int{mod.a} << " at " << x << "," << y);
                    const Buffer ground = Noise(64, 48, 99);
                    const std::vector<uint32_t> expected =
                        TurnedThenBlitted(source.view(), plan, filter, ground, x, y, mod);
                    for (const Kernel kernel : kernels) {
                        SCOPED_TRACE(testing::Message() << "kernel " << static_cast<int>(kernel));
                        EXPECT_EQ(TurnedOnto(source.view(), plan, filter, ground, x, y, mod, kernel),
                                  expected);
                    }
                }
    }
}

class OnePass : public ::testing::TestWithParam<double> {};

TEST_P(OnePass, GivesTheTurnedCopyBlittedByEitherKernel) {
    if (kHaveSse2)
        ExpectEachKernelGivesTheBlittedCopy(GetParam(), {Kernel::Plain, Kernel::Sse2});
    else
        ExpectEachKernelGivesTheBlittedCopy(GetParam(), {Kernel::Plain});
}

TEST_P(OnePass, GivesTheTurnedCopyBlittedFourPixelsAtATimeWithAvx2) {
    if (!HaveAvx2()) GTEST_SKIP() << "this CPU has no AVX2";
    ExpectEachKernelGivesTheBlittedCopy(GetParam(), {Kernel::Avx2});
}

INSTANTIATE_TEST_SUITE_P(Angles, OnePass,
                         ::testing::Values(0.01, -0.3, 33.7, -45.0, 89.99, 90.0, 180.0, 181.5, 270.0, 300.2,
                                           359.99, std::numeric_limits<double>::quiet_NaN()));

// BlendPixel is SDL's blit of one ARGB8888 surface onto another with alpha blending, with and without the
// colour and alpha mods, for every alpha.
class SdlBlit : public ::testing::TestWithParam<Modulation> {};

TEST_P(SdlBlit, BlendsEveryPixelAsBlendPixel) {
    const Modulation mod = GetParam();
    constexpr int kW = 256, kH = 64;
    Buffer src = Noise(kW, kH, 5), dst = Noise(kW, kH, 6);
    for (int i = 0; i < kW; ++i) // every alpha over every row's ground
        src.view().data[i] = (src.view().data[i] & 0xFFFFFFu) | (static_cast<uint32_t>(i) << 24);
    std::vector<uint32_t> expected(dst.view().data, dst.view().data + kW * kH);
    for (int i = 0; i < kW * kH; ++i)
        expected[static_cast<size_t>(i)] = Blend(src.view().data[i], expected[static_cast<size_t>(i)], mod);
    SDL_Surface* from =
        SDL_CreateRGBSurfaceWithFormatFrom(src.view().data, kW, kH, 32, kW * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* onto =
        SDL_CreateRGBSurfaceWithFormatFrom(dst.view().data, kW, kH, 32, kW * 4, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_TRUE(from && onto);
    SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceColorMod(from, mod.r, mod.g, mod.b);
    SDL_SetSurfaceAlphaMod(from, mod.a);
    ASSERT_EQ(SDL_BlitSurface(from, nullptr, onto, nullptr), 0);
    SDL_FreeSurface(from);
    SDL_FreeSurface(onto);
    EXPECT_EQ(std::vector<uint32_t>(dst.view().data, dst.view().data + kW * kH), expected);
}

INSTANTIATE_TEST_SUITE_P(Mods, SdlBlit,
                         ::testing::Values(Modulation{}, Modulation{250, 180, 120, 255},
                                           Modulation{255, 255, 255, 120}, Modulation{0, 0, 0, 100},
                                           Modulation{255, 254, 255, 1}));

} // namespace
