// The ground tiles, baking into them, and the approach grids.
#include "Ground.h"

#include "ZORBEL.h"

ZB_Texture* GroundTiles[kGroundTileCount];
ZB_Rect GroundTileRects[kGroundTileCount];
std::array<ApproachGrid, 5> ApproachGrids;

namespace {

constexpr float kTileSize = 256.0f;
// Tile rows in the order the tiles are numbered: the three lower rows first, then the two above them.
constexpr float kTileRowY[5] = {-10.0f, 246.0f, 502.0f, -266.0f, -522.0f};
constexpr float kCellSize = 20.0f;

} // namespace

void SetUpGroundTiles() {
    for (int k = 0; k < kGroundTileCount; ++k)
        GroundTiles[k] = Tex_CreateZero(256, 256, 266);
    for (int k = 0; k < kGroundTileCount; ++k) {
        GroundTileRects[k] =
            ZB_Rect{100.0f + kTileSize * static_cast<float>(k % 6), kTileRowY[k / 6], kTileSize, kTileSize};
    }
}

void PaintIntoTiles(ZB_Texture* picture) {
    for (ZB_Texture* tile : GroundTiles) {
        Tex_BeginRenderIn(tile, 1, 1, 1);
        SSprite_Draw(picture, 0.0f, 0.0f, 256.0f, 256.0f, 255, 0.0f, 1);
        Tex_EndRenderIn();
    }
}

void StampOnMap(const ZB_Rect& box, const std::function<void(float tileLeft, float tileTop)>& draw) {
    for (int k = 0; k < kGroundTileCount; ++k) {
        const ZB_Rect& tile = GroundTileRects[k];
        if (!Col_AABB(&tile, &box)) continue;
        Tex_BeginRenderIn(GroundTiles[k], 1, 1, 1);
        draw(tile.X, tile.Y);
        Tex_EndRenderIn();
    }
}

void SetUpApproachGrids(int32_t playerX, int32_t playerY) {
    for (ApproachGrid& grid : ApproachGrids) {
        for (auto& column : grid) {
            for (ZB_Rect& cell : column)
                cell.W = cell.H = kCellSize;
        }
    }
    RecentreApproachGrids(playerX, playerY);
}

void RecentreApproachGrids(int32_t playerX, int32_t playerY) {
    for (ApproachGrid& grid : ApproachGrids) {
        for (int i = 0; i <= 20; ++i) {
            for (int j = 0; j <= 20; ++j) {
                grid[i][j].X = static_cast<float>(playerX + 20 * i - 170);
                grid[i][j].Y = static_cast<float>(playerY + 20 * j - 170);
            }
        }
    }
}

void FreeApproachCells() {
    for (ApproachGrid& grid : ApproachGrids) {
        for (auto& column : grid) {
            for (ZB_Rect& cell : column)
                cell.W = kCellSize;
        }
    }
}
