// The ground tiles, baking into them, and the approach grids.
#include "Ground.h"

#include "ZORBEL.h"

ZB_Texture* GroundTiles[kGroundTileCount];
ZB_Rect GroundTileRects[kGroundTileCount];
std::array<ApproachGrid, 5> ApproachGrids;

namespace {

constexpr float kTileSize = 256.0f;
constexpr int kTileColumns = 6, kTileRows = 5;
static_assert(kTileColumns * kTileRows == kGroundTileCount);
// Tile rows in the order the tiles are numbered: the three lower rows first, then the two above them.
constexpr float kTileRowY[5] = {-10.0f, 246.0f, 502.0f, -266.0f, -522.0f};
constexpr float kCellSize = 20.0f;

} // namespace

void SetUpGroundTiles() {
    for (int k = 0; k < kGroundTileCount; ++k)
        GroundTiles[k] = Tex_CreateZero(256, 256, 266);
    for (int k = 0; k < kGroundTileCount; ++k) {
        GroundTileRects[k] = ZB_Rect{100.0f + kTileSize * static_cast<float>(k % kTileColumns),
                                     kTileRowY[k / kTileColumns], kTileSize, kTileSize};
    }
}

void PaintIntoTiles(ZB_Texture* picture) {
    for (ZB_Texture* tile : GroundTiles) {
        Tex_BeginRenderIn(tile, 1, 1, 1);
        SSprite_Draw(picture, 0.0f, 0.0f, 256.0f, 256.0f, 255, 0.0f, 1);
        Tex_EndRenderIn();
    }
}

void StampOnMap(const ZB_Rect& box, TileDraw draw) {
    // The tiles lie in six columns, left to right, and five rows, so a tile overlaps the box exactly when its
    // column and its row do: each half of the overlap test is asked once, with the very sums the whole test
    // would make. The columns the box reaches are a run, from the first whose right edge lies past the box's
    // left to the last whose left edge lies before the box's right. Tiles are visited in their own order,
    // row by row.
    const float right = box.X + box.W, bottom = box.Y + box.H;
    int first = 0;
    while (first < kTileColumns && !(box.X < GroundTileRects[first].X + GroundTileRects[first].W))
        ++first;
    int end = first;
    while (end < kTileColumns && GroundTileRects[end].X < right)
        ++end;
    if (first == end) return;
    for (int r = 0; r < kTileRows; ++r) {
        const ZB_Rect& row = GroundTileRects[r * kTileColumns];
        if (!(row.Y < bottom && box.Y < row.Y + row.H)) continue;
        for (int k = r * kTileColumns + first; k < r * kTileColumns + end; ++k) {
            Tex_BeginRenderIn(GroundTiles[k], 1, 1, 1);
            draw(GroundTileRects[k].X, GroundTileRects[k].Y);
            Tex_EndRenderIn();
        }
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
