// The menu look: backdrops, bevelled steel plates, buttons and emblems shared by the screen pictures.
#include "ui_draw.h"

#include <algorithm>
#include <cmath>

namespace artgen::ui {

Shape ChamferRect(float x, float y, float w, float h, float cut) {
    cut = std::min({cut, w / 2, h / 2});
    return Polygon(
        {{x + cut, y}, {x + w, y}, {x + w, y + h - cut}, {x + w - cut, y + h}, {x, y + h}, {x, y + cut}});
}

void Plate(Image& dst, Rect r, const PlateStyle& st, uint32_t seed) {
    if (st.shadow > 0) {
        const int m = 14;
        Image sh(static_cast<int>(r.w) + 2 * m, static_cast<int>(r.h) + 2 * m);
        sh.FillShape(ChamferRect(m + 3.0f, m + 5.0f, r.w, r.h, st.cut), Hex(0x000000, st.shadow));
        dst.Draw(Blur(sh, 4.0f), static_cast<int>(std::floor(r.x)) - m,
                 static_cast<int>(std::floor(r.y)) - m);
    }
    const Shape outer = ChamferRect(r.x, r.y, r.w, r.h, st.cut);
    dst.FillShape(Inflate(outer, 1.0f), pal::kEdge);
    dst.FillShape(outer, LinearGradient({r.x, r.y}, {r.x + r.h * 0.6f, r.y + r.h}, Shade(st.top, 1.9f),
                                        Shade(st.bottom, 0.55f)));
    const float b = st.bevel;
    const Shape inner =
        ChamferRect(r.x + b, r.y + b, r.w - 2 * b, r.h - 2 * b, std::max(0.0f, st.cut - b * 0.6f));
    const Color top = st.top, bottom = st.bottom;
    const bool brushed = st.brushed;
    const float y0 = r.y, hh = r.h;
    dst.FillShape(inner, [=](float x, float y) {
        Color c = Lerp(top, bottom, Clamp01((y - y0) / hh));
        if (brushed) {
            const float n = ValueNoise(x * 0.04f, y * 1.7f, seed) * 0.7f +
                            ValueNoise(x * 0.3f, y * 3.1f, seed + 1) * 0.3f;
            c = Shade(c, 0.92f + 0.16f * n);
        }
        return c;
    });
    if (st.accent.a > 0) {
        dst.FillShape(Polygon({{r.x + b, r.y + st.cut + 1},
                               {r.x + b + 3, r.y + st.cut + 4},
                               {r.x + b + 3, r.y + r.h - b - 3},
                               {r.x + b, r.y + r.h - b}}),
                      st.accent);
    }
    if (st.rivets) {
        const float in = st.cut * 0.5f + 5;
        for (Vec2 p : {Vec2{r.x + r.w - in + 1, r.y + 5}, Vec2{r.x + in - 1, r.y + r.h - 5},
                       Vec2{r.x + 5 + in, r.y + 5}, Vec2{r.x + r.w - 5 - in, r.y + r.h - 5}}) {
            dst.FillShape(Circle(p, 2.2f), pal::kEdge);
            dst.FillShape(Circle(p, 1.6f), DomeShade(p, 1.6f, pal::kSteelLight));
        }
    }
}

void Well(Image& dst, Rect r, float cut, Color fill) {
    dst.FillShape(ChamferRect(r.x, r.y, r.w, r.h, cut),
                  LinearGradient({0, r.y}, {0, r.y + r.h}, Hex(0x000000), Shade(pal::kSteelLight, 0.8f)));
    const float y0 = r.y;
    dst.FillShape(ChamferRect(r.x + 1, r.y + 1, r.w - 2, r.h - 2, std::max(0.0f, cut - 0.5f)),
                  [=](float, float y) { return Lerp(Shade(fill, 0.4f), fill, Clamp01((y - y0) / 6.0f)); });
}

void Button(Image& dst, const Faces& f, Rect r, const std::string& caption, float px, uint32_t seed,
            Align align) {
    PlateStyle st;
    st.top = Hex(0x343e49);
    st.bottom = Hex(0x181d23);
    st.cut = std::min(9.0f, r.h * 0.3f);
    st.accent = pal::kAmber;
    Plate(dst, r, st, seed);
    const float cy = r.y + r.h / 2;
    const float cx = r.x + 15;
    const float s = std::min(5.0f, r.h * 0.16f);
    dst.FillShape(Polygon({{cx - s * 0.6f, cy - s}, {cx + s * 0.8f, cy}, {cx - s * 0.6f, cy + s}}),
                  pal::kAmber);
    TextStyle ts;
    ts.px = px;
    ts.tracking = px * 0.06f;
    ts.top = pal::kText;
    ts.bottom = Hex(0xbdb4a0);
    ts.shadowDx = 1;
    ts.shadowDy = 2;
    ts.shadowBlur = 1.2f;
    ts.shadowOpacity = 0.9f;
    float x = r.x + 26;
    if (align == Align::Center) x = r.x + r.w / 2 + 6;
    if (align == Align::Right) x = r.x + r.w - 12;
    DrawTextCentered(dst, f.bold, caption, x, cy, align, ts);
}

void HazardStripes(Image& dst, Rect r, float stripe, float opacity) {
    dst.FillShape(Polygon({{r.x, r.y}, {r.x + r.w, r.y}, {r.x + r.w, r.y + r.h}, {r.x, r.y + r.h}}),
                  [=](float x, float y) {
                      const bool amber = static_cast<int>(std::floor((x + y) / stripe)) % 2 == 0;
                      return amber ? WithAlpha(Shade(pal::kAmber, 0.85f), opacity) : Hex(0x0b0b0b, opacity);
                  });
}

void Rule(Image& dst, float x0, float x1, float y, Color c) {
    dst.Line({x0, y}, {x1, y}, 1.2f, WithAlpha(c, c.a * 0.7f));
    dst.FillShape(Circle({x0, y}, 2.0f), c);
    dst.FillShape(Circle({x1, y}, 2.0f), c);
}

namespace {

// One row of ruined buildings along the horizon, with antennae and a few lit windows.
void Skyline(Image& img, float horizon, uint32_t seed, Color body, float minH, float maxH, float litChance) {
    Rng rng(seed);
    float x = -20;
    const int w = img.Width();
    while (x < w + 20) {
        const float bw = rng.Range(18, 60);
        const float bh = rng.Range(minH, maxH);
        const float top = horizon - bh;
        std::vector<Vec2> pts{{x, horizon + 2}, {x, top}};
        // Broken roofs: a jagged edge for some of them.
        if (rng.Uniform() < 0.45f) {
            pts.push_back({x + bw * 0.3f, top + rng.Range(4, 14)});
            pts.push_back({x + bw * 0.55f, top - rng.Range(0, 6)});
            pts.push_back({x + bw * 0.8f, top + rng.Range(6, 20)});
        }
        pts.push_back({x + bw, top + rng.Range(0, 8)});
        pts.push_back({x + bw, horizon + 2});
        img.FillShape(Polygon(pts), body);
        if (rng.Uniform() < 0.3f) {
            const float ax = x + rng.Range(4, bw - 4);
            const float ah = rng.Range(10, 30);
            img.Line({ax, top + 2}, {ax, top - ah}, 1.2f, body);
            img.FillShape(Circle({ax, top - ah}, 1.5f), Hex(0xff3a20, 0.9f), Blend::Add);
        }
        for (float wy = top + 6; wy < horizon - 4; wy += 7) {
            for (float wx = x + 4; wx < x + bw - 4; wx += 6) {
                if (rng.Uniform() < litChance)
                    img.FillShape(ChamferRect(wx, wy, 2.5f, 3, 0), Hex(0xffb24a, rng.Range(0.25f, 0.8f)));
            }
        }
        x += bw + rng.Range(-4, 10);
    }
}

} // namespace

Image Backdrop(int w, int h, uint32_t seed, Color glow) {
    const float horizon = h * 0.64f;
    Image img(w, h);
    img.Fill([=](float x, float y) {
        if (y < horizon) {
            const float t = y / horizon;
            Color c = Lerp(Hex(0x05070b), Hex(0x1c1411), std::pow(t, 1.8f));
            const float n = Fbm(x / 190.0f, y / 60.0f, seed, 5);
            const float near = std::exp(-(horizon - y) / 110.0f);
            c = Lerp(c, Hex(0x0c0b0c), Clamp01(n * 0.9f - 0.1f) * 0.7f);
            const float lit = std::max(0.0f, n - 0.45f) * near * 0.9f + near * 0.22f;
            return Color{c.r + glow.r * lit, c.g + glow.g * lit, c.b + glow.b * lit, 1};
        }
        const float d = (y - horizon) / (h - horizon);
        Color c = Lerp(Hex(0x15100d), Hex(0x06070a), std::pow(d, 0.6f));
        const float n = Fbm(x / 40.0f, (y - horizon) / 12.0f, seed + 7, 4);
        return Shade(c, 0.8f + 0.45f * n);
    });
    // Fires behind the skyline.
    Rng rng(seed * 31 + 5);
    for (int i = 0; i < 6; ++i) {
        const float fx = rng.Range(0, static_cast<float>(w));
        const float r = rng.Range(60, 160);
        img.FillShape(Ellipse({fx, horizon}, r * 1.6f, r * 0.6f),
                      RadialGradient({fx, horizon}, r * 1.2f, WithAlpha(glow, 0.35f), WithAlpha(glow, 0.0f)),
                      Blend::Add);
    }
    Skyline(img, horizon, seed + 11, Hex(0x15120f), 20, 75, 0.0f);
    Skyline(img, horizon + 4, seed + 12, Hex(0x07080a), 12, 55, 0.04f);
    // The tactical grid on the ground, fading into the haze at the horizon.
    const float vx = w * 0.5f;
    for (int k = -24; k <= 24; ++k) {
        const float bx = vx + k * 70.0f;
        img.Line({vx + k * 4.0f, horizon + 6}, {bx, static_cast<float>(h)}, 1.0f,
                 WithAlpha(pal::kTeal, 0.07f), Blend::Add);
    }
    for (int k = 1; k < 14; ++k) {
        const float y = horizon + 6 + std::pow(static_cast<float>(k), 2.0f) * 1.6f;
        if (y > h) break;
        img.Line({0, y}, {static_cast<float>(w), y}, 1.0f, WithAlpha(pal::kTeal, 0.05f + 0.005f * k),
                 Blend::Add);
    }
    img.FillShape(Polygon({{0, horizon - 30},
                           {static_cast<float>(w), horizon - 30},
                           {static_cast<float>(w), horizon + 40},
                           {0, horizon + 40}}),
                  [=](float, float y) {
                      const float t = 1 - std::fabs(y - horizon - 5) / 35.0f;
                      return WithAlpha(Shade(glow, 0.35f), Clamp01(t) * 0.35f);
                  });
    // Embers drifting up from the fires.
    for (int i = 0; i < 140; ++i) {
        const float ex = rng.Range(0, static_cast<float>(w));
        const float ey = horizon - std::pow(rng.Uniform(), 1.7f) * horizon * 0.9f;
        const float r = rng.Range(0.5f, 1.6f);
        // Named before the call, whose arguments compilers order differently.
        const float alpha = rng.Range(0.2f, 0.8f), warmth = rng.Uniform();
        img.FillShape(Circle({ex, ey}, r), WithAlpha(Lerp(glow, Hex(0xffe0a0), warmth), alpha), Blend::Add);
    }
    // Vignette.
    const float cx = w * 0.5f, cy = h * 0.5f;
    const float rmax = std::sqrt(cx * cx + cy * cy);
    img.Fill([&img, cx, cy, rmax](float x, float y) {
        const Color c = img.At(static_cast<int>(x), static_cast<int>(y));
        const float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / rmax;
        return Shade(c, 1.0f - 0.6f * SmoothStep(0.45f, 1.0f, d));
    });
    return img;
}

void Finish(Image& dst, uint32_t seed, float scan, float grain) {
    for (int y = 0; y < dst.Height(); ++y) {
        const float k = (y % 3 == 2) ? 1.0f - scan : 1.0f;
        for (int x = 0; x < dst.Width(); ++x) {
            Color& c = dst.At(x, y);
            const float g =
                (static_cast<float>(Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) & 0xffff) /
                     65535.0f -
                 0.5f) *
                2 * grain;
            c = {c.r * k + g, c.g * k + g, c.b * k + g, c.a};
        }
    }
}

void TitleText(Image& dst, const Faces& f, const std::string& text, float cx, float top, float px) {
    TextStyle st;
    st.px = px;
    st.tracking = px * 0.08f;
    st.top = Hex(0xfbf7ee);
    st.bottom = Hex(0x7d8894);
    st.outline = std::max(2.0f, px * 0.045f);
    st.outlineColor = Hex(0x0a0b0d);
    st.shadowDx = 2;
    st.shadowDy = px * 0.06f;
    st.shadowBlur = 3;
    st.shadowOpacity = 0.85f;
    st.glowRadius = px * 0.14f;
    st.glowColor = WithAlpha(pal::kAmberHot, 0.75f);
    DrawText(dst, f.bold, text, cx, top, Align::Center, st);
}

void Heading(Image& dst, const Faces& f, const std::string& title, const std::string& subtitle, float cx,
             float top) {
    TitleText(dst, f, title, cx, top, 46);
    TextStyle sub;
    sub.px = 15;
    sub.tracking = 3.5f;
    sub.top = pal::kAmber;
    sub.bottom = Shade(pal::kAmber, 0.8f);
    sub.shadowDy = 1.5f;
    sub.shadowBlur = 1;
    sub.shadowOpacity = 0.9f;
    const float w = DrawText(dst, f.bold, subtitle, cx, top + 58, Align::Center, sub);
    Rule(dst, cx - w / 2 - 90, cx - w / 2 - 14, top + 67, pal::kAmber);
    Rule(dst, cx + w / 2 + 14, cx + w / 2 + 90, top + 67, pal::kAmber);
}

void Emblem(Image& dst, Vec2 c, float size) {
    const float s = size / 100.0f;
    auto P = [&](float x, float y) { return Vec2{c.x + x * s, c.y + y * s}; };
    const Shape shield =
        Polygon({P(-40, -50), P(40, -50), P(44, -8), P(26, 28), P(0, 50), P(-26, 28), P(-44, -8)});
    const Shape inner =
        Polygon({P(-33, -43), P(33, -43), P(37, -9), P(21, 23), P(0, 42), P(-21, 23), P(-37, -9)});
    Image layer(dst.Width(), dst.Height());
    layer.FillShape(Inflate(shield, 2.5f * s + 1), pal::kEdge);
    layer.FillShape(shield, LinearGradient(P(-40, -50), P(30, 50), Hex(0x9aa4ae), Hex(0x1c2228)));
    layer.FillShape(inner, LinearGradient(P(0, -43), P(0, 42), Hex(0x3a1712), Hex(0x14090a)));
    layer.FillShape(Ring(P(0, -4), 22 * s, 3.2f * s), pal::kAmber);
    layer.FillShape(Circle(P(0, -4), 3.5f * s), pal::kAmberHot);
    for (const auto& [a, b] : {std::pair{P(0, -34), P(0, -18)}, std::pair{P(0, 10), P(0, 26)},
                               std::pair{P(-30, -4), P(-14, -4)}, std::pair{P(14, -4), P(30, -4)}})
        layer.Line(a, b, 3.0f * s, pal::kAmber);
    // Rank chevrons at the foot of the shield.
    for (int k = 0; k < 2; ++k) {
        const float y = 28 + k * 7.0f;
        layer.FillShape(
            Polygon({P(-14, y - 3), P(0, y + 4), P(14, y - 3), P(14, y + 1), P(0, y + 8), P(-14, y + 1)}),
            Shade(pal::kAmber, 0.9f));
    }
    dst.Draw(WithDropShadow(layer, 3, 5, 4, 0.7f), 0, 0);
}

} // namespace artgen::ui
