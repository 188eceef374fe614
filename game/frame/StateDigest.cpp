// The state digest: FNV-1a over the values that make up a game, in a fixed order.
#include "StateDigest.h"

#include "Battle.h"
#include "GEngine.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "Weapons.h"

#include <cstring>
#include <string>
#include <typeinfo>

namespace {

class Fnv1a {
  public:
    template <typename T> void Add(const T& value) {
        unsigned char bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        for (unsigned char b : bytes)
            hash_ = (hash_ ^ b) * 0x100000001B3ull;
    }
    void Add(const std::string& text) {
        Add(text.size());
        for (char c : text)
            Add(c);
    }
    uint64_t Value() const { return hash_; }

  private:
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

void AddSprite(Fnv1a& h, const CSprite& s) {
    // The class's name as the compiler gives it, as every stored digest has it.
    h.Add(std::string(typeid(s).name()));
    for (int32_t v : {s.X, s.Y, s.Z, s.W, s.H, s.Angle})
        h.Add(v);
    h.Add(s.Alpha);
    h.Add(s.Frame);
    h.Add(s.Dead);
    if (IsMonster(s.Kind)) h.Add(static_cast<const TMonster&>(s).Health);
    if (s.Kind == SpriteKind::Player) h.Add(static_cast<const TPLAYER&>(s).Health);
}

} // namespace

uint64_t StateDigest() {
    Fnv1a h;
    h.Add(std::string(ScreenName(ScreenState)));
    h.Add(RandSeed);
    if (GameEngine) {
        h.Add(GameEngine->Count);
        for (int32_t i = 0; i < GameEngine->Count; ++i)
            if (const CSprite* s = GameEngine->At(i)) AddSprite(h, *s);
    }
    h.Add(PlayerPosX);
    h.Add(PlayerPosY);
    h.Add(PlayerDead);
    h.Add(std::string(WeaponName(CurrentWeapon)));
    h.Add(ClipAmmo);
    h.Add(Level);
    h.Add(Score);
    h.Add(KillCount);
    h.Add(MonstersKilled);
    h.Add(UpgradePoints);
    h.Add(Paused);
    if (MainCamera) {
        h.Add(MainCamera->X);
        h.Add(MainCamera->Y);
    }
    return h.Value();
}
