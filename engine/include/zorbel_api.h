/* The engine's C interface: every operation the game may call, declared once in ZORBEL_OPERATIONS. */
#ifndef ZORBEL_API_H
#define ZORBEL_API_H

#include <stdint.h>
#ifdef __SSE__
#include <xmmintrin.h>
#else
#include <math.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Raised whenever an operation is added, removed or changes its signature; the game refuses any other. */
#define ZORBEL_API_VERSION 4

/* A picture the engine holds. The game reads the public fields; everything else is the engine's. */
typedef struct ZB_Texture {
    int32_t Width, Height;     /* size in pixels */
    uint16_t FramesX, FramesY; /* frame columns and rows after Tex_SetFramesSize; 1 x 1 before */
    uint16_t FrameW, FrameH;   /* size of one frame in pixels */
    void* Impl;                /* engine-private */
} ZB_Texture;

/* A 2-D camera, written directly by the game. While Switch is 1, world drawing is shifted by (-X, -Y). */
typedef struct ZB_Camera {
    float X, Y;
    uint8_t Switch;
} ZB_Camera;

typedef struct ZB_Rect {
    float X, Y, W, H;
} ZB_Rect;

typedef struct ZB_Font ZB_Font;
typedef struct ZB_Timer ZB_Timer;
typedef void (*ZB_Procedure)(void);
/* A digest of the program's state: equal states give equal digests; a difference almost surely shows. */
typedef uint64_t (*ZB_DigestProcedure)(void);

/*
 * Col_AABB, Col_PointInAABB and M_Round as inline functions, for callers that ask them thousands of times a
 * frame: the operations themselves are these, so the answers are the same, without a call through the
 * library.
 */

/* Rectangles overlap only when they share area; touching edges do not count. */
static inline uint8_t ZB_Overlap(const ZB_Rect* a, const ZB_Rect* b) {
    return a->X < b->X + b->W && b->X < a->X + a->W && a->Y < b->Y + b->H && b->Y < a->Y + a->H;
}

/* Left and top edges are inside, right and bottom edges are not, so adjacent cells never share a point. */
static inline uint8_t ZB_PointInside(float x, float y, const ZB_Rect* r) {
    return x >= r->X && x < r->X + r->W && y >= r->Y && y < r->Y + r->H;
}

/* Half to even, as the FPU rounds by default. Values beyond int32 saturate and NaN gives 0. */
static inline int32_t ZB_Round(float value) {
    if (!(value < 2147483648.0f && value > -2147483648.0f))
        return value > 0 ? INT32_MAX : (value < 0 ? INT32_MIN : 0);
#ifdef __SSE__
    /* The one instruction lrintf is on x86-64, without the call into the maths library. */
    return _mm_cvtss_si32(_mm_set_ss(value));
#else
    return (int32_t)lrintf(value);
#endif
}

/* What ZB_PostInput delivers: the cursor moved, a key or a mouse button pressed or let go. */
enum {
    ZB_INPUT_CURSOR = 0,
    ZB_INPUT_KEY_DOWN = 1,
    ZB_INPUT_KEY_UP = 2,
    ZB_INPUT_BUTTON_DOWN = 3,
    ZB_INPUT_BUTTON_UP = 4
};

/*
 * The operation list: ZB_OP(return type, name, (parameters), "contract").
 * The engine defines each as an exported C function; the game binds each by name into a function pointer.
 * Angles are degrees clockwise on screen; positions are float pixels, (0, 0) top left, y down.
 */
// clang-format off
#define ZORBEL_OPERATIONS(ZB_OP)                                                                          \
    ZB_OP(int32_t, ZB_Version, (void), "the value of ZORBEL_API_VERSION the library was built with")     \
    ZB_OP(void, ZB_Init, (int32_t frameMs, int32_t flags),                                                 \
          "opens the window, runs splash (3) and load (1) procedures, then loops frames until ZB_Quit; "  \
          "ends the program with status 2 instead of returning when a recording or statistics file "     \
          "asked for could not be written")                                                              \
    ZB_OP(void, ZB_Quit, (void), "ends the loop after the current frame; ZB_Init then returns")          \
    ZB_OP(void, ZB_RegProcedure, (int32_t kind, ZB_Procedure proc),                                      \
          "kind 0 frame (between clear and present), 1 load (once), 2 input (every frame, right after the " \
          "script's input events; not in a replay), 3 splash (while starting)")                          \
    ZB_OP(void, ZB_PostInput, (int32_t event, int32_t code, float x, float y),                            \
          "one input event as the devices deliver it (ZB_INPUT_*: the cursor to x, y in logical pixels, "  \
          "held to the picture; virtual key or mouse button code down or up), recorded as theirs are")  \
    ZB_OP(void, ZB_RegDigest, (ZB_DigestProcedure proc),                                                 \
          "the state digest ZORBEL_DIGEST_EVERY reports, taken after the frame procedure; changes no results") \
    ZB_OP(void, ZB_Enable, (int32_t option), "switches an engine option bit on (1, 2, 4 accepted)")      \
    ZB_OP(void, ZB_SetScreenOptions,                                                                      \
          (int32_t width, int32_t height, int32_t bpp, int32_t refresh, int32_t vsync, int32_t fullscreen), \
          "logical size; fullscreen 1 letterboxes into the desktop, 0 opens a window of that size")      \
    ZB_OP(void, ZB_SetAdvancedOptions, (int32_t a, int32_t b, int32_t c), "accepted; no effect on results") \
    ZB_OP(void, ZB_SetWndName, (const char* title), "window title, UTF-8")                               \
    ZB_OP(int32_t, ZB_GetFPS, (void), "frames shown in the last second")                                 \
    ZB_OP(uint8_t, ZB_FocusLost, (void),                                                                  \
          "the window lost the focus or was minimised since last asked (every key and button went up "     \
          "then; recorded and replayed); asking clears it")                                              \
    ZB_OP(int32_t, ZB_FullScreenChange, (void),                                                           \
          "0 unless the player switched between full screen and a window (Alt+Enter) since last asked; "   \
          "then 1 full screen now, 2 a window now; asking clears it")                                    \
    ZB_OP(int32_t, ZB_SaveScreenshot, (const char* file),                                                 \
          "writes the logical picture drawn so far this frame to file as PNG; call it last in the frame "  \
          "procedure; 1 written, 0 after saying why on stderr; changes no results")                      \
    ZB_OP(void, Pad_SetAim, (float x, float y),                                                           \
          "for the next frame's input: a gamepad's left stick and d-pad hold W, A, S, D and its right "    \
          "stick puts the cursor on a circle around x, y (logical pixels); say it every frame it holds")  \
    ZB_OP(void, Pad_SetTargets, (const ZB_Rect* targets, int32_t count),                                  \
          "for the next frame's input: a gamepad's d-pad and left stick move the cursor from target to "   \
          "target (to a rectangle's centre); the engine copies them; say it every frame they hold")      \
    ZB_OP(ZB_Timer*, Timer_Create, (ZB_Procedure proc, int32_t ms, int32_t catchUp),                      \
          "runs proc every ms of engine time on the loop's thread; may be called inside a timer proc")   \
    ZB_OP(void, Timer_Free, (ZB_Timer** timer), "stops and frees the timer, sets *timer to NULL; safe inside its proc") \
    ZB_OP(ZB_Texture*, Tex_LoadFromFile, (const char* file, int32_t colorKey, int32_t flags),             \
          "loads BMP/JPG/TGA/PNG; key -1 none, 0 black, 16777215 white; flags 330 take alpha from the mask; " \
          "a missing file is reported once and gives a visible placeholder")                             \
    ZB_OP(void, Tex_LoadMaskFromFile, (const char* file), "the mask for the following flag-330 loads: white opaque") \
    ZB_OP(void, Tex_FreeMask, (void), "forgets the current mask")                                        \
    ZB_OP(void, Tex_Free, (ZB_Texture* texture), "frees a texture; NULL is ignored")                     \
    ZB_OP(ZB_Texture*, Tex_CreateZero, (int32_t width, int32_t height, int32_t flags),                    \
          "a transparent render target")                                                                 \
    ZB_OP(void, Tex_BeginRenderIn, (ZB_Texture* target, int32_t a, int32_t b, int32_t c),                 \
          "drawing lands in target until Tex_EndRenderIn; the marks stay")                               \
    ZB_OP(void, Tex_EndRenderIn, (void), "drawing goes back to the screen")                              \
    ZB_OP(void, Tex_SetFramesSize, (ZB_Texture* texture, int32_t frameW, int32_t frameH),                 \
          "cuts the picture into frames numbered from 1, row by row; sets FramesX, FramesY")             \
    ZB_OP(void, SSprite_Draw,                                                                             \
          (ZB_Texture* texture, float x, float y, float w, float h, uint8_t alpha, float angle, int32_t fx), \
          "the whole picture stretched into the rectangle, rotated about its centre")                    \
    ZB_OP(void, ASprite_Draw,                                                                             \
          (ZB_Texture* texture, float x, float y, float w, float h, int32_t frame, uint8_t alpha,         \
           float angle, int32_t fx),                                                                     \
          "one frame; past the last wraps around, 0 or less draws frame 1")                              \
    ZB_OP(void, FX_SetColorMix, (uint32_t rgb), "colour that fx bit 8 multiplies by (0xRRGGBB)")        \
    ZB_OP(void, FX_SetBlendMode, (int32_t mode), "0 normal alpha, 1 additive, 5 multiply")               \
    ZB_OP(void, FX_SetScale, (float sx, float sy), "factors fx bit 16 scales the rectangle by, about its centre") \
    ZB_OP(void, Pr2D_LineWidth, (float width), "width of the following lines")                           \
    ZB_OP(void, Pr2D_Line,                                                                                \
          (float x1, float y1, float x2, float y2, uint32_t rgb, uint8_t alpha, int32_t fx), "a line")   \
    ZB_OP(ZB_Font*, Text_LoadFontFromFile,                                                                \
          (const char* picture, const char* descriptor, int32_t colorKey, int32_t flags),                \
          "a glyph sheet and its descriptor; never NULL (a missing font draws nothing)")                 \
    ZB_OP(void, Text_Draw,                                                                                \
          (ZB_Font* font, float x, float y, const char* text, float scale, float step, uint8_t alpha,    \
           int32_t fx),                                                                                  \
          "UTF-8 text, top-left at (x, y)")                                                              \
    ZB_OP(float, Text_GetWidth, (ZB_Font* font, const char* text, float scale, float step),              \
          "width in pixels Text_Draw would cover")                                                       \
    ZB_OP(ZB_Camera*, Cam2D_Create, (void), "a camera at (0, 0) with the switch on; owned by the engine") \
    ZB_OP(void, Cam2D_Set, (ZB_Camera* camera), "the camera world drawing uses; NULL for none")          \
    ZB_OP(uint8_t, Key_Down, (int32_t vk), "Windows virtual-key code held now")                           \
    ZB_OP(uint8_t, Key_Press, (int32_t vk), "pressed since last asked; asking clears it")                \
    ZB_OP(uint8_t, Mouse_Down, (int32_t button), "1 primary, 0 secondary: held now")                     \
    ZB_OP(uint8_t, Mouse_Press, (int32_t button), "pressed since last asked; asking clears it")          \
    ZB_OP(void, Mouse_Lock, (void), "clears pending presses")                                            \
    ZB_OP(float, Mouse_X, (void), "cursor x in logical pixels")                                          \
    ZB_OP(float, Mouse_Y, (void), "cursor y in logical pixels")                                          \
    ZB_OP(uint8_t, Col_AABB, (const ZB_Rect* a, const ZB_Rect* b), "the rectangles overlap")             \
    ZB_OP(uint8_t, Col_PointInAABB, (float x, float y, const ZB_Rect* r), "the point lies inside")       \
    ZB_OP(int32_t, M_Round, (float value), "rounds half to even")                                        \
    ZB_OP(int32_t, M_Trunc, (float value), "truncates toward zero")                                      \
    ZB_OP(float, M_Distance, (float x1, float y1, float x2, float y2), "distance between the points")    \
    ZB_OP(float, M_FindAngle, (float x1, float y1, float x2, float y2),                                   \
          "atan2(y1 - y2, x1 - x2) in degrees, in [0, 360)")                                             \
    ZB_OP(double, U_GetTime, (void), "engine time in milliseconds, rising")
// clang-format on

#ifdef __cplusplus
}
#endif

#endif
