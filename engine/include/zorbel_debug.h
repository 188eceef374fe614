/* Extra engine exports for tests and benchmarks; the game never binds these. */
#ifndef ZORBEL_DEBUG_H
#define ZORBEL_DEBUG_H

#include "zorbel_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The operations as plain declarations, for programs that link the engine directly instead of binding it. */
#define ZORBEL_DEBUG_DECLARE(ret, name, params, contract) ret name params;
ZORBEL_OPERATIONS(ZORBEL_DEBUG_DECLARE)
#undef ZORBEL_DEBUG_DECLARE

/* Copies the logical picture drawn so far this frame (ARGB8888, row by row, width x height of the logical
   size) into pixels, which holds width * height values. Call it from the frame procedure while drawing goes
   to the screen. Returns 1 on success, 0 outside the loop or on a read error. */
int32_t ZBDebug_ReadScreen(uint32_t* pixels, int32_t width, int32_t height);

/* Resizes the window as a user would (the picture is letterboxed into it). */
void ZBDebug_SetWindowSize(int32_t width, int32_t height);

/* The cursor mapping Mouse_X and Mouse_Y use: window pixels to logical pixels, clamped to the picture. */
void ZBDebug_WindowToLogical(int32_t windowX, int32_t windowY, float* logicalX, float* logicalY);

/* The SDL_Renderer of the running loop and the SDL_Texture behind a texture, for drawing the same scene
   directly with SDL (benchmarks). */
void* ZBDebug_Renderer(void);

/* How many copies the software renderer's copy cache drew from a kept copy, and how many it had to make,
   since the window opened. */
void ZBDebug_DrawCacheCounts(uint64_t* hits, uint64_t* misses);
void* ZBDebug_SdlTexture(ZB_Texture* texture);

/* On the software renderer: how many copies the engine blended itself and how many SDL drew into the screen
   since the window opened, and how many threads blend (0 while SDL blends every copy). */
void ZBDebug_BlendCounts(uint64_t* blended, uint64_t* drawnBySdl, int32_t* threads);

/* Blends what the engine kept of the frame so far and hands the picture to SDL, as presenting does: SDL's own
   drawing may follow directly (benchmarks). */
void ZBDebug_HandPictureToSdl(void);

/* Makes now the draws into render targets that wait to be made: on the software renderer the engine queues
   them until their pixels are needed, and then makes them on every core. */
void ZBDebug_SettleDrawing(void);

#ifdef __cplusplus
}
#endif

#endif
