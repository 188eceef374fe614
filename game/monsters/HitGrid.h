// The monsters' hit boxes filed in a grid of the field, so a box asks only the monsters near it.
#pragma once

#include "zorbel_api.h"

#include <cstdint>
#include <vector>

class TMonster;

// Square cells about a monster's size over the field and well around it; a box beyond that reach is filed
// in the edge cells, so every box has cells. A monster is filed in every cell its box covers, edges
// included, so two boxes that share any area share a cell. What a cell holds is a superset of the monsters
// there: the engine's overlap test still decides each hit.
class HitGrid {
  public:
    // The cells a box covers: columns x0 .. x1 and rows y0 .. y1. Nothing is filed under an empty span.
    struct Span {
        int16_t x0 = 0, y0 = 0, x1 = -1, y1 = -1;
        bool operator==(const Span&) const = default;
    };
    // Why a monster comes first: lower ranks win (the scan's kind order, then the order monsters were made).
    using Rank = uint64_t;

    HitGrid();

    // Files the monster under the cells of its new box; `span` is where it was filed and becomes where it is.
    void File(TMonster* monster, Rank rank, const ZB_Rect& box, Span& span);
    // Takes the monster out of the cells it was filed under.
    void Withdraw(const TMonster* monster, Span& span);
    // The monster of lowest rank with hit points left whose box overlaps `box` (by Col_AABB); nil when none.
    TMonster* First(const ZB_Rect& box) const;

    static Span SpanOf(const ZB_Rect& box);

  private:
    struct Filed {
        TMonster* monster;
        Rank rank;
    };
    std::vector<std::vector<Filed>> cells_; // row by row
    std::vector<Filed>& Cell(int x, int y);
    void Refile(TMonster* monster, Rank rank, const Span& now, Span& span);
};
