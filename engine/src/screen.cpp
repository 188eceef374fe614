// The logical picture: every frame is drawn into it at the logical size, then shown letterboxed in the
// window.
#include "screen.h"

#include "engine.h"
#include "soft_frame.h"

namespace zorbel::screen {

bool CreatePicture() {
    SDL_Renderer* r = gVideo.renderer;
    gVideo.picture = SDL_CreateTexture(r, SDL_GetWindowPixelFormat(gVideo.window), SDL_TEXTUREACCESS_TARGET,
                                       gVideo.logicalW, gVideo.logicalH);
    if (!gVideo.picture)
        gVideo.picture = SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                           gVideo.logicalW, gVideo.logicalH);
    if (!gVideo.picture) {
        Report("cannot make the %dx%d picture: %s", gVideo.logicalW, gVideo.logicalH, SDL_GetError());
        return false;
    }
    SDL_SetTextureBlendMode(gVideo.picture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(gVideo.picture, SDL_ScaleModeLinear);
    return true;
}

void DestroyPicture() {
    if (gVideo.picture) SDL_DestroyTexture(gVideo.picture);
    gVideo.picture = nullptr;
}

void DrawIntoPicture() {
    SDL_SetRenderTarget(gVideo.renderer, gVideo.picture);
}

void Present() {
    SDL_Renderer* r = gVideo.renderer;
    softframe::Publish();
    // The window's own target carries the logical size, so the copy lands letterboxed and the cursor maps
    // back.
    SDL_SetRenderTarget(r, nullptr);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_RenderCopy(r, gVideo.picture, nullptr, nullptr);
    SDL_RenderPresent(r);
}

SDL_Surface* ReadLogicalPicture() {
    if (!gVideo.renderer || !gVideo.picture) return nullptr;
    SDL_Surface* picture =
        SDL_CreateRGBSurfaceWithFormat(0, gVideo.logicalW, gVideo.logicalH, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!picture) return nullptr;
    SDL_Texture* previous = SDL_GetRenderTarget(gVideo.renderer);
    SDL_SetRenderTarget(gVideo.renderer, gVideo.picture);
    softframe::Publish();
    const int read = SDL_RenderReadPixels(gVideo.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, picture->pixels,
                                          picture->pitch);
    SDL_SetRenderTarget(gVideo.renderer, previous);
    if (read != 0) {
        Report("cannot read the picture back: %s", SDL_GetError());
        SDL_FreeSurface(picture);
        return nullptr;
    }
    return picture;
}

} // namespace zorbel::screen
