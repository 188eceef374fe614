// The world's pictures: soldier, monsters, bullets, pickups, effects, grounds and the light, drawn from
// nothing.
#include "artgen.h"
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace artgen {
namespace {

constexpr float kTau = 6.2831853f;

// A failed write leaves the game without a picture; stop the build rather than ship a hole.
void Check(bool ok, const std::string& path) {
    if (!ok) {
        std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

class Out {
  public:
    explicit Out(const std::string& dir) : dir_(dir + "/PICTURE/") {}
    void Bmp(const std::string& name, const Image& img) const { Check(WriteBmp(dir_ + name, img), name); }
    void Tga(const std::string& name, const Image& img) const { Check(WriteTga(dir_ + name, img), name); }
    void Jpg(const std::string& name, const Image& img) const { Check(WriteJpg(dir_ + name, img), name); }
    // A masked picture: colour on a dark ground (so filtered edges darken, not glow) and its alpha as the
    // mask.
    void Masked(const std::string& name, const std::string& maskName, const Image& img, Color ground) const {
        Bmp(name, Flatten(img, ground));
        Bmp(maskName, AlphaMask(img));
    }

  private:
    std::string dir_;
};

// Frames are numbered from 1, row by row, as the engine cuts them.
Image Sheet(int cols, int rows, int fw, int fh, const std::function<Image(int frame)>& draw) {
    Image sheet(cols * fw, rows * fh);
    for (int i = 0; i < cols * rows; ++i) {
        sheet.Draw(draw(i + 1), (i % cols) * fw, (i / cols) * fh, Blend::Replace);
    }
    return sheet;
}

Image FlipVertical(const Image& src) {
    Image out(src.Width(), src.Height());
    for (int y = 0; y < src.Height(); ++y) {
        for (int x = 0; x < src.Width(); ++x)
            out.At(x, y) = src.At(x, src.Height() - 1 - y);
    }
    return out;
}

// Fine grain so large flat areas look like material, not plastic.
Shader Grainy(Shader base, uint32_t seed, float amount, float scale = 1.0f) {
    return [base = std::move(base), seed, amount, scale](float x, float y) {
        const float n = Fbm(x * scale, y * scale, seed, 2) - 0.5f;
        return Shade(base(x, y), 1 + n * amount);
    };
}

Shader Lit(Vec2 c, float r, Color base, float strength = 0.5f) {
    return DomeShade(c, r, base, {-0.6f, -0.8f}, strength);
}

// A limb of two segments bent at the knee or elbow.
void Limb(Image& f, Vec2 a, Vec2 knee, Vec2 b, float r0, float r1, float r2, Color c) {
    f.FillShape(TaperedCapsule(a, knee, r0, r1), LinearGradient(a, b, Shade(c, 1.15f), Shade(c, 0.8f)));
    f.FillShape(TaperedCapsule(knee, b, r1, r2), LinearGradient(knee, b, Shade(c, 1.05f), Shade(c, 0.75f)));
}

// A splash of liquid lying on the ground: a lumpy disc with droplets and a wet highlight.
void Pool(Image& f, Vec2 c, float r, Color col, uint32_t seed, float alpha = 0.92f) {
    if (r < 0.5f) return;
    Rng rng(seed);
    const float ph = rng.Range(0, kTau);
    Shape pool{[c, r, seed, ph](float x, float y) {
                   const float dx = x - c.x, dy = y - c.y;
                   const float a = std::atan2(dy, dx);
                   const float wob =
                       0.18f * std::sin(3 * a + ph) + 0.12f * std::sin(5 * a + 2 * ph) +
                       0.25f * (ValueNoise(std::cos(a) * 2 + 9, std::sin(a) * 2 + 9, seed) - 0.5f);
                   return std::sqrt(dx * dx + dy * dy) - r * (1 + wob);
               },
               c.x - r * 1.6f, c.y - r * 1.6f, c.x + r * 1.6f, c.y + r * 1.6f};
    f.FillShape(pool, RadialGradient(c, r * 1.3f, WithAlpha(Shade(col, 0.8f), alpha), WithAlpha(col, alpha)));
    for (int i = 0; i < 5; ++i) {
        const float a = rng.Range(0, kTau), d = r * rng.Range(1.1f, 1.5f);
        f.FillShape(Circle(c + Vec2{std::cos(a) * d, std::sin(a) * d}, r * rng.Range(0.06f, 0.14f)),
                    WithAlpha(col, alpha));
    }
    f.FillShape(Ellipse(c + Vec2{-r * 0.3f, -r * 0.35f}, r * 0.35f, r * 0.15f, -30),
                WithAlpha(Hex(0xffffff), 0.18f));
}

// Drawn into its own layer and inked separately, so overlapping parts stay readable at small sizes.
void Part(Image& f, const std::function<void(Image&)>& draw, Color ink, float width = 0.8f) {
    Image layer(f.Width(), f.Height());
    draw(layer);
    f.Draw(WithOutline(layer, width, ink), 0, 0);
}

// ---------------------------------------------------------------- soldier

constexpr int kPlayerFrames = 16;

Image PlayerFrame(int frame) {
    const float t = kTau * (frame - 1) / kPlayerFrames;
    const float s = std::sin(t);
    Image f(64, 64);
    const Vec2 c{32, 30};
    const Color boot = Hex(0x2b2419), trousers = Hex(0x4a4a3a), jacket = Hex(0x6a7046), vest = Hex(0x8a7850);
    const Color sleeve = Hex(0x48522c), skin = Hex(0xd8a880), helmet = Hex(0x3a4624), metal = Hex(0x26282c);
    const Color strap = Hex(0x3a3422);
    const Color ink = Hex(0x12130e);

    // Feet poke out ahead of and behind the body in turn.
    Part(
        f,
        [&](Image& l) {
            for (int side = -1; side <= 1; side += 2) {
                const float stride = 12.0f * s * side;
                const Vec2 hip = c + Vec2{6.5f * side, 1};
                const Vec2 foot = c + Vec2{9.5f * side, 1 + stride};
                l.FillShape(Capsule(hip, foot, 3.7f),
                            LinearGradient(hip, foot, trousers, Shade(trousers, 0.8f)));
                const Vec2 toe = foot + Vec2{0, 2.0f};
                l.FillShape(Ellipse(toe, 3.4f, 4.6f), Lit(toe, 4.5f, boot, 0.6f));
            }
        },
        ink);
    // The upper body swings against the stride; every point of it goes through B.
    const float sway = 6.0f * s;
    auto B = [&](float x, float y) { return c + Rotate({x, y}, sway); };
    Part(
        f,
        [&](Image& l) {
            l.FillShape(RoundedRect(B(0, -10), 7, 5, 2.5f, sway), Grainy(Lit(B(0, -10), 9, strap), 11, 0.3f));
            l.FillShape(Capsule(B(-6, -14), B(6, -14), 2.2f), Lit(B(0, -14), 7, Hex(0x5a4a32)));
        },
        ink);
    // Torso: jacket, a darker vest with pouches, a strap across the chest; round shoulders at the sides.
    Part(
        f,
        [&](Image& l) {
            l.FillShape(Ellipse(B(0, 0), 15.0f, 9.0f, sway),
                        Grainy(Lit(B(0, 0), 15, jacket), 12, 0.25f, 0.8f));
            l.FillShape(RoundedRect(B(0, 1), 9, 7, 3, sway), Grainy(Lit(B(0, 0), 12, vest), 13, 0.3f));
            for (int i = -1; i <= 1; i += 2)
                l.FillShape(RoundedRect(B(4.5f * i, 6), 2.2f, 1.6f, 0.6f, sway), Shade(vest, 0.75f));
            l.Line(B(-10, -5), B(8, 6), 1.5f, strap);
        },
        ink);
    for (int side = -1; side <= 1; side += 2) {
        Part(
            f,
            [&](Image& l) {
                l.FillShape(Circle(B(12.0f * side, 0.5f), 4.6f), Lit(B(12.0f * side, 0), 4.6f, sleeve, 0.6f));
            },
            ink);
    }
    // Rifle on his right (screen left when he faces down), the muzzle near the frame's bottom edge.
    // It stays pointed straight ahead while the shoulders swing.
    const float gx = c.x - 5.5f;
    Part(
        f,
        [&](Image& l) {
            l.FillShape(RoundedRect({gx, c.y + 9}, 2.8f, 4.5f, 1.2f), Lit({gx, c.y + 9}, 4, Hex(0x5a4026)));
            l.FillShape(RoundedRect({gx, c.y + 20}, 2.4f, 9.5f, 0.8f),
                        LinearGradient({gx - 2.4f, 0}, {gx + 2.4f, 0}, Shade(metal, 2.2f), metal));
            l.FillShape(RoundedRect({gx + 3.6f, c.y + 16}, 1.6f, 3, 0.6f), Hex(0x1e1f22));
            l.FillShape(RoundedRect({gx, c.y + 29.3f}, 1.2f, 1.2f, 0.5f), Hex(0x101010));
        },
        ink);
    // Forearms reach from under the shoulders to the grip and the fore-end.
    const Vec2 grip{gx + 0.5f, c.y + 13}, fore{gx + 0.3f, c.y + 21};
    Part(
        f,
        [&](Image& l) {
            Limb(l, B(-12, 3), B(-11, 10), grip, 3.3f, 3.0f, 2.5f, sleeve);
            l.FillShape(Circle(grip, 2.6f), Lit(grip, 2.6f, skin));
        },
        ink);
    Part(
        f,
        [&](Image& l) {
            Limb(l, B(12, 3), B(8, 13), fore, 3.3f, 3.0f, 2.5f, sleeve);
            l.FillShape(Circle(fore, 2.6f), Lit(fore, 2.6f, skin));
        },
        ink);
    // Head: the helmet from above with a glimpse of face under its rim.
    Part(
        f,
        [&](Image& l) {
            l.FillShape(Ellipse(B(0, 5.5f), 3.8f, 2.8f, sway), Lit(B(0, 5), 4, skin));
            l.FillShape(Circle(B(0, 0.5f), 7.0f),
                        Grainy(Lit(B(-0.5f, -0.5f), 7.0f, helmet, 0.8f), 14, 0.3f, 1.5f));
            l.FillShape(Ring(B(0, 0.5f), 6.2f, 0.8f), WithAlpha(Hex(0x2d3320), 0.6f));
        },
        ink);
    return WithOutline(f, 0.8f, ink);
}

// ---------------------------------------------------------------- monsters

constexpr int kWalkFrames = 20; // frames 1..20 walk (20 is shown briefly before the wrap to 1)

float DeathProgress(int frame) {
    return frame <= kWalkFrames ? -1.0f : Clamp01((frame - 21) / 9.0f);
}
float WalkPhase(int frame) {
    return kTau * (frame - 1) / kWalkFrames;
}

// Drawn facing +y; the sheet is flipped to face up because the game turns zombies the other way round.
Image ZombieFrame(int frame) {
    const float p = DeathProgress(frame);
    const bool dying = p >= 0;
    const float t = dying ? 0 : WalkPhase(frame);
    const float s = std::sin(t), k = dying ? 1 - 0.35f * p : 1.0f;
    const Color skin = Shade(Hex(0x8eaa72), k), shirt = Shade(Hex(0x7a4c3a), k),
                pants = Shade(Hex(0x3a3c4c), k);
    const Color wound = Shade(Hex(0x6e1c14), k);
    Image f(64, 64), pool(64, 64);
    Vec2 c{32 + 1.5f * s, 30};
    if (dying) {
        Pool(pool, {32, 34}, 19 * SmoothStep(0.2f, 1.0f, p), Hex(0x5a0c08), 301);
        c = c + Vec2{0, 3 * p};
    }
    const float lie = dying ? SmoothStep(0, 1, p) : 0; // how far he has fallen flat on his face
    // Legs: a dragging shuffle, stretched out behind once he lies.
    for (int side = -1; side <= 1; side += 2) {
        const float stride = dying ? 0 : 6.0f * s * side;
        const Vec2 hip = c + Vec2{4.5f * side, -1 - 4 * lie};
        const Vec2 foot = c + Vec2{(5.5f + 3 * lie) * side, stride - 2 - 17 * lie};
        f.FillShape(Capsule(hip, foot, 3.5f), LinearGradient(hip, foot, pants, Shade(pants, 0.75f)));
        f.FillShape(Ellipse(foot, 3.2f, 3.8f), Lit(foot, 4, Shade(Hex(0x2d261f), k)));
    }
    // Hunched torso in a torn shirt; it lengthens as the body goes down flat.
    const Vec2 body = c + Vec2{0, 2 * lie};
    Part(
        f,
        [&](Image& l) {
            l.FillShape(Ellipse(body, 13.0f, 8.5f + 5 * lie), Grainy(Lit(body, 13, shirt), 21, 0.45f, 0.9f));
            l.FillShape(Polygon({body + Vec2{-7, -3}, body + Vec2{-2, 4}, body + Vec2{-8, 5}}),
                        Lit(body, 12, skin));
            l.Line(body + Vec2{3, -6}, body + Vec2{6, 2}, 0.9f, Shade(shirt, 0.6f));
            l.FillShape(Circle(body + Vec2{7, -2}, 2.4f), WithAlpha(wound, 0.85f));
            l.FillShape(Circle(body + Vec2{-3, -5}, 1.6f), WithAlpha(wound, 0.8f));
        },
        Hex(0x121510));
    // Arms stretched forward, grasping, each out of step with the other; flung aside in death.
    for (int side = -1; side <= 1; side += 2) {
        Part(
            f,
            [&](Image& l) {
                const Vec2 shoulder = body + Vec2{11.0f * side, 1};
                const float reach = 2.5f * std::sin(t + (side > 0 ? 0 : 2.2f));
                Vec2 hand = body + Vec2{7.0f * side, 19 + reach};
                const Vec2 flung = body + Vec2{19.0f * side, 12};
                hand = hand + (flung - hand) * lie;
                const Vec2 elbow = (shoulder + hand) * 0.5f + Vec2{2.0f * side, 0};
                Limb(l, shoulder, elbow, hand, 3.5f, 3.0f, 2.5f, skin);
                for (int fi = -1; fi <= 1; ++fi) {
                    const Vec2 dir = Rotate({0, 1}, fi * 24.0f - side * 8.0f);
                    l.FillShape(TaperedCapsule(hand, hand + dir * 4.2f, 1.0f, 0.5f), Shade(skin, 0.75f));
                }
                l.FillShape(Circle(hand, 2.7f), Lit(hand, 2.7f, skin));
            },
            Hex(0x121510));
    }
    // Head hangs forward: sunken eyes, a scabbed crown and what is left of the hair.
    const Vec2 head = body + Vec2{0, 4 + 8 * lie};
    Part(
        f,
        [&](Image& l) {
            l.FillShape(Circle(head, 6.8f), Grainy(Lit(head, 6.8f, skin, 0.6f), 22, 0.4f, 1.4f));
            l.FillShape(Ellipse(head + Vec2{-2.5f, -3}, 3.2f, 2.2f, -20),
                        WithAlpha(Shade(Hex(0x2a2418), k), 0.9f));
            l.FillShape(Ellipse(head + Vec2{3, -2.5f}, 2.2f, 1.6f, 30),
                        WithAlpha(Shade(Hex(0x2a2418), k), 0.8f));
            l.FillShape(Circle(head + Vec2{-2.4f, 3.8f}, 1.4f), Shade(Hex(0x1a1610), k));
            l.FillShape(Circle(head + Vec2{2.4f, 3.8f}, 1.4f), Shade(Hex(0x1a1610), k));
            l.FillShape(Ellipse(head + Vec2{2, 0}, 2.0f, 1.4f, 30), WithAlpha(wound, 0.7f));
        },
        Hex(0x121510));
    // Drawn a size small and grown to fill the frame like the other creatures; the pool stays as laid.
    Image grown(64, 64);
    grown.DrawTransformed(f, {32, 32}, 0, 1.18f);
    pool.Draw(WithOutline(grown, 1.0f, Hex(0x121510)), 0, 0);
    return pool;
}

Image AlienFrame(int frame) {
    const float p = DeathProgress(frame);
    const bool dying = p >= 0;
    const float t = dying ? 0 : WalkPhase(frame);
    const float s = std::sin(t);
    const float curl = dying ? SmoothStep(0, 1, p) : 0;
    const float k = 1 - 0.3f * curl;
    const Color shell = Shade(Hex(0x6a3a9a), k), belly = Shade(Hex(0x3b1f5e), k);
    const Color glow = Lerp(Hex(0x3ff0d0), Hex(0x1f5a50), curl), claw = Shade(Hex(0xd8c8e8), k);
    Image f(64, 64);
    const Vec2 c{32, 31};
    if (dying) Pool(f, {32, 32}, 18 * SmoothStep(0.15f, 1.0f, p), Hex(0x7fa81a), 402);
    // Digitigrade legs behind, stepping.
    for (int side = -1; side <= 1; side += 2) {
        const float stride = 6.5f * s * side * (1 - curl);
        const Vec2 hip = c + Vec2{5.0f * side, -3};
        const Vec2 knee = c + Vec2{(10.5f - 3 * curl) * side, -7 + stride * 0.4f};
        const Vec2 foot = c + Vec2{(7.0f + 4 * curl) * side, 3 + stride - 4 * curl};
        Limb(f, hip, knee, foot, 3.2f, 2.2f, 1.6f, belly);
        for (int toe = -1; toe <= 1; ++toe) {
            f.FillShape(Capsule(foot, foot + Rotate({0, 3.2f}, toe * 30.0f), 0.8f), claw);
        }
    }
    // Segmented tail sweeping behind.
    const float sweep = 5 * std::sin(t + 1) * (1 - curl) + 6 * curl;
    Vec2 prev = c + Vec2{0, -6};
    for (int i = 1; i <= 5; ++i) {
        const Vec2 next = c + Vec2{sweep * i / 5.0f * (i / 5.0f), -6 - 4.2f * i};
        f.FillShape(TaperedCapsule(prev, next, 5.2f - 0.8f * i, 4.4f - 0.8f * i), Lit(prev, 5, shell, 0.6f));
        f.FillShape(Circle(next, 1.1f), glow);
        prev = next;
    }
    // Thorax, a hard carapace with a glowing seam.
    f.FillShape(Ellipse(c, 9.5f, 8.5f), Grainy(Lit(c, 10, shell, 0.7f), 31, 0.3f, 1.2f));
    f.Line(c + Vec2{0, -7}, c + Vec2{0, 6}, 1.4f, WithAlpha(glow, 0.8f));
    f.FillShape(Ellipse(c + Vec2{-5, 1}, 2.2f, 1.1f, 60), WithAlpha(glow, 0.6f));
    f.FillShape(Ellipse(c + Vec2{5, 1}, 2.2f, 1.1f, -60), WithAlpha(glow, 0.6f));
    // Scythe arms held forward, striking in turn; folded in death.
    for (int side = -1; side <= 1; side += 2) {
        const float jab = 3 * std::sin(t + (side > 0 ? 0 : kTau / 2)) * (1 - curl);
        const Vec2 shoulder = c + Vec2{8.0f * side, 3};
        const Vec2 elbow = c + Vec2{(14.0f - 4 * curl) * side, 11 + jab * 0.5f - 4 * curl};
        const Vec2 tip = c + Vec2{(7.5f + 2 * curl) * side, 22 + jab - 10 * curl};
        Limb(f, shoulder, elbow, tip, 2.6f, 2.0f, 0.6f, shell);
        f.FillShape(TaperedCapsule(tip, tip + Vec2{-2.5f * side, -4}, 1.2f, 0.3f), claw);
    }
    // Long head pointing forward with two glowing eyes.
    const Vec2 head = c + Vec2{0, 11 - 2 * curl};
    f.FillShape(Ellipse(head, 5.0f, 7.5f), Lit(head, 7, shell, 0.7f));
    f.FillShape(Ellipse(head + Vec2{0, -2}, 2.2f, 4.5f), WithAlpha(belly, 0.6f));
    for (int side = -1; side <= 1; side += 2) {
        const Vec2 eye = head + Vec2{2.6f * side, 3.2f};
        f.FillShape(Ellipse(eye, 1.5f, 2.3f, 20.0f * side), Lerp(Hex(0xfff040), Hex(0x605010), curl));
        f.FillShape(Circle(eye + Vec2{-0.4f, -0.6f}, 0.6f), Hex(0xeafffa));
    }
    return WithOutline(f, 1.0f, Hex(0x140a1c));
}

Image SpiderFrame(int frame) {
    const float p = DeathProgress(frame);
    const bool dying = p >= 0;
    const float t = dying ? 0 : WalkPhase(frame);
    const float curl = dying ? SmoothStep(0, 1, p) : 0;
    const float k = 1 - 0.25f * curl;
    const Color chitin = Shade(Hex(0x2e2520), k), leg = Shade(Hex(0x3a2d24), k),
                mark = Shade(Hex(0xb02a1a), k);
    Image f(64, 64);
    const Vec2 c{32, 33};
    if (dying) Pool(f, {32, 31}, 16 * SmoothStep(0.15f, 1.0f, p), Hex(0x8a9a20), 503);
    // Eight legs, alternating sets: each leg's swing is in step with the opposite side's neighbour.
    const float baseAngles[4] = {58, 20, -20,
                                 -58}; // degrees from sideways toward the front, front legs first
    for (int side = -1; side <= 1; side += 2) {
        for (int i = 0; i < 4; ++i) {
            const float phase = ((i + (side > 0 ? 1 : 0)) % 2) ? 0 : kTau / 2;
            const float a = (baseAngles[i] + 13 * std::sin(t + phase) * (1 - curl)) * kTau / 360;
            const Vec2 out{side * std::cos(a), std::sin(a)};
            const Vec2 hip = c + Vec2{3.5f * side, 4.5f - 3.0f * i};
            const Vec2 knee = hip + out * (11 - 4 * curl);
            // The outer segment reaches on toward the front or back; in death the legs fold in under the
            // body.
            const float a2 = a + (a >= 0 ? 0.45f : -0.45f);
            const Vec2 reach{side * std::cos(a2), std::sin(a2)};
            const Vec2 in = (c - knee) * (1.0f / std::max(1.0f, std::hypot(c.x - knee.x, c.y - knee.y)));
            Vec2 dir = reach * (1 - curl) + in * curl;
            dir = dir * (1.0f / std::max(0.001f, std::hypot(dir.x, dir.y)));
            const Vec2 foot = knee + dir * (12 - 5 * curl);
            f.FillShape(TaperedCapsule(hip, knee, 2.0f, 1.6f), Lit(hip, 12, leg, 0.4f));
            f.FillShape(TaperedCapsule(knee, foot, 1.6f, 0.7f), Lit(knee, 12, Shade(leg, 0.85f), 0.4f));
            f.FillShape(Circle(knee, 1.5f), Shade(leg, 1.25f));
        }
    }
    // Abdomen behind with a red mark; head and fangs forward.
    const Vec2 abdomen = c + Vec2{0, -9 + 1.2f * std::sin(2 * t)};
    f.FillShape(Ellipse(abdomen, 10.5f, 12.0f), Grainy(Lit(abdomen, 12, chitin, 0.6f), 41, 0.6f, 1.6f));
    f.FillShape(Polygon({abdomen + Vec2{0, -6}, abdomen + Vec2{2.6f, -1}, abdomen + Vec2{0, 1},
                         abdomen + Vec2{-2.6f, -1}}),
                mark);
    f.FillShape(Polygon({abdomen + Vec2{0, 2}, abdomen + Vec2{2.2f, 5.5f}, abdomen + Vec2{0, 8},
                         abdomen + Vec2{-2.2f, 5.5f}}),
                mark);
    const Vec2 thorax = c + Vec2{0, 5};
    f.FillShape(Ellipse(thorax, 7.5f, 7.0f), Grainy(Lit(thorax, 8, chitin, 0.7f), 42, 0.5f, 1.6f));
    for (int side = -1; side <= 1; side += 2) {
        f.FillShape(TaperedCapsule(thorax + Vec2{2.0f * side, 6},
                                   thorax + Vec2{1.2f * side, 10.5f - 2 * curl}, 1.5f, 0.5f),
                    Hex(0x1a1410));
    }
    const Vec2 eyes[6] = {{-2.2f, 5}, {2.2f, 5}, {-1, 6.3f}, {1, 6.3f}, {-3.6f, 3.6f}, {3.6f, 3.6f}};
    for (const Vec2& e : eyes) {
        f.FillShape(Circle(thorax + e, 0.95f), Lerp(Hex(0xff3020), Hex(0x401010), curl));
    }
    return WithOutline(f, 1.0f, Hex(0x0c0806));
}

// ---------------------------------------------------------------- bullets and their masks

// Colour fields of the bullet pictures: several masks cut shapes from each, so they are graded from a
// white-hot centre outward, stretched along the flight axis (the picture's y).
Image BulletField(Color core, Color mid, Color edge, uint32_t seed) {
    Image img(64, 64);
    img.Fill([=](float x, float y) {
        const float dx = (x - 32) / 18, dy = (y - 34) / 34;
        const float d = std::sqrt(dx * dx + dy * dy) + 0.12f * (Fbm(x / 9, y / 9, seed, 3) - 0.5f);
        Color c = d < 0.45f ? Lerp(core, mid, SmoothStep(0.05f, 0.45f, d))
                            : Lerp(mid, edge, SmoothStep(0.45f, 1.2f, d));
        c.a = 1;
        return c;
    });
    return img;
}

// Masks are grey pictures: white solid, black clear, greys give soft glows.
Image MaskCanvas() {
    return Image(64, 64, Hex(0x000000));
}

// A glowing streak along the picture's y: the head (toward +y, the flight direction) bright, the tail fading.
void Streak(Image& m, float headY, float tailY, float width, float headR, float glow) {
    const Vec2 head{32, headY};
    Image g(64, 64);
    g.FillShape(TaperedCapsule({32, tailY}, head, 0.4f, width),
                LinearGradient({32, tailY}, head, Hex(0xffffff, 0.0f), Hex(0xffffff)));
    m.Draw(Blur(g, glow), 0, 0, Blend::Add);
    m.Draw(g, 0, 0, Blend::Add);
    m.FillShape(Ellipse(head, headR * 0.7f, headR), Hex(0xffffff));
}

Image Glow(const Shape& s, float sigma, float strength) {
    Image g(64, 64);
    g.FillShape(s, Hex(0xffffff));
    Image out = Blur(g, sigma);
    out.Fade(strength);
    return out;
}

Image BulletMask(int kind) {
    Image m = MaskCanvas();
    switch (kind) {
    case 1: // rifle tracer
        Streak(m, 44, 6, 2.0f, 3.2f, 2.0f);
        break;
    case 2: // machine-pistol slug: short and quick
        Streak(m, 40, 18, 1.8f, 2.6f, 1.5f);
        break;
    case 3: { // rocket: body, fins and exhaust flame behind
        m.Draw(Glow(Capsule({32, 10}, {32, 30}, 5), 3.0f, 0.7f), 0, 0, Blend::Add);
        m.FillShape(TaperedCapsule({32, 8}, {32, 27}, 0.5f, 4.0f),
                    LinearGradient({32, 8}, {32, 27}, Hex(0x202020), Hex(0xd0d0d0)));
        m.FillShape(RoundedRect({32, 37}, 3.6f, 9, 2.5f), Hex(0xffffff));
        m.FillShape(Polygon({{28.4f, 29}, {24, 25}, {24.5f, 32}, {28.4f, 33}}), Hex(0xe0e0e0));
        m.FillShape(Polygon({{35.6f, 29}, {40, 25}, {39.5f, 32}, {35.6f, 33}}), Hex(0xe0e0e0));
        m.FillShape(Ellipse({32, 46.5f}, 3.6f, 3.0f), Hex(0xffffff));
        break;
    }
    case 4: // pistol round
        Streak(m, 40, 24, 2.2f, 3.0f, 1.6f);
        break;
    case 5: // nano orb in a soft halo
        m.Draw(Glow(Circle({32, 34}, 8), 4.0f, 0.8f), 0, 0, Blend::Add);
        m.FillShape(Circle({32, 34}, 5.0f), Hex(0xffffff));
        break;
    case 6: // laser: a long beam
        m.Draw(Glow(Capsule({32, 4}, {32, 58}, 3.5f), 3.0f, 0.7f), 0, 0, Blend::Add);
        m.FillShape(Capsule({32, 6}, {32, 56}, 1.6f),
                    LinearGradient({32, 4}, {32, 58}, Hex(0x606060), Hex(0xffffff)));
        break;
    case 7: // shotgun pellet
        m.Draw(Glow(Circle({32, 34}, 4), 2.0f, 0.6f), 0, 0, Blend::Add);
        m.FillShape(Circle({32, 34}, 2.8f), Hex(0xffffff));
        m.FillShape(TaperedCapsule({32, 24}, {32, 33}, 0.3f, 1.6f), Hex(0x909090));
        break;
    case 8: // piercing bolt: a long diamond with a bright edge
        m.Draw(Glow(Polygon({{32, 8}, {37, 34}, {32, 54}, {27, 34}}), 3.0f, 0.6f), 0, 0, Blend::Add);
        m.FillShape(Polygon({{32, 12}, {35.5f, 36}, {32, 52}, {28.5f, 36}}),
                    LinearGradient({32, 12}, {32, 52}, Hex(0x505050), Hex(0xffffff)));
        break;
    }
    return m;
}

Image ShardMask() {
    Image m = MaskCanvas();
    m.Draw(Glow(Polygon({{29, 20}, {36, 30}, {34, 44}, {28, 38}}), 3.0f, 0.7f), 0, 0, Blend::Add);
    m.FillShape(TaperedCapsule({32, 10}, {32, 32}, 0.3f, 3.0f),
                LinearGradient({32, 10}, {32, 32}, Hex(0x000000), Hex(0xb0b0b0)));
    m.FillShape(Polygon({{30, 27}, {35.5f, 31}, {34, 41}, {29.5f, 37.5f}}), Hex(0xffffff));
    return m;
}

Image FreezeMask() {
    Image m = MaskCanvas();
    for (int i = 0; i < 6; ++i) {
        const Vec2 d = Rotate({0, 1}, i * 60.0f);
        m.Line({32, 32}, Vec2{32, 32} + d * 14, 2.2f, Hex(0xffffff));
        m.Line(Vec2{32, 32} + d * 8, Vec2{32, 32} + d * 8 + Rotate(d, 45) * 5, 1.5f, Hex(0xd0d0d0));
        m.Line(Vec2{32, 32} + d * 8, Vec2{32, 32} + d * 8 + Rotate(d, -45) * 5, 1.5f, Hex(0xd0d0d0));
    }
    m.FillShape(Circle({32, 32}, 3), Hex(0xffffff));
    return m;
}

Image RingPelletMask() {
    Image m = MaskCanvas();
    m.Draw(Glow(Circle({32, 32}, 6), 2.5f, 0.6f), 0, 0, Blend::Add);
    m.FillShape(Ring({32, 32}, 4.5f, 2.0f), Hex(0xffffff));
    m.FillShape(Circle({32, 32}, 1.5f), Hex(0xffffff));
    return m;
}

// The in-game cursor is BULLET2 under this mask, drawn 48 x 48: a small ring and four ticks with a dot.
// The crosshair arms sit 9 px and more from the point, so the ring stays inside them.
Image CursorMask() {
    Image m = MaskCanvas();
    const Vec2 c{32, 32};
    m.FillShape(Ring(c, 7.5f, 2.4f), Hex(0xffffff));
    for (int i = 0; i < 4; ++i) {
        const Vec2 d = Rotate({0, 1}, i * 90.0f);
        m.Line(c + d * 2.8f, c + d * 4.5f, 1.6f, Hex(0xffffff));
    }
    m.FillShape(Circle(c, 1.5f), Hex(0xffffff));
    return m;
}

// Muzzle flash: additive on black, its root toward the top (at the muzzle) and the fire spraying down.
Image MuzzleFlash() {
    Image f(64, 64, Hex(0x000000));
    const Vec2 root{32, 22};
    Image fire(64, 64);
    fire.FillShape(Polygon({{32, 16}, {38, 30}, {33.5f, 30}, {32, 54}, {30.5f, 30}, {26, 30}}),
                   Hex(0xffa030));
    fire.FillShape(Polygon({{24, 18}, {32, 22}, {40, 18}, {34, 26}, {30, 26}}), Hex(0xff8020));
    f.Draw(Blur(fire, 2.5f), 0, 0, Blend::Add);
    f.Draw(Blur(fire, 0.7f), 0, 0, Blend::Add);
    f.FillShape(Ellipse(root + Vec2{0, 5}, 4.5f, 7.5f),
                RadialGradient(root + Vec2{0, 4}, 8, Hex(0xffffff), Hex(0xffd060)));
    for (int i = -1; i <= 1; i += 2) {
        f.Line(root + Vec2{0, 4}, root + Vec2{9.0f * i, 3}, 1.4f, Hex(0xffe080, 0.8f), Blend::Add);
    }
    return f;
}

// A cartridge case drawn 2 x 4 on the field: brass filling the whole picture, rim and mouth darker.
Image CartridgeCase() {
    Image f(8, 16, Hex(0xb08a3a));
    f.Fill(LinearGradient({0, 0}, {8, 0}, Hex(0x8a6a28), Hex(0xe8c870)));
    f.FillShape(RoundedRect({4, 15}, 4, 1.6f, 0), Hex(0x6a5020));
    f.FillShape(RoundedRect({4, 1}, 4, 1.2f, 0), Hex(0x7a5c24));
    f.FillShape(RoundedRect({5.5f, 8}, 0.8f, 6, 0.5f), Hex(0xfff0b0, 0.6f));
    return f;
}

// Crosshair arm, drawn 3 x 5: a small wedge pointing toward the cursor point (to the left at angle 0).
Image CrosshairArm(Color c) {
    Image f(12, 20, Shade(c, 0.35f));
    f.FillShape(Polygon({{1, 10}, {11, 1.5f}, {11, 18.5f}}),
                LinearGradient({1, 10}, {11, 10}, Shade(c, 1.2f), c));
    return f;
}
Image CrosshairArmMask() {
    Image m(12, 20, Hex(0x000000));
    m.FillShape(Polygon({{0.5f, 10}, {11, 1}, {11, 19}}), Hex(0xffffff));
    return m;
}

// ---------------------------------------------------------------- pickups

constexpr int kIconFrames = 18;

// Shrinks and centres a drawing so that it lies within a centred box of the given size, leaving the
// frame's border clear (filtering would otherwise bleed it into the neighbouring frame).
Image FitInto(const Image& src, float box) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (int y = 0; y < src.Height(); ++y) {
        for (int x = 0; x < src.Width(); ++x) {
            if (src.At(x, y).a < 0.02f) continue;
            x0 = std::min(x0, x + 0.0f), y0 = std::min(y0, y + 0.0f), x1 = std::max(x1, x + 1.0f),
            y1 = std::max(y1, y + 1.0f);
        }
    }
    if (x1 < x0) return src;
    const float scale = std::min(1.0f, box / std::max(x1 - x0, y1 - y0));
    const Vec2 mid{src.Width() / 2.0f, src.Height() / 2.0f};
    const Vec2 centre{(x0 + x1) / 2, (y0 + y1) / 2};
    Image out(src.Width(), src.Height());
    out.DrawTransformed(src, mid - (centre - mid) * scale, 0, scale);
    return out;
}

// A weapon icon frame: the gun on a soft glowing plate that pulses, with a glint running across it.
Image IconFrame(int frame, Color glow, const std::function<void(Image&)>& drawItem) {
    const float t = kTau * (frame - 1) / kIconFrames;
    Image f(48, 48);
    const float pulse = 0.5f + 0.5f * std::sin(t);
    Image halo(48, 48);
    halo.FillShape(Circle({24, 24}, 16 + 2 * pulse), WithAlpha(glow, 0.35f + 0.25f * pulse));
    f.Draw(Blur(halo, 4), 0, 0);
    f.FillShape(Ring({24, 24}, 19, 1.2f), WithAlpha(glow, 0.35f + 0.4f * pulse));
    Image drawn(48, 48);
    drawItem(drawn);
    Image item = FitInto(drawn, 40);
    // The glint: a bright diagonal band sliding over the item.
    const float gx = -20 + 90 * (frame - 1) / static_cast<float>(kIconFrames);
    Image shine = item;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const float d = std::abs((x + y * 0.6f) - gx);
            shine.At(x, y) = WithAlpha(Hex(0xffffff), item.At(x, y).a * 0.55f * Clamp01(1 - d / 4));
        }
    }
    item.Draw(shine, 0, 0);
    f.Draw(WithOutline(item, 1.0f, Hex(0x0c0c0c)), 0, 0);
    return f;
}

Shader Metal(float y0, float y1, Color c) {
    return LinearGradient({0, y0}, {0, y1}, Shade(c, 1.7f), Shade(c, 0.7f));
}

void DrawPistol(Image& f) {
    const Color steel = Hex(0x4a4e56);
    f.FillShape(RoundedRect({25, 20}, 11, 3.2f, 1), Metal(17, 23, steel));
    f.FillShape(Polygon({{16, 22}, {23, 22}, {21, 33}, {14, 32}}), Metal(22, 33, Hex(0x3a2a1c)));
    f.FillShape(Ring({23, 25.5f}, 2.6f, 1.0f), steel);
    f.FillShape(RoundedRect({36.5f, 19.4f}, 1.2f, 1.2f, 0.3f), Hex(0x18181a));
}

void DrawRifle(Image& f) {
    const Color steel = Hex(0x3c3f44), wood = Hex(0x7a4a24);
    f.FillShape(Polygon({{3, 20}, {13, 19}, {14, 25}, {4, 28}}), Metal(19, 28, wood));
    f.FillShape(RoundedRect({23, 21.5f}, 10, 3, 1), Metal(18, 25, steel));
    f.FillShape(RoundedRect({38, 21}, 6, 1.2f, 0.5f), Metal(19, 23, steel));
    f.FillShape(RoundedRect({29, 23.5f}, 5, 2, 1), Metal(21, 26, wood));
    f.FillShape(Polygon({{20, 24}, {24, 24}, {26, 33}, {22, 34}}), Metal(24, 34, Hex(0x26282c)));
    f.FillShape(Polygon({{14, 24}, {17, 24}, {16, 30}, {13, 30}}), Metal(24, 30, Hex(0x2a2018)));
}

void DrawBazooka(Image& f) {
    const Color tube = Hex(0x556030);
    f.FillShape(RoundedRect({24, 22}, 18, 4.2f, 2), Metal(17.5f, 26.5f, tube));
    f.FillShape(RoundedRect({7, 22}, 2, 5, 1), Metal(17, 27, Hex(0x3a3f22)));
    f.FillShape(RoundedRect({41, 22}, 2, 5, 1), Metal(17, 27, Hex(0x3a3f22)));
    f.FillShape(Polygon({{43, 19.5f}, {46, 22}, {43, 24.5f}}), Hex(0xc04020));
    f.FillShape(RoundedRect({22, 16.5f}, 3, 1.5f, 0.5f), Hex(0x222222));
    f.FillShape(Polygon({{18, 26}, {22, 26}, {21, 32}, {17, 32}}), Metal(26, 32, Hex(0x2a2a24)));
    f.FillShape(Polygon({{28, 26}, {31, 26}, {30, 31}, {27, 31}}), Metal(26, 31, Hex(0x2a2a24)));
}

void DrawLaser(Image& f) {
    const Color body = Hex(0xc8ccd4);
    f.FillShape(Polygon({{4, 20}, {30, 18}, {40, 20}, {40, 25}, {12, 27}, {6, 30}}), Metal(18, 30, body));
    f.FillShape(RoundedRect({42, 22.5f}, 4, 1.5f, 0.7f), Metal(21, 24, Hex(0x606870)));
    for (int i = 0; i < 3; ++i)
        f.FillShape(RoundedRect({22.0f + 5 * i, 22.5f}, 1.3f, 3.4f, 0.6f), Hex(0x40f0ff));
    f.FillShape(Polygon({{14, 26}, {19, 26}, {18, 33}, {13, 33}}), Metal(26, 33, Hex(0x30343c)));
    f.FillShape(Circle({46.5f, 22.5f}, 1.6f), Hex(0xa0ffff));
}

void DrawShotgun(Image& f) {
    const Color steel = Hex(0x3a3c42), wood = Hex(0x8a5228);
    f.FillShape(Polygon({{2, 22}, {14, 21}, {15, 26}, {3, 29}}), Metal(21, 29, wood));
    f.FillShape(RoundedRect({30, 21}, 16, 1.6f, 0.8f), Metal(19, 23, steel));
    f.FillShape(RoundedRect({30, 24.2f}, 14, 1.5f, 0.8f), Metal(22.5f, 26, steel));
    f.FillShape(RoundedRect({18, 23}, 4, 3, 1), Metal(20, 26, steel));
    f.FillShape(RoundedRect({31, 26.8f}, 5, 1.8f, 0.9f), Metal(25, 29, wood));
}

void DrawNano(Image& f) {
    const Color body = Hex(0x38304a);
    f.FillShape(Polygon({{6, 24}, {14, 17}, {34, 17}, {42, 22}, {34, 28}, {14, 28}}), Metal(17, 28, body));
    f.FillShape(Circle({24, 22.5f}, 4.6f), RadialGradient({24, 22.5f}, 5, Hex(0xf0fff0), Hex(0x60e040)));
    f.FillShape(Capsule({34, 22.5f}, {45, 22.5f}, 1.6f), Metal(21, 24, Hex(0x70e060)));
    f.FillShape(Polygon({{12, 27}, {17, 27}, {15, 34}, {10, 33}}), Metal(27, 34, Hex(0x22202c)));
}

void DrawOtra(Image& f) {
    const Color body = Hex(0x5a3a2a);
    f.FillShape(RoundedRect({22, 22}, 16, 4, 1.5f), Metal(18, 26, body));
    f.FillShape(RoundedRect({40, 20.5f}, 6, 1.2f, 0.5f), Metal(19, 22, Hex(0x505050)));
    f.FillShape(RoundedRect({40, 24}, 6, 1.2f, 0.5f), Metal(23, 25, Hex(0x505050)));
    f.Line({18, 22}, {36, 22}, 1.4f, Hex(0xff60ff));
    f.FillShape(Polygon({{11, 25}, {16, 25}, {15, 33}, {10, 32}}), Metal(25, 33, Hex(0x2a1e18)));
    f.FillShape(Circle({46.5f, 22.2f}, 1.4f), Hex(0xff90ff));
}

void DrawUzi(Image& f) {
    const Color steel = Hex(0x2e3034);
    f.FillShape(RoundedRect({24, 20}, 11, 3.6f, 1), Metal(16, 24, steel));
    f.FillShape(RoundedRect({37, 19.5f}, 3, 1, 0.4f), Metal(18, 21, steel));
    f.FillShape(Polygon({{21, 23}, {26, 23}, {26, 37}, {21, 37}}), Metal(23, 37, Hex(0x1c1d20)));
    f.FillShape(Ring({18, 25}, 2.4f, 1.0f), steel);
    f.Line({13, 19}, {6, 20}, 1.2f, Hex(0x505358));
}

// Bonus icons fill the icon with a round badge; each has its own small motion.
void Badge(Image& f, Color rim, Color face) {
    f.FillShape(Circle({24, 24}, 17), Lit({24, 24}, 17, rim, 0.5f));
    f.FillShape(Circle({24, 24}, 14.5f), Lit({24, 24}, 14.5f, face, 0.45f));
}

Image BonusFrame(int frame, Color glow, const std::function<void(Image&, float)>& drawFace) {
    const float t = kTau * (frame - 1) / kIconFrames;
    Image f(48, 48);
    Image halo(48, 48);
    const float pulse = 0.5f + 0.5f * std::sin(t);
    halo.FillShape(Circle({24, 24}, 17.5f + 1.5f * pulse), WithAlpha(glow, 0.45f + 0.3f * pulse));
    f.Draw(Blur(halo, 2), 0, 0);
    Image face(48, 48);
    drawFace(face, t);
    f.Draw(WithOutline(face, 1.0f, Hex(0x101010)), 0, 0);
    return f;
}

void NukeFace(Image& f, float t) {
    Badge(f, Hex(0x303030), Hex(0xf0c020));
    const Vec2 c{24, 24};
    for (int i = 0; i < 3; ++i) {
        const float a0 = i * 120.0f + t * 360 / kTau / 3, a1 = a0 + 60;
        std::vector<Vec2> blade{c + Rotate({0, 3.5f}, a0)};
        for (int k = 0; k <= 6; ++k)
            blade.push_back(c + Rotate({0, 12.5f}, a0 + (a1 - a0) * k / 6));
        blade.push_back(c + Rotate({0, 3.5f}, a1));
        f.FillShape(Polygon(blade), Hex(0x1a1a1a));
    }
    f.FillShape(Circle(c, 2.6f), Hex(0x1a1a1a));
}

void ShieldFace(Image& f, float t) {
    Badge(f, Hex(0x2a3a5a), Hex(0x3a78d0));
    const Vec2 c{24, 24};
    f.FillShape(Polygon({{24, 10}, {35, 14}, {33, 28}, {24, 37}, {15, 28}, {13, 14}}),
                Lit(c, 14, Hex(0xd8e4f4), 0.6f));
    f.FillShape(Polygon({{24, 13}, {32, 16}, {30.5f, 27}, {24, 33.5f}}), Hex(0x8aa8d8));
    f.FillShape(Ring(c, 9 + 3 * std::sin(t), 1.0f), WithAlpha(Hex(0xb0e0ff), 0.6f));
}

void LifeFace(Image& f, float t) {
    Badge(f, Hex(0x6a6a6a), Hex(0xf4f4f0));
    const float k = 1 + 0.08f * std::sin(t);
    const Vec2 c{24, 24};
    f.FillShape(RoundedRect(c, 3.6f * k, 10.5f * k, 1.2f), Lit(c, 11, Hex(0xd82020), 0.4f));
    f.FillShape(RoundedRect(c, 10.5f * k, 3.6f * k, 1.2f), Lit(c, 11, Hex(0xd82020), 0.4f));
}

void SunFace(Image& f, float t) {
    const Vec2 c{24, 24};
    const float spin = t * 360 / kTau / 6; // one twelfth-turn per loop: the rays line up again at the wrap
    for (int i = 0; i < 12; ++i) {
        const float a = i * 30.0f + spin * 0.5f;
        f.FillShape(Polygon({c + Rotate({-3.2f, 10}, a), c + Rotate({0, 20}, a), c + Rotate({3.2f, 10}, a)}),
                    LinearGradient(c, c + Rotate({0, 20}, a), Hex(0xffd040), Hex(0xff6010)));
    }
    f.FillShape(Circle(c, 11), RadialGradient(c + Vec2{-3, -3}, 14, Hex(0xfff8c0), Hex(0xf09010)));
}

void SlowFace(Image& f, float t) {
    Badge(f, Hex(0x205a5a), Hex(0x2ab0b8));
    const Vec2 c{24, 24};
    f.FillShape(Circle(c, 11), Lit(c, 11, Hex(0xeaf8f8), 0.3f));
    for (int i = 0; i < 12; ++i)
        f.FillShape(Circle(c + Rotate({0, -9}, i * 30.0f), 0.8f), Hex(0x204040));
    const float hand = t * 360 / kTau;
    f.Line(c, c + Rotate({0, -8}, hand), 1.6f, Hex(0x202020));
    f.Line(c, c + Rotate({0, -5.5f}, hand / 12 + 60), 2.0f, Hex(0x202020));
    f.FillShape(Circle(c, 1.5f), Hex(0xd02020));
}

// ---------------------------------------------------------------- blood, crater, mine

Image BloodSplat(uint32_t seed, Color col) {
    const int n = 128;
    Image f(n, n);
    Rng rng(seed);
    const Vec2 c{64, 64};
    Pool(f, c, 26, col, seed, 0.95f);
    for (int i = 0; i < 9; ++i) {
        const float a = rng.Range(0, kTau);
        const float d0 = rng.Range(18, 30), d1 = d0 + rng.Range(10, 28);
        const Vec2 dir{std::cos(a), std::sin(a)};
        // Each draw is named before the call: compilers order a call's arguments differently, and the bytes
        // must not depend on the compiler.
        const float tipRadius = rng.Range(0.8f, 2.5f), baseRadius = rng.Range(3, 6);
        f.FillShape(TaperedCapsule(c + dir * d0, c + dir * d1, baseRadius, tipRadius),
                    WithAlpha(Shade(col, 0.95f), 0.95f));
        const float dropRadius = rng.Range(1.2f, 3.2f), gap = rng.Range(3, 8);
        f.FillShape(Circle(c + dir * (d1 + gap), dropRadius), WithAlpha(col, 0.95f));
    }
    for (int i = 0; i < 14; ++i) {
        const float a = rng.Range(0, kTau), d = rng.Range(30, 58);
        f.FillShape(Circle(c + Vec2{std::cos(a) * d, std::sin(a) * d}, rng.Range(0.8f, 2.4f)),
                    WithAlpha(col, 0.9f));
    }
    // Darker soaked centre and a faint wet sheen.
    f.FillShape(Circle(c + Vec2{rng.Signed() * 4, rng.Signed() * 4}, 14), WithAlpha(Shade(col, 0.6f), 0.5f));
    return Blur(f, 0.6f);
}

Image Crater() {
    Image f(128, 128);
    const Vec2 c{64, 64};
    Shape outer{[c](float x, float y) {
                    const float a = std::atan2(y - c.y, x - c.x);
                    const float r =
                        56 + 5 * (Fbm(std::cos(a) * 2 + 5, std::sin(a) * 2 + 5, 701, 3) - 0.5f) * 2;
                    return std::hypot(x - c.x, y - c.y) - r;
                },
                0, 0, 128, 128};
    // Scorched earth fading out at the edge; the mask softens it further.
    f.FillShape(outer, [c](float x, float y) {
        const float d = std::hypot(x - c.x, y - c.y) / 60;
        const float n = Fbm(x / 7, y / 7, 702, 4);
        Color col = Lerp(Hex(0x141008), Hex(0x3a3020), SmoothStep(0.3f, 1.0f, d + 0.3f * (n - 0.5f)));
        col.a = 1 - SmoothStep(0.7f, 1.0f, d + 0.2f * (n - 0.5f));
        return col;
    });
    // Rays of soot thrown outward.
    Rng rng(703);
    for (int i = 0; i < 16; ++i) {
        const float a = rng.Range(0, kTau), r1 = rng.Range(40, 60);
        const Vec2 d{std::cos(a), std::sin(a)};
        f.FillShape(TaperedCapsule(c + d * 22, c + d * r1, rng.Range(3, 5), 0.5f),
                    WithAlpha(Hex(0x100c08), 0.5f));
    }
    // The bowl: a raised, lit rim and a dark pit.
    f.FillShape(Ring(c, 24, 7), [c](float x, float y) {
        const Vec2 p{(x - c.x) / 24, (y - c.y) / 24};
        const float lit = Clamp01(0.5f - 0.5f * (p.x * -0.6f + p.y * -0.8f));
        return WithAlpha(Lerp(Hex(0x6a5a40), Hex(0x1c160e), lit), 0.9f);
    });
    f.FillShape(Circle(c, 20),
                Grainy(RadialGradient(c + Vec2{4, 5}, 22, Hex(0x080604), Hex(0x2a2216)), 704, 0.6f, 0.4f));
    for (int i = 0; i < 10; ++i) {
        const float a = rng.Range(0, kTau), d = rng.Range(26, 44);
        const Vec2 p = c + Vec2{std::cos(a) * d, std::sin(a) * d};
        f.FillShape(Circle(p, rng.Range(1.5f, 3)), Lit(p, 3, Hex(0x4a4030)));
    }
    return f;
}

Image Radioactive() {
    Image f(64, 64);
    const Vec2 c{32, 32};
    Image halo(64, 64);
    halo.FillShape(Circle(c, 26), Hex(0x80ff40, 0.6f));
    f.Draw(Blur(halo, 6), 0, 0);
    f.FillShape(Circle(c, 22), Lit(c, 22, Hex(0xe8d020)));
    for (int i = 0; i < 3; ++i) {
        const float a0 = i * 120.0f;
        std::vector<Vec2> blade{c + Rotate({0, 5}, a0)};
        for (int k = 0; k <= 6; ++k)
            blade.push_back(c + Rotate({0, 18}, a0 + 60.0f * k / 6));
        blade.push_back(c + Rotate({0, 5}, a0 + 60));
        f.FillShape(Polygon(blade), Hex(0x141414));
    }
    f.FillShape(Circle(c, 3.5f), Hex(0x141414));
    return f;
}

// A box mine seen from above, drawn 8 x 8 with no transparency: it fills its picture edge to edge.
Image Mine() {
    Image f(16, 16);
    f.Fill(Grainy(LinearGradient({0, 0}, {16, 16}, Hex(0x6a7040), Hex(0x2e3220)), 801, 0.3f, 1.5f));
    f.FillShape(Subtract(RoundedRect({8, 8}, 9, 9, 0), RoundedRect({8, 8}, 7, 7, 1.5f)), Hex(0x1c1e14, 0.8f));
    f.FillShape(Ring({8, 8}, 6.8f, 1.0f), Hex(0x22251a, 0.8f));
    f.FillShape(Circle({8, 8}, 3.2f), Lit({8, 8}, 3.2f, Hex(0x3a3c30)));
    f.FillShape(Circle({8, 8}, 1.6f), RadialGradient({7.5f, 7.5f}, 2, Hex(0xffb0a0), Hex(0xe01810)));
    return f;
}

// ---------------------------------------------------------------- fire

// Colour of fire by heat 0..1: black, deep red, orange, yellow, white.
Color FireColor(float h) {
    h = Clamp01(h);
    if (h < 0.25f) return Lerp(Hex(0x000000), Hex(0x801000), h / 0.25f);
    if (h < 0.5f) return Lerp(Hex(0x801000), Hex(0xf05010), (h - 0.25f) / 0.25f);
    if (h < 0.75f) return Lerp(Hex(0xf05010), Hex(0xffc040), (h - 0.5f) / 0.25f);
    return Lerp(Hex(0xffc040), Hex(0xfff8e0), (h - 0.75f) / 0.25f);
}

// Pictures that vanish through colour key 0 or additive blending: anything too dark to notice becomes
// exactly black, so no near-black fringe survives around the fire.
void ClampDark(Image& img, float below) {
    for (int y = 0; y < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x) {
            Color& c = img.At(x, y);
            if (std::max({c.r, c.g, c.b}) < below) c = {0, 0, 0, 1};
            c.a = 1;
        }
    }
}

// A ball of fire of radius r (in pixels) with the given age 0..1, billowing by seed.
void Fireball(Image& f, Vec2 c, float r, float age, uint32_t seed) {
    const int x0 = std::max(0, static_cast<int>(c.x - r * 1.3f)),
              x1 = std::min(f.Width() - 1, static_cast<int>(c.x + r * 1.3f));
    const int y0 = std::max(0, static_cast<int>(c.y - r * 1.3f)),
              y1 = std::min(f.Height() - 1, static_cast<int>(c.y + r * 1.3f));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float dx = (x + 0.5f - c.x) / r, dy = (y + 0.5f - c.y) / r;
            const float d = std::sqrt(dx * dx + dy * dy);
            const float n = Fbm(dx * 2.2f + 10, dy * 2.2f + 10 + age * 1.5f, seed, 4);
            const float body = 1 - SmoothStep(0.55f, 1.05f, d + 0.45f * (n - 0.5f));
            // Hot in the middle and early; cooling to smoke-red at the rim and with age.
            const float heat = body * (1.05f - 0.55f * d - 0.75f * age + 0.5f * (n - 0.5f));
            const Color col = FireColor(heat);
            f.Put(x, y, WithAlpha(col, body), Blend::Add);
        }
    }
}

Image ExplosionFrame(int frame) {
    Image f(64, 64, Hex(0x000000));
    const float age = (frame - 1) / 15.0f;
    const Vec2 c{32, 32};
    Rng rng(900 + frame);
    const float r = 10 + 19 * std::sqrt(age);
    Fireball(f, c, r, age, 901);
    // Smaller bursts around the main ball in the first frames.
    Rng pos(902);
    for (int i = 0; i < 4; ++i) {
        const float a = pos.Range(0, kTau), d = pos.Range(8, 14);
        const float rr = (6 + 6 * std::sqrt(age)) * (1 - 0.4f * age);
        Fireball(f, c + Vec2{std::cos(a) * d * (0.6f + age), std::sin(a) * d * (0.6f + age)}, rr,
                 std::min(1.0f, age * 1.2f + 0.1f), 903 + i);
    }
    // Sparks flying out early on.
    Rng sparks(904);
    for (int i = 0; i < 14; ++i) {
        const float a = sparks.Range(0, kTau), sp = sparks.Range(14, 30);
        const Vec2 p = c + Vec2{std::cos(a), std::sin(a)} * (sp * (0.3f + age));
        if (age < 0.7f) f.FillShape(Circle(p, 0.9f), WithAlpha(Hex(0xffd080), 1 - age / 0.7f), Blend::Add);
    }
    ClampDark(f, 10 / 255.0f);
    return f;
}

// A glow on exact black, for pictures drawn additively under colour key 0: shade(d, a) gives the colour at
// distance d from the centre (1 at radius pixels) and angle a.
template <typename Shade> Image GlowOnBlack(int size, float radius, Shade shade) {
    Image f(size, size, Hex(0x000000));
    const float c = size / 2.0f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = (x + 0.5f - c) / radius, dy = (y + 0.5f - c) / radius;
            f.At(x, y) = shade(std::sqrt(dx * dx + dy * dy), std::atan2(dy, dx));
        }
    }
    ClampDark(f, 6 / 255.0f);
    return f;
}

// Blast pictures drawn with additive blending and colour key 0, rotated as they grow: a swirl of fire,
// a ring of it for the mine's shock and a fuller ball for the rocket's.
Image Blast(int size, uint32_t seed, float ringWeight, float fillWeight) {
    return GlowOnBlack(size, size * 0.484f, [&](float d, float a) {
        // A swirl in the noise makes the rotation of the growing blast visible.
        const float n =
            Fbm(std::cos(a + d * 2.5f) * 2.5f * d + 7, std::sin(a + d * 2.5f) * 2.5f * d + 7, seed, 4);
        const float ring = std::exp(-std::pow((d - 0.72f) / 0.16f, 2.0f));
        const float fill = 1 - SmoothStep(0.1f, 0.95f, d);
        const float heat =
            (fillWeight * fill + ringWeight * ring) * (0.45f + 0.9f * n) * (1 - SmoothStep(0.88f, 1.0f, d));
        return WithAlpha(FireColor(heat), 1);
    });
}

// The nuclear flash: a white-hot core with rays, fading to nothing well inside the picture's edge.
Image NukeFlash() {
    return GlowOnBlack(256, 124, [](float d, float a) {
        const float rays = 0.5f + 0.5f * std::sin(a * 9) * std::sin(a * 5 + 1.3f);
        const float n2 = Fbm(std::cos(a) * 3 + 4, std::sin(a) * 3 + 4, 1001, 3);
        const float core = std::exp(-d * d * 9);
        const float halo = (1 - SmoothStep(0.0f, 1.0f, d)) * (0.35f + 0.45f * rays * n2);
        const float e = Clamp01(core + halo);
        const Color col = Lerp(Hex(0xff8a30), Hex(0xfffff0), Clamp01(core * 1.2f + halo * 0.5f));
        return Color{col.r * e, col.g * e, col.b * e, 1};
    });
}

// The shock ring of the nuclear strike: a thin bright ring with a soft wake inside it.
Image ShockRing() {
    return GlowOnBlack(256, 124, [](float d, float a) {
        const float n2 = Fbm(std::cos(a) * 4 + 2, std::sin(a) * 4 + 2, 1101, 3);
        const float ring = std::exp(-std::pow((d - 0.86f) / 0.05f, 2.0f));
        const float wake = SmoothStep(0.45f, 0.86f, d) * (1 - SmoothStep(0.86f, 0.9f, d)) * 0.35f;
        const float e = Clamp01((ring + wake) * (0.6f + 0.6f * n2));
        const Color col = Lerp(Hex(0x6090ff), Hex(0xf0f8ff), ring);
        return Color{col.r * e, col.g * e, col.b * e, 1};
    });
}

// ---------------------------------------------------------------- grounds and light

// Ground pictures are painted into 256 x 256 tiles laid edge to edge, so they must repeat seamlessly:
// every noise here repeats over the picture and every scattered detail is drawn wrapped.
constexpr int kGround = 256;

template <typename F> void Wrapped(Image& img, Vec2 p, float reach, F&& draw) {
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            const Vec2 q = p + Vec2{ox * static_cast<float>(kGround), oy * static_cast<float>(kGround)};
            if (q.x + reach < 0 || q.y + reach < 0 || q.x - reach > kGround || q.y - reach > kGround)
                continue;
            draw(img, q);
        }
    }
}

float GroundNoise(float x, float y, int cells, uint32_t seed, int octaves) {
    return TileFbm(x * cells / kGround, y * cells / kGround, cells, seed, octaves);
}

// Trampled grass with bare earth: the first battlefield.
Image GrassGround() {
    Image g(kGround, kGround);
    g.Fill([](float x, float y) {
        // Two scales of patches so the repeat of the tile is hard to spot across the field.
        const float patches = 0.6f * GroundNoise(x, y, 4, 1201, 3) + 0.4f * GroundNoise(x, y, 8, 1205, 3);
        const float tone = GroundNoise(x, y, 16, 1206, 2);
        const float detail = GroundNoise(x, y, 32, 1202, 3);
        const float blades = GroundNoise(x, y, 128, 1203, 1);
        const float dirt = 0.85f * SmoothStep(0.46f, 0.66f, patches + 0.18f * (detail - 0.5f));
        Color grass = Lerp(Hex(0x37452a), Hex(0x56602f), 0.6f * detail + 0.4f * tone);
        grass = Shade(grass, 0.82f + 0.36f * blades);
        Color earth = Lerp(Hex(0x4e4030), Hex(0x6c5a40), detail);
        earth = Shade(earth, 0.9f + 0.2f * blades);
        return WithAlpha(Lerp(grass, earth, dirt), 1);
    });
    Rng rng(1204);
    for (int i = 0; i < 36; ++i) {
        const Vec2 p{rng.Range(0, kGround), rng.Range(0, kGround)};
        const float r = rng.Range(1.0f, 2.6f);
        const Color stone = Lerp(Hex(0x5a5648), Hex(0x7e786a), rng.Uniform());
        Wrapped(g, p, r + 2, [&](Image& img, Vec2 q) {
            img.FillShape(Ellipse(q + Vec2{0.7f, 0.8f}, r, r * 0.8f), Hex(0x000000, 0.35f));
            img.FillShape(Ellipse(q, r, r * 0.8f, rng.Range(0, 180)), Lit(q, r, stone));
        });
    }
    for (int i = 0; i < 160; ++i) {
        const Vec2 p{rng.Range(0, kGround), rng.Range(0, kGround)};
        const Color blade = Lerp(Hex(0x4c6a26), Hex(0x8a9a48), rng.Uniform());
        const float a = rng.Range(-40, 40), len = rng.Range(2, 4.5f);
        Wrapped(g, p, 6, [&](Image& img, Vec2 q) {
            for (int k = -1; k <= 1; ++k)
                img.Line(q, q + Rotate({0, -len}, a + k * 25), 0.7f, WithAlpha(blade, 0.8f));
        });
    }
    return g;
}

// Cracked, dusty wasteland with rocks: the second battlefield.
Image WastelandGround() {
    Image g(kGround, kGround);
    g.Fill([](float x, float y) {
        const float big = GroundNoise(x, y, 4, 1301, 4);
        const float detail = GroundNoise(x, y, 32, 1302, 3);
        const float fine = GroundNoise(x, y, 128, 1303, 1);
        Color c = Lerp(Hex(0x6e6252), Hex(0x9a8a70), big);
        c = Lerp(c, Hex(0x5a5044), SmoothStep(0.55f, 0.75f, detail) * 0.6f);
        c = Shade(c, 0.88f + 0.24f * fine);
        // Cracks follow the valleys of a ridged noise, only where the ground has dried out.
        const float ridge = std::abs(GroundNoise(x, y, 8, 1304, 3) - 0.5f);
        const float dry = SmoothStep(0.4f, 0.6f, GroundNoise(x, y, 4, 1306, 2));
        c = Shade(c, 1 - 0.4f * dry * (1 - SmoothStep(0.0f, 0.018f, ridge)));
        return WithAlpha(c, 1);
    });
    Rng rng(1305);
    for (int i = 0; i < 26; ++i) {
        const Vec2 p{rng.Range(0, kGround), rng.Range(0, kGround)};
        const float r = rng.Range(1.5f, 5.0f);
        const float ang = rng.Range(0, 180);
        const Color rock = Lerp(Hex(0x5a5248), Hex(0x8a8070), rng.Uniform());
        Wrapped(g, p, r + 3, [&](Image& img, Vec2 q) {
            img.FillShape(Ellipse(q + Vec2{1.2f, 1.4f}, r, r * 0.7f, ang), Hex(0x000000, 0.4f));
            img.FillShape(Ellipse(q, r, r * 0.7f, ang), Lit(q, r, rock));
        });
    }
    for (int i = 0; i < 40; ++i) {
        const Vec2 p{rng.Range(0, kGround), rng.Range(0, kGround)};
        const float a = rng.Range(-50, 50);
        Wrapped(g, p, 5, [&](Image& img, Vec2 q) {
            for (int k = -1; k <= 1; ++k)
                img.Line(q, q + Rotate({0, -3}, a + k * 30), 0.6f, Hex(0x6a6238, 0.7f));
        });
    }
    return g;
}

// Drawn 1600 x 1200 with multiply blending, centred on the soldier: full light around him, a dusky blue
// falloff toward the screen edges (the visible part is the middle half of the picture).
Image Light() {
    const int w = 512, h = 384;
    Image img(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float dx = (x + 0.5f - w / 2.0f) / (w / 2.0f), dy = (y + 0.5f - h / 2.0f) / (w / 2.0f);
            const float d = std::sqrt(dx * dx + dy * dy);
            const float lit = 1 - SmoothStep(0.1f, 0.72f, d);
            const float n = Fbm(x / 40.0f, y / 40.0f, 1401, 3) - 0.5f;
            const Color dark = Hex(0x303c56), warm = Hex(0xfff8ec);
            Color c = Lerp(dark, warm, Clamp01(lit + 0.06f * n));
            // Dither against banding in the long gradient.
            const float dither =
                (Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 1402) / 4294967295.0f - 0.5f) /
                255.0f;
            c = {c.r + dither, c.g + dither, c.b + dither, 1};
            img.At(x, y) = c;
        }
    }
    return img;
}

} // namespace

void GeneratePictures(const std::string& outDir) {
    const Out out(outDir);

    const Image player = Sheet(4, 4, 64, 64, PlayerFrame);
    out.Masked("PLAYER.bmp", "PLAYER_MASK.bmp", player, Hex(0x141510));

    out.Tga("M_MORE.TGA", Sheet(10, 3, 64, 64, [](int frame) { return FlipVertical(ZombieFrame(frame)); }));
    out.Tga("M_NORMAL.TGA", Sheet(10, 3, 64, 64, AlienFrame));
    out.Tga("M_NEW.TGA", Sheet(10, 3, 64, 64, SpiderFrame));

    out.Bmp("BULLET.bmp", BulletField(Hex(0xffffff), Hex(0xffd060), Hex(0xd06010), 1501));
    out.Bmp("BULLET1.bmp", BulletField(Hex(0xffffff), Hex(0xffe070), Hex(0xf08020), 1502));
    out.Bmp("BULLET2.bmp", BulletField(Hex(0xfff8e0), Hex(0xffa030), Hex(0xd02a10), 1503));
    out.Bmp("BULLET3.bmp", BulletField(Hex(0xf8fff0), Hex(0x90ff50), Hex(0x10a070), 1504));
    out.Bmp("BULLET4.bmp", BulletField(Hex(0xfff0ff), Hex(0xff70f0), Hex(0x8020c0), 1505));
    out.Bmp("BULLET5.bmp", BulletField(Hex(0xf0ffff), Hex(0x60e8ff), Hex(0x2050e0), 1506));
    out.Bmp("BULLET6.bmp", BulletField(Hex(0xffffe0), Hex(0xffb030), Hex(0xc02008), 1507));
    out.Bmp("BULLET7.bmp", BulletField(Hex(0xffffff), Hex(0xfff0a0), Hex(0xe0a030), 1508));
    for (int kind = 1; kind <= 8; ++kind)
        out.Bmp("BULLET_M" + std::to_string(kind) + ".bmp", BulletMask(kind));
    out.Bmp("BULLETMASK13.bmp", ShardMask());
    out.Bmp("BULLETMASK16.bmp", RingPelletMask());
    out.Bmp("MASK_ZAMOR.bmp", FreezeMask());
    out.Bmp("CURSORMASK.bmp", CursorMask());
    out.Bmp("HLOP_MASK.bmp", MuzzleFlash());
    out.Bmp("EMPTY.bmp", CartridgeCase());
    out.Bmp("PRIZEL_M.bmp", CrosshairArmMask());
    out.Bmp("PRIZEL_M_MASK.bmp", CrosshairArm(Hex(0x70ff60)));
    out.Bmp("PRIZEL_M_MASK_G.bmp", CrosshairArm(Hex(0x909090)));

    const std::pair<const char*, std::function<void(Image&)>> weapons[] = {
        {"W_GUN.TGA", DrawPistol},   {"W_ONES.TGA", DrawRifle},    {"W_TWOS.TGA", DrawBazooka},
        {"W_THREES.TGA", DrawLaser}, {"W_FOURS.TGA", DrawShotgun}, {"W_FIVES.TGA", DrawNano},
        {"W_SIXS.TGA", DrawOtra},    {"W_SEVENS.TGA", DrawUzi},
    };
    // Structured bindings are captured through an initialiser: clang 14 cannot capture them directly.
    for (const auto& [name, draw] : weapons) {
        out.Tga(name, Sheet(6, 3, 48, 48,
                            [&draw = draw](int frame) { return IconFrame(frame, Hex(0xffe8a0), draw); }));
    }
    const std::tuple<const char*, Color, std::function<void(Image&, float)>> bonuses[] = {
        {"B_NUKES.TGA", Hex(0xffd030), NukeFace}, {"B_TIMES_UP.TGA", Hex(0x60a0ff), ShieldFace},
        {"B_LIFES.TGA", Hex(0xff5050), LifeFace}, {"B_SUN.TGA", Hex(0xffa020), SunFace},
        {"B_TIMES.TGA", Hex(0x40e0e0), SlowFace},
    };
    for (const auto& [name, glow, face] : bonuses) {
        out.Tga(name, Sheet(6, 3, 48, 48, [&glow = glow, &face = face](int frame) {
                    return BonusFrame(frame, glow, face);
                }));
    }

    out.Tga("BLOOD01.TGA", BloodSplat(1601, Hex(0x7a0c08)));
    out.Tga("BLOOD02.TGA", BloodSplat(1602, Hex(0x6a8a10)));
    out.Tga("BLOOD03.TGA", BloodSplat(1603, Hex(0x680a06)));
    out.Tga("BLOOD04.TGA", BloodSplat(1604, Hex(0x8a1410)));

    const Image crater = Crater();
    out.Masked("KRATER.bmp", "KRATER_MASK.bmp", crater, Hex(0x201a12));
    out.Masked("RADIOAC.bmp", "RADIOAC_MASK.bmp", Radioactive(), Hex(0x141414));
    out.Bmp("MINE1.bmp", Mine());

    out.Jpg("EXPLOSION.jpg", Sheet(4, 4, 64, 64, ExplosionFrame));
    out.Bmp("NUKE1.bmp", Blast(256, 1701, 0.95f, 0.35f));
    out.Bmp("NUKE3.bmp", Blast(256, 1702, 0.45f, 0.85f));
    out.Jpg("NUKE3.jpg", NukeFlash());
    out.Jpg("VOLNA.jpg", ShockRing());

    out.Jpg("MAP_1.jpg", GrassGround());
    out.Jpg("MAP_4.jpg", WastelandGround());
    out.Jpg("LIGHT.jpg", Light());
}

} // namespace artgen
