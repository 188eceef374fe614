// Blending into an RGB888 picture: the plain and SSE2 kernels give SDL's own blitters' bytes, top byte
// included, for every blend mode and modulation the engine draws with.
#include "blend.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

using namespace zorbel::pixels;

namespace {

// Every alpha against many colours, over a background whose top bytes are not all zero.
constexpr int kW = 256, kH = 64;

std::vector<uint32_t> Pattern(uint32_t seed, bool everyAlpha) {
    std::vector<uint32_t> pixels(kW * kH);
    for (size_t i = 0; i < pixels.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        pixels[i] = everyAlpha ? (static_cast<uint32_t>(i % 256) << 24) | (seed >> 8) : seed;
    }
    return pixels;
}

struct Row {
    SDL_BlendMode sdl;
    BlendMode mode;
    Mods mods;
};

class Blending : public testing::TestWithParam<Row> {};

TEST_P(Blending, KernelsGiveSdlsBytes) {
    const Row& row = GetParam();
    std::vector<uint32_t> src = Pattern(7, true), background = Pattern(99, false);
    // SDL's own blit, as its software renderer makes it: the copy's corner past the picture's top left.
    constexpr int kX = -3, kY = -5;
    std::vector<uint32_t> sdl = background;
    SDL_Surface* from =
        SDL_CreateRGBSurfaceWithFormatFrom(src.data(), kW, kH, 32, kW * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* into =
        SDL_CreateRGBSurfaceWithFormatFrom(sdl.data(), kW, kH, 32, kW * 4, SDL_PIXELFORMAT_RGB888);
    ASSERT_TRUE(from && into);
    SDL_SetSurfaceBlendMode(from, row.sdl);
    SDL_SetSurfaceColorMod(from, row.mods.r, row.mods.g, row.mods.b);
    SDL_SetSurfaceAlphaMod(from, row.mods.a);
    SDL_Rect at{kX, kY, kW, kH};
    ASSERT_EQ(SDL_BlitSurface(from, nullptr, into, &at), 0);
    SDL_FreeSurface(from);
    SDL_FreeSurface(into);

    // There is no AVX2 blit: asking for it gets SSE2.
    for (const Kernel kernel : {Kernel::Plain, Kernel::Sse2, Kernel::Avx2}) {
        SCOPED_TRACE(kernel == Kernel::Plain ? "plain" : kernel == Kernel::Sse2 ? "SSE2" : "AVX2");
        std::vector<uint32_t> ours = background;
        Rect rect{0, 0, kW, kH};
        int x = kX, y = kY;
        ASSERT_TRUE(ClipCopy(rect, x, y, kW, kH));
        BlendInto(View{kW, kH, kW, src.data()}, rect.x, rect.y, View{kW, kH, kW, ours.data()}, x, y, rect.w,
                  rect.h, row.mode, row.mods, kernel);
        size_t differing = 0;
        for (size_t i = 0; i < ours.size(); ++i)
            differing += ours[i] != sdl[i];
        EXPECT_EQ(differing, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(ModesAndMods, Blending,
                         testing::Values(Row{SDL_BLENDMODE_BLEND, BlendMode::Alpha, {}},
                                         Row{SDL_BLENDMODE_BLEND, BlendMode::Alpha, {0, 0, 0, 100}},
                                         Row{SDL_BLENDMODE_BLEND, BlendMode::Alpha, {250, 180, 255, 255}},
                                         Row{SDL_BLENDMODE_BLEND, BlendMode::Alpha, {255, 255, 255, 1}},
                                         Row{SDL_BLENDMODE_ADD, BlendMode::Add, {}},
                                         Row{SDL_BLENDMODE_ADD, BlendMode::Add, {90, 200, 255, 128}},
                                         Row{SDL_BLENDMODE_MUL, BlendMode::Multiply, {}},
                                         Row{SDL_BLENDMODE_MUL, BlendMode::Multiply, {200, 150, 0, 128}}));

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
