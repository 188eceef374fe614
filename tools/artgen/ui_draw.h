// The menu look: backdrops, bevelled steel plates, buttons and small emblems shared by the screen pictures.
#pragma once

#include "canvas.h"
#include "ui_layout.h"
#include "ui_text.h"

#include <string>

namespace artgen::ui {

// The palette of the menus and the HUD.
namespace pal {
inline const Color kNight = Hex(0x07090c);
inline const Color kSteel = Hex(0x2b333c);
inline const Color kSteelDark = Hex(0x161b21);
inline const Color kSteelLight = Hex(0x56616d);
inline const Color kEdge = Hex(0x040506);
inline const Color kAmber = Hex(0xf2a23a);
inline const Color kAmberHot = Hex(0xff6d1f);
inline const Color kText = Hex(0xece6d6);
inline const Color kTextDim = Hex(0x939ca6);
inline const Color kRed = Hex(0xd9392a);
inline const Color kGreen = Hex(0x74d34e);
inline const Color kTeal = Hex(0x3fc4c0);
} // namespace pal

// The faces the pictures are lettered with.
struct Faces {
    FontFace bold{"DejaVuSans-Bold.ttf"};
    FontFace regular{"DejaVuSans.ttf"};
    FontFace mono{"DejaVuSansMono-Bold.ttf"};
};

// A rectangle with its top-left and bottom-right corners cut by `cut` pixels.
Shape ChamferRect(float x, float y, float w, float h, float cut);

struct PlateStyle {
    Color top = pal::kSteel, bottom = pal::kSteelDark;
    float cut = 8;
    float bevel = 2;
    float shadow = 0.55f; // opacity of the soft shadow under the plate
    bool brushed = true;  // fine horizontal grain
    bool rivets = false;
    Color accent = WithAlpha(pal::kAmber, 0); // a stripe along the left edge when opaque
};

// A bevelled steel plate with an outline, soft shadow and grain.
void Plate(Image& dst, Rect r, const PlateStyle& st, uint32_t seed);
// A dark recess (screen well, check box, value field): inner shadow and a lit lower edge.
void Well(Image& dst, Rect r, float cut, Color fill = Hex(0x07090b));
// A button: plate, marker chevron and a caption; `enabledLook` false draws it dimmed.
void Button(Image& dst, const Faces& f, Rect r, const std::string& caption, float px, uint32_t seed,
            Align align = Align::Left);
// Amber-and-black warning stripes inside r.
void HazardStripes(Image& dst, Rect r, float stripe, float opacity);
// A thin amber rule with a bright dot at each end.
void Rule(Image& dst, float x0, float x1, float y, Color c);

// The battlefield at dusk behind every menu: sky, burning skyline, tactical grid, smoke and vignette.
Image Backdrop(int w, int h, uint32_t seed, Color glow);
// Scan lines and grain over a finished picture, for the screen-glass feel.
void Finish(Image& dst, uint32_t seed, float scan = 0.06f, float grain = 0.025f);

// The title lettering "DRELMONT": steel gradient, dark outline, hot glow.
void TitleText(Image& dst, const Faces& f, const std::string& text, float cx, float top, float px);
// A screen heading with a small subtitle line under it.
void Heading(Image& dst, const Faces& f, const std::string& title, const std::string& subtitle, float cx,
             float top);

// The game's emblem: a shield with a crosshair, centred at c, `size` pixels tall.
void Emblem(Image& dst, Vec2 c, float size);

} // namespace artgen::ui
