// Fuzz target: any bytes as a font descriptor, over a sheet just large enough for its cells or a little
// smaller, through the cell check and the reduced sheets.
#include "check.h"
#include "font_descriptor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace zorbel::font;

namespace {

// As large as the game's own glyph sheet, no larger, to stay fast.
constexpr int64_t kMaxSheetW = 1024, kMaxSheetH = 256;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Descriptor font = Parse("fuzz.ofi", std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::Require(std::isfinite(font.lineHeight) && font.lineHeight >= 0, "the line height is a length");
    int64_t w = 1, h = 1;
    for (const auto& [cp, g] : font.glyphs) {
        fuzz::Require(cp <= 0x10FFFF, "a glyph is a Unicode codepoint");
        fuzz::Require(std::isfinite(g.advance) && std::isfinite(g.xOffset) && std::isfinite(g.yOffset),
                      "glyph metrics are finite");
        w = std::max(w, int64_t{g.cell.x} + g.cell.w);
        h = std::max(h, int64_t{g.cell.y} + g.cell.h);
    }
    // Every third input gets a sheet a pixel short, so cells at its edge are tested from both sides.
    const int64_t shrink = static_cast<int64_t>(size % 3);
    const int sheetW = static_cast<int>(std::clamp<int64_t>(w - shrink, 1, kMaxSheetW));
    const int sheetH = static_cast<int>(std::clamp<int64_t>(h - shrink, 1, kMaxSheetH));
    KeepCellsInside(font, "fuzz.ofi", sheetW, sheetH);
    for (const std::string& problem : font.problems) {
        fuzz::Require(problem.starts_with("fuzz.ofi"), "a problem names the file");
        fuzz::Require(fuzz::IsPrintable(problem), "a problem echoes the file printably");
    }

    Coverage native{sheetW, sheetH,
                    std::vector<uint8_t>(static_cast<size_t>(sheetW) * static_cast<size_t>(sheetH), 200)};
    for (auto& [cp, g] : font.glyphs) {
        fuzz::Require(int64_t{g.cell.x} + g.cell.w <= sheetW && int64_t{g.cell.y} + g.cell.h <= sheetH,
                      "every kept cell lies inside the sheet");
        g.reduced[0] = g.cell;
    }
    for (int level = 1; level < kLevels; ++level) {
        const Coverage reduced = Reduce(native, font.glyphs, level);
        if (reduced.w == 0) continue;
        fuzz::Require(reduced.alpha.size() == static_cast<size_t>(reduced.w) * static_cast<size_t>(reduced.h),
                      "a reduced sheet is as large as it says");
        for (const auto& [cp, g] : font.glyphs) {
            const Rect& r = g.reduced[level];
            fuzz::Require(r.x >= 0 && r.y >= 0 && r.x + r.w <= reduced.w && r.y + r.h <= reduced.h,
                          "every reduced cell lies inside its sheet");
        }
    }
    return 0;
}
