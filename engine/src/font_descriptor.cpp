// The "zfont 1" descriptor: "zfont 1", "size N LINEHEIGHT ASCENT", one "glyph CP X Y W H XOFF YOFF ADVANCE"
// per glyph, and "end" last, so a file cut short is told from a whole one; '#' starts a comment.
#include "font_descriptor.h"

#include "outside_text.h"

#include <algorithm>

namespace zorbel::font {
namespace {

constexpr uint32_t kMaxCodepoint = 0x10FFFF;
// Metrics far beyond any font's; larger values would only push text out of every picture or overflow.
constexpr float kMaxMetric = 65536.0f;
// A reduced sheet taller than this comes only from a descriptor of absurdly many or tall glyphs.
constexpr int64_t kMaxReducedHeight = 16384;

bool Metric(std::string_view word, float* value) {
    return ParseNumber(word, value) && std::abs(*value) <= kMaxMetric;
}

// Cells are checked against the sheet later, in 64 bits; here they only need to be whole and not negative.
bool CellNumber(std::string_view word, int* value) {
    return ParseNumber(word, value) && *value >= 0;
}

// Reads one line after the header; returns an empty string or the reason it is wrong.
std::string ReadLine(const std::vector<std::string_view>& w, int number, Descriptor& font) {
    if (w[0] == "size") {
        float size = 0.0f, lineHeight = 0.0f, ascent = 0.0f;
        if (w.size() != 4 || !Metric(w[1], &size) || !Metric(w[2], &lineHeight) || !Metric(w[3], &ascent) ||
            lineHeight < 0.0f)
            return "expected: size PIXELS LINEHEIGHT ASCENT";
        font.lineHeight = lineHeight;
        return {};
    }
    if (w[0] == "glyph") {
        uint32_t cp = 0;
        Glyph g;
        if (w.size() != 9 || !ParseNumber(w[1], &cp) || !CellNumber(w[2], &g.cell.x) ||
            !CellNumber(w[3], &g.cell.y) || !CellNumber(w[4], &g.cell.w) || !CellNumber(w[5], &g.cell.h) ||
            !Metric(w[6], &g.xOffset) || !Metric(w[7], &g.yOffset) || !Metric(w[8], &g.advance))
            return "expected: glyph CODEPOINT X Y W H XOFFSET YOFFSET ADVANCE";
        if (cp > kMaxCodepoint) return "a codepoint is at most 1114111";
        g.line = number;
        font.glyphs[cp] = g;
        return {};
    }
    return "not a zfont 1 line: " + Printable(w[0]);
}

} // namespace

Descriptor Parse(const std::string& name, std::string_view text) {
    Descriptor font;
    auto problem = [&](int number, const std::string& why) {
        font.problems.push_back(name + ":" + std::to_string(number) + ": " + why);
    };
    bool header = false, ended = false, stopped = false;
    ForEachWordedLine(text, [&](const WordedLine& l) {
        const int number = static_cast<int>(l.number);
        if (!header) {
            // Anything else first is no descriptor at all; its other lines are not worth a word each.
            if (l.words.size() != 2 || l.words[0] != "zfont" || l.words[1] != "1") {
                problem(number, "expected \"zfont 1\" first, found \"" + Printable(l.line) + "\"");
                stopped = true;
                return false;
            }
            header = true;
        } else if (ended) {
            problem(number, "text after \"end\"");
            stopped = true;
            return false;
        } else if (l.words.size() == 1 && l.words[0] == "end") {
            ended = true;
        } else if (const std::string why = ReadLine(l.words, number, font); !why.empty()) {
            problem(number, why);
        }
        return true;
    });
    if (stopped) return font;
    if (!header)
        font.problems.push_back(name + ": no \"zfont 1\" header; the file is empty");
    else if (!ended)
        font.problems.push_back(name + ": no \"end\" line; the file is cut short");
    return font;
}

void KeepCellsInside(Descriptor& font, const std::string& name, int sheetW, int sheetH) {
    for (auto it = font.glyphs.begin(); it != font.glyphs.end();) {
        const Rect& c = it->second.cell;
        if (int64_t{c.x} + c.w <= sheetW && int64_t{c.y} + c.h <= sheetH) {
            ++it;
            continue;
        }
        font.problems.push_back(name + ":" + std::to_string(it->second.line) + ": the cell " +
                                std::to_string(c.x) + "," + std::to_string(c.y) + " " + std::to_string(c.w) +
                                "x" + std::to_string(c.h) + " of glyph " + std::to_string(it->first) +
                                " lies outside the " + std::to_string(sheetW) + "x" + std::to_string(sheetH) +
                                " sheet");
        it = font.glyphs.erase(it);
    }
}

Coverage Reduce(const Coverage& native, std::unordered_map<uint32_t, Glyph>& glyphs, int level) {
    const int factor = 1 << level;
    Coverage out;
    // Wide enough for the widest reduced cell, so every row of the packing fits.
    out.w = std::max(64, native.w / factor);
    for (const auto& [cp, g] : glyphs)
        out.w = std::max(out.w, (g.cell.w + factor - 1) / factor);
    int64_t x = 0, y = 0, rowHeight = 0;
    for (auto& [cp, g] : glyphs) {
        const int w = (g.cell.w + factor - 1) / factor, h = (g.cell.h + factor - 1) / factor;
        if (x + w > out.w) {
            x = 0;
            y += rowHeight + 1;
            rowHeight = 0;
        }
        if (y + h > kMaxReducedHeight) return {};
        g.reduced[level] = Rect{static_cast<int>(x), static_cast<int>(y), w, h};
        x += w + 1;
        rowHeight = std::max<int64_t>(rowHeight, h);
    }
    out.h = static_cast<int>(std::max<int64_t>(y + rowHeight, 1));
    out.alpha.assign(static_cast<size_t>(out.w) * static_cast<size_t>(out.h), 0);
    for (const auto& [cp, g] : glyphs) {
        const Rect& r = g.reduced[level];
        for (int j = 0; j < r.h; ++j)
            for (int i = 0; i < r.w; ++i) {
                int sum = 0;
                for (int v = 0; v < factor; ++v)
                    for (int u = 0; u < factor; ++u) {
                        const int cx = i * factor + u, cy = j * factor + v;
                        if (cx < g.cell.w && cy < g.cell.h)
                            sum += native.alpha[static_cast<size_t>(g.cell.y + cy) *
                                                    static_cast<size_t>(native.w) +
                                                static_cast<size_t>(g.cell.x + cx)];
                    }
                out.alpha[static_cast<size_t>(r.y + j) * static_cast<size_t>(out.w) +
                          static_cast<size_t>(r.x + i)] = static_cast<uint8_t>(sum / (factor * factor));
            }
    }
    return out;
}

} // namespace zorbel::font
