// Bitmap fonts without SDL: the "zfont 1" descriptor, the check of its cells against the glyph sheet, and the
// reduced copies of the sheet for small text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorbel::font {

// Small text (the game goes down to a quarter of the native size) is drawn from sheets reduced by 2 and 4
// with a box filter, since bilinear filtering alone skips pixels and makes thin strokes ragged.
constexpr int kLevels = 3;

// A descriptor is read whole; anything larger is refused.
constexpr size_t kMaxDescriptorBytes = 16u << 20;

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct Glyph {
    Rect cell; // in the native sheet
    float xOffset = 0.0f, yOffset = 0.0f, advance = 0.0f;
    Rect reduced[kLevels]; // the cell in each level's sheet; level 0 is the cell itself
    int line = 0;          // where the descriptor gives it, for reports
};

struct Descriptor {
    float lineHeight = 0.0f;
    std::unordered_map<uint32_t, Glyph> glyphs;
    // What was wrong, in file order, each as "<name>:<line>: <why>" or "<name>: <why>". Bad lines are
    // skipped; text that is no descriptor at all stops the reading at its first line.
    std::vector<std::string> problems;
};

// Reads a descriptor's text; name is what problems are reported under.
Descriptor Parse(const std::string& name, std::string_view text);

// Drops every glyph whose cell does not lie wholly inside a sheet of the given size, with a problem for each.
void KeepCellsInside(Descriptor& font, const std::string& name, int sheetW, int sheetH);

// Glyph coverage: a sheet's brightness, one byte per pixel.
struct Coverage {
    int w = 0, h = 0;
    std::vector<uint8_t> alpha;
};

// Packs every glyph, shrunk by 2^level with a box filter, into a new sheet and records where in each glyph's
// reduced[level]. Every cell must lie inside the native sheet (KeepCellsInside). An empty coverage (w 0)
// means the glyphs do not fit in a sheet of reasonable size; that level is then not made.
Coverage Reduce(const Coverage& native, std::unordered_map<uint32_t, Glyph>& glyphs, int level);

} // namespace zorbel::font
