// The desktop icons: the game's emblem at the sizes of the hicolor icon theme.
#include "artgen.h"
#include "ui_draw.h"
#include "ui_save.h"

#include <filesystem>
#include <string>

namespace artgen {

void GenerateIcons(const std::string& outDir) {
    // Every size divides the canvas, so each icon is a clean box-filtered reduction of one drawing.
    constexpr int kCanvas = 768;
    constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
    Image big(kCanvas, kCanvas);
    ui::Emblem(big, {kCanvas / 2.0f, kCanvas / 2.0f - 8}, 680);
    for (const int size : kIconSizes) {
        const std::string dir =
            outDir + "/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::filesystem::create_directories(dir);
        ui::Save(dir, "drelmont.png", big.Downsample(kCanvas / size));
    }
}

} // namespace artgen
