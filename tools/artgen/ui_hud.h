// The HUD pieces, highlight glows, menu pointer and logos: the small pictures around the screens.
#pragma once

#include "ui_draw.h"
#include "ui_words.h"

#include <string>

namespace artgen::ui {

// The top bar's two windows, screen pixels: the clip (the cartridge strip slides under it) and the life bar.
inline constexpr Rect kAmmoWindow{36, 4, 121, 12};
inline constexpr Rect kHealthWindow{34, 17, 149, 5};
// The frame covers the bar from the left edge to here; the strip hides beneath it.
inline constexpr float kFrameRight = 186;

// The pieces without words, once.
void GenerateHud(const std::string& pictureDir);
// The pieces with words (the new-upgrade notice, the splash), in the language of `w`.
void GenerateHudCaptions(const std::string& pictureDir, const Faces& f, const Words& w);

} // namespace artgen::ui
