// Tests of the menu screens, HUD pieces and font: the generator's real output against the game's fixed
// layout.
#include "artgen.h"
#include "ui_font.h"
#include "ui_hud.h"
#include "ui_layout.h"
#include "ui_text.h"
#include "ui_words.h"

#include "language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace fs = std::filesystem;
using namespace artgen::ui;

namespace {

struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * w + x) * 4]; }
    uint32_t Rgb(int x, int y) const {
        const uint8_t* p = At(x, y);
        return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
    float Luma(int x, int y) const {
        const uint8_t* p = At(x, y);
        return 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
    }
};

std::string DataRoot() {
    const char* env = std::getenv("DRELMONT_BUILD");
    return env ? env : DRELMONT_DATA_DIR;
}

Picture Load(const std::string& name) {
    Picture pic;
    int comp = 0;
    stbi_uc* data = stbi_load((DataRoot() + "/PICTURE/" + name).c_str(), &pic.w, &pic.h, &comp, 4);
    EXPECT_NE(data, nullptr) << name << " is missing or unreadable";
    if (!data) return pic;
    pic.rgba.assign(data, data + static_cast<size_t>(pic.w) * pic.h * 4);
    stbi_image_free(data);
    return pic;
}

struct Glyph {
    int x, y, w, h, xoff, yoff, advance;
};

struct Font {
    int size = 0, lineHeight = 0, ascent = 0;
    std::map<uint32_t, Glyph> glyphs;
    std::vector<uint32_t> order;
    float Width(const std::string& text, float scale, float step) const {
        float w = 0;
        for (uint32_t cp : artgen::DecodeUtf8(text))
            w += glyphs.at(cp).advance * scale + step;
        return w;
    }
};

// Reads the descriptor the way the engine does; any line it can't read fails the test.
Font ReadFont() {
    Font f;
    std::ifstream in(DataRoot() + "/TEXTING.bmp.ofi");
    EXPECT_TRUE(in.good()) << "TEXTING.bmp.ofi is missing";
    std::string line;
    bool header = false, ended = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ss(line);
        std::string key;
        ss >> key;
        if (key == "zfont") {
            int version = 0;
            ss >> version;
            EXPECT_EQ(version, 1);
            header = true;
        } else if (key == "size") {
            ss >> f.size >> f.lineHeight >> f.ascent;
        } else if (key == "glyph") {
            uint32_t cp = 0;
            Glyph g{};
            ss >> cp >> g.x >> g.y >> g.w >> g.h >> g.xoff >> g.yoff >> g.advance;
            f.glyphs[cp] = g;
            f.order.push_back(cp);
        } else if (key == "end") {
            ended = true;
        } else {
            ADD_FAILURE() << "unknown descriptor line: " << line;
        }
        EXPECT_FALSE(ss.fail()) << "malformed descriptor line: " << line;
    }
    EXPECT_TRUE(header);
    EXPECT_TRUE(ended) << "the descriptor ends with \"end\", or the engine takes it for a file cut short";
    return f;
}

// Every text the game draws with its font, and the full alphabets the captions may use.
const std::vector<std::string> kGameTexts = {
    "ВКЛ.",
    "ВЫКЛ.",
    "ЗАДЕРЖКА",
    "СКОРОСТЬ",
    " W,A,S,D + МЫШЬ",
    "  Направьте курсор в нужное место и нажмите левую кнопку мыши",
    "FPS: 0123456789",
    "You WIN!!!",
    "00",
    "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
    "«»—…№°.,:;!?-+()'\"%/"};

TEST(UiFont, DescriptorCoversTheGameTextAndStaysInsideTheSheet) {
    const Font f = ReadFont();
    const Picture sheet = Load("TEXTING.BMP");
    ASSERT_GT(sheet.w, 0);
    EXPECT_GT(f.size, 0);
    EXPECT_GE(f.lineHeight, f.ascent);
    EXPECT_TRUE(std::is_sorted(f.order.begin(), f.order.end()));
    EXPECT_EQ(std::set<uint32_t>(f.order.begin(), f.order.end()).size(), f.order.size()) << "a glyph twice";

    std::vector<std::string> texts = kGameTexts;
    for (int k = 0; k < static_cast<int>(TextKey::Count); ++k)
        for (Language language : {Language::Russian, Language::English})
            texts.push_back(Text(static_cast<TextKey>(k), language));
    for (const std::string& text : texts)
        for (uint32_t cp : artgen::DecodeUtf8(text))
            EXPECT_TRUE(f.glyphs.count(cp)) << "no glyph U+" << std::hex << cp << " in " << text;

    const Glyph& space = f.glyphs.at(' ');
    EXPECT_EQ(space.w, 0);
    EXPECT_EQ(space.h, 0);
    EXPECT_GT(space.advance, 0);

    for (const auto& [cp, g] : f.glyphs) {
        EXPECT_GT(g.advance, 0) << "U+" << std::hex << cp;
        if (g.w == 0) continue;
        ASSERT_TRUE(g.x >= 0 && g.y >= 0 && g.x + g.w <= sheet.w && g.y + g.h <= sheet.h)
            << "cell of U+" << std::hex << cp << " leaves the sheet";
        // The cell holds the glyph: something lit inside, and it sits between the line top and the line
        // bottom.
        float brightest = 0;
        for (int y = g.y; y < g.y + g.h; ++y)
            for (int x = g.x; x < g.x + g.w; ++x)
                brightest = std::max(brightest, sheet.Luma(x, y));
        EXPECT_GT(brightest, 200) << "empty cell for U+" << std::hex << cp;
        EXPECT_GE(g.yoff + g.h, 0);
        EXPECT_LE(g.yoff, f.lineHeight);
    }
    // Cells never share pixels, so no glyph bleeds a neighbour's edge into the text.
    std::vector<const Glyph*> cells;
    for (const auto& [cp, g] : f.glyphs)
        if (g.w > 0) cells.push_back(&g);
    for (size_t i = 0; i < cells.size(); ++i)
        for (size_t j = i + 1; j < cells.size(); ++j) {
            const Glyph &a = *cells[i], &b = *cells[j];
            const bool apart = a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
            ASSERT_TRUE(apart) << "two glyph cells overlap";
        }
}

// The game prints its texts at fixed places; the face has to be compact enough for all of them, in both
// languages.
TEST(UiFont, GameTextsFitWhereTheGamePutsThem) {
    const Font f = ReadFont();
    EXPECT_LE(740 + f.Width("100", 0.4f, 1), 800);
    for (Language language : {Language::Russian, Language::English}) {
        SCOPED_TRACE(LanguageCode(language));
        auto width = [&](TextKey key, float scale) { return f.Width(Text(key, language), scale, 1); };
        EXPECT_LE(740 + width(TextKey::Off, 0.4f), 800) << "the options value runs off the screen";
        EXPECT_LE(745 + width(TextKey::On, 0.4f), 800);
        EXPECT_LE(width(TextKey::LanguageName, 0.4f) / 2, kLanguageFieldHalf - 4) << "the language's field";
        EXPECT_LE(3 + width(TextKey::TargetHint, 0.4f), 800);
        EXPECT_LE(3 + width(TextKey::ControlsHint, 0.4f), 800);
        // Bonus labels inside the 130-px bar frame.
        EXPECT_LE(40 + width(TextKey::SlowDownLabel, 0.24f), 130);
        EXPECT_LE(43 + width(TextKey::DefenceLabel, 0.36f), 130);
    }
    // The bonus labels' baselines lie above the bar's line (18 px below the bar top).
    EXPECT_LE(100 + f.ascent * 0.24f, 95 + 18);
    EXPECT_LE(132 + f.ascent * 0.36f, 130 + 18);
    // The score sits inside the 26-px top bar and the level-1 hint inside the screen.
    EXPECT_LE(7 + f.ascent * 0.36f, 26);
    EXPECT_LE(585 + f.ascent * 0.4f, 600);
}

TEST(UiPictures, SizesMasksAndPictureDimensions) {
    struct Expect {
        const char* picture;
        const char* mask;
        int w, h;
    };
    const Expect all[] = {
        {"MAIN_MENU.jpg", nullptr, 800, 600},
        {"MISSION.jpg", nullptr, 800, 600},
        {"OPTIONS.jpg", nullptr, 800, 600},
        {"CREATED.jpg", nullptr, 800, 600},
        {"LOGO.TGA", nullptr, 256, 400},
        {"LOGO_LIGHT.TGA", nullptr, 215, 63},
        {"MENU_LIGHT.bmp", nullptr, 194, 78},
        {"MENU_LINE_LIGHT.bmp", nullptr, 300, 30},
        {"COMPLETE.bmp", "COMPLETE_MASK.bmp", 340, 280},
        {"GAME_OVER_M.bmp", "MASK_GAME_OVER.bmp", 320, 152},
        {"LEVEL.bmp", "LEVEL_MASK.bmp", 298, 366},
        {"PL1_UP_M.bmp", "PL1_UP_M_MASK.bmp", 298, 366},
        {"PANEL.bmp", nullptr, 800, 26},
        {"PANELMASK1.bmp", "PANELMASK.bmp", 800, 26},
        {"BLACK_SHADOW.bmp", "SHADOW.bmp", 800, 30},
        {"NEW_UP1.bmp", nullptr, 150, 20},
        {"GALKA.bmp", nullptr, 13, 13},
        {"OBOUMA.bmp", nullptr, 121, 12},
        {"ZIZNUPL1.bmp", nullptr, 149, 5},
        {"CURSOR_MENU.bmp", "CURSOR_MENU_MASK.bmp", 48, 48},
        {"PROGRESS_BAR.BMP", nullptr, 0, 0},
        {"PROGRESS_LINE.BMP", nullptr, 0, 0},
        {"BLACK.bmp", nullptr, 0, 0},
        {"WHITE.bmp", nullptr, 0, 0},
    };
    for (const Expect& e : all) {
        const Picture pic = Load(e.picture);
        if (e.w > 0) {
            EXPECT_EQ(pic.w, e.w) << e.picture;
            EXPECT_EQ(pic.h, e.h) << e.picture;
        }
        if (!e.mask) continue;
        const Picture mask = Load(e.mask);
        EXPECT_EQ(mask.w, pic.w) << e.mask;
        EXPECT_EQ(mask.h, pic.h) << e.mask;
    }
}

TEST(UiPictures, KeyColoursAreExactWhereTransparentAndAbsentElsewhere) {
    // PANEL: pure white is the key. Its lower right corner is cut away; its body never reads as white.
    const Picture panel = Load("PANEL.bmp");
    ASSERT_EQ(panel.w, 800);
    EXPECT_EQ(panel.Rgb(799, 25), 0xFFFFFFu);
    EXPECT_EQ(panel.Rgb(700, 24), 0xFFFFFFu);
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_NE(panel.Rgb(x, y), 0xFFFFFFu) << "hole in the bar at " << x << "," << y;
    // NEW_UP1: pure black is the key; the notice's clipped corner is black, its face and lettering are not.
    const Picture notice = Load("NEW_UP1.bmp");
    ASSERT_EQ(notice.w, 150);
    EXPECT_EQ(notice.Rgb(149, 19), 0u);
    int keyed = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 140; ++x)
            keyed += notice.Rgb(x, y) == 0;
    EXPECT_EQ(keyed, 0) << "black pixels would punch holes in the notice";
}

TEST(UiPictures, PanelFrameHidesTheClipStripOutsideItsWindow) {
    const Picture mask = Load("PANELMASK.bmp");
    ASSERT_EQ(mask.w, 800);
    auto opaque = [&](int x, int y) { return mask.Luma(x, y) > 250; };
    // The strip is drawn from x = 4 * clip - 85; all of it left of the window must be covered.
    for (int x = 0; x < static_cast<int>(kAmmoWindow.x); ++x)
        for (int y = static_cast<int>(kAmmoWindow.y); y < kAmmoWindow.y + kAmmoWindow.h; ++y)
            ASSERT_TRUE(opaque(x, y)) << x << "," << y;
    // Full clip of 30: the strip's last cartridge ends at 4 * 30 - 85 + 121 = 156, inside the window.
    for (int x = static_cast<int>(kAmmoWindow.x); x < 4 * 30 - 85 + 121; ++x)
        EXPECT_FALSE(opaque(x, static_cast<int>(kAmmoWindow.y) + 6)) << "clip window covered at " << x;
    // The life bar is 0.745 px per hit point, up to 200.
    for (int x = static_cast<int>(kHealthWindow.x); x < 34 + 149; ++x)
        EXPECT_FALSE(opaque(x, static_cast<int>(kHealthWindow.y) + 2)) << "life window covered at " << x;
    // Right of the frame the bar's own face shows the score.
    EXPECT_FALSE(opaque(300, 12));
}

class UiLayout : public ::testing::TestWithParam<const Words*> {};

TEST_P(UiLayout, EveryButtonSitsInsideItsPictureAndOnItsFace) {
    const std::string folder = *GetParam()->folder ? std::string(GetParam()->folder) + "/" : "";
    std::map<std::string, std::pair<int, int>> sizes;
    for (const PictureSize& p : kButtonPictures) {
        sizes[p.picture] = {p.w, p.h};
        const Picture pic = Load(folder + p.picture);
        EXPECT_TRUE(pic.w == p.w && pic.h == p.h) << folder << p.picture;
    }
    std::map<std::string, Picture> masks{{"COMPLETE.bmp", Load(folder + "COMPLETE_MASK.bmp")},
                                         {"GAME_OVER_M.bmp", Load(folder + "MASK_GAME_OVER.bmp")},
                                         {"LEVEL.bmp", Load(folder + "LEVEL_MASK.bmp")}};
    // A picture with its own alpha is its own mask.
    Picture line = Load(folder + "OPTIONS_LANGUAGE.TGA");
    for (size_t i = 0; i < line.rgba.size(); i += 4)
        line.rgba[i] = line.rgba[i + 1] = line.rgba[i + 2] = line.rgba[i + 3];
    masks["OPTIONS_LANGUAGE.TGA"] = line;
    for (const ButtonSpot& s : kButtons) {
        ASSERT_TRUE(sizes.count(s.picture)) << s.picture;
        const auto [w, h] = sizes[s.picture];
        const Rect r = Drawn(s);
        const float x0 = std::max(r.x, 0.0f), y0 = std::max(r.y, 0.0f);
        const float x1 = std::min(r.x + r.w, static_cast<float>(w)),
                    y1 = std::min(r.y + r.h, static_cast<float>(h));
        const float shown = std::max(0.0f, x1 - x0) * std::max(0.0f, y1 - y0) / (r.w * r.h);
        // Full-screen menus may let a rectangle run past the screen edge (the first level column starts at
        // x -49); pictures laid over the battlefield must hold their buttons whole.
        if (w == 800 && h == 600) {
            EXPECT_GT(shown, 0.8f) << s.picture << " " << s.line;
        } else {
            EXPECT_FLOAT_EQ(shown, 1.0f) << s.picture << " " << s.line;
        }
        if (masks.count(s.picture)) {
            const Picture& m = masks[s.picture];
            EXPECT_GT(m.Luma(static_cast<int>(r.x + r.w / 2), static_cast<int>(r.y + r.h / 2)), 250)
                << s.line << " lies off the visible part of " << s.picture;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, UiLayout, ::testing::ValuesIn(kLanguages), [](const auto& info) {
    return std::string(*info.param->folder ? "English" : "Russian");
});

TEST(UiLayout, PointerTipIsTheTestedPoint) {
    // Options, mission list and upgrade panel test cursor - 12: that must be the tip of the menu pointer.
    const Picture mask = Load("CURSOR_MENU_MASK.bmp");
    ASSERT_EQ(mask.w, kCursorSize);
    EXPECT_GT(mask.Luma(kPointerTip + 1, kPointerTip + 2), 200);
    for (int y = 0; y < kPointerTip - 2; ++y)
        for (int x = 0; x < kCursorSize; ++x)
            ASSERT_LT(mask.Luma(x, y), 40) << "pointer reaches above its tip";
    for (int y = 0; y < kCursorSize; ++y)
        for (int x = 0; x < kPointerTip - 2; ++x)
            ASSERT_LT(mask.Luma(x, y), 40) << "pointer reaches left of its tip";
    // Spot checks of the table against the game's own numbers.
    const Rect level1 = Drawn(Find("MISSION.jpg", "level 1"));
    EXPECT_FLOAT_EQ(level1.x, -49);
    EXPECT_FLOAT_EQ(level1.y, 192);
    const Rect again = Drawn(Find("GAME_OVER_M.bmp", "play again"));
    EXPECT_FLOAT_EQ(again.x, 268 + 5 - 12 - 240);
    EXPECT_FLOAT_EQ(again.y, 330 + 5 - 12 - 225);
    const Rect next = Drawn(Find("COMPLETE.bmp", "next level"));
    EXPECT_FLOAT_EQ(next.x, 280 - 12 - 245);
    const Rect mark = Drawn(kButtons.back());
    EXPECT_FLOAT_EQ(mark.x, 242);
    EXPECT_FLOAT_EQ(mark.y, 118 + 22 * 9 - 70);
}

TEST(UiText, DecodesUtf8AndReplacesBrokenBytes) {
    using V = std::vector<uint32_t>;
    EXPECT_EQ(artgen::DecodeUtf8("Ёж №5"), (V{0x401, 0x436, 0x20, 0x2116, 0x35}));
    EXPECT_EQ(artgen::DecodeUtf8("a\x80"
                                 "b"),
              (V{'a', 0xFFFD, 'b'}))
        << "stray continuation byte";
    EXPECT_EQ(artgen::DecodeUtf8("a\xD0"), (V{'a', 0xFFFD})) << "sequence cut short at the end";
    EXPECT_EQ(artgen::DecodeUtf8("\xD0x"), (V{0xFFFD, 'x'})) << "lead byte without its continuation";
}

// The glows are additive over the menu pictures: their brightest part has to fall on the line they light.
TEST(UiPictures, MenuGlowsSitOnTheirLines) {
    const Picture light = Load("MENU_LIGHT.bmp");
    ASSERT_EQ(light.h, static_cast<int>(kMenuLightH));
    const Rect line = Drawn(Find("MAIN_MENU.jpg", "new game"));
    int brightest = 0;
    for (int y = 0; y < light.h; ++y)
        if (light.Luma(100, y) > light.Luma(100, brightest)) brightest = y;
    EXPECT_GE(brightest, line.y - kMenuLightY[0]);
    EXPECT_LT(brightest, line.y + line.h - kMenuLightY[0]);
    EXPECT_LT(light.Luma(100, 0), 10) << "the glow must fade out before the picture's edge";

    // The level lights are drawn over exactly the level's rectangle: bright in the middle, dark at the ends.
    const Picture bar = Load("MENU_LINE_LIGHT.bmp");
    ASSERT_EQ(bar.w, 300);
    EXPECT_GT(bar.Luma(150, 15), 60);
    EXPECT_LT(bar.Luma(0, 15), 5);
    EXPECT_LT(bar.Luma(299, 15), 5);
}

TEST(UiPictures, SameBytesOnEveryRun) {
    const fs::path dir = fs::temp_directory_path() / ("drelmont_ui_" + std::to_string(::getpid()));
    fs::create_directories(dir / "PICTURE");
    artgen::GenerateScreens(dir.string());
    artgen::GenerateFont(dir.string());
    auto bytes = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir / "PICTURE")) {
        if (!entry.is_regular_file()) continue;
        const fs::path built = fs::path(DataRoot()) / "PICTURE" / fs::relative(entry.path(), dir / "PICTURE");
        EXPECT_TRUE(bytes(entry.path()) == bytes(built)) << built << " differs between runs";
        ++compared;
    }
    EXPECT_TRUE(bytes(dir / "TEXTING.bmp.ofi") == bytes(fs::path(DataRoot()) / "TEXTING.bmp.ofi"));
    EXPECT_EQ(compared, 33 + 15) << "pictures written by the menu and HUD part, then their English twins";
    fs::remove_all(dir);
}

} // namespace
