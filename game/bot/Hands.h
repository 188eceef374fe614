// The campaign bot's hands on the mouse and keyboard: each frame it says what it wants held, pointed at and
// clicked, and only the changes reach the engine, as events a player's devices would send.
#pragma once

#include "Keys.h"

#include <cstdint>
#include <set>

namespace bot {

// One frame's wish.
struct Wish {
    float x = 400, y = 300;    // cursor, screen pixels
    std::set<int32_t> keys;    // keys held down
    std::set<int32_t> buttons; // buttons held down
    std::set<int32_t> taps;    // keys pressed now and let go next frame
    std::set<int32_t> clicks;  // buttons pressed now and let go next frame
};

// What the hands hold, and the events that make it so.
class Hands {
  public:
    // Posts the events that turn what is held into the wish: let go of last frame's taps and clicks, move
    // the cursor, let go and press keys and buttons, then the new taps and clicks (a held button is let go
    // first so that its click is a fresh press).
    void Post(const Wish& wish);
    // Lets go of everything.
    void Release();
    // Where the cursor was last put.
    float CursorX() const { return x; }
    float CursorY() const { return y; }

  private:
    bool placed = false;
    float x = 400, y = 300;
    std::set<int32_t> keys, buttons;
    std::set<int32_t> tappedKeys, clickedButtons;
};

} // namespace bot
