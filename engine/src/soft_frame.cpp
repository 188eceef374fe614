// The engine's own blending of the logical picture: which draws it takes from SDL, the order it keeps, the
// hand-over of the picture between the two, and the check when the window opens.
#include "soft_frame.h"

#include "blend.h"
#include "copy_textures.h"
#include "engine.h"
#include "hooks.h"
#include "workers.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace zorbel::softframe {
namespace {

// A copy SDL would blend unscaled, clipped to the picture.
struct Command {
    pixels::View src;
    pixels::Rect from;
    int x = 0, y = 0;
    pixels::BlendMode mode = pixels::BlendMode::Alpha;
    pixels::Mods mods;
};

// A stretch a kept copy comes from, made when the copies are blended: the stretches of a frame (growing
// blasts take a new size every tick) are shared out over the threads like the rows.
struct Stretch {
    pixels::View src;
    pixels::Rect from;
    pixels::Filter filter;
    pixels::Buffer out;
};

// SDL's stretch refuses only rectangles outside its pictures and sizes past 16 bits, which are told first.
constexpr int kMaxStretch = 0xFFFF;

struct FrameState {
    bool enabled = false;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* picture = nullptr;
    std::unique_ptr<pixels::Buffer> screen;
    std::vector<Command> pending;
    std::vector<Stretch> stretches;
    // Whose picture is the frame so far: the engine's (with the pending copies still to blend on it) or
    // SDL's.
    bool mine = false;
    // The engine's picture is black from the frame's start but not yet written.
    bool blankUnwritten = false;
    Figures figures;
};
FrameState gFrame;

pixels::View ScreenView() {
    return gFrame.screen->view();
}

bool ModeOf(SDL_BlendMode blend, pixels::BlendMode* mode) {
    switch (blend) {
    case SDL_BLENDMODE_BLEND:
        *mode = pixels::BlendMode::Alpha;
        return true;
    case SDL_BLENDMODE_ADD:
        *mode = pixels::BlendMode::Add;
        return true;
    case SDL_BLENDMODE_MUL:
        *mode = pixels::BlendMode::Multiply;
        return true;
    default:
        return false;
    }
}

// Blends the kept copies into the engine's picture, in order, every band of rows at once; a picture still
// black and unwritten is cleared by each band just before it blends there. With nothing kept the picture is
// left as it is, unwritten.
void BlendPending() {
    if (gFrame.pending.empty()) return;
    const bool blank = gFrame.blankUnwritten;
    gFrame.blankUnwritten = false;
    workers::ForEachBand(static_cast<int>(gFrame.stretches.size()), [](int first, int end) {
        for (int i = first; i < end; ++i) {
            Stretch& s = gFrame.stretches[static_cast<size_t>(i)];
            // Never expected (the sizes were checked): a stretch SDL refuses blends as nothing.
            if (!pixels::Stretch(s.src, s.from, s.out.view(), s.filter))
                std::fill_n(s.out.view().data, static_cast<size_t>(s.out.view().w) * s.out.view().h, 0u);
        }
    });
    const pixels::View screen = ScreenView();
    const pixels::Kernel kernel = pixels::FastestKernel();
    workers::ForEachBand(screen.h, [&screen, kernel, blank](int first, int end) {
        if (blank)
            std::memset(screen.Row(first), 0,
                        static_cast<size_t>(screen.pitch) * static_cast<size_t>(end - first) * 4);
        for (const Command& c : gFrame.pending) {
            const int top = std::max(c.y, first), bottom = std::min(c.y + c.from.h, end);
            if (top >= bottom) continue;
            pixels::BlendInto(c.src, c.from.x, c.from.y + (top - c.y), screen, c.x, top, c.from.w,
                              bottom - top, c.mode, c.mods, kernel);
        }
    });
    gFrame.figures.blended += gFrame.pending.size();
    gFrame.pending.clear();
    gFrame.stretches.clear();
}

// The engine takes the picture from SDL: SDL's drawing so far is read back.
bool TakePicture() {
    if (gFrame.mine) return true;
    const pixels::View v = ScreenView();
    if (SDL_RenderReadPixels(gFrame.renderer, nullptr, SDL_PIXELFORMAT_RGB888, v.data, v.pitch * 4) != 0) {
        Report("cannot read the picture back (%s); SDL draws it from now on", SDL_GetError());
        Reset();
        return false;
    }
    ++gFrame.figures.handovers;
    gFrame.mine = true;
    gFrame.blankUnwritten = false;
    return true;
}

// SDL takes the picture back with everything blended into it.
void HandOver() {
    if (!gFrame.mine) return;
    gFrame.mine = false;
    if (gFrame.blankUnwritten && gFrame.pending.empty()) {
        SDL_SetRenderDrawColor(gFrame.renderer, 0, 0, 0, 255);
        SDL_RenderClear(gFrame.renderer);
        return;
    }
    BlendPending();
    const pixels::View v = ScreenView();
    ++gFrame.figures.handovers;
    if (SDL_UpdateTexture(gFrame.picture, nullptr, v.data, v.pitch * 4) != 0)
        ReportOnce("soft-frame-upload", std::string("cannot hand the picture to SDL: ") + SDL_GetError());
}

// Keeps the copy (nothing, if it lies outside the picture); false when the engine cannot take the picture
// from SDL, which then draws everything.
bool Keep(const pixels::View& src, pixels::Rect from, int x, int y, pixels::BlendMode mode,
          pixels::Mods mods) {
    const pixels::View screen = ScreenView();
    if (!pixels::ClipCopy(from, x, y, screen.w, screen.h)) return true;
    if (!TakePicture()) return false;
    gFrame.pending.push_back(Command{src, from, x, y, mode, mods});
    return true;
}

bool DrawingUnscaled() {
    float sx = 1.0f, sy = 1.0f;
    SDL_RenderGetScale(gFrame.renderer, &sx, &sy);
    return sx == 1.0f && sy == 1.0f;
}

// Keeps the copy if the engine can blend it as SDL would; false leaves it to SDL.
bool Kept(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst) {
    if (!DrawingUnscaled()) return false;
    SDL_Rect source;
    // A face (a ground tile) is blended from its own pixels too: a queued draw or SDL's drawing changes them
    // only after bake::Settle has blended what is kept.
    if (!copycache::ReadableRect(texture, src, &source, copycache::Faces::Read)) return false;
    SDL_BlendMode blend = SDL_BLENDMODE_NONE;
    pixels::BlendMode mode;
    SDL_GetTextureBlendMode(texture, &blend);
    if (!ModeOf(blend, &mode)) return false;
    pixels::Mods mods;
    SDL_GetTextureColorMod(texture, &mods.r, &mods.g, &mods.b);
    SDL_GetTextureAlphaMod(texture, &mods.a);
    // As SDL queues it: the corner and size truncated to whole pixels.
    const SDL_Rect at{static_cast<int>(dst.x), static_cast<int>(dst.y), static_cast<int>(dst.w),
                      static_cast<int>(dst.h)};
    const copycache::LockedPicture picture(texture);
    if (!picture.view().data) return false;
    if (at.w == source.w && at.h == source.h) {
        return Keep(picture.view(), copycache::ToPixels(source), at.x, at.y, mode, mods);
    }
    // A scaled copy is stretched whole into a surface and blended from it, except a nearest stretch inside
    // the picture, which SDL scales while blending.
    SDL_ScaleMode scaleMode = SDL_ScaleModeLinear;
    SDL_GetTextureScaleMode(texture, &scaleMode);
    const pixels::View screen = ScreenView();
    const bool crossesEdge = at.x < 0 || at.y < 0 || at.x + at.w > screen.w || at.y + at.h > screen.h;
    if (at.w <= 0 || at.h <= 0 || (scaleMode == SDL_ScaleModeNearest && !crossesEdge) || at.w > kMaxStretch ||
        at.h > kMaxStretch || source.w > kMaxStretch || source.h > kMaxStretch)
        return false;
    const pixels::Filter filter =
        scaleMode == SDL_ScaleModeNearest ? pixels::Filter::Nearest : pixels::Filter::Bilinear;
    const size_t kept = gFrame.pending.size();
    gFrame.stretches.push_back(Stretch{picture.view(), copycache::ToPixels(source), filter,
                                       pixels::Buffer(at.w, at.h, pixels::Buffer::Unfilled{})});
    if (!Keep(gFrame.stretches.back().out.view(), pixels::Rect{0, 0, at.w, at.h}, at.x, at.y, mode, mods))
        return false;
    // A stretch whose copy lies wholly outside the picture is not made.
    if (gFrame.pending.size() == kept) gFrame.stretches.pop_back();
    return true;
}

// SDL_RenderCopyF's own test: a copy that misses the picture draws nothing.
bool MissesPicture(const SDL_FRect& dst) {
    const pixels::View screen = ScreenView();
    const SDL_FRect whole{0, 0, static_cast<float>(screen.w), static_cast<float>(screen.h)};
    return !SDL_HasIntersectionF(&dst, &whole);
}

// Awkward copies drawn by SDL and by the engine into the same background; every byte must agree.
bool BlendsLikeSdl() {
    constexpr int kPicW = 23, kPicH = 17;
    std::vector<uint32_t> picture(kPicW * kPicH);
    for (int i = 0; i < kPicW * kPicH; ++i) {
        const uint32_t alpha = i % 5 == 0 ? 0u : i % 5 == 1 ? 255u : static_cast<uint32_t>(i * 37 % 256);
        picture[static_cast<size_t>(i)] = (alpha << 24) | (static_cast<uint32_t>(i * 11 % 256) << 16) |
                                          (static_cast<uint32_t>(i * 53 % 256) << 8) |
                                          static_cast<uint32_t>(i * 7 % 256);
    }
    const pixels::View screen = ScreenView();
    std::vector<uint32_t> background(static_cast<size_t>(screen.w) * static_cast<size_t>(screen.h));
    for (size_t i = 0; i < background.size(); ++i)
        background[i] = static_cast<uint32_t>(i * 2654435761u);
    SDL_Texture* pic = SDL_CreateTexture(gFrame.renderer, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STREAMING, kPicW, kPicH);
    bool same = pic && SDL_UpdateTexture(pic, nullptr, picture.data(), kPicW * 4) == 0;
    struct Case {
        SDL_FRect dst;
        SDL_BlendMode blend;
        SDL_Color mods;
        bool frame, nearest;
    };
    const float right = static_cast<float>(screen.w), bottom = static_cast<float>(screen.h);
    const Case cases[] = {
        {{30.5f, 20.25f, 23, 17}, SDL_BLENDMODE_BLEND, {255, 255, 255, 255}, false, false},
        {{-7.5f, -5.9f, 23, 17}, SDL_BLENDMODE_BLEND, {0, 0, 0, 100}, false, false},
        {{right - 9, bottom - 4, 23, 17}, SDL_BLENDMODE_BLEND, {250, 180, 255, 200}, false, false},
        {{60, 40, 12, 10}, SDL_BLENDMODE_ADD, {255, 255, 255, 255}, true, false},
        {{70, 70, 23, 17}, SDL_BLENDMODE_ADD, {90, 200, 255, 128}, false, false},
        {{-10, -10, 60, 45}, SDL_BLENDMODE_MUL, {200, 150, 100, 255}, false, false},
        {{100, 90, 23, 17}, SDL_BLENDMODE_MUL, {128, 128, 128, 128}, false, false},
        {{100, 100, 40.5f, 30.2f}, SDL_BLENDMODE_BLEND, {255, 255, 255, 180}, false, false},
        {{right - 30, 200, 50, 33}, SDL_BLENDMODE_BLEND, {255, 255, 255, 255}, true, true},
        {{200, 300, 1, 1}, SDL_BLENDMODE_BLEND, {255, 255, 255, 255}, true, false}};
    std::vector<uint32_t> read[2];
    for (const Case& c : cases) {
        if (!same) break;
        const SDL_Rect frame{5, 3, c.dst.w == 1 ? 1 : 12, c.dst.h == 1 ? 1 : 10};
        const SDL_Rect* src = c.frame ? &frame : nullptr;
        SDL_SetTextureScaleMode(pic, c.nearest ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        SDL_SetTextureBlendMode(pic, c.blend);
        SDL_SetTextureColorMod(pic, c.mods.r, c.mods.g, c.mods.b);
        SDL_SetTextureAlphaMod(pic, c.mods.a);
        for (int way = 0; way < 2; ++way) {
            same = same && SDL_UpdateTexture(gFrame.picture, nullptr, background.data(), screen.w * 4) == 0;
            if (way == 0) {
                SDL_RenderCopyF(gFrame.renderer, pic, src, &c.dst);
            } else {
                gFrame.mine = false;
                same = same && Kept(pic, src, c.dst) && gFrame.pending.size() == 1;
                HandOver();
            }
            read[way].resize(background.size());
            same = same && SDL_RenderReadPixels(gFrame.renderer, nullptr, SDL_PIXELFORMAT_RGB888,
                                                read[way].data(), screen.w * 4) == 0;
        }
        same = same && read[0] == read[1];
    }
    if (pic) SDL_DestroyTexture(pic);
    gFrame.pending.clear();
    gFrame.stretches.clear();
    gFrame.figures = Figures{};
    return same;
}

} // namespace

void Configure(SDL_Renderer* renderer, SDL_Texture* picture) {
    Reset();
    Uint32 format = 0;
    int w = 0, h = 0;
    if (!IsSoftwareRenderer(renderer) || SDL_QueryTexture(picture, &format, nullptr, &w, &h) != 0 ||
        format != SDL_PIXELFORMAT_RGB888 || hooks::WholeNumber("ZORBEL_SOFT_BLEND", 0, 1, 1) == 0)
        return;
    gFrame.renderer = renderer;
    gFrame.picture = picture;
    gFrame.screen = std::make_unique<pixels::Buffer>(w, h);
    SDL_Texture* previous = SDL_GetRenderTarget(renderer);
    SDL_SetRenderTarget(renderer, picture);
    const bool same = BlendsLikeSdl();
    SDL_SetRenderTarget(renderer, previous);
    if (!same) {
        Report("the engine's blending would not match this SDL's software drawing; SDL blends the picture");
        Reset();
        return;
    }
    // Every core the process may use blends a share of the rows.
    gFrame.figures.threads = workers::Threads();
    gFrame.mine = false;
    gFrame.enabled = true;
}

void Clear() {
    if (!gFrame.enabled) {
        SDL_SetRenderDrawColor(gVideo.renderer, 0, 0, 0, 255);
        SDL_RenderClear(gVideo.renderer);
        return;
    }
    gFrame.pending.clear();
    gFrame.stretches.clear();
    gFrame.mine = true;
    gFrame.blankUnwritten = true;
}

void Copy(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst) {
    if (gFrame.enabled && !textures::RenderingIntoTarget()) {
        if (MissesPicture(dst) || Kept(texture, src, dst)) return;
        BeforeSdlDraws();
        ++gFrame.figures.drawnBySdl;
    }
    SDL_RenderCopyF(gVideo.renderer, texture, src, &dst);
}

void BeforeSdlDraws() {
    if (gFrame.enabled && !textures::RenderingIntoTarget()) HandOver();
}

void Flush() {
    if (gFrame.enabled && gFrame.mine) BlendPending();
}

void Publish() {
    if (gFrame.enabled) HandOver();
}

void Reset() {
    gFrame = FrameState{};
}

Figures Counts() {
    return gFrame.figures;
}

} // namespace zorbel::softframe
