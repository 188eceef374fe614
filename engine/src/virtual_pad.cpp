// The input script's gamepad: an SDL virtual joystick, mapped and reported as a plugged-in controller is.
#include "engine.h"
#include "script.h"

#include <iterator>

namespace zorbel::virtualpad {
namespace {

static_assert(std::size(script::kPadButtonNames) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1 &&
                  std::size(script::kPadAxisNames) == SDL_CONTROLLER_AXIS_MAX &&
                  script::kFirstPadTrigger == SDL_CONTROLLER_AXIS_TRIGGERLEFT,
              "the script numbers the pad's buttons and axes as SDL does");

SDL_Joystick* gJoystick = nullptr;

// SDL spreads a trigger's travel (0 .. 32767) over the virtual axis's whole range, so a trigger at rest is
// the axis at its lowest.
Sint16 RawAxis(int axis, int value) {
    return static_cast<Sint16>(axis >= SDL_CONTROLLER_AXIS_TRIGGERLEFT ? 2 * value - 32768 : value);
}

bool Connected() {
    if (!gJoystick)
        ReportOnce("no-script-pad", "the script moves its gamepad before \"pad connect\"; ignored");
    return gJoystick != nullptr;
}

} // namespace

void Connect() {
    if (gJoystick) return;
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Zorbel script pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    gJoystick = index < 0 ? nullptr : SDL_JoystickOpen(index);
    if (!gJoystick) {
        Report("cannot connect the script's gamepad: %s", SDL_GetError());
        return;
    }
    for (int trigger : {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT})
        SDL_JoystickSetVirtualAxis(gJoystick, trigger, RawAxis(trigger, 0));
}

void Disconnect() {
    if (!gJoystick) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(gJoystick);
    SDL_JoystickClose(gJoystick);
    gJoystick = nullptr;
    for (int i = 0, n = SDL_NumJoysticks(); i < n; ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
}

void SetButton(int button, bool down) {
    if (Connected()) SDL_JoystickSetVirtualButton(gJoystick, button, down ? 1 : 0);
}

void SetAxis(int axis, int value) {
    if (Connected()) SDL_JoystickSetVirtualAxis(gJoystick, axis, RawAxis(axis, value));
}

} // namespace zorbel::virtualpad
