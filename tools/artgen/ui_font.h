// The game's glyph sheet: which characters it holds and how the sheet and its descriptor are laid out.
#pragma once

#include <cstdint>
#include <vector>

namespace artgen::ui {

// The game places its text for a compact face: "ВЫКЛ." at x 740 must end inside the 800-px screen, the bonus
// labels at scale 0.24 and 0.36 must clear the bar's line 18 px down, the score at y 7 must stay inside the
// 26-px top bar and the level-1 hint at y 585 inside the screen. A 46-px DejaVu Sans Bold narrowed to 88 %
// meets all of them and is still crisp at the largest scale the game uses (0.7).
inline constexpr int kFontNativePx = 46;
inline constexpr float kFontWidthScale = 0.88f;
inline constexpr int kFontSheetWidth = 1024;
inline constexpr int kFontPadding = 2;

// Printable ASCII, the Cyrillic block U+0400..U+045F and the typographic signs Russian text uses; ascending.
std::vector<uint32_t> FontCharacters();

} // namespace artgen::ui
