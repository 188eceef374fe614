// Internal state and services shared by the engine's source files; nothing here is exported.
#pragma once

#include "replay.h"
#include "zorbel_api.h"

#include <SDL.h>

#include <cstdint>
#include <string>

// Every operation of the list is exported with C linkage; all other symbols stay hidden.
#define ZORBEL_EXPORT extern "C" __attribute__((visibility("default")))
#define ZORBEL_DECLARE_OPERATION(ret, name, params, contract) ZORBEL_EXPORT ret name params;
ZORBEL_OPERATIONS(ZORBEL_DECLARE_OPERATION)
#undef ZORBEL_DECLARE_OPERATION

namespace zorbel {

constexpr int kLogicalWidth = 800;
constexpr int kLogicalHeight = 600;

// The window and renderer of the running loop; both null outside ZB_Init.
struct Video {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    // Every frame is drawn at the logical size into this picture, which is then scaled into the window: what
    // is drawn, and every screenshot, is the same whatever the window's size.
    SDL_Texture* picture = nullptr;
    int logicalW = kLogicalWidth;
    int logicalH = kLogicalHeight;
};
extern Video gVideo;

// Engine errors go to stderr, prefixed so they stand out among the game's own output.
void Report(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Reports a message only the first time its key is seen during a run.
void ReportOnce(const std::string& key, const std::string& message);

// Whether the renderer is SDL's software one, whose drawing the engine can make itself with the same pixels.
bool IsSoftwareRenderer(SDL_Renderer* renderer);

// Engine time in milliseconds: the wall clock, virtual frame time in headless runs, or a recording's times.
// It changes only when a frame begins.
namespace clock {
double Now();
bool IsVirtual();
double FrameMs();
// Moves engine time to frame n (from 1) and returns it.
double BeginFrame(uint64_t frame);
void Reset();
} // namespace clock

namespace timers {
// Runs the due timer procedures in time order, at most kMaxCallsPerFrame calls of each timer.
void RunDue(double now);
void Reset();
constexpr int kMaxCallsPerFrame = 5;
} // namespace timers

namespace input {
void HandleEvent(const SDL_Event& event);
void SetKey(int vk, bool down);
void SetMouseButton(int button, bool down);
void SetMouseLogical(float x, float y);
// Every key and button up, as when the window loses the focus; the program learns of it (ZB_FocusLost).
void ReleaseAll();
// One recorded change of the input state, made again.
void Apply(const replay::InputEvent& event);
// Window pixels to logical pixels, clamped to the logical picture (the letterbox bars map to its edges).
void WindowToLogical(int wx, int wy, float* lx, float* ly);
void Reset();
} // namespace input

// What the baking keeps of a texture (bake.h): its face, if drawing into it is the engine's (the queue of
// draws waiting for its pixels, and its SDL twin), and the picture as a copy into a face asks of it.
namespace bake {
struct Face;
// What a copy into a face asks of its picture, none of which changes while the picture lives: whether the
// engine may read it (copycache::ReadableRect: a streaming ARGB8888 texture and no face) and, if it may, its
// size and scale mode. Each picture keeps its own from when it is made, so a mark's every draw asks neither
// SDL nor the faces.
struct Picture {
    SDL_Texture* texture = nullptr;
    int w = 0, h = 0;
    SDL_ScaleMode mode = SDL_ScaleModeLinear;
    bool readable = false;
};
} // namespace bake

// What a ZB_Texture's Impl points to.
struct TextureImpl {
    SDL_Texture* sdl = nullptr; // null when the picture could not be made; such a texture draws nothing
    bool target = false;
    bake::Picture picture;      // of sdl, as it was made
    bake::Face* face = nullptr; // sdl's face, when it is one: drawing into it needs no look-up
};

inline SDL_Texture* SdlTexture(const ZB_Texture* texture) {
    return texture && texture->Impl ? static_cast<const TextureImpl*>(texture->Impl)->sdl : nullptr;
}

// The gamepads (SDL game controllers): mapped to the keys, buttons and cursor moves the other devices make.
namespace pad {
// Opens or closes the controllers SDL reports plugged in or pulled out.
void HandleEvent(const SDL_Event& event);
// Turns what the pads hold now into input events, by what the program last said of its screen.
void Update();
// What the program says of its screen holds for one frame's input: forgotten as the frame procedure starts.
void ForgetScreen();
// The mouse moved: the cursor is the mouse's until the right stick moves again.
void MouseMoved();
// Every key and button went up: what the pads still hold is pressed anew.
void ForgetHeld();
void CloseAll();
} // namespace pad

// The script's virtual gamepad (SDL's virtual joystick), which SDL reports like a plugged-in one.
namespace virtualpad {
void Connect();
void Disconnect();
void SetButton(int button, bool down);
void SetAxis(int axis, int value);
} // namespace virtualpad

namespace window {
// Full screen to a window or back, at once; the program learns of it (ZB_FullScreenChange).
void SwitchFullScreen();
} // namespace window

namespace textures {
// A texture of the picture, blended as pictures are, nearest-filtered with flag bit 4; null after reporting
// why not.
SDL_Texture* MakeTexture(SDL_Surface* s, int32_t flags);
// A picture file as 32-bit ARGB, or null after reporting why not. Lossy formats are flagged for colour keys.
SDL_Surface* LoadSurface(const char* file, bool* lossy);
// Destroys every texture the engine made; their records become invalid.
void DestroyAll();
// Render targets lost by the renderer come back transparent.
void ClearTargets();
// The target Tex_BeginRenderIn redirected drawing to, or null.
bool RenderingIntoTarget();
// Size of what drawing lands in now: the target texture, or the logical picture.
void TargetSize(float* w, float* h);
void Reset();
} // namespace textures

namespace draw {
// The white 1x1 picture lines are stretched from; made with the renderer.
bool CreateResources();
void DestroyResources();
// Applies the current camera, if its switch is on.
void ToScreen(float* x, float* y);
// Colour, alpha and the current blend mode for the next copy of the texture.
void SetTextureMods(SDL_Texture* texture, uint32_t rgb, uint8_t alpha);
void Reset();
} // namespace draw

namespace text {
void DestroyAll();
} // namespace text

} // namespace zorbel
