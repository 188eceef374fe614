// The ground of the battlefield: thirty render targets that hold its picture, the baking of marks into them,
// and the approach grids around the soldier whose cells the monsters claim.
#pragma once

#include "zorbel_api.h"

#include <array>
#include <cstdint>
#include <type_traits>

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
// A draw call borrowed for the length of one stamp: marks are stamped by the thousand in a crowded fight, and
// a std::function made for each of them cost more than the call it carried.
class TileDraw {
  public:
    template <typename F, typename = std::enable_if_t<!std::is_same_v<std::remove_cvref_t<F>, TileDraw>>>
    TileDraw(F&& draw)
        : callable_(const_cast<void*>(static_cast<const void*>(&draw))),
          call_([](void* callable, float left, float top) {
              (*static_cast<std::remove_reference_t<F>*>(callable))(left, top);
          }) {}
    void operator()(float tileLeft, float tileTop) const { call_(callable_, tileLeft, tileTop); }

  private:
    void* callable_;
    void (*call_)(void*, float, float);
};

// Draws a mark permanently into every ground tile its box overlaps. The draw call receives the tile's
// left and top and draws the sprite with its position moved by them. The caller turns the camera off first.
void StampOnMap(const ZB_Rect& box, TileDraw draw);

// Every cell 20 x 20, free, around the player's rounded position.
void SetUpApproachGrids(int32_t playerX, int32_t playerY);
// The grids travel with the living player; the widths are the monsters' claim marks and stay.
void RecentreApproachGrids(int32_t playerX, int32_t playerY);
// Every claim given up: a new level starts with free cells.
void FreeApproachCells();
