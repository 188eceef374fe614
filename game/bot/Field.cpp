// The campaign bot's eyes: the battlefield read from the game's globals and sprite table.
#include "Field.h"

#include "BOMBS.h"
#include "BONUS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "ZORBEL.h"
#include "level.h"

#include <algorithm>
#include <cmath>

namespace bot {
namespace {

constexpr uint8_t kChaseMode = 1, kFrenzyMode = 4;
constexpr float kCorpseFrame = 21.0f; // from this frame on a monster is falling, not fighting

Foe SeeFoe(const TMonster& m, const TPLAYER& player) {
    Foe foe;
    foe.x = m.PosX + static_cast<float>(m.W) / 2.0f;
    foe.y = m.PosY + static_cast<float>(m.H) / 2.0f;
    foe.speed = m.Speed;
    foe.kind = m.Kind();
    foe.health = m.Health;
    foe.charging = m.Mode == kChaseMode || m.Mode == kFrenzyMode;
    foe.biting = !PlayerDead && Col_AABB(&m.HitBox, &player.HitBox);
    if (foe.biting) return foe; // it stands while it bites
    if (m.Mode == kFrenzyMode) {
        // A frenzied monster turns straight at the soldier every tick.
        const float dx = static_cast<float>(player.X + 30) - foe.x,
                    dy = static_cast<float>(player.Y + 30) - foe.y;
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

bool SeeItem(const CSprite& s, Item& item) {
    const auto* pickup = dynamic_cast<const TPickup*>(&s);
    if (!pickup || pickup->Dead || pickup->Lifetime == 0) return false;
    item.x = static_cast<float>(s.X) + 17.0f;
    item.y = static_cast<float>(s.Y) + 17.0f;
    item.lifetime = pickup->Lifetime;
    if (const auto* w = dynamic_cast<const TWeaponPickup*>(&s)) {
        item.kind = ItemKind::Weapon;
        item.weapon = w->WeaponIndex;
    } else if (dynamic_cast<const TLIFES*>(&s)) {
        item.kind = ItemKind::Life;
    } else if (dynamic_cast<const TZAMEDL*>(&s)) {
        item.kind = ItemKind::SlowDown;
    } else if (dynamic_cast<const TDEFENCE*>(&s)) {
        item.kind = ItemKind::Defence;
    } else if (dynamic_cast<const TSOLN*>(&s)) {
        item.kind = ItemKind::Sun;
    } else if (dynamic_cast<const TNUKEBON*>(&s)) {
        item.kind = ItemKind::Nuke;
    } else {
        return false;
    }
    return true;
}

} // namespace

Field ReadField() {
    Field f;
    const TPLAYER& player = *Player();
    f.posX = PlayerPosX;
    f.posY = PlayerPosY;
    f.x = static_cast<float>(player.X + 30);
    f.y = static_cast<float>(player.Y + 30);
    f.speed = PlayerSpeed;
    f.health = player.Health;
    f.dead = PlayerDead;
    f.camX = MainCamera->X;
    f.camY = MainCamera->Y;
    f.camTargetX = static_cast<float>(CameraTargetX);
    f.camTargetY = static_cast<float>(CameraTargetY);
    f.mineCharge = MineCharge;
    f.level = Level;
    for (int i = 0; i < 10; ++i)
        f.upgrades[i] = Upgrades[i];
    f.points = UpgradePoints;
    f.slowDown = SlowDownTimer;
    f.defence = DefenceTimer;

    f.gun.name = CurrentWeapon;
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
    f.gun.piercing = Piercing || CurrentWeapon == "OTRA";
    f.gun.shotgun = ShotKind == 1;
    f.gun.spread = SpreadHeat;

    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        const CSprite* s = GameEngine->At(i);
        if (s->Dead) continue;
        if (const auto* m = dynamic_cast<const TMonster*>(s)) {
            f.biteDamage = std::max(f.biteDamage, m->BiteDamage);
            if (m->Health > 0 && m->Frame < kCorpseFrame) f.foes.push_back(SeeFoe(*m, player));
            continue;
        }
        if (dynamic_cast<const TMINE1*>(s)) {
            ++f.mines;
            continue;
        }
        Item item;
        if (SeeItem(*s, item)) f.items.push_back(item);
    }
    return f;
}

} // namespace bot
