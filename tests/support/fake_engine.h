// Test support: an in-process engine that records what the game asks of it.
#pragma once

#include "ZORBEL.h"

#include <deque>
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
};

struct Engine {
    std::vector<DrawCall> draws;
    std::vector<std::string> log; // texture and mask operations in order, e.g. "load X 330 -1", "mask M"
    std::vector<ZB_Texture*> freed;
    std::deque<ZB_Texture> textures; // every texture handed out; stable addresses
    std::deque<ZB_Camera> cameras;

    ZB_Texture* NewTexture(uint16_t framesX = 1, uint16_t framesY = 1);
};

// Resets the recorder and points every engine operation at it (unrecorded ones stay inert).
Engine& Install();

} // namespace fake

namespace fake {

// Fills every sound handle of the game with a sound of a silent system: handles exist, plays do nothing.
void SilentSounds();

} // namespace fake
