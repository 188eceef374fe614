// Textures: picture loading with colour keys and masks, render targets, frame cutting.
#include "bake.h"
#include "copy_cache.h"
#include "engine.h"
#include "soft_frame.h"

#include "platform.h"

#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorbel {
namespace {

// A texture record as the game sees it, with the engine's part alongside.
struct OwnedTexture {
    ZB_Texture record{};
    TextureImpl impl;
};

struct TextureState {
    std::vector<std::unique_ptr<OwnedTexture>> all;
    // The same textures by their records: every mark baked into the ground asks for its target by record,
    // tens of thousands of times a second, and a walk over every picture loaded was most of that.
    std::unordered_map<const ZB_Texture*, OwnedTexture*> byRecord;
    SDL_Surface* mask = nullptr;
    std::string maskName;
    SDL_Texture* renderingInto = nullptr;
    int targetW = 0, targetH = 0;
};
TextureState gTex;

constexpr int32_t kFlagMasked = 64;
constexpr int32_t kFlagNearest = 4;
// JPEG noise moves pure black or white by a few levels; a keyed JPEG would otherwise keep a speckled fringe.
constexpr int kLossyKeyTolerance = 16;

std::string LowerExtension(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

inline uint32_t* Row(SDL_Surface* s, int y) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) +
                                       static_cast<ptrdiff_t>(y) * s->pitch);
}

inline int Brightest(uint32_t argb) {
    return std::max({static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                     static_cast<int>(argb & 0xFF)});
}

inline uint32_t WithAlpha(uint32_t argb, int alpha) {
    return (argb & 0x00FFFFFFu) | (static_cast<uint32_t>(alpha) << 24);
}

void ApplyColorKey(SDL_Surface* s, int32_t colorKey, bool lossy) {
    if (colorKey < 0) return;
    const uint32_t key = static_cast<uint32_t>(colorKey) & 0xFFFFFF;
    const int tolerance = lossy ? kLossyKeyTolerance : 0;
    const int kr = static_cast<int>(key >> 16), kg = static_cast<int>((key >> 8) & 0xFF),
              kb = static_cast<int>(key & 0xFF);
    for (int y = 0; y < s->h; ++y) {
        uint32_t* row = Row(s, y);
        for (int x = 0; x < s->w; ++x) {
            const uint32_t p = row[x];
            const int r = static_cast<int>((p >> 16) & 0xFF), g = static_cast<int>((p >> 8) & 0xFF),
                      b = static_cast<int>(p & 0xFF);
            if (std::abs(r - kr) <= tolerance && std::abs(g - kg) <= tolerance &&
                std::abs(b - kb) <= tolerance)
                row[x] = WithAlpha(p, 0);
        }
    }
}

// Mask luminance (white opaque, black transparent) multiplies the picture's own alpha.
void ApplyMask(SDL_Surface* s, SDL_Surface* mask) {
    SDL_Surface* fitted = mask;
    if (mask->w != s->w || mask->h != s->h) {
        fitted = SDL_CreateRGBSurfaceWithFormat(0, s->w, s->h, 32, SDL_PIXELFORMAT_ARGB8888);
        if (!fitted || SDL_SoftStretchLinear(mask, nullptr, fitted, nullptr) != 0) {
            Report("cannot scale the mask %s: %s", gTex.maskName.c_str(), SDL_GetError());
            SDL_FreeSurface(fitted);
            return;
        }
    }
    for (int y = 0; y < s->h; ++y) {
        uint32_t* row = Row(s, y);
        const uint32_t* maskRow = Row(fitted, y);
        for (int x = 0; x < s->w; ++x) {
            const int alpha = static_cast<int>(row[x] >> 24) * Brightest(maskRow[x]) / 255;
            row[x] = WithAlpha(row[x], alpha);
        }
    }
    if (fitted != mask) SDL_FreeSurface(fitted);
}

// Magenta and black squares: a missing picture is obvious on screen but nothing crashes.
SDL_Surface* PlaceholderSurface() {
    constexpr int kSize = 64, kCell = 8;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    for (int y = 0; y < kSize; ++y) {
        uint32_t* row = Row(s, y);
        for (int x = 0; x < kSize; ++x)
            row[x] = ((x / kCell + y / kCell) % 2) ? 0xFF000000u : 0xFFFF00FFu;
    }
    return s;
}

ZB_Texture* Register(SDL_Texture* sdl, int w, int h, bool target) {
    auto owned = std::make_unique<OwnedTexture>();
    owned->impl.sdl = sdl;
    owned->impl.target = target;
    owned->impl.picture = bake::PictureOf(sdl);
    owned->impl.face = bake::FaceOf(sdl);
    owned->record.Width = w;
    owned->record.Height = h;
    owned->record.FramesX = 1;
    owned->record.FramesY = 1;
    owned->record.FrameW = static_cast<uint16_t>(std::clamp(w, 0, 0xFFFF));
    owned->record.FrameH = static_cast<uint16_t>(std::clamp(h, 0, 0xFFFF));
    owned->record.Impl = &owned->impl;
    gTex.byRecord.emplace(&owned->record, owned.get());
    gTex.all.push_back(std::move(owned));
    return &gTex.all.back()->record;
}

} // namespace

namespace textures {

// On the software renderer pictures are streaming textures, whose pixels the copy cache and the engine's
// blending can read; the software renderer keeps both kinds alike otherwise.
SDL_Texture* MakeTexture(SDL_Surface* s, int32_t flags) {
    SDL_RendererInfo info;
    const bool software =
        SDL_GetRendererInfo(gVideo.renderer, &info) == 0 && std::string_view(info.name) == "software";
    SDL_Texture* t = nullptr;
    if (software && s->format->format == SDL_PIXELFORMAT_ARGB8888) {
        t = SDL_CreateTexture(gVideo.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, s->w,
                              s->h);
        if (t && SDL_UpdateTexture(t, nullptr, s->pixels, s->pitch) != 0) {
            SDL_DestroyTexture(t);
            t = nullptr;
        }
    } else {
        t = SDL_CreateTextureFromSurface(gVideo.renderer, s);
    }
    if (!t) {
        Report("cannot create a texture: %s", SDL_GetError());
        return nullptr;
    }
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(t, (flags & kFlagNearest) ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    return t;
}

} // namespace textures

namespace {

OwnedTexture* Find(const ZB_Texture* texture) {
    const auto it = gTex.byRecord.find(texture);
    return it == gTex.byRecord.end() ? nullptr : it->second;
}

void ClearTexture(SDL_Texture* target) {
    SDL_Renderer* r = gVideo.renderer;
    SDL_Texture* previous = SDL_GetRenderTarget(r);
    SDL_SetRenderTarget(r, target);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 0);
    SDL_RenderClear(r);
    SDL_SetRenderTarget(r, previous);
}

// A file read through this notes a read that found it already at its end. The JPEG and TGA decoders only ask
// past the end of a file cut short, which they would otherwise load with its lost part grey or black, without
// a word.
struct EndWatch {
    SDL_RWops* file;
    bool readPastEnd = false;
};

EndWatch& Watched(SDL_RWops* context) {
    return *static_cast<EndWatch*>(context->hidden.unknown.data1);
}

SDL_RWops* WatchEnd(EndWatch& watch) {
    SDL_RWops* rw = SDL_AllocRW();
    if (!rw) return nullptr;
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->hidden.unknown.data1 = &watch;
    rw->size = [](SDL_RWops* c) { return SDL_RWsize(Watched(c).file); };
    rw->seek = [](SDL_RWops* c, Sint64 offset, int whence) {
        return SDL_RWseek(Watched(c).file, offset, whence);
    };
    rw->read = [](SDL_RWops* c, void* to, size_t size, size_t count) {
        const size_t got = SDL_RWread(Watched(c).file, to, size, count);
        if (got == 0 && size * count > 0) Watched(c).readPastEnd = true;
        return got;
    };
    rw->write = [](SDL_RWops*, const void*, size_t, size_t) -> size_t { return 0; };
    rw->close = [](SDL_RWops* c) {
        SDL_FreeRW(c);
        return 0;
    };
    return rw;
}

} // namespace

namespace textures {

SDL_Surface* LoadSurface(const char* file, bool* lossy) {
    const std::string name = file ? file : "(null)";
    const std::string path = platform::ResolvePath(file ? file : "");
    const std::string ext = LowerExtension(path);
    if (lossy) *lossy = ext == ".jpg" || ext == ".jpeg";
    // Only a regular file: opening a FIFO would wait for a writer that never comes.
    std::error_code ec;
    SDL_RWops* rw = std::filesystem::is_regular_file(path, ec) ? SDL_RWFromFile(path.c_str(), "rb") : nullptr;
    if (!rw) {
        ReportOnce("picture:" + name, "cannot open picture " + name + " (" + path + ")");
        return nullptr;
    }
    EndWatch watch{rw};
    SDL_RWops* watched = WatchEnd(watch);
    SDL_Surface* loaded = nullptr;
    if (watched) {
        // TGA has no signature, so it is only recognised by name.
        loaded = ext == ".tga" ? IMG_LoadTyped_RW(watched, 1, "TGA") : IMG_Load_RW(watched, 1);
    }
    SDL_RWclose(rw);
    const bool hidesCuts = ext == ".tga" || ext == ".jpg" || ext == ".jpeg";
    if (loaded && hidesCuts && watch.readPastEnd) {
        SDL_FreeSurface(loaded);
        loaded = nullptr;
        SDL_SetError("the file is cut short");
    }
    if (!loaded) {
        ReportOnce("picture:" + name, "cannot read picture " + name + " (" + path + "): " + IMG_GetError());
        return nullptr;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb) ReportOnce("picture:" + name, "cannot convert picture " + name);
    return argb;
}

void DestroyAll() {
    bake::Reset();
    copycache::Reset();
    for (auto& owned : gTex.all)
        if (owned->impl.sdl) SDL_DestroyTexture(owned->impl.sdl);
    gTex.all.clear();
    gTex.byRecord.clear();
    gTex.renderingInto = nullptr;
}

void ClearTargets() {
    // Faces are the engine's pixels, which nothing loses.
    for (auto& owned : gTex.all)
        if (owned->impl.target && owned->impl.sdl && !bake::IsFace(owned->impl.sdl))
            ClearTexture(owned->impl.sdl);
}

bool RenderingIntoTarget() {
    return gTex.renderingInto != nullptr;
}

void TargetSize(float* w, float* h) {
    *w = static_cast<float>(gTex.renderingInto ? gTex.targetW : gVideo.logicalW);
    *h = static_cast<float>(gTex.renderingInto ? gTex.targetH : gVideo.logicalH);
}

void Reset() {
    DestroyAll();
    Tex_FreeMask();
}

} // namespace textures
} // namespace zorbel

using namespace zorbel;

ZB_Texture* Tex_LoadFromFile(const char* file, int32_t colorKey, int32_t flags) {
    if (!gVideo.renderer) {
        Report("Tex_LoadFromFile(%s) before the window exists", file ? file : "(null)");
        return Register(nullptr, 0, 0, false);
    }
    bool lossy = false;
    SDL_Surface* s = textures::LoadSurface(file, &lossy);
    if (s) {
        // A mask that could not be read was reported; the pictures under it keep their own alpha.
        if (flags & kFlagMasked) {
            if (gTex.mask)
                ApplyMask(s, gTex.mask);
            else if (gTex.maskName.empty())
                ReportOnce(std::string("nomask:") + file, std::string("no mask loaded for ") + file);
        }
        ApplyColorKey(s, colorKey, lossy);
    } else {
        s = PlaceholderSurface();
        if (!s) return Register(nullptr, 0, 0, false);
    }
    SDL_Texture* t = textures::MakeTexture(s, flags);
    ZB_Texture* texture = Register(t, s->w, s->h, false);
    SDL_FreeSurface(s);
    return texture;
}

void Tex_LoadMaskFromFile(const char* file) {
    Tex_FreeMask();
    gTex.mask = textures::LoadSurface(file, nullptr);
    gTex.maskName = file ? file : "(null)";
}

void Tex_FreeMask(void) {
    SDL_FreeSurface(gTex.mask);
    gTex.mask = nullptr;
    gTex.maskName.clear();
}

void Tex_Free(ZB_Texture* texture) {
    if (!texture) return;
    auto it = std::find_if(gTex.all.begin(), gTex.all.end(),
                           [texture](const auto& owned) { return &owned->record == texture; });
    if (it == gTex.all.end()) {
        Report("Tex_Free of a texture the engine does not hold");
        return;
    }
    if ((*it)->impl.sdl == gTex.renderingInto) Tex_EndRenderIn();
    if ((*it)->impl.sdl) {
        softframe::Flush();
        // Queued draws may read the picture's scaled copies or write the face.
        bake::Settle();
        bake::Forget((*it)->impl.sdl);
        copycache::Forget((*it)->impl.sdl);
        SDL_DestroyTexture((*it)->impl.sdl);
    }
    gTex.byRecord.erase(texture);
    gTex.all.erase(it);
}

ZB_Texture* Tex_CreateZero(int32_t width, int32_t height, int32_t flags) {
    if (!gVideo.renderer || width <= 0 || height <= 0) {
        Report("Tex_CreateZero(%d, %d): %s", width, height,
               gVideo.renderer ? "the size must be positive" : "the window does not exist yet");
        return Register(nullptr, 0, 0, false);
    }
    SDL_Texture* t = bake::NewFace(width, height);
    if (!t) {
        t = SDL_CreateTexture(gVideo.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width,
                              height);
        if (t) ClearTexture(t);
    }
    if (!t) {
        Report("cannot create a %dx%d render target: %s", width, height, SDL_GetError());
        return Register(nullptr, 0, 0, false);
    }
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(t, (flags & kFlagNearest) ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    return Register(t, width, height, true);
}

void Tex_BeginRenderIn(ZB_Texture* target, int32_t, int32_t, int32_t) {
    OwnedTexture* owned = Find(target);
    if (!owned || !owned->impl.target || !owned->impl.sdl) {
        ReportOnce("renderin", "Tex_BeginRenderIn needs a texture made by Tex_CreateZero");
        return;
    }
    if (owned->impl.face) {
        bake::DrawInto(owned->impl.sdl, owned->impl.face);
    } else if (SDL_SetRenderTarget(gVideo.renderer, owned->impl.sdl) != 0) {
        ReportOnce("renderin-fail", std::string("cannot draw into a texture: ") + SDL_GetError());
        return;
    }
    gTex.renderingInto = owned->impl.sdl;
    gTex.targetW = owned->record.Width;
    gTex.targetH = owned->record.Height;
}

void Tex_EndRenderIn(void) {
    if (!gTex.renderingInto) return;
    bake::DrawInto(nullptr, nullptr);
    // Drawing into a face leaves SDL's target as it was, most often the picture already: SDL would find
    // nothing to do, after checks that a mark's every tile would pay for.
    if (SDL_GetRenderTarget(gVideo.renderer) != gVideo.picture)
        SDL_SetRenderTarget(gVideo.renderer, gVideo.picture);
    gTex.renderingInto = nullptr;
}

void Tex_SetFramesSize(ZB_Texture* texture, int32_t frameW, int32_t frameH) {
    if (!texture) return;
    if (frameW <= 0 || frameH <= 0 || frameW > 0xFFFF || frameH > 0xFFFF) {
        Report("Tex_SetFramesSize(%d, %d): a frame needs a positive size", frameW, frameH);
        return;
    }
    texture->FrameW = static_cast<uint16_t>(frameW);
    texture->FrameH = static_cast<uint16_t>(frameH);
    texture->FramesX = static_cast<uint16_t>(std::clamp(texture->Width / frameW, 1, 0xFFFF));
    texture->FramesY = static_cast<uint16_t>(std::clamp(texture->Height / frameH, 1, 0xFFFF));
}
