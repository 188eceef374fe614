// The campaign bot's fighting. The monsters turn a degree a tick except in the end-of-wave frenzy, the
// soldier outruns all of them on a diagonal, and a bullet meets nothing in the first twenty-odd pixels: so
// the bot keeps moving away from whatever would reach him soonest and shoots the nearest threat it can hit.
#include "Fighter.h"

#include "bullets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace bot {
namespace {

constexpr float kMuzzle = kMuzzleAhead;     // a bullet starts this far ahead of the soldier's centre
constexpr float kMuzzleAside = kMuzzleSide; // and this far to his left hand
// A bullet box meets a monster box this near, on each axis.
constexpr float kHitReach = (kBulletBoxSize + kMonsterBoxSize) / 2.0f;
constexpr float kBiteReach = 16.0f; // a monster this near bites
constexpr int kHorizon = 36;        // ticks of walking weighed ahead
constexpr int kSampleEvery = 4;
constexpr int kSecondLeg = 36; // and then ticks of a second leg, to see a dead end coming
constexpr float kWallMargin = 250.0f;

float Length(float x, float y) {
    return std::sqrt(x * x + y * y);
}

// The harm of a foe at distance d: biting distance is worst, the dead zone of the gun close behind it.
float Harm(float d) {
    if (d < kBiteReach + 2.0f) return 30.0f;
    return 10.0f * std::exp(-(d - kBiteReach - 2.0f) / 16.0f) + 1.2f * std::exp(-d / 90.0f);
}

Point SoldierAt(const Field& f, int walkX, int walkY, float ticks) {
    // Both keys of a diagonal add their full step.
    const float x = f.x + static_cast<float>(walkX) * f.speed * ticks;
    const float y = f.y + static_cast<float>(walkY) * f.speed * ticks;
    return {std::clamp(x, kFieldLeft, kFieldRight), std::clamp(y, kFieldTop, kFieldBottom)};
}

// Distance from the soldier at p to a foe `ticks` from now: a charging foe closes on wherever he is, the
// others keep their heading (they turn a degree a tick).
float DistanceAhead(const Foe& foe, Point p, float ticks) {
    if (foe.charging || foe.biting) {
        const float d = Length(p.x - foe.x, p.y - foe.y);
        return std::max(0.0f, d - foe.speed * ticks);
    }
    return Length(p.x - (foe.x + foe.vx * ticks), p.y - (foe.y + foe.vy * ticks));
}

float WallHarm(Point p) {
    auto near = [](float gap) {
        const float k = std::max(0.0f, 1.0f - gap / kWallMargin);
        return k * k;
    };
    return 6.0f * (near(p.x - kFieldLeft) + near(kFieldRight - p.x) + near(p.y - kFieldTop) +
                   near(kFieldBottom - p.y));
}

// Ticks until the gun next fires if the trigger is held from now on.
float TicksToShot(const Field& f) {
    if (f.gun.reloading && f.slowDown == 0) {
        const float step = ReloadStep(LevelOf(f, Upgrade::Ammo));
        return std::max(0.0f, (static_cast<float>(f.gun.reloadTime) - f.gun.reloadTimer) / step);
    }
    const float gain = FireGain(LevelOf(f, Upgrade::FireRate), f.defence != 0);
    return std::max(0.0f, (static_cast<float>(f.gun.shotInterval) - f.gun.shotTimer) / gain);
}

// How close a foe may come and still be met by a bullet's first steps.
float NearestReach(const Field& f) {
    return kMuzzle + f.gun.bulletSpeed - kHitReach + 3.0f;
}

} // namespace

int WeaponRank(Weapon weapon) {
    // Rough damage a second in a crowd, reloads and misses counted; the pistol is the floor.
    switch (weapon) {
    case Weapon::Automat:
    case Weapon::Uzi:
        return 8;
    case Weapon::Nano:
    case Weapon::Laser:
        return 7;
    case Weapon::Shotgun:
        return 6;
    case Weapon::Bazooka:
    case Weapon::Otra:
        return 5;
    default:
        return 2;
    }
}

namespace {

// The harm at one point of a walk, `ticks` from now, from the foes near enough to matter.
float HarmAt(const std::vector<const Foe*>& near, Point p, float ticks) {
    constexpr float kOutOfReach = 300.0f;
    float harm = WallHarm(p);
    for (const Foe* foe : near) {
        const float d = DistanceAhead(*foe, p, ticks);
        if (d < kOutOfReach) harm += Harm(d);
    }
    return harm;
}

std::vector<const Foe*> NearFoes(const Field& f) {
    // Foes farther than this cannot come near within the horizon.
    constexpr float kFarAway = 450.0f;
    std::vector<const Foe*> near;
    for (const Foe& foe : f.foes)
        if (Length(foe.x - f.x, foe.y - f.y) < kFarAway) near.push_back(&foe);
    return near;
}

// The next steps count most: later ones can still be changed.
float Weight(float ticks) {
    return 1.0f / (1.0f + ticks / 24.0f);
}

// Harm summed over the first leg, and over a second leg from where the first ends; with their weights.
struct LegRisk {
    float harm = 0, weights = 0;
};

LegRisk FirstLeg(const Field& f, const std::vector<const Foe*>& near, int walkX, int walkY) {
    LegRisk r;
    for (int t = kSampleEvery; t <= kHorizon; t += kSampleEvery) {
        const float ticks = static_cast<float>(t);
        r.harm += Weight(ticks) * HarmAt(near, SoldierAt(f, walkX, walkY, ticks), ticks);
        r.weights += Weight(ticks);
    }
    return r;
}

LegRisk SecondLeg(const Field& f, const std::vector<const Foe*>& near, int walkX, int walkY, int thenX,
                  int thenY) {
    Field from = f;
    const Point turn = SoldierAt(f, walkX, walkY, kHorizon);
    from.x = turn.x;
    from.y = turn.y;
    LegRisk r;
    for (int t = 2 * kSampleEvery; t <= kSecondLeg; t += 2 * kSampleEvery) {
        const float ticks = static_cast<float>(kHorizon + t);
        r.harm += Weight(ticks) * HarmAt(near, SoldierAt(from, thenX, thenY, static_cast<float>(t)), ticks);
        r.weights += Weight(ticks);
    }
    return r;
}

} // namespace

std::optional<Upgrade> ChooseUpgrade(const Field& f) {
    using enum Upgrade;
    if (f.points <= 0 || f.dead) return std::nullopt;
    // Thirty points of health at once, when they are missed most.
    if (f.health < 45.0f && LevelOf(f, Healing) < 3) return Healing;
    // The ring of fragments every reload kills a monster in each of its directions: with faster reloads it
    // outdoes any gun. Then the gun, then the legs; armour only where a bite takes more than it can save
    // (below a bite of one, armour leaves half a point a tick anyway). Mines come with a free placing of the
    // soldier, which the bot takes as a step out of the crowd.
    const Upgrade guard = f.biteDamage > 1.0f ? Armour : Speed;
    const Upgrade order[] = {ReloadBlast, ReloadBlast, ReloadBlast, Ammo,     Ammo,  Ammo,  Damage,
                             FireRate,    guard,       Damage,      FireRate, Mines, guard, Damage,
                             FireRate,    guard,       Regen,       Regen,    Regen, Speed, Healing};
    int wanted[kUpgradeCount] = {};
    for (Upgrade upgrade : order) {
        const int line = static_cast<int>(upgrade);
        ++wanted[line];
        if (f.upgrades[line] < wanted[line] && f.upgrades[line] < 3) return upgrade;
    }
    return std::nullopt;
}

float Risk(const Field& f, int walkX, int walkY, int thenX, int thenY) {
    const std::vector<const Foe*> near = NearFoes(f);
    const LegRisk a = FirstLeg(f, near, walkX, walkY), b = SecondLeg(f, near, walkX, walkY, thenX, thenY);
    return (a.harm + b.harm) / (a.weights + b.weights);
}

int PickTarget(const Field& f, int walkX, int walkY) {
    const float reach = NearestReach(f);
    const float vx = static_cast<float>(walkX) * f.speed, vy = static_cast<float>(walkY) * f.speed;
    int best = -1;
    float bestScore = 0.0f;
    for (size_t i = 0; i < f.foes.size(); ++i) {
        const Foe& foe = f.foes[i];
        const float dx = foe.x - f.x, dy = foe.y - f.y;
        const float d = Length(dx, dy);
        if (d < reach) continue;
        // How fast it closes on the soldier as he walks, and so how soon it could bite.
        const float closing = -((foe.vx - vx) * dx + (foe.vy - vy) * dy) / d;
        const float soon = (d - kBiteReach) / std::max(closing + (foe.charging ? foe.speed : 0.0f), 0.05f);
        float score = 1.0f / (1.0f + soon / 40.0f) + 60.0f / (d + 60.0f);
        // Far beyond the screen the spread wastes bullets.
        if (d > 450.0f) score *= 0.3f;
        // Others on the line behind it, which a bullet that goes through or misses may still meet, and round
        // it for a burst or a blast.
        const bool burst = f.gun.shotgun || f.gun.weapon == Weapon::Bazooka;
        const float ux = dx / d, uy = dy / d;
        for (const Foe& other : f.foes) {
            if (&other == &foe) continue;
            const float ox = other.x - f.x, oy = other.y - f.y;
            const float along = ox * ux + oy * uy;
            const float side = std::fabs(-ox * uy + oy * ux);
            if (along > d && along < d + 400.0f && side < kHitReach + 3.0f)
                score += f.gun.piercing ? 0.25f : 0.08f;
            if (burst && Length(other.x - foe.x, other.y - foe.y) < 45.0f) score += 0.25f;
        }
        if (score > bestScore) {
            bestScore = score;
            best = static_cast<int>(i);
        }
    }
    return best;
}

Point Lead(const Field& f, const Foe& foe, int walkX, int walkY) {
    const float wait = std::min(TicksToShot(f), 6.0f);
    const Point from = SoldierAt(f, walkX, walkY, wait);
    auto foeAt = [&](float ticks) -> Point {
        if (foe.charging) {
            // It turns toward the soldier as it comes.
            const float dx = from.x - foe.x, dy = from.y - foe.y;
            const float d = Length(dx, dy);
            const float step = std::min(foe.speed * ticks, std::max(0.0f, d - kBiteReach));
            return d > 0.0f ? Point{foe.x + dx / d * step, foe.y + dy / d * step} : Point{foe.x, foe.y};
        }
        return {foe.x + foe.vx * ticks, foe.y + foe.vy * ticks};
    };
    Point target = foeAt(wait);
    for (int i = 0; i < 4; ++i) {
        const float d = Length(target.x - from.x, target.y - from.y);
        const float flight = std::max(1.0f, std::ceil((d - kMuzzle) / f.gun.bulletSpeed));
        target = foeAt(wait + flight);
    }
    // The gun is held to the side: aim that much the other way so the bullet's line crosses the target.
    const float dx = target.x - from.x, dy = target.y - from.y;
    const float d = Length(dx, dy);
    if (d > 1.0f) {
        const float hx = dx / d, hy = dy / d;
        target.x -= -hy * kMuzzleAside;
        target.y -= hx * kMuzzleAside;
    }
    return target;
}

Point CursorFor(const Field& f, Point aim) {
    constexpr float kNearest = 90.0f; // closer than this, a pixel of rounding turns the aim too much
    constexpr float kLeft = 1, kRight = 799, kTop = 1, kBottom = 599;
    // The camera follows the soldier a pixel a tick; a frame or two from now it has moved that far.
    const float camX = f.camX + std::clamp(f.camTargetX - f.camX, -2.0f, 2.0f);
    const float camY = f.camY + std::clamp(f.camTargetY - f.camY, -2.0f, 2.0f);
    const Point self{f.x - camX, f.y - camY};
    float dx = aim.x - f.x, dy = aim.y - f.y;
    const float d = Length(dx, dy);
    if (d < 1.0f) return {self.x, self.y - kNearest};
    if (d < kNearest) {
        dx *= kNearest / d;
        dy *= kNearest / d;
    }
    // The largest share of the line from the soldier that stays on the screen.
    float k = 1.0f;
    auto fit = [&](float start, float delta, float lo, float hi) {
        if (start + delta * k > hi) k = (hi - start) / delta;
        if (start + delta * k < lo) k = (lo - start) / delta;
    };
    fit(self.x, dx, kLeft, kRight);
    fit(self.y, dy, kTop, kBottom);
    k = std::max(k, 0.0f);
    return {self.x + dx * k, self.y + dy * k};
}

int PickGoal(const Field& f) {
    constexpr float kDiagonal = 1.4142f;
    int best = -1;
    float bestScore = 0.0f;
    for (size_t i = 0; i < f.items.size(); ++i) {
        const Item& item = f.items[i];
        const float d = Length(item.x - f.x, item.y - f.y);
        const float ticks = d / (f.speed * kDiagonal);
        if (ticks + 30.0f > static_cast<float>(item.lifetime)) continue;
        if (item.x < kFieldLeft - 20 || item.x > kFieldRight + 20 || item.y < kFieldTop - 20 ||
            item.y > kFieldBottom + 20)
            continue;
        auto crowdAround = [&](float r) {
            int n = 0;
            for (const Foe& foe : f.foes)
                n += Length(foe.x - item.x, foe.y - item.y) < r;
            return static_cast<float>(n);
        };
        float value = 0.0f;
        switch (item.kind) {
        case ItemKind::Life:
            value = f.health < 160.0f ? 2.0f + (200.0f - f.health) / 40.0f : f.health < 200.0f ? 0.5f : 0.0f;
            break;
        case ItemKind::Defence:
            value = 3.0f;
            break;
        case ItemKind::SlowDown:
            value = 1.5f;
            break;
        case ItemKind::Sun:
            value = 2.0f + 0.2f * crowdAround(300.0f);
            break;
        case ItemKind::Nuke:
            value = 2.0f + 0.2f * crowdAround(220.0f);
            break;
        case ItemKind::Weapon: {
            const int gain = WeaponRank(item.weapon) - WeaponRank(f.gun.weapon);
            value = gain >= 2 ? 0.8f * static_cast<float>(gain) : 0.0f;
            break;
        }
        }
        const float score = value / (1.0f + ticks / 150.0f);
        if (score > bestScore) {
            bestScore = score;
            best = static_cast<int>(i);
        }
    }
    return best;
}

Orders Fighter::Decide(const Field& f) {
    Orders o;
    if (f.dead) return o;
    o.goal = PickGoal(f);

    // Walking: the least harm a few ticks ahead, pulled toward the chosen item or, failing one, toward the
    // middle of the field where no edge can pin the soldier.
    Point home{(kFieldLeft + kFieldRight) / 2.0f, (kFieldTop + kFieldBottom) / 2.0f};
    float pull = 0.15f;
    if (o.goal >= 0) {
        home = {f.items[static_cast<size_t>(o.goal)].x, f.items[static_cast<size_t>(o.goal)].y};
        pull = 1.2f;
    }
    const float here = Length(home.x - f.x, home.y - f.y);
    const std::vector<const Foe*> near = NearFoes(f);
    float bestCost = std::numeric_limits<float>::max();
    for (int wy = -1; wy <= 1; ++wy) {
        for (int wx = -1; wx <= 1; ++wx) {
            const Point end = SoldierAt(f, wx, wy, static_cast<float>(kHorizon));
            const float nearer = (Length(home.x - end.x, home.y - end.y) - here) / (f.speed * kHorizon);
            // The way on after this leg that keeps the soldier out of harm best.
            const LegRisk first = FirstLeg(f, near, wx, wy);
            float risk = std::numeric_limits<float>::max();
            for (int ty = -1; ty <= 1; ++ty) {
                for (int tx = -1; tx <= 1; ++tx) {
                    const LegRisk then = SecondLeg(f, near, wx, wy, tx, ty);
                    risk = std::min(risk, (first.harm + then.harm) / (first.weights + then.weights));
                }
            }
            float cost = risk + pull * nearer;
            if (wx == lastWalkX && wy == lastWalkY) cost -= 0.03f; // no dithering between equals
            if (cost < bestCost) {
                bestCost = cost;
                o.walkX = wx;
                o.walkY = wy;
            }
        }
    }
    // Standing on the goal is as good as it gets.
    if (o.goal >= 0 && here < 6.0f) o.walkX = o.walkY = 0;

    // Shooting.
    const int target = PickTarget(f, o.walkX, o.walkY);
    if (target >= 0) {
        const Foe& foe = f.foes[static_cast<size_t>(target)];
        o.aiming = true;
        o.aim = Lead(f, foe, o.walkX, o.walkY);
        o.cursor = CursorFor(f, o.aim);
        // Released during a reload the trigger banks the next shot; during the slow-down no reload comes.
        o.fire = !f.gun.reloading || f.slowDown != 0;
    }

    // Reloading and mines when the field allows.
    float nearest = std::numeric_limits<float>::max();
    int crowd = 0;
    for (const Foe& foe : f.foes) {
        const float d = Length(foe.x - f.x, foe.y - f.y);
        nearest = std::min(nearest, d);
        crowd += d < 450.0f;
    }
    const int shotsLeft = f.gun.clip + std::max(f.gun.bonusShots, 0);
    if (!f.gun.reloading && f.slowDown == 0 && f.gun.clipSize > 0) {
        // Every reload throws the ring once the blast is bought: the sooner the next, the more it kills.
        const bool blastRing = LevelOf(f, Upgrade::ReloadBlast) > 0 && crowd >= 3;
        const bool lowAndCalm = shotsLeft * 4 <= f.gun.clipSize && nearest > 250.0f;
        const bool idle = shotsLeft < f.gun.clipSize && nearest > 450.0f;
        o.reload = blastRing || lowAndCalm || idle;
    }
    const bool calm = nearest > 220.0f;
    o.layMine = LevelOf(f, Upgrade::Mines) > 0 && calm && !f.foes.empty() && f.mines < 8;
    if (o.layMine) o.walkX = o.walkY = 0;

    lastWalkX = o.walkX;
    lastWalkY = o.walkY;
    return o;
}

} // namespace bot
