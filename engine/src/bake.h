// Render targets drawn by the engine on the software renderer. Such a target is a streaming texture (a
// "face") whose pixels the engine turns and blends copies straight into, with the pixels SDL would give; the
// draws wait in a queue per face until something needs the pixels, and then the faces are worked on by every
// core at once. A draw the engine cannot make as SDL would is made by SDL into a render target twin of the
// face, copied over before and read back after.
#pragma once

#include "engine.h"

#include <SDL.h>

namespace zorbel::bake {

// Whether render targets are made as faces: on the software renderer, with the copy cache on, and only if a
// check when the window opens finds the faces drawn exactly as SDL draws into its own targets.
void Configure(SDL_Renderer* renderer);

// A transparent w × h face, or null when targets are SDL's (then the caller makes one).
SDL_Texture* NewFace(int w, int h);
bool IsFace(SDL_Texture* texture);

// The texture's face (null if it is none): good until the face is forgotten or every face goes (Forget,
// Reset).
Face* FaceOf(SDL_Texture* texture);

// Where drawing goes: into the texture's face, or SDL's render target when both are null.
void DrawInto(SDL_Texture* texture, Face* face);

// The picture as SDL and the faces tell it now.
Picture PictureOf(SDL_Texture* texture);

// Queues a copy of the picture into the face drawing goes into, as Copy would draw it with SDL: turned about
// its centre unless `turned` is false, in the blend mode and with the colour (0xRRGGBB) and alpha mods given,
// which the copy carries with it (the picture's own are left as they are). False when this copy is not the
// engine's to make (it is then SDL's, under an SdlDrawing, with the mods set on the picture).
bool Draw(const Picture& picture, const SDL_Rect* src, const SDL_FRect& dst, double angle, bool turned,
          SDL_BlendMode blend, Uint32 rgb, Uint8 alpha);

// Held around every drawing by SDL: every queued draw is made first, and while drawing goes into a face, SDL
// draws into its twin.
class SdlDrawing {
  public:
    SdlDrawing();
    ~SdlDrawing();
    SdlDrawing(const SdlDrawing&) = delete;
    SdlDrawing& operator=(const SdlDrawing&) = delete;

  private:
    SDL_Texture* previousTarget_ = nullptr;
    SDL_Texture* twinOf_ = nullptr;
};

// Makes every queued draw now. Before pictures or the copy cache's scaled copies go, and at the end of a
// frame.
void Settle();

// The face is about to be destroyed: its queue and twin go.
void Forget(SDL_Texture* face);

// Every face's queue and twin go, and targets are SDL's again until the next Configure.
void Reset();

} // namespace zorbel::bake
