// Test support: an in-process engine that records what the game asks of it.
#pragma once

#include "ZORBEL.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

namespace fake {

struct DrawCall {
    ZB_Texture* texture;
    float x, y, w, h;
    int32_t frame; // 0 for a whole-picture draw
    uint8_t alpha;
    float angle;
    int32_t fx;
    ZB_Texture* target = nullptr; // the render target it landed in; nil for the screen
    uint32_t colorMix = 0xFFFFFF; // the colour mix set when it was drawn
    float scaleX = 1, scaleY = 1; // the scale set when it was drawn (it applies with fx bit 16)
    bool worldPixels = false;     // the current camera's switch was on: shifted by the camera
};

struct TextCall {
    std::string text;
    float x, y, scale, step;
    uint8_t alpha;
    int32_t fx;
    bool worldPixels = false;
};

struct LineCall {
    float x1, y1, x2, y2;
    uint32_t rgb;
    uint8_t alpha;
    int32_t fx;
};

struct Engine {
    std::vector<DrawCall> draws;
    std::vector<std::string> log; // texture and mask operations in order, e.g. "load X 330 -1", "mask M"
    std::vector<ZB_Texture*> freed;
    std::deque<ZB_Texture> textures; // every texture handed out; stable addresses
    std::deque<ZB_Camera> cameras;
    ZB_Texture* renderTarget = nullptr; // between Tex_BeginRenderIn and Tex_EndRenderIn
    uint32_t colorMix = 0xFFFFFF;
    float scaleX = 1, scaleY = 1;
    std::vector<int32_t> blendModes; // every FX_SetBlendMode, in order
    std::vector<TextCall> texts;
    std::vector<LineCall> lines;
    ZB_Camera* camera = nullptr; // the one Cam2D_Set made current
    int32_t quits = 0;           // ZB_Quit calls
    int32_t fps = 60;            // what ZB_GetFPS answers

    // Input and time the game reads: held keys and buttons, presses not yet asked for, the cursor, the clock.
    std::set<int32_t> keysDown, keysPressed, buttonsDown, buttonsPressed;
    float mouseX = 0, mouseY = 0;
    double time = 0;
    int32_t mouseLocks = 0;
    std::vector<std::string> timerLog; // "create MS CATCHUP" and "free", in order

    ZB_Texture* NewTexture(uint16_t framesX = 1, uint16_t framesY = 1);
};

// Resets the recorder and points every engine operation at it (unrecorded ones stay inert). Collision
// tests, rounding, distance and angles follow the real engine's contracts; a text is 10 px a character
// (UTF-8 sequences count once) times the scale, plus the step between characters.
Engine& Install();

} // namespace fake

namespace fake {

// Fills every sound handle of the game with a sound of a silent system: handles exist, plays do nothing.
void SilentSounds();

} // namespace fake
