// Faces drawn by the engine compared with SDL's own drawing into a render target, on a test picture.
#include "bake_check.h"

#include "bake.h"
#include "copy_cache.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zorbel::bake {
namespace {

constexpr int kSize = 96;
constexpr uint32_t kGround = 0xC8285A8Cu; // half-transparent, as ground is nowhere, to show alpha's blend too

struct Case {
    SDL_FRect dst;
    double angle;
    bool turned, frame, nearest, tinted;
};

// Draws the case on the picture with SDL into the target, and returns what the target holds.
std::vector<uint32_t> DrawnBySdl(SDL_Renderer* r, SDL_Texture* target, SDL_Texture* picture, const Case& c,
                                 const SDL_Rect* src) {
    std::vector<uint32_t> read(kSize * kSize);
    SDL_SetRenderTarget(r, target);
    SDL_SetRenderDrawColor(r, 0x28, 0x5A, 0x8C, 0xC8);
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
    SDL_RenderClear(r);
    c.turned ? SDL_RenderCopyExF(r, picture, src, &c.dst, c.angle, nullptr, SDL_FLIP_NONE)
             : SDL_RenderCopyF(r, picture, src, &c.dst);
    if (SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, read.data(), kSize * 4) != 0) read.clear();
    return read;
}

// The same, queued into a face and made; empty if the engine would not make it.
std::vector<uint32_t> DrawnIntoFace(SDL_Texture* face, SDL_Texture* picture, const Case& c,
                                    const SDL_Rect* src) {
    Uint8 r = 255, g = 255, b = 255, a = 255;
    SDL_GetTextureColorMod(picture, &r, &g, &b);
    SDL_GetTextureAlphaMod(picture, &a);
    void* pixels = nullptr;
    int pitch = 0;
    std::vector<uint32_t> read;
    if (SDL_LockTexture(face, nullptr, &pixels, &pitch) != 0) return read;
    for (int y = 0; y < kSize; ++y)
        std::fill_n(static_cast<uint32_t*>(pixels) + y * pitch / 4, kSize, kGround);
    SDL_UnlockTexture(face);
    DrawInto(face, FaceOf(face));
    const bool queued = Draw(PictureOf(picture), src, c.dst, c.angle, c.turned, SDL_BLENDMODE_BLEND,
                             (Uint32{r} << 16) | (Uint32{g} << 8) | b, a);
    DrawInto(nullptr, nullptr);
    Settle();
    if (!queued || SDL_LockTexture(face, nullptr, &pixels, &pitch) != 0) return read;
    for (int y = 0; y < kSize; ++y) {
        const uint32_t* row = static_cast<const uint32_t*>(pixels) + y * pitch / 4;
        read.insert(read.end(), row, row + kSize);
    }
    SDL_UnlockTexture(face);
    return read;
}

} // namespace

bool FacesDrawLikeSdl(SDL_Renderer* r) {
    constexpr int kPicW = 23, kPicH = 17;
    std::vector<uint32_t> pixels(kPicW * kPicH);
    for (int i = 0; i < kPicW * kPicH; ++i)
        pixels[static_cast<size_t>(i)] =
            (static_cast<uint32_t>(i * 37 % 256) << 24) | (static_cast<uint32_t>(i * 11 % 256) << 16) |
            (static_cast<uint32_t>(i * 53 % 256) << 8) | static_cast<uint32_t>(i * 7 % 256);
    SDL_Texture* previous = SDL_GetRenderTarget(r);
    SDL_Texture* picture =
        SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kPicW, kPicH);
    SDL_Texture* target =
        SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kSize, kSize);
    SDL_Texture* face = NewFace(kSize, kSize);
    bool same =
        picture && target && face && SDL_UpdateTexture(picture, nullptr, pixels.data(), kPicW * 4) == 0;
    if (picture) SDL_SetTextureBlendMode(picture, SDL_BLENDMODE_BLEND);
    // Marks as the game lays them: turned bilinear or nearest, plain or tinted and faded, a frame of a sheet,
    // across the target's edges; quarter turns; unturned at the picture's size or stretched.
    const Case cases[] = {{{30.5f, 20.25f, 23, 17}, 33.7, true, false, false, false},
                          {{-7.5f, 40, 31, 12}, 181.5, true, true, false, true},
                          {{60, -3, 41, 29}, 300.2, true, false, true, false},
                          {{20, 50, 40, 40}, -45, true, true, true, true},
                          {{70.9f, 70.1f, 50, 33}, 359.5, true, false, false, true},
                          {{10, 10, 40.5f, 30.2f}, 90, true, false, false, true},
                          {{-5, 60, 12, 10}, 270, true, true, true, false},
                          {{40.7f, 30.2f, 23, 17}, 0, false, false, false, true},
                          {{30, 30, 41, 23}, 0, false, true, false, false},
                          {{-20, -10, 80, 70}, 0, false, false, false, true},
                          {{70, 60, 50, 40}, 0, false, false, true, false}};
    for (const Case& c : cases) {
        if (!same) break;
        const SDL_Rect frame{5, 3, 12, 10};
        const SDL_Rect* src = c.frame ? &frame : nullptr;
        SDL_SetTextureScaleMode(picture, c.nearest ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        SDL_SetTextureColorMod(picture, c.tinted ? 250 : 255, c.tinted ? 180 : 255, 255);
        SDL_SetTextureAlphaMod(picture, c.tinted ? 200 : 255);
        const std::vector<uint32_t> bySdl = DrawnBySdl(r, target, picture, c, src);
        same = !bySdl.empty() && bySdl == DrawnIntoFace(face, picture, c, src);
    }
    SDL_SetRenderTarget(r, previous);
    if (picture) copycache::Forget(picture);
    if (face) Forget(face);
    for (SDL_Texture* t : {picture, target, face})
        if (t) SDL_DestroyTexture(t);
    return same;
}

} // namespace zorbel::bake
