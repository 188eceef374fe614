// The game's font: white glyphs on black in PICTURE/TEXTING.BMP and their places in TEXTING.bmp.ofi.
#include "artgen.h"
#include "ui_font.h"
#include "ui_save.h"
#include "ui_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace artgen {

std::vector<uint32_t> ui::FontCharacters() {
    std::vector<uint32_t> cps;
    for (uint32_t c = 32; c <= 126; ++c)
        cps.push_back(c);
    for (uint32_t c : {0xA0u, 0xA9u, 0xABu, 0xB0u, 0xB7u, 0xBBu})
        cps.push_back(c);
    for (uint32_t c = 0x400; c <= 0x45F; ++c)
        cps.push_back(c);
    for (uint32_t c : {0x2013u, 0x2014u, 0x2026u, 0x2116u})
        cps.push_back(c);
    return cps;
}

void GenerateFont(const std::string& outDir) {
    using namespace ui;
    const FontFace face("DejaVuSans-Bold.ttf");
    const float px = kFontNativePx;
    const int ascent = static_cast<int>(std::lround(face.Ascent(px)));
    const int lineHeight =
        static_cast<int>(std::lround(face.Ascent(px) - face.Descent(px) + face.LineGap(px)));

    struct Placed {
        uint32_t cp;
        GlyphBitmap g;
        int x = 0, y = 0;
    };
    std::vector<Placed> glyphs;
    for (uint32_t cp : FontCharacters()) {
        if (!face.Has(cp) && cp != 0x20 && cp != 0xA0)
            throw std::runtime_error("font lacks a glyph the game needs");
        glyphs.push_back({cp, face.Glyph(cp, px, kFontWidthScale), 0, 0});
    }
    // Shelf packing in code-point order keeps the sheet the same on every build.
    int penX = kFontPadding, penY = kFontPadding, shelf = 0;
    for (Placed& p : glyphs) {
        if (p.g.w == 0 || p.g.h == 0) continue;
        if (penX + p.g.w + kFontPadding > kFontSheetWidth) {
            penX = kFontPadding;
            penY += shelf + kFontPadding;
            shelf = 0;
        }
        p.x = penX;
        p.y = penY;
        penX += p.g.w + kFontPadding;
        shelf = std::max(shelf, p.g.h);
    }
    int height = 1;
    while (height < penY + shelf + kFontPadding)
        height *= 2;

    Image sheet(kFontSheetWidth, height, Hex(0x000000));
    for (const Placed& p : glyphs)
        for (int y = 0; y < p.g.h; ++y)
            for (int x = 0; x < p.g.w; ++x) {
                const float v = p.g.coverage[static_cast<size_t>(y) * p.g.w + x] / 255.0f;
                sheet.At(p.x + x, p.y + y) = {v, v, v, 1};
            }
    Save(outDir + "/PICTURE", "TEXTING.BMP", sheet);

    const std::string path = outDir + "/TEXTING.bmp.ofi";
    std::ofstream out(path, std::ios::binary);
    out << "# Drelmont glyph sheet PICTURE/TEXTING.BMP: white glyphs on black, DejaVu Sans Bold.\n"
        << "# glyph <codepoint> <x> <y> <w> <h> <xoffset> <yoffset> <advance>; offsets from the pen at the "
           "line top.\n"
        << "zfont 1\n"
        << "size " << kFontNativePx << ' ' << lineHeight << ' ' << ascent << '\n';
    for (const Placed& p : glyphs) {
        const bool empty = p.g.w == 0 || p.g.h == 0;
        out << "glyph " << p.cp << ' ' << (empty ? 0 : p.x) << ' ' << (empty ? 0 : p.y) << ' '
            << (empty ? 0 : p.g.w) << ' ' << (empty ? 0 : p.g.h) << ' ' << (empty ? 0 : p.g.x0) << ' '
            << (empty ? 0 : ascent + p.g.y0) << ' ' << std::lround(p.g.advance) << '\n';
    }
    out << "end\n";
    if (!out) throw std::runtime_error("cannot write " + path);
}

} // namespace artgen
