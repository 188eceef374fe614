// The art generator's drawing toolkit: shapes by signed distance, compositing, filters and file writers.
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace artgen {

namespace {

constexpr float kPi = 3.14159265358979f;

float Dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
float Length(Vec2 a) {
    return std::sqrt(Dot(a, a));
}

// Premultiplied form, used wherever colours are averaged so transparent pixels don't bleed their colour.
struct Premul {
    float r = 0, g = 0, b = 0, a = 0;
};
Premul ToPremul(const Color& c) {
    return {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}
Color FromPremul(const Premul& p) {
    if (p.a <= 1e-6f) return {};
    return {p.r / p.a, p.g / p.a, p.b / p.a, std::min(p.a, 1.0f)};
}

Color BlendPixel(const Color& d, Color s, float coverage, Blend blend) {
    switch (blend) {
    case Blend::Over: {
        const float sa = s.a * coverage;
        const float outA = sa + d.a * (1 - sa);
        if (outA <= 1e-6f) return {};
        const float dk = d.a * (1 - sa);
        return {(s.r * sa + d.r * dk) / outA, (s.g * sa + d.g * dk) / outA, (s.b * sa + d.b * dk) / outA,
                outA};
    }
    case Blend::Add: {
        const float sa = s.a * coverage;
        Premul p = ToPremul(d);
        p.r += s.r * sa;
        p.g += s.g * sa;
        p.b += s.b * sa;
        p.a = std::min(1.0f, p.a + sa);
        return FromPremul(p);
    }
    case Blend::Multiply: {
        const float sa = s.a * coverage;
        return {d.r * (1 + (s.r - 1) * sa), d.g * (1 + (s.g - 1) * sa), d.b * (1 + (s.b - 1) * sa), d.a};
    }
    case Blend::Replace:
        return Lerp(d, s, coverage);
    }
    return d;
}

Shape Boxed(std::function<float(float, float)> dist, float x0, float y0, float x1, float y1) {
    return Shape{std::move(dist), x0, y0, x1, y1};
}

} // namespace

Color Hex(uint32_t rgb, float a) {
    return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, a};
}
Color Rgba(float r, float g, float b, float a) {
    return {r, g, b, a};
}
Color Lerp(const Color& a, const Color& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
Color Shade(const Color& c, float k) {
    return {c.r * k, c.g * k, c.b * k, c.a};
}
Color WithAlpha(const Color& c, float a) {
    return {c.r, c.g, c.b, a};
}

Vec2 Rotate(Vec2 p, float deg) {
    const float a = deg * kPi / 180.0f;
    const float c = std::cos(a), s = std::sin(a);
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}

float Clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}
float SmoothStep(float e0, float e1, float v) {
    const float t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

uint32_t Rng::Next() {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}
float Rng::Uniform() {
    return static_cast<float>(Next() >> 8) / 16777216.0f;
}
float Rng::Range(float lo, float hi) {
    return lo + (hi - lo) * Uniform();
}
int Rng::Int(int n) {
    return n <= 0 ? 0 : static_cast<int>((static_cast<uint64_t>(Next()) * n) >> 32);
}

namespace {

float Lattice(int x, int y, uint32_t seed) {
    return Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) / 4294967295.0f;
}
float Quintic(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

float NoiseAt(float x, float y, uint32_t seed, int period) {
    const float fx = std::floor(x), fy = std::floor(y);
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    int x1 = x0 + 1, y1 = y0 + 1;
    if (period > 0) {
        auto wrap = [period](int v) { return ((v % period) + period) % period; };
        x0 = wrap(x0), x1 = wrap(x1), y0 = wrap(y0), y1 = wrap(y1);
    }
    const float tx = Quintic(x - fx), ty = Quintic(y - fy);
    const float a = Lattice(x0, y0, seed), b = Lattice(x1, y0, seed);
    const float c = Lattice(x0, y1, seed), d = Lattice(x1, y1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

} // namespace

float ValueNoise(float x, float y, uint32_t seed) {
    return NoiseAt(x, y, seed, 0);
}

float Fbm(float x, float y, uint32_t seed, int octaves, float lacunarity, float gain) {
    float sum = 0, amp = 1, total = 0, f = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * NoiseAt(x * f, y * f, Hash(seed, static_cast<uint32_t>(i)), 0);
        total += amp;
        amp *= gain;
        f *= lacunarity;
    }
    return sum / total;
}

float TileNoise(float x, float y, int period, uint32_t seed) {
    return NoiseAt(x, y, seed, period);
}

float TileFbm(float x, float y, int period, uint32_t seed, int octaves, float gain) {
    float sum = 0, amp = 1, total = 0;
    int f = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * NoiseAt(x * f, y * f, Hash(seed, static_cast<uint32_t>(i)), period * f);
        total += amp;
        amp *= gain;
        f *= 2;
    }
    return sum / total;
}

Shape Circle(Vec2 c, float r) {
    return Boxed(
        [c, r](float x, float y) {
            return Length({x - c.x, y - c.y}) - r;
        },
        c.x - r, c.y - r, c.x + r, c.y + r);
}

Shape Ellipse(Vec2 c, float rx, float ry, float angleDeg) {
    const float m = std::max(rx, ry);
    return Boxed(
        [c, rx, ry, angleDeg](float x, float y) {
            const Vec2 p = Rotate({x - c.x, y - c.y}, -angleDeg);
            const float k0 = Length({p.x / rx, p.y / ry});
            const float k1 = Length({p.x / (rx * rx), p.y / (ry * ry)});
            if (k1 < 1e-6f) return -std::min(rx, ry);
            return k0 * (k0 - 1) / k1;
        },
        c.x - m, c.y - m, c.x + m, c.y + m);
}

Shape Ring(Vec2 c, float r, float width) {
    const float o = r + width / 2;
    return Boxed(
        [c, r, width](float x, float y) {
            return std::abs(Length({x - c.x, y - c.y}) - r) - width / 2;
        },
        c.x - o, c.y - o, c.x + o, c.y + o);
}

Shape Capsule(Vec2 a, Vec2 b, float r) {
    return TaperedCapsule(a, b, r, r);
}

Shape TaperedCapsule(Vec2 a, Vec2 b, float ra, float rb) {
    const float x0 = std::min(a.x - ra, b.x - rb), x1 = std::max(a.x + ra, b.x + rb);
    const float y0 = std::min(a.y - ra, b.y - rb), y1 = std::max(a.y + ra, b.y + rb);
    return Boxed(
        [a, b, ra, rb](float x, float y) {
            const Vec2 ab = b - a, ap = Vec2{x, y} - a;
            const float len2 = Dot(ab, ab);
            const float t = len2 > 1e-6f ? Clamp01(Dot(ap, ab) / len2) : 0.0f;
            return Length(ap - ab * t) - (ra + (rb - ra) * t);
        },
        x0, y0, x1, y1);
}

Shape Polygon(std::vector<Vec2> pts) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (const Vec2& p : pts) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
    return Boxed(
        [pts = std::move(pts)](float x, float y) {
            const Vec2 p{x, y};
            float d = Dot(p - pts[0], p - pts[0]);
            float s = 1;
            for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i, ++i) {
                const Vec2 e = pts[j] - pts[i], w = p - pts[i];
                const Vec2 q = w - e * Clamp01(Dot(w, e) / std::max(Dot(e, e), 1e-9f));
                d = std::min(d, Dot(q, q));
                const bool c1 = p.y >= pts[i].y, c2 = p.y<pts[j].y, c3 = e.x * w.y> e.y * w.x;
                if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
            }
            return s * std::sqrt(d);
        },
        x0, y0, x1, y1);
}

Shape RoundedRect(Vec2 c, float halfW, float halfH, float radius, float angleDeg) {
    const float m = std::sqrt(halfW * halfW + halfH * halfH);
    return Boxed(
        [c, halfW, halfH, radius, angleDeg](float x, float y) {
            const Vec2 p = Rotate({x - c.x, y - c.y}, -angleDeg);
            const float qx = std::abs(p.x) - (halfW - radius), qy = std::abs(p.y) - (halfH - radius);
            return Length({std::max(qx, 0.0f), std::max(qy, 0.0f)}) + std::min(std::max(qx, qy), 0.0f) -
                   radius;
        },
        c.x - m, c.y - m, c.x + m, c.y + m);
}

Shape Union(const Shape& a, const Shape& b) {
    return Boxed([da = a.dist, db = b.dist](float x, float y) { return std::min(da(x, y), db(x, y)); },
                 std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1));
}

Shape Subtract(const Shape& a, const Shape& b) {
    return Boxed([da = a.dist, db = b.dist](float x, float y) { return std::max(da(x, y), -db(x, y)); }, a.x0,
                 a.y0, a.x1, a.y1);
}

Shape Inflate(const Shape& s, float d) {
    return Boxed([ds = s.dist, d](float x, float y) { return ds(x, y) - d; }, s.x0 - d, s.y0 - d, s.x1 + d,
                 s.y1 + d);
}

Shader Solid(Color c) {
    return [c](float, float) { return c; };
}

Shader LinearGradient(Vec2 p0, Vec2 p1, Color c0, Color c1) {
    const Vec2 d = p1 - p0;
    const float len2 = std::max(Dot(d, d), 1e-9f);
    return [=](float x, float y) { return Lerp(c0, c1, Clamp01(Dot(Vec2{x, y} - p0, d) / len2)); };
}

Shader RadialGradient(Vec2 c, float r, Color inner, Color outer) {
    return [=](float x, float y) { return Lerp(inner, outer, Clamp01(Length({x - c.x, y - c.y}) / r)); };
}

Shader DomeShade(Vec2 c, float r, Color base, Vec2 lightDir, float strength) {
    const float ll = std::max(Length(lightDir), 1e-6f);
    const Vec2 l = lightDir * (1.0f / ll);
    return [=](float x, float y) {
        const Vec2 p{(x - c.x) / r, (y - c.y) / r};
        const float d2 = std::min(Dot(p, p), 1.0f);
        const float nz = std::sqrt(1 - d2);
        // Light comes from lightDir and somewhat from above the picture plane.
        const float lambert = std::max(0.0f, p.x * l.x + p.y * l.y + nz * 0.75f) / 1.25f;
        const float k = 1 + strength * (lambert * 2 - 1);
        const float specular = std::pow(std::max(0.0f, lambert), 12.0f) * strength * 0.5f;
        return Color{base.r * k + specular, base.g * k + specular, base.b * k + specular, base.a};
    };
}

Image::Image(int w, int h, Color fill) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}

Color Image::Sample(float x, float y) const {
    x -= 0.5f, y -= 0.5f;
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float tx = x - ix, ty = y - iy;
    Premul acc;
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            const int sx = ix + i, sy = iy + j;
            if (sx < 0 || sy < 0 || sx >= w_ || sy >= h_) continue;
            const float wgt = (i ? tx : 1 - tx) * (j ? ty : 1 - ty);
            const Premul p = ToPremul(At(sx, sy));
            acc.r += p.r * wgt, acc.g += p.g * wgt, acc.b += p.b * wgt, acc.a += p.a * wgt;
        }
    }
    return FromPremul(acc);
}

void Image::Fill(Color c) {
    std::fill(px_.begin(), px_.end(), c);
}

void Image::Fill(const Shader& s) {
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x)
            At(x, y) = s(x + 0.5f, y + 0.5f);
    }
}

void Image::Put(int x, int y, Color c, Blend blend) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    At(x, y) = BlendPixel(At(x, y), c, 1.0f, blend);
}

void Image::FillShape(const Shape& s, Color c, Blend blend) {
    FillShape(s, Solid(c), blend);
}

void Image::FillShape(const Shape& s, const Shader& shader, Blend blend) {
    const int x0 = std::max(0, static_cast<int>(std::floor(s.x0 - 1)));
    const int y0 = std::max(0, static_cast<int>(std::floor(s.y0 - 1)));
    const int x1 = std::min(w_ - 1, static_cast<int>(std::ceil(s.x1 + 1)));
    const int y1 = std::min(h_ - 1, static_cast<int>(std::ceil(s.y1 + 1)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float cov = Clamp01(0.5f - s.dist(px, py));
            if (cov <= 0) continue;
            At(x, y) = BlendPixel(At(x, y), shader(px, py), cov, blend);
        }
    }
}

void Image::Line(Vec2 a, Vec2 b, float width, Color c, Blend blend) {
    FillShape(Capsule(a, b, width / 2), c, blend);
}

void Image::Draw(const Image& src, int x, int y, Blend blend) {
    for (int j = 0; j < src.h_; ++j) {
        const int dy = y + j;
        if (dy < 0 || dy >= h_) continue;
        for (int i = 0; i < src.w_; ++i) {
            const int dx = x + i;
            if (dx < 0 || dx >= w_) continue;
            if (blend == Blend::Replace) {
                At(dx, dy) = src.At(i, j);
            } else {
                At(dx, dy) = BlendPixel(At(dx, dy), src.At(i, j), 1.0f, blend);
            }
        }
    }
}

void Image::DrawTransformed(const Image& src, Vec2 c, float angleDeg, float scale, Blend blend) {
    const float half = 0.5f * scale * std::sqrt(static_cast<float>(src.w_ * src.w_ + src.h_ * src.h_)) + 1;
    const int x0 = std::max(0, static_cast<int>(std::floor(c.x - half)));
    const int y0 = std::max(0, static_cast<int>(std::floor(c.y - half)));
    const int x1 = std::min(w_ - 1, static_cast<int>(std::ceil(c.x + half)));
    const int y1 = std::min(h_ - 1, static_cast<int>(std::ceil(c.y + half)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const Vec2 p = Rotate({x + 0.5f - c.x, y + 0.5f - c.y}, -angleDeg) * (1.0f / scale);
            const Color s = src.Sample(p.x + src.w_ * 0.5f, p.y + src.h_ * 0.5f);
            if (s.a <= 0) continue;
            At(x, y) = BlendPixel(At(x, y), s, 1.0f, blend);
        }
    }
}

void Image::DrawScaled(const Image& src, float x, float y, float w, float h, Blend blend) {
    const int x0 = std::max(0, static_cast<int>(std::floor(x)));
    const int y0 = std::max(0, static_cast<int>(std::floor(y)));
    const int x1 = std::min(w_ - 1, static_cast<int>(std::ceil(x + w)));
    const int y1 = std::min(h_ - 1, static_cast<int>(std::ceil(y + h)));
    for (int j = y0; j <= y1; ++j) {
        for (int i = x0; i <= x1; ++i) {
            const float u = (i + 0.5f - x) / w * src.w_, v = (j + 0.5f - y) / h * src.h_;
            if (u < 0 || v < 0 || u > src.w_ || v > src.h_) continue;
            const Color s = src.Sample(u, v);
            if (s.a <= 0) continue;
            At(i, j) = BlendPixel(At(i, j), s, 1.0f, blend);
        }
    }
}

Image Image::Crop(int x, int y, int w, int h) const {
    Image out(w, h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const int sx = x + i, sy = y + j;
            if (sx >= 0 && sy >= 0 && sx < w_ && sy < h_) out.At(i, j) = At(sx, sy);
        }
    }
    return out;
}

Image Image::Downsample(int factor) const {
    Image out(w_ / factor, h_ / factor);
    const float n = static_cast<float>(factor * factor);
    for (int y = 0; y < out.h_; ++y) {
        for (int x = 0; x < out.w_; ++x) {
            Premul acc;
            for (int j = 0; j < factor; ++j) {
                for (int i = 0; i < factor; ++i) {
                    const Premul p = ToPremul(At(x * factor + i, y * factor + j));
                    acc.r += p.r, acc.g += p.g, acc.b += p.b, acc.a += p.a;
                }
            }
            out.At(x, y) = FromPremul({acc.r / n, acc.g / n, acc.b / n, acc.a / n});
        }
    }
    return out;
}

void Image::Fade(float k) {
    for (Color& c : px_)
        c.a *= k;
}

void Image::ApplyMask(const Image& mask) {
    for (int y = 0; y < std::min(h_, mask.h_); ++y) {
        for (int x = 0; x < std::min(w_, mask.w_); ++x) {
            const Color& m = mask.At(x, y);
            At(x, y).a *= Clamp01(0.299f * m.r + 0.587f * m.g + 0.114f * m.b);
        }
    }
}

Image Blur(const Image& src, float sigma) {
    if (sigma <= 0) return src;
    const int r = static_cast<int>(std::ceil(sigma * 3));
    std::vector<float> k(2 * r + 1);
    float total = 0;
    for (int i = -r; i <= r; ++i)
        total += k[i + r] = std::exp(-(i * i) / (2 * sigma * sigma));
    for (float& v : k)
        v /= total;
    const int w = src.Width(), h = src.Height();
    std::vector<Premul> a(static_cast<size_t>(w) * h), b(a.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            a[static_cast<size_t>(y) * w + x] = ToPremul(src.At(x, y));
    }
    auto pass = [&](const std::vector<Premul>& in, std::vector<Premul>& out, int dx, int dy) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                Premul acc;
                for (int i = -r; i <= r; ++i) {
                    const int sx = x + i * dx, sy = y + i * dy;
                    if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
                    const Premul& p = in[static_cast<size_t>(sy) * w + sx];
                    const float wgt = k[i + r];
                    acc.r += p.r * wgt, acc.g += p.g * wgt, acc.b += p.b * wgt, acc.a += p.a * wgt;
                }
                out[static_cast<size_t>(y) * w + x] = acc;
            }
        }
    };
    pass(a, b, 1, 0);
    pass(b, a, 0, 1);
    Image out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            out.At(x, y) = FromPremul(a[static_cast<size_t>(y) * w + x]);
    }
    return out;
}

Image WithDropShadow(const Image& src, float dx, float dy, float sigma, float opacity) {
    const int w = src.Width(), h = src.Height();
    Image shadow(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            shadow.At(x, y) = {0, 0, 0, src.Sample(x + 0.5f - dx, y + 0.5f - dy).a * opacity};
        }
    }
    Image out = Blur(shadow, sigma);
    out.Draw(src, 0, 0);
    return out;
}

Image WithOutline(const Image& src, float width, Color c) {
    const int w = src.Width(), h = src.Height();
    const int r = static_cast<int>(std::ceil(width));
    Image out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float best = 0;
            for (int j = -r; j <= r && best < 1; ++j) {
                for (int i = -r; i <= r; ++i) {
                    const int sx = x + i, sy = y + j;
                    if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
                    // Coverage falls off over the last pixel of the outline for a soft edge.
                    const float reach = Clamp01(width + 0.5f - std::sqrt(static_cast<float>(i * i + j * j)));
                    best = std::max(best, src.At(sx, sy).a * reach);
                }
            }
            out.At(x, y) = WithAlpha(c, best * c.a);
        }
    }
    out.Draw(src, 0, 0);
    return out;
}

Image AlphaMask(const Image& src) {
    Image out(src.Width(), src.Height());
    for (int y = 0; y < src.Height(); ++y) {
        for (int x = 0; x < src.Width(); ++x) {
            const float a = Clamp01(src.At(x, y).a);
            out.At(x, y) = {a, a, a, 1};
        }
    }
    return out;
}

Image LuminanceMask(const Image& src) {
    Image out(src.Width(), src.Height());
    for (int y = 0; y < src.Height(); ++y) {
        for (int x = 0; x < src.Width(); ++x) {
            const Color& c = src.At(x, y);
            const float l = Clamp01((0.299f * c.r + 0.587f * c.g + 0.114f * c.b) * c.a);
            out.At(x, y) = {l, l, l, 1};
        }
    }
    return out;
}

Image Flatten(const Image& src, Color background) {
    Image out(src.Width(), src.Height(), WithAlpha(background, 1));
    out.Draw(src, 0, 0);
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x)
            out.At(x, y).a = 1;
    }
    return out;
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f));
}

namespace {

std::vector<uint8_t> Bytes(const Image& img, int channels) {
    std::vector<uint8_t> out(static_cast<size_t>(img.Width()) * img.Height() * channels);
    size_t k = 0;
    for (int y = 0; y < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x) {
            const Color& c = img.At(x, y);
            out[k++] = ToByte(c.r);
            out[k++] = ToByte(c.g);
            out[k++] = ToByte(c.b);
            if (channels == 4) out[k++] = ToByte(c.a);
        }
    }
    return out;
}

void PutLe(std::vector<uint8_t>& v, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        v.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

bool WriteBmp(const std::string& path, const Image& img) {
    const int w = img.Width(), h = img.Height();
    const int stride = (w * 3 + 3) & ~3;
    const uint32_t dataSize = static_cast<uint32_t>(stride) * h;
    std::vector<uint8_t> file;
    file.reserve(54 + dataSize);
    file.push_back('B');
    file.push_back('M');
    PutLe(file, 54 + dataSize, 4);
    PutLe(file, 0, 4);
    PutLe(file, 54, 4);
    PutLe(file, 40, 4); // BITMAPINFOHEADER
    PutLe(file, static_cast<uint32_t>(w), 4);
    PutLe(file, static_cast<uint32_t>(h), 4); // positive height: rows stored bottom-up
    PutLe(file, 1, 2);
    PutLe(file, 24, 2);
    PutLe(file, 0, 4); // BI_RGB
    PutLe(file, dataSize, 4);
    PutLe(file, 2835, 4);
    PutLe(file, 2835, 4);
    PutLe(file, 0, 4);
    PutLe(file, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Color& c = img.At(x, y);
            file.push_back(ToByte(c.b));
            file.push_back(ToByte(c.g));
            file.push_back(ToByte(c.r));
        }
        for (int p = w * 3; p < stride; ++p)
            file.push_back(0);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

bool WriteTga(const std::string& path, const Image& img) {
    stbi_write_tga_with_rle = 0;
    const std::vector<uint8_t> data = Bytes(img, 4);
    return stbi_write_tga(path.c_str(), img.Width(), img.Height(), 4, data.data()) != 0;
}

bool WriteJpg(const std::string& path, const Image& img, int quality) {
    const std::vector<uint8_t> data = Bytes(img, 3);
    return stbi_write_jpg(path.c_str(), img.Width(), img.Height(), 3, data.data(), quality) != 0;
}

bool WritePng(const std::string& path, const Image& img) {
    const std::vector<uint8_t> data = Bytes(img, 4);
    return stbi_write_png(path.c_str(), img.Width(), img.Height(), 4, data.data(), img.Width() * 4) != 0;
}

} // namespace artgen
