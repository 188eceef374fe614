// Bitmap fonts: a white-on-black glyph sheet and its "zfont 1" descriptor; UTF-8 text.
#include "bake.h"
#include "engine.h"
#include "font_descriptor.h"
#include "outside_text.h"
#include "soft_frame.h"

#include "platform.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <string>
#include <vector>

struct ZB_Font {
    SDL_Texture* sheets[zorbel::font::kLevels] = {};
    float lineHeight = 0.0f;
    float spaceAdvance = 0.0f;
    std::unordered_map<uint32_t, zorbel::font::Glyph> glyphs;
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

// A font file's problems take one line, however many there are: a broken file is named once.
void ReportProblems(const std::vector<std::string>& problems) {
    if (problems.empty()) return;
    std::string message = problems.front();
    if (problems.size() > 1) message += " (and " + std::to_string(problems.size() - 1) + " more problems)";
    Report("%s", message.c_str());
}

font::Descriptor ReadDescriptor(const char* descriptor, const std::string& path) {
    std::string text, why;
    if (!ReadTextFile(path, font::kMaxDescriptorBytes, &text, &why)) {
        font::Descriptor none;
        none.problems.push_back("cannot read font descriptor " +
                                std::string(descriptor ? descriptor : "(null)") + " (" + path + "): " + why);
        return none;
    }
    return font::Parse(path, text);
}

SDL_Texture* MakeSheetTexture(const font::Coverage& coverage) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, std::max(coverage.w, 1), std::max(coverage.h, 1), 32,
                                                    SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    SDL_FillRect(s, nullptr, 0x00FFFFFF);
    for (int y = 0; y < coverage.h; ++y) {
        auto row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < coverage.w; ++x)
            row[x] = (static_cast<uint32_t>(
                          coverage.alpha[static_cast<size_t>(y) * static_cast<size_t>(coverage.w) +
                                         static_cast<size_t>(x)])
                      << 24) |
                     0xFFFFFFu;
    }
    // Made as pictures are, so the software renderer's sheets can be read and blended by the engine.
    SDL_Texture* sheet = textures::MakeTexture(s, 0);
    SDL_FreeSurface(s);
    return sheet;
}

// The sheet's brightness becomes the glyph's coverage; glyphs are drawn white. Glyphs whose cells the sheet
// does not hold are dropped.
void MakeSheets(ZB_Font& font, font::Descriptor& descriptor, const std::string& descriptorPath,
                const char* picture) {
    SDL_Surface* s = textures::LoadSurface(picture, nullptr);
    if (!s) return;
    font::Coverage native;
    native.w = s->w;
    native.h = s->h;
    native.alpha.resize(static_cast<size_t>(s->w) * static_cast<size_t>(s->h));
    for (int y = 0; y < s->h; ++y) {
        const auto row =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            const uint32_t p = row[x];
            native.alpha[static_cast<size_t>(y) * static_cast<size_t>(s->w) + static_cast<size_t>(x)] =
                static_cast<uint8_t>(std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}));
        }
    }
    SDL_FreeSurface(s);
    font::KeepCellsInside(descriptor, descriptorPath, native.w, native.h);
    for (auto& [cp, g] : descriptor.glyphs)
        g.reduced[0] = g.cell;
    font.sheets[0] = MakeSheetTexture(native);
    for (int level = 1; level < font::kLevels && font.sheets[0]; ++level) {
        const font::Coverage reduced = font::Reduce(native, descriptor.glyphs, level);
        if (reduced.w > 0) font.sheets[level] = MakeSheetTexture(reduced);
    }
}

// The reduced sheet that is drawn at a scale of 0.5 to 1 of its own size.
int LevelFor(const ZB_Font& font, float scale) {
    int level = scale > 0.0f ? static_cast<int>(std::floor(std::log2(1.0f / scale))) : 0;
    level = std::clamp(level, 0, font::kLevels - 1);
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
    const std::string path = platform::ResolvePath(descriptor ? descriptor : "");
    font::Descriptor read = ReadDescriptor(descriptor, path);
    if (gVideo.renderer)
        MakeSheets(*font, read, path, picture);
    else
        Report("Text_LoadFontFromFile(%s) before the window exists", picture ? picture : "(null)");
    ReportProblems(read.problems);
    font->lineHeight = read.lineHeight;
    font->glyphs = std::move(read.glyphs);
    if (const auto space = font->glyphs.find(' '); space != font->glyphs.end())
        font->spaceAdvance = space->second.advance;
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
    const bake::SdlDrawing drawing;
    const float cellScale = scale * static_cast<float>(1 << level);
    const float lineStep = font->lineHeight * scale;
    Layout(*font, text, scale, step, [&](const font::Glyph& g, float pen, int line) {
        const font::Rect& cell = g.reduced[level];
        const SDL_Rect src{cell.x, cell.y, cell.w, cell.h};
        if (src.w == 0 || src.h == 0) return;
        // Glyph edges on whole pixels: every glyph of a line is then filtered alike and spaced evenly.
        const float left = std::round(x + pen + g.xOffset * scale);
        const float top = std::round(y + static_cast<float>(line) * lineStep + g.yOffset * scale);
        const float right = std::round(x + pen + g.xOffset * scale + static_cast<float>(src.w) * cellScale);
        const float bottom = std::round(y + static_cast<float>(line) * lineStep + g.yOffset * scale +
                                        static_cast<float>(src.h) * cellScale);
        const SDL_FRect dst{left, top, right - left, bottom - top};
        softframe::Copy(sheet, &src, dst);
    });
}

float Text_GetWidth(ZB_Font* font, const char* text, float scale, float step) {
    if (!font || !text) return 0.0f;
    return Layout(*font, text, scale, step, [](const font::Glyph&, float, int) {});
}
