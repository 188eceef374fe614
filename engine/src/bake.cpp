// Faces: render targets whose pixels the engine draws, their queues of draws, and their SDL twins.
#include "bake.h"

#include "bake_check.h"
#include "copy_cache.h"
#include "copy_textures.h"
#include "engine.h"
#include "soft_bake.h"
#include "soft_frame.h"
#include "workers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

namespace zorbel::bake {
namespace {

// One queued draw: a picture scaled to the copy's size and laid into the face, turned or not. The scaled
// picture is found in the copy cache, or made, when the queue runs, and the turn is planned then too, on the
// thread that makes the face: a mark's draw only names them.
struct Job {
    SDL_Texture* picture = nullptr;
    SDL_Rect from{};
    int w = 0, h = 0; // the scaled picture's size
    // Turned, by `angle` about (centerX, centerY) of the copy, the plan's box lands at (x, y) moved by the
    // box's own corner; unturned, the copy's corner is (x, y).
    double angle = 0;
    float centerX = 0, centerY = 0;
    int x = 0, y = 0;
    SDL_ScaleMode mode = SDL_ScaleModeLinear;
    pixels::Modulation mod;
    bool turned = false;
    // The copy cache's source and the part of it that is not wholly transparent, kept at least until its end
    // of frame; both are set when the queue runs.
    pixels::View source;
    const pixels::Rect* opaque = nullptr;
};

} // namespace

struct Face {
    int w = 0, h = 0;
    std::vector<Job> jobs;
    size_t work = 0;             // about the pixels the queued jobs cover
    SDL_Texture* twin = nullptr; // SDL's render target for the draws SDL makes
    bool twinBehind = true;      // the engine drew into the face since the twin was last filled from it
    bool twinAhead = false;      // SDL drew into the twin since the face was last read back from it
};

namespace {

// The sines of the angles marks were turned by lately, by a hash of the angle's bits: the game turns its
// marks by whole degrees, so a few hundred angles come back again and again.
class TrigMemo {
  public:
    pixels::TurnTrig Of(double angle) {
        uint64_t bits = 0;
        std::memcpy(&bits, &angle, sizeof bits);
        Kept& kept = kept_[((bits >> 44) ^ (bits >> 50)) % kept_.size()];
        if (!kept.known || kept.bits != bits) kept = Kept{bits, pixels::TrigOf(angle), true};
        return kept.trig;
    }

  private:
    struct Kept {
        uint64_t bits = 0;
        pixels::TurnTrig trig;
        bool known = false;
    };
    std::array<Kept, 512> kept_;
};

struct BakeState {
    bool enabled = false;
    SDL_Renderer* renderer = nullptr;
    std::unordered_map<SDL_Texture*, Face> faces;
    SDL_Texture* into = nullptr;
    Face* intoFace = nullptr; // into's face: a mark's every draw would otherwise look it up again
    size_t queued = 0;        // jobs waiting, over every face
    size_t twinsAhead = 0;    // faces whose twin holds SDL's latest drawing
};
BakeState gBake;

// The face takes what SDL drew into its twin.
void ReadBack(SDL_Texture* texture, Face& face) {
    const copycache::LockedPicture locked(texture);
    SDL_Texture* previous = SDL_GetRenderTarget(gBake.renderer);
    SDL_SetRenderTarget(gBake.renderer, face.twin);
    if (locked.view().data)
        SDL_RenderReadPixels(gBake.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, locked.view().data,
                             locked.view().pitch * 4);
    SDL_SetRenderTarget(gBake.renderer, previous);
    face.twinAhead = false;
    --gBake.twinsAhead;
}

// The twin takes what the engine drew into the face; made the first time SDL has to draw into the face.
void FillTwin(SDL_Texture* texture, Face& face) {
    if (!face.twin) {
        face.twin = SDL_CreateTexture(gBake.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                      face.w, face.h);
        face.twinBehind = true;
    }
    if (!face.twin || !face.twinBehind) return;
    const copycache::LockedPicture locked(texture);
    if (locked.view().data)
        SDL_UpdateTexture(face.twin, nullptr, locked.view().data, locked.view().pitch * 4);
    face.twinBehind = false;
}

void RunQueues() {
    struct Busy {
        SDL_Texture* texture;
        Face* face;
    };
    std::vector<Busy> busy;
    for (auto& [texture, face] : gBake.faces)
        if (!face.jobs.empty()) busy.push_back(Busy{texture, &face});
    // The largest queues first, so the threads finish close together.
    std::sort(busy.begin(), busy.end(),
              [](const Busy& a, const Busy& b) { return a.face->work > b.face->work; });
    // The scaled pictures the draws need: those kept are found, the others made together, on every core.
    for (const Busy& b : busy)
        for (Job& job : b.face->jobs)
            job.source =
                copycache::ReserveScaledSource(job.picture, job.from, job.w, job.h, job.mode, &job.opaque);
    copycache::MakeReservedSources();
    std::vector<std::unique_ptr<copycache::LockedPicture>> locked;
    for (const Busy& b : busy)
        locked.push_back(std::make_unique<copycache::LockedPicture>(b.texture));
    // Each face's draws are made in their order by one thread; faces share nothing, so the pixels are the
    // same whatever thread takes which face.
    workers::ForEach(static_cast<int>(busy.size()), [&](int i) {
        const pixels::View& pixels = locked[static_cast<size_t>(i)]->view();
        if (!pixels.data) return;
        // Each thread keeps the sines of the angles it turned by lately.
        thread_local TrigMemo trig;
        for (const Job& job : busy[static_cast<size_t>(i)].face->jobs) {
            pixels::TurnPlan plan = pixels::PlanUnturned(job.w, job.h);
            int x = job.x, y = job.y;
            if (job.turned) {
                plan =
                    pixels::PlanTurn(job.w, job.h, job.angle, trig.Of(job.angle), job.centerX, job.centerY);
                x += plan.box.x;
                y += plan.box.y;
            }
            pixels::TurnOnto(job.source, *job.opaque, plan, copycache::FilterOf(job.mode), pixels, x, y,
                             job.mod);
        }
    });
    for (const Busy& b : busy) {
        b.face->jobs.clear();
        b.face->work = 0;
        b.face->twinBehind = true;
    }
    gBake.queued = 0;
}

} // namespace

void Configure(SDL_Renderer* renderer) {
    Reset();
    const bool software = IsSoftwareRenderer(renderer);
    if (!software || !copycache::Active()) return;
    gBake.renderer = renderer;
    gBake.enabled = true;
    const bool same = FacesDrawLikeSdl(renderer);
    Reset();
    if (!same) {
        Report("drawing into textures would not match this SDL's software drawing; leaving it to SDL");
        return;
    }
    gBake.renderer = renderer;
    gBake.enabled = true;
}

SDL_Texture* NewFace(int w, int h) {
    if (!gBake.enabled) return nullptr;
    SDL_Texture* texture =
        SDL_CreateTexture(gBake.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
    if (!texture) return nullptr;
    Face& face = gBake.faces[texture];
    face.w = w;
    face.h = h;
    const copycache::LockedPicture locked(texture);
    for (int y = 0; y < h && locked.view().data; ++y)
        std::memset(locked.view().Row(y), 0, static_cast<size_t>(w) * 4);
    return texture;
}

bool IsFace(SDL_Texture* texture) {
    return gBake.faces.contains(texture);
}

Face* FaceOf(SDL_Texture* texture) {
    const auto it = gBake.faces.find(texture);
    return it == gBake.faces.end() ? nullptr : &it->second;
}

void DrawInto(SDL_Texture* texture, Face* face) {
    gBake.into = texture;
    gBake.intoFace = face;
}

Picture PictureOf(SDL_Texture* texture) {
    Picture picture{texture};
    SDL_Rect whole;
    picture.readable = copycache::ReadableRect(texture, nullptr, &whole);
    if (!picture.readable) return picture;
    picture.w = whole.w;
    picture.h = whole.h;
    SDL_GetTextureScaleMode(texture, &picture.mode);
    return picture;
}

bool Draw(const Picture& picture, const SDL_Rect* src, const SDL_FRect& dst, double angle, bool turned,
          SDL_BlendMode blend, Uint32 rgb, Uint8 alpha) {
    if (!gBake.into || !picture.readable || blend != SDL_BLENDMODE_BLEND) return false;
    SDL_Rect source;
    if (!copycache::ClipToPicture(picture.w, picture.h, src, &source)) return false;
    const SDL_ScaleMode mode = picture.mode;
    const Face& face = *gBake.intoFace;
    int w = 0, h = 0, x = 0, y = 0;
    if (turned) {
        // As SDL_RenderCopyExF turns a copy: scaled to its whole-pixel size, turned about the centre of its
        // exact size, blitted at its truncated corner.
        w = static_cast<int>(dst.w);
        h = static_cast<int>(dst.h);
        if (w <= 0 || h <= 0) return false;
        // SDL leaves out a turn whose box is empty, and the queue plans the turn only when it runs. The box
        // spans from the floor of the corners' least x (and y) to the ceiling of their greatest, so it is
        // empty only if the four corners agree. Turned by a finite angle, the corners of a copy two pixels or
        // more each way lie (w - 1) times the cosine or (h - 1) times the sine apart in x, and the like in y,
        // and one of the sine and the cosine is at least 0.7: too far apart for rounding to close. A quarter
        // turn's box is the copy's own size. Only a thinner copy or an angle that is no number is planned
        // here.
        if (w < 2 || h < 2 || !std::isfinite(angle)) {
            const pixels::TurnPlan plan = pixels::PlanTurn(w, h, angle, dst.w / 2.0f, dst.h / 2.0f);
            if (plan.box.w <= 0 || plan.box.h <= 0) return false;
        }
        x = static_cast<int>(dst.x);
        y = static_cast<int>(dst.y);
    } else {
        // As SDL_RenderCopyF blits, every side truncated; a stretch is made first, except that SDL scales a
        // nearest copy lying wholly inside the target while it blends, a way of its own.
        const SDL_Rect rect{static_cast<int>(dst.x), static_cast<int>(dst.y), static_cast<int>(dst.w),
                            static_cast<int>(dst.h)};
        if (rect.w <= 0 || rect.h <= 0) return false;
        const bool scaled = rect.w != source.w || rect.h != source.h;
        const bool inside =
            rect.x >= 0 && rect.y >= 0 && rect.x + rect.w <= face.w && rect.y + rect.h <= face.h;
        if (scaled && inside && mode == SDL_ScaleModeNearest) return false;
        w = rect.w;
        h = rect.h;
        x = rect.x;
        y = rect.y;
    }
    if (!copycache::CanReserveScaledSource(source, w, h)) return false;
    const pixels::Modulation mod{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                 static_cast<uint8_t>(rgb), alpha};
    gBake.intoFace->jobs.push_back(Job{.picture = picture.texture,
                                       .from = source,
                                       .w = w,
                                       .h = h,
                                       .angle = angle,
                                       .centerX = dst.w / 2.0f,
                                       .centerY = dst.h / 2.0f,
                                       .x = x,
                                       .y = y,
                                       .mode = mode,
                                       .mod = mod,
                                       .turned = turned,
                                       .source = {},
                                       .opaque = nullptr});
    // The picture's own size: a turned copy's box is somewhat larger, but this only orders the queues.
    gBake.intoFace->work += static_cast<size_t>(w) * static_cast<size_t>(h);
    ++gBake.queued;
    return true;
}

SdlDrawing::SdlDrawing() {
    Settle();
    if (!gBake.into) return;
    Face& face = *gBake.intoFace;
    FillTwin(gBake.into, face);
    if (!face.twin) return;
    previousTarget_ = SDL_GetRenderTarget(gBake.renderer);
    SDL_SetRenderTarget(gBake.renderer, face.twin);
    twinOf_ = gBake.into;
}

SdlDrawing::~SdlDrawing() {
    if (!twinOf_) return;
    SDL_SetRenderTarget(gBake.renderer, previousTarget_);
    Face& face = gBake.faces.at(twinOf_);
    if (!face.twinAhead) ++gBake.twinsAhead;
    face.twinAhead = true;
}

void Settle() {
    if (gBake.twinsAhead == 0 && gBake.queued == 0) return;
    // The frame may hold copies of faces not yet blended: they show the faces as they were when drawn.
    softframe::Flush();
    // What SDL drew into a twin came before whatever was queued for its face since.
    for (auto& [texture, face] : gBake.faces)
        if (face.twinAhead) ReadBack(texture, face);
    if (gBake.queued) RunQueues();
}

void Forget(SDL_Texture* texture) {
    const auto it = gBake.faces.find(texture);
    if (it == gBake.faces.end()) return;
    gBake.queued -= it->second.jobs.size();
    if (it->second.twinAhead) --gBake.twinsAhead;
    if (it->second.twin) SDL_DestroyTexture(it->second.twin);
    gBake.faces.erase(it);
    if (gBake.into == texture) {
        gBake.into = nullptr;
        gBake.intoFace = nullptr;
    }
}

void Reset() {
    for (auto& [texture, face] : gBake.faces)
        if (face.twin) SDL_DestroyTexture(face.twin);
    gBake = BakeState{};
}

} // namespace zorbel::bake
