// Drawing through the real engine, checked by reading the picture back: targets, transparency, frames,
// rotation, tint, blending, camera, lines and text.
#include "harness.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace enginetest;

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kBlack = 0xFF000000,
                   kWhite = 0xFFFFFFFF;

class Drawing : public ::testing::Test {
  protected:
    DataDir data;

    // Writes the picture as PICTURE\<name> and returns the engine's name for it.
    std::string Put(const std::string& name, const Picture& picture) {
        WritePicture(data / ("PICTURE/" + name), picture);
        return "PICTURE\\" + name;
    }
    std::string Solid(const std::string& name, uint32_t color, int size = 16) {
        return Put(name, Picture(size, size, color));
    }
};

// Colours within a few levels (linear filtering and 8-bit blending round).
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 3) {
    if (std::abs(Red(actual) - Red(expected)) <= tolerance &&
        std::abs(Green(actual) - Green(expected)) <= tolerance &&
        std::abs(Blue(actual) - Blue(expected)) <= tolerance)
        return ::testing::AssertionSuccess();
    char text[64];
    std::snprintf(text, sizeof text, "got %06X, expected %06X", actual & 0xFFFFFF, expected & 0xFFFFFF);
    return ::testing::AssertionFailure() << text;
}

TEST_F(Drawing, MarksDrawnIntoATargetStayAcrossFrames) {
    const std::string red = Solid("RED.bmp", kRed);
    ZB_Texture *target = nullptr, *stamp = nullptr;
    Screen first, last;
    int size[2] = {};
    RunEngine({.load =
                   [&] {
                       target = Tex_CreateZero(256, 256, 266);
                       stamp = Tex_LoadFromFile(red.c_str(), -1, 266);
                       size[0] = target->Width;
                       size[1] = target->Height;
                   },
               .frame =
                   [&](uint64_t frame) {
                       if (frame == 1) {
                           Tex_BeginRenderIn(target, 1, 1, 1);
                           SSprite_Draw(stamp, 10, 10, 50, 50, 255, 0, 1);
                           Tex_EndRenderIn();
                           first = ReadScreen();
                       } else {
                           SSprite_Draw(target, 100, 100, 256, 256, 255, 0, 1);
                       }
                       if (frame == 4) last = ReadScreen();
                   },
               .frames = 4});
    EXPECT_EQ(first.at(130, 130), kBlack & 0xFFFFFF) << "the stamp went to the screen, not the target";
    EXPECT_TRUE(Near(last.at(135, 135), kRed));
    // The rest of the target is transparent: the cleared screen shows through.
    EXPECT_TRUE(Near(last.at(300, 300), kBlack));
    EXPECT_EQ(size[0], 256);
    EXPECT_EQ(size[1], 256);
}

TEST_F(Drawing, MasksAndColourKeysMakePixelsTransparent) {
    const std::string back = Solid("BACK.bmp", kBlue);
    Picture green(32, 32, kGreen);
    const std::string picture = Put("PIC.bmp", green);
    Picture mask(32, 32, kBlack);
    mask.Fill(0, 0, 16, 32, kWhite);
    const std::string maskName = Put("MASK.bmp", mask);
    Picture smallMask(8, 8, kBlack);
    smallMask.Fill(0, 0, 4, 8, kWhite);
    const std::string smallMaskName = Put("SMALLMASK.bmp", smallMask);
    Picture blackLeft(32, 32, kRed);
    blackLeft.Fill(0, 0, 16, 32, kBlack);
    const std::string keyBlack = Put("KEYBLACK.bmp", blackLeft);
    Picture whiteLeft(32, 32, kRed);
    whiteLeft.Fill(0, 0, 16, 32, kWhite);
    const std::string keyWhite = Put("KEYWHITE.bmp", whiteLeft);
    Picture clearLeft(32, 32, kRed);
    clearLeft.Fill(0, 0, 16, 32, 0x00FF0000);
    const std::string png = Put("ALPHA.png", clearLeft);
    const std::string tga = Put("ALPHA.tga", clearLeft);

    std::vector<ZB_Texture*> t;
    Screen screen;
    RunEngine({.load =
                   [&] {
                       t.push_back(Tex_LoadFromFile(back.c_str(), -1, 266));
                       Tex_LoadMaskFromFile(maskName.c_str());
                       t.push_back(Tex_LoadFromFile(picture.c_str(), -1, 330));
                       t.push_back(
                           Tex_LoadFromFile("picture\\pic.BMP", -1, 330)); // same mask, names ignore case
                       Tex_LoadMaskFromFile(smallMaskName.c_str());
                       t.push_back(Tex_LoadFromFile(picture.c_str(), -1, 334));
                       Tex_FreeMask();
                       t.push_back(Tex_LoadFromFile(keyBlack.c_str(), 0, 266));
                       t.push_back(Tex_LoadFromFile(keyWhite.c_str(), 16777215, 266));
                       t.push_back(Tex_LoadFromFile(keyBlack.c_str(), -1, 266));
                       t.push_back(Tex_LoadFromFile(png.c_str(), -1, 266));
                       t.push_back(Tex_LoadFromFile(tga.c_str(), -1, 266));
                   },
               .frame =
                   [&](uint64_t) {
                       SSprite_Draw(t[0], 0, 0, 800, 600, 255, 0, 1);
                       for (size_t i = 1; i < t.size(); ++i)
                           SSprite_Draw(t[i], static_cast<float>(i) * 80.0f, 100, 64, 64, 255, 0, 1);
                       screen = ReadScreen();
                   }});
    // Sample the left and right quarters of each 64-pixel square. 1-3: the mask hides the right half;
    // 4, 5, 7, 8: the key or the alpha channel clears the left half; 6: no key, the black half stays.
    const uint32_t left[] = {0, kGreen, kGreen, kGreen, kBlue, kBlue, kBlack, kBlue, kBlue};
    const uint32_t right[] = {0, kBlue, kBlue, kBlue, kRed, kRed, kRed, kRed, kRed};
    ASSERT_EQ(t.size(), std::size(left));
    for (size_t i = 1; i < t.size(); ++i) {
        const int x = static_cast<int>(i) * 80;
        EXPECT_TRUE(Near(screen.at(x + 8, 132), left[i])) << "picture " << i << ", left";
        EXPECT_TRUE(Near(screen.at(x + 56, 132), right[i])) << "picture " << i << ", right";
    }
}

TEST_F(Drawing, AMissingPictureIsReportedOnceAndDrawnAsAPlaceholder) {
    std::vector<ZB_Texture*> t;
    Screen screen;
    ::testing::internal::CaptureStderr();
    RunEngine({.load =
                   [&] {
                       t.push_back(Tex_LoadFromFile("PICTURE\\NOWHERE.bmp", -1, 266));
                       t.push_back(Tex_LoadFromFile("PICTURE\\NOWHERE.bmp", -1, 266));
                   },
               .frame =
                   [&](uint64_t) {
                       SSprite_Draw(t[0], 0, 0, 64, 64, 255, 0, 1);
                       SSprite_Draw(nullptr, 0, 0, 64, 64, 255, 0, 1);
                       ASprite_Draw(nullptr, 0, 0, 64, 64, 3, 255, 0, 1);
                       Text_Draw(nullptr, 0, 0, "x", 1, 0, 255, 0);
                       Tex_BeginRenderIn(nullptr, 1, 1, 1); // reported; drawing stays on the screen
                       Tex_BeginRenderIn(t[0], 1, 1, 1);    // not a render target: the same
                       Tex_SetFramesSize(nullptr, 16, 16);
                       Tex_Free(nullptr);
                       screen = ReadScreen();
                   }});
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("NOWHERE.bmp"), std::string::npos) << err;
    EXPECT_EQ(err.find("cannot open picture"), err.rfind("cannot open picture")) << "reported twice:\n"
                                                                                 << err;
    bool magenta = false, black = false;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            magenta |= Near(screen.at(x, y), 0xFF00FF);
            black |= Near(screen.at(x, y), 0x000000);
        }
    EXPECT_TRUE(magenta && black);
}

// A picture's name may lead to a FIFO or a folder in a damaged installation; the load must not wait on it.
TEST_F(Drawing, AFifoOrAFolderIsNoPictureAndNothingWaitsOnIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ASSERT_EQ(mkfifo((data / "PICTURE/FIFO.bmp").c_str(), 0600), 0);
    std::filesystem::create_directories(data / "PICTURE/FOLDER.bmp");
    EXPECT_EXIT(
        {
            alarm(20);
            int widths[2] = {}; // the textures go with the run; their sizes are read inside it
            RunEngine({.load = [&] {
                widths[0] = Tex_LoadFromFile("PICTURE\\FIFO.bmp", -1, 266)->Width;
                Tex_LoadMaskFromFile("PICTURE\\FIFO.bmp");
                widths[1] = Tex_LoadFromFile("PICTURE\\FOLDER.bmp", -1, 330)->Width;
            }});
            std::exit(widths[0] == 64 && widths[1] == 64 ? 0 : 1); // placeholders
        },
        ::testing::ExitedWithCode(0),
        "cannot open picture PICTURE.FIFO.bmp.*\n.*cannot open picture PICTURE.FOLDER.bmp");
}

TEST_F(Drawing, FramesAreNumberedFromOneRowByRowAndWrap) {
    const uint32_t colors[8] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00,
                                0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x808080};
    Picture sheet(64, 32, 0);
    for (int i = 0; i < 8; ++i)
        sheet.Fill((i % 4) * 16, (i / 4) * 16, (i % 4) * 16 + 16, (i / 4) * 16 + 16, 0xFF000000 | colors[i]);
    const std::string name = Put("SHEET.bmp", sheet);
    const int frames[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, -3, 11, 16, 17};
    const int expected[] = {1, 2, 3, 4, 5, 6, 7, 8, 1, 1, 1, 3, 8, 1};
    ZB_Texture* tex = nullptr;
    ZB_Texture record{};
    Screen screen;
    RunEngine({.load =
                   [&] {
                       tex = Tex_LoadFromFile(name.c_str(), -1, 266);
                       Tex_SetFramesSize(tex, 16, 16);
                       record = *tex;
                   },
               .frame =
                   [&](uint64_t) {
                       for (size_t i = 0; i < std::size(frames); ++i)
                           ASprite_Draw(tex, static_cast<float>(i) * 20.0f, 0, 16, 16, frames[i], 255, 0, 1);
                       screen = ReadScreen();
                   }});
    EXPECT_EQ(record.FramesX, 4);
    EXPECT_EQ(record.FramesY, 2);
    EXPECT_EQ(record.FrameW, 16);
    EXPECT_EQ(record.FrameH, 16);
    for (size_t i = 0; i < std::size(frames); ++i)
        EXPECT_TRUE(Near(screen.at(static_cast<int>(i) * 20 + 8, 8), colors[expected[i] - 1]))
            << "frame " << frames[i];
}

TEST_F(Drawing, AnglesTurnClockwiseAboutTheCentre) {
    Picture arrow(32, 32, kGreen);
    arrow.Fill(0, 0, 32, 16, kRed); // the top half is the "head"
    const std::string name = Put("ARROW.bmp", arrow);
    ZB_Texture* tex = nullptr;
    Screen screen;
    RunEngine({.load = [&] { tex = Tex_LoadFromFile(name.c_str(), -1, 266); },
               .frame =
                   [&](uint64_t) {
                       SSprite_Draw(tex, 100, 100, 64, 64, 255, 0, 1);
                       SSprite_Draw(tex, 300, 100, 64, 64, 255, 90, 1);
                       SSprite_Draw(tex, 500, 100, 64, 64, 255, -90, 1);
                       SSprite_Draw(tex, 100, 300, 64, 64, 255, 180, 1);
                       // Its rectangle lies left of the screen, but turned 45 degrees a corner reaches in.
                       SSprite_Draw(tex, -70, 300, 64, 64, 255, 45, 1);
                       screen = ReadScreen();
                   }});
    EXPECT_TRUE(Near(screen.at(132, 110), kRed)); // 0: head up
    EXPECT_TRUE(Near(screen.at(354, 132), kRed)); // 90: head turned clockwise to the right
    EXPECT_TRUE(Near(screen.at(310, 132), kGreen));
    EXPECT_TRUE(Near(screen.at(510, 132), kRed)); // -90: head to the left
    EXPECT_TRUE(Near(screen.at(132, 354), kRed)); // 180: head down
    EXPECT_TRUE(Near(screen.at(132, 310), kGreen));
    EXPECT_TRUE(Near(screen.at(2, 331), kRed));
}

TEST_F(Drawing, ColourMixTintsOnlyWithFlag8AndScaleWithFlag16) {
    const std::string back = Solid("BACK.bmp", kBlue);
    Picture shape(32, 32, kWhite);
    shape.Fill(0, 0, 32, 8, kBlack);
    const std::string shapeName = Put("SHAPE.bmp", shape);
    std::vector<ZB_Texture*> t;
    Screen screen;
    RunEngine({.load =
                   [&] {
                       t.push_back(Tex_LoadFromFile(back.c_str(), -1, 266));
                       t.push_back(Tex_LoadFromFile(shapeName.c_str(), 0, 266));
                   },
               .frame =
                   [&](uint64_t) {
                       SSprite_Draw(t[0], 0, 0, 800, 600, 255, 0, 1);
                       FX_SetColorMix(0xFF8000);
                       SSprite_Draw(t[1], 0, 0, 64, 64, 255, 0, 9);
                       SSprite_Draw(t[1], 100, 0, 64, 64, 255, 0, 1);
                       FX_SetColorMix(0);
                       SSprite_Draw(t[1], 200, 0, 64, 64, 255, 0, 9);
                       FX_SetScale(2.0f, 0.5f);
                       SSprite_Draw(t[1], 400, 200, 64, 64, 255, 0, 17);
                       screen = ReadScreen();
                   }});
    EXPECT_TRUE(Near(screen.at(32, 40), 0xFF8000));
    EXPECT_TRUE(Near(screen.at(132, 40), kWhite));
    EXPECT_TRUE(Near(screen.at(232, 40), kBlack)) << "colour mix 0 is a black silhouette";
    EXPECT_TRUE(Near(screen.at(232, 4), kBlue)) << "the silhouette keeps the picture's transparency";
    // Scaled 2 x 0.5 about the centre (432, 232): 128 x 32 from (368, 216).
    EXPECT_TRUE(Near(screen.at(372, 240), kWhite));
    EXPECT_TRUE(Near(screen.at(492, 240), kWhite));
    EXPECT_TRUE(Near(screen.at(432, 212), kBlue));
    EXPECT_TRUE(Near(screen.at(432, 252), kBlue));
}

TEST_F(Drawing, AdditiveAndMultiplyBlending) {
    const std::string grey = Solid("GREY.bmp", 0xFF808080);
    const std::string add = Solid("ADD.bmp", 0xFF402010);
    const std::string mul = Solid("MUL.bmp", 0xFF80FF00);
    Picture light(64, 64, kBlack);
    light.Fill(16, 16, 48, 48, kWhite);
    const std::string lightName = Put("LIGHT.jpg", light);
    std::vector<ZB_Texture*> t;
    Screen screen;
    RunEngine({.load =
                   [&] {
                       for (const auto& name : {grey, add, mul, lightName})
                           t.push_back(Tex_LoadFromFile(name.c_str(), -1, 266));
                   },
               .frame =
                   [&](uint64_t) {
                       SSprite_Draw(t[0], 0, 0, 800, 600, 255, 0, 1);
                       FX_SetBlendMode(1);
                       SSprite_Draw(t[1], 0, 0, 100, 100, 255, 0, 1);
                       FX_SetBlendMode(5);
                       SSprite_Draw(t[2], 200, 0, 100, 100, 255, 0, 1);
                       SSprite_Draw(t[2], 400, 0, 100, 100, 128, 0, 1);
                       SSprite_Draw(t[3], 0, 200, 640, 640, 255, 0, 1);
                       FX_SetBlendMode(0);
                       SSprite_Draw(t[1], 600, 0, 100, 100, 255, 0, 1);
                       screen = ReadScreen();
                   }});
    EXPECT_TRUE(Near(screen.at(50, 50), 0xC0A090));
    EXPECT_TRUE(Near(screen.at(250, 50), 0x408000));
    // Half alpha multiplies by a colour halfway to white.
    EXPECT_TRUE(Near(screen.at(450, 50), 0x608040, 4));
    EXPECT_TRUE(Near(screen.at(320, 520), 0x808080, 6)) << "white light leaves the field as it is";
    EXPECT_TRUE(Near(screen.at(40, 240), 0x000000, 6)) << "black light darkens it";
    EXPECT_TRUE(Near(screen.at(650, 50), 0x402010)) << "mode 0 is normal alpha again";
}

TEST_F(Drawing, CameraShiftsWorldDrawingWhileItsSwitchIsOn) {
    const std::string red = Solid("RED.bmp", kRed);
    ZB_Texture* tex = nullptr;
    ZB_Camera* cam = nullptr;
    ZB_Camera initial{};
    Screen screen;
    RunEngine({.load =
                   [&] {
                       tex = Tex_LoadFromFile(red.c_str(), -1, 266);
                       cam = Cam2D_Create();
                       initial = *cam;
                       Cam2D_Set(cam);
                   },
               .frame =
                   [&](uint64_t) {
                       cam->X = 100;
                       cam->Y = 50;
                       SSprite_Draw(tex, 150, 100, 20, 20, 255, 0, 1); // lands at (50, 50)
                       Pr2D_LineWidth(4);
                       Pr2D_Line(150, 350, 250, 350, 0x00FF00, 255, 2); // lands at y 300
                       cam->Switch = 0;
                       SSprite_Draw(tex, 150, 100, 20, 20, 255, 0, 1);
                       cam->Switch = 1;
                       Cam2D_Set(nullptr);
                       SSprite_Draw(tex, 600, 500, 20, 20, 255, 0, 1);
                       Cam2D_Set(cam);
                       screen = ReadScreen();
                   }});
    EXPECT_EQ(initial.X, 0.0f);
    EXPECT_EQ(initial.Y, 0.0f);
    EXPECT_EQ(initial.Switch, 1);
    EXPECT_TRUE(Near(screen.at(60, 60), kRed));
    EXPECT_TRUE(Near(screen.at(160, 110), kRed));
    EXPECT_TRUE(Near(screen.at(610, 510), kRed));
    EXPECT_TRUE(Near(screen.at(100, 300), kGreen));
    EXPECT_TRUE(Near(screen.at(100, 306), kBlack)) << "the line is 4 pixels wide";
    EXPECT_TRUE(Near(screen.at(220, 300), kBlack)) << "the line ends at x 150 on screen";
}

class Text : public Drawing {
  protected:
    // Glyphs are solid blocks as wide as their advance, so drawn extent and pen span agree.
    void SetUpFont() {
        Picture sheet(64, 16, kBlack);
        sheet.Fill(0, 0, 10, 16, kWhite);  // A
        sheet.Fill(10, 0, 18, 16, kWhite); // B
        sheet.Fill(20, 4, 26, 16, kWhite); // ?
        sheet.Fill(30, 0, 42, 16, kWhite); // Ж
        Put("TEXTING.BMP", sheet);
        std::ofstream(data / "TEXTING.bmp.ofi") << "# test font\nzfont 1\nsize 16 20 13\n"
                                                << "glyph 65 0 0 10 16 0 0 10\n"
                                                << "glyph 66 10 0 8 16 0 0 8\n"
                                                << "glyph 63 20 4 6 12 0 4 6\n"
                                                << "glyph 1046 30 0 12 16 0 0 12\n"
                                                << "glyph 32 0 0 0 0 0 0 5\nend\n";
    }
};

// The lit columns of a band of rows.
std::pair<int, int> LitColumns(const Screen& screen, int y0, int y1) {
    int first = kW, last = -1;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < kW; ++x)
            if (screen.at(x, y) != 0) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST_F(Text, WidthIsTheSpanTextDrawCovers) {
    SetUpFont();
    ZB_Font* font = nullptr;
    ZB_Font* missing = nullptr;
    float widths[6] = {};
    Screen screen;
    RunEngine({.load =
                   [&] {
                       font = Text_LoadFontFromFile("PICTURE\\TEXTING.BMP", "TEXTING.bmp.ofi", 0, 266);
                       missing = Text_LoadFontFromFile("PICTURE\\NONE.BMP", "NONE.ofi", 0, 266);
                   },
               .frame =
                   [&](uint64_t) {
                       widths[0] = Text_GetWidth(font, "AB", 1.0f, 0.0f);
                       widths[1] = Text_GetWidth(font, "ABA", 2.0f, 3.0f);
                       widths[2] = Text_GetWidth(font, "A B", 1.0f, 1.0f);
                       widths[3] = Text_GetWidth(font, "\xD0\x96\xE2\x82\xAC", 1.0f, 0.0f); // "Ж€": € is '?'
                       widths[4] = Text_GetWidth(missing, "AB", 1.0f, 0.0f);
                       widths[5] = Text_GetWidth(font, "", 1.0f, 0.0f);
                       Text_Draw(font, 100, 100, "ABA", 2.0f, 3.0f, 255, 1);
                       Text_Draw(font, 100, 200, "\xD0\x96\xE2\x82\xAC", 1.0f, 0.0f, 255, 0xFFFF);
                       Text_Draw(missing, 100, 300, "AB", 1.0f, 0.0f, 255, 0);
                       Text_Draw(font, 100, 500, "ABA", 0.5f, 0.0f, 255, 0);   // from the half-size sheet
                       Text_Draw(font, 100, 550, "ABAB", 0.25f, 0.0f, 255, 0); // from the quarter-size sheet
                       FX_SetColorMix(0);
                       Text_Draw(font, 100, 400, "A", 1.0f, 0.0f, 128, 255);
                       screen = ReadScreen();
                   }});
    ASSERT_NE(missing, nullptr);
    EXPECT_FLOAT_EQ(widths[0], 18.0f);
    EXPECT_FLOAT_EQ(widths[1], 2 * (10 + 8 + 10) + 2 * 3.0f);
    EXPECT_FLOAT_EQ(widths[2], 10 + 5 + 8 + 2 * 1.0f);
    EXPECT_FLOAT_EQ(widths[3], 12 + 6);
    EXPECT_FLOAT_EQ(widths[4], 0.0f);
    EXPECT_FLOAT_EQ(widths[5], 0.0f);

    const auto [first, last] = LitColumns(screen, 100, 132);
    EXPECT_EQ(first, 100);
    EXPECT_EQ(last + 1, 100 + static_cast<int>(widths[1]));
    const auto [cyrFirst, cyrLast] = LitColumns(screen, 200, 216);
    EXPECT_EQ(cyrFirst, 100);
    EXPECT_EQ(cyrLast + 1, 118);
    EXPECT_TRUE(Near(screen.at(105, 208), kWhite)) << "glyphs are white";
    EXPECT_EQ(screen.at(115, 201), 0u) << "the '?' glyph starts 4 pixels down its line";
    EXPECT_EQ(LitColumns(screen, 300, 316).second, -1) << "a missing font draws nothing";
    EXPECT_EQ(LitColumns(screen, 500, 508), std::make_pair(100, 113));
    EXPECT_EQ(LitColumns(screen, 550, 554), std::make_pair(100, 108));
    EXPECT_TRUE(Near(screen.at(105, 504), kWhite)) << "reduced glyphs keep full coverage inside";
    EXPECT_TRUE(Near(screen.at(105, 408), 0x808080, 2)) << "alpha multiplies; colour mix is not applied";
}

} // namespace

// The software renderer's copy cache stands in for SDL's own rotating and stretching, and the engine's
// blending for SDL's blitters: the same awkward draws, made by SDL alone, with the cache, and with the cache
// and the engine's blending, give the same picture to the last bit, and each did stand in.
TEST_F(Text, CachedCopiesAndTheEnginesBlendingGiveSdlsOwnPixels) {
    SetUpFont();
    Picture sheet(64, 32, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            sheet.at(x, y) = (static_cast<uint32_t>((x * 7 + y * 3) % 256) << 24) |
                             (static_cast<uint32_t>(x * 4) << 16) | (static_cast<uint32_t>(y * 8) << 8) |
                             static_cast<uint32_t>((x * y) % 256);
    const std::string sheetName = Put("SHEET.png", sheet);
    const std::string lightName = Put("LIGHT.png", Picture(40, 30, 0xFFC08040));
    auto drawAll = [&](ZB_Texture* tex, ZB_Texture* light, ZB_Texture* target, ZB_Texture* nearest,
                       ZB_Font* font, uint64_t frame) {
        // A stamp into a target, as the game bakes marks into the ground.
        Tex_BeginRenderIn(target, 1, 1, 1);
        ASprite_Draw(tex, 30.5f, -7.25f, 40, 40, 2, 255, 33.0f + static_cast<float>(frame), 1);
        Tex_EndRenderIn();
        SSprite_Draw(target, 500, 300, 256, 256, 255, 0, 1);
        for (int i = 0; i < 60; ++i) {
            const float angle = static_cast<float>(i) * 7.3f - 40.0f;
            const float size = 20.0f + static_cast<float>(i % 7) * 9.5f;
            const float x = static_cast<float>(i % 10) * 85.0f - 30.0f,
                        y = static_cast<float>(i / 10) * 100.0f - 20.0f;
            FX_SetColorMix(0);
            ASprite_Draw(tex, x + 4, y + 4, size, size, i % 3 + 1, 100, angle, 9); // the shadow
            FX_SetBlendMode(i % 5 == 0 ? 1 : 0);
            FX_SetScale(1.5f, 0.75f);
            ASprite_Draw(tex, x, y, size, size, i % 3 + 1, static_cast<uint8_t>(150 + i), angle,
                         i % 4 ? 1 : 17);
            FX_SetBlendMode(0);
        }
        for (int k = 0; k < 6; ++k) // one frame at one size, scaled once, turned to many angles
            ASprite_Draw(tex, 560.0f + static_cast<float>(k) * 40.0f, 520, 37, 29, 3, 255,
                         static_cast<float>(k) * 23.5f + static_cast<float>(frame), 1);
        SSprite_Draw(tex, 100, 100, 64, 32, 255, 90, 1);
        SSprite_Draw(tex, 200, 100, 50, 20, 255, 180, 1);
        SSprite_Draw(tex, 300, 100, 33, 61, 255, 270, 1);
        SSprite_Draw(tex, 400, 450, 130, 70, 200, 0, 1); // stretched inside the screen
        FX_SetBlendMode(5);
        SSprite_Draw(light, -400.0f + static_cast<float>(frame), -300, 1600, 1200, 255, 0,
                     1); // across the edge
        FX_SetBlendMode(1);
        SSprite_Draw(tex, 600, 200, 71.5f + static_cast<float>(frame), 45, 220, 0, 1); // a growing blast
        // A strike's flash, turning and growing past every edge, and a large copy across one edge, still.
        FX_SetScale(700.0f + static_cast<float>(frame) * 20.0f, 650.0f);
        ASprite_Draw(tex, 380, 310, 1, 1, 2, 90, 5.5f * static_cast<float>(frame) + 3.0f, 17);
        ASprite_Draw(tex, 700, -60, 250, 190, 1, 160, 21.0f, 1);
        FX_SetBlendMode(0);
        SSprite_Draw(nearest, 250, 380, 45, 37, 255, 0, 1); // scaled while blended: SDL's own
        SSprite_Draw(nearest, 780, 580, 45, 37, 200, 0, 1); // stretched first, across the edge
        Pr2D_LineWidth(3);
        Pr2D_Line(20, 590, 300, 560, 0x40C0FF, 180, 0);
        Text_Draw(font, 50, 300, "ABA\xD0\x96", 1.0f, 1.0f, 200, 0);
        Text_Draw(font, 50, 330, "BAB", 1.5f, 0.0f, 255, 0);
    };
    struct Way {
        const char* cache;
        const char* blend;
    };
    const Way ways[] = {{"0", "0"}, {"1", "0"}, {"1", "1"}};
    Screen pictures[3];
    uint64_t hits = 0, misses = 0, blended = 0, drawnBySdl = 0;
    int32_t threads = 0;
    for (int way = 0; way < 3; ++way) {
        setenv("ZORBEL_DRAW_CACHE", ways[way].cache, 1);
        setenv("ZORBEL_SOFT_BLEND", ways[way].blend, 1);
        ZB_Texture *tex = nullptr, *light = nullptr, *target = nullptr, *nearest = nullptr;
        ZB_Font* font = nullptr;
        RunEngine({.load =
                       [&] {
                           tex = Tex_LoadFromFile(sheetName.c_str(), -1, 266);
                           Tex_SetFramesSize(tex, 32, 16);
                           light = Tex_LoadFromFile(lightName.c_str(), -1, 266);
                           target = Tex_CreateZero(256, 256, 266);
                           nearest = Tex_LoadFromFile(sheetName.c_str(), -1, 270);
                           font = Text_LoadFontFromFile("PICTURE\\TEXTING.BMP", "TEXTING.bmp.ofi", 0, 266);
                       },
                   .frame =
                       [&](uint64_t frame) {
                           drawAll(tex, light, target, nearest, font, frame);
                           if (frame == 3) {
                               pictures[way] = ReadScreen();
                               if (way == 1) ZBDebug_DrawCacheCounts(&hits, &misses);
                               if (way == 2) ZBDebug_BlendCounts(&blended, &drawnBySdl, &threads);
                           }
                       },
                   .frames = 3});
    }
    unsetenv("ZORBEL_DRAW_CACHE");
    unsetenv("ZORBEL_SOFT_BLEND");
    for (int way = 1; way < 3; ++way) {
        size_t differing = 0;
        for (size_t i = 0; i < pictures[0].argb.size(); ++i)
            differing += pictures[0].argb[i] != pictures[way].argb[i];
        EXPECT_EQ(differing, 0u) << "cache " << ways[way].cache << ", engine's blending " << ways[way].blend;
    }
    EXPECT_GT(hits, misses) << "shadows, bodies and the light are drawn from kept copies";
    EXPECT_GT(blended, 4 * drawnBySdl) << "the engine blends all but targets, lines and SDL's scaled blends";
    EXPECT_GE(threads, 1);
}

// On the software renderer the engine draws render targets itself: marks of every kind baked into two targets
// (turned, tinted, faded, framed, stretched, nearest, across the edges), with SDL's own drawing in between (a
// line, an additive mark, a nearest stretch, which the engine leaves to SDL), give the same screen to the bit
// as SDL drawing everything, frame after frame, the targets also drawn turned.
TEST_F(Drawing, TargetsDrawnByTheEngineHoldSdlsPixels) {
    Picture sheet(64, 32, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            sheet.at(x, y) = (static_cast<uint32_t>((x * 9 + y * 5) % 256) << 24) |
                             (static_cast<uint32_t>(x * 4) << 16) | (static_cast<uint32_t>(y * 8) << 8) |
                             static_cast<uint32_t>((x * y) % 256);
    const std::string sheetName = Put("SHEET.png", sheet);
    auto bake = [](ZB_Texture* tex, ZB_Texture* sharp, ZB_Texture* target, float turn) {
        Tex_BeginRenderIn(target, 1, 1, 1);
        for (int i = 0; i < 24; ++i) {
            const float x = static_cast<float>(i % 6) * 50.0f - 20.0f,
                        y = static_cast<float>(i / 6) * 70.0f - 15.0f;
            const float size = 12.0f + static_cast<float>(i % 5) * 17.5f;
            FX_SetColorMix(i % 3 ? 0xFFFFFF : 0xFAB4B4);
            ASprite_Draw(i % 2 ? tex : sharp, x, y, size, size * 0.75f, i % 4 + 1,
                         static_cast<uint8_t>(i % 4 ? 255 : 120), static_cast<float>(i) * 37.3f + turn,
                         i % 3 ? 1 : 9);
        }
        SSprite_Draw(tex, 30.5f, 40.25f, 64, 32, 200, 0, 1); // unturned, its own size
        SSprite_Draw(tex, 100, 100, 90, 50, 255, 0, 9);      // stretched inside
        SSprite_Draw(sharp, 200, -10, 90, 50, 255, 360, 1);  // nearest, stretched across the edge
        SSprite_Draw(tex, 150, 150, 40, 30, 255, 90, 1);     // a quarter turn
        // Thin marks, whose turns are planned as they are drawn: a pixel wide, and a single pixel.
        SSprite_Draw(tex, 90.3f, 20, 1.5f, 30, 255, 33 + turn, 1);
        SSprite_Draw(tex, 120.6f, 40.2f, 1.9f, 1.2f, 255, 61 + turn, 1);
        Pr2D_Line(0, 0, 250, 200, 0x40FF40, 200, 1); // SDL's
        FX_SetBlendMode(1);
        SSprite_Draw(tex, 60, 60, 70, 70, 255, 20 + turn, 1); // SDL's: additive
        FX_SetBlendMode(0);
        SSprite_Draw(sharp, 20, 150, 70, 40, 255, 0, 1); // SDL's: a nearest stretch inside
        SSprite_Draw(tex, 40, 50, 60, 60, 255, 45 + turn, 1);
        Tex_EndRenderIn();
    };
    Screen pictures[2];
    bool face = false;
    for (int engine = 0; engine < 2; ++engine) {
        setenv("ZORBEL_DRAW_CACHE", engine ? "1" : "0", 1);
        ZB_Texture *tex = nullptr, *sharp = nullptr, *ground = nullptr, *small = nullptr;
        RunEngine({.load =
                       [&] {
                           tex = Tex_LoadFromFile(sheetName.c_str(), -1, 266);
                           sharp = Tex_LoadFromFile(sheetName.c_str(), -1, 270);
                           Tex_SetFramesSize(tex, 32, 16);
                           Tex_SetFramesSize(sharp, 32, 16);
                           ground = Tex_CreateZero(256, 256, 266);
                           small = Tex_CreateZero(128, 96, 270);
                       },
                   .frame =
                       [&](uint64_t frame) {
                           bake(tex, sharp, ground, static_cast<float>(frame) * 11.0f);
                           bake(sharp, tex, small, static_cast<float>(frame) * 7.0f);
                           SSprite_Draw(ground, 20, 20, 256, 256, 255, 0, 1);
                           SSprite_Draw(small, 300, 20, 128, 96, 200, 0, 1);
                           SSprite_Draw(ground, 450, 250, 200, 180, 255, 30, 1);
                           SSprite_Draw(small, 100, 350, 256, 192, 255, 0, 1);
                           // Marked again once on the screen, the targets stay there as they were, whether
                           // the engine or SDL draws on the screen next.
                           const auto mark = [&](ZB_Texture* target) {
                               Tex_BeginRenderIn(target, 1, 1, 1);
                               SSprite_Draw(tex, 30, 20, 70, 50, 255, static_cast<float>(frame) * 13.0f, 1);
                               Tex_EndRenderIn();
                           };
                           SSprite_Draw(small, 520, 420, 128, 96, 255, 0, 1);
                           mark(small);
                           SSprite_Draw(ground, 480, 20, 256, 256, 160, 0, 1);
                           mark(ground);
                           Pr2D_Line(0, 300, 800, 330, 0x4040FF, 255, 1);
                           if (frame == 3) {
                               pictures[engine] = ReadScreen();
                               int access = 0;
                               SDL_QueryTexture(static_cast<SDL_Texture*>(ZBDebug_SdlTexture(ground)),
                                                nullptr, &access, nullptr, nullptr);
                               face = access == SDL_TEXTUREACCESS_STREAMING;
                           }
                       },
                   .frames = 3});
    }
    unsetenv("ZORBEL_DRAW_CACHE");
    EXPECT_TRUE(face) << "the engine drew the target itself";
    size_t differing = 0;
    for (size_t i = 0; i < pictures[0].argb.size(); ++i)
        differing += pictures[0].argb[i] != pictures[1].argb[i];
    EXPECT_EQ(differing, 0u);
}
