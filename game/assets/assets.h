// Every picture and sound the game loads, the handles that hold them, and the loaders that swap some of them.
#pragma once

#include "zorbel_api.h"

#include <cstdint>
#include <string>

class TSound;
class TSoundSystem;

// Pictures. Arrays hold numbered series: index k - 1 holds picture k.
extern ZB_Texture *TexProgressBar, *TexProgressLine, *TexLogoLight, *TexMenuLight, *TexMenuLineLight;
extern ZB_Texture *TexBlackShadow, *TexHlop, *TexNukeDebris, *TexSunStrike;
extern ZB_Texture *TexBulletPistol, *TexBulletAutomat, *TexBulletBazooka, *TexBulletLaser, *TexBulletShotgun;
extern ZB_Texture *TexBulletOtra, *TexBulletNano, *TexBulletUzi;
extern ZB_Texture *TexPlayer, *TexCrosshair, *TexCrosshairParked, *TexMap, *TexLight, *TexEmpty;
extern ZB_Texture *TexIconPistol, *TexIconAutomat, *TexIconBazooka, *TexIconLaser, *TexIconShotgun;
extern ZB_Texture *TexIconNano, *TexIconOtra, *TexIconUzi;
extern ZB_Texture *TexIconNuke, *TexIconDefence, *TexIconLife, *TexIconSun, *TexIconSlowDown;
extern ZB_Texture *TexAlien, *TexZombie, *TexSpider;
extern ZB_Texture *TexMenuBack, *TexNewUpgrade, *TexBullet, *TexClipBar, *TexWhite;
extern ZB_Texture* TexBlood[4];
extern ZB_Texture *TexCrater, *TexExplosion, *TexNukeBlast, *TexBazookaBlast, *TexNukeFlash, *TexShockWave;
extern ZB_Texture *TexCheckMark, *TexBlack, *TexPanelFrame, *TexLevelPicture, *TexMine, *TexComplete;
extern ZB_Texture *TexGameOver, *TexLifeBar, *TexPanel, *TexCursor;
extern ZB_Texture* TexLanguageLine; // the options screen's language line, drawn over its background
extern ZB_Font* TexFont;

// Sounds. Arrays hold numbered series: index k - 1 holds sound k. All nil until LoadSounds.
extern TSoundSystem* SoundSystem; // a silent one when no sound device could be started
extern TSound *SndMusic, *SndNewLevel, *SndMenu, *SndExplosion, *SndExplosion2, *SndShot, *SndReload;
extern TSound *SndSun, *SndNuke, *SndFindBonus, *SndFindWeapon;
extern TSound* SndDieLizard[4];
extern TSound* SndDieHumanoid[3];
extern TSound* SndDieHumanoidB[3];
extern TSound* SndHit[6];
extern TSound *SndShotPistol, *SndShotAutomat, *SndShotBazooka, *SndShotLaser, *SndShotShotgun, *SndShotOtra;
extern TSound *SndShotNano, *SndShotUzi;

// One row of the picture table, in load order.
struct PictureEntry {
    const char* file;
    const char* mask;    // nil: no mask
    int32_t colorKey;    // -1 none, 0 black, 16777215 white
    uint8_t group;       // group 2 takes the texture setting into its flags
    ZB_Texture** handle; // nil: loaded, not used
    int32_t frameSize;   // 0: a single picture
};
extern const PictureEntry kPictureTable[];
extern const int kPictureCount;

struct SoundEntry {
    const char* file;
    uint8_t kind;
    TSound** handle; // nil: loaded, not played
};
extern const SoundEntry kSoundTable[];
extern const int kSoundCount;

// The pictures with words in them, masks included. Russian ones keep these names; the English ones lie in
// PICTURE\EN\ under the same names.
extern const char* const kLocalPictures[];
extern const int kLocalPictureCount;
// The file to load for a picture in the language of this run.
std::string PictureFile(const char* file);

constexpr const char* kFontPicture = "PICTURE\\TEXTING.BMP";
constexpr const char* kFontDescriptor = "TEXTING.bmp.ofi";

// Plays a sound once; a handle that was never filled stays silent.
void PlayEffect(TSound* sound);

void LoadPictures();
void LoadSounds();
// Gives every sound but the music and the seven death sounds that keep 80 the effects volume.
void ApplyEffectsVolume();

// Loaders that put another picture into an existing handle; the picture it held before is freed.
void LoadMenuCursor();
void LoadGameCursor();
void LoadMissionBack();
void LoadCreditsBack();
void LoadOptionsBack();
void LoadMainMenuBack();
void LoadLevelPictureAlt();
// The battlefield picture of a level ("PICTURE\MAP_1.jpg" or "PICTURE\MAP_4.jpg"), into TexMap.
void LoadMap(const char* file);
