// Cached rotated and scaled copies for the software renderer. The turn below is the one SDL 2's software
// renderer makes (src/render/software/SDL_rotate.c): the same sizes, the same fixed-point steps, the same
// bilinear rounding, so a cached copy blended onto the screen gives the pixels SDL_RenderCopyExF gives.
// A check at start compares the two on test pictures and keeps the cache off if any pixel differs.
#include "copy_cache.h"

#include "engine.h"
#include "hooks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <utility>
#include <unordered_map>
#include <vector>

namespace zorbel::copycache {
namespace {

// Copies not drawn for this many frames are let go, and the oldest go first above the budget: a crowded
// field reuses about three copies in four from frame to frame, a few kilobytes to thirty each, and the light
// takes 7.3 MB. A bigger cache keeps more but is slower for it.
constexpr uint64_t kKeepFrames = 8;
constexpr size_t kBudgetBytes = size_t{16} << 20;
constexpr size_t kSourceBudgetBytes = size_t{8} << 20;

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
    SDL_Texture* copy = nullptr;
    SDL_Rect place{}; // where the copy lands, relative to the truncated rectangle's corner
    size_t bytes = 0;
    uint64_t lastFrame = 0;
};

// A source rectangle scaled to a copy's size, as SDL scales it before a turn. A monster keeps its frame and
// size for several ticks while it turns, and corpses of one kind and size are laid at every angle, so one
// scaled source serves many turned copies.
struct ScaledSource {
    std::vector<uint32_t> pixels;
    uint64_t lastFrame = 0;
};

struct CacheState {
    bool enabled = false;
    SDL_Renderer* renderer = nullptr;
    std::unordered_map<Key, Entry, KeyHash> entries;
    std::unordered_map<Key, ScaledSource, KeyHash> sources; // keyed as a stretch of that size
    size_t sourceBytes = 0;
    // Stretches seen once, by the frame they were last seen in: growing blasts and rings take a new size
    // every tick, and a copy of those would never be drawn again.
    std::unordered_map<Key, uint64_t, KeyHash> seenOnce;
    size_t bytes = 0;
    uint64_t frame = 0;
    Figures figures;
};
CacheState gCache;

// A 32-bit picture in memory, rows pitch pixels apart: scratch memory of the cache, or a texture's own.
struct Pixels {
    int w = 0, h = 0, pitch = 0; // pitch in pixels
    uint32_t* data = nullptr;
    uint32_t* Row(int y) const { return data + static_cast<ptrdiff_t>(y) * pitch; }
};

template <typename T> uint64_t Bits(T value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof value);
    return bits;
}

// SDLgfx_rotozoomSurfaceSizeTrig: the turned picture's bounding box about the centre, and the sine and cosine
// the turn steps by (reversed, as SDL turns clockwise).
struct TurnGeometry {
    SDL_Rect dest{};
    double cangle = 0.0, sangle = 0.0;
};

void RotatePoint(double sx, double sy, double sinangle, double cosangle, const SDL_FPoint& center, double* dx,
                 double* dy) {
    sx -= center.x;
    sy -= center.y;
    *dx = cosangle * sx - sinangle * sy;
    *dy = sinangle * sx + cosangle * sy;
    *dx += center.x;
    *dy += center.y;
}

TurnGeometry Geometry(int width, int height, double angle, const SDL_FPoint& center) {
    const double radangle = angle * (M_PI / 180.0);
    const double sinangle = std::sin(radangle), cosangle = std::cos(radangle);
    double x0, x1, x2, x3, y0, y1, y2, y3;
    RotatePoint(0.5, 0.5, sinangle, cosangle, center, &x0, &y0);
    RotatePoint(width - 0.5, 0.5, sinangle, cosangle, center, &x1, &y1);
    RotatePoint(0.5, height - 0.5, sinangle, cosangle, center, &x2, &y2);
    RotatePoint(width - 0.5, height - 0.5, sinangle, cosangle, center, &x3, &y3);
    const int minx = static_cast<int>(std::floor(std::min(std::min(x0, x1), std::min(x2, x3))));
    const int maxx = static_cast<int>(std::ceil(std::max(std::max(x0, x1), std::max(x2, x3))));
    const int miny = static_cast<int>(std::floor(std::min(std::min(y0, y1), std::min(y2, y3))));
    const int maxy = static_cast<int>(std::ceil(std::max(std::max(y0, y1), std::max(y2, y3))));
    TurnGeometry g;
    g.dest = SDL_Rect{minx, miny, maxx - minx, maxy - miny};
    g.sangle = -sinangle;
    g.cangle = cosangle;
    // Whole quarter turns get exact sizes and factors (the trigonometry is a hair off there).
    int angle90 = static_cast<int>(angle / 90);
    if (angle90 == angle / 90) {
        angle90 %= 4;
        if (angle90 < 0) angle90 += 4;
        if (angle90 & 1) {
            g.dest.w = height;
            g.dest.h = width;
            g.cangle = 0;
            g.sangle = angle90 == 1 ? -1 : 1;
        } else {
            g.dest.w = width;
            g.dest.h = height;
            g.cangle = angle90 == 0 ? 1 : -1;
            g.sangle = 0;
        }
    }
    return g;
}

// transformSurfaceRGBA90: a quarter turn (or several) copies pixels without filtering.
void TurnQuarters(const Pixels& src, const Pixels& dst, int quarters) {
    for (int dy = 0; dy < dst.h; ++dy) {
        uint32_t* out = dst.Row(dy);
        for (int dx = 0; dx < dst.w; ++dx) {
            int sx = dx, sy = dy;
            switch (quarters) {
            case 1: // 90 degrees clockwise
                sx = dy;
                sy = src.h - 1 - dx;
                break;
            case 2:
                sx = src.w - 1 - dx;
                sy = src.h - 1 - dy;
                break;
            case 3:
                sx = src.w - 1 - dy;
                sy = dx;
                break;
            default:
                break;
            }
            out[dx] =
                src.data[static_cast<size_t>(sy) * static_cast<size_t>(src.w) + static_cast<size_t>(sx)];
        }
    }
}

// SDL's bilinear blend of the four neighbours: per channel, t1 and t2 along the rows, then along the column,
// each step (((b - a) * f) >> 16) + a with an arithmetic shift.
#ifdef __SSE2__
// Eight 16-bit lanes at once: the signed high product sees a fraction of 32768 or more as negative, which
// takes the difference off once; adding it back gives SDL's sums exactly.
inline __m128i Lerp(__m128i a, __m128i b, int fraction) {
    const __m128i f = _mm_set1_epi16(static_cast<int16_t>(static_cast<uint16_t>(fraction)));
    const __m128i d = _mm_sub_epi16(b, a);
    const __m128i high = _mm_mulhi_epi16(d, f);
    return _mm_add_epi16(_mm_add_epi16(high, _mm_and_si128(d, _mm_srai_epi16(f, 15))), a);
}

inline uint32_t Bilinear(const uint32_t* top, const uint32_t* bottom, int ex, int ey) {
    const __m128i zero = _mm_setzero_si128();
    // Each row's two neighbours side by side: the top pair, then the bottom pair.
    const __m128i upper = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(top)), zero);
    const __m128i lower = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bottom)), zero);
    const __m128i rows = Lerp(_mm_unpacklo_epi64(upper, lower), _mm_unpackhi_epi64(upper, lower), ex);
    const __m128i both = Lerp(rows, _mm_srli_si128(rows, 8), ey);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(both, both)));
}
#else
inline uint32_t Bilinear(const uint32_t* top, const uint32_t* bottom, int ex, int ey) {
    uint32_t pixel = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int a00 = static_cast<int>((top[0] >> shift) & 0xff),
                  a01 = static_cast<int>((top[1] >> shift) & 0xff);
        const int a10 = static_cast<int>((bottom[0] >> shift) & 0xff);
        const int a11 = static_cast<int>((bottom[1] >> shift) & 0xff);
        const int t1 = ((((a01 - a00) * ex) >> 16) + a00) & 0xff;
        const int t2 = ((((a11 - a10) * ex) >> 16) + a10) & 0xff;
        pixel |= static_cast<uint32_t>(static_cast<uint8_t>((((t2 - t1) * ey) >> 16) + t1)) << shift;
    }
    return pixel;
}
#endif

// transformSurfaceRGBA: walks the destination, stepping through the source in 16.16 fixed point, blending
// the four neighbours channel by channel when smooth.
void TurnFree(const Pixels& src, const Pixels& dst, int isin, int icos, bool smooth, const SDL_Rect& dest,
              const SDL_FPoint& center) {
    const int cx = static_cast<int>(center.x * 65536.0);
    const int cy = static_cast<int>(center.y * 65536.0);
    const int fpHalf = 1 << 15;
    for (int y = 0; y < dst.h; ++y) {
        const double srcX = (dest.x + 0 + 0.5 - center.x);
        const double srcY = (dest.y + y + 0.5 - center.y);
        int sdx = static_cast<int>((icos * srcX - isin * srcY) + cx - fpHalf);
        int sdy = static_cast<int>((isin * srcX + icos * srcY) + cy - fpHalf);
        uint32_t* out = dst.Row(y);
        for (int x = 0; x < dst.w; ++x, sdx += icos, sdy += isin) {
            const int dx = sdx >> 16, dy = sdy >> 16;
            if (smooth) {
                if (dx <= -1 || dy <= -1 || dx >= src.w - 1 || dy >= src.h - 1) continue;
                const uint32_t* top = src.Row(dy) + dx;
                out[x] = Bilinear(top, top + src.pitch, sdx & 0xffff, sdy & 0xffff);
            } else if (static_cast<unsigned>(dx) < static_cast<unsigned>(src.w) &&
                       static_cast<unsigned>(dy) < static_cast<unsigned>(src.h)) {
                out[x] = src.Row(dy)[dx];
            }
        }
    }
}

// The picture's pixels as a surface over the texture's own memory (a streaming texture of the software
// renderer hands it out while locked); null for a texture that cannot be read.
class LockedPicture {
  public:
    explicit LockedPicture(SDL_Texture* texture) : texture_(texture) {
        void* pixels = nullptr;
        int pitch = 0, w = 0, h = 0;
        if (SDL_QueryTexture(texture, nullptr, nullptr, &w, &h) != 0) return;
        if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return;
        locked_ = true;
        surface_ = SDL_CreateRGBSurfaceWithFormatFrom(pixels, w, h, 32, pitch, SDL_PIXELFORMAT_ARGB8888);
    }
    ~LockedPicture() {
        SDL_FreeSurface(surface_);
        if (locked_) SDL_UnlockTexture(texture_);
    }
    LockedPicture(const LockedPicture&) = delete;
    LockedPicture& operator=(const LockedPicture&) = delete;
    SDL_Surface* surface() const { return surface_; }

  private:
    SDL_Texture* texture_;
    bool locked_ = false;
    SDL_Surface* surface_ = nullptr;
};

// The source rectangle scaled to w x h as SDL does before a turn or into its stretch surface: a plain copy
// when the sizes agree, otherwise SDL's own stretch (bilinear or nearest), into zeroed memory.
bool Stretch(SDL_Texture* texture, const SDL_Rect& src, const Pixels& out, SDL_ScaleMode mode) {
    const LockedPicture picture(texture);
    if (!picture.surface()) return false;
    const int w = out.w, h = out.h;
    SDL_Surface* target =
        SDL_CreateRGBSurfaceWithFormatFrom(out.data, w, h, 32, out.pitch * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!target) return false;
    SDL_Rect from = src, to{0, 0, w, h};
    int result = 0;
    if (src.w == w && src.h == h) {
        SDL_SetSurfaceBlendMode(picture.surface(), SDL_BLENDMODE_NONE);
        result = SDL_BlitSurface(picture.surface(), &from, target, &to);
    } else if (mode == SDL_ScaleModeNearest) {
        result = SDL_SoftStretch(picture.surface(), &from, target, &to);
    } else {
        result = SDL_SoftStretchLinear(picture.surface(), &from, target, &to);
    }
    SDL_FreeSurface(target);
    return result == 0;
}

// A cleared copy of w x h whose memory is written in place: a streaming texture of the software renderer
// hands out its own pixels while locked.
class NewCopy {
  public:
    NewCopy(int w, int h) {
        texture_ =
            SDL_CreateTexture(gCache.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
        void* pixels = nullptr;
        int pitch = 0;
        if (!texture_ || SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;
        pixels_ = Pixels{w, h, pitch / 4, static_cast<uint32_t*>(pixels)};
        for (int y = 0; y < h; ++y)
            std::memset(pixels_.Row(y), 0, static_cast<size_t>(w) * 4);
    }
    ~NewCopy() {
        if (pixels_.data) SDL_UnlockTexture(texture_);
        if (texture_) SDL_DestroyTexture(texture_);
    }
    NewCopy(const NewCopy&) = delete;
    NewCopy& operator=(const NewCopy&) = delete;
    const Pixels& pixels() const { return pixels_; }
    // The finished copy, handed over to the caller.
    SDL_Texture* Take() {
        SDL_UnlockTexture(texture_);
        pixels_.data = nullptr;
        return std::exchange(texture_, nullptr);
    }

  private:
    SDL_Texture* texture_ = nullptr;
    Pixels pixels_;
};

// The source rectangle scaled to w x h, kept from an earlier turn or made now; no pixels if SDL cannot read
// it.
Pixels ScaledSourceOf(SDL_Texture* texture, const SDL_Rect& src, int w, int h, SDL_ScaleMode mode) {
    const Key key{texture, src, static_cast<uint32_t>(w), static_cast<uint32_t>(h), 0, false, mode};
    auto it = gCache.sources.find(key);
    if (it == gCache.sources.end()) {
        ScaledSource made;
        made.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0u);
        if (!Stretch(texture, src, Pixels{w, h, w, made.pixels.data()}, mode)) return Pixels{};
        gCache.sourceBytes += made.pixels.size() * 4;
        it = gCache.sources.emplace(key, std::move(made)).first;
    }
    it->second.lastFrame = gCache.frame;
    return Pixels{w, h, w, it->second.pixels.data()};
}

// The turned copy SW_RenderCopyEx makes: crop and scale to the copy's whole-pixel size unless the picture
// already is that, then turn it into its bounding box.
bool MakeTurned(SDL_Texture* texture, const SDL_Rect& src, int w, int h, const SDL_FPoint& center,
                double angle, SDL_ScaleMode mode, Entry& entry) {
    const Pixels scaled = ScaledSourceOf(texture, src, w, h, mode);
    if (!scaled.data) return false;
    const TurnGeometry g = Geometry(w, h, angle, center);
    if (g.dest.w <= 0 || g.dest.h <= 0) return false;
    NewCopy turned(g.dest.w, g.dest.h);
    if (!turned.pixels().data) return false;
    int angle90 = static_cast<int>(angle / 90);
    if (angle90 == angle / 90) {
        angle90 %= 4;
        if (angle90 < 0) angle90 += 4;
        TurnQuarters(scaled, turned.pixels(), angle90);
    } else {
        TurnFree(scaled, turned.pixels(), static_cast<int>(g.sangle * 65536.0),
                 static_cast<int>(g.cangle * 65536.0), mode != SDL_ScaleModeNearest, g.dest, center);
    }
    entry.copy = turned.Take();
    entry.place = g.dest;
    entry.bytes = static_cast<size_t>(g.dest.w) * static_cast<size_t>(g.dest.h) * 4;
    return true;
}

bool MakeScaled(SDL_Texture* texture, const SDL_Rect& src, int w, int h, SDL_ScaleMode mode, Entry& entry) {
    NewCopy scaled(w, h);
    if (!scaled.pixels().data || !Stretch(texture, src, scaled.pixels(), mode)) return false;
    entry.copy = scaled.Take();
    entry.place = SDL_Rect{0, 0, w, h};
    entry.bytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
    return true;
}

// The picture's rectangle as SDL_RenderCopy(Ex)F clips it to the picture; false for a picture the cache
// cannot read (render targets, pictures of other formats).
bool SourceRect(SDL_Texture* texture, const SDL_Rect* src, SDL_Rect* out) {
    int w = 0, h = 0, access = 0;
    Uint32 format = 0;
    if (SDL_QueryTexture(texture, &format, &access, &w, &h) != 0 || access != SDL_TEXTUREACCESS_STREAMING ||
        format != SDL_PIXELFORMAT_ARGB8888)
        return false;
    const SDL_Rect whole{0, 0, w, h};
    if (!src) {
        *out = whole;
        return true;
    }
    return SDL_IntersectRect(src, &whole, out) == SDL_TRUE;
}

// Draws the entry with the source texture's colour, alpha and blend mode, its corner at (x, y).
void DrawEntry(SDL_Texture* texture, Entry& entry, int x, int y) {
    Uint8 r = 255, g = 255, b = 255, a = 255;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    SDL_GetTextureColorMod(texture, &r, &g, &b);
    SDL_GetTextureAlphaMod(texture, &a);
    SDL_GetTextureBlendMode(texture, &blend);
    SDL_SetTextureColorMod(entry.copy, r, g, b);
    SDL_SetTextureAlphaMod(entry.copy, a);
    SDL_SetTextureBlendMode(entry.copy, blend);
    const SDL_Rect at{x + entry.place.x, y + entry.place.y, entry.place.w, entry.place.h};
    SDL_RenderCopy(gCache.renderer, entry.copy, nullptr, &at);
    entry.lastFrame = gCache.frame;
}

Entry* Find(const Key& key) {
    auto it = gCache.entries.find(key);
    if (it == gCache.entries.end()) return nullptr;
    ++gCache.figures.hits;
    return &it->second;
}

Entry* Insert(const Key& key, const Entry& entry) {
    ++gCache.figures.misses;
    gCache.bytes += entry.bytes;
    return &gCache.entries.emplace(key, entry).first->second;
}

void Drop(std::unordered_map<Key, Entry, KeyHash>::iterator it) {
    gCache.bytes -= it->second.bytes;
    SDL_DestroyTexture(it->second.copy);
    gCache.entries.erase(it);
}

void ClearAll() {
    while (!gCache.entries.empty())
        Drop(gCache.entries.begin());
    gCache.sources.clear();
    gCache.sourceBytes = 0;
}

// Scaled sources not used for a while go, as copies do, and the oldest go first above their own budget.
void AgeSources() {
    std::erase_if(gCache.sources, [](const auto& kept) {
        if (kept.second.lastFrame + kKeepFrames >= gCache.frame) return false;
        gCache.sourceBytes -= kept.second.pixels.size() * 4;
        return true;
    });
    if (gCache.sourceBytes <= kSourceBudgetBytes) return;
    std::vector<std::pair<uint64_t, Key>> byAge;
    for (const auto& [key, source] : gCache.sources)
        byAge.emplace_back(source.lastFrame, key);
    std::sort(byAge.begin(), byAge.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [frame, key] : byAge) {
        if (gCache.sourceBytes <= kSourceBudgetBytes) break;
        auto it = gCache.sources.find(key);
        gCache.sourceBytes -= it->second.pixels.size() * 4;
        gCache.sources.erase(it);
    }
}

bool DrawingUnscaled() {
    float sx = 1.0f, sy = 1.0f;
    SDL_RenderGetScale(gCache.renderer, &sx, &sy);
    return sx == 1.0f && sy == 1.0f;
}

bool Rotated(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst, double angle);
bool Scaled(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst);

// Draws a set of awkward copies both ways into two small targets and compares every pixel, so another SDL
// whose software renderer turns or stretches differently keeps its own drawing.
bool SameAsSdl() {
    constexpr int kSize = 96, kPicW = 23, kPicH = 17;
    SDL_Renderer* r = gCache.renderer;
    std::vector<uint32_t> picture(kPicW * kPicH);
    for (int i = 0; i < kPicW * kPicH; ++i)
        picture[static_cast<size_t>(i)] =
            (static_cast<uint32_t>(i * 37 % 256) << 24) | (static_cast<uint32_t>(i * 11 % 256) << 16) |
            (static_cast<uint32_t>(i * 53 % 256) << 8) | static_cast<uint32_t>(i * 7 % 256);
    SDL_Texture* previous = SDL_GetRenderTarget(r);
    SDL_Texture* pic =
        SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kPicW, kPicH);
    SDL_Texture* targets[2] = {
        SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kSize, kSize),
        SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kSize, kSize)};
    bool same =
        pic && targets[0] && targets[1] && SDL_UpdateTexture(pic, nullptr, picture.data(), kPicW * 4) == 0;
    struct Case {
        SDL_FRect dst;
        double angle; // 0: stretched, not turned
        bool frame, nearest, add;
    };
    const Case cases[] = {{{30.5f, 20.25f, 23, 17}, 33.7, false, false, false},
                          {{10, 10, 40.5f, 30.2f}, 90, false, false, false},
                          {{-7.5f, 40, 31, 12}, 181.5, true, false, true},
                          {{60, -3, 11, 9}, 270, false, true, false},
                          {{20, 50, 40, 40}, -45, true, true, false},
                          {{70.9f, 70.1f, 50, 33}, 359.5, false, false, false},
                          {{-20, -10, 80, 70}, 0, false, false, false},
                          {{30, 30, 41, 23}, 0, true, false, false},
                          {{50, 60, 70, 50}, 0, false, true, true}};
    for (const Case& c : cases) {
        if (!same) break;
        const SDL_Rect frame{5, 3, 12, 10};
        const SDL_Rect* src = c.frame ? &frame : nullptr;
        SDL_SetTextureScaleMode(pic, c.nearest ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        SDL_SetTextureBlendMode(pic, c.add ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
        SDL_SetTextureColorMod(pic, 250, 180, 255);
        SDL_SetTextureAlphaMod(pic, 200);
        std::vector<uint32_t> read[2];
        for (int way = 0; way < 2; ++way) {
            SDL_SetRenderTarget(r, targets[way]);
            SDL_SetRenderDrawColor(r, 40, 90, 140, 255);
            SDL_RenderClear(r);
            bool drawn = true;
            if (way == 0)
                c.angle != 0 ? SDL_RenderCopyExF(r, pic, src, &c.dst, c.angle, nullptr, SDL_FLIP_NONE)
                             : SDL_RenderCopyF(r, pic, src, &c.dst);
            else
                // A stretch is kept from its second sight on.
                drawn = c.angle != 0 ? Rotated(pic, src, c.dst, c.angle)
                                     : Scaled(pic, src, c.dst) || Scaled(pic, src, c.dst);
            read[way].resize(kSize * kSize);
            same =
                same && drawn &&
                SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, read[way].data(), kSize * 4) == 0;
        }
        same = same && read[0] == read[1];
    }
    SDL_SetRenderTarget(r, previous);
    ClearAll();
    for (SDL_Texture* t : {pic, targets[0], targets[1]})
        if (t) SDL_DestroyTexture(t);
    return same;
}

} // namespace

void Configure(SDL_Renderer* renderer) {
    Reset();
    SDL_RendererInfo info;
    const bool software =
        SDL_GetRendererInfo(renderer, &info) == 0 && std::strcmp(info.name, "software") == 0;
    gCache.renderer = renderer;
    if (!software || hooks::WholeNumber("ZORBEL_DRAW_CACHE", 0, 1, 1) == 0) return;
    if (!SameAsSdl()) {
        Report("cached copies would not match this SDL's software drawing; drawing without them");
        return;
    }
    gCache.figures = Figures{};
    gCache.enabled = true;
}

bool DrawRotated(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst, double angle) {
    return gCache.enabled && Rotated(texture, src, dst, angle);
}

bool DrawScaled(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst) {
    return gCache.enabled && Scaled(texture, src, dst);
}

namespace {

bool Rotated(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst, double angle) {
    if (!DrawingUnscaled()) return false;
    SDL_BlendMode blend = SDL_BLENDMODE_NONE;
    SDL_GetTextureBlendMode(texture, &blend);
    // Other blend modes make SDL apply colour and alpha before the turn, or mask it; those stay with SDL.
    if (blend != SDL_BLENDMODE_BLEND && blend != SDL_BLENDMODE_ADD) return false;
    SDL_Rect source;
    if (!SourceRect(texture, src, &source)) return false;
    const int w = static_cast<int>(dst.w), h = static_cast<int>(dst.h);
    if (w <= 0 || h <= 0) return false;
    SDL_ScaleMode mode = SDL_ScaleModeLinear;
    SDL_GetTextureScaleMode(texture, &mode);
    const Key key{
        texture, source, static_cast<uint32_t>(Bits(dst.w)), static_cast<uint32_t>(Bits(dst.h)), Bits(angle),
        true,    mode};
    Entry* entry = Find(key);
    if (!entry) {
        Entry made;
        const SDL_FPoint center{dst.w / 2.0f, dst.h / 2.0f};
        if (!MakeTurned(texture, source, w, h, center, angle, mode, made)) return false;
        entry = Insert(key, made);
    }
    DrawEntry(texture, *entry, static_cast<int>(dst.x), static_cast<int>(dst.y));
    return true;
}

bool Scaled(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst) {
    if (!DrawingUnscaled()) return false;
    SDL_Rect source;
    if (!SourceRect(texture, src, &source)) return false;
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
        if (gCache.seenOnce.emplace(key, gCache.frame).second) return false;
        gCache.seenOnce.erase(key);
        Entry made;
        if (!MakeScaled(texture, source, rect.w, rect.h, mode, made)) return false;
        entry = Insert(key, made);
    }
    DrawEntry(texture, *entry, rect.x, rect.y);
    return true;
}

} // namespace

void EndFrame() {
    std::erase_if(gCache.seenOnce, [](const auto& seen) { return seen.second + kKeepFrames < gCache.frame; });
    AgeSources();
    if (gCache.entries.empty()) {
        ++gCache.frame;
        return;
    }
    for (auto it = gCache.entries.begin(); it != gCache.entries.end();) {
        auto next = std::next(it);
        if (it->second.lastFrame + kKeepFrames < gCache.frame) Drop(it);
        it = next;
    }
    if (gCache.bytes > kBudgetBytes) {
        std::vector<std::pair<uint64_t, Key>> byAge;
        for (const auto& [key, entry] : gCache.entries)
            byAge.emplace_back(entry.lastFrame, key);
        std::sort(byAge.begin(), byAge.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [frame, key] : byAge) {
            if (gCache.bytes <= kBudgetBytes) break;
            Drop(gCache.entries.find(key));
        }
    }
    ++gCache.frame;
}

void Forget(SDL_Texture* texture) {
    std::erase_if(gCache.seenOnce, [texture](const auto& seen) { return seen.first.texture == texture; });
    std::erase_if(gCache.sources, [texture](const auto& kept) {
        if (kept.first.texture != texture) return false;
        gCache.sourceBytes -= kept.second.pixels.size() * 4;
        return true;
    });
    for (auto it = gCache.entries.begin(); it != gCache.entries.end();) {
        auto next = std::next(it);
        if (it->first.texture == texture) Drop(it);
        it = next;
    }
}

void Reset() {
    ClearAll();
    gCache = CacheState{};
}

Figures Counts() {
    Figures f = gCache.figures;
    f.bytes = gCache.bytes;
    f.entries = gCache.entries.size();
    return f;
}

} // namespace zorbel::copycache
