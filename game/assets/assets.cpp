// The picture and sound tables and their loaders.
#include "assets.h"

#include "SquallSound.h"
#include "ZORBEL.h"
#include "language.h"
#include "settings.h"
#include "squall.h"

#include <cstdio>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

ZB_Texture *TexProgressBar, *TexProgressLine, *TexLogoLight, *TexMenuLight, *TexMenuLineLight;
ZB_Texture *TexBlackShadow, *TexHlop, *TexNukeDebris, *TexSunStrike;
ZB_Texture *TexBulletPistol, *TexBulletAutomat, *TexBulletBazooka, *TexBulletLaser, *TexBulletShotgun;
ZB_Texture *TexBulletOtra, *TexBulletNano, *TexBulletUzi;
ZB_Texture *TexPlayer, *TexCrosshair, *TexCrosshairParked, *TexMap, *TexLight, *TexEmpty;
ZB_Texture *TexIconPistol, *TexIconAutomat, *TexIconBazooka, *TexIconLaser, *TexIconShotgun;
ZB_Texture *TexIconNano, *TexIconOtra, *TexIconUzi;
ZB_Texture *TexIconNuke, *TexIconDefence, *TexIconLife, *TexIconSun, *TexIconSlowDown;
ZB_Texture *TexAlien, *TexZombie, *TexSpider;
ZB_Texture *TexMenuBack, *TexNewUpgrade, *TexBullet, *TexClipBar, *TexWhite;
ZB_Texture* TexBlood[4];
ZB_Texture *TexCrater, *TexExplosion, *TexNukeBlast, *TexBazookaBlast, *TexNukeFlash, *TexShockWave;
ZB_Texture *TexCheckMark, *TexBlack, *TexPanelFrame, *TexLevelPicture, *TexMine, *TexComplete;
ZB_Texture *TexGameOver, *TexLifeBar, *TexPanel, *TexCursor;
ZB_Texture* TexLanguageLine;
ZB_Font* TexFont;

TSoundSystem* SoundSystem;
TSound *SndMusic, *SndNewLevel, *SndMenu, *SndExplosion, *SndExplosion2, *SndShot, *SndReload;
TSound *SndSun, *SndNuke, *SndFindBonus, *SndFindWeapon;
TSound* SndDieLizard[4];
TSound* SndDieHumanoid[3];
TSound* SndDieHumanoidB[3];
TSound* SndHit[6];
TSound *SndShotPistol, *SndShotAutomat, *SndShotBazooka, *SndShotLaser, *SndShotShotgun, *SndShotOtra;
TSound *SndShotNano, *SndShotUzi;

namespace {

constexpr int32_t kNoKey = -1;
constexpr int32_t kBlackKey = 0;
constexpr int32_t kWhiteKey = 16777215;
constexpr int32_t kPlainFlags = 266;
constexpr int32_t kMaskedFlags = 330;
constexpr int32_t kTextureSettingFlag = 4;

// Pictures loaded for completeness that nothing draws; they stay loaded for the whole run like the rest.
std::vector<ZB_Texture*> gUnusedPictures;

// What the sound system reports that a player should hear of, each text once: a sound that cannot be loaded
// (two sounds of one file fail alike). Loads and unloads that went well are not news.
std::set<std::string> gSoundReports;

void ReportSoundTrouble(const std::string& text) {
    if (text.starts_with("Sound loaded: ") || text.starts_with("Sound unloaded: ")) return;
    if (gSoundReports.insert(text).second)
        std::fprintf(stderr, "drelmont: %s; the game plays on without that sound\n", text.c_str());
}

} // namespace

// clang-format off
const PictureEntry kPictureTable[] = {
    {"PICTURE\\PROGRESS_BAR.BMP", nullptr, kNoKey, 1, &TexProgressBar, 0},
    {"PICTURE\\PROGRESS_LINE.BMP", nullptr, kNoKey, 1, &TexProgressLine, 0},
    {"PICTURE\\LOGO_LIGHT.TGA", nullptr, kNoKey, 1, &TexLogoLight, 0},
    {"PICTURE\\MENU_LIGHT.bmp", nullptr, kNoKey, 1, &TexMenuLight, 0},
    {"PICTURE\\MENU_LINE_LIGHT.bmp", nullptr, kNoKey, 1, &TexMenuLineLight, 0},
    {"PICTURE\\BLACK_SHADOW.bmp", "PICTURE\\SHADOW.bmp", kNoKey, 1, &TexBlackShadow, 0},
    {"PICTURE\\BULLET1.bmp", "PICTURE\\MASK_ZAMOR.bmp", kNoKey, 1, nullptr, 0},
    {"PICTURE\\BULLET3.bmp", "PICTURE\\MASK_ZAMOR.bmp", kNoKey, 1, nullptr, 0},
    {"PICTURE\\HLOP_MASK.bmp", nullptr, kNoKey, 1, &TexHlop, 0},
    {"PICTURE\\BULLET6.bmp", "PICTURE\\BULLETMASK13.bmp", kNoKey, 1, &TexNukeDebris, 0},
    {"PICTURE\\BULLET5.bmp", "PICTURE\\BULLETMASK13.bmp", kNoKey, 1, &TexSunStrike, 0},
    {"PICTURE\\BULLET7.bmp", "PICTURE\\BULLET_M4.bmp", kNoKey, 1, &TexBulletPistol, 0},
    {"PICTURE\\BULLET1.bmp", "PICTURE\\BULLET_M1.bmp", kNoKey, 1, &TexBulletAutomat, 0},
    {"PICTURE\\BULLET2.bmp", "PICTURE\\BULLET_M3.bmp", kNoKey, 1, &TexBulletBazooka, 0},
    {"PICTURE\\BULLET5.bmp", "PICTURE\\BULLET_M6.bmp", kNoKey, 1, &TexBulletLaser, 0},
    {"PICTURE\\BULLET.bmp", "PICTURE\\BULLET_M7.bmp", kNoKey, 1, &TexBulletShotgun, 0},
    {"PICTURE\\BULLET4.bmp", "PICTURE\\BULLET_M8.bmp", kNoKey, 1, &TexBulletOtra, 0},
    {"PICTURE\\BULLET3.bmp", "PICTURE\\BULLET_M5.bmp", kNoKey, 1, &TexBulletNano, 0},
    {"PICTURE\\BULLET2.bmp", "PICTURE\\BULLET_M2.bmp", kNoKey, 1, &TexBulletUzi, 0},
    {"PICTURE\\BULLET.bmp", "PICTURE\\BULLETMASK16.bmp", kNoKey, 1, nullptr, 0},
    {"PICTURE\\PLAYER.bmp", "PICTURE\\PLAYER_MASK.bmp", kNoKey, 1, &TexPlayer, 64},
    {"PICTURE\\PRIZEL_M_MASK.bmp", "PICTURE\\PRIZEL_M.bmp", kNoKey, 2, &TexCrosshair, 0},
    {"PICTURE\\PRIZEL_M_MASK_G.bmp", "PICTURE\\PRIZEL_M.bmp", kNoKey, 2, &TexCrosshairParked, 0},
    {"PICTURE\\MAP_1.jpg", nullptr, kNoKey, 2, &TexMap, 0},
    {"PICTURE\\LIGHT.jpg", nullptr, kNoKey, 2, &TexLight, 0},
    {"PICTURE\\EMPTY.bmp", nullptr, kNoKey, 2, &TexEmpty, 0},
    {"PICTURE\\W_GUN.TGA", nullptr, kNoKey, 2, &TexIconPistol, 48},
    {"PICTURE\\W_ONES.TGA", nullptr, kNoKey, 2, &TexIconAutomat, 48},
    {"PICTURE\\W_TWOS.TGA", nullptr, kNoKey, 2, &TexIconBazooka, 48},
    {"PICTURE\\W_THREES.TGA", nullptr, kNoKey, 2, &TexIconLaser, 48},
    {"PICTURE\\W_FOURS.TGA", nullptr, kNoKey, 2, &TexIconShotgun, 48},
    {"PICTURE\\W_FIVES.TGA", nullptr, kNoKey, 2, &TexIconNano, 48},
    {"PICTURE\\W_SIXS.TGA", nullptr, kNoKey, 2, &TexIconOtra, 48},
    {"PICTURE\\W_SEVENS.TGA", nullptr, kNoKey, 2, &TexIconUzi, 48},
    {"PICTURE\\B_NUKES.TGA", nullptr, kNoKey, 2, &TexIconNuke, 48},
    {"PICTURE\\B_TIMES_UP.TGA", nullptr, kNoKey, 2, &TexIconDefence, 48},
    {"PICTURE\\B_LIFES.TGA", nullptr, kNoKey, 2, &TexIconLife, 48},
    {"PICTURE\\B_SUN.TGA", nullptr, kNoKey, 2, &TexIconSun, 48},
    {"PICTURE\\B_TIMES.TGA", nullptr, kNoKey, 2, &TexIconSlowDown, 48},
    {"PICTURE\\M_NORMAL.TGA", nullptr, kNoKey, 2, &TexAlien, 64},
    {"PICTURE\\M_MORE.TGA", nullptr, kNoKey, 2, &TexZombie, 64},
    {"PICTURE\\M_NEW.TGA", nullptr, kNoKey, 2, &TexSpider, 64},
    {"PICTURE\\MAIN_MENU.jpg", nullptr, kNoKey, 2, &TexMenuBack, 0},
    {"PICTURE\\NEW_UP1.bmp", nullptr, kBlackKey, 2, &TexNewUpgrade, 0},
    {"PICTURE\\BULLET1.bmp", nullptr, kNoKey, 2, &TexBullet, 0},
    {"PICTURE\\OBOUMA.bmp", nullptr, kNoKey, 2, &TexClipBar, 0},
    {"PICTURE\\WHITE.bmp", nullptr, kNoKey, 2, &TexWhite, 0},
    {"PICTURE\\BLOOD01.TGA", nullptr, kNoKey, 2, &TexBlood[0], 0},
    {"PICTURE\\BLOOD02.TGA", nullptr, kNoKey, 2, &TexBlood[1], 0},
    {"PICTURE\\BLOOD03.TGA", nullptr, kNoKey, 2, &TexBlood[2], 0},
    {"PICTURE\\BLOOD04.TGA", nullptr, kNoKey, 2, &TexBlood[3], 0},
    {"PICTURE\\KRATER.bmp", "PICTURE\\KRATER_MASK.bmp", kNoKey, 2, &TexCrater, 0},
    {"PICTURE\\EXPLOSION.jpg", nullptr, kBlackKey, 2, &TexExplosion, 64},
    {"PICTURE\\NUKE1.bmp", nullptr, kBlackKey, 2, &TexNukeBlast, 0},
    {"PICTURE\\NUKE3.bmp", nullptr, kBlackKey, 2, &TexBazookaBlast, 0},
    {"PICTURE\\NUKE3.jpg", nullptr, kBlackKey, 2, &TexNukeFlash, 0},
    {"PICTURE\\VOLNA.jpg", nullptr, kBlackKey, 2, &TexShockWave, 0},
    {"PICTURE\\RADIOAC.bmp", "PICTURE\\RADIOAC_MASK.bmp", kNoKey, 2, nullptr, 0},
    {"PICTURE\\GALKA.bmp", nullptr, kNoKey, 2, &TexCheckMark, 0},
    {"PICTURE\\BLACK.bmp", nullptr, kNoKey, 2, &TexBlack, 0},
    {"PICTURE\\PANELMASK1.bmp", "PICTURE\\PANELMASK.bmp", kNoKey, 2, &TexPanelFrame, 0},
    {"PICTURE\\LEVEL.bmp", "PICTURE\\LEVEL_MASK.bmp", kNoKey, 2, &TexLevelPicture, 0},
    {"PICTURE\\MINE1.bmp", nullptr, kNoKey, 2, &TexMine, 0},
    {"PICTURE\\COMPLETE.bmp", "PICTURE\\COMPLETE_MASK.bmp", kNoKey, 2, &TexComplete, 0},
    {"PICTURE\\GAME_OVER_M.bmp", "PICTURE\\MASK_GAME_OVER.bmp", kNoKey, 2, &TexGameOver, 0},
    {"PICTURE\\ZIZNUPL1.bmp", nullptr, kNoKey, 2, &TexLifeBar, 0},
    {"PICTURE\\PANEL.bmp", nullptr, kWhiteKey, 2, &TexPanel, 0},
    {"PICTURE\\OPTIONS_LANGUAGE.TGA", nullptr, kNoKey, 2, &TexLanguageLine, 0},
};
const int kPictureCount = static_cast<int>(sizeof(kPictureTable) / sizeof(kPictureTable[0]));

const SoundEntry kSoundTable[] = {
    {"SOUNDS\\MUSIC_MAIN_MENU.OGG", 2, &SndMusic},
    {"SOUNDS\\NEW_LEVEL.OGG", 1, &SndNewLevel},
    {"SOUNDS\\DIE_LIZARD_1.OGG", 1, &SndDieLizard[0]},
    {"SOUNDS\\DIE_LIZARD_2.OGG", 1, &SndDieLizard[1]},
    {"SOUNDS\\DIE_LIZARD_3.OGG", 1, &SndDieLizard[2]},
    {"SOUNDS\\DIE_LIZARD_4.OGG", 1, &SndDieLizard[3]},
    {"SOUNDS\\DIE_GUMANOID_1.OGG", 1, &SndDieHumanoid[0]},
    {"SOUNDS\\DIE_GUMANOID_2.OGG", 1, &SndDieHumanoid[1]},
    {"SOUNDS\\DIE_GUMANOID_3.OGG", 1, &SndDieHumanoid[2]},
    {"SOUNDS\\DIE_GUMANOID_1.OGG", 1, &SndDieHumanoidB[0]},
    {"SOUNDS\\DIE_GUMANOID_2.OGG", 1, &SndDieHumanoidB[1]},
    {"SOUNDS\\DIE_GUMANOID_3.OGG", 1, &SndDieHumanoidB[2]},
    {"SOUNDS\\MENU_STAND.OGG", 1, &SndMenu},
    {"SOUNDS\\EXPLOSION.OGG", 1, &SndExplosion},
    {"SOUNDS\\EXPLOSION.OGG", 1, &SndExplosion2},
    {"SOUNDS\\Z_DROB.OGG", 1, &SndShot},
    {"SOUNDS\\Z_DROB.OGG", 1, nullptr},
    {"SOUNDS\\POPAL1_Z.OGG", 1, &SndHit[0]},
    {"SOUNDS\\POPAL2_Z.OGG", 1, &SndHit[1]},
    {"SOUNDS\\POPAL3_Z.OGG", 1, &SndHit[2]},
    {"SOUNDS\\POPAL4_Z.OGG", 1, &SndHit[3]},
    {"SOUNDS\\POPAL5_Z.OGG", 1, &SndHit[4]},
    {"SOUNDS\\POPAL6_Z.OGG", 1, &SndHit[5]},
    {"SOUNDS\\RELOAD_Z.OGG", 1, &SndReload},
    {"SOUNDS\\SOLN.OGG", 1, &SndSun},
    {"SOUNDS\\NUKES.OGG", 1, &SndNuke},
    {"SOUNDS\\Z_ZAMOROZKA.OGG", 1, nullptr},
    {"SOUNDS\\Z_RADIOAC.OGG", 1, nullptr},
    {"SOUNDS\\Z_FLAMER.OGG", 1, nullptr},
    {"SOUNDS\\FREEZE_Z.OGG", 1, nullptr},
    {"SOUNDS\\Z_PUSTOLET.OGG", 1, &SndShotPistol},
    {"SOUNDS\\Z_AUTOMAT.OGG", 1, &SndShotAutomat},
    {"SOUNDS\\Z_BAZUKA.OGG", 1, &SndShotBazooka},
    {"SOUNDS\\Z_LASER.OGG", 1, &SndShotLaser},
    {"SOUNDS\\Z_DROB.OGG", 1, &SndShotShotgun},
    {"SOUNDS\\Z_OTRA.OGG", 1, &SndShotOtra},
    {"SOUNDS\\Z_NANO.OGG", 1, &SndShotNano},
    {"SOUNDS\\Z_UZI.OGG", 1, &SndShotUzi},
    {"SOUNDS\\FIND_BONUS.OGG", 1, &SndFindBonus},
    {"SOUNDS\\FIND_BONUS_OR.OGG", 1, &SndFindWeapon},
};
// clang-format on
const int kSoundCount = static_cast<int>(sizeof(kSoundTable) / sizeof(kSoundTable[0]));

const char* const kLocalPictures[] = {
    "PICTURE\\MAIN_MENU.jpg",     "PICTURE\\OPTIONS.jpg",          "PICTURE\\MISSION.jpg",
    "PICTURE\\CREATED.jpg",       "PICTURE\\OPTIONS_LANGUAGE.TGA", "PICTURE\\COMPLETE.bmp",
    "PICTURE\\COMPLETE_MASK.bmp", "PICTURE\\GAME_OVER_M.bmp",      "PICTURE\\MASK_GAME_OVER.bmp",
    "PICTURE\\LEVEL.bmp",         "PICTURE\\LEVEL_MASK.bmp",       "PICTURE\\PL1_UP_M.bmp",
    "PICTURE\\PL1_UP_M_MASK.bmp", "PICTURE\\NEW_UP1.bmp",          "PICTURE\\LOGO.TGA",
};
const int kLocalPictureCount = static_cast<int>(std::size(kLocalPictures));

std::string PictureFile(const char* file) {
    constexpr std::string_view kFolder = "PICTURE\\";
    if (GameLanguage == Language::Russian) return file;
    for (const char* local : kLocalPictures)
        if (std::string_view(local) == file) return std::string(kFolder) + "EN\\" + (file + kFolder.size());
    return file;
}

void LoadPictures() {
    const char* mask = nullptr; // the mask in force, kept across pictures that share it
    for (const PictureEntry& e : kPictureTable) {
        if (mask && (!e.mask || std::string_view(mask) != e.mask)) {
            Tex_FreeMask();
            mask = nullptr;
        }
        if (e.mask && !mask) {
            Tex_LoadMaskFromFile(PictureFile(e.mask).c_str());
            mask = e.mask;
        }
        int32_t flags = e.mask ? kMaskedFlags : kPlainFlags;
        if (e.group == 2 && TextureFlagSetting) flags += kTextureSettingFlag;
        ZB_Texture* texture = Tex_LoadFromFile(PictureFile(e.file).c_str(), e.colorKey, flags);
        if (e.handle)
            *e.handle = texture;
        else
            gUnusedPictures.push_back(texture);
    }
    if (mask) Tex_FreeMask();
    for (const PictureEntry& e : kPictureTable) {
        if (e.handle && e.frameSize > 0) Tex_SetFramesSize(*e.handle, e.frameSize, e.frameSize);
    }
    TexFont = Text_LoadFontFromFile(kFontPicture, kFontDescriptor, 0, kPlainFlags);
}

void LoadSounds() {
    // Started once more by the sound system itself; failing here already means there is no sound device.
    SoundSystem = SQUALL_Init(nullptr) >= 0 ? TSoundSystem::Create(ReportSoundTrouble) : nullptr;
    if (!SoundSystem) {
        std::fputs("drelmont: no sound device could be opened; the game runs silent\n", stderr);
        // Every load fails on the silent system by design; those reports would only repeat the line above.
        SoundSystem = TSoundSystem::CreateSilent();
    }
    // Decoding is most of the loading: it runs on every core while the sounds are loaded in their order.
    std::vector<const char*> files;
    for (const SoundEntry& e : kSoundTable)
        files.push_back(e.file);
    SQUALL_Sample_DecodeAhead(files.data(), static_cast<int>(files.size()));
    for (const SoundEntry& e : kSoundTable) {
        TSound* sound = SoundSystem->LoadSound(e.file, e.kind, 1);
        if (e.handle) *e.handle = sound;
    }
    SndMusic->Volume = MusicVolume;
    ApplyEffectsVolume();
}

void PlayEffect(TSound* sound) {
    if (sound) sound->Play(false);
}

void ApplyEffectsVolume() {
    const TSound* keepAt80[] = {SndDieLizard[0],   SndDieLizard[1],   SndDieLizard[2],  SndDieLizard[3],
                                SndDieHumanoid[0], SndDieHumanoid[1], SndDieHumanoid[2]};
    for (int32_t i = 0; i < SoundSystem->Count(); ++i) {
        TSound* sound = SoundSystem->SoundAt(i);
        if (sound == SndMusic) continue;
        bool keep = false;
        for (const TSound* k : keepAt80)
            keep = keep || k == sound;
        if (!keep) sound->Volume = EffectsVolume;
    }
}

namespace {

void Refill(ZB_Texture*& handle, const char* file, const char* mask = nullptr) {
    Tex_Free(handle);
    if (mask) {
        Tex_LoadMaskFromFile(PictureFile(mask).c_str());
        handle = Tex_LoadFromFile(PictureFile(file).c_str(), kNoKey, kMaskedFlags);
        Tex_FreeMask();
    } else {
        handle = Tex_LoadFromFile(PictureFile(file).c_str(), kNoKey, kPlainFlags);
    }
}

} // namespace

void LoadMenuCursor() {
    Refill(TexCursor, "PICTURE\\CURSOR_MENU.bmp", "PICTURE\\CURSOR_MENU_MASK.bmp");
}
void LoadGameCursor() {
    Refill(TexCursor, "PICTURE\\BULLET2.bmp", "PICTURE\\CURSORMASK.bmp");
}
void LoadMissionBack() {
    Refill(TexMenuBack, "PICTURE\\MISSION.jpg");
}
void LoadCreditsBack() {
    Refill(TexMenuBack, "PICTURE\\CREATED.jpg");
}
void LoadOptionsBack() {
    Refill(TexMenuBack, "PICTURE\\OPTIONS.jpg");
}
void LoadMainMenuBack() {
    Refill(TexMenuBack, "PICTURE\\MAIN_MENU.jpg");
}
void LoadLevelPictureAlt() {
    Refill(TexLevelPicture, "PICTURE\\PL1_UP_M.bmp", "PICTURE\\PL1_UP_M_MASK.bmp");
}
void LoadMap(const char* file) {
    Refill(TexMap, file);
}
