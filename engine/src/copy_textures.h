// How the copy cache reads pictures out of SDL textures and hands its copies back as textures. On the
// software renderer a streaming texture hands out its own pixels while locked, so nothing is copied twice.
#pragma once

#include "soft_transform.h"

#include <SDL.h>

#include <memory>

namespace zorbel::copycache {

struct DestroyTexture {
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};
using OwnedTexture = std::unique_ptr<SDL_Texture, DestroyTexture>;

// Whether the engine's faces may be read: not for copies kept from frame to frame, as a face's pixels change;
// yes for a copy blended within the frame, which is blended before the face next changes.
enum class Faces { Refused, Read };

// The rectangle as SDL_RenderCopy(Ex)F clips it to a w × h picture (all of it for null); false when none of
// it lies inside.
inline bool ClipToPicture(int w, int h, const SDL_Rect* src, SDL_Rect* out) {
    const SDL_Rect whole{0, 0, w, h};
    if (!src) {
        *out = whole;
        return true;
    }
    return SDL_IntersectRect(src, &whole, out) == SDL_TRUE;
}

// The picture's rectangle as SDL_RenderCopy(Ex)F clips it to the picture; false for a picture the cache
// cannot read (render targets, faces unless asked for, pictures of other formats) or a rectangle outside it.
bool ReadableRect(SDL_Texture* texture, const SDL_Rect* src, SDL_Rect* out, Faces faces = Faces::Refused);

// A picture's pixels, readable (and, for the engine's own faces, writable) while this lives; no data if the
// texture cannot be locked. Locking makes SDL first finish the draws it has batched that read the picture.
class LockedPicture {
  public:
    explicit LockedPicture(SDL_Texture* texture);
    ~LockedPicture();
    LockedPicture(const LockedPicture&) = delete;
    LockedPicture& operator=(const LockedPicture&) = delete;
    const pixels::View& view() const { return view_; }

  private:
    SDL_Texture* texture_;
    pixels::View view_;
};

// A new w × h picture, every pixel 0, to be written in place; no data if it cannot be made.
class NewCopy {
  public:
    NewCopy(SDL_Renderer* renderer, int w, int h);
    ~NewCopy();
    NewCopy(const NewCopy&) = delete;
    NewCopy& operator=(const NewCopy&) = delete;
    const pixels::View& view() const { return view_; }
    // The finished picture, ready to draw.
    OwnedTexture Take();

  private:
    OwnedTexture texture_;
    pixels::View view_;
};

// Draws a copy into `at` (its own size) with its picture's colour, alpha and blend mode.
void DrawCopy(SDL_Texture* picture, SDL_Texture* copy, const SDL_Rect& at);

inline pixels::Filter FilterOf(SDL_ScaleMode mode) {
    return mode == SDL_ScaleModeNearest ? pixels::Filter::Nearest : pixels::Filter::Bilinear;
}

inline pixels::Rect ToPixels(const SDL_Rect& r) {
    return pixels::Rect{r.x, r.y, r.w, r.h};
}

} // namespace zorbel::copycache
