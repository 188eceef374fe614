// The soldier: aiming, walking, the fire and reload cycle, mines, death.
#include "PLAYER.h"

#include "BOMBS.h"
#include "BONUS.h"
#include "Battle.h"
#include "GEngine.h"
#include "Keys.h"
#include "OSKOLOK.h"
#include "RandomGen.h"
#include "Weapons.h"
#include "ZORBEL.h"
#include "assets.h"
#include "bullets.h"

#include <algorithm>
#include <string>

SoldierBlock Soldier;
uint8_t Upgrades[kUpgradeCount];

float FireGain(uint8_t fireRateLevel, bool defence) {
    return static_cast<float>(2 * fireRateLevel) / 10.0f + (defence ? 3.0f : 1.0f);
}

float ReloadStep(uint8_t ammoLevel) {
    return static_cast<float>(2 * ammoLevel) / 5.0f + 1.0f;
}

void ClearUpgrades() {
    for (uint8_t& level : Upgrades)
        level = 0;
}

TPLAYER* Player() {
    return static_cast<TPLAYER*>(GameEngine->At(GameEngine->PlayerSlot));
}

namespace {

// Bonus shots go first; the clip is only touched once they are used up, and the count stops at -1.
void SpendAmmunition() {
    if (BonusShots <= 0) {
        AmmoBar -= 4;
        ClipAmmo -= 1;
    }
    if (BonusShots >= 0) BonusShots -= 1;
}

void FireShot(const TPLAYER& player) {
    SpendAmmunition();
    PlayEffect(SndShot);
    if (ShotKind == 0) {
        GameEngine->Add<TBullet>();
        if (SpreadHeat < 40) SpreadHeat = static_cast<uint8_t>(SpreadHeat + RowOf(CurrentWeapon).spreadKick);
        return;
    }
    // The shotgun's heat has no ceiling; the byte wraps as it always has.
    SpreadHeat = static_cast<uint8_t>(SpreadHeat + 16);
    for (int pellet = 0; pellet < 10; ++pellet) {
        TBullet* b = GameEngine->Add<TBullet>();
        b->Angle = player.Angle + static_cast<int32_t>(Random(32)) - 16;
        if (pellet >= 4) {
            b->W = b->H = static_cast<int32_t>(Random(38)) + 10;
            b->Speed += static_cast<float>(Random(5)) / 2.0f;
        }
    }
}

} // namespace

TPLAYER::TPLAYER() : CSprite(SpriteKind::Player) {
    Texture = TexPlayer;
    W = H = kSoldierSize;
    Animated = true;
    AnimSpeed = 0.4f;
    Z = 5000100;
    Health = 200.0f;
    ReloadSoundPlayed = false;
    Angle = static_cast<int32_t>(Random(360));
    PlayerPosX = 900.0f;
    PlayerPosY = 0.0f;
}

void TPLAYER::Draw() {
    if (PlayerDead) return;
    FX_SetColorMix(0);
    ASprite_Draw(Texture, static_cast<float>(X + 3), static_cast<float>(Y + 3), static_cast<float>(W),
                 static_cast<float>(H), ZB_Round(Frame), 100, static_cast<float>(Angle), 9);
    CSprite::Draw();
}

void TPLAYER::Move() {
    if (Paused) return;
    if (PlayerDead) Health = 0.0f;
    if (!PlayerDead) {
        if (!(Health > 0.0f)) {
            Alpha = 0;
            Health = 0.0f;
            PlayerDead = true;
        }
        Aim();
        if (SpreadHeat > 0) --SpreadHeat;
        AmmoBar = ClipAmmo * 4 - 81;
        // While the slow-down runs no reload starts: the clip may go negative and firing goes on.
        if (SlowDownTimer == 0 && AmmoBar < -80) Reloading = true;
        if (Reloading && static_cast<float>(ReloadTime) > ReloadTimer) StepReload();
        StepFire();
    }
    LayMines();
    if (!Key_Down(kKeyM)) Walk();
    // The clamp follows the rounding, so a step past a bound shows for one tick.
    PlayerPosX = std::clamp(PlayerPosX, kSoldierLeft, kSoldierRight);
    PlayerPosY = std::clamp(PlayerPosY, kSoldierTop, kSoldierBottom);
    HitBox = ZB_Rect{static_cast<float>(X + 20), static_cast<float>(Y + 24), 17.0f, 11.0f};
}

void TPLAYER::Aim() {
    const float cursorX = static_cast<float>(ZB_Round(Mouse_X() + MainCamera->X));
    const float cursorY = static_cast<float>(ZB_Round(Mouse_Y() + MainCamera->Y));
    const float found = M_FindAngle(static_cast<float>(X + 30), static_cast<float>(Y + 30), cursorX, cursorY);
    Angle = WholeDegrees(found - 270.0f);
}

void TPLAYER::StepReload() {
    ReloadTimer += ReloadStep(AmmoLevel);
    if (ReloadTimer >= static_cast<float>(ReloadTime - 50) && !ReloadSoundPlayed) {
        PlayEffect(SndReload);
        ReloadSoundPlayed = true;
    }
    if (ReloadTimer < static_cast<float>(ReloadTime)) return;
    if (ReloadBlastLevel >= 1 && ReloadBlastLevel <= 3) {
        static constexpr uint8_t kRingSpeed[4] = {0, 10, 12, 15};
        FragmentRing(X + 12, Y + 12, TexBulletNano, kRingSpeed[ReloadBlastLevel], ReloadBlastLevel);
    }
    Reloading = false;
    AmmoBar = ZB_Round(static_cast<float>(ClipSize * 4 - 81));
    BonusShots = ZB_Round(static_cast<float>(ClipSize) / 5.0f) * AmmoLevel + BaseBonusShots;
    ClipAmmo = ClipSize;
    ReloadTimer = 0.0f;
    ReloadSoundPlayed = false;
}

void TPLAYER::StepFire() {
    const float gain = FireGain(FireRateLevel, DefenceTimer != 0);
    const bool held = Mouse_Down(kPrimary) != 0;
    if (held && Reloading) return; // holding the trigger through a reload builds nothing up
    if (static_cast<float>(ShotInterval) > ShotTimer) ShotTimer += gain;
    if (held && ShotTimer >= static_cast<float>(ShotInterval)) {
        FireShot(*this);
        ShotTimer = 0.0f;
    }
}

void TPLAYER::LayMines() {
    const bool held = Key_Down(kKeyM) != 0;
    if (held && MineLevel > 0 && static_cast<float>(MineCharge) <= MainCamera->X + 800.0f) {
        MineCharge += 4 * std::min<int32_t>(MineLevel, 3);
    }
    if (held && static_cast<float>(MineCharge) >= MainCamera->X + 800.0f && MineLevel > 0) {
        static constexpr uint16_t kBlastSize[4] = {0, 100, 250, 350};
        static constexpr uint16_t kDamage[4] = {0, 8, 20, 80};
        const uint8_t level = std::min<uint8_t>(MineLevel, 3);
        MineBlastSize = kBlastSize[level];
        MineDamage = kDamage[level];
        MineCharge = ZB_Round(MainCamera->X);
        TMINE1* mine = GameEngine->Add<TMINE1>();
        mine->X = X + 30;
        mine->Y = Y + 30;
    }
    if (Key_Press(kKeyM)) MineCharge = ZB_Round(MainCamera->X);
}

void TPLAYER::Walk() {
    const struct {
        int32_t key;
        float* axis;
        float sign;
    } steps[] = {{kKeyW, &PlayerPosY, -1.0f},
                 {kKeyS, &PlayerPosY, 1.0f},
                 {kKeyA, &PlayerPosX, -1.0f},
                 {kKeyD, &PlayerPosX, 1.0f}};
    for (const auto& step : steps) {
        if (!Key_Down(step.key)) continue;
        *step.axis += step.sign * PlayerSpeed;
        Frame += 0.8f;
    }
    X = ZB_Round(PlayerPosX);
    Y = ZB_Round(PlayerPosY);
}

void BackToPlay() {
    UpgradePanelOpen = false;
    Paused = false;
    ScreenState = Screen::Play;
    LoadGameCursor();
}

void ApplyUpgrade(Upgrade upgrade) {
    switch (upgrade) {
    case Upgrade::Ammo: // a full clip at once
        Reloading = false;
        ReloadTimer = 0.0f;
        ClipAmmo = ClipSize;
        BonusShots = BaseBonusShots;
        AmmoBar = ZB_Round(static_cast<float>(ClipSize * 4 - 81));
        break;
    case Upgrade::Regen:
        ++RegenLevel;
        break;
    case Upgrade::Speed:
        PlayerSpeed += 0.05f;
        break;
    case Upgrade::Weapon: // a random weapon, thrown at the soldier's feet as play resumes
        BackToPlay();
        Mouse_Press(kSecondary);
        Mouse_Press(kPrimary);
        PlaceWeaponPickup(ZB_Round(PlayerPosX) + 30, ZB_Round(PlayerPosY) + 30);
        break;
    case Upgrade::Mines: // the soldier set down anew where the next click points; the points left wait
        Paused = true;
        TargetMode = true;
        UpgradePanelOpen = false;
        ScreenState = Screen::Play;
        LoadGameCursor();
        PlayEffect(SndMenu);
        break;
    case Upgrade::Healing: {
        float& health = Player()->Health;
        health = health > 170.0f ? 200.0f : health + 30.0f;
        break;
    }
    default:
        break;
    }
}
