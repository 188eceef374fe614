// The copy cache's traffic with SDL textures.
#include "copy_textures.h"

#include "bake.h"
#include "soft_frame.h"

#include <cstring>
#include <utility>

namespace zorbel::copycache {

bool ReadableRect(SDL_Texture* texture, const SDL_Rect* src, SDL_Rect* out, Faces faces) {
    int w = 0, h = 0, access = 0;
    Uint32 format = 0;
    if (SDL_QueryTexture(texture, &format, &access, &w, &h) != 0 || access != SDL_TEXTUREACCESS_STREAMING ||
        format != SDL_PIXELFORMAT_ARGB8888 || (faces == Faces::Refused && bake::IsFace(texture)))
        return false;
    return ClipToPicture(w, h, src, out);
}

LockedPicture::LockedPicture(SDL_Texture* texture) : texture_(texture) {
    void* pixels = nullptr;
    int pitch = 0, w = 0, h = 0;
    if (SDL_QueryTexture(texture, nullptr, nullptr, &w, &h) != 0) return;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return;
    view_ = pixels::View{w, h, pitch / 4, static_cast<uint32_t*>(pixels)};
}

LockedPicture::~LockedPicture() {
    if (view_.data) SDL_UnlockTexture(texture_);
}

NewCopy::NewCopy(SDL_Renderer* renderer, int w, int h)
    : texture_(SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h)) {
    void* pixels = nullptr;
    int pitch = 0;
    if (!texture_ || SDL_LockTexture(texture_.get(), nullptr, &pixels, &pitch) != 0) return;
    view_ = pixels::View{w, h, pitch / 4, static_cast<uint32_t*>(pixels)};
    for (int y = 0; y < h; ++y)
        std::memset(view_.Row(y), 0, static_cast<size_t>(w) * 4);
}

NewCopy::~NewCopy() {
    if (view_.data) SDL_UnlockTexture(texture_.get());
}

OwnedTexture NewCopy::Take() {
    if (view_.data) SDL_UnlockTexture(texture_.get());
    view_ = pixels::View{};
    return std::move(texture_);
}

void DrawCopy(SDL_Texture* picture, SDL_Texture* copy, const SDL_Rect& at) {
    Uint8 r = 255, g = 255, b = 255, a = 255;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    SDL_GetTextureColorMod(picture, &r, &g, &b);
    SDL_GetTextureAlphaMod(picture, &a);
    SDL_GetTextureBlendMode(picture, &blend);
    SDL_SetTextureColorMod(copy, r, g, b);
    SDL_SetTextureAlphaMod(copy, a);
    SDL_SetTextureBlendMode(copy, blend);
    softframe::Copy(copy, nullptr,
                    SDL_FRect{static_cast<float>(at.x), static_cast<float>(at.y), static_cast<float>(at.w),
                              static_cast<float>(at.h)});
}

} // namespace zorbel::copycache
