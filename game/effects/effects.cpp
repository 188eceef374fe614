// The muzzle flash of every shot and the spent case it throws out, which ends up baked into the ground.
#include "effects.h"

#include "Battle.h"
#include "Ground.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "ZORBEL.h"
#include "assets.h"

namespace {

constexpr uint8_t kFlashFade = 50;

} // namespace

THLOP::THLOP() : CSprite(SpriteKind::MuzzleFlash) {
    const TPLAYER* player = Player();
    const int32_t a = player->Angle;
    Texture = TexHlop;
    W = H = 48;
    Angle = a;
    // 33 px ahead of the gun and 7 px to its side.
    X = ZB_Round(static_cast<float>(HeadingX(a) * 33 + (player->X + 6) + HeadingX(a + 90) * 7));
    Y = ZB_Round(static_cast<float>(HeadingY(a) * 33 + (player->Y + 6) + HeadingY(a + 90) * 7));
    Alpha = 250;
    Z = 5000800;
}

void THLOP::Draw() {
    FX_SetBlendMode(1);
    CSprite::Draw();
    FX_SetBlendMode(0);
}

// Light is not held by a pause: the flash burns out whatever the game does.
void THLOP::Move() {
    CSprite::Move();
    const bool lastLight = Alpha <= kFlashFade;
    Alpha = lastLight ? 0 : static_cast<uint8_t>(Alpha - kFlashFade);
    if (lastLight) Dead = true;
}

TEMPTY::TEMPTY() : CSprite(SpriteKind::Case) {
    const TPLAYER* player = Player();
    Texture = TexEmpty;
    W = 2;
    H = 4;
    Z = 5000099;
    Alpha = 120;
    Angle = player->Angle + 90;
    // Out of the ejection port, 16 px along the gun from the soldier's middle.
    PosX = static_cast<float>(player->X + 29 + HeadingX(Angle - 90) * 16);
    PosY = static_cast<float>(player->Y + 28 + HeadingY(Angle - 90) * 16);
    Speed = static_cast<uint8_t>(Random(3) + 6);
    StampToMap = false;
}

// Cases fly, settle and fade even while the game is paused.
void TEMPTY::Move() {
    CSprite::Move();
    if (ClearField) Dead = true;
    HitBox =
        ZB_Rect{static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W), static_cast<float>(H)};
    PosX = static_cast<float>(PosX + HeadingX(Angle) * Speed);
    PosY = static_cast<float>(PosY + HeadingY(Angle) * Speed);
    X = ZB_Round(PosX);
    Y = ZB_Round(PosY);
    if (Speed > 0) --Speed;
    if (Speed > 0) return; // still in flight

    --Alpha;
    if (Alpha == 0) Dead = true;
    if (!StampToMap) return;
    MainCamera->Switch = 0;
    // Stamped as faint as it has become: cases that waited longer leave a fainter mark.
    StampOnMap(HitBox, [this](float left, float top) {
        SSprite_Draw(Texture, static_cast<float>(X) - left, static_cast<float>(Y) - top,
                     static_cast<float>(W), static_cast<float>(H), Alpha, static_cast<float>(Angle), 1);
    });
    Dead = true;
    MainCamera->Switch = 1;
}
