// Test support: an in-process engine that records what the game asks of it.
#include "fake_engine.h"

#include "SquallSound.h"
#include "assets.h"

#include <cmath>

namespace fake {
namespace {

Engine gEngine;

void Record(ZB_Texture* t, float x, float y, float w, float h, int32_t frame, uint8_t a, float angle,
            int32_t fx) {
    gEngine.draws.push_back(DrawCall{t, x, y, w, h, frame, a, angle, fx});
}

} // namespace

ZB_Texture* Engine::NewTexture(uint16_t framesX, uint16_t framesY) {
    textures.push_back(ZB_Texture{256, 256, framesX, framesY, 256, 256, nullptr});
    return &textures.back();
}

Engine& Install() {
    zorbel::Unbind();
    gEngine = Engine{};
    SSprite_Draw = [](ZB_Texture* t, float x, float y, float w, float h, uint8_t a, float angle, int32_t fx) {
        Record(t, x, y, w, h, 0, a, angle, fx);
    };
    ASprite_Draw = [](ZB_Texture* t, float x, float y, float w, float h, int32_t frame, uint8_t a,
                      float angle, int32_t fx) { Record(t, x, y, w, h, frame, a, angle, fx); };
    Tex_LoadFromFile = [](const char* file, int32_t key, int32_t flags) {
        gEngine.log.push_back("load " + std::string(file) + " " + std::to_string(flags) + " " +
                              std::to_string(key));
        return gEngine.NewTexture();
    };
    Tex_LoadMaskFromFile = [](const char* file) { gEngine.log.push_back("mask " + std::string(file)); };
    Tex_FreeMask = [] { gEngine.log.push_back("free mask"); };
    Tex_Free = [](ZB_Texture* t) { gEngine.freed.push_back(t); };
    Tex_SetFramesSize = [](ZB_Texture* t, int32_t w, int32_t h) {
        t->FrameW = static_cast<uint16_t>(w);
        t->FrameH = static_cast<uint16_t>(h);
    };
    Text_LoadFontFromFile = [](const char* picture, const char* descriptor, int32_t key, int32_t flags) {
        gEngine.log.push_back("font " + std::string(picture) + " " + descriptor + " " + std::to_string(key) +
                              " " + std::to_string(flags));
        return static_cast<ZB_Font*>(nullptr);
    };
    Tex_CreateZero = [](int32_t, int32_t, int32_t) { return gEngine.NewTexture(); };
    Cam2D_Create = [] {
        gEngine.cameras.push_back(ZB_Camera{0, 0, 1});
        return &gEngine.cameras.back();
    };
    M_Round = [](float v) { return static_cast<int32_t>(std::lrintf(v)); };
    M_Trunc = [](float v) { return static_cast<int32_t>(v); };
    return gEngine;
}

} // namespace fake

namespace fake {

void SilentSounds() {
    SoundSystem = TSoundSystem::CreateSilent([](const std::string&) {});
    for (int i = 0; i < kSoundCount; ++i) {
        TSound* sound = SoundSystem->LoadSound(kSoundTable[i].file, kSoundTable[i].kind, 1);
        if (kSoundTable[i].handle) *kSoundTable[i].handle = sound;
    }
}

} // namespace fake
