// The menu screens, the level-complete and game-over pictures, the upgrade panel and the HUD pieces.
#include "artgen.h"
#include "ui_draw.h"
#include "ui_hud.h"
#include "ui_save.h"
#include "ui_words.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

namespace artgen {
namespace {

using namespace ui;

// A button's rectangle inside its picture, trimmed to the picture and pulled in from neighbours.
Rect Inset(Rect r, float dx, float dy, float pictureW) {
    const float x0 = std::max(r.x, 0.0f) + dx, x1 = std::min(r.x + r.w, pictureW) - dx;
    return {x0, r.y + dy, x1 - x0, r.h - 2 * dy};
}

TextStyle Caption(float px, Color c = pal::kText) {
    TextStyle st;
    st.px = px;
    st.tracking = px * 0.05f;
    st.top = c;
    st.bottom = Shade(c, 0.8f);
    st.shadowDx = 1;
    st.shadowDy = 1.5f;
    st.shadowBlur = 1;
    st.shadowOpacity = 0.9f;
    return st;
}

// A round tactical radar with a sweep and a few contacts.
void Radar(Image& dst, Vec2 c, float r, uint32_t seed) {
    Image layer(dst.Width(), dst.Height());
    layer.FillShape(Circle(c, r + 6), pal::kEdge);
    layer.FillShape(Circle(c, r + 4),
                    LinearGradient({c.x, c.y - r}, {c.x, c.y + r}, pal::kSteelLight, pal::kSteelDark));
    layer.FillShape(Circle(c, r), RadialGradient(c, r, Hex(0x0b2321, 0.92f), Hex(0x030a0a, 0.95f)));
    for (int k = 1; k <= 4; ++k)
        layer.FillShape(Ring(c, r * k / 4.0f, 1.0f), WithAlpha(pal::kTeal, 0.35f));
    for (int k = 0; k < 72; ++k) {
        const Vec2 d = Rotate({0, -1}, k * 5.0f);
        const float in = (k % 6 == 0) ? r - 10 : r - 5;
        layer.Line(c + d * in, c + d * r, 1.0f, WithAlpha(pal::kTeal, 0.55f));
    }
    layer.Line({c.x - r, c.y}, {c.x + r, c.y}, 1.0f, WithAlpha(pal::kTeal, 0.3f));
    layer.Line({c.x, c.y - r}, {c.x, c.y + r}, 1.0f, WithAlpha(pal::kTeal, 0.3f));
    // The sweep: a wedge that fades behind the beam.
    const float beam = 35.0f;
    layer.FillShape(
        Circle(c, r - 1),
        [=](float x, float y) {
            float a = std::atan2(x - c.x, -(y - c.y)) * 57.2958f;
            float behind = beam - a;
            while (behind < 0)
                behind += 360;
            while (behind >= 360)
                behind -= 360;
            const float k = behind < 80 ? (1 - behind / 80.0f) : 0.0f;
            return WithAlpha(pal::kTeal, 0.6f * k * k);
        },
        Blend::Add);
    layer.Line(c, c + Rotate({0, -1}, beam) * (r - 1), 2.0f, WithAlpha(Hex(0xa8fff8), 0.8f), Blend::Add);
    Rng rng(seed);
    for (int i = 0; i < 14; ++i) {
        const float ang = rng.Range(beam - 100, beam + 200);
        const float dist = rng.Range(0.25f, 0.92f) * r;
        const Vec2 p = c + Rotate({0, -1}, ang) * dist;
        const bool hostile = i % 5 != 0;
        const Color col = hostile ? pal::kRed : pal::kGreen;
        layer.FillShape(Circle(p, 6), WithAlpha(col, 0.25f), Blend::Add);
        layer.FillShape(Circle(p, 2.4f), col);
    }
    layer.FillShape(Circle(c, 4), pal::kGreen);
    dst.Draw(WithDropShadow(layer, 4, 6, 6, 0.7f), 0, 0);
}

void MainMenu(const std::string& dir, const Faces& f, const Words& w) {
    Image img = Backdrop(800, 600, 101, Hex(0xff6a20));
    Radar(img, {590, 335}, 135, 7);
    TitleText(img, f, "DRELMONT", 522, 30, 80);
    TextStyle tag = Caption(15, pal::kAmber);
    tag.tracking = 5;
    const float tw = DrawText(img, f.bold, w.mainMenu.tagline, 525, 126, Align::Center, tag);
    Rule(img, 525 - tw / 2 - 70, 525 - tw / 2 - 12, 135, pal::kAmber);
    Rule(img, 525 + tw / 2 + 12, 525 + tw / 2 + 70, 135, pal::kAmber);

    // The menu column down the left edge.
    img.FillShape(Polygon({{0, 0}, {244, 0}, {244, 600}, {0, 600}}),
                  LinearGradient({0, 0}, {244, 0}, Hex(0x06080b, 0.55f), Hex(0x0a0d11, 0.85f)));
    img.Line({244, 0}, {244, 600}, 2, WithAlpha(pal::kAmber, 0.8f));
    img.FillShape(
        Polygon({{244, 0}, {262, 0}, {262, 600}, {244, 600}}),
        LinearGradient({244, 0}, {262, 0}, WithAlpha(pal::kAmberHot, 0.18f), WithAlpha(pal::kAmberHot, 0)),
        Blend::Add);
    Emblem(img, {122, 62}, 92);
    DrawText(img, f.bold, w.mainMenu.title, 122, 118, Align::Center, Caption(12, pal::kTextDim));
    Rule(img, 30, 214, 140, WithAlpha(pal::kAmber, 0.7f));

    const char* lines[7] = {"new game",
                            "continue",
                            "options",
                            "more games (side file)",
                            "tell a friend (side file)",
                            "subscribe (side file)",
                            "exit"};
    for (int k = 0; k < 7; ++k) {
        const ButtonSpot& s = Find("MAIN_MENU.jpg", lines[k]);
        if (s.kind != Spot::Button) continue;
        Button(img, f, Inset(Drawn(s), 8, 3, 800), w.mainMenu.lines[k], 19, 1000 + k);
    }
    // Credits sit below the main lines, smaller: they have no glow of their own.
    Button(img, f, Inset(Drawn(Find("MAIN_MENU.jpg", "credits")), 8, 3, 800), w.mainMenu.credits, 15, 1010);
    // Where the side-file lines would be: a briefing screen instead, nothing that looks clickable.
    const Rect first = Drawn(Find("MAIN_MENU.jpg", "more games (side file)"));
    const Rect last = Drawn(Find("MAIN_MENU.jpg", "subscribe (side file)"));
    const Rect brief{14, first.y + 8, 206, last.y + last.h - first.y - 16};
    Well(img, brief, 6, Hex(0x081412));
    TextStyle mono;
    mono.px = 11.5f;
    mono.top = mono.bottom = pal::kTeal;
    mono.glowRadius = 2;
    mono.glowColor = WithAlpha(pal::kTeal, 0.35f);
    for (int k = 0; k < 6; ++k)
        DrawText(img, f.mono, w.mainMenu.report[k], brief.x + 12, brief.y + 12 + k * 18.0f, Align::Left,
                 mono);
    img.FillShape(ChamferRect(brief.x + 12, brief.y + 12 + 6 * 18.0f, 7, 11, 0), WithAlpha(pal::kTeal, 0.8f));

    // The corner badge the logo glow lights up.
    const float bx = kLogoGlow.x, by = kLogoGlow.y;
    Emblem(img, {bx + 30, by + 31}, 54);
    TextStyle badge = Caption(27, pal::kText);
    badge.tracking = 2;
    badge.outline = 1.5f;
    badge.outlineColor = pal::kEdge;
    DrawText(img, f.bold, "DRELMONT", bx + 62, by + 8, Align::Left, badge);
    DrawText(img, f.bold, w.mainMenu.version, bx + 64, by + 42, Align::Left, Caption(10, pal::kAmber));
    Finish(img, 1);
    Save(dir, "MAIN_MENU.jpg", img);
}

void Options(const std::string& dir, const Faces& f, const Words& w) {
    Image img = Backdrop(800, 600, 202, Hex(0xe0602a));
    Heading(img, f, w.options.title, w.options.subtitle, 400, 90);
    const char* lines[5] = {"show fps", "texture filtering", "full screen", "music volume", "effects volume"};
    for (int k = 0; k < 5; ++k) {
        const Rect r = Inset(Drawn(Find("OPTIONS.jpg", lines[k])), 4, 2, 800);
        Button(img, f, r, w.options.lines[k], 18, 2000 + k);
        // The field where the game prints the value, at x 740 and 10 below the line top.
        Well(img, {732, r.y + 4, 800 - 732 + 4, r.h - 8}, 5);
    }
    Button(img, f, Inset(Drawn(Find("OPTIONS.jpg", "save and back")), 8, 3, 800), w.options.save, 18, 2010);
    TextStyle hint = Caption(11.5f, pal::kTextDim);
    DrawText(img, f.bold, w.options.hint[0], 262, 508, Align::Left, hint);
    DrawText(img, f.bold, w.options.hint[1], 262, 524, Align::Left, hint);
    Finish(img, 2);
    Save(dir, "OPTIONS.jpg", img);
}

// The language line, laid by the game over the options background above the five settings: a line like
// theirs, with a wider field, since the game prints each language's name in its own words.
void LanguageLine(const std::string& dir, const Faces& f, const Words& w) {
    Image img(kLanguageLinePictureW, kLanguageLinePictureH);
    const Rect r = Inset(Drawn(Find("OPTIONS_LANGUAGE.TGA", "language")), 4, 2, 800);
    Button(img, f, r, w.options.language, 18, 2020);
    const float field = kLanguageValueMiddle - kLanguageFieldHalf;
    Well(img, {field, r.y + 4, 800 - field + 4, r.h - 8}, 5);
    DrawTextCentered(img, f.bold, w.options.fromNextStart, field - 14, r.y + r.h / 2, Align::Right,
                     Caption(11.5f, pal::kTextDim));
    Save(dir, "OPTIONS_LANGUAGE.TGA", img);
}

void Mission(const std::string& dir, const Faces& f, const Words& w) {
    Image img = Backdrop(800, 600, 303, Hex(0xff5a1a));
    Heading(img, f, w.missions.title, w.missions.subtitle, 400, 56);
    // Neighbouring columns overlap by a few pixels; each plate keeps to the part only its own level covers.
    const float left[3] = {6, 257, 551}, right[3] = {239, 524, 794};
    for (int c = 0; c < 3; ++c) {
        img.FillShape(ChamferRect(left[c] - 4, 162, right[c] - left[c] + 8, 386, 10), Hex(0x07090c, 0.6f));
        DrawTextCentered(img, f.bold, w.missions.sectors[c], (left[c] + right[c]) / 2, 177, Align::Center,
                         Caption(12, pal::kAmber));
    }
    for (int n = 1; n <= 30; ++n) {
        const int c = (n - 1) / 10;
        const Rect d = Drawn(Find("MISSION.jpg", ("level " + std::to_string(n)).c_str()));
        const Rect r{left[c], d.y + 2, right[c] - left[c], d.h - 4};
        char caption[32];
        std::snprintf(caption, sizeof caption, w.missions.mission, n);
        Button(img, f, r, caption, 14, 3000 + n);
        // Threat pips: one to five, rising through the campaign.
        const int threat = 1 + (n - 1) / 6;
        for (int p = 0; p < 5; ++p) {
            const float px = r.x + r.w - 14 - (4 - p) * 9.0f, py = r.y + r.h / 2 - 3;
            const Color col = p < threat ? (threat >= 4 ? pal::kRed : pal::kAmber) : Hex(0x3a3f45);
            img.FillShape(ChamferRect(px, py, 6, 6, 1.5f), col);
        }
    }
    Button(img, f, Inset(Drawn(Find("MISSION.jpg", "back")), 0, 2, 800), w.missions.back, 16, 3100);
    DrawText(img, f.bold, w.missions.footer, 788, 568, Align::Right, Caption(11.5f, pal::kTextDim));
    Finish(img, 3);
    Save(dir, "MISSION.jpg", img);
}

void Credits(const std::string& dir, const Faces& f, const Words& w) {
    Image img = Backdrop(800, 600, 404, Hex(0xd8582a));
    Heading(img, f, w.credits.title, w.credits.subtitle, 400, 50);
    PlateStyle st;
    st.cut = 18;
    st.rivets = true;
    st.top = Hex(0x262d35);
    st.bottom = Hex(0x12161b);
    Plate(img, {150, 160, 500, 360}, st, 44);
    for (int k = 0; k < 4; ++k) {
        const float y = 185 + k * 66.0f;
        DrawText(img, f.bold, w.credits.roles[k], 400, y, Align::Center, Caption(13, pal::kAmber));
        DrawText(img, f.bold, w.credits.names[k], 400, y + 22, Align::Center, Caption(19));
    }
    Rule(img, 230, 570, 455, WithAlpha(pal::kAmber, 0.6f));
    DrawText(img, f.bold, w.credits.thanks, 400, 472, Align::Center, Caption(20, pal::kText));
    const Rect back = Drawn(Find("CREATED.jpg", "back"));
    Button(img, f, back, w.credits.back, 16, 4010, Align::Center);
    DrawText(img, f.bold, w.credits.orEsc, back.x + back.w + 14, back.y + 9, Align::Left,
             Caption(12, pal::kTextDim));
    Finish(img, 4);
    Save(dir, "CREATED.jpg", img);
}

void Complete(const std::string& dir, const Faces& f, const Words& w) {
    Image img(340, 280);
    PlateStyle st;
    st.cut = 20;
    st.rivets = true;
    st.top = Hex(0x2e3741);
    st.bottom = Hex(0x12161b);
    Plate(img, {6, 4, 326, 266}, st, 55);
    HazardStripes(img, {30, 12, 280, 5}, 6, 0.8f);
    TextStyle title = Caption(23, Hex(0xb8f59a));
    title.glowRadius = 4;
    title.glowColor = WithAlpha(pal::kGreen, 0.5f);
    title.outline = 1.5f;
    title.outlineColor = pal::kEdge;
    DrawTextCentered(img, f.bold, w.complete.title, 170, 44, Align::Center, title);
    DrawText(img, f.bold, w.complete.score, 40, 78, Align::Left, Caption(12, pal::kAmber));
    // The game prints the score at (44, 107) of this picture.
    Well(img, {34, 100, 272, 36}, 7);
    DrawTextCentered(img, f.bold, w.complete.praise, 170, 176, Align::Center, Caption(13, pal::kTextDim));
    Rule(img, 40, 300, 196, WithAlpha(pal::kAmber, 0.6f));
    Button(img, f, Drawn(Find("COMPLETE.bmp", "next level")), w.complete.next, 15, 5001);
    Button(img, f, Drawn(Find("COMPLETE.bmp", "main menu")), w.complete.menu, 15, 5002);
    SaveMasked(dir, "COMPLETE.bmp", "COMPLETE_MASK.bmp", img);
}

void GameOver(const std::string& dir, const Faces& f, const Words& w) {
    Image img(320, 152);
    PlateStyle st;
    st.cut = 16;
    st.rivets = true;
    st.top = Hex(0x332a2c);
    st.bottom = Hex(0x151012);
    st.accent = pal::kRed;
    Plate(img, {5, 3, 310, 142}, st, 66);
    TextStyle title = Caption(31, Hex(0xff6a55));
    title.bottom = Hex(0xa01a10);
    title.glowRadius = 5;
    title.glowColor = WithAlpha(pal::kRed, 0.6f);
    title.outline = 2;
    title.outlineColor = pal::kEdge;
    DrawTextCentered(img, f.bold, w.gameOver.title, 160, 36, Align::Center, title);
    DrawTextCentered(img, f.bold, w.gameOver.subtitle, 160, 72, Align::Center, Caption(12, pal::kTextDim));
    Button(img, f, Drawn(Find("GAME_OVER_M.bmp", "play again")), w.gameOver.again, 14, 6001, Align::Center);
    SaveMasked(dir, "GAME_OVER_M.bmp", "MASK_GAME_OVER.bmp", img);
}

// A pictogram for upgrade line n, about 12 px across, centred at c.
void UpgradeIcon(Image& dst, int n, Vec2 c, Color col) {
    auto P = [&](float x, float y) { return Vec2{c.x + x, c.y + y}; };
    switch (n) {
    case 0: // damage: a bullet
        dst.FillShape(Capsule(P(-5, 0), P(3, 0), 2.2f), col);
        dst.FillShape(Polygon({P(3, -2.2f), P(6.5f, 0), P(3, 2.2f)}), col);
        break;
    case 1: // fire rate: double chevrons
        for (float dx : {-4.0f, 1.0f}) {
            dst.Line(P(dx, -4), P(dx + 3.5f, 0), 1.8f, col);
            dst.Line(P(dx + 3.5f, 0), P(dx, 4), 1.8f, col);
        }
        break;
    case 2: // ammunition: three cartridges
        for (float dx : {-4.0f, 0.0f, 4.0f})
            dst.FillShape(RoundedRect(P(dx, 0.5f), 1.3f, 4.5f, 1.0f), col);
        break;
    case 3: // regeneration: a heart
        dst.FillShape(Union(Union(Circle(P(-2.4f, -1.5f), 2.8f), Circle(P(2.4f, -1.5f), 2.8f)),
                            Polygon({P(-5, -0.5f), P(5, -0.5f), P(0, 5.5f)})),
                      col);
        break;
    case 4: // armour: a shield
        dst.FillShape(Polygon({P(-5, -5), P(5, -5), P(5, 0), P(0, 6), P(-5, 0)}), col);
        dst.FillShape(Polygon({P(-2.5f, -3), P(2.5f, -3), P(2.5f, -0.5f), P(0, 3), P(-2.5f, -0.5f)}),
                      Hex(0x1b2128));
        break;
    case 5: // speed: arrow with motion lines
        dst.FillShape(Polygon({P(0, -4.5f), P(5.5f, 0), P(0, 4.5f)}), col);
        for (float y : {-2.5f, 0.0f, 2.5f})
            dst.Line(P(-6, y), P(-1, y), 1.3f, col);
        break;
    case 6: // random weapon: a question mark in a box
        dst.FillShape(Ring(P(0, 0), 5.5f, 1.3f), col);
        dst.Line(P(-1.8f, -1.8f), P(0, -3), 1.5f, col);
        dst.Line(P(0, -3), P(1.8f, -1.6f), 1.5f, col);
        dst.Line(P(1.8f, -1.6f), P(0, 0.5f), 1.5f, col);
        dst.FillShape(Circle(P(0, 3), 0.9f), col);
        break;
    case 7: // mines: a disc with spikes
        for (int k = 0; k < 4; ++k) {
            const Vec2 d = Rotate({0, -1}, 45.0f + 90.0f * k);
            dst.Line(c + d * 3, c + d * 6, 1.4f, col);
        }
        dst.FillShape(Circle(c, 3.6f), col);
        dst.FillShape(Circle(c, 1.2f), pal::kRed);
        break;
    case 8: // healing: a cross
        dst.FillShape(RoundedRect(c, 1.8f, 5.2f, 0.6f), col);
        dst.FillShape(RoundedRect(c, 5.2f, 1.8f, 0.6f), col);
        break;
    default: // fragment ring: shards around a centre
        for (int k = 0; k < 8; ++k) {
            const Vec2 d = Rotate({0, -1}, 45.0f * k);
            dst.Line(c + d * 3.2f, c + d * 6, 1.4f, col);
        }
        dst.FillShape(Circle(c, 1.6f), col);
        break;
    }
}

// The upgrade panel: ten lines with their names and three check boxes each.
Image UpgradePanel(const Faces& f, const Words& w, Color accent, uint32_t seed) {
    Image img(298, 366);
    PlateStyle st;
    st.cut = 16;
    st.rivets = true;
    st.top = Hex(0x2a323b);
    st.bottom = Hex(0x11151a);
    st.shadow = 0.4f;
    Plate(img, {2, 2, 290, 358}, st, seed);
    TextStyle title = Caption(17, pal::kText);
    title.tracking = 2;
    DrawTextCentered(img, f.bold, w.upgrades.title, 148, 21, Align::Center, title);
    const char* levels[3] = {"I", "II", "III"};
    for (int c = 0; c < 3; ++c)
        DrawTextCentered(img, f.bold, levels[c], 210.5f + 19 * c, 37, Align::Center, Caption(10, accent));
    const char* lines[10] = {"damage", "fire rate",     "ammunition", "regeneration", "armour",
                             "speed",  "random weapon", "mines",      "healing",      "fragment ring"};
    PlateStyle row;
    row.cut = 5;
    row.bevel = 1;
    row.shadow = 0;
    row.top = Hex(0x323b45);
    row.bottom = Hex(0x1b2128);
    row.accent = accent;
    for (int n = 0; n < 10; ++n) {
        const Rect r = Drawn(Find("LEVEL.bmp", lines[n]));
        Plate(img, {r.x, r.y + 1, r.w, r.h - 2}, row, seed + 10 + n);
        TextStyle t = Caption(12, pal::kText);
        t.tracking = 0.3f;
        t.widthScale = 0.92f;
        UpgradeIcon(img, n, {r.x + 19, r.y + r.h / 2}, accent);
        DrawTextCentered(img, f.bold, w.upgrades.lines[n], r.x + 31, r.y + r.h / 2, Align::Left, t);
    }
    for (const ButtonSpot& s : kButtons) {
        if (std::string(s.picture) != "LEVEL.bmp" || s.kind != Spot::Mark) continue;
        const Rect m = Drawn(s);
        Well(img, {m.x - 1, m.y - 1, m.w + 2, m.h + 2}, 2, Hex(0x0b0e10));
    }
    Rule(img, 18, 278, 280, WithAlpha(accent, 0.6f));
    for (int k = 0; k < 3; ++k)
        DrawText(img, f.bold, w.upgrades.help[k], 148, 292 + k * 19.0f, Align::Center,
                 Caption(11, pal::kTextDim));
    return img;
}

} // namespace

void GenerateScreens(const std::string& outDir) {
    const Faces faces;
    for (const Words* words : kLanguages) {
        const Words& w = *words;
        const std::string dir = outDir + "/PICTURE" + (*w.folder ? std::string("/") + w.folder : "");
        std::filesystem::create_directories(dir);
        MainMenu(dir, faces, w);
        Options(dir, faces, w);
        LanguageLine(dir, faces, w);
        Mission(dir, faces, w);
        Credits(dir, faces, w);
        Complete(dir, faces, w);
        GameOver(dir, faces, w);
        SaveMasked(dir, "LEVEL.bmp", "LEVEL_MASK.bmp", UpgradePanel(faces, w, pal::kAmber, 77));
        SaveMasked(dir, "PL1_UP_M.bmp", "PL1_UP_M_MASK.bmp", UpgradePanel(faces, w, pal::kTeal, 78));
        GenerateHudCaptions(dir, faces, w);
    }
    GenerateHud(outDir + "/PICTURE");
}

} // namespace artgen
