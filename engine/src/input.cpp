// The input state, and the keyboard and mouse: SDL events as Windows virtual-key codes and logical pixels.
#include "engine.h"
#include "replay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace zorbel {
namespace {

constexpr int kKeys = 256;
constexpr int kButtons = 3; // 0 secondary, 1 primary, 2 middle
constexpr int kKeyEnter = 13, kKeyAlt = 18;

struct InputState {
    std::array<bool, kKeys> keyDown{};
    std::array<bool, kKeys> keyPressed{};
    std::array<bool, kButtons> buttonDown{};
    std::array<bool, kButtons> buttonPressed{};
    float mouseX = 0.0f, mouseY = 0.0f;
    bool focusLost = false;
};
InputState gInput;

// Keys are mapped by position (scancode), as Windows reports letter keys on non-Latin layouts:
// W, A, S, D stay where they are whatever the keyboard layout.
int VirtualKey(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return 112 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return 97 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
    case SDL_SCANCODE_0:
        return '0';
    case SDL_SCANCODE_KP_0:
        return 96;
    case SDL_SCANCODE_BACKSPACE:
        return 8;
    case SDL_SCANCODE_TAB:
        return 9;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
        return 13;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
        return 16;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
        return 17;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
        return 18;
    case SDL_SCANCODE_PAUSE:
        return 19;
    case SDL_SCANCODE_CAPSLOCK:
        return 20;
    case SDL_SCANCODE_ESCAPE:
        return 27;
    case SDL_SCANCODE_SPACE:
        return 32;
    case SDL_SCANCODE_PAGEUP:
        return 33;
    case SDL_SCANCODE_PAGEDOWN:
        return 34;
    case SDL_SCANCODE_END:
        return 35;
    case SDL_SCANCODE_HOME:
        return 36;
    case SDL_SCANCODE_LEFT:
        return 37;
    case SDL_SCANCODE_UP:
        return 38;
    case SDL_SCANCODE_RIGHT:
        return 39;
    case SDL_SCANCODE_DOWN:
        return 40;
    case SDL_SCANCODE_INSERT:
        return 45;
    case SDL_SCANCODE_DELETE:
        return 46;
    default:
        return -1;
    }
}

int EngineButton(Uint8 sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 0;
    case SDL_BUTTON_MIDDLE:
        return 2;
    default:
        return -1;
    }
}

// A pointer cannot leave the picture: the letterbox bars and anything beyond map to its edges.
void HoldToPicture(float* x, float* y) {
    *x = std::clamp(*x, 0.0f, static_cast<float>(gVideo.logicalW));
    *y = std::clamp(*y, 0.0f, static_cast<float>(gVideo.logicalH));
}

bool ValidKey(int32_t vk) {
    return vk >= 0 && vk < kKeys;
}
bool ValidButton(int32_t button) {
    return button >= 0 && button < kButtons;
}

} // namespace

namespace input {

void HandleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        // Auto-repeat is not a new press.
        if (event.key.repeat == 0) SetKey(VirtualKey(event.key.keysym.scancode), event.type == SDL_KEYDOWN);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        SetMouseButton(EngineButton(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_MOUSEMOTION: {
        // The event's own x, y are already rescaled by the renderer (truncated, unclamped);
        // the window position gives the exact mapping.
        int wx = 0, wy = 0;
        SDL_GetMouseState(&wx, &wy);
        float x = 0.0f, y = 0.0f;
        WindowToLogical(wx, wy, &x, &y);
        SetMouseLogical(x, y);
        pad::MouseMoved();
        break;
    }
    case SDL_WINDOWEVENT:
        // Keys released while another window had the focus would otherwise stay held.
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
            event.window.event == SDL_WINDOWEVENT_MINIMIZED)
            ReleaseAll();
        break;
    default:
        break;
    }
}

// Every change of the input state passes through these four, so a recording sees each in its order.
void SetKey(int vk, bool down) {
    if (!ValidKey(vk)) return;
    replay::Note({replay::InputEvent::Kind::Key, static_cast<uint8_t>(vk), down});
    // Alt+Enter switches at once whoever sends it, so a replay switches where the game did.
    if (down && vk == kKeyEnter && !gInput.keyDown[vk] && gInput.keyDown[kKeyAlt]) window::SwitchFullScreen();
    if (down && !gInput.keyDown[vk]) gInput.keyPressed[vk] = true;
    gInput.keyDown[vk] = down;
}

void SetMouseButton(int button, bool down) {
    if (!ValidButton(button)) return;
    replay::Note({replay::InputEvent::Kind::Button, static_cast<uint8_t>(button), down});
    if (down && !gInput.buttonDown[button]) gInput.buttonPressed[button] = true;
    gInput.buttonDown[button] = down;
}

// The devices, the script, a replay and ZB_PostInput all move the cursor here, so a position far off the
// picture is held to its edge the same way whichever brought it, and one that is nowhere is refused.
void SetMouseLogical(float x, float y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    HoldToPicture(&x, &y);
    replay::Note({replay::InputEvent::Kind::Cursor, 0, false, x, y});
    gInput.mouseX = x;
    gInput.mouseY = y;
}

void ReleaseAll() {
    replay::Note({replay::InputEvent::Kind::ReleaseAll});
    gInput.keyDown.fill(false);
    gInput.buttonDown.fill(false);
    gInput.focusLost = true;
    pad::ForgetHeld();
}

void Apply(const replay::InputEvent& e) {
    switch (e.kind) {
    case replay::InputEvent::Kind::Key:
        SetKey(e.code, e.down);
        break;
    case replay::InputEvent::Kind::Button:
        SetMouseButton(e.code, e.down);
        break;
    case replay::InputEvent::Kind::Cursor:
        SetMouseLogical(e.x, e.y);
        break;
    case replay::InputEvent::Kind::ReleaseAll:
        ReleaseAll();
        break;
    }
}

void WindowToLogical(int wx, int wy, float* lx, float* ly) {
    float x = static_cast<float>(wx), y = static_cast<float>(wy);
    if (gVideo.renderer) {
        // The letterbox belongs to the window's own target; a texture target has a mapping of its own.
        SDL_Texture* target = SDL_GetRenderTarget(gVideo.renderer);
        if (target) SDL_SetRenderTarget(gVideo.renderer, nullptr);
        SDL_RenderWindowToLogical(gVideo.renderer, wx, wy, &x, &y);
        if (target) SDL_SetRenderTarget(gVideo.renderer, target);
    }
    HoldToPicture(&x, &y);
    *lx = x;
    *ly = y;
}

void Reset() {
    gInput = InputState{};
}

} // namespace input
} // namespace zorbel

using namespace zorbel;

uint8_t Key_Down(int32_t vk) {
    return ValidKey(vk) && gInput.keyDown[vk];
}

uint8_t Key_Press(int32_t vk) {
    if (!ValidKey(vk)) return 0;
    return std::exchange(gInput.keyPressed[vk], false);
}

uint8_t Mouse_Down(int32_t button) {
    return ValidButton(button) && gInput.buttonDown[button];
}

uint8_t Mouse_Press(int32_t button) {
    if (!ValidButton(button)) return 0;
    return std::exchange(gInput.buttonPressed[button], false);
}

void ZB_PostInput(int32_t event, int32_t code, float x, float y) {
    switch (event) {
    case ZB_INPUT_CURSOR:
        input::SetMouseLogical(x, y);
        break;
    case ZB_INPUT_KEY_DOWN:
    case ZB_INPUT_KEY_UP:
        input::SetKey(code, event == ZB_INPUT_KEY_DOWN);
        break;
    case ZB_INPUT_BUTTON_DOWN:
    case ZB_INPUT_BUTTON_UP:
        input::SetMouseButton(code, event == ZB_INPUT_BUTTON_DOWN);
        break;
    default:
        break;
    }
}

uint8_t ZB_FocusLost(void) {
    return std::exchange(gInput.focusLost, false);
}

void Mouse_Lock(void) {
    gInput.buttonPressed.fill(false);
}

float Mouse_X(void) {
    return gInput.mouseX;
}
float Mouse_Y(void) {
    return gInput.mouseY;
}
