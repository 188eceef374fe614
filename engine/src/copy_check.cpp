// The copy cache's drawing compared with SDL's own on test pictures.
#include "copy_check.h"

#include <cstdint>
#include <vector>

namespace zorbel::copycache {

bool DrawsLikeSdl(SDL_Renderer* r, const CachedDraw& cached) {
    constexpr int kSize = 96, kPicW = 23, kPicH = 17;
    std::vector<uint32_t> picture(kPicW * kPicH);
    for (int i = 0; i < kPicW * kPicH; ++i)
        picture[static_cast<size_t>(i)] =
            (static_cast<uint32_t>(i * 37 % 256) << 24) | (static_cast<uint32_t>(i * 11 % 256) << 16) |
            (static_cast<uint32_t>(i * 53 % 256) << 8) | static_cast<uint32_t>(i * 7 % 256);
    SDL_Texture* previous = SDL_GetRenderTarget(r);
    SDL_Texture* pic =
        SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kPicW, kPicH);
    SDL_Texture* targets[2] = {
        SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kSize, kSize),
        SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kSize, kSize)};
    bool same =
        pic && targets[0] && targets[1] && SDL_UpdateTexture(pic, nullptr, picture.data(), kPicW * 4) == 0;
    struct Case {
        SDL_FRect dst;
        double angle; // 0: stretched, not turned
        bool frame, nearest, add;
    };
    const Case cases[] = {{{30.5f, 20.25f, 23, 17}, 33.7, false, false, false},
                          {{10, 10, 40.5f, 30.2f}, 90, false, false, false},
                          {{-7.5f, 40, 31, 12}, 181.5, true, false, true},
                          {{60, -3, 11, 9}, 270, false, true, false},
                          {{20, 50, 40, 40}, -45, true, true, false},
                          {{70.9f, 70.1f, 50, 33}, 359.5, false, false, false},
                          {{-20, -10, 80, 70}, 0, false, false, false},
                          {{30, 30, 41, 23}, 0, true, false, false},
                          {{50, 60, 70, 50}, 0, false, true, true}};
    for (const Case& c : cases) {
        if (!same) break;
        const SDL_Rect frame{5, 3, 12, 10};
        const SDL_Rect* src = c.frame ? &frame : nullptr;
        SDL_SetTextureScaleMode(pic, c.nearest ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        SDL_SetTextureBlendMode(pic, c.add ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
        SDL_SetTextureColorMod(pic, 250, 180, 255);
        SDL_SetTextureAlphaMod(pic, 200);
        std::vector<uint32_t> read[2];
        for (int way = 0; way < 2; ++way) {
            SDL_SetRenderTarget(r, targets[way]);
            SDL_SetRenderDrawColor(r, 40, 90, 140, 255);
            SDL_RenderClear(r);
            bool drawn = true;
            if (way == 0)
                c.angle != 0 ? SDL_RenderCopyExF(r, pic, src, &c.dst, c.angle, nullptr, SDL_FLIP_NONE)
                             : SDL_RenderCopyF(r, pic, src, &c.dst);
            else
                drawn = cached(pic, src, c.dst, c.angle);
            read[way].resize(kSize * kSize);
            same =
                same && drawn &&
                SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, read[way].data(), kSize * 4) == 0;
        }
        same = same && read[0] == read[1];
    }
    SDL_SetRenderTarget(r, previous);
    for (SDL_Texture* t : {pic, targets[0], targets[1]})
        if (t) SDL_DestroyTexture(t);
    return same;
}

} // namespace zorbel::copycache
