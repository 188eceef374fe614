// Sprites, lines, blend modes, colour mix, scale and the 2-D camera.
#include "bake.h"
#include "copy_cache.h"
#include "engine.h"
#include "soft_frame.h"

#include <cmath>
#include <memory>
#include <vector>

namespace zorbel {
namespace {

constexpr int32_t kFxColorMix = 8;
constexpr int32_t kFxScale = 16;

struct DrawState {
    uint32_t colorMix = 0xFFFFFF;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    float scaleX = 1.0f, scaleY = 1.0f;
    float lineWidth = 1.0f;
    ZB_Camera* camera = nullptr;
    std::vector<std::unique_ptr<ZB_Camera>> cameras;
    SDL_Texture* white = nullptr;
    bake::Picture whitePicture;
};
DrawState gDraw;

bool IsWholeTurn(float angle) {
    // Inside a turn either way the remainder is the angle itself, and fmod is dear for every mark's tile.
    if (std::fabs(angle) < 360.0f) return angle == 0.0f;
    return std::fmod(angle, 360.0f) == 0.0f;
}

// Whether a copy, turned about its centre, misses the target entirely. Renderers clip such copies anyway,
// but the software renderer rotates the whole picture first, which is most of a sprite's cost.
bool Offscreen(const SDL_FRect& dst, bool turned) {
    float targetW = 0, targetH = 0;
    textures::TargetSize(&targetW, &targetH);
    const float cx = dst.x + dst.w / 2, cy = dst.y + dst.h / 2;
    // A copy centred inside the target is not off it, whatever its size (half sizes are never negative): most
    // copies need no hypot.
    if (cx > 0 && cy > 0 && cx < targetW && cy < targetH) return false;
    float halfW = std::fabs(dst.w) / 2, halfH = std::fabs(dst.h) / 2;
    if (turned) halfW = halfH = std::hypot(halfW, halfH);
    return cx + halfW <= 0 || cy + halfH <= 0 || cx - halfW >= targetW || cy - halfH >= targetH;
}

// SDL's multiply adds dst * (1 - a) to src * dst without weighting src by a, so a half-transparent white
// brightens. Weighting the colour by alpha gives dst * (src * a + 1 - a): the picture fades toward "no
// change".
uint32_t WeightForMultiply(uint32_t rgb, uint8_t alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        out |= (((rgb >> shift) & 0xFF) * alpha / 255) << shift;
    return out;
}

// The colour mod a copy is drawn with in the current blend mode.
uint32_t ColourMod(uint32_t rgb, uint8_t alpha) {
    return gDraw.blend == SDL_BLENDMODE_MUL ? WeightForMultiply(rgb, alpha) : rgb;
}

void SetMods(SDL_Texture* tex, uint32_t colourMod, uint8_t alpha) {
    SDL_SetTextureColorMod(tex, static_cast<Uint8>(colourMod >> 16), static_cast<Uint8>(colourMod >> 8),
                           static_cast<Uint8>(colourMod));
    SDL_SetTextureAlphaMod(tex, alpha);
    SDL_SetTextureBlendMode(tex, gDraw.blend);
}

// A copy the engine bakes carries its mods; SDL's drawing and the copy cache read them from the picture, so
// they are set on it just before.
void Copy(const bake::Picture& picture, const SDL_Rect* src, const SDL_FRect& dst, float angle,
          uint32_t colourMod, uint8_t alpha) {
    const bool turned = !IsWholeTurn(angle);
    if (Offscreen(dst, turned)) return;
    if (bake::Draw(picture, src, dst, angle, turned, gDraw.blend, colourMod, alpha)) return;
    SDL_Texture* tex = picture.texture;
    SetMods(tex, colourMod, alpha);
    const bake::SdlDrawing drawing;
    if (!turned) {
        if (!copycache::DrawScaled(tex, src, dst)) softframe::Copy(tex, src, dst);
    } else if (!copycache::DrawRotated(tex, src, dst, angle)) {
        softframe::BeforeSdlDraws();
        SDL_RenderCopyExF(gVideo.renderer, tex, src, &dst, angle, nullptr, SDL_FLIP_NONE);
    }
}

void DrawPicture(ZB_Texture* texture, const SDL_Rect* src, float x, float y, float w, float h, uint8_t alpha,
                 float angle, int32_t fx) {
    if (!SdlTexture(texture) || !gVideo.renderer || alpha == 0) return;
    if (fx & kFxScale) {
        const float cx = x + w / 2, cy = y + h / 2;
        w *= gDraw.scaleX;
        h *= gDraw.scaleY;
        x = cx - w / 2;
        y = cy - h / 2;
    }
    draw::ToScreen(&x, &y);
    Copy(static_cast<const TextureImpl*>(texture->Impl)->picture, src, SDL_FRect{x, y, w, h}, angle,
         ColourMod((fx & kFxColorMix) ? gDraw.colorMix : 0xFFFFFFu, alpha), alpha);
}

} // namespace

namespace draw {

bool CreateResources() {
    gDraw.white =
        SDL_CreateTexture(gVideo.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 1, 1);
    if (!gDraw.white) return false;
    const uint32_t white = 0xFFFFFFFFu;
    SDL_UpdateTexture(gDraw.white, nullptr, &white, sizeof white);
    SDL_SetTextureScaleMode(gDraw.white, SDL_ScaleModeNearest);
    gDraw.whitePicture = bake::PictureOf(gDraw.white);
    return true;
}

void DestroyResources() {
    if (gDraw.white) SDL_DestroyTexture(gDraw.white);
    gDraw.white = nullptr;
    gDraw.whitePicture = bake::Picture{};
}

void ToScreen(float* x, float* y) {
    // The game toggles the switch many times a frame by writing the record, so it is read at every draw.
    if (gDraw.camera && gDraw.camera->Switch) {
        *x -= gDraw.camera->X;
        *y -= gDraw.camera->Y;
    }
}

void SetTextureMods(SDL_Texture* texture, uint32_t rgb, uint8_t alpha) {
    SetMods(texture, ColourMod(rgb, alpha), alpha);
}

void Reset() {
    DestroyResources();
    gDraw = DrawState{};
}

} // namespace draw
} // namespace zorbel

using namespace zorbel;

void SSprite_Draw(ZB_Texture* texture, float x, float y, float w, float h, uint8_t alpha, float angle,
                  int32_t fx) {
    DrawPicture(texture, nullptr, x, y, w, h, alpha, angle, fx);
}

void ASprite_Draw(ZB_Texture* texture, float x, float y, float w, float h, int32_t frame, uint8_t alpha,
                  float angle, int32_t fx) {
    if (!texture) return;
    const int32_t columns = std::max<int32_t>(texture->FramesX, 1);
    const int32_t count = columns * std::max<int32_t>(texture->FramesY, 1);
    const int32_t index = frame <= 0 ? 0 : (frame - 1) % count;
    const SDL_Rect src{(index % columns) * texture->FrameW, (index / columns) * texture->FrameH,
                       texture->FrameW, texture->FrameH};
    DrawPicture(texture, &src, x, y, w, h, alpha, angle, fx);
}

void FX_SetColorMix(uint32_t rgb) {
    gDraw.colorMix = rgb & 0xFFFFFF;
}

void FX_SetBlendMode(int32_t mode) {
    switch (mode) {
    case 0:
        gDraw.blend = SDL_BLENDMODE_BLEND;
        break;
    case 1:
        gDraw.blend = SDL_BLENDMODE_ADD;
        break;
    case 5:
        gDraw.blend = SDL_BLENDMODE_MUL;
        break;
    default:
        ReportOnce("blend:" + std::to_string(mode),
                   "blend mode " + std::to_string(mode) + " is not known; drawing with normal alpha");
        gDraw.blend = SDL_BLENDMODE_BLEND;
    }
}

void FX_SetScale(float sx, float sy) {
    gDraw.scaleX = sx;
    gDraw.scaleY = sy;
}

void Pr2D_LineWidth(float width) {
    gDraw.lineWidth = width;
}

void Pr2D_Line(float x1, float y1, float x2, float y2, uint32_t rgb, uint8_t alpha, int32_t) {
    if (!gVideo.renderer || !gDraw.white || alpha == 0 || gDraw.lineWidth <= 0) return;
    draw::ToScreen(&x1, &y1);
    draw::ToScreen(&x2, &y2);
    const float dx = x2 - x1, dy = y2 - y1;
    const float length = std::hypot(dx, dy);
    const float angle = std::atan2(dy, dx) * 180.0f / static_cast<float>(M_PI);
    const float cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
    const SDL_FRect dst{cx - length / 2, cy - gDraw.lineWidth / 2, length, gDraw.lineWidth};
    Copy(gDraw.whitePicture, nullptr, dst, angle, ColourMod(rgb, alpha), alpha);
}

ZB_Camera* Cam2D_Create(void) {
    gDraw.cameras.push_back(std::make_unique<ZB_Camera>(ZB_Camera{0.0f, 0.0f, 1}));
    return gDraw.cameras.back().get();
}

void Cam2D_Set(ZB_Camera* camera) {
    gDraw.camera = camera;
}
