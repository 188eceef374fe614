// Reading back the logical picture, unscaling it when the window letterboxes it.
#include "screen.h"

#include "engine.h"

#include <cmath>

namespace zorbel::screen {
namespace {

SDL_Surface* NewPicture(int w, int h) {
    return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
}

// Where the logical picture lies in output pixels.
SDL_Rect PictureInOutput(int outputW, int outputH) {
    int windowW = 0, windowH = 0;
    SDL_GetWindowSize(gVideo.window, &windowW, &windowH);
    const float sx = windowW > 0 ? static_cast<float>(outputW) / static_cast<float>(windowW) : 1.0f;
    const float sy = windowH > 0 ? static_cast<float>(outputH) / static_cast<float>(windowH) : 1.0f;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    SDL_RenderLogicalToWindow(gVideo.renderer, 0.0f, 0.0f, &x0, &y0);
    SDL_RenderLogicalToWindow(gVideo.renderer, static_cast<float>(gVideo.logicalW),
                              static_cast<float>(gVideo.logicalH), &x1, &y1);
    return SDL_Rect{static_cast<int>(std::lround(static_cast<float>(x0) * sx)),
                    static_cast<int>(std::lround(static_cast<float>(y0) * sy)),
                    static_cast<int>(std::lround(static_cast<float>(x1 - x0) * sx)),
                    static_cast<int>(std::lround(static_cast<float>(y1 - y0) * sy))};
}

} // namespace

SDL_Surface* ReadLogicalPicture() {
    if (!gVideo.renderer) return nullptr;
    int outputW = 0, outputH = 0;
    SDL_GetRendererOutputSize(gVideo.renderer, &outputW, &outputH);
    SDL_Surface* output = NewPicture(outputW, outputH);
    if (!output) return nullptr;
    const SDL_Rect all{0, 0, outputW, outputH};
    if (SDL_RenderReadPixels(gVideo.renderer, &all, SDL_PIXELFORMAT_ARGB8888, output->pixels,
                             output->pitch) != 0) {
        Report("cannot read the picture back: %s", SDL_GetError());
        SDL_FreeSurface(output);
        return nullptr;
    }
    if (outputW == gVideo.logicalW && outputH == gVideo.logicalH) return output;
    SDL_Surface* picture = NewPicture(gVideo.logicalW, gVideo.logicalH);
    const SDL_Rect source = PictureInOutput(outputW, outputH);
    if (picture && SDL_SoftStretchLinear(output, &source, picture, nullptr) != 0) {
        Report("cannot unscale the picture: %s", SDL_GetError());
        SDL_FreeSurface(picture);
        picture = nullptr;
    }
    SDL_FreeSurface(output);
    return picture;
}

} // namespace zorbel::screen
