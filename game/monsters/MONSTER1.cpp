// The monsters and what they share: baking into the ground, steering, frenzy, and blood traces.
#include "MONSTER1.h"

#include "Battle.h"
#include "GEngine.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "SquallSound.h"
#include "ZORBEL.h"
#include "assets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <vector>

uint16_t AliveAliens = 0, AliveZombies = 0, AliveSpiders = 0;

namespace {

std::vector<TMonster*> gMonsters; // every monster in the table, in slot order
HitGrid gHitGrid;                 // every monster in the table, by where its hit box is
// Monsters made so far: the table appends every new monster, so this orders them as their slots do.
uint64_t gMonstersMade = 0;

constexpr int kGridSize = 21;
constexpr float kFreeCellWidth = 20.0f;
constexpr float kHeldCellWidth = 15.0f;
constexpr int32_t kCloseIn = 50;      // a monster this near the player chases it
constexpr int32_t kSwarmOut = 300;    // a swarming monster this far away goes back to its cell
constexpr int32_t kFrenzyAtMost = 13; // this many living monsters or fewer: the rest charge

// Something made while the game is paused keeps every field zero, the base defaults included.
void ZeroBaseDefaults(CSprite& s) {
    s.Alpha = 0;
    s.FX = 0;
    s.Frame = 0.0f;
}

// Hit points and bite by level, the same for every kind.
struct LevelRow {
    int16_t healthBonus = 10;
    float biteDamage = 1.0f;
};

LevelRow LevelRowOf(uint8_t level) {
    if (level >= 1 && level <= 3) return {10, 1.0f};
    if (level >= 4 && level <= 8) return {10, 2.0f};
    if (level == 9 || level == 10) return {10, 2.5f};
    if (level == 11) return {20, 3.0f};
    if (level == 12) return {10, 3.0f};
    if (level == 13 || level == 14) return {10, 1.0f};
    if (level >= 15 && level <= 18) return {10, 2.0f};
    if (level >= 19 && level <= 25) return {10, 0.5f};
    if (level == 26 || level == 27) return {10, 0.4f};
    if (level == 28) return {20, 0.5f};
    if (level == 29) return {20, 0.4f};
    if (level == 30) return {10, 0.4f};
    return {};
}

// The colour monsters that take a tint, and their corpses, are mixed with on the tinted levels.
std::optional<uint32_t> LevelTintOf(uint8_t level) {
    switch (level) {
    case 4:
        return 0xFAB4B4;
    case 9:
        return 0xFAFAA0;
    case 12:
        return 0xB4FAB4;
    case 19:
        return 0xB4B4FA;
    case 34:
        return 0xFA64FA;
    default:
        return std::nullopt;
    }
}

// The square of the distance between two points as M_Distance takes them, without the root. Compared with the
// square of a whole-pixel reach it answers as M_Distance against the reach for points on whole or half
// pixels, as monsters' middles and the soldier's are: the differences are then halves, so the square is a
// multiple of a quarter, exact in double, and one that is not the reach's square lies at least a quarter from
// it, too far for the float root to round across the reach; one that is has the reach itself for its root.
double SquaredDistance(float x1, float y1, float x2, float y2) {
    const double dx = x2 - x1, dy = y2 - y1; // the float differences M_Distance takes
    return dx * dx + dy * dy;
}

constexpr double Squared(int32_t reach) {
    return static_cast<double>(reach) * reach;
}

int32_t RandomInt(uint32_t n) {
    return static_cast<int32_t>(Random(n));
}

} // namespace

// What sets one kind of monster apart; everything else the kinds share.
struct MonsterRules {
    MonsterKind kind;
    SpriteKind spriteKind;
    ZB_Texture* const* sheet; // the kind's picture, loaded at start
    int grid;                 // which of the approach grids its cells are in
    uint32_t sizeSpread;      // size = Random(sizeSpread) + sizeLeast
    int32_t sizeLeast;
    float animSpeed;        // when made (every kind runs at 0.2 on level 8)
    float dyingAnimSpeed;   // from the first death frame to the corpse
    double leastSpeed;      // Speed = Random(100) / 120 + leastSpeed
    bool evenPaceOnLevel20; // there every one walks at exactly 1.0
    int32_t shadowOffset;
    bool aimsWhenMade;  // made facing the soldier, rather than at angle 0
    bool sheetFacesUp;  // drawn half a turn round, since its picture faces the other way
    bool tintedByLevel; // body and corpse take the colour of the tinted levels
};

namespace {

constexpr MonsterRules kZombieRules{.kind = MonsterKind::Zombie,
                                    .spriteKind = SpriteKind::Zombie,
                                    .sheet = &TexZombie,
                                    .grid = kZombieGrid,
                                    .sizeSpread = 29,
                                    .sizeLeast = 40,
                                    .animSpeed = 0.05f,
                                    .dyingAnimSpeed = 0.4f,
                                    .leastSpeed = 0.6,
                                    .evenPaceOnLevel20 = false,
                                    .shadowOffset = 3,
                                    .aimsWhenMade = true,
                                    .sheetFacesUp = true,
                                    .tintedByLevel = true};
constexpr MonsterRules kAlienRules{.kind = MonsterKind::Alien,
                                   .spriteKind = SpriteKind::Alien,
                                   .sheet = &TexAlien,
                                   .grid = kAlienGrid,
                                   .sizeSpread = 29,
                                   .sizeLeast = 35,
                                   .animSpeed = 0.4f,
                                   .dyingAnimSpeed = 0.8f,
                                   .leastSpeed = 0.6,
                                   .evenPaceOnLevel20 = false,
                                   .shadowOffset = 3,
                                   .aimsWhenMade = false,
                                   .sheetFacesUp = false,
                                   .tintedByLevel = false};
constexpr MonsterRules kSpiderRules{.kind = MonsterKind::Spider,
                                    .spriteKind = SpriteKind::Spider,
                                    .sheet = &TexSpider,
                                    .grid = kSpiderGrid,
                                    .sizeSpread = 48,
                                    .sizeLeast = 48,
                                    .animSpeed = 0.36f,
                                    .dyingAnimSpeed = 0.4f,
                                    .leastSpeed = 0.5,
                                    .evenPaceOnLevel20 = true,
                                    .shadowOffset = 5,
                                    .aimsWhenMade = false,
                                    .sheetFacesUp = false,
                                    .tintedByLevel = false};

} // namespace

int64_t NormAngle(int64_t angle) {
    // The same result as adding or taking away whole turns one at a time, without the loop: negative
    // values land in 0 .. 359, values above a turn in 1 .. 360.
    // Within a turn of the range, which is nearly always, one step does it without dividing.
    if (angle >= 0 && angle <= 360) return angle;
    if (angle > -360 && angle < 0) return angle + 360;
    if (angle > 360 && angle <= 720) return angle - 360;
    if (angle < 0) return (angle % 360 + 360) % 360;
    return (angle - 1) % 360 + 1;
}

bool TurnPositive(int32_t current, int32_t wanted) {
    const int64_t a = NormAngle(current);
    const int64_t b = NormAngle(wanted);
    // Ties go downward: opposite headings and matching ones both give false. Both lie in 0 .. 360, so the way
    // round from a to b, wrapped as NormAngle wraps it, is positive when b is less than half a turn above a
    // or more than half a turn below it; 360 and 0 count as a whole turn apart.
    if (b < a) return a - b > 180;
    return b > a && b - a < 180;
}

namespace {

// Where the headings that turn a monster up begin and end, for each angle it can face: unit vectors a little
// inside the two edges of that half-turn, in M_FindAngle's terms.
struct TurnEdges {
    double cosLow, sinLow, cosHigh, sinHigh;
};

const std::array<TurnEdges, 360>& TurnEdgeTable() {
    static const std::array<TurnEdges, 360> table = [] {
        // A found angle is within a few ten-thousandths of a degree of the true direction (float rounding
        // of atan2f and of the sums after it); the margin is a tenth.
        constexpr double kMargin = 0.1;
        std::array<TurnEdges, 360> edges{};
        for (int a = 0; a < 360; ++a) {
            // The heading is the direction plus a quarter turn, so the half-turn above a starts at a - 90.
            const double low = (a - 90 + 0.5 + kMargin) * std::numbers::pi / 180.0;
            const double high = (a - 90 + 179.5 - kMargin) * std::numbers::pi / 180.0;
            edges[static_cast<size_t>(a)] = {std::cos(low), std::sin(low), std::cos(high), std::sin(high)};
        }
        return edges;
    }();
    return table;
}

} // namespace

std::optional<bool> ClearTurn(int32_t angle, float dx, float dy) {
    // FacingToward rounds the direction plus a quarter turn to whole degrees, and for such a heading
    // TurnPositive holds exactly when it lies 1 to 179 degrees above the angle, taken round the circle. A
    // direction more than half a degree and the margin inside the half-turn above (or the one below) rounds
    // into it whatever the float error, and which half-turn it is in the signs of two cross products tell.
    int64_t a = int64_t{angle} % 360;
    if (a < 0) a += 360;
    const TurnEdges& e = TurnEdgeTable()[static_cast<size_t>(a)];
    const double x = dx, y = dy;
    const double pastLow = e.cosLow * y - e.sinLow * x;    // above the low edge (within half a turn)
    const double pastHigh = e.cosHigh * y - e.sinHigh * x; // above the high edge
    if (pastLow > 0.0 && pastHigh < 0.0) return true;
    if (pastLow < 0.0 && pastHigh > 0.0) return false;
    // Near either edge, or on the target itself (no direction at all).
    return std::nullopt;
}

void CountLivingMonsters() {
    AliveAliens = AliveZombies = AliveSpiders = 0;
    for (const TMonster* m : Monsters()) {
        if (m->Health <= 0) continue;
        switch (m->Species()) {
        case MonsterKind::Spider:
            ++AliveSpiders;
            break;
        case MonsterKind::Alien:
            ++AliveAliens;
            break;
        case MonsterKind::Zombie:
            ++AliveZombies;
            break;
        }
    }
}

void FrenzyCheck() {
    if (ScreenState != Screen::Play) return;
    if (int32_t{AliveAliens} + int32_t{AliveZombies} + int32_t{AliveSpiders} > kFrenzyAtMost) return;
    // Every living monster of every kind charges; the order the kinds are visited in changes nothing.
    for (TMonster* m : gMonsters)
        if (m->Health > 0) m->Mode = kModeFrenzy;
}

TMonster::~TMonster() {
    // Monsters die in any order; the list keeps the order of the rest. It is in slot order, and whenever the
    // table frees a sprite the IDs rise with the slots (the Move pass renumbers those it has passed, the rest
    // keep theirs until it reaches them), so a halving search by ID finds the monster without a walk through
    // hundreds. One the table never held is looked for from the start.
    size_t low = 0, high = gMonsters.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (gMonsters[middle]->ID < ID)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == gMonsters.size() || gMonsters[low] != this)
        low = static_cast<size_t>(std::find(gMonsters.begin(), gMonsters.end(), this) - gMonsters.begin());
    gMonsters.erase(gMonsters.begin() + static_cast<ptrdiff_t>(low));
    gHitGrid.Withdraw(this, hitSpan);
}

void TMonster::PlaceHitBox(const ZB_Rect& box) {
    // A box that has not moved is filed where it was; most monsters move a pixel every other tick or so.
    if (std::memcmp(&box, &hitBox, sizeof box) == 0) return;
    hitBox = box;
    gHitGrid.File(this, hitRank, box, hitSpan);
}

const std::vector<TMonster*>& Monsters() {
    return gMonsters;
}

TMonster* FirstMonsterHit(const ZB_Rect& box) {
    return gHitGrid.First(box);
}

bool IsMonster(SpriteKind kind) {
    return kind == SpriteKind::Zombie || kind == SpriteKind::Alien || kind == SpriteKind::Spider;
}

void PlayHitSound() {
    if (TickRandom5 < 5) PlayEffect(SndHit[TickRandom5]);
}

namespace {

// A line of six growing blood marks along a unit step (ux, uy).
struct SprayMark {
    float k;
    int32_t size;
};
constexpr SprayMark kFirstLine[6] = {{2, 8}, {4, 16}, {7, 32}, {11, 48}, {15, 64}, {19, 82}};
constexpr SprayMark kSecondLine[6] = {{3, 8}, {5.5f, 16}, {9, 32}, {13, 48}, {17, 64}, {21, 86}};

void SprayLine(int32_t x, int32_t y, int32_t angle, const SprayMark (&marks)[6]) {
    const float ux = static_cast<float>(HeadingX(angle) * 8);
    const float uy = static_cast<float>(HeadingY(angle) * 8);
    for (const SprayMark& m : marks) {
        const int32_t px = ZB_Round(static_cast<float>(x + 24 + static_cast<double>(ux) * m.k));
        const int32_t py = ZB_Round(static_cast<float>(y + 24 + static_cast<double>(uy) * m.k));
        // Only the low 8 bits of the drawn angle reach the mark.
        const uint8_t markAngle = static_cast<uint8_t>(Random(360));
        SpawnTrace(px, py, m.size, markAngle, m.size);
    }
}

} // namespace

void BloodSpray(int32_t x, int32_t y, int32_t angle) {
    SprayLine(x, y, angle, kFirstLine);
    if (SecondBlastLine) SprayLine(x, y, angle - 16, kSecondLine);
}

void SpawnTrace(int32_t x, int32_t y, int32_t w, uint8_t angle, int32_t h) {
    TSLED* trace = GameEngine->Add<TSLED>();
    trace->X = x;
    trace->Y = y;
    trace->W = w;
    trace->H = h;
    trace->Angle = angle;
}

TSLED::TSLED() : CSprite(SpriteKind::BloodTrace) {
    if (Paused) {
        ZeroBaseDefaults(*this);
        return;
    }
    Alpha = 255;
    W = H = 64;
    Z = RandomInt(10000) - 20001;
    StampToMap = false;
    Randomize();
    switch (Random(3)) {
    case 0:
        Texture = TexBlood[0];
        break;
    case 1:
        Texture = TexBlood[3];
        break;
    default:
        Texture = TexBlood[2];
        break;
    }
}

void TSLED::Move() {
    if (ClearField) Dead = true;
    CSprite::Move();
    HitBox =
        ZB_Rect{static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W), static_cast<float>(H)};
    if (!StampToMap) return;
    MainCamera->Switch = 0;
    // A trace made while paused has no picture: it leaves nothing behind.
    if (Texture) {
        StampOnMap(HitBox, [this](float left, float top) {
            SSprite_Draw(Texture, static_cast<float>(X) - left, static_cast<float>(Y) - top,
                         static_cast<float>(W), static_cast<float>(H), 255, static_cast<float>(Angle), 1);
        });
    }
    Dead = true;
    MainCamera->Switch = 1;
}

TZOMBI::TZOMBI() : TMonster(kZombieRules) {}
TALIEN::TALIEN() : TMonster(kAlienRules) {}
TPAYK_Y::TPAYK_Y() : TMonster(kSpiderRules) {}

TMonster::TMonster(const MonsterRules& kindRules)
    : CSprite(kindRules.spriteKind), rules(kindRules),
      hitRank((static_cast<uint64_t>(kindRules.kind) << 56) | gMonstersMade++) {
    gMonsters.push_back(this);
    gHitGrid.File(this, hitRank, hitBox, hitSpan);
    if (Paused) {
        ZeroBaseDefaults(*this);
        return;
    }
    Texture = *rules.sheet;
    const int32_t size = RandomInt(rules.sizeSpread) + rules.sizeLeast;
    W = H = size;
    Animated = true;
    AnimSpeed = rules.animSpeed;

    const LevelRow row = LevelRowOf(Level);
    Health = static_cast<int16_t>(ZB_Round(static_cast<float>(size) / 2.0f) + row.healthBonus);
    BiteDamage = row.biteDamage;
    if (Level == 8) AnimSpeed = 0.2f;
    // The hit points keep the first size; only the drawn size changes.
    if (Level == 13) W = H = RandomInt(48) + 20;
    if (Level == 20) W = H = RandomInt(48) + 32;
    if (Level == 25) W = H = RandomInt(32) + 15;

    Mode = kModeToCell;
    Z = RandomInt(499700) + 301;
    if (rules.aimsWhenMade) {
        const TPLAYER* player = Player();
        const int32_t aimY = player->Y + RandomInt(26);
        const int32_t aimX = player->X + RandomInt(26);
        Angle = FacingToward(aimX, aimY);
    }
    if (rules.evenPaceOnLevel20 && Level == 20)
        Speed = 1.0f;
    else
        Speed = static_cast<float>(Random(100) / 120.0 + rules.leastSpeed);
    SlotSearch = static_cast<uint8_t>(Random(3));
    ClaimCell();
}

MonsterKind TMonster::Species() const {
    return rules.kind;
}

inline ApproachGrid& TMonster::Grid() const {
    return ApproachGrids[static_cast<size_t>(rules.grid)];
}

std::optional<uint32_t> TMonster::Tint() const {
    if (!rules.tintedByLevel) return std::nullopt;
    return LevelTintOf(Level);
}

void TMonster::ClaimCell() {
    // Searches 0 and 2 scan the same upper-left block in crossed orders; search 1 the lower-right block.
    const int first = SlotSearch == 1 ? 10 : 0;
    const int last = first + 10;
    ApproachGrid& grid = Grid();
    for (int outer = first; outer <= last; ++outer) {
        for (int inner = first; inner <= last; ++inner) {
            const int i = SlotSearch == 2 ? inner : outer;
            const int j = SlotSearch == 2 ? outer : inner;
            ZB_Rect& cell = grid[static_cast<size_t>(i)][static_cast<size_t>(j)];
            if (cell.W != kFreeCellWidth) continue;
            TargetX = ZB_Round(cell.X) + 10;
            TargetY = ZB_Round(cell.Y) + 10;
            CellX = i;
            CellY = j;
            cell.W = kHeldCellWidth;
            return;
        }
    }
    TargetX = ZB_Round(PlayerPosX) + 30;
    TargetY = ZB_Round(PlayerPosY) + 30;
    CellX = CellY = -1;
}

inline bool TMonster::HoldsCell() const {
    return CellX >= 0 && CellX < kGridSize && CellY >= 0 && CellY < kGridSize;
}

bool TMonster::TouchesPlayer() const {
    return !PlayerDead && ZB_Overlap(&HitBox, &Player()->HitBox);
}

int32_t TMonster::FacingToward(int32_t tx, int32_t ty) const {
    // The centre is the corner plus half the size truncated, as M_Trunc(size / 2.0f) gives it; integer
    // division truncates the same way for any size a sprite has, without two calls into the engine a tick.
    const float found = M_FindAngle(static_cast<float>(X + W / 2), static_cast<float>(Y + H / 2),
                                    static_cast<float>(tx), static_cast<float>(ty));
    // A found angle points from the target back to the monster; a quarter turn more is the heading that the
    // byte-angle walk and the pictures use.
    return WholeDegrees(found + 90.0f);
}

void TMonster::TurnToward(int32_t tx, int32_t ty) {
    // Most of the time the way to turn is plain from the direction; finding the heading (atan2f) was the
    // larger part of a monster's tick. The floats are the ones FacingToward hands M_FindAngle.
    const float dx = static_cast<float>(X + W / 2) - static_cast<float>(tx);
    const float dy = static_cast<float>(Y + H / 2) - static_cast<float>(ty);
    const std::optional<bool> clear = ClearTurn(Angle, dx, dy);
    Angle += (clear ? *clear : TurnPositive(Angle, FacingToward(tx, ty))) ? 1 : -1;
}

void TMonster::Draw() {
    FX_SetColorMix(0);
    if (Frame >= 20.0f && Health > 0) Frame = 1.0f;
    if (!Texture) return;
    const float x = static_cast<float>(X), y = static_cast<float>(Y);
    const float w = static_cast<float>(W), h = static_cast<float>(H);
    const float angle = static_cast<float>(rules.sheetFacesUp ? Angle - 180 : Angle);
    const float shadow = static_cast<float>(rules.shadowOffset);
    if (Health > 0) ASprite_Draw(Texture, x + shadow, y + shadow, w, h, ZB_Round(Frame), 100, angle, 9);
    if (const auto tint = Tint()) {
        Tinted = true;
        FX_SetColorMix(*tint);
        ASprite_Draw(Texture, x, y, w, h, ZB_Round(Frame), 255, angle, 9);
    } else {
        ASprite_Draw(Texture, x, y, w, h, ZB_Round(Frame), 255, angle, 1);
    }
}

void TMonster::Move() {
    CSprite::Move();
    if (ClearField) Dead = true;
    if (Frame >= kCorpseFrame) {
        Frame = kCorpseFrame;
        if (StampToMap) StampCorpse();
    }
    if (Paused) return;

    if (Health <= 0) {
        if (Frame <= 20.0f) {
            Frame = kFirstDeathFrame;
            Z = RandomInt(10000) - 20000; // beneath the living
        }
        if (Frame >= kFirstDeathFrame) AnimSpeed = rules.dyingAnimSpeed;
        return;
    }

    AnimSpeed = 0.4f;
    if (Frame >= kFirstDeathFrame) return;
    // A monster in contact stands still and bites. Walking and steering leave both hit boxes where they are,
    // so the contact found before them still holds after.
    const bool touching = TouchesPlayer();
    if (!touching) {
        Walk();
        FrenzyCheck();
        Steer();
    }
    BiteOrRefresh(touching);
}

void TMonster::Walk() {
    PosX = static_cast<float>(PosX + HeadingX(Angle) * Speed);
    PosY = static_cast<float>(PosY + HeadingY(Angle) * Speed);
    X = ZB_Round(PosX);
    Y = ZB_Round(PosY);
}

void TMonster::Steer() {
    const TPLAYER* player = Player();
    // The distance is only compared with whole-pixel reaches, so its square is compared with theirs.
    const double dist =
        SquaredDistance(static_cast<float>(X) + static_cast<float>(W) / 2.0f,
                        static_cast<float>(Y) + static_cast<float>(H) / 2.0f,
                        static_cast<float>(player->X + 30), static_cast<float>(player->Y + 30));
    // A chain rather than a switch: a mode entered by an earlier block runs its own block in the same tick.
    if (Mode == kModeToCell) {
        if (dist < Squared(kCloseIn)) Mode = kModeChase;
        if (HoldsCell()) {
            const ZB_Rect& cell = Grid()[static_cast<size_t>(CellX)][static_cast<size_t>(CellY)];
            TurnToward(ZB_Round(cell.X) + 10, ZB_Round(cell.Y) + 10);
            if (ZB_PointInside(static_cast<float>(X) + static_cast<float>(W) / 2.0f,
                               static_cast<float>(Y) + static_cast<float>(H) / 2.0f, &cell))
                Mode = kModeSwarm;
        } else {
            TurnToward(TargetX, TargetY);
        }
    }
    if (Mode == kModeChase) {
        if (dist > Squared(kCloseIn)) Mode = kModeToCell;
        TurnToward(ZB_Round(PlayerPosX) + 30, ZB_Round(PlayerPosY) + 30);
    }
    if (Mode == kModeSwarm) {
        if (dist < Squared(kCloseIn)) Mode = kModeChase;
        if (dist > Squared(kSwarmOut)) Mode = kModeToCell;
        const int32_t offsetY = RandomInt(128) - 64;
        const int32_t offsetX = RandomInt(128) - 64;
        TurnToward(player->X + 30 + offsetX, player->Y + 30 + offsetY);
    }
    if (Mode == kModeFrenzy) {
        Angle = FacingToward(player->X + 30, player->Y + 30);
        // Frenzied monsters are pushed back at the edges so none is left wandering outside the field.
        if (X >= 1450) {
            PosX -= 5.0f;
            X = ZB_Round(PosX);
        }
        if (X <= 95) {
            PosX += 5.0f;
            X = ZB_Round(PosX);
        }
        if (Y >= 560) {
            PosY -= 5.0f;
            Y = ZB_Round(PosY);
        }
        if (Y <= -468) {
            PosY += 5.0f;
            Y = ZB_Round(PosY);
        }
    }
}

void TMonster::BiteOrRefresh(bool touching) {
    if (touching && DefenceTimer == 0) {
        const float bite = BiteDamage - static_cast<float>(ArmorLevel) / 2.0f;
        // Armour never makes a bite harmless.
        Player()->Health -= bite > 0.0f ? bite : 0.5f;
        return;
    }
    PlaceHitBox(ZB_Rect{static_cast<float>(X + ZB_Round(static_cast<float>(W) / 2.0f) - 7),
                        static_cast<float>(Y + ZB_Round(static_cast<float>(H) / 2.0f) - 7), kMonsterBoxSize,
                        kMonsterBoxSize});
}

void TMonster::StampCorpse() {
    MainCamera->Switch = 0;
    PlaceHitBox(
        ZB_Rect{static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W), static_cast<float>(H)});
    if (const auto tint = Tint()) {
        FX_SetColorMix(*tint);
        Tinted = true;
    }
    if (Texture) {
        StampOnMap(HitBox, [this](float left, float top) {
            ASprite_Draw(Texture, static_cast<float>(X) - left, static_cast<float>(Y) - top,
                         static_cast<float>(W), static_cast<float>(H), static_cast<int32_t>(kCorpseFrame),
                         255, static_cast<float>(rules.sheetFacesUp ? Angle + 180 : Angle), Tinted ? 9 : 1);
        });
    }
    if (HoldsCell()) Grid()[static_cast<size_t>(CellX)][static_cast<size_t>(CellY)].W = kFreeCellWidth;
    Dead = true;
    ++KillCount;
    MainCamera->Switch = 1;
}
