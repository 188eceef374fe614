// The generator's parts: each writes its share of PICTURE/ and SOUNDS/ under the output folder.
#pragma once

#include <string>

namespace artgen {

// outDir is the game's data folder; PICTURE/ and SOUNDS/ exist under it when these run.
void GeneratePictures(const std::string& outDir); // sprites, effects, icons, HUD pieces, grounds, light
void GenerateScreens(const std::string& outDir);  // menu, mission, options, credits, end and panel pictures
void GenerateFont(const std::string& outDir);     // TEXTING.BMP and its descriptor TEXTING.bmp.ofi
void GenerateSounds(const std::string& outDir);   // effects and music, Ogg Vorbis

// The desktop icons, outside the game's data: icons/hicolor/NxN/apps/drelmont.png, 16 to 256 pixels.
void GenerateIcons(const std::string& outDir);

} // namespace artgen
