// Tests of the drawing toolkit: shapes, compositing, noise and the file writers read back by stb_image.
#include "canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image.h>
#pragma GCC diagnostic pop

using namespace artgen;

namespace {

std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "_" + name)).string();
}

float TotalAlpha(const Image& img) {
    float sum = 0;
    for (int y = 0; y < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x)
            sum += img.At(x, y).a;
    }
    return sum;
}

// An image whose every pixel differs, with an odd width so BMP rows need padding.
Image Pattern(int w, int h, bool alpha) {
    Image img(w, h);
    Rng rng(7);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            img.At(x, y) = {rng.Int(256) / 255.0f, rng.Int(256) / 255.0f, rng.Int(256) / 255.0f,
                            alpha ? rng.Int(256) / 255.0f : 1.0f};
        }
    }
    return img;
}

} // namespace

TEST(Shapes, CoverTheirAreaWithSoftEdges) {
    Image img(64, 64);
    img.FillShape(Circle({32, 32}, 10), Hex(0xffffff));
    EXPECT_NEAR(TotalAlpha(img), 3.14159f * 100, 3.0f);
    EXPECT_FLOAT_EQ(img.At(32, 32).a, 1.0f);
    EXPECT_FLOAT_EQ(img.At(0, 0).a, 0.0f);
    // A pixel straddling the edge is partly covered.
    const float edge = img.At(38, 39).a;
    EXPECT_GT(edge, 0.05f);
    EXPECT_LT(edge, 0.95f);

    Image poly(64, 64);
    poly.FillShape(Polygon({{10, 10}, {50, 10}, {50, 30}, {10, 30}}), Hex(0xffffff));
    EXPECT_NEAR(TotalAlpha(poly), 800, 2.0f);
    Image rect(64, 64);
    rect.FillShape(RoundedRect({30, 20}, 20, 10, 0), Hex(0xffffff));
    EXPECT_NEAR(TotalAlpha(rect), 800, 2.0f);
    Image ring(64, 64);
    ring.FillShape(Subtract(Circle({32, 32}, 12), Circle({32, 32}, 8)), Hex(0xffffff));
    EXPECT_NEAR(TotalAlpha(ring), 3.14159f * (144 - 64), 3.0f);
    EXPECT_FLOAT_EQ(ring.At(32, 32).a, 0.0f);
}

TEST(Compositing, BlendsAsTheEngineDoes) {
    Image img(1, 1, Hex(0x204060));
    img.Put(0, 0, Hex(0xffffff, 0.5f));
    EXPECT_NEAR(img.At(0, 0).r, (0x20 / 255.0f + 1) / 2, 1e-5f);
    EXPECT_FLOAT_EQ(img.At(0, 0).a, 1.0f);

    Image add(1, 1, Rgba(0.5f, 0.2f, 0.1f));
    add.Put(0, 0, Rgba(0.25f, 0.25f, 0.25f, 1), Blend::Add);
    EXPECT_NEAR(add.At(0, 0).r, 0.75f, 1e-5f);
    EXPECT_NEAR(add.At(0, 0).b, 0.35f, 1e-5f);

    Image mul(1, 1, Rgba(0.8f, 0.8f, 0.8f));
    mul.Put(0, 0, Rgba(0.5f, 1.0f, 0.0f), Blend::Multiply);
    EXPECT_NEAR(mul.At(0, 0).r, 0.4f, 1e-5f);
    EXPECT_NEAR(mul.At(0, 0).g, 0.8f, 1e-5f);
    EXPECT_NEAR(mul.At(0, 0).b, 0.0f, 1e-5f);

    // Over a transparent pixel the source colour is kept as is, not darkened by the empty destination.
    Image clear(1, 1);
    clear.Put(0, 0, Rgba(1, 0.5f, 0, 0.25f));
    EXPECT_NEAR(clear.At(0, 0).g, 0.5f, 1e-5f);
    EXPECT_NEAR(clear.At(0, 0).a, 0.25f, 1e-5f);
}

TEST(Filters, BlurAndOutlineKeepShapesWhereTheyWere) {
    Image dot(32, 32);
    dot.FillShape(Circle({16, 16}, 4), Hex(0xff0000));
    const Image blurred = Blur(dot, 2.0f);
    EXPECT_NEAR(TotalAlpha(blurred), TotalAlpha(dot), 0.5f);
    // Colour stays red where only a little alpha spread: premultiplied blurring doesn't fade to black.
    EXPECT_NEAR(blurred.At(16, 24).r, 1.0f, 1e-3f);
    EXPECT_GT(blurred.At(16, 24).a, 0.0f);

    const Image outlined = WithOutline(dot, 2.0f, Hex(0x000000));
    EXPECT_GT(TotalAlpha(outlined), TotalAlpha(dot) + 20);
    EXPECT_NEAR(outlined.At(16, 16).r, 1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(outlined.At(16, 20).r, 0.0f);
    EXPECT_GT(outlined.At(16, 20).a, 0.9f);
    EXPECT_FLOAT_EQ(outlined.At(16, 23).a, 0.0f);

    const Image mask = AlphaMask(dot);
    EXPECT_FLOAT_EQ(mask.At(16, 16).g, 1.0f);
    EXPECT_FLOAT_EQ(mask.At(0, 0).g, 0.0f);
    EXPECT_FLOAT_EQ(mask.At(0, 0).a, 1.0f);
}

TEST(Transforms, RotationTurnsClockwiseOnScreen) {
    // A mark below the centre, turned by 90 degrees clockwise, lands left of the centre.
    Image src(16, 16);
    src.FillShape(Circle({8, 13}, 2), Hex(0xffffff));
    Image dst(16, 16);
    dst.DrawTransformed(src, {8, 8}, 90);
    EXPECT_GT(dst.At(2, 8).a, 0.8f);
    EXPECT_LT(dst.At(13, 8).a, 0.1f);
    const Vec2 p = Rotate({0, 1}, 90);
    EXPECT_NEAR(p.x, -1, 1e-6f);
    EXPECT_NEAR(p.y, 0, 1e-6f);
}

TEST(Transforms, ScalingCroppingAndMasksKeepColoursHonest) {
    // Half red, half clear: shrinking averages coverage but keeps the colour red, not darkened toward black.
    Image half(2, 2);
    half.At(0, 0) = half.At(0, 1) = Hex(0xff0000);
    const Image small = half.Downsample(2);
    EXPECT_NEAR(small.At(0, 0).a, 0.5f, 1e-5f);
    EXPECT_NEAR(small.At(0, 0).r, 1.0f, 1e-5f);

    const Image cut = half.Crop(1, 1, 2, 2);
    EXPECT_FLOAT_EQ(cut.At(0, 0).a, 0.0f);
    EXPECT_FLOAT_EQ(cut.At(1, 1).a, 0.0f); // outside the source: transparent

    Image big(8, 8);
    big.DrawScaled(Image(1, 1, Hex(0x00ff00)), 2, 2, 4, 4);
    EXPECT_FLOAT_EQ(big.At(3, 3).g, 1.0f);
    EXPECT_FLOAT_EQ(big.At(0, 0).a, 0.0f);

    Image grey(1, 1, Hex(0xffffff, 0.5f));
    const Image lum = LuminanceMask(grey);
    EXPECT_NEAR(lum.At(0, 0).r, 0.5f, 1e-5f);
    Image sprite(1, 1, Hex(0x3366ff));
    sprite.ApplyMask(lum);
    EXPECT_NEAR(sprite.At(0, 0).a, 0.5f, 1e-5f);
    EXPECT_NEAR(sprite.At(0, 0).b, 1.0f, 1e-5f);
}

TEST(Random, RepeatsPerSeedAndStaysInRange) {
    Rng a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const uint32_t x = a.Next();
        EXPECT_EQ(x, b.Next());
        differs |= x != c.Next();
        const int n = a.Int(7);
        b.Int(7), c.Int(7);
        EXPECT_GE(n, 0);
        EXPECT_LT(n, 7);
        const float u = a.Uniform();
        b.Uniform(), c.Uniform();
        EXPECT_GE(u, 0.0f);
        EXPECT_LT(u, 1.0f);
    }
    EXPECT_TRUE(differs);
    EXPECT_EQ(Hash(1, 2, 3), Hash(1, 2, 3));
    EXPECT_NE(Hash(1, 2, 3), Hash(3, 2, 1));
}

TEST(Noise, TileNoiseRepeatsOverItsPeriod) {
    for (float y = 0; y < 4; y += 0.37f) {
        for (float x = 0; x < 4; x += 0.29f) {
            EXPECT_NEAR(TileFbm(x, y, 4, 9, 4), TileFbm(x + 4, y, 4, 9, 4), 1e-5f);
            EXPECT_NEAR(TileFbm(x, y, 4, 9, 4), TileFbm(x, y + 4, 4, 9, 4), 1e-5f);
            const float v = Fbm(x, y, 9, 4);
            EXPECT_GE(v, 0.0f);
            EXPECT_LE(v, 1.0f);
        }
    }
}

TEST(Writers, BmpIs24BitBottomUpAndReadsBackExactly) {
    const Image img = Pattern(13, 7, false);
    const std::string path = TempFile("pattern.bmp");
    ASSERT_TRUE(WriteBmp(path, img));
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(file.size(), 54u);
    auto le = [&](size_t at, int n) {
        int v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = v * 256 + file[at + i];
        return v;
    };
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(le(2, 4), static_cast<int>(file.size()));
    EXPECT_EQ(le(22, 4), 7);  // positive height: bottom-up rows
    EXPECT_EQ(le(28, 2), 24); // bits per pixel
    EXPECT_EQ(le(30, 4), 0);  // uncompressed
    EXPECT_EQ(file.size(), 54u + 7 * 40);

    int w = 0, h = 0, comp = 0;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &comp, 3);
    std::remove(path.c_str());
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(w, 13);
    ASSERT_EQ(h, 7);
    int mismatches = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char* px = data + (y * w + x) * 3;
            const Color& c = img.At(x, y);
            mismatches += px[0] != ToByte(c.r) || px[1] != ToByte(c.g) || px[2] != ToByte(c.b);
        }
    }
    stbi_image_free(data);
    EXPECT_EQ(mismatches, 0);
}

TEST(Writers, TgaKeepsAlphaAndJpgKeepsTheSize) {
    const Image img = Pattern(9, 5, true);
    const std::string tga = TempFile("pattern.tga"), jpg = TempFile("pattern.jpg");
    ASSERT_TRUE(WriteTga(tga, img));
    ASSERT_TRUE(WriteJpg(jpg, img));
    int w = 0, h = 0, comp = 0;
    unsigned char* data = stbi_load(tga.c_str(), &w, &h, &comp, 4);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(comp, 4);
    int mismatches = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char* px = data + (y * w + x) * 4;
            const Color& c = img.At(x, y);
            mismatches += px[0] != ToByte(c.r) || px[3] != ToByte(c.a);
        }
    }
    stbi_image_free(data);
    EXPECT_EQ(mismatches, 0);
    data = stbi_load(jpg.c_str(), &w, &h, &comp, 3);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(w, 9);
    EXPECT_EQ(h, 5);
    stbi_image_free(data);
    std::remove(tga.c_str());
    std::remove(jpg.c_str());
    EXPECT_FALSE(WriteBmp("/nonexistent-dir/x.bmp", img));
}
