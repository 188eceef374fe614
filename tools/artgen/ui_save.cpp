// Writing the menu and HUD pictures: plain, colour-keyed and masked, failing loudly.
#include "ui_save.h"

#include <algorithm>
#include <stdexcept>

namespace artgen::ui {

void Save(const std::string& pictureDir, const std::string& name, const Image& img) {
    const std::string path = pictureDir + "/" + name;
    std::string ext = name.substr(name.find_last_of('.') + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    bool ok = false;
    if (ext == "bmp") ok = WriteBmp(path, img);
    if (ext == "jpg") ok = WriteJpg(path, img, 92);
    if (ext == "tga") ok = WriteTga(path, img);
    if (ext == "png") ok = WritePng(path, img);
    if (!ok) throw std::runtime_error("cannot write " + path);
}

void SaveMasked(const std::string& pictureDir, const std::string& name, const std::string& maskName,
                const Image& img) {
    // Straight colours, not darkened at soft edges: the engine multiplies by the mask itself.
    Image colours(img.Width(), img.Height());
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const Color& c = img.At(x, y);
            colours.At(x, y) = c.a > 0 ? Color{c.r, c.g, c.b, 1} : Hex(0x000000);
        }
    Save(pictureDir, name, colours);
    Save(pictureDir, maskName, AlphaMask(img));
}

void SaveKeyed(const std::string& pictureDir, const std::string& name, const Image& img, Color key) {
    Image out(img.Width(), img.Height());
    // One step of 8-bit colour: anything closer than this to the key would read as the key.
    const float step = 1.5f / 255.0f;
    for (int y = 0; y < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x) {
            const Color& c = img.At(x, y);
            if (c.a < 0.5f) {
                out.At(x, y) = WithAlpha(key, 1);
                continue;
            }
            Color o{Clamp01(c.r), Clamp01(c.g), Clamp01(c.b), 1};
            const bool onKey =
                std::abs(o.r - key.r) < step && std::abs(o.g - key.g) < step && std::abs(o.b - key.b) < step;
            if (onKey) o.g = key.g > 0.5f ? o.g - 2 * step : o.g + 2 * step;
            out.At(x, y) = o;
        }
    }
    Save(pictureDir, name, out);
}

} // namespace artgen::ui
