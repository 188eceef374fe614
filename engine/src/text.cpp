// Bitmap fonts: a white-on-black glyph sheet and its "zfont 1" descriptor; UTF-8 text.
#include "engine.h"

#include "platform.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <unordered_map>
#include <vector>

// Small text (the game goes down to a quarter of the native size) is drawn from sheets reduced by 2 and 4
// with a box filter, since bilinear filtering alone skips pixels and makes thin strokes ragged.
constexpr int kFontLevels = 3;

struct ZB_Font {
    SDL_Texture* sheets[kFontLevels] = {};
    float lineHeight = 0.0f;
    float spaceAdvance = 0.0f;
    struct Glyph {
        SDL_Rect cell; // in the native sheet
        float xOffset, yOffset, advance;
        SDL_Rect reduced[kFontLevels]; // the cell in each level's sheet; level 0 is the cell itself
    };
    std::unordered_map<uint32_t, Glyph> glyphs;
};

namespace zorbel {
namespace {

std::vector<std::unique_ptr<ZB_Font>> gFonts;

constexpr uint32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence and advances p; a malformed sequence yields U+FFFD and skips one byte.
uint32_t NextCodepoint(const unsigned char*& p) {
    const unsigned char lead = *p;
    int extra = 0;
    uint32_t cp = 0;
    if (lead < 0x80) {
        ++p;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++p;
        return kReplacement;
    }
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++p;
            return kReplacement;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra + 1;
    return cp;
}

// Walks the text as Text_Draw lays it out, calling place(glyph, penX, line) for every visible glyph;
// returns the widest line's pen span.
template <typename Place>
float Layout(const ZB_Font& font, const char* text, float scale, float step, Place&& place) {
    float widest = 0.0f, pen = 0.0f;
    int line = 0;
    bool lineStart = true;
    const auto question = font.glyphs.find('?');
    for (auto p = reinterpret_cast<const unsigned char*>(text); *p;) {
        const uint32_t cp = NextCodepoint(p);
        if (cp == '\n') {
            widest = std::max(widest, pen);
            pen = 0.0f;
            ++line;
            lineStart = true;
            continue;
        }
        if (!lineStart) pen += step;
        lineStart = false;
        auto found = font.glyphs.find(cp);
        if (found == font.glyphs.end()) found = question;
        if (found == font.glyphs.end()) {
            pen += font.spaceAdvance * scale;
            continue;
        }
        place(found->second, pen, line);
        pen += found->second.advance * scale;
    }
    return std::max(widest, pen);
}

// Reads the descriptor; bad lines are reported with their number and skipped.
void ReadDescriptor(ZB_Font& font, const char* descriptor) {
    const std::string path = platform::ResolvePath(descriptor ? descriptor : "");
    std::ifstream in(path);
    if (!in) {
        Report("cannot open font descriptor %s (%s)", descriptor ? descriptor : "(null)", path.c_str());
        return;
    }
    std::string line;
    int number = 0;
    bool header = false;
    while (std::getline(in, line)) {
        ++number;
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string keyword;
        if (!(words >> keyword)) continue;
        bool good = true;
        if (keyword == "zfont") {
            int version = 0;
            good = static_cast<bool>(words >> version) && version == 1;
            header = good;
        } else if (!header) {
            good = false;
        } else if (keyword == "size") {
            float size = 0, ascent = 0;
            good = static_cast<bool>(words >> size >> font.lineHeight >> ascent);
        } else if (keyword == "glyph") {
            uint32_t cp = 0;
            ZB_Font::Glyph g{};
            good = static_cast<bool>(words >> cp >> g.cell.x >> g.cell.y >> g.cell.w >> g.cell.h >>
                                     g.xOffset >> g.yOffset >> g.advance) &&
                   g.cell.x >= 0 && g.cell.y >= 0 && g.cell.w >= 0 && g.cell.h >= 0;
            if (good) font.glyphs[cp] = g;
        } else {
            good = false;
        }
        std::string rest;
        if (good && (words >> rest)) good = false;
        if (!good) Report("%s:%d: not a zfont 1 line: %s", path.c_str(), number, line.c_str());
    }
    if (!header) Report("%s: no \"zfont 1\" header; the font has no glyphs", path.c_str());
    if (const auto space = font.glyphs.find(' '); space != font.glyphs.end())
        font.spaceAdvance = space->second.advance;
}

// Glyph coverage: the sheet's brightness, one byte per pixel.
struct Coverage {
    int w = 0, h = 0;
    std::vector<uint8_t> alpha;
    int at(int x, int y) const { return x < w && y < h ? alpha[static_cast<size_t>(y * w + x)] : 0; }
};

SDL_Texture* MakeSheetTexture(const Coverage& coverage) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, std::max(coverage.w, 1), std::max(coverage.h, 1), 32,
                                                    SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    SDL_FillRect(s, nullptr, 0x00FFFFFF);
    for (int y = 0; y < coverage.h; ++y) {
        auto row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < coverage.w; ++x)
            row[x] = (static_cast<uint32_t>(coverage.at(x, y)) << 24) | 0xFFFFFFu;
    }
    SDL_Texture* sheet = SDL_CreateTextureFromSurface(gVideo.renderer, s);
    SDL_FreeSurface(s);
    if (!sheet) {
        Report("cannot create a glyph sheet: %s", SDL_GetError());
        return nullptr;
    }
    SDL_SetTextureBlendMode(sheet, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(sheet, SDL_ScaleModeLinear);
    return sheet;
}

// Packs every glyph, shrunk by `factor` with a box filter, into a new sheet (rows of cells, 1 pixel apart).
// A cell's size rounds up, so a shrunk glyph covers cell size rounded up to the factor in native pixels.
Coverage ReduceGlyphs(const Coverage& native, ZB_Font& font, int level) {
    const int factor = 1 << level;
    Coverage out;
    out.w = std::max(64, native.w / factor);
    int x = 0, y = 0, rowHeight = 0;
    for (auto& [cp, g] : font.glyphs) {
        const int w = (g.cell.w + factor - 1) / factor, h = (g.cell.h + factor - 1) / factor;
        if (x + w > out.w) {
            x = 0;
            y += rowHeight + 1;
            rowHeight = 0;
        }
        g.reduced[level] = SDL_Rect{x, y, w, h};
        x += w + 1;
        rowHeight = std::max(rowHeight, h);
    }
    out.h = y + rowHeight;
    out.alpha.assign(static_cast<size_t>(out.w * std::max(out.h, 1)), 0);
    for (const auto& [cp, g] : font.glyphs) {
        const SDL_Rect& r = g.reduced[level];
        for (int j = 0; j < r.h; ++j)
            for (int i = 0; i < r.w; ++i) {
                int sum = 0;
                for (int v = 0; v < factor; ++v)
                    for (int u = 0; u < factor; ++u) {
                        const int cx = i * factor + u, cy = j * factor + v;
                        if (cx < g.cell.w && cy < g.cell.h) sum += native.at(g.cell.x + cx, g.cell.y + cy);
                    }
                out.alpha[static_cast<size_t>((r.y + j) * out.w + r.x + i)] =
                    static_cast<uint8_t>(sum / (factor * factor));
            }
    }
    return out;
}

// The sheet's brightness becomes the glyph's coverage; glyphs are drawn white.
void MakeSheets(ZB_Font& font, const char* picture) {
    SDL_Surface* s = textures::LoadSurface(picture, nullptr);
    if (!s) return;
    Coverage native;
    native.w = s->w;
    native.h = s->h;
    native.alpha.resize(static_cast<size_t>(s->w * s->h));
    for (int y = 0; y < s->h; ++y) {
        const auto row =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            const uint32_t p = row[x];
            native.alpha[static_cast<size_t>(y * s->w + x)] =
                static_cast<uint8_t>(std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}));
        }
    }
    SDL_FreeSurface(s);
    for (auto& [cp, g] : font.glyphs)
        g.reduced[0] = g.cell;
    font.sheets[0] = MakeSheetTexture(native);
    for (int level = 1; level < kFontLevels && font.sheets[0]; ++level)
        font.sheets[level] = MakeSheetTexture(ReduceGlyphs(native, font, level));
}

// The reduced sheet that is drawn at a scale of 0.5 to 1 of its own size.
int LevelFor(const ZB_Font& font, float scale) {
    int level = scale > 0.0f ? static_cast<int>(std::floor(std::log2(1.0f / scale))) : 0;
    level = std::clamp(level, 0, kFontLevels - 1);
    while (level > 0 && !font.sheets[level])
        --level;
    return level;
}

} // namespace

namespace text {

void DestroyAll() {
    for (auto& font : gFonts)
        for (SDL_Texture* sheet : font->sheets)
            if (sheet) SDL_DestroyTexture(sheet);
    gFonts.clear();
}

} // namespace text
} // namespace zorbel

using namespace zorbel;

ZB_Font* Text_LoadFontFromFile(const char* picture, const char* descriptor, int32_t, int32_t) {
    auto font = std::make_unique<ZB_Font>();
    ReadDescriptor(*font, descriptor);
    if (gVideo.renderer)
        MakeSheets(*font, picture);
    else
        Report("Text_LoadFontFromFile(%s) before the window exists", picture ? picture : "(null)");
    gFonts.push_back(std::move(font));
    return gFonts.back().get();
}

void Text_Draw(ZB_Font* font, float x, float y, const char* text, float scale, float step, uint8_t alpha,
               int32_t) {
    if (!font || !font->sheets[0] || !text || !gVideo.renderer || alpha == 0) return;
    draw::ToScreen(&x, &y);
    const int level = LevelFor(*font, scale);
    SDL_Texture* sheet = font->sheets[level];
    draw::SetTextureMods(sheet, 0xFFFFFF, alpha);
    const float cellScale = scale * static_cast<float>(1 << level);
    const float lineStep = font->lineHeight * scale;
    Layout(*font, text, scale, step, [&](const ZB_Font::Glyph& g, float pen, int line) {
        const SDL_Rect& src = g.reduced[level];
        if (src.w == 0 || src.h == 0) return;
        // Glyph edges on whole pixels: every glyph of a line is then filtered alike and spaced evenly.
        const float left = std::round(x + pen + g.xOffset * scale);
        const float top = std::round(y + static_cast<float>(line) * lineStep + g.yOffset * scale);
        const float right = std::round(x + pen + g.xOffset * scale + static_cast<float>(src.w) * cellScale);
        const float bottom = std::round(y + static_cast<float>(line) * lineStep + g.yOffset * scale +
                                        static_cast<float>(src.h) * cellScale);
        const SDL_FRect dst{left, top, right - left, bottom - top};
        SDL_RenderCopyF(gVideo.renderer, sheet, &src, &dst);
    });
}

float Text_GetWidth(ZB_Font* font, const char* text, float scale, float step) {
    if (!font || !text) return 0.0f;
    return Layout(*font, text, scale, step, [](const ZB_Font::Glyph&, float, int) {});
}
