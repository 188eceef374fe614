// A small software drawing toolkit for the art generator: float RGBA images, antialiased shapes, noise and
// file writers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace artgen {

// Straight (not premultiplied) RGBA, each channel nominally 0..1.
struct Color {
    float r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB with the given opacity.
Color Hex(uint32_t rgb, float a = 1.0f);
Color Rgba(float r, float g, float b, float a = 1.0f);
Color Lerp(const Color& a, const Color& b, float t);
// Multiplies r, g, b by k (alpha kept): k < 1 darkens, k > 1 brightens.
Color Shade(const Color& c, float k);
Color WithAlpha(const Color& c, float a);

struct Vec2 {
    float x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float k) {
    return {a.x * k, a.y * k};
}
// p rotated about the origin by deg degrees, clockwise on screen (y down).
Vec2 Rotate(Vec2 p, float deg);

float Clamp01(float v);
float SmoothStep(float e0, float e1, float v);

// Integer hash of up to three values; the root of every random-looking thing the generator makes.
uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0);

// Deterministic random numbers (splitmix64); seed one per picture so pictures don't depend on each other.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint32_t Next();
    float Uniform();                 // [0, 1)
    float Range(float lo, float hi); // [lo, hi)
    int Int(int n);                  // [0, n)
    float Signed() { return Range(-1.0f, 1.0f); }

  private:
    uint64_t state_;
};

// Smooth value noise in about [0, 1]; one unit of x or y is one lattice cell.
float ValueNoise(float x, float y, uint32_t seed);
// Fractal sum of octaves of value noise, normalised to about [0, 1].
float Fbm(float x, float y, uint32_t seed, int octaves, float lacunarity = 2.0f, float gain = 0.5f);
// Value noise that repeats every `period` cells in x and y (for seamless tiles).
float TileNoise(float x, float y, int period, uint32_t seed);
float TileFbm(float x, float y, int period, uint32_t seed, int octaves, float gain = 0.5f);

// A shape is a signed distance in pixels (negative inside) plus the box it may cover.
// Coverage is antialiased over about one pixel of the distance.
struct Shape {
    std::function<float(float x, float y)> dist;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
Shape Circle(Vec2 c, float r);
Shape Ellipse(Vec2 c, float rx, float ry, float angleDeg = 0);
Shape Ring(Vec2 c, float r, float width);
// A segment with round ends; TaperedCapsule has a different radius at each end (limbs, fingers).
Shape Capsule(Vec2 a, Vec2 b, float r);
Shape TaperedCapsule(Vec2 a, Vec2 b, float ra, float rb);
Shape Polygon(std::vector<Vec2> pts);
Shape RoundedRect(Vec2 c, float halfW, float halfH, float radius, float angleDeg = 0);
Shape Union(const Shape& a, const Shape& b);
Shape Subtract(const Shape& a, const Shape& b);
// Grows (d > 0) or shrinks the shape by d pixels.
Shape Inflate(const Shape& s, float d);

// Colour as a function of position: gradients, noise textures, anything.
using Shader = std::function<Color(float x, float y)>;
Shader Solid(Color c);
Shader LinearGradient(Vec2 p0, Vec2 p1, Color c0, Color c1);
Shader RadialGradient(Vec2 c, float r, Color inner, Color outer);
// Lights a base colour as if the shape were a dome lit from `lightDir` (screen direction).
Shader DomeShade(Vec2 c, float r, Color base, Vec2 lightDir = {-0.6f, -0.8f}, float strength = 0.55f);

enum class Blend {
    Over,     // normal alpha
    Add,      // additive, scaled by source alpha
    Multiply, // darkens the destination by the source colour
    Replace,  // writes the source as is, alpha included
};

class Image {
  public:
    Image() = default;
    Image(int w, int h, Color fill = {});

    int Width() const { return w_; }
    int Height() const { return h_; }
    Color& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
    const Color& At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
    // Bilinear sample at pixel-centre coordinates (x + 0.5 is the centre of column x); outside is
    // transparent.
    Color Sample(float x, float y) const;

    void Fill(Color c);
    void Fill(const Shader& s);
    void Put(int x, int y, Color c, Blend blend = Blend::Over);
    void FillShape(const Shape& s, Color c, Blend blend = Blend::Over);
    void FillShape(const Shape& s, const Shader& shader, Blend blend = Blend::Over);
    void Line(Vec2 a, Vec2 b, float width, Color c, Blend blend = Blend::Over);

    // Draws src with its top-left corner at (x, y).
    void Draw(const Image& src, int x, int y, Blend blend = Blend::Over);
    // Draws src centred at c, rotated clockwise by angleDeg and scaled, with bilinear filtering.
    void DrawTransformed(const Image& src, Vec2 c, float angleDeg, float scale = 1.0f,
                         Blend blend = Blend::Over);
    // Draws src into the rectangle (x, y, w, h), stretched, with bilinear filtering.
    void DrawScaled(const Image& src, float x, float y, float w, float h, Blend blend = Blend::Over);

    Image Crop(int x, int y, int w, int h) const;
    // Box-filter reduction by an integer factor: draw big, shrink for clean edges.
    Image Downsample(int factor) const;
    // Same colours, alpha multiplied by k.
    void Fade(float k);
    // Multiplies the alpha by the luminance of a same-sized mask.
    void ApplyMask(const Image& mask);

  private:
    int w_ = 0, h_ = 0;
    std::vector<Color> px_;
};

// Separable Gaussian blur of every channel (premultiplied inside, so edges don't darken).
Image Blur(const Image& src, float sigma);
// A soft shadow of src's alpha, offset by (dx, dy), under src; same size as src.
Image WithDropShadow(const Image& src, float dx, float dy, float sigma, float opacity);
// src with an outline of the given width and colour around its opaque part; same size as src.
Image WithOutline(const Image& src, float width, Color c);

// Masks as the engine reads them: white where opaque, black where transparent, fully opaque pixels.
Image AlphaMask(const Image& src);
// A mask of src's luminance (for masks drawn in grey).
Image LuminanceMask(const Image& src);
// src composited over a solid background, alpha dropped (for colour-keyed and plain pictures).
Image Flatten(const Image& src, Color background);

// 8-bit conversion rounds to nearest; values are clamped to 0..255.
uint8_t ToByte(float v);

// Writers; each returns false when the file can't be written. BMP and JPG drop alpha: Flatten first.
bool WriteBmp(const std::string& path, const Image& img); // 24-bit, uncompressed, bottom-up
bool WriteTga(const std::string& path, const Image& img); // 32-bit with alpha, uncompressed
bool WriteJpg(const std::string& path, const Image& img, int quality = 92);
bool WritePng(const std::string& path, const Image& img); // 32-bit with alpha

} // namespace artgen
