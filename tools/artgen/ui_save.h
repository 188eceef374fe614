// Writing the menu and HUD pictures: plain, colour-keyed and masked, failing loudly.
#pragma once

#include "canvas.h"

#include <string>

namespace artgen::ui {

// Writes by the file's extension (.bmp, .jpg, .tga, .png); throws std::runtime_error when it can't.
void Save(const std::string& pictureDir, const std::string& name, const Image& img);
// A picture with transparency for the engine: its colours, and its alpha as a white-on-black mask.
void SaveMasked(const std::string& pictureDir, const std::string& name, const std::string& maskName,
                const Image& img);
// A colour-keyed picture: pixels under half coverage become exactly `key`, the rest are kept off the key.
void SaveKeyed(const std::string& pictureDir, const std::string& name, const Image& img, Color key);

} // namespace artgen::ui
