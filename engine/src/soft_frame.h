// The logical picture blended by the engine itself on the software renderer, with exactly SDL's pixels.
//
// SDL's software renderer blends every copy into the picture on one core with its scalar blitters, which is
// most of a crowded frame's cost. Here the copies SDL would blend without scaling (or after stretching them
// into a surface of its own) are kept in order and blended by SSE2 kernels of the same arithmetic, in bands
// of rows over every core the process may use, into a picture the engine holds. Whatever else is drawn into
// the screen (render targets, turns the copy cache does not make) SDL draws into its own picture: the two
// pictures trade places when it does, so every draw lands in order. A check when the window opens compares
// the two ways on test pictures and leaves SDL drawing, with a message, if this SDL blends differently.
#pragma once

#include <SDL.h>

namespace zorbel::softframe {

// Whether the engine blends the picture on this renderer (software, a picture of RGB888) and is allowed to
// (ZORBEL_SOFT_BLEND=0 turns it off, to compare pictures with SDL's own drawing).
void Configure(SDL_Renderer* renderer, SDL_Texture* picture);

// The frame starts with a black picture.
void Clear();

// Draws the picture's rectangle into the screen as SDL_RenderCopyF would, with the texture's colour, alpha
// and blend mode. Only while drawing goes to the screen, not into a texture.
void Copy(SDL_Texture* texture, const SDL_Rect* src, const SDL_FRect& dst);

// SDL is about to draw into the screen itself: it gets the picture as drawn so far.
void BeforeSdlDraws();

// A picture copies may come from is about to go: what is kept of them is blended now.
void Flush();

// SDL's picture is made the whole frame so far, to be read back or presented.
void Publish();

// Lets go of the picture and the helper threads; off until the next Configure.
void Reset();

struct Figures {
    unsigned long long blended = 0, drawnBySdl = 0, handovers = 0;
    int threads = 0;
};
Figures Counts();

} // namespace zorbel::softframe
