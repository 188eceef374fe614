// Cached turned and stretched copies for the software renderer: which draws a kept copy can stand in for,
// what shapes each copy (its key), and how long copies are kept. The pixels come from soft_transform, the
// textures from copy_textures, and copy_check decides at start whether this SDL draws the same.
#include "copy_cache.h"

#include "aged_cache.h"
#include "copy_check.h"
#include "copy_textures.h"
#include "engine.h"
#include "hooks.h"
#include "soft_transform.h"
#include "workers.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace zorbel::copycache {
namespace {

// Copies not drawn for more than this many frames are let go, and the oldest go first above the budget: a
// crowded field reuses about three copies in four from frame to frame, a few kilobytes to thirty each, and
// the light takes 7.3 MB. A bigger cache keeps more but is slower for it.
constexpr uint64_t kKeepFrames = 8;
constexpr size_t kBudgetBytes = size_t{16} << 20;
constexpr size_t kSourceBudgetBytes = size_t{8} << 20;
// Turns of this many pixels and more are shared out in bands (a monster's copy is a few thousand).
constexpr int64_t kBandedTurnPixels = 128 * 128;

struct Key {
    SDL_Texture* texture;
    SDL_Rect src;
    uint32_t wBits, hBits; // the copy's size as given (its turning centre is half of it)
    uint64_t angleBits;    // 0 for a scaled copy
    bool rotated;
    SDL_ScaleMode scaleMode;
    bool operator==(const Key& o) const {
        return texture == o.texture && src.x == o.src.x && src.y == o.src.y && src.w == o.src.w &&
               src.h == o.src.h && wBits == o.wBits && hBits == o.hBits && angleBits == o.angleBits &&
               rotated == o.rotated && scaleMode == o.scaleMode;
    }
};

struct KeyHash {
    size_t operator()(const Key& k) const {
        uint64_t h = reinterpret_cast<uintptr_t>(k.texture);
        for (uint64_t v : {uint64_t(uint32_t(k.src.x)), uint64_t(uint32_t(k.src.y)),
                           uint64_t(uint32_t(k.src.w)), uint64_t(uint32_t(k.src.h)), uint64_t(k.wBits),
                           uint64_t(k.hBits), k.angleBits, uint64_t(k.rotated), uint64_t(k.scaleMode)})
            h = (h ^ v) * 0x100000001B3ull + (h >> 29);
        return static_cast<size_t>(h);
    }
};

struct Entry {
    OwnedTexture copy;
    SDL_Rect place{}; // where the copy lands, relative to the truncated rectangle's corner
};

struct Seen {};

// A scaled source; one reserved for the bake has no pixels until the bake's next run makes them. The part
// of it that is not wholly transparent is worked out only for the bake, which skips the rest.
struct Source {
    pixels::Buffer pixels;
    bool made = true;
    pixels::Rect opaque;
    bool opaqueKnown = false;
};

void KnowOpaquePart(Source& source) {
    if (source.opaqueKnown) return;
    source.opaque = pixels::OpaquePart(source.pixels.view());
    source.opaqueKnown = true;
}

struct CacheState {
    bool enabled = false;
    SDL_Renderer* renderer = nullptr;
    AgedCache<Key, Entry, KeyHash> entries{kKeepFrames, kBudgetBytes};
    // A source rectangle scaled to a copy's size, as SDL scales it before a turn, keyed as a stretch of that
    // size. A monster keeps its frame and size for several ticks while it turns, and corpses of one kind and
    // size are laid at every angle, so one scaled source serves many turned copies.
    AgedCache<Key, Source, KeyHash> sources{kKeepFrames, kSourceBudgetBytes};
    // Sources reserved since the bake last ran, with what they are made from.
    std::vector<std::pair<Key, Source*>> reserved;
    // Stretches seen once: growing blasts and rings take a new size every tick, and a copy of those would
    // never be drawn again.
    AgedCache<Key, Seen, KeyHash> seenOnce{kKeepFrames, std::numeric_limits<size_t>::max()};
    // Parts of turned copies made for one draw: the frame blends them when it is shown, so they live until
    // its end.
    std::vector<OwnedTexture> drawnOnce;
    Figures figures;
};
CacheState gCache;

template <typename T> uint64_t Bits(T value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof value);
    return bits;
}

// The source rectangle scaled to w x h as SDL does before a turn or into its stretch surface.
bool Stretch(SDL_Texture* texture, const SDL_Rect& src, const pixels::View& out, SDL_ScaleMode mode) {
    const LockedPicture picture(texture);
    return picture.view().data && pixels::Stretch(picture.view(), ToPixels(src), out, FilterOf(mode));
}

// The part of a turned copy's box that can show: what lies inside the viewport, which is all that SDL draws
// into (clipping may keep less). In the box's own coordinates; the box lands at (x, y) moved by its corner.
pixels::Rect ShownPart(const pixels::TurnPlan& plan, int x, int y) {
    SDL_Rect viewport{};
    SDL_RenderGetViewport(gCache.renderer, &viewport);
    const SDL_Rect box{x + plan.box.x, y + plan.box.y, plan.box.w, plan.box.h};
    const SDL_Rect inside{0, 0, viewport.w, viewport.h};
    SDL_Rect shown{};
    if (!SDL_IntersectRect(&box, &inside, &shown)) return pixels::Rect{};
    return pixels::Rect{shown.x - box.x, shown.y - box.y, shown.w, shown.h};
}

// The turned copy SW_RenderCopyEx makes, or the part of it given: crop and scale to the copy's whole-pixel
// size unless the picture already is that, then turn it into its bounding box.
bool MakeTurned(SDL_Texture* texture, const SDL_Rect& src, int w, int h, const pixels::TurnPlan& plan,
                const pixels::Rect& part, SDL_ScaleMode mode, Entry& entry) {
    const pixels::View scaled = ScaledSource(texture, src, w, h, mode);
    if (!scaled.data) return false;
    NewCopy turned(gCache.renderer, part.w, part.h);
    if (!turned.view().data) return false;
    const pixels::View into = turned.view();
    const pixels::Filter filter = FilterOf(mode);
    // A large copy is turned in bands on every core: a strike's flash grows over the whole screen, turning,
    // and is a new copy every tick.
    if (static_cast<int64_t>(part.w) * part.h >= kBandedTurnPixels)
        workers::ForEachBand(part.h, [&](int first, int end) {
            pixels::TurnPart(scaled, pixels::RowsOf(into, first, end), plan, filter,
                             pixels::Rect{part.x, part.y + first, part.w, end - first});
        });
    else
        pixels::TurnPart(scaled, into, plan, filter, part);
    entry.copy = turned.Take();
    entry.place = SDL_Rect{plan.box.x + part.x, plan.box.y + part.y, part.w, part.h};
    return true;
}

bool MakeScaled(SDL_Texture* texture, const SDL_Rect& src, int w, int h, SDL_ScaleMode mode, Entry& entry) {
    NewCopy scaled(gCache.renderer, w, h);
    if (!scaled.view().data || !Stretch(texture, src, scaled.view(), mode)) return false;
    entry.copy = scaled.Take();
    entry.place = SDL_Rect{0, 0, w, h};
    return true;
}

Entry* Find(const Key& key) {
    Entry* entry = gCache.entries.Find(key);
    if (entry) ++gCache.figures.hits;
    return entry;
}

Entry* Insert(const Key& key, Entry made) {
    ++gCache.figures.misses;
    const size_t bytes = static_cast<size_t>(made.place.w) * static_cast<size_t>(made.place.h) * 4;
    return &gCache.entries.Put(key, std::move(made), bytes);
}

// Draws the entry with the source texture's colour, alpha and blend mode, its corner at (x, y).
void DrawEntry(SDL_Texture* texture, const Entry& entry, int x, int y) {
    const SDL_Rect at{x + entry.place.x, y + entry.place.y, entry.place.w, entry.place.h};
    DrawCopy(texture, entry.copy.get(), at);
}

void ClearAll() {
    gCache.reserved.clear();
    gCache.entries.Clear();
    gCache.sources.Clear();
    gCache.seenOnce.Clear();
    gCache.drawnOnce.clear();
}

bool DrawingUnscaled() {
    float sx = 1.0f, sy = 1.0f;
    SDL_RenderGetScale(gCache.renderer, &sx, &sy);
    return sx == 1.0f && sy == 1.0f;
}

bool Rotated(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst, double angle) {
    if (!DrawingUnscaled()) return false;
    SDL_BlendMode blend = SDL_BLENDMODE_NONE;
    SDL_GetTextureBlendMode(texture, &blend);
    // Other blend modes make SDL apply colour and alpha before the turn, or mask it; those stay with SDL.
    if (blend != SDL_BLENDMODE_BLEND && blend != SDL_BLENDMODE_ADD) return false;
    SDL_Rect source;
    if (!ReadableRect(texture, src, &source)) return false;
    const int w = static_cast<int>(dst.w), h = static_cast<int>(dst.h);
    if (w <= 0 || h <= 0) return false;
    SDL_ScaleMode mode = SDL_ScaleModeLinear;
    SDL_GetTextureScaleMode(texture, &mode);
    const Key key{
        texture, source, static_cast<uint32_t>(Bits(dst.w)), static_cast<uint32_t>(Bits(dst.h)), Bits(angle),
        true,    mode};
    const int x = static_cast<int>(dst.x), y = static_cast<int>(dst.y);
    Entry* entry = Find(key);
    if (!entry) {
        const pixels::TurnPlan plan = pixels::PlanTurn(w, h, angle, dst.w / 2.0f, dst.h / 2.0f);
        if (plan.box.w <= 0 || plan.box.h <= 0) return false;
        const pixels::Rect whole{0, 0, plan.box.w, plan.box.h};
        const pixels::Rect shown = ShownPart(plan, x, y);
        // A large copy that reaches past the edge is turned only where it shows the first time it is seen,
        // and not kept: a strike's flash turns and grows over the screen, a new copy every tick, most of it
        // off the screen. A copy seen again is made whole and kept, as any other.
        const bool large = static_cast<int64_t>(plan.box.w) * plan.box.h >= kBandedTurnPixels;
        if (large && (shown.w < whole.w || shown.h < whole.h) && !gCache.seenOnce.Erase(key)) {
            gCache.seenOnce.Put(key, Seen{}, 0);
            if (shown.w <= 0 || shown.h <= 0) return true; // SDL would clip it all away
            ++gCache.figures.misses;
            Entry part;
            if (!MakeTurned(texture, source, w, h, plan, shown, mode, part)) return false;
            DrawEntry(texture, part, x, y);
            gCache.drawnOnce.push_back(std::move(part.copy));
            return true;
        }
        Entry made;
        if (!MakeTurned(texture, source, w, h, plan, whole, mode, made)) return false;
        entry = Insert(key, std::move(made));
    }
    DrawEntry(texture, *entry, x, y);
    return true;
}

bool Scaled(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst) {
    if (!DrawingUnscaled()) return false;
    SDL_Rect source;
    if (!ReadableRect(texture, src, &source)) return false;
    const SDL_Rect rect{static_cast<int>(dst.x), static_cast<int>(dst.y), static_cast<int>(dst.w),
                        static_cast<int>(dst.h)};
    if (rect.w <= 0 || rect.h <= 0 || (rect.w == source.w && rect.h == source.h)) return false;
    SDL_ScaleMode mode = SDL_ScaleModeLinear;
    SDL_GetTextureScaleMode(texture, &mode);
    // SDL stretches into a surface of its own and blends that when the copy crosses the edge of what is drawn
    // into; inside it, only its bilinear path stretches first (its nearest path scales while blending).
    int targetW = 0, targetH = 0;
    if (SDL_Texture* target = SDL_GetRenderTarget(gCache.renderer))
        SDL_QueryTexture(target, nullptr, nullptr, &targetW, &targetH);
    else
        SDL_GetRendererOutputSize(gCache.renderer, &targetW, &targetH);
    const bool crossesEdge =
        rect.x < 0 || rect.y < 0 || rect.x + rect.w > targetW || rect.y + rect.h > targetH;
    SDL_BlendMode blend = SDL_BLENDMODE_NONE;
    SDL_GetTextureBlendMode(texture, &blend);
    if (!crossesEdge && (mode == SDL_ScaleModeNearest || blend == SDL_BLENDMODE_NONE)) return false;
    const Key key{texture, source, static_cast<uint32_t>(rect.w), static_cast<uint32_t>(rect.h), 0,
                  false,   mode};
    Entry* entry = Find(key);
    if (!entry) {
        // A stretch is kept from its second sight on: the light is drawn the same way every frame.
        if (!gCache.seenOnce.Erase(key)) {
            gCache.seenOnce.Put(key, Seen{}, 0);
            return false;
        }
        Entry made;
        if (!MakeScaled(texture, source, rect.w, rect.h, mode, made)) return false;
        entry = Insert(key, std::move(made));
    }
    DrawEntry(texture, *entry, rect.x, rect.y);
    return true;
}

} // namespace

void Configure(SDL_Renderer* renderer) {
    Reset();
    const bool software = IsSoftwareRenderer(renderer);
    gCache.renderer = renderer;
    if (!software || hooks::WholeNumber("ZORBEL_DRAW_CACHE", 0, 1, 1) == 0) return;
    // A stretch is kept from its second sight on, so the check draws each one twice.
    const bool same = DrawsLikeSdl(
        renderer, [](SDL_Texture* picture, const SDL_Rect* src, const SDL_FRect& dst, double angle) {
            return angle != 0 ? Rotated(picture, src, dst, angle)
                              : Scaled(picture, src, dst) || Scaled(picture, src, dst);
        });
    ClearAll();
    if (!same) {
        Report("cached copies would not match this SDL's software drawing; drawing without them");
        return;
    }
    gCache.figures = Figures{};
    gCache.enabled = true;
}

bool Active() {
    return gCache.enabled;
}

pixels::View ScaledSource(SDL_Texture* texture, const SDL_Rect& src, int w, int h, SDL_ScaleMode mode) {
    const Key key{texture, src, static_cast<uint32_t>(w), static_cast<uint32_t>(h), 0, false, mode};
    Source* kept = gCache.sources.Find(key);
    if (kept && !kept->made) {
        // Reserved for the bake and wanted at once: made now, and the bake's run leaves it be.
        kept->made = Stretch(texture, src, kept->pixels.view(), mode);
        if (!kept->made) return pixels::View{};
    }
    if (!kept) {
        Source made{pixels::Buffer(w, h, pixels::Buffer::Unfilled{}), true, {}, false};
        if (!Stretch(texture, src, made.pixels.view(), mode)) return pixels::View{};
        const size_t bytes = made.pixels.bytes();
        kept = &gCache.sources.Put(key, std::move(made), bytes);
    }
    return kept->pixels.view();
}

pixels::View ReserveScaledSource(SDL_Texture* texture, const SDL_Rect& src, int w, int h, SDL_ScaleMode mode,
                                 const pixels::Rect** opaque) {
    const Key key{texture, src, static_cast<uint32_t>(w), static_cast<uint32_t>(h), 0, false, mode};
    Source* source = gCache.sources.Find(key);
    if (!source) {
        Source unmade{pixels::Buffer(w, h, pixels::Buffer::Unfilled{}), false, {}, false};
        const size_t bytes = unmade.pixels.bytes();
        source = &gCache.sources.Put(key, std::move(unmade), bytes);
        gCache.reserved.emplace_back(key, source);
    } else if (source->made) {
        KnowOpaquePart(*source);
    }
    *opaque = &source->opaque;
    return source->pixels.view();
}

void MakeReservedSources() {
    std::vector<std::pair<Key, Source*>>& reserved = gCache.reserved;
    // Made meanwhile, when a draw wanted it at once.
    std::erase_if(reserved, [](const auto& r) {
        if (r.second->made) KnowOpaquePart(*r.second);
        return r.second->made;
    });
    if (reserved.empty()) return;
    // Pictures are locked here, on the drawing thread, once each; their pixels stay put for the stretches.
    std::vector<std::pair<SDL_Texture*, std::unique_ptr<LockedPicture>>> pictures;
    std::vector<const pixels::View*> from(reserved.size());
    for (size_t i = 0; i < reserved.size(); ++i) {
        SDL_Texture* texture = reserved[i].first.texture;
        auto it = std::find_if(pictures.begin(), pictures.end(),
                               [texture](const auto& p) { return p.first == texture; });
        if (it == pictures.end()) {
            pictures.emplace_back(texture, std::make_unique<LockedPicture>(texture));
            it = pictures.end() - 1;
        }
        from[i] = &it->second->view();
    }
    std::vector<char> made(reserved.size(), 0);
    workers::ForEachBand(static_cast<int>(reserved.size()), [&](int first, int end) {
        for (int i = first; i < end; ++i) {
            const auto& [key, source] = reserved[static_cast<size_t>(i)];
            const pixels::View& picture = *from[static_cast<size_t>(i)];
            made[static_cast<size_t>(i)] =
                picture.data &&
                pixels::Stretch(picture, ToPixels(key.src), source->pixels.view(), FilterOf(key.scaleMode));
            if (made[static_cast<size_t>(i)]) KnowOpaquePart(*source);
        }
    });
    for (size_t i = 0; i < reserved.size(); ++i) {
        Source& source = *reserved[i].second;
        source.made = true;
        // Never expected: a draw of what could not be made leaves the face as it was.
        if (!made[i]) {
            const pixels::View v = source.pixels.view();
            std::fill_n(v.data, static_cast<size_t>(v.w) * static_cast<size_t>(v.h), 0u);
            source.opaque = pixels::Rect{};
            source.opaqueKnown = true;
            Report("a mark's picture could not be scaled; it is left out");
        }
    }
    reserved.clear();
}

bool DrawRotated(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst, double angle) {
    return gCache.enabled && Rotated(texture, src, dst, angle);
}

bool DrawScaled(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst) {
    return gCache.enabled && Scaled(texture, src, dst);
}

void EndFrame() {
    MakeReservedSources(); // none are left after the bake has run; no source goes before it is made
    gCache.drawnOnce.clear();
    gCache.seenOnce.EndFrame();
    gCache.sources.EndFrame();
    gCache.entries.EndFrame();
}

void Forget(SDL_Texture* texture) {
    MakeReservedSources();
    auto made = [texture](const Key& key) { return key.texture == texture; };
    gCache.seenOnce.EraseIf(made);
    gCache.sources.EraseIf(made);
    gCache.entries.EraseIf(made);
}

void Reset() {
    gCache = CacheState{};
}

Figures Counts() {
    Figures f = gCache.figures;
    f.bytes = gCache.entries.bytes();
    f.entries = gCache.entries.size();
    return f;
}

} // namespace zorbel::copycache
