// The campaign bot's eyes: the battlefield read from the game's globals and sprite table.
#include "Field.h"

#include "BONUS.h"
#include "GEngine.h"
#include "ZORBEL.h"
#include "settings.h"

#include <algorithm>
#include <cmath>

namespace bot {
namespace {

Foe SeeFoe(const TMonster& m, const TPLAYER& player) {
    Foe foe;
    foe.x = m.PosX + static_cast<float>(m.W) / 2.0f;
    foe.y = m.PosY + static_cast<float>(m.H) / 2.0f;
    foe.speed = m.Speed;
    foe.kind = m.Species();
    foe.health = m.Health;
    foe.charging = m.Mode == kModeChase || m.Mode == kModeFrenzy;
    foe.biting = !PlayerDead && ZB_Overlap(&m.HitBox, &player.HitBox);
    if (foe.biting) return foe; // it stands while it bites
    if (m.Mode == kModeFrenzy) {
        // A frenzied monster turns straight at the soldier every tick.
        const float dx = static_cast<float>(player.X) + kSoldierHalf - foe.x,
                    dy = static_cast<float>(player.Y) + kSoldierHalf - foe.y;
        const float d = std::hypot(dx, dy);
        if (d > 0.0f) {
            foe.vx = dx / d * m.Speed;
            foe.vy = dy / d * m.Speed;
        }
        return foe;
    }
    foe.vx = static_cast<float>(HeadingX(m.Angle)) * m.Speed;
    foe.vy = static_cast<float>(HeadingY(m.Angle)) * m.Speed;
    return foe;
}

// What a pickup of a kind is to the bot.
ItemKind ItemKindOf(SpriteKind kind) {
    switch (kind) {
    case SpriteKind::LifeBonus:
        return ItemKind::Life;
    case SpriteKind::SlowDownBonus:
        return ItemKind::SlowDown;
    case SpriteKind::DefenceBonus:
        return ItemKind::Defence;
    case SpriteKind::SunBonus:
        return ItemKind::Sun;
    case SpriteKind::NukeBonus:
        return ItemKind::Nuke;
    default:
        return ItemKind::Weapon;
    }
}

bool SeeItem(const CSprite& s, Item& item) {
    if (!IsPickup(s.Kind)) return false;
    const auto& pickup = static_cast<const TPickup&>(s);
    if (pickup.Dead || pickup.Lifetime == 0) return false;
    item.x = static_cast<float>(s.X) + TPickup::kReach / 2.0f;
    item.y = static_cast<float>(s.Y) + TPickup::kReach / 2.0f;
    item.lifetime = pickup.Lifetime;
    item.kind = ItemKindOf(s.Kind);
    if (s.Kind == SpriteKind::WeaponPickup) item.weapon = static_cast<const TWeaponPickup&>(s).Carried;
    return true;
}

} // namespace

Field ReadField() {
    Field f;
    const TPLAYER& player = *Player();
    f.posX = PlayerPosX;
    f.posY = PlayerPosY;
    f.x = static_cast<float>(player.X) + kSoldierHalf;
    f.y = static_cast<float>(player.Y) + kSoldierHalf;
    f.speed = PlayerSpeed;
    f.health = player.Health;
    f.dead = PlayerDead;
    f.camX = MainCamera->X;
    f.camY = MainCamera->Y;
    f.camTargetX = static_cast<float>(CameraTargetX);
    f.camTargetY = static_cast<float>(CameraTargetY);
    f.mineCharge = MineCharge;
    f.level = Level;
    for (int i = 0; i < kUpgradeCount; ++i)
        f.upgrades[i] = Upgrades[i];
    f.points = UpgradePoints;
    f.slowDown = SlowDownTimer;
    f.defence = DefenceTimer;

    f.gun.weapon = CurrentWeapon;
    f.gun.clip = ClipAmmo;
    f.gun.clipSize = ClipSize;
    f.gun.bonusShots = BonusShots;
    f.gun.reloading = Reloading;
    f.gun.reloadTimer = ReloadTimer;
    f.gun.reloadTime = ReloadTime;
    f.gun.shotTimer = ShotTimer;
    f.gun.shotInterval = ShotInterval > 0 ? ShotInterval : 1;
    f.gun.bulletSpeed = BulletSpeed > 0.0f ? BulletSpeed : 10.0f;
    f.gun.damage = BulletDamage;
    f.gun.piercing = Piercing || CurrentWeapon == Weapon::Otra;
    f.gun.shotgun = ShotKind == 1;
    f.gun.spread = SpreadHeat;

    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        const CSprite* s = GameEngine->At(i);
        if (s->Dead) continue;
        if (IsMonster(s->Kind)) {
            const auto& m = static_cast<const TMonster&>(*s);
            f.biteDamage = std::max(f.biteDamage, m.BiteDamage);
            if (m.Health > 0 && m.Frame < kFirstDeathFrame) f.foes.push_back(SeeFoe(m, player));
            continue;
        }
        if (s->Kind == SpriteKind::Mine) {
            ++f.mines;
            continue;
        }
        Item item;
        if (SeeItem(*s, item)) f.items.push_back(item);
    }
    return f;
}

ScreenView ReadScreen() {
    ScreenView v;
    v.screen = ScreenState;
    v.menuReady = MenuAlpha == 255 && FadeLevel == 0;
    v.levelsOpen = LevelsOpen;
    v.level = Level;
    v.won = LevelWon;
    v.targetMode = TargetMode;
    v.paused = Paused;
    v.upgradePoints = UpgradePoints;
    v.tickInterval = TickInterval;
    v.dead = PlayerDead;
    v.health = Player()->Health;
    v.kills = KillCount;
    v.score = Score;
    v.pointsAwarded = PointsAwarded;
    return v;
}

} // namespace bot
