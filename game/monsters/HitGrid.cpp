// The grid of the monsters' hit boxes.
#include "HitGrid.h"

#include "MONSTER1.h"
#include "ZORBEL.h"

#include <algorithm>
#include <limits>

namespace {

// A living monster's box is 14 pixels square and a corpse's up to a hundred; bullets and fragments are a few
// pixels. The grid reaches a field's width beyond the ground on every side (the ground spans x 100 .. 1636,
// y -522 .. 758); monsters and shots farther out share the edge cells.
constexpr float kCellSize = 32.0f;
constexpr float kLeft = -1536.0f, kTop = -2048.0f;
constexpr int kColumns = 160, kRows = 128;

// A box's left, top, right and bottom edges, and the cells they fall in, taken four at a time: the edges of
// every bullet, fragment and blast are put into cells each tick.
using Edges = float __attribute__((vector_size(16)));
using Cells = int32_t __attribute__((vector_size(16)));

// The columns and rows a box covers, as x0, y0, x1, y1.
inline Cells CellsOf(const ZB_Rect& box) {
    // A box of negative size overlaps what lies between its two edges (Col_AABB compares edges as given).
    const float right = box.X + box.W, bottom = box.Y + box.H;
    const Edges edges{std::min(box.X, right), std::min(box.Y, bottom), std::max(box.X, right),
                      std::max(box.Y, bottom)};
    // The cell size is a power of two, so multiplying by its inverse gives the quotient exactly.
    Edges cells = (edges - Edges{kLeft, kTop, kLeft, kTop}) * (1.0f / kCellSize);
    // NaN lands in the first cell: no box with a NaN edge overlaps anything (it compares false and takes the
    // 0). Past that the value is not negative, so truncation is the floor.
    const Edges last{kColumns - 1, kRows - 1, kColumns - 1, kRows - 1};
    cells = cells > 0.0f ? cells : Edges{};
    cells = cells < last ? cells : last;
    return __builtin_convertvector(cells, Cells);
}

} // namespace

HitGrid::HitGrid() : cells_(static_cast<size_t>(kColumns) * kRows) {}

inline HitGrid::Span HitGrid::SpanOf(const ZB_Rect& box) {
    const Cells cells = CellsOf(box);
    return Span{static_cast<int16_t>(cells[0]), static_cast<int16_t>(cells[1]),
                static_cast<int16_t>(cells[2]), static_cast<int16_t>(cells[3])};
}

inline std::vector<HitGrid::Filed>& HitGrid::Cell(int x, int y) {
    return cells_[static_cast<size_t>(y) * kColumns + static_cast<size_t>(x)];
}

void HitGrid::File(TMonster* monster, Rank rank, const ZB_Rect& box, Span& span) {
    // Most moves stay within the cells the box had: the move between cells is a call of its own, so they
    // return without setting up for it.
    const Span now = SpanOf(box);
    if (now != span) Refile(monster, rank, now, span);
}

void HitGrid::Refile(TMonster* monster, Rank rank, const Span& now, Span& span) {
    Withdraw(monster, span);
    for (int y = now.y0; y <= now.y1; ++y)
        for (int x = now.x0; x <= now.x1; ++x)
            Cell(x, y).push_back(Filed{monster, rank});
    span = now;
}

void HitGrid::Withdraw(const TMonster* monster, Span& span) {
    for (int y = span.y0; y <= span.y1; ++y) {
        for (int x = span.x0; x <= span.x1; ++x) {
            std::vector<Filed>& cell = Cell(x, y);
            auto it = std::find_if(cell.begin(), cell.end(),
                                   [monster](const Filed& f) { return f.monster == monster; });
            // The order inside a cell does not matter: ranks decide.
            *it = cell.back();
            cell.pop_back();
        }
    }
    span = Span{};
}

TMonster* HitGrid::First(const ZB_Rect& box) const {
    const Cells span = CellsOf(box);
    const int x0 = span[0], y0 = span[1], x1 = span[2], y1 = span[3];
    TMonster* best = nullptr;
    Rank bestRank = std::numeric_limits<Rank>::max();
    const std::vector<Filed>* row = cells_.data() + static_cast<ptrdiff_t>(y0) * kColumns;
    for (int y = y0; y <= y1; ++y, row += kColumns) {
        const std::vector<Filed>* const end = row + x1 + 1;
        for (const std::vector<Filed>* cell = row + x0; cell != end; ++cell) {
            // A monster filed in several cells is met again there, with the same answer.
            for (const Filed& f : *cell) {
                if (f.rank >= bestRank || f.monster->Health <= 0 || !ZB_Overlap(&box, &f.monster->HitBox))
                    continue;
                best = f.monster;
                bestRank = f.rank;
            }
        }
    }
    return best;
}
