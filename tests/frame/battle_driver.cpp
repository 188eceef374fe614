// A headless battle for tests and demos: the real game on the real engine, started straight into a level.
// DRELMONT_LEVEL picks the level (1 by default); the engine's ZORBEL_* variables script input and
// screenshots. With DRELMONT_AUTOAIM=1 a simple soldier takes the controls while a monster lives: the cursor
// follows the nearest one, the trigger is held, and the soldier backs off from one that comes close.
#include "RUN_GAME.h"
#include "ZORBEL.h"
#include "autopilot.h"
#include "level.h"

#include <cstdlib>
#include <cstring>

namespace {

float (*gEngineMouseX)() = nullptr;
float (*gEngineMouseY)() = nullptr;
uint8_t (*gEngineMouseDown)(int32_t) = nullptr;
uint8_t (*gEngineKeyDown)(int32_t) = nullptr;

float AimX() {
    const autopilot::Orders orders = autopilot::Decide();
    return orders.target ? orders.mouseX : gEngineMouseX();
}
float AimY() {
    const autopilot::Orders orders = autopilot::Decide();
    return orders.target ? orders.mouseY : gEngineMouseY();
}
uint8_t Trigger(int32_t button) {
    if (button == 1 && autopilot::Decide().target) return 1;
    return gEngineMouseDown(button);
}
uint8_t Walk(int32_t key) {
    return autopilot::Decide().keys.count(key) ? 1 : gEngineKeyDown(key);
}

void LoadAndStartLevel() {
    LoadProc();
    const char* autoAim = std::getenv("DRELMONT_AUTOAIM");
    if (autoAim && std::strcmp(autoAim, "1") == 0) {
        gEngineMouseX = Mouse_X;
        gEngineMouseY = Mouse_Y;
        gEngineMouseDown = Mouse_Down;
        gEngineKeyDown = Key_Down;
        Mouse_X = AimX;
        Mouse_Y = AimY;
        Mouse_Down = Trigger;
        Key_Down = Walk;
    }
    const char* level = std::getenv("DRELMONT_LEVEL");
    SetupLevel(static_cast<uint8_t>(level ? std::atoi(level) : 1));
}

} // namespace

int main() {
    return RunGame(LoadAndStartLevel);
}
