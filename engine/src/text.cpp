// Bitmap fonts: a white-on-black glyph sheet and its "zfont 1" descriptor; UTF-8 text.
#include "engine.h"

#include "platform.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <unordered_map>
#include <vector>

struct ZB_Font {
    SDL_Texture* sheet = nullptr;
    float lineHeight = 0.0f;
    float spaceAdvance = 0.0f;
    struct Glyph {
        SDL_Rect cell;
        float xOffset, yOffset, advance;
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
            good = static_cast<bool>(words >> cp >> g.cell.x >> g.cell.y >> g.cell.w >> g.cell.h >> g.xOffset >>
                                     g.yOffset >> g.advance) &&
                   g.cell.w >= 0 && g.cell.h >= 0;
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

// The sheet's brightness becomes the glyph's coverage; glyphs are drawn white.
SDL_Texture* MakeSheet(const char* picture) {
    SDL_Surface* s = textures::LoadSurface(picture, nullptr);
    if (!s) return nullptr;
    for (int y = 0; y < s->h; ++y) {
        auto row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            const uint32_t p = row[x];
            const uint32_t coverage = std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF});
            row[x] = (coverage << 24) | 0xFFFFFFu;
        }
    }
    SDL_Texture* sheet = SDL_CreateTextureFromSurface(gVideo.renderer, s);
    SDL_FreeSurface(s);
    if (!sheet) {
        Report("cannot create the glyph sheet of %s: %s", picture, SDL_GetError());
        return nullptr;
    }
    SDL_SetTextureBlendMode(sheet, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(sheet, SDL_ScaleModeLinear);
    return sheet;
}

} // namespace

namespace text {

void DestroyAll() {
    for (auto& font : gFonts)
        if (font->sheet) SDL_DestroyTexture(font->sheet);
    gFonts.clear();
}

} // namespace text
} // namespace zorbel

using namespace zorbel;

ZB_Font* Text_LoadFontFromFile(const char* picture, const char* descriptor, int32_t, int32_t) {
    auto font = std::make_unique<ZB_Font>();
    ReadDescriptor(*font, descriptor);
    if (gVideo.renderer)
        font->sheet = MakeSheet(picture);
    else
        Report("Text_LoadFontFromFile(%s) before the window exists", picture ? picture : "(null)");
    gFonts.push_back(std::move(font));
    return gFonts.back().get();
}

void Text_Draw(ZB_Font* font, float x, float y, const char* text, float scale, float step, uint8_t alpha,
               int32_t) {
    if (!font || !font->sheet || !text || !gVideo.renderer || alpha == 0) return;
    draw::ToScreen(&x, &y);
    draw::SetTextureMods(font->sheet, 0xFFFFFF, alpha);
    const float lineStep = font->lineHeight * scale;
    Layout(*font, text, scale, step, [&](const ZB_Font::Glyph& g, float pen, int line) {
        if (g.cell.w == 0 || g.cell.h == 0) return;
        const SDL_FRect dst{x + pen + g.xOffset * scale, y + static_cast<float>(line) * lineStep + g.yOffset * scale,
                            static_cast<float>(g.cell.w) * scale, static_cast<float>(g.cell.h) * scale};
        SDL_RenderCopyF(gVideo.renderer, font->sheet, &g.cell, &dst);
    });
}

float Text_GetWidth(ZB_Font* font, const char* text, float scale, float step) {
    if (!font || !text) return 0.0f;
    return Layout(*font, text, scale, step, [](const ZB_Font::Glyph&, float, int) {});
}
