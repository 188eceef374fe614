// Gamepads (SDL game controllers) as the keys, mouse buttons and cursor moves a keyboard and a mouse make.
#include "engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <set>
#include <vector>

namespace zorbel::pad {
namespace {

constexpr int kKeyW = 87, kKeyA = 65, kKeyS = 83, kKeyD = 68;
constexpr int kKeyEscape = 27, kKeyM = 77, kKeyQ = 81, kKeyR = 82;
constexpr int kPrimary = 1, kSecondary = 0;
// Fractions of a stick's or trigger's full travel.
constexpr float kStickDeadZone = 0.35f;
constexpr float kTriggerPulled = 0.5f;
constexpr float kNavigationTilt = 0.5f;
// The right stick puts the cursor this far from the aim centre, so whatever reads the cursor as a target
// point still finds one.
constexpr float kAimRadius = 150.0f;
// A held direction steps from target to target again after this long, then at this pace.
constexpr double kRepeatDelayMs = 400.0, kRepeatEveryMs = 150.0;
// More targets than any screen has; the rest are ignored.
constexpr int32_t kMaxTargets = 256;

// What the open pads hold now, merged: a button held on any pad, each axis as far as any pad pushes it.
struct Reading {
    float leftX = 0, leftY = 0, rightX = 0, rightY = 0, leftTrigger = 0, rightTrigger = 0;
    std::array<bool, SDL_CONTROLLER_BUTTON_MAX> buttons{};
    bool Held(SDL_GameControllerButton button) const { return buttons[button]; }
};

enum class Way { None, Up, Down, Left, Right };

struct State {
    std::vector<SDL_GameController*> open;
    // What the program said of its screen during the last frame procedure.
    std::optional<SDL_FPoint> aimCentre;
    std::vector<ZB_Rect> targets;
    // What the pads hold down, as the input state knows it.
    std::set<int> keys, buttons;
    bool aiming = false;   // the right stick has the cursor
    float aimAngle = 0.0f; // radians, on screen (y down)
    Way way = Way::None;   // the direction stepping between targets
    double nextStep = 0.0; // engine time of the held direction's next step
};
State gPad;

float Axis(SDL_GameController* c, SDL_GameControllerAxis axis) {
    return std::clamp(static_cast<float>(SDL_GameControllerGetAxis(c, axis)) / 32767.0f, -1.0f, 1.0f);
}

void Further(float& merged, float value) {
    if (std::fabs(value) > std::fabs(merged)) merged = value;
}

Reading Read() {
    Reading r;
    for (SDL_GameController* c : gPad.open) {
        Further(r.leftX, Axis(c, SDL_CONTROLLER_AXIS_LEFTX));
        Further(r.leftY, Axis(c, SDL_CONTROLLER_AXIS_LEFTY));
        Further(r.rightX, Axis(c, SDL_CONTROLLER_AXIS_RIGHTX));
        Further(r.rightY, Axis(c, SDL_CONTROLLER_AXIS_RIGHTY));
        Further(r.leftTrigger, Axis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
        Further(r.rightTrigger, Axis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            r.buttons[b] =
                r.buttons[b] || SDL_GameControllerGetButton(c, static_cast<SDL_GameControllerButton>(b));
    }
    return r;
}

// The left stick, or the d-pad while the stick rests, picks one of eight ways: the nearest multiple of 45
// degrees, held as W, A, S, D are for it. How far the stick leans does not matter.
void AddWalkKeys(const Reading& r, std::set<int>& keys) {
    float x = r.leftX, y = r.leftY;
    if (std::hypot(x, y) < kStickDeadZone) {
        x = static_cast<float>(r.Held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) -
                               r.Held(SDL_CONTROLLER_BUTTON_DPAD_LEFT));
        y = static_cast<float>(r.Held(SDL_CONTROLLER_BUTTON_DPAD_DOWN) -
                               r.Held(SDL_CONTROLLER_BUTTON_DPAD_UP));
        if (x == 0.0f && y == 0.0f) return;
    }
    static constexpr int kKeysOfWay[8][2] = {{kKeyD, 0}, {kKeyD, kKeyS}, {kKeyS, 0}, {kKeyS, kKeyA},
                                             {kKeyA, 0}, {kKeyA, kKeyW}, {kKeyW, 0}, {kKeyW, kKeyD}};
    const long way = std::lround(std::atan2(y, x) / (static_cast<float>(M_PI) / 4.0f));
    for (int key : kKeysOfWay[(way + 8) % 8])
        if (key) keys.insert(key);
}

Way NavigationWay(const Reading& r) {
    if (r.Held(SDL_CONTROLLER_BUTTON_DPAD_UP)) return Way::Up;
    if (r.Held(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) return Way::Down;
    if (r.Held(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) return Way::Left;
    if (r.Held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) return Way::Right;
    if (std::max(std::fabs(r.leftX), std::fabs(r.leftY)) < kNavigationTilt) return Way::None;
    if (std::fabs(r.leftX) > std::fabs(r.leftY)) return r.leftX < 0 ? Way::Left : Way::Right;
    return r.leftY < 0 ? Way::Up : Way::Down;
}

SDL_FPoint Centre(const ZB_Rect& r) {
    return {r.X + r.W / 2.0f, r.Y + r.H / 2.0f};
}

bool Inside(const SDL_FPoint& p, const ZB_Rect& r) {
    return p.x >= r.X && p.x < r.X + r.W && p.y >= r.Y && p.y < r.Y + r.H;
}

// Where the pointer at p goes stepping `way`: the centre of the nearest target ahead, a step aside counting
// twice a step ahead; with none ahead, the nearest target when the pointer is on none, else nowhere.
std::optional<SDL_FPoint> NextTarget(const std::vector<ZB_Rect>& targets, SDL_FPoint p, Way way) {
    const float dx = way == Way::Left ? -1.0f : way == Way::Right ? 1.0f : 0.0f;
    const float dy = way == Way::Up ? -1.0f : way == Way::Down ? 1.0f : 0.0f;
    std::optional<SDL_FPoint> best, nearest;
    float bestScore = 0.0f, nearestDistance = 0.0f;
    bool onTarget = false;
    for (const ZB_Rect& t : targets) {
        const SDL_FPoint c = Centre(t);
        onTarget = onTarget || Inside(p, t);
        const float ahead = (c.x - p.x) * dx + (c.y - p.y) * dy;
        const float aside = std::fabs((c.x - p.x) * dy - (c.y - p.y) * dx);
        if (ahead >= 1.0f && (!best || ahead + 2.0f * aside < bestScore)) {
            best = c;
            bestScore = ahead + 2.0f * aside;
        }
        const float distance = std::hypot(c.x - p.x, c.y - p.y);
        if (!nearest || distance < nearestDistance) {
            nearest = c;
            nearestDistance = distance;
        }
    }
    if (best || onTarget) return best;
    return nearest;
}

// On a screen of targets: a direction steps once when it is first held, and again while it stays held.
std::optional<SDL_FPoint> Navigate(const Reading& r) {
    const Way way = NavigationWay(r);
    const double now = clock::Now();
    if (way == Way::None) {
        gPad.way = Way::None;
        return std::nullopt;
    }
    if (way == gPad.way && now < gPad.nextStep) return std::nullopt;
    gPad.nextStep = now + (way == gPad.way ? kRepeatEveryMs : kRepeatDelayMs);
    gPad.way = way;
    return NextTarget(gPad.targets, {Mouse_X(), Mouse_Y()}, way);
}

// In play: the right stick turns the aim, and the cursor keeps its place on the circle as the centre moves.
std::optional<SDL_FPoint> Aim(const Reading& r, const SDL_FPoint& centre) {
    if (std::hypot(r.rightX, r.rightY) >= kStickDeadZone) {
        gPad.aiming = true;
        gPad.aimAngle = std::atan2(r.rightY, r.rightX);
    }
    if (!gPad.aiming) return std::nullopt;
    return SDL_FPoint{centre.x + kAimRadius * std::cos(gPad.aimAngle),
                      centre.y + kAimRadius * std::sin(gPad.aimAngle)};
}

} // namespace

void HandleEvent(const SDL_Event& event) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        SDL_GameController* c = SDL_GameControllerOpen(event.cdevice.which);
        if (!c)
            Report("cannot open the gamepad %d: %s", event.cdevice.which, SDL_GetError());
        else if (std::find(gPad.open.begin(), gPad.open.end(), c) == gPad.open.end())
            gPad.open.push_back(c);
        else
            SDL_GameControllerClose(c); // already open: give back the second reference
    } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        const auto gone = std::find_if(gPad.open.begin(), gPad.open.end(), [&](SDL_GameController* c) {
            return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c)) == event.cdevice.which;
        });
        if (gone == gPad.open.end()) return;
        SDL_GameControllerClose(*gone);
        gPad.open.erase(gone);
    }
}

void Update() {
    if (gPad.open.empty() && gPad.keys.empty() && gPad.buttons.empty()) return;
    // The pads' state as of now, including what the script's virtual pad was given this frame.
    SDL_GameControllerUpdate();
    const Reading r = Read();
    std::set<int> keys, buttons;
    std::optional<SDL_FPoint> cursor;
    if (r.Held(SDL_CONTROLLER_BUTTON_A) || r.rightTrigger >= kTriggerPulled) buttons.insert(kPrimary);
    if (r.Held(SDL_CONTROLLER_BUTTON_LEFTSHOULDER)) buttons.insert(kSecondary);
    if (r.Held(SDL_CONTROLLER_BUTTON_START)) keys.insert(kKeyEscape);
    if (r.Held(SDL_CONTROLLER_BUTTON_X)) keys.insert(kKeyR);
    if (r.Held(SDL_CONTROLLER_BUTTON_Y)) keys.insert(kKeyQ);
    if (r.leftTrigger >= kTriggerPulled) keys.insert(kKeyM);
    if (gPad.aimCentre) {
        AddWalkKeys(r, keys);
        cursor = Aim(r, *gPad.aimCentre);
        gPad.way = Way::None;
    } else if (!gPad.targets.empty()) {
        cursor = Navigate(r);
    }
    // Let go first and press last, with the cursor moved in between, so that a press lands where it went.
    for (int key : gPad.keys)
        if (!keys.count(key)) input::SetKey(key, false);
    for (int button : gPad.buttons)
        if (!buttons.count(button)) input::SetMouseButton(button, false);
    if (cursor) {
        const float x = std::clamp(cursor->x, 0.0f, static_cast<float>(gVideo.logicalW));
        const float y = std::clamp(cursor->y, 0.0f, static_cast<float>(gVideo.logicalH));
        if (x != Mouse_X() || y != Mouse_Y()) input::SetMouseLogical(x, y);
    }
    for (int key : keys)
        if (!gPad.keys.count(key)) input::SetKey(key, true);
    for (int button : buttons)
        if (!gPad.buttons.count(button)) input::SetMouseButton(button, true);
    gPad.keys = std::move(keys);
    gPad.buttons = std::move(buttons);
}

void ForgetScreen() {
    gPad.aimCentre.reset();
    gPad.targets.clear();
}

void MouseMoved() {
    gPad.aiming = false;
}

void ForgetHeld() {
    gPad.keys.clear();
    gPad.buttons.clear();
}

void CloseAll() {
    for (SDL_GameController* c : gPad.open)
        SDL_GameControllerClose(c);
    gPad = State{};
}

} // namespace zorbel::pad

using namespace zorbel;

void Pad_SetAim(float x, float y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    pad::gPad.targets.clear();
    pad::gPad.aimCentre = SDL_FPoint{x, y};
}

void Pad_SetTargets(const ZB_Rect* targets, int32_t count) {
    pad::gPad.aimCentre.reset();
    pad::gPad.targets.clear();
    if (!targets) return;
    for (int32_t i = 0; i < std::min(count, pad::kMaxTargets); ++i) {
        const ZB_Rect& t = targets[i];
        if (std::isfinite(t.X) && std::isfinite(t.Y) && std::isfinite(t.W) && std::isfinite(t.H))
            pad::gPad.targets.push_back(t);
    }
}
