// Test support: an in-process engine that records what the game asks of it.
#include "fake_engine.h"

#include "SquallSound.h"
#include "assets.h"

#include <algorithm>
#include <cmath>

namespace fake {
namespace {

Engine gEngine;

bool WorldPixels() {
    return gEngine.camera && gEngine.camera->Switch == 1;
}

void Record(ZB_Texture* t, float x, float y, float w, float h, int32_t frame, uint8_t a, float angle,
            int32_t fx) {
    gEngine.draws.push_back(DrawCall{t, x, y, w, h, frame, a, angle, fx, gEngine.renderTarget,
                                     gEngine.colorMix, gEngine.scaleX, gEngine.scaleY, WorldPixels()});
}

float TextWidth(const char* text, float scale, float step) {
    int characters = 0;
    for (const char* c = text; *c; ++c)
        characters += (static_cast<unsigned char>(*c) & 0xC0) != 0x80;
    return static_cast<float>(characters) * (10.0f * scale + step);
}

uint8_t TakePress(std::set<int32_t>& pressed, int32_t code) {
    return pressed.erase(code) ? 1 : 0;
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
    Text_Draw = [](ZB_Font*, float x, float y, const char* text, float scale, float step, uint8_t alpha,
                   int32_t fx) {
        gEngine.texts.push_back(TextCall{text, x, y, scale, step, alpha, fx, WorldPixels()});
    };
    Text_GetWidth = [](ZB_Font*, const char* text, float scale, float step) {
        return TextWidth(text, scale, step);
    };
    Pr2D_Line = [](float x1, float y1, float x2, float y2, uint32_t rgb, uint8_t alpha, int32_t fx) {
        gEngine.lines.push_back(LineCall{x1, y1, x2, y2, rgb, alpha, fx});
    };
    ZB_Quit = [] { ++gEngine.quits; };
    ZB_GetFPS = [] { return gEngine.fps; };
    Cam2D_Set = [](ZB_Camera* camera) { gEngine.camera = camera; };
    Cam2D_Create = [] {
        gEngine.cameras.push_back(ZB_Camera{0, 0, 1});
        return &gEngine.cameras.back();
    };
    M_Round = [](float v) { return static_cast<int32_t>(std::lrintf(v)); };
    M_Trunc = [](float v) { return static_cast<int32_t>(v); };
    Tex_BeginRenderIn = [](ZB_Texture* t, int32_t, int32_t, int32_t) { gEngine.renderTarget = t; };
    Tex_EndRenderIn = [] { gEngine.renderTarget = nullptr; };
    FX_SetColorMix = [](uint32_t rgb) { gEngine.colorMix = rgb; };
    Col_AABB = [](const ZB_Rect* a, const ZB_Rect* b) -> uint8_t {
        return a->X < b->X + b->W && b->X < a->X + a->W && a->Y < b->Y + b->H && b->Y < a->Y + a->H;
    };
    Col_PointInAABB = [](float x, float y, const ZB_Rect* r) -> uint8_t {
        return x >= r->X && x < r->X + r->W && y >= r->Y && y < r->Y + r->H;
    };
    M_Distance = [](float x1, float y1, float x2, float y2) { return std::hypot(x2 - x1, y2 - y1); };
    M_FindAngle = [](float x1, float y1, float x2, float y2) {
        const float degrees = std::atan2(y1 - y2, x1 - x2) * 180.0f / static_cast<float>(M_PI);
        const float wrapped = degrees < 0.0f ? degrees + 360.0f : degrees;
        return wrapped >= 360.0f ? 0.0f : wrapped;
    };
    FX_SetBlendMode = [](int32_t mode) { gEngine.blendModes.push_back(mode); };
    FX_SetScale = [](float sx, float sy) {
        gEngine.scaleX = sx;
        gEngine.scaleY = sy;
    };
    Key_Down = [](int32_t vk) -> uint8_t { return gEngine.keysDown.count(vk) ? 1 : 0; };
    Key_Press = [](int32_t vk) { return TakePress(gEngine.keysPressed, vk); };
    Mouse_Down = [](int32_t b) -> uint8_t { return gEngine.buttonsDown.count(b) ? 1 : 0; };
    Mouse_Press = [](int32_t b) { return TakePress(gEngine.buttonsPressed, b); };
    Mouse_Lock = [] {
        ++gEngine.mouseLocks;
        gEngine.buttonsPressed.clear();
    };
    ZB_PostInput = [](int32_t event, int32_t code, float x, float y) {
        auto set = [](std::set<int32_t>& down, std::set<int32_t>& pressed, int32_t c, bool on) {
            if (on && !down.count(c)) pressed.insert(c);
            if (on)
                down.insert(c);
            else
                down.erase(c);
        };
        switch (event) {
        case ZB_INPUT_CURSOR:
            gEngine.mouseX = std::clamp(x, 0.0f, 800.0f);
            gEngine.mouseY = std::clamp(y, 0.0f, 600.0f);
            break;
        case ZB_INPUT_KEY_DOWN:
        case ZB_INPUT_KEY_UP:
            set(gEngine.keysDown, gEngine.keysPressed, code, event == ZB_INPUT_KEY_DOWN);
            break;
        case ZB_INPUT_BUTTON_DOWN:
        case ZB_INPUT_BUTTON_UP:
            set(gEngine.buttonsDown, gEngine.buttonsPressed, code, event == ZB_INPUT_BUTTON_DOWN);
            break;
        default:
            break;
        }
    };
    Mouse_X = [] { return gEngine.mouseX; };
    Mouse_Y = [] { return gEngine.mouseY; };
    U_GetTime = [] { return gEngine.time; };
    Timer_Create = [](ZB_Procedure, int32_t ms, int32_t catchUp) {
        gEngine.timerLog.push_back("create " + std::to_string(ms) + " " + std::to_string(catchUp));
        return static_cast<ZB_Timer*>(nullptr);
    };
    Timer_Free = [](ZB_Timer** timer) {
        gEngine.timerLog.push_back("free");
        *timer = nullptr;
    };
    return gEngine;
}

} // namespace fake

namespace fake {

void SilentSounds() {
    delete SoundSystem;
    SoundSystem = TSoundSystem::CreateSilent([](const std::string&) {});
    for (int i = 0; i < kSoundCount; ++i) {
        TSound* sound = SoundSystem->LoadSound(kSoundTable[i].file, kSoundTable[i].kind, 1);
        if (kSoundTable[i].handle) *kSoundTable[i].handle = sound;
    }
}

} // namespace fake
