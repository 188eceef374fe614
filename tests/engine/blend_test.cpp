// Blending into an RGB888 picture: the plain, SSE2 and AVX2 kernels give SDL's own blitters' bytes, top byte
// included, for every blend mode and modulation the engine draws with.
#include "blend.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <ostream>
#include <tuple>
#include <vector>

namespace zorbel::pixels {
void PrintTo(Kernel kernel, std::ostream* os) {
    *os << (kernel == Kernel::Plain ? "plain" : kernel == Kernel::Sse2 ? "SSE2" : "AVX2");
}
} // namespace zorbel::pixels

using namespace zorbel::pixels;

namespace {

// Every alpha against many colours, over a background whose top bytes are not all zero; of every four rows of
// the copy one is clear and one opaque. The copy's corner lies past the picture's top left, so it is three
// pixels narrower than the picture: widths of 1, 7, 13, 253 and 256 take each kernel's step alone and with
// every kind of leftover.
constexpr int kH = 64;
constexpr int kPictureWidths[] = {4, 10, 16, 256, 259};

std::vector<uint32_t> Pattern(int w, uint32_t seed, bool everyAlpha) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * kH);
    for (size_t i = 0; i < pixels.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const size_t row = (i / static_cast<size_t>(w)) % 4;
        pixels[i] = !everyAlpha ? seed
                    : row == 3  ? seed >> 8
                    : row == 1  ? 0xFF000000u | (seed >> 8)
                                : (static_cast<uint32_t>(i % 256) << 24) | (seed >> 8);
    }
    return pixels;
}

struct Row {
    SDL_BlendMode sdl;
    BlendMode mode;
    Mods mods;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << (row.mode == BlendMode::Alpha ? "alpha"
            : row.mode == BlendMode::Add ? "add"
                                         : "multiply")
        << " rgba " << +row.mods.r << ' ' << +row.mods.g << ' ' << +row.mods.b << ' ' << +row.mods.a;
}

class Blending : public testing::TestWithParam<std::tuple<Row, Kernel, int>> {};

TEST_P(Blending, KernelGivesSdlsBytes) {
    const auto& [row, kernel, w] = GetParam();
    if (kernel == Kernel::Avx2 && !HaveAvx2()) GTEST_SKIP() << "no AVX2 on this CPU";
    std::vector<uint32_t> src = Pattern(w, 7, true), background = Pattern(w, 99, false);
    // SDL's own blit, as its software renderer makes it: the copy's corner past the picture's top left.
    constexpr int kX = -3, kY = -5;
    std::vector<uint32_t> sdl = background;
    SDL_Surface* from =
        SDL_CreateRGBSurfaceWithFormatFrom(src.data(), w, kH, 32, w * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* into =
        SDL_CreateRGBSurfaceWithFormatFrom(sdl.data(), w, kH, 32, w * 4, SDL_PIXELFORMAT_RGB888);
    ASSERT_TRUE(from && into);
    SDL_SetSurfaceBlendMode(from, row.sdl);
    SDL_SetSurfaceColorMod(from, row.mods.r, row.mods.g, row.mods.b);
    SDL_SetSurfaceAlphaMod(from, row.mods.a);
    SDL_Rect at{kX, kY, w, kH};
    ASSERT_EQ(SDL_BlitSurface(from, nullptr, into, &at), 0);
    SDL_FreeSurface(from);
    SDL_FreeSurface(into);

    std::vector<uint32_t> ours = background;
    Rect rect{0, 0, w, kH};
    int x = kX, y = kY;
    ASSERT_TRUE(ClipCopy(rect, x, y, w, kH));
    BlendInto(View{w, kH, w, src.data()}, rect.x, rect.y, View{w, kH, w, ours.data()}, x, y, rect.w, rect.h,
              row.mode, row.mods, kernel);
    size_t differing = 0;
    for (size_t i = 0; i < ours.size(); ++i)
        differing += ours[i] != sdl[i];
    EXPECT_EQ(differing, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    ModesAndMods, Blending,
    testing::Combine(testing::Values(Row{SDL_BLENDMODE_BLEND, BlendMode::Alpha, {}},
                                     Row{SDL_BLENDMODE_BLEND, BlendMode::Alpha, {0, 0, 0, 100}},
                                     Row{SDL_BLENDMODE_BLEND, BlendMode::Alpha, {250, 180, 255, 255}},
                                     Row{SDL_BLENDMODE_BLEND, BlendMode::Alpha, {255, 255, 255, 1}},
                                     Row{SDL_BLENDMODE_ADD, BlendMode::Add, {}},
                                     Row{SDL_BLENDMODE_ADD, BlendMode::Add, {90, 200, 255, 128}},
                                     Row{SDL_BLENDMODE_MUL, BlendMode::Multiply, {}},
                                     Row{SDL_BLENDMODE_MUL, BlendMode::Multiply, {200, 150, 0, 128}}),
                     testing::Values(Kernel::Plain, Kernel::Sse2, Kernel::Avx2),
                     testing::ValuesIn(kPictureWidths)));

// SDL's blit clipping: a copy past any edge keeps only what lies inside, its source moving with it.
TEST(ClipCopy, CutsWhatLiesOutsideAndMovesTheSource) {
    struct Case {
        Rect from;
        int x, y;
        Rect clipped;
        int cx, cy;
        bool left;
    };
    const Case cases[] = {{{2, 3, 10, 8}, -4, -2, {6, 5, 6, 6}, 0, 0, true},
                          {{0, 0, 10, 8}, 95, 97, {0, 0, 5, 3}, 95, 97, true},
                          {{0, 0, 10, 8}, -10, 0, {}, 0, 0, false},
                          {{0, 0, 1, 1}, 99, 99, {0, 0, 1, 1}, 99, 99, true}};
    for (const Case& c : cases) {
        Rect from = c.from;
        int x = c.x, y = c.y;
        ASSERT_EQ(ClipCopy(from, x, y, 100, 100), c.left);
        if (!c.left) continue;
        EXPECT_EQ((std::vector<int>{from.x, from.y, from.w, from.h, x, y}),
                  (std::vector<int>{c.clipped.x, c.clipped.y, c.clipped.w, c.clipped.h, c.cx, c.cy}));
    }
}

} // namespace
