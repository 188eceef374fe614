// Turning and stretching 32-bit pictures in memory exactly as SDL 2's software renderer does: the same sizes,
// fixed-point steps and bilinear rounding, so the pixels are the same to the bit. Pixels in, pixels out.
#pragma once

#include "turn_plan.h"

namespace zorbel::pixels {

enum class Filter { Nearest, Bilinear };

// How SDL turns a w × h picture `angle` degrees clockwise about `center` (from the picture's corner).
TurnPlan PlanTurn(int w, int h, double angle, float centerX, float centerY);

// The sine and cosine of the angle (degrees) that a plan turns by.
struct TurnTrig {
    double sin = 0, cos = 1;
};
TurnTrig TrigOf(double angle);
// The same plan, given the angle's TrigOf: for callers that keep the sines of the angles they see again.
TurnPlan PlanTurn(int w, int h, double angle, const TurnTrig& trig, float centerX, float centerY);

// The pixel of a w × h picture that a whole number of quarter turns puts at (x, y) of the box.
inline void QuarterSource(int quarters, int w, int h, int x, int y, int* sx, int* sy) {
    switch (quarters) {
    case 1: // 90 degrees clockwise
        *sx = y;
        *sy = h - 1 - x;
        break;
    case 2:
        *sx = w - 1 - x;
        *sy = h - 1 - y;
        break;
    case 3:
        *sx = w - 1 - y;
        *sy = x;
        break;
    default:
        *sx = x;
        *sy = y;
        break;
    }
}

// SDL's bilinear blend of the four neighbours top[0], top[1], bottom[0], bottom[1] at fractions ex, ey (of
// 65536): per channel along the rows, then along the column, each step (((b - a) * f) >> 16) + a.
uint32_t BilinearPixel(const uint32_t* top, const uint32_t* bottom, int ex, int ey);

// Turns `src`, of the planned picture's size, into `dst`, of the box's size (TurnPart: only the part of the
// rectangle `part` that lies in the box, into dst of that part's size, so that bands of one turn may be made
// apart, on any threads, and a turn that shows only in part made only there; they hold what the whole turn
// holds there). Pixels the turn does not reach keep what they held (SDL clears them first).
void TurnPart(const View& src, const View& dst, const TurnPlan& plan, Filter filter, const Rect& part,
              Kernel kernel = FastestKernel());
inline void Turn(const View& src, const View& dst, const TurnPlan& plan, Filter filter,
                 Kernel kernel = FastestKernel()) {
    TurnPart(src, dst, plan, filter, Rect{0, 0, plan.box.w, plan.box.h}, kernel);
}
// Rows [first, end) of a view, as a view of their own.
inline View RowsOf(const View& v, int first, int end) {
    return View{v.w, end - first, v.pitch, v.Row(first)};
}

// The rectangle `from` (inside src) scaled to the whole of dst by SDL's own stretch, or copied when the sizes
// agree; false if SDL refuses.
bool Stretch(const View& src, const Rect& from, const View& dst, Filter filter);

} // namespace zorbel::pixels
