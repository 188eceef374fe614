// The HUD pieces, highlight glows, menu pointer and logos: the small pictures around the screens.
#include "ui_hud.h"

#include "ui_save.h"

#include <cmath>

namespace artgen::ui {
namespace {

const Color kWhiteKey = Hex(0xffffff);
const Color kBlackKey = Hex(0x000000);

Shape Box(float x, float y, float w, float h) {
    return Polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
}

Shader Brushed(Color top, Color bottom, float y0, float h, uint32_t seed) {
    return [=](float x, float y) {
        const Color c = Lerp(top, bottom, Clamp01((y - y0) / h));
        return Shade(c, 0.93f + 0.14f * ValueNoise(x * 0.05f, y * 2.0f, seed));
    };
}

// The bar under everything on top: its shape is cut out of pure white (the key).
void Panel(const std::string& dir) {
    Image img(800, 26);
    const Shape body = Polygon({{0, 0}, {800, 0}, {800, 17}, {792, 21}, {650, 21}, {645, 26}, {0, 26}});
    img.FillShape(body, Brushed(Hex(0x313a44), Hex(0x121619), 0, 26, 901));
    img.Line({0, 0.5f}, {800, 0.5f}, 1, WithAlpha(pal::kSteelLight, 0.9f));
    img.Line({186, 24.5f}, {645, 24.5f}, 1, WithAlpha(pal::kAmber, 0.55f));
    img.Line({650, 20}, {792, 20}, 1, WithAlpha(pal::kAmber, 0.55f));
    // Dark slots behind the clip and the life bar, seen when they run low.
    img.FillShape(Box(kAmmoWindow.x - 1, kAmmoWindow.y - 1, kAmmoWindow.w + 2, kAmmoWindow.h + 2),
                  Hex(0x050607));
    img.FillShape(Box(kHealthWindow.x - 1, kHealthWindow.y, kHealthWindow.w + 2, kHealthWindow.h),
                  Hex(0x1a0706));
    // The wells where the game prints the extra shots and the score.
    Well(img, {kFrameRight + 2, 3, 58, 20}, 4);
    Well(img, {250, 3, 170, 20}, 4);
    for (float x = 430; x < 640; x += 6)
        img.Line({x, 7}, {x + 3, 19}, 1.2f, Hex(0x0d1013, 0.8f));
    SaveKeyed(dir, "PANEL.bmp", img, kWhiteKey);
}

// The frame drawn over the cartridge strip: it hides the strip's empty part and rims both windows.
void PanelFrame(const std::string& dir) {
    Image img(800, 26);
    Shape frame = Polygon({{0, 0}, {kFrameRight - 4, 0}, {kFrameRight, 4}, {kFrameRight, 26}, {0, 26}});
    frame = Subtract(frame, Box(kAmmoWindow.x, kAmmoWindow.y, kAmmoWindow.w, kAmmoWindow.h));
    frame = Subtract(frame, Box(kHealthWindow.x, kHealthWindow.y, kHealthWindow.w, kHealthWindow.h));
    Image layer(800, 26);
    layer.FillShape(frame, Brushed(Hex(0x4a5561), Hex(0x1c2228), 0, 26, 902));
    // Inner rims: dark above each window, lit below.
    layer.Line({kAmmoWindow.x, kAmmoWindow.y - 0.5f}, {kAmmoWindow.x + kAmmoWindow.w, kAmmoWindow.y - 0.5f},
               1, Hex(0x0a0c0e));
    layer.Line({kHealthWindow.x, kHealthWindow.y + kHealthWindow.h + 0.5f},
               {kHealthWindow.x + kHealthWindow.w, kHealthWindow.y + kHealthWindow.h + 0.5f}, 1,
               WithAlpha(pal::kSteelLight, 0.9f));
    // Icons on the left block: a cartridge for the clip, a red cross for life.
    layer.FillShape(RoundedRect({18, 9.5f}, 11, 3.5f, 1.5f),
                    LinearGradient({0, 6}, {0, 13}, Hex(0xf3d27a), Hex(0x8a6420)));
    layer.FillShape(Polygon({{29, 6}, {33, 9.5f}, {29, 13}}), Hex(0xc7784a));
    layer.FillShape(Box(13, 17, 9, 5), Hex(0x0b0d0f));
    layer.FillShape(Box(16, 17.5f, 3, 4), pal::kRed);
    layer.FillShape(Box(14, 18.5f, 7, 2), pal::kRed);
    for (Vec2 p : {Vec2{4, 4}, Vec2{4, 22}, Vec2{kFrameRight - 14, 10}}) {
        layer.FillShape(Circle(p, 1.7f), pal::kEdge);
        layer.FillShape(Circle(p, 1.2f), DomeShade(p, 1.2f, pal::kSteelLight));
    }
    // Hard edges: the mask is either on or off, so the strip never shows through a half-covered rim.
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 800; ++x) {
            Color c = layer.At(x, y);
            c.a = c.a >= 0.5f ? 1.0f : 0.0f;
            img.At(x, y) = c;
        }
    SaveMasked(dir, "PANELMASK1.bmp", "PANELMASK.bmp", img);
}

void Shadow(const std::string& dir) {
    Image img(800, 30);
    for (int y = 0; y < 30; ++y) {
        const float t = 1 - y / 29.0f;
        for (int x = 0; x < 800; ++x)
            img.At(x, y) = Hex(0x000000, t * t);
    }
    SaveMasked(dir, "BLACK_SHADOW.bmp", "SHADOW.bmp", img);
}

// A strip of 30 cartridges at 4 px a piece, right-aligned: the game slides it so the clip's count shows.
void ClipStrip(const std::string& dir) {
    const int k = 4;
    Image big(121 * k, 12 * k, Hex(0x050607));
    for (int i = 0; i < 30; ++i) {
        const float x0 = (1 + 4 * i) * k, w = 3.0f * k, cx = x0 + w / 2;
        big.FillShape(Box(x0, 4.0f * k, w, 7.0f * k),
                      LinearGradient({x0, 0}, {x0 + w, 0}, Hex(0xffe08a), Hex(0x8c6418)));
        big.FillShape(Ellipse({cx, 4.2f * k}, w / 2, 3.6f * k),
                      LinearGradient({x0, 0}, {x0 + w, 0}, Hex(0xf0a070), Hex(0x7a3a1a)));
        big.FillShape(Box(x0, 10.6f * k, w, 1.4f * k), Hex(0x5a4012));
    }
    Save(dir, "OBOUMA.bmp", big.Downsample(k));
}

void LifeBar(const std::string& dir) {
    Image img(149, 5);
    const Color rows[5] = {Hex(0xff8a70), Hex(0xf23b26), Hex(0xd42a18), Hex(0xa11a0e), Hex(0x5e0c06)};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 149; ++x)
            img.At(x, y) = rows[y];
    Save(dir, "ZIZNUPL1.bmp", img);
}

// The "new upgrade" notice under the bar; black is its key.
void NewUpgrade(const std::string& dir, const Faces& f, const Words& w) {
    Image img(150, 20);
    const Shape tab = Polygon({{0, 0}, {150, 0}, {150, 13}, {143, 20}, {0, 20}});
    img.FillShape(tab, Brushed(Hex(0x2b4a2a), Hex(0x142414), 0, 20, 903));
    img.Line({0, 0.5f}, {150, 0.5f}, 1, WithAlpha(pal::kGreen, 0.9f));
    img.FillShape(Polygon({{10, 3}, {16, 10}, {12.5f, 10}, {12.5f, 17}, {7.5f, 17}, {7.5f, 10}, {4, 10}}),
                  pal::kGreen);
    TextStyle t;
    t.px = 12;
    t.widthScale = 0.9f;
    t.top = Hex(0xd8ffc0);
    t.bottom = pal::kGreen;
    DrawTextCentered(img, f.bold, w.newUpgrade, 21, 10, Align::Left, t);
    SaveKeyed(dir, "NEW_UP1.bmp", img, kBlackKey);
}

void CheckMark(const std::string& dir) {
    const int k = 4;
    Image big(13 * k, 13 * k, Hex(0x0c2a10));
    big.FillShape(Box(1.0f * k, 1.0f * k, 11.0f * k, 11.0f * k),
                  LinearGradient({0, 0}, {0, 13.0f * k}, Hex(0x3f9a2e), Hex(0x1c5a16)));
    const std::vector<Vec2> tick{{2.8f * k, 6.8f * k}, {5.4f * k, 9.6f * k}, {10.4f * k, 3.2f * k}};
    big.Line(tick[0], tick[1], 2.4f * k, pal::kEdge);
    big.Line(tick[1], tick[2], 2.4f * k, pal::kEdge);
    big.Line(tick[0], tick[1], 1.5f * k, Hex(0xeaffd8));
    big.Line(tick[1], tick[2], 1.5f * k, Hex(0xeaffd8));
    Save(dir, "GALKA.bmp", big.Downsample(k));
}

void BonusBar(const std::string& dir) {
    Image img(130, 32, Hex(0x0b0e11));
    img.FillShape(ChamferRect(0, 0, 130, 32, 8), Brushed(Hex(0x2d363f), Hex(0x11151a), 0, 32, 904));
    img.FillShape(
        Subtract(Inflate(ChamferRect(0.5f, 0.5f, 129, 31, 8), 0), ChamferRect(1.5f, 1.5f, 127, 29, 7)),
        WithAlpha(pal::kAmber, 0.8f));
    img.FillShape(Box(21, 17, 105, 6), Hex(0x050607));
    Save(dir, "PROGRESS_BAR.BMP", img);
    Image line(64, 4);
    const Color rows[4] = {Hex(0xfff2b8), Hex(0xffc040), Hex(0xf08a1a), Hex(0x9a4a08)};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x)
            line.At(x, y) = rows[y];
    Save(dir, "PROGRESS_LINE.BMP", line);
}

// The pulsing bar the menus lay over a hovered line; drawn faint, so it is bright amber at the rims.
void HighlightBar(const std::string& dir) {
    Image img(256, 32);
    for (int y = 0; y < 32; ++y) {
        const float d = std::fabs(y - 15.5f) / 15.5f;
        const Color c = Lerp(Hex(0x7a4a14), Hex(0xffc66a), std::pow(d, 3.0f));
        for (int x = 0; x < 256; ++x)
            img.At(x, y) = c;
    }
    Save(dir, "BLACK.bmp", img);
    Save(dir, "WHITE.bmp", Image(32, 32, Hex(0xffffff)));
}

// The menu pointer: an arrow whose tip is at (kPointerTip, kPointerTip).
void Pointer(const std::string& dir) {
    const int k = 4;
    const float t = kPointerTip * k;
    Image big(kCursorSize * k, kCursorSize * k);
    const float s = 1.05f * k;
    auto P = [&](float x, float y) { return Vec2{t + x * s, t + y * s}; };
    const Shape arrow =
        Polygon({P(0, 0), P(0, 21), P(5.5f, 16.5f), P(9.5f, 25), P(13, 23.4f), P(9.2f, 15), P(16, 15)});
    big.FillShape(Inflate(arrow, 1.6f * k), pal::kEdge);
    big.FillShape(arrow, LinearGradient(P(0, 0), P(10, 22), Hex(0xffe2a8), Hex(0xd07a18)));
    big.FillShape(Polygon({P(1.6f, 4), P(1.6f, 16), P(7, 11)}), Hex(0xfff6e0, 0.6f));
    Image pointer = WithDropShadow(big, 2.0f * k, 3.0f * k, 2.0f * k, 0.55f).Downsample(k);
    SaveMasked(dir, "CURSOR_MENU.bmp", "CURSOR_MENU_MASK.bmp", pointer);
}

// The glow behind a hovered main-menu line; additive, so black adds nothing.
void MenuLight(const std::string& dir) {
    Image img(static_cast<int>(kMenuLightW), static_cast<int>(kMenuLightH), Hex(0x000000));
    // Where the first main-menu line lies inside its light; every light sits the same way on its line.
    const Rect line = Drawn(Find("MAIN_MENU.jpg", "new game"));
    const float top = line.y - kMenuLightY[0] + 3, bottom = line.y + line.h - kMenuLightY[0] - 3;
    const Vec2 c{110, (top + bottom) / 2};
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const float dx = (x + 0.5f - c.x) / 118.0f, dy = (y + 0.5f - c.y) / 24.0f;
            const float halo = std::exp(-(dx * dx + dy * dy) * 1.6f);
            const float band = (y >= top && y < bottom && x >= 8) ? 0.22f : 0.0f;
            const float k = halo * 0.55f + band;
            img.At(x, y) = {pal::kAmber.r * k, pal::kAmber.g * k * 0.9f, pal::kAmber.b * k * 0.7f, 1};
        }
    img.FillShape(Box(8, top, 3, bottom - top), Shade(pal::kAmber, 0.8f), Blend::Add);
    Save(dir, "MENU_LIGHT.bmp", img);
}

void LineLight(const std::string& dir) {
    Image img(300, 30, Hex(0x000000));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 300; ++x) {
            const float ends = SmoothStep(0, 40, std::min(x + 0.5f, 299.5f - x));
            const float dy = (y + 0.5f - 15) / 11.0f;
            float k = std::exp(-dy * dy) * 0.45f * ends;
            if (y == 2 || y == 27) k += 0.35f * ends;
            img.At(x, y) = {pal::kAmber.r * k, pal::kAmber.g * k * 0.9f, pal::kAmber.b * k * 0.7f, 1};
        }
    Save(dir, "MENU_LINE_LIGHT.bmp", img);
}

void LogoLight(const std::string& dir) {
    Image img(static_cast<int>(kLogoGlow.w), static_cast<int>(kLogoGlow.h));
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const float dx = (x + 0.5f - 107.5f) / 107.5f, dy = (y + 0.5f - 31.5f) / 31.5f;
            const float k = std::exp(-(dx * dx * 1.8f + dy * dy * 2.6f));
            img.At(x, y) = WithAlpha(Lerp(pal::kAmberHot, Hex(0xffe8b0), k), k);
        }
    Save(dir, "LOGO_LIGHT.TGA", img);
}

// The splash shown while the game loads.
void Splash(const std::string& dir, const Faces& f, const Words& w) {
    Image img(256, 400);
    img.FillShape(Circle({128, 130}, 118),
                  RadialGradient({128, 130}, 118, Hex(0xff6a20, 0.35f), Hex(0xff6a20, 0)));
    Emblem(img, {128, 128}, 200);
    TitleText(img, f, "DRELMONT", 128, 252, 42);
    TextStyle t;
    t.px = 13;
    t.tracking = 3;
    t.top = t.bottom = pal::kAmber;
    DrawText(img, f.bold, w.loading, 128, 330, Align::Center, t);
    img.FillShape(ChamferRect(48, 356, 160, 8, 2), Hex(0x1a1f24));
    img.FillShape(ChamferRect(50, 358, 96, 4, 1),
                  LinearGradient({50, 0}, {146, 0}, pal::kAmberHot, pal::kAmber));
    Save(dir, "LOGO.TGA", img);
}

} // namespace

void GenerateHud(const std::string& dir) {
    Panel(dir);
    PanelFrame(dir);
    Shadow(dir);
    ClipStrip(dir);
    LifeBar(dir);
    CheckMark(dir);
    BonusBar(dir);
    HighlightBar(dir);
    Pointer(dir);
    MenuLight(dir);
    LineLight(dir);
    LogoLight(dir);
}

void GenerateHudCaptions(const std::string& dir, const Faces& f, const Words& w) {
    NewUpgrade(dir, f, w);
    Splash(dir, f, w);
}

} // namespace artgen::ui
