// TrueType text for the generator: stb_truetype behind a small face class, and captions with outline, shadow
// and glow.
#include "ui_text.h"

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace artgen {

std::vector<uint32_t> DecodeUtf8(const std::string& s) {
    std::vector<uint32_t> out;
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<uint8_t>(s[i]);
        int extra = 0;
        uint32_t cp = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            extra = 3;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (i + extra >= s.size()) {
            out.push_back(0xFFFD);
            break;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<uint8_t>(s[i + k]);
            if ((c & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += 1 + extra;
    }
    return out;
}

struct FontFace::Impl {
    std::vector<unsigned char> data;
    stbtt_fontinfo info{};
    int ascent = 0, descent = 0, lineGap = 0;
};

FontFace::FontFace(const std::string& fileName) : impl_(std::make_unique<Impl>()) {
    const std::string path = std::string(DRELMONT_FONT_DIR) + "/" + fileName;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read font " + path);
    impl_->data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!stbtt_InitFont(&impl_->info, impl_->data.data(), stbtt_GetFontOffsetForIndex(impl_->data.data(), 0)))
        throw std::runtime_error("not a TrueType font: " + path);
    stbtt_GetFontVMetrics(&impl_->info, &impl_->ascent, &impl_->descent, &impl_->lineGap);
}

FontFace::~FontFace() = default;

static float ScaleFor(const stbtt_fontinfo& info, float px) {
    return stbtt_ScaleForPixelHeight(&info, px);
}

float FontFace::Ascent(float px) const {
    return impl_->ascent * ScaleFor(impl_->info, px);
}
float FontFace::Descent(float px) const {
    return impl_->descent * ScaleFor(impl_->info, px);
}
float FontFace::LineGap(float px) const {
    return impl_->lineGap * ScaleFor(impl_->info, px);
}

bool FontFace::Has(uint32_t codepoint) const {
    return stbtt_FindGlyphIndex(&impl_->info, static_cast<int>(codepoint)) != 0;
}

GlyphBitmap FontFace::Glyph(uint32_t codepoint, float px, float widthScale) const {
    const float sy = ScaleFor(impl_->info, px);
    const float sx = sy * widthScale;
    const int g = stbtt_FindGlyphIndex(&impl_->info, static_cast<int>(codepoint));
    GlyphBitmap out;
    int adv = 0, lsb = 0;
    stbtt_GetGlyphHMetrics(&impl_->info, g, &adv, &lsb);
    out.advance = adv * sx;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBox(&impl_->info, g, sx, sy, &x0, &y0, &x1, &y1);
    out.x0 = x0;
    out.y0 = y0;
    out.w = std::max(0, x1 - x0);
    out.h = std::max(0, y1 - y0);
    out.coverage.assign(static_cast<size_t>(out.w) * out.h, 0);
    if (out.w > 0 && out.h > 0)
        stbtt_MakeGlyphBitmap(&impl_->info, out.coverage.data(), out.w, out.h, out.w, sx, sy, g);
    return out;
}

float FontFace::Kern(uint32_t a, uint32_t b, float px, float widthScale) const {
    return stbtt_GetCodepointKernAdvance(&impl_->info, static_cast<int>(a), static_cast<int>(b)) *
           ScaleFor(impl_->info, px) * widthScale;
}

float FontFace::Measure(const std::string& text, float px, float tracking, float widthScale) const {
    const auto cps = DecodeUtf8(text);
    const float sx = ScaleFor(impl_->info, px) * widthScale;
    float pen = 0;
    for (size_t i = 0; i < cps.size(); ++i) {
        int adv = 0, lsb = 0;
        stbtt_GetCodepointHMetrics(&impl_->info, static_cast<int>(cps[i]), &adv, &lsb);
        pen += adv * sx;
        if (i + 1 < cps.size()) pen += Kern(cps[i], cps[i + 1], px, widthScale) + tracking;
    }
    return pen;
}

namespace {

// Coloured glyphs of one line in a layer with `margin` pixels of room on every side for effects.
Image RenderLine(const FontFace& face, const std::vector<uint32_t>& cps, const TextStyle& st, float width,
                 int margin) {
    const float ascent = face.Ascent(st.px);
    const float height = ascent - face.Descent(st.px);
    const int w = static_cast<int>(std::ceil(width)) + 2 * margin + 2;
    const int h = static_cast<int>(std::ceil(height)) + 2 * margin + 2;
    Image layer(w, h);
    const GlyphBitmap cap = face.Glyph('H', st.px, st.widthScale);
    const float capTop = ascent + static_cast<float>(cap.y0);
    float pen = 0;
    for (size_t i = 0; i < cps.size(); ++i) {
        const GlyphBitmap g = face.Glyph(cps[i], st.px, st.widthScale);
        const int gx = margin + static_cast<int>(std::lround(pen)) + g.x0;
        const int gy = margin + static_cast<int>(std::lround(ascent)) + g.y0;
        for (int y = 0; y < g.h; ++y) {
            const float t = Clamp01((static_cast<float>(gy + y - margin) - capTop) / (ascent - capTop));
            const Color c = Lerp(st.top, st.bottom, t);
            for (int x = 0; x < g.w; ++x) {
                const uint8_t cov = g.coverage[static_cast<size_t>(y) * g.w + x];
                if (cov == 0) continue;
                const int px = gx + x, py = gy + y;
                if (px < 0 || py < 0 || px >= w || py >= h) continue;
                layer.Put(px, py, WithAlpha(c, c.a * cov / 255.0f));
            }
        }
        pen += g.advance;
        if (i + 1 < cps.size()) pen += face.Kern(cps[i], cps[i + 1], st.px, st.widthScale) + st.tracking;
    }
    return layer;
}

} // namespace

float DrawText(Image& dst, const FontFace& face, const std::string& text, float x, float top, Align align,
               const TextStyle& st) {
    const auto cps = DecodeUtf8(text);
    const float width = face.Measure(text, st.px, st.tracking, st.widthScale);
    const int margin = static_cast<int>(std::ceil(st.outline + st.glowRadius * 3 +
                                                  std::max(std::fabs(st.shadowDx), std::fabs(st.shadowDy)) +
                                                  st.shadowBlur * 3)) +
                       2;
    Image body = RenderLine(face, cps, st, width, margin);
    if (st.outline > 0) body = WithOutline(body, st.outline, st.outlineColor);
    float left = x;
    if (align == Align::Center) left = x - width / 2;
    if (align == Align::Right) left = x - width;
    const int ox = static_cast<int>(std::lround(left)) - margin;
    const int oy = static_cast<int>(std::lround(top)) - margin;
    if (st.glowRadius > 0 && st.glowColor.a > 0) {
        Image glow(body.Width(), body.Height());
        for (int y = 0; y < body.Height(); ++y)
            for (int xx = 0; xx < body.Width(); ++xx)
                glow.At(xx, y) = WithAlpha(st.glowColor, st.glowColor.a * body.At(xx, y).a);
        glow = Blur(glow, st.glowRadius);
        dst.Draw(glow, ox, oy, Blend::Add);
    }
    if (st.shadowOpacity > 0)
        body = WithDropShadow(body, st.shadowDx, st.shadowDy, st.shadowBlur, st.shadowOpacity);
    dst.Draw(body, ox, oy, st.blend);
    return width;
}

float DrawTextCentered(Image& dst, const FontFace& face, const std::string& text, float x, float centerY,
                       Align align, const TextStyle& st) {
    const GlyphBitmap cap = face.Glyph('H', st.px, st.widthScale);
    // Cap top sits at ascent + cap.y0 below the line top, the baseline at ascent.
    const float capMid = face.Ascent(st.px) + static_cast<float>(cap.y0) / 2.0f;
    return DrawText(dst, face, text, x, centerY - capMid, align, st);
}

} // namespace artgen
