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

    // Input and time the game reads: held keys and buttons, presses not yet asked for, the cursor, the clock.
    std::set<int32_t> keysDown, keysPressed, buttonsDown, buttonsPressed;
    float mouseX = 0, mouseY = 0;
    double time = 0;
    int32_t mouseLocks = 0;
    std::vector<std::string> timerLog; // "create MS CATCHUP" and "free", in order

    ZB_Texture* NewTexture(uint16_t framesX = 1, uint16_t framesY = 1);
};

// Resets the recorder and points every engine operation at it (unrecorded ones stay inert). Collision
// tests, rounding, distance and angles follow the real engine's contracts.
Engine& Install();

} // namespace fake

namespace fake {

// Fills every sound handle of the game with a sound of a silent system: handles exist, plays do nothing.
void SilentSounds();

} // namespace fake
