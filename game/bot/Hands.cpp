// The campaign bot's hands: events through the engine's input path, the one a player's devices use.
#include "Hands.h"

#include "ZORBEL.h"

namespace bot {
namespace {

void Key(int32_t vk, bool down) {
    ZB_PostInput(down ? ZB_INPUT_KEY_DOWN : ZB_INPUT_KEY_UP, vk, 0.0f, 0.0f);
}

void Button(int32_t button, bool down) {
    ZB_PostInput(down ? ZB_INPUT_BUTTON_DOWN : ZB_INPUT_BUTTON_UP, button, 0.0f, 0.0f);
}

// Brings `held` to `wanted` with one event per change.
void Match(std::set<int32_t>& held, const std::set<int32_t>& wanted, void (*post)(int32_t, bool)) {
    for (auto it = held.begin(); it != held.end();) {
        if (wanted.count(*it)) {
            ++it;
            continue;
        }
        post(*it, false);
        it = held.erase(it);
    }
    for (int32_t code : wanted) {
        if (held.insert(code).second) post(code, true);
    }
}

} // namespace

void Hands::Post(const Wish& wish) {
    // Last frame's taps and clicks are let go unless held on purpose now.
    for (int32_t vk : tappedKeys)
        if (!wish.keys.count(vk) && keys.erase(vk)) Key(vk, false);
    for (int32_t b : clickedButtons)
        if (!wish.buttons.count(b) && buttons.erase(b)) Button(b, false);
    tappedKeys.clear();
    clickedButtons.clear();

    if (!placed || wish.x != x || wish.y != y) {
        ZB_PostInput(ZB_INPUT_CURSOR, 0, wish.x, wish.y);
        placed = true;
        x = wish.x;
        y = wish.y;
    }
    Match(keys, wish.keys, Key);
    Match(buttons, wish.buttons, Button);

    for (int32_t vk : wish.taps) {
        if (keys.count(vk)) Key(vk, false);
        Key(vk, true);
        keys.insert(vk);
        tappedKeys.insert(vk);
    }
    for (int32_t b : wish.clicks) {
        if (buttons.count(b)) Button(b, false);
        Button(b, true);
        buttons.insert(b);
        clickedButtons.insert(b);
    }
}

void Hands::Release() {
    Wish none;
    none.x = x;
    none.y = y;
    Post(none);
}

} // namespace bot
