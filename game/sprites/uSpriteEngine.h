// Sprites, the one sprite table that owns them, and the byte-angle trigonometry every moving sprite uses.
#pragma once

#include "zorbel_api.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What a sprite is, carried by every sprite so that passes over the table can tell them apart.
enum class SpriteKind : uint8_t {
    Plain, // a sprite of no kind of the game's
    Player,
    CrosshairArm,
    MenuLight,
    LevelLight,
    Zombie,
    Alien,
    Spider,
    BloodTrace,
    Bullet,
    MuzzleFlash,
    Case,
    Fragment,
    BulletTrace,
    BulletStreak,
    Mine,
    MineBlast,
    ShellBlast,
    Fireball,
    StrikeFlash,
    ShockRing,
    Crater,
    WeaponPickup,
    LifeBonus,
    SlowDownBonus,
    DefenceBonus,
    SunBonus,
    NukeBonus,
};

// Base class of every game object. The table owns it; nobody frees a sprite but the table's Move pass.
class CSprite {
  public:
    const SpriteKind Kind = SpriteKind::Plain;
    int32_t ID = 0; // own slot in the table; set by the creator
    int32_t X = 0, Y = 0, Z = 0, W = 0, H = 0;
    uint8_t Alpha = 255;
    int32_t Angle = 0;
    int32_t FX = 1;
    bool Animated = false;
    float AnimSpeed = 0.0f;
    float Frame = 1.0f;
    ZB_Texture* Texture = nullptr; // not owned
    bool Dead = false;
    bool StampToMap = false; // a mark waiting to be baked into the ground may go (set by the frame procedure)

    CSprite() = default;
    explicit CSprite(SpriteKind kind) : Kind(kind) {}
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;
    virtual ~CSprite() = default;

    virtual void OnRemove() {}
    virtual void Draw();
    virtual void Move();

    // Sprites come and go by the thousand every second (traces, flashes, cases, blood), so their memory is
    // kept in free lists by size and reused rather than asked of the heap each time.
    static void* operator new(std::size_t size);
    static void operator delete(void* memory, std::size_t size) noexcept;
};

class CSpriteEngine {
  public:
    std::vector<std::unique_ptr<CSprite>>
        List;                   // index = slot; during Move, slots not yet reached may be empty
    std::vector<int32_t> Order; // slots in drawing order
    int32_t Count = 0;
    bool SortAscending = false;

    virtual ~CSpriteEngine() = default;

    virtual void Draw();
    virtual void Move();

    // Appends an empty slot and returns its index; the caller stores the sprite there and sets its ID.
    int32_t NewSlot();
    // Frees the sprite at index and closes the gap at once, renumbering every sprite behind it. The Move pass
    // gives the same result in one walk for all the sprites it removes.
    void RemoveSprite(int32_t index);
    void SortZAscending(int32_t lo, int32_t hi);
    void SortZDescending(int32_t lo, int32_t hi);

    // The creation steps every sprite goes through: take a slot, construct, store, set the ID.
    template <typename T, typename... Args> T* Add(Args&&... args) {
        const int32_t index = NewSlot();
        auto sprite = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = sprite.get();
        List[static_cast<size_t>(index)] = std::move(sprite);
        raw->ID = index;
        return raw;
    }

    CSprite* At(int32_t slot) const { return List[static_cast<size_t>(slot)].get(); }
};

// Byte angles: 256 steps to a full turn. The table is built with 3.14 rather than pi on purpose: movement
// everywhere in the game depends on these exact values (entry 64 is about 0.0008, not 0).
extern double CosTable[256];
void BuildCosTable();
// Defined here, as the headings below, because every moving sprite asks them each tick.
inline double CosB(uint8_t angle) {
    return CosTable[angle];
}
// A quarter turn back on the cosine table.
inline double SinB(uint8_t angle) {
    return CosTable[static_cast<uint8_t>(angle + 192)];
}

// The unit step of a heading in whole degrees: the byte angle a * 256 div 360 + 64, wrapped to a byte.
// Every moving sprite steps along it.
inline uint8_t HeadingByte(int32_t degrees) {
    // The division truncates toward zero, so negative angles lose their fraction upward before the wrap.
    return static_cast<uint8_t>(static_cast<int64_t>(degrees) * 256 / 360 + 64);
}
inline double HeadingX(int32_t degrees) {
    return CosB(HeadingByte(degrees));
}
inline double HeadingY(int32_t degrees) {
    return SinB(HeadingByte(degrees));
}

// A found angle as the whole degrees a sprite keeps: the engine's rounding, half to even.
int32_t WholeDegrees(float degrees);

// Signed decimal text of a whole number, for counters and numbers on screen.
std::string IntToText(int32_t value);
