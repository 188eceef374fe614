// TrueType text for the generator: UTF-8 decoding, glyph rasterising and styled text stamped into pictures.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace artgen {

// Code points of a UTF-8 string; a malformed byte becomes U+FFFD.
std::vector<uint32_t> DecodeUtf8(const std::string& s);

// One glyph's coverage: w x h bytes, placed at (x0, y0) from the pen on the baseline.
struct GlyphBitmap {
    int w = 0, h = 0;
    int x0 = 0, y0 = 0;
    float advance = 0;
    std::vector<uint8_t> coverage;
};

// A face from the system's DejaVu folder. `px` below is the pixel height (ascent to descent);
// `widthScale` narrows or widens glyphs and advances for a condensed or extended look.
class FontFace {
  public:
    explicit FontFace(const std::string& fileName); // throws std::runtime_error when the file is missing
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    float Ascent(float px) const;
    float Descent(float px) const; // negative
    float LineGap(float px) const;
    bool Has(uint32_t codepoint) const;
    GlyphBitmap Glyph(uint32_t codepoint, float px, float widthScale = 1.0f) const;
    float Kern(uint32_t a, uint32_t b, float px, float widthScale = 1.0f) const;
    // Pen advance of the whole string, kerning and tracking (extra pixels per glyph) included.
    float Measure(const std::string& text, float px, float tracking = 0, float widthScale = 1.0f) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

enum class Align { Left, Center, Right };

// How a caption looks: a vertical fill gradient, an outline, a drop shadow and an outer glow.
struct TextStyle {
    float px = 24;
    float tracking = 0;
    float widthScale = 1.0f;
    Color top = Hex(0xffffff), bottom = Hex(0xffffff);
    float outline = 0;
    Color outlineColor = Hex(0x000000);
    float shadowDx = 0, shadowDy = 0, shadowBlur = 0, shadowOpacity = 0;
    float glowRadius = 0;
    Color glowColor = Hex(0xffaa33, 0.0f);
    Blend blend = Blend::Over;
};

// Draws text with its line top at `top`; x is the left edge, centre or right edge per `align`.
// Returns the drawn width.
float DrawText(Image& dst, const FontFace& face, const std::string& text, float x, float top, Align align,
               const TextStyle& style);
// Same, vertically centred on the cap height about `centerY`.
float DrawTextCentered(Image& dst, const FontFace& face, const std::string& text, float x, float centerY,
                       Align align, const TextStyle& style);

} // namespace artgen
