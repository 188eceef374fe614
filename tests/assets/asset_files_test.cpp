// The generated data against the game's own tables: every file exists, and loads through the real engine and
// the real sound library.
#include "SquallSound.h"
#include "ZORBEL.h"
#include "assets.h"
#include "language.h"
#include "platform.h"
#include "settings.h"
#include "squall.h"

#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <cstdlib>
#include <filesystem>
#include <set>

namespace {

class GeneratedData : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const char* build = std::getenv("DRELMONT_BUILD");
        ASSERT_NE(build, nullptr);
        setenv("DRELMONT_DATA", build, 1);
    }
};

// Every picture the game can ask for: the table, the re-filling loaders, the splash and the second map.
std::vector<std::string> AllPictureNames() {
    std::vector<std::string> names;
    for (int i = 0; i < kPictureCount; ++i) {
        names.push_back(kPictureTable[i].file);
        if (kPictureTable[i].mask) names.push_back(kPictureTable[i].mask);
    }
    for (const char* extra : {"PICTURE\\CURSOR_MENU.bmp", "PICTURE\\CURSOR_MENU_MASK.bmp",
                              "PICTURE\\CURSORMASK.bmp", "PICTURE\\MISSION.jpg", "PICTURE\\CREATED.jpg",
                              "PICTURE\\OPTIONS.jpg", "PICTURE\\PL1_UP_M.bmp", "PICTURE\\PL1_UP_M_MASK.bmp",
                              "PICTURE\\MAP_4.jpg", "PICTURE\\LOGO.TGA", kFontPicture, kFontDescriptor})
        names.push_back(extra);
    return names;
}

struct Size {
    int w = 0, h = 0;
};

Size PictureSize(const std::string& name) {
    Size s;
    int channels = 0;
    if (!stbi_info(platform::ResolvePath(name).c_str(), &s.w, &s.h, &channels)) return Size{};
    return s;
}

TEST_F(GeneratedData, EveryPictureAndMaskExistsAndEveryMaskFitsItsPicture) {
    for (const std::string& name : AllPictureNames())
        EXPECT_TRUE(platform::FileExists(name)) << name;
    const std::pair<const char*, const char*> refilled[] = {
        {"PICTURE\\CURSOR_MENU.bmp", "PICTURE\\CURSOR_MENU_MASK.bmp"},
        {"PICTURE\\BULLET2.bmp", "PICTURE\\CURSORMASK.bmp"},
        {"PICTURE\\PL1_UP_M.bmp", "PICTURE\\PL1_UP_M_MASK.bmp"}};
    std::vector<std::pair<const char*, const char*>> pairs(std::begin(refilled), std::end(refilled));
    for (int i = 0; i < kPictureCount; ++i)
        if (kPictureTable[i].mask) pairs.emplace_back(kPictureTable[i].file, kPictureTable[i].mask);
    for (const auto& [picture, mask] : pairs) {
        const Size p = PictureSize(picture), m = PictureSize(mask);
        EXPECT_GT(p.w, 0) << picture;
        EXPECT_TRUE(p.w == m.w && p.h == m.h)
            << picture << " is " << p.w << "x" << p.h << ", its mask " << mask << " is " << m.w << "x" << m.h;
    }
}

// Each picture with words has its English twin of the same size where the game looks for it, and the English
// folder holds nothing the game never asks for.
TEST_F(GeneratedData, EveryPictureWithWordsHasAnEnglishTwinAndTheEnglishSetNothingElse) {
    std::set<std::string> twins;
    for (int i = 0; i < kLocalPictureCount; ++i) {
        const std::string russian = kLocalPictures[i];
        GameLanguage = Language::English;
        const std::string english = PictureFile(russian.c_str());
        GameLanguage = Language::Russian;
        ASSERT_NE(english, russian);
        const Size r = PictureSize(russian), e = PictureSize(english);
        EXPECT_GT(r.w, 0) << russian;
        EXPECT_TRUE(r.w == e.w && r.h == e.h) << english;
        twins.insert(platform::ResolvePath(english));
    }
    const std::filesystem::path folder = std::filesystem::path(*twins.begin()).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_TRUE(twins.count(entry.path().string())) << entry.path() << " is never loaded";
}

TEST_F(GeneratedData, SheetsHoldTheFramesTheGameDraws) {
    for (int i = 0; i < kPictureCount; ++i) {
        const PictureEntry& e = kPictureTable[i];
        if (e.frameSize == 0) continue;
        const Size s = PictureSize(e.file);
        SCOPED_TRACE(e.file);
        EXPECT_EQ(s.w % e.frameSize, 0);
        EXPECT_EQ(s.h % e.frameSize, 0);
        const int frames = (s.w / e.frameSize) * (s.h / e.frameSize);
        const int needed = e.frameSize == 48                                            ? 17
                           : std::string(e.file).find("EXPLOSION") != std::string::npos ? 16
                           : std::string(e.file).find("PLAYER") != std::string::npos    ? 2
                                                                                        : 30;
        EXPECT_GE(frames, needed);
    }
}

TEST_F(GeneratedData, EverySoundExistsAndDecodesThroughTheSoundLibrary) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    ASSERT_EQ(SQUALL_Init(nullptr), 0);
    std::set<std::string> files;
    for (int i = 0; i < kSoundCount; ++i)
        files.insert(kSoundTable[i].file);
    for (int choice = 1; choice <= 5; ++choice) {
        static const char* const music[] = {"SOUNDS\\MUSIC_MAIN_FIGHT.OGG", "SOUNDS\\MUSIC_FIGHT_SILENCE.OGG",
                                            "SOUNDS\\MUSIC_FIGHT.OGG", "SOUNDS\\MUSIC_DEATH.OGG",
                                            "SOUNDS\\MUSIC_MAIN_MENU.OGG"};
        files.insert(music[choice - 1]);
    }
    for (const std::string& file : files) {
        const int sample = SQUALL_Sample_LoadFile(file.c_str(), 1, nullptr);
        EXPECT_GE(sample, 1) << file;
        EXPECT_EQ(SQUALL_Sample_Unload(sample), 0) << file;
    }
    SQUALL_Free();
}

// Runs the real engine headless for one frame whose load procedure loads every picture and the font.
std::vector<std::string> gLoadProblems;
void LoadEverything() {
    LoadPictures();
    LoadMenuCursor();
    LoadGameCursor();
    LoadMissionBack();
    LoadCreditsBack();
    LoadOptionsBack();
    LoadMainMenuBack();
    LoadLevelPictureAlt();
    LoadMap("PICTURE\\MAP_4.jpg");
    for (int i = 0; i < kPictureCount; ++i) {
        const PictureEntry& e = kPictureTable[i];
        if (e.handle && (!*e.handle || (*e.handle)->Width != PictureSize(e.file).w))
            gLoadProblems.push_back(e.file);
    }
    if (Text_GetWidth(TexFont, "Drelmont ЗАДЕРЖКА", 1.0f, 0.0f) <= 0.0f) gLoadProblems.push_back("font");
}

TEST_F(GeneratedData, EveryPictureLoadsThroughTheRealEngine) {
    ASSERT_TRUE(zorbel::Bind(ENGINE_LIBRARY));
    setenv("ZORBEL_HEADLESS", "1", 1);
    setenv("ZORBEL_MAX_FRAMES", "1", 1);
    TextureFlagSetting = false;
    ::testing::internal::CaptureStderr();
    ZB_RegProcedure(1, LoadEverything);
    ZB_SetScreenOptions(800, 600, 32, 0, 1, 0);
    ZB_Init(16, 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("PICTURE"), std::string::npos) << err;
    EXPECT_EQ(err.find("TEXTING"), std::string::npos) << err;
    EXPECT_TRUE(gLoadProblems.empty()) << gLoadProblems.front();
}

} // namespace
