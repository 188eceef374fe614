// The ground of the battlefield: thirty render targets that hold its picture, the baking of marks into them,
// and the approach grids around the soldier whose cells the monsters claim.
#pragma once

#include "zorbel_api.h"

#include <array>
#include <cstdint>
#include <functional>

constexpr int kGroundTileCount = 30;
extern ZB_Texture* GroundTiles[kGroundTileCount]; // 256 x 256 render targets holding the battlefield picture
extern ZB_Rect GroundTileRects[kGroundTileCount];

// Five grids of 21 x 21 cells of 20 x 20 pixels around the player; a monster holds a cell by its width.
using ApproachGrid = std::array<std::array<ZB_Rect, 21>, 21>;
extern std::array<ApproachGrid, 5> ApproachGrids;

// Makes the thirty empty tiles and places them: six columns, five rows.
void SetUpGroundTiles();
// Paints the picture into every tile, as the ground a level starts on.
void PaintIntoTiles(ZB_Texture* picture);
// Draws a mark permanently into every ground tile its box overlaps. The draw call receives the tile's
// left and top and draws the sprite with its position moved by them. The caller turns the camera off first.
void StampOnMap(const ZB_Rect& box, const std::function<void(float tileLeft, float tileTop)>& draw);

// Every cell 20 x 20, free, around the player's rounded position.
void SetUpApproachGrids(int32_t playerX, int32_t playerY);
// The grids travel with the living player; the widths are the monsters' claim marks and stay.
void RecentreApproachGrids(int32_t playerX, int32_t playerY);
// Every claim given up: a new level starts with free cells.
void FreeApproachCells();
