// A simple soldier for scripted fights: the battle driver's, the scene benchmark's and the fight tests'.
#include "autopilot.h"

#include "GEngine.h"
#include "Keys.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "ZORBEL.h"

#include <limits>

namespace autopilot {
namespace {

const TMonster* NearestLivingMonster() {
    const TMonster* nearest = nullptr;
    float best = std::numeric_limits<float>::max();
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        const auto* z = dynamic_cast<const TMonster*>(GameEngine->At(i));
        if (!z || z->Health <= 0) continue;
        const float dx = z->PosX - PlayerPosX, dy = z->PosY - PlayerPosY;
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = z;
        }
    }
    return nearest;
}

float (*gEngineMouseX)() = nullptr;
float (*gEngineMouseY)() = nullptr;
uint8_t (*gEngineMouseDown)(int32_t) = nullptr;
uint8_t (*gEngineKeyDown)(int32_t) = nullptr;

float AimX() {
    const Orders orders = Decide();
    return orders.target ? orders.mouseX : gEngineMouseX();
}
float AimY() {
    const Orders orders = Decide();
    return orders.target ? orders.mouseY : gEngineMouseY();
}
uint8_t Trigger(int32_t button) {
    if (button == 1 && Decide().target) return 1;
    return gEngineMouseDown(button);
}
uint8_t Walk(int32_t key) {
    return Decide().keys.count(key) ? 1 : gEngineKeyDown(key);
}

} // namespace

void TakeControls() {
    gEngineMouseX = Mouse_X;
    gEngineMouseY = Mouse_Y;
    gEngineMouseDown = Mouse_Down;
    gEngineKeyDown = Key_Down;
    Mouse_X = AimX;
    Mouse_Y = AimY;
    Mouse_Down = Trigger;
    Key_Down = Walk;
}

Orders Decide() {
    Orders orders;
    const TMonster* m = NearestLivingMonster();
    if (!m) return orders;
    const float zx = static_cast<float>(m->X + m->W / 2), zy = static_cast<float>(m->Y + m->H / 2);
    orders.target = true;
    orders.mouseX = zx - MainCamera->X;
    orders.mouseY = zy - MainCamera->Y;
    // Bullets leave the muzzle some way ahead and cannot hit a monster at the soldier's side: back off
    // diagonally, faster than any monster walks, turning away from the edges of the field.
    const float dx = zx - (PlayerPosX + 30.0f), dy = zy - (PlayerPosY + 30.0f);
    if (dx * dx + dy * dy < 100.0f * 100.0f) {
        bool left = dx > 0, up = dy > 0;
        if (PlayerPosX < 200.0f || PlayerPosX > 1340.0f) left = PlayerPosX > 700.0f;
        if (PlayerPosY < -360.0f || PlayerPosY > 460.0f) up = PlayerPosY > 50.0f;
        orders.keys = {left ? kKeyA : kKeyD, up ? kKeyW : kKeyS};
    }
    return orders;
}

} // namespace autopilot
