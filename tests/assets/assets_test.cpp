// The picture table as the engine sees it: masks in force, flags, frame sizes, the font, and re-filled
// handles.
#include "assets.h"
#include "fake_engine.h"
#include "language.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Load {
    std::string file, mask;
    int32_t flags, key;
};

// Replays the engine log: which mask was in force for each picture load.
std::vector<Load> LoadsWithMasks(const std::vector<std::string>& log) {
    std::vector<Load> loads;
    std::string mask;
    for (const std::string& line : log) {
        if (line.rfind("mask ", 0) == 0) {
            mask = line.substr(5);
        } else if (line == "free mask") {
            mask.clear();
        } else if (line.rfind("load ", 0) == 0) {
            const size_t a = line.find(' ', 5), b = line.find(' ', a + 1);
            loads.push_back(Load{line.substr(5, a - 5), mask, std::stoi(line.substr(a + 1, b - a - 1)),
                                 std::stoi(line.substr(b + 1))});
        }
    }
    return loads;
}

class Pictures : public ::testing::Test {
  protected:
    void SetUp() override { engine = &fake::Install(); }
    fake::Engine* engine = nullptr;
};

TEST_F(Pictures, EveryPictureIsLoadedInOrderUnderItsOwnMaskWithItsFlags) {
    TextureFlagSetting = false;
    LoadPictures();
    const std::vector<Load> loads = LoadsWithMasks(engine->log);
    ASSERT_EQ(static_cast<int>(loads.size()), kPictureCount);
    for (int i = 0; i < kPictureCount; ++i) {
        const PictureEntry& e = kPictureTable[i];
        SCOPED_TRACE(e.file);
        EXPECT_EQ(loads[static_cast<size_t>(i)].file, e.file);
        EXPECT_EQ(loads[static_cast<size_t>(i)].mask, e.mask ? e.mask : "");
        EXPECT_EQ(loads[static_cast<size_t>(i)].flags, e.mask ? 330 : 266);
        EXPECT_EQ(loads[static_cast<size_t>(i)].key, e.colorKey);
    }
    // Two pictures under one mask share a single mask load; no mask is left in force at the end.
    int zamorMasks = 0;
    for (const std::string& line : engine->log)
        zamorMasks += line == "mask PICTURE\\MASK_ZAMOR.bmp";
    EXPECT_EQ(zamorMasks, 1);
    EXPECT_EQ(loads[6].mask, loads[7].mask);
    EXPECT_EQ(engine->log.back(), "font PICTURE\\TEXTING.BMP TEXTING.bmp.ofi 0 266");
    int masks = 0, frees = 0;
    for (const std::string& line : engine->log) {
        masks += line.rfind("mask ", 0) == 0;
        frees += line == "free mask";
    }
    EXPECT_EQ(masks, frees); // every mask is let go after its last picture
}

TEST_F(Pictures, TheTextureSettingChangesTheFlagsOfTheSecondGroupOnly) {
    TextureFlagSetting = true;
    LoadPictures();
    const std::vector<Load> loads = LoadsWithMasks(engine->log);
    std::set<int32_t> firstGroup, secondGroup;
    for (int i = 0; i < kPictureCount; ++i)
        (kPictureTable[i].group == 2 ? secondGroup : firstGroup).insert(loads[static_cast<size_t>(i)].flags);
    EXPECT_EQ(firstGroup, (std::set<int32_t>{266, 330}));
    EXPECT_EQ(secondGroup, (std::set<int32_t>{270, 334}));
    TextureFlagSetting = false;
}

TEST_F(Pictures, SheetsAndIconsAreCutIntoFrames) {
    LoadPictures();
    for (ZB_Texture* t : {TexPlayer, TexExplosion, TexAlien, TexZombie, TexSpider})
        EXPECT_EQ(t->FrameW, 64);
    for (ZB_Texture* t :
         {TexIconPistol, TexIconAutomat, TexIconBazooka, TexIconLaser, TexIconShotgun, TexIconNano,
          TexIconOtra, TexIconUzi, TexIconNuke, TexIconDefence, TexIconLife, TexIconSun, TexIconSlowDown})
        EXPECT_EQ(t->FrameW, 48);
    EXPECT_EQ(TexMap->FrameW, 256);         // untouched: a single picture
    EXPECT_NE(TexBulletAutomat, TexBullet); // the same file loaded twice gives two pictures
}

TEST_F(Pictures, RefillingLoadersFreeThePictureTheHandleHeld) {
    LoadPictures();
    ZB_Texture* menu = TexMenuBack;
    LoadMissionBack();
    ASSERT_EQ(engine->freed.size(), 1u);
    EXPECT_EQ(engine->freed[0], menu);
    EXPECT_NE(TexMenuBack, menu);

    engine->log.clear();
    TexCursor = nullptr;
    LoadMenuCursor(); // nothing held yet: freeing nil is harmless
    LoadGameCursor();
    const std::vector<Load> loads = LoadsWithMasks(engine->log);
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[0].mask, "PICTURE\\CURSOR_MENU_MASK.bmp");
    EXPECT_EQ(loads[1].file, "PICTURE\\BULLET2.bmp");
    EXPECT_EQ(loads[1].mask, "PICTURE\\CURSORMASK.bmp");
    EXPECT_EQ(loads[1].flags, 330);
    EXPECT_EQ(engine->log.back(), "free mask");

    ZB_Texture* map = TexMap;
    LoadMap("PICTURE\\MAP_4.jpg");
    EXPECT_EQ(engine->freed.back(), map);
}

// In English every picture with words, and its mask, comes from the English set, by every way of loading.
TEST_F(Pictures, InEnglishNoPictureWithWordsIsLoadedInRussian) {
    GameLanguage = Language::English;
    LoadPictures();
    LoadMissionBack();
    LoadCreditsBack();
    LoadOptionsBack();
    LoadMainMenuBack();
    LoadLevelPictureAlt();
    GameLanguage = Language::Russian;
    const std::set<std::string> local(kLocalPictures, kLocalPictures + kLocalPictureCount);
    int english = 0;
    for (const Load& load : LoadsWithMasks(engine->log)) {
        EXPECT_FALSE(local.count(load.file)) << load.file;
        EXPECT_FALSE(local.count(load.mask)) << load.mask;
        english += load.file.starts_with("PICTURE\\EN\\");
    }
    EXPECT_GE(english, 10);
    EXPECT_EQ(PictureFile("PICTURE\\PLAYER.bmp"), "PICTURE\\PLAYER.bmp"); // words nowhere: one picture
}

} // namespace
