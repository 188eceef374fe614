// A headless battle for tests and demos: the real game on the real engine, started straight into a level.
// DRELMONT_LEVEL picks the level (1 by default); the engine's ZORBEL_* variables script input and
// screenshots. With DRELMONT_AUTOAIM=1 the cursor follows the nearest living zombie and the trigger is held
// while one is on the field, so a run shows a real fight without a recorded script.
#include "GEngine.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "ZORBEL.h"
#include "level.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

float (*gEngineMouseX)() = nullptr;
float (*gEngineMouseY)() = nullptr;
uint8_t (*gEngineMouseDown)(int32_t) = nullptr;

const TZOMBI* NearestLivingZombie() {
    const TZOMBI* nearest = nullptr;
    float best = std::numeric_limits<float>::max();
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        const auto* z = dynamic_cast<const TZOMBI*>(GameEngine->At(i));
        if (!z || z->Health <= 0) continue;
        const float dx = z->PosX - PlayerPosX, dy = z->PosY - PlayerPosY;
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = z;
        }
    }
    return nearest;
}

float AimX() {
    const TZOMBI* z = NearestLivingZombie();
    return z ? static_cast<float>(z->X + z->W / 2) - MainCamera->X : gEngineMouseX();
}
float AimY() {
    const TZOMBI* z = NearestLivingZombie();
    return z ? static_cast<float>(z->Y + z->H / 2) - MainCamera->Y : gEngineMouseY();
}
uint8_t Trigger(int32_t button) {
    if (button == 1 && NearestLivingZombie()) return 1;
    return gEngineMouseDown(button);
}

void LoadAndStartLevel() {
    LoadProc();
    const char* autoAim = std::getenv("DRELMONT_AUTOAIM");
    if (autoAim && std::strcmp(autoAim, "1") == 0) {
        gEngineMouseX = Mouse_X;
        gEngineMouseY = Mouse_Y;
        gEngineMouseDown = Mouse_Down;
        Mouse_X = AimX;
        Mouse_Y = AimY;
        Mouse_Down = Trigger;
    }
    const char* level = std::getenv("DRELMONT_LEVEL");
    SetupLevel(static_cast<uint8_t>(level ? std::atoi(level) : 1));
}

} // namespace

int main() {
    return RunGame(LoadAndStartLevel);
}
