// Exports for tests and benchmarks: readback, window size, cursor mapping, SDL handles.
#include "bake.h"
#include "copy_cache.h"
#include "engine.h"
#include "screen.h"
#include "soft_frame.h"
#include "zorbel_debug.h"

#include <cstring>

using namespace zorbel;

ZORBEL_EXPORT int32_t ZBDebug_ReadScreen(uint32_t* pixels, int32_t width, int32_t height) {
    if (!pixels || width != gVideo.logicalW || height != gVideo.logicalH) return 0;
    SDL_Surface* picture = screen::ReadLogicalPicture();
    if (!picture) return 0;
    for (int y = 0; y < height; ++y)
        std::memcpy(pixels + static_cast<ptrdiff_t>(y) * width,
                    static_cast<const uint8_t*>(picture->pixels) + static_cast<ptrdiff_t>(y) * picture->pitch,
                    static_cast<size_t>(width) * sizeof(uint32_t));
    SDL_FreeSurface(picture);
    return 1;
}

ZORBEL_EXPORT void ZBDebug_SetWindowSize(int32_t width, int32_t height) {
    if (gVideo.window) SDL_SetWindowSize(gVideo.window, width, height);
}

ZORBEL_EXPORT void ZBDebug_WindowToLogical(int32_t windowX, int32_t windowY, float* logicalX,
                                           float* logicalY) {
    float x = 0.0f, y = 0.0f;
    input::WindowToLogical(windowX, windowY, &x, &y);
    if (logicalX) *logicalX = x;
    if (logicalY) *logicalY = y;
}

ZORBEL_EXPORT void* ZBDebug_Renderer(void) {
    return gVideo.renderer;
}

ZORBEL_EXPORT void* ZBDebug_SdlTexture(ZB_Texture* texture) {
    return SdlTexture(texture);
}

ZORBEL_EXPORT void ZBDebug_DrawCacheCounts(uint64_t* hits, uint64_t* misses) {
    const copycache::Figures f = copycache::Counts();
    if (hits) *hits = f.hits;
    if (misses) *misses = f.misses;
}

ZORBEL_EXPORT void ZBDebug_BlendCounts(uint64_t* blended, uint64_t* drawnBySdl, int32_t* threads) {
    const softframe::Figures f = softframe::Counts();
    if (blended) *blended = f.blended;
    if (drawnBySdl) *drawnBySdl = f.drawnBySdl;
    if (threads) *threads = f.threads;
}

ZORBEL_EXPORT void ZBDebug_HandPictureToSdl(void) {
    softframe::Publish();
}

ZORBEL_EXPORT void ZBDebug_SettleDrawing(void) {
    bake::Settle();
}
