// Tests of the world pictures: the generator's real output, checked for shape, sizes, keys and repeatability.
#include "canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

namespace {

struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * w + x) * 4]; }
    float Luma(int x, int y) const {
        const uint8_t* p = At(x, y);
        return 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
    }
};

Picture Decode(const std::string& path) {
    Picture pic;
    int comp = 0;
    stbi_uc* data = stbi_load(path.c_str(), &pic.w, &pic.h, &comp, 4);
    if (!data) return pic;
    pic.rgba.assign(data, data + static_cast<size_t>(pic.w) * pic.h * 4);
    stbi_image_free(data);
    return pic;
}

// The game's data folder as the build wrote it (the test target depends on the data being generated).
std::string DataDir() {
    const char* env = std::getenv("DRELMONT_BUILD");
    return std::string(env ? env : DRELMONT_DATA_DIR) + "/PICTURE/";
}

Picture Load(const std::string& name) {
    Picture pic = Decode(DataDir() + name);
    EXPECT_GT(pic.w, 0) << name << " is missing or unreadable";
    return pic;
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::map<std::string, std::string> FilesUnder(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = ReadAll(e.path());
    }
    return files;
}

const std::vector<std::pair<std::string, std::string>> kMaskedPairs = {
    {"PLAYER.bmp", "PLAYER_MASK.bmp"},       {"BULLET1.bmp", "MASK_ZAMOR.bmp"},
    {"BULLET3.bmp", "MASK_ZAMOR.bmp"},       {"BULLET6.bmp", "BULLETMASK13.bmp"},
    {"BULLET5.bmp", "BULLETMASK13.bmp"},     {"BULLET7.bmp", "BULLET_M4.bmp"},
    {"BULLET1.bmp", "BULLET_M1.bmp"},        {"BULLET2.bmp", "BULLET_M3.bmp"},
    {"BULLET5.bmp", "BULLET_M6.bmp"},        {"BULLET.bmp", "BULLET_M7.bmp"},
    {"BULLET4.bmp", "BULLET_M8.bmp"},        {"BULLET3.bmp", "BULLET_M5.bmp"},
    {"BULLET2.bmp", "BULLET_M2.bmp"},        {"BULLET.bmp", "BULLETMASK16.bmp"},
    {"BULLET2.bmp", "CURSORMASK.bmp"},       {"PRIZEL_M_MASK.bmp", "PRIZEL_M.bmp"},
    {"PRIZEL_M_MASK_G.bmp", "PRIZEL_M.bmp"}, {"KRATER.bmp", "KRATER_MASK.bmp"},
    {"RADIOAC.bmp", "RADIOAC_MASK.bmp"},
};

const std::vector<std::string> kIcons = {"W_GUN.TGA",   "W_ONES.TGA",     "W_TWOS.TGA",  "W_THREES.TGA",
                                         "W_FOURS.TGA", "W_FIVES.TGA",    "W_SIXS.TGA",  "W_SEVENS.TGA",
                                         "B_NUKES.TGA", "B_TIMES_UP.TGA", "B_LIFES.TGA", "B_SUN.TGA",
                                         "B_TIMES.TGA"};

const std::vector<std::string> kMonsterSheets = {"M_NORMAL.TGA", "M_MORE.TGA", "M_NEW.TGA"};

int FrameCount(const Picture& p, int fw, int fh) {
    return (p.w / fw) * (p.h / fh);
}

// Alpha of a frame's pixel, frames numbered from 1 row by row as the engine cuts them.
int FrameAlpha(const Picture& p, int fw, int fh, int frame, int x, int y) {
    const int cols = p.w / fw;
    return p.At((frame - 1) % cols * fw + x, (frame - 1) / cols * fh + y)[3];
}

int FrameCoverage(const Picture& p, int fw, int fh, int frame) {
    int n = 0;
    for (int y = 0; y < fh; ++y) {
        for (int x = 0; x < fw; ++x)
            n += FrameAlpha(p, fw, fh, frame, x, y) > 128;
    }
    return n;
}

int FrameDifference(const Picture& p, int fw, int fh, int a, int b) {
    int n = 0;
    for (int y = 0; y < fh; ++y) {
        for (int x = 0; x < fw; ++x)
            n += std::abs(FrameAlpha(p, fw, fh, a, x, y) - FrameAlpha(p, fw, fh, b, x, y)) > 64;
    }
    return n;
}

} // namespace

TEST(Generator, TwoRunsWriteIdenticalBytes) {
    const fs::path base = fs::temp_directory_path() / ("drelmont_artgen_" + std::to_string(getpid()));
    const fs::path a = base / "a", b = base / "b";
    fs::create_directories(a);
    fs::create_directories(b);
    for (const fs::path& dir : {a, b}) {
        const std::string cmd = std::string("\"") + ARTGEN_PATH + "\" \"" + dir.string() + "\" > /dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    const auto first = FilesUnder(a), second = FilesUnder(b);
    fs::remove_all(base);
    ASSERT_FALSE(first.empty());
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        const auto it = second.find(name);
        ASSERT_NE(it, second.end()) << name << " written only by the first run";
        EXPECT_TRUE(it->second == bytes) << name << " differs between runs";
    }
    for (const char* name :
         {"PICTURE/PLAYER.bmp", "PICTURE/M_MORE.TGA", "PICTURE/EXPLOSION.jpg", "PICTURE/MAP_4.jpg"}) {
        EXPECT_TRUE(first.count(name)) << name;
    }
}

TEST(Pictures, EveryMaskHasTheSizeOfItsPicture) {
    for (const auto& [picture, mask] : kMaskedPairs) {
        const Picture p = Load(picture), m = Load(mask);
        EXPECT_EQ(p.w, m.w) << picture << " under " << mask;
        EXPECT_EQ(p.h, m.h) << picture << " under " << mask;
    }
}

TEST(Pictures, MasksAreGreyAndClearAtTheCorners) {
    for (const auto& entry : kMaskedPairs) {
        const Picture m = Load(entry.second);
        for (int y = 0; y < m.h; ++y) {
            for (int x = 0; x < m.w; ++x) {
                const uint8_t* px = m.At(x, y);
                ASSERT_TRUE(px[0] == px[1] && px[1] == px[2])
                    << entry.second << " is not grey at " << x << "," << y;
            }
        }
        EXPECT_EQ(m.At(0, 0)[0], 0) << entry.second;
        EXPECT_EQ(m.At(m.w - 1, m.h - 1)[0], 0) << entry.second;
    }
}

TEST(Pictures, SpriteSheetsCutIntoWholeFrames) {
    const Picture player = Load("PLAYER.bmp");
    EXPECT_EQ(player.w % 64, 0);
    EXPECT_EQ(player.h % 64, 0);
    EXPECT_GE(FrameCount(player, 64, 64), 8);
    for (const std::string& name : kMonsterSheets) {
        const Picture p = Load(name);
        EXPECT_EQ(p.w % 64, 0) << name;
        EXPECT_EQ(p.h % 64, 0) << name;
        EXPECT_EQ(FrameCount(p, 64, 64), 30)
            << name; // walk 1..20, death 21..30: more would show as walk frames
    }
    const Picture explosion = Load("EXPLOSION.jpg");
    EXPECT_EQ(explosion.w % 64, 0);
    EXPECT_EQ(FrameCount(explosion, 64, 64), 16);
    for (const std::string& name : kIcons) {
        const Picture p = Load(name);
        EXPECT_EQ(p.w % 48, 0) << name;
        EXPECT_EQ(p.h % 48, 0) << name;
        EXPECT_GE(FrameCount(p, 48, 48), 17) << name;
    }
}

// Filtering reads across frame borders; a sprite touching its frame's edge would bleed into its neighbour.
TEST(Pictures, AnimatedFramesKeepAClearBorder) {
    auto check = [](const std::string& name, const Picture& p, int fw, int fh) {
        for (int f = 1; f <= FrameCount(p, fw, fh); ++f) {
            int touching = 0;
            for (int i = 0; i < fw; ++i) {
                touching += FrameAlpha(p, fw, fh, f, i, 0) > 16;
                touching += FrameAlpha(p, fw, fh, f, i, fh - 1) > 16;
                touching += FrameAlpha(p, fw, fh, f, 0, i) > 16;
                touching += FrameAlpha(p, fw, fh, f, fw - 1, i) > 16;
            }
            EXPECT_EQ(touching, 0) << name << " frame " << f;
        }
    };
    for (const std::string& name : kMonsterSheets)
        check(name, Load(name), 64, 64);
    for (const std::string& name : kIcons)
        check(name, Load(name), 48, 48);
    Picture player = Load("PLAYER.bmp");
    const Picture mask = Load("PLAYER_MASK.bmp");
    for (size_t i = 0; i < player.rgba.size(); i += 4)
        player.rgba[i + 3] = mask.rgba[i];
    check("PLAYER.bmp", player, 64, 64);
}

TEST(Pictures, MonstersWalkThenDieIntoACorpse) {
    for (const std::string& name : kMonsterSheets) {
        const Picture p = Load(name);
        for (int f = 1; f <= 30; ++f)
            EXPECT_GT(FrameCoverage(p, 64, 64, f), 300) << name << " frame " << f << " is empty";
        EXPECT_GT(FrameDifference(p, 64, 64, 1, 6), 20) << name << ": the walk does not move";
        EXPECT_GT(FrameDifference(p, 64, 64, 1, 30), 100)
            << name << ": the corpse looks like a walking frame";
        // Frame 20 shows for a moment before the wrap to 1: the cycle must close with an ordinary step.
        EXPECT_LE(FrameDifference(p, 64, 64, 20, 1), FrameDifference(p, 64, 64, 2, 1) * 3 / 2 + 10) << name;
    }
    const Picture player = Load("PLAYER_MASK.bmp");
    Picture asAlpha = player;
    for (size_t i = 0; i < asAlpha.rgba.size(); i += 4)
        asAlpha.rgba[i + 3] = player.rgba[i];
    EXPECT_GT(FrameDifference(asAlpha, 64, 64, 1, 5), 20) << "the soldier's walk does not move";
}

// At draw angle 0 the zombie sheet faces up and every other creature faces down; the game's angle
// offsets depend on it. Told by the glowing eyes, the arms and the rifle.
TEST(Pictures, SheetsFaceTheWayTheGameTurnsThem) {
    auto meanY = [](const Picture& p, int frame, auto&& select) {
        float sum = 0, n = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const uint8_t* px =
                    p.At((frame - 1) % (p.w / 64) * 64 + x, (frame - 1) / (p.w / 64) * 64 + y);
                if (select(px)) sum += y, n += 1;
            }
        }
        EXPECT_GT(n, 0) << "nothing selected";
        return sum / std::max(n, 1.0f) - 31.5f;
    };
    auto opaque = [](const uint8_t* px) { return px[3] > 128; };
    auto yellowEye = [](const uint8_t* px) {
        return px[3] > 128 && px[0] > 200 && px[1] > 200 && px[2] < 120;
    };
    auto redEye = [](const uint8_t* px) { return px[3] > 128 && px[0] > 200 && px[1] < 90; };
    // The zombie's arms reach ahead of it, so its bulk lies toward its front.
    EXPECT_LT(meanY(Load("M_MORE.TGA"), 1, opaque), -1.0f);
    EXPECT_GT(meanY(Load("M_NORMAL.TGA"), 1, yellowEye), 4.0f);
    EXPECT_GT(meanY(Load("M_NEW.TGA"), 1, redEye), 4.0f);
    Picture player = Load("PLAYER.bmp");
    const Picture mask = Load("PLAYER_MASK.bmp");
    for (size_t i = 0; i < player.rgba.size(); i += 4)
        player.rgba[i + 3] = mask.rgba[i];
    // The rifle reaches toward the bottom of the frame; nothing reaches as far toward its top.
    int low = 0, high = 0;
    for (int x = 0; x < 64; ++x) {
        low += FrameAlpha(player, 64, 64, 1, x, 58) > 128;
        high += FrameAlpha(player, 64, 64, 1, x, 5) > 128;
    }
    EXPECT_GT(low, 0);
    EXPECT_EQ(high, 0);
}

TEST(Pictures, BlackKeyedPicturesHaveExactlyBlackCorners) {
    for (const char* name : {"EXPLOSION.jpg", "NUKE1.bmp", "NUKE3.bmp", "NUKE3.jpg", "VOLNA.jpg"}) {
        const Picture p = Load(name);
        for (const auto& [x, y] : {std::pair{0, 0}, {p.w - 1, 0}, {0, p.h - 1}, {p.w - 1, p.h - 1}}) {
            const uint8_t* px = p.At(x, y);
            EXPECT_EQ(px[0] + px[1] + px[2], 0) << name << " at " << x << "," << y;
        }
    }
    // Each explosion frame's corners too: the sheet is cut into 16 pictures that each key out their ground.
    const Picture ex = Load("EXPLOSION.jpg");
    for (int f = 0; f < 16; ++f) {
        const uint8_t* px = ex.At(f % 4 * 64 + 1, f / 4 * 64 + 1);
        EXPECT_EQ(px[0] + px[1] + px[2], 0) << "explosion frame " << f + 1;
    }
}

// Ground pictures are laid edge to edge over the battlefield: the seam must look like any other column.
TEST(Pictures, GroundsRepeatWithoutVisibleSeams) {
    for (const char* name : {"MAP_1.jpg", "MAP_4.jpg"}) {
        const Picture p = Load(name);
        ASSERT_EQ(p.w, p.h) << name;
        auto columnStep = [&](int x0, int x1) {
            float d = 0;
            for (int y = 0; y < p.h; ++y)
                d += std::abs(p.Luma(x0, y) - p.Luma(x1, y));
            return d / p.h;
        };
        auto rowStep = [&](int y0, int y1) {
            float d = 0;
            for (int x = 0; x < p.w; ++x)
                d += std::abs(p.Luma(x, y0) - p.Luma(x, y1));
            return d / p.w;
        };
        float inner = 0;
        for (int x = 1; x < p.w; ++x)
            inner += columnStep(x - 1, x);
        inner /= p.w - 1;
        EXPECT_LT(columnStep(p.w - 1, 0), inner * 1.6f) << name << " left/right seam";
        EXPECT_LT(rowStep(p.h - 1, 0), inner * 1.6f) << name << " top/bottom seam";
    }
    const Picture a = Load("MAP_1.jpg"), b = Load("MAP_4.jpg");
    float diff = 0;
    for (int y = 0; y < a.h; ++y) {
        for (int x = 0; x < a.w; ++x)
            diff += std::abs(a.Luma(x, y) - b.Luma(x, y));
    }
    EXPECT_GT(diff / (a.w * a.h), 10.0f) << "the two battlefields look alike";
}

TEST(Pictures, LightIsBrightAtTheSoldierAndDimButNotBlackAtTheScreenEdge) {
    const Picture p = Load("LIGHT.jpg");
    EXPECT_GT(p.Luma(p.w / 2, p.h / 2), 235.0f);
    // The light is drawn 1600 x 1200 centred on the soldier, so the 800 x 600 screen's corners fall at a
    // quarter of the picture from its centre.
    const float corner = p.Luma(p.w / 4, p.h / 4);
    EXPECT_GT(corner, 25.0f);
    EXPECT_LT(corner, 140.0f);
}

TEST(Pictures, PlainPicturesAreOpaqueWhereTheGameDrawsThemWhole) {
    // The mine (drawn 8 x 8) and the spent case (2 x 4) have no mask: every pixel shows.
    for (const char* name : {"MINE1.bmp", "EMPTY.bmp"}) {
        const Picture p = Load(name);
        float darkest = 255;
        for (int y = 0; y < p.h; ++y) {
            for (int x = 0; x < p.w; ++x)
                darkest = std::min(darkest, p.Luma(x, y));
        }
        EXPECT_GT(darkest, 10.0f) << name << " has near-black pixels that would read as holes";
    }
    const Picture brass = Load("EMPTY.bmp");
    const uint8_t* mid = brass.At(brass.w / 2, brass.h / 2);
    EXPECT_GT(mid[0], mid[2] + 40) << "the case is not brass-coloured";
}

TEST(Pictures, BloodIsRedOnEveryTraceTheGamePicks) {
    for (const char* name : {"BLOOD01.TGA", "BLOOD03.TGA", "BLOOD04.TGA"}) {
        const Picture p = Load(name);
        const uint8_t* c = p.At(p.w / 2, p.h / 2);
        EXPECT_GT(c[3], 200) << name;
        EXPECT_GT(c[0], 2 * std::max(c[1], c[2])) << name;
        EXPECT_EQ(p.At(0, 0)[3], 0) << name;
    }
}
