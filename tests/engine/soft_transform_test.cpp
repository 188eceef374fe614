// The software turn over plain pixels: its plain, SSE2 and AVX2 bilinear kernels give the same bytes.
#include "soft_transform.h"
#include "turn_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace zorbel::pixels;

namespace {

Buffer Noise(int w, int h, bool alpha, uint32_t seed) {
    Buffer picture(w, h);
    const View v = picture.view();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            v.Row(y)[x] = alpha ? seed : seed | 0xFF000000u;
        }
    return picture;
}

// What the copy held before the turn, which the pixels the turn does not reach keep.
constexpr uint32_t kUnreached = 0x5AA5C33Cu;

// The whole turn, or (banded) its rows in three bands made last to first.
std::vector<uint32_t> Turned(const View& src, double angle, Kernel kernel, bool banded = false,
                             Filter filter = Filter::Bilinear) {
    const TurnPlan plan = PlanTurn(src.w, src.h, angle, src.w / 2.0f, src.h / 2.0f);
    Buffer out(plan.box.w, plan.box.h);
    const View v = out.view();
    std::fill(v.data, v.data + static_cast<ptrdiff_t>(v.w) * v.h, kUnreached);
    if (banded) {
        for (const auto& [first, end] : {std::pair{v.h / 2, v.h}, {1, v.h / 2}, {0, 1}})
            TurnPart(src, RowsOf(v, first, end), plan, filter, Rect{0, first, v.w, end - first}, kernel);
    } else {
        Turn(src, v, plan, filter, kernel);
    }
    return std::vector<uint32_t>(v.data, v.data + static_cast<ptrdiff_t>(v.w) * v.h);
}

TEST(SoftTurn, EveryKernelGivesThePlainBytesAndLeavesWhatItDoesNotReach) {
    if (!kHaveSse2) GTEST_SKIP() << "built without SSE2";
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 2},   {1, 7},   {7, 1},
                                         {3, 5}, {23, 17}, {32, 16}, {64, 64}};
    const double angles[] = {0.01, -0.3, 33.7, 45, 89.99, 90.01, 179.99, 180.5, 270.2, 359.99};
    for (const auto& [w, h] : sizes)
        for (const double angle : angles)
            for (const bool alpha : {false, true}) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << angle
                                                << (alpha ? " with" : " without") << " alpha");
                Buffer picture = Noise(w, h, alpha, static_cast<uint32_t>(w * 131 + h));
                const std::vector<uint32_t> plain = Turned(picture.view(), angle, Kernel::Plain);
                EXPECT_EQ(plain, Turned(picture.view(), angle, Kernel::Sse2));
                EXPECT_EQ(plain, Turned(picture.view(), angle, Kernel::Avx2));
                EXPECT_EQ(plain, Turned(picture.view(), angle, FastestKernel(), true));
                // Bilinear needs a neighbour on each side: pictures under 3 pixels may turn into nothing.
                const bool thin = w < 3 || h < 3;
                EXPECT_TRUE(thin || std::ranges::any_of(plain, [](uint32_t p) { return p != kUnreached; }));
                EXPECT_TRUE(std::ranges::any_of(plain, [](uint32_t p) { return p == kUnreached; }));
            }
}

// Bands of a nearest turn and of quarter turns give the whole turn too, and any part of a turn, of every kind
// and by every kernel, holds what the whole turn holds there: inside the box, across its edges, a row, a
// column, a pixel.
TEST(SoftTurn, PartsOfEveryKindOfTurnHoldWhatTheWholeTurnHoldsThere) {
    Buffer picture = Noise(23, 17, true, 7);
    for (const double angle : {33.7, 90.0, 180.0, 270.0, 301.5})
        for (const Filter filter : {Filter::Nearest, Filter::Bilinear}) {
            SCOPED_TRACE(testing::Message()
                         << angle << (filter == Filter::Nearest ? " nearest" : " bilinear"));
            const std::vector<uint32_t> whole = Turned(picture.view(), angle, Kernel::Plain, false, filter);
            EXPECT_EQ(whole, Turned(picture.view(), angle, Kernel::Plain, true, filter));
            const TurnPlan plan = PlanTurn(23, 17, angle, 11.5f, 8.5f);
            const int w = plan.box.w, h = plan.box.h;
            for (const Rect& wanted : {Rect{3, 2, 11, 9}, Rect{-5, -4, 12, 10}, Rect{w - 6, h - 3, 20, 20},
                                       Rect{0, h / 2, w, 1}, Rect{w / 2, 0, 1, h}, Rect{w - 1, h - 1, 1, 1}})
                for (const Kernel kernel : {Kernel::Plain, Kernel::Sse2, Kernel::Avx2}) {
                    SCOPED_TRACE(testing::Message() << "part at " << wanted.x << "," << wanted.y << " kernel "
                                                    << static_cast<int>(kernel));
                    const int left = std::max(wanted.x, 0), top = std::max(wanted.y, 0);
                    const int pw = std::min(wanted.x + wanted.w, w) - left,
                              ph = std::min(wanted.y + wanted.h, h) - top;
                    Buffer out(pw, ph);
                    const View v = out.view();
                    std::fill(v.data, v.data + static_cast<ptrdiff_t>(pw) * ph, kUnreached);
                    TurnPart(picture.view(), v, plan, filter, wanted, kernel);
                    for (int y = 0; y < ph; ++y)
                        for (int x = 0; x < pw; ++x)
                            ASSERT_EQ(v.Row(y)[x], whole[static_cast<size_t>((top + y) * w + left + x)])
                                << "at " << x << "," << y;
                }
        }
}

// A row's run is exactly the columns whose source position lies within the bounds: for steps of either sign
// and of any size, starts on either side of the bounds and on them, and positions as far out as a turn's.
TEST(SoftTurn, ARowsRunHoldsExactlyTheColumnsWithinItsBounds) {
    uint64_t seed = 12345;
    const auto next = [&seed](int64_t range) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return static_cast<int64_t>((seed >> 33) % static_cast<uint64_t>(range)) - range / 2;
    };
    for (int i = 0; i < 20000; ++i) {
        // Small values often, so that positions fall on the bounds exactly; turn-sized ones otherwise.
        const int64_t scale = i % 2 ? 70000 : int64_t{1} << 34;
        const int64_t step = i % 7 == 0 ? 0 : next(i % 3 ? 262144 : 8);
        const int64_t start = next(scale), lo = next(scale), hi = lo + next(scale) / 2 + scale / 4;
        const int n = static_cast<int>(next(600) + 300);
        int begin = n, end = n;
        for (int x = 0; x < n; ++x) {
            const bool inside = start + x * step >= lo && start + x * step < hi;
            if (inside && begin == n) begin = x;
            if (!inside && begin != n && end == n) end = x;
        }
        const rows::Run run = rows::Reach(step, lo, hi).Within(start, n);
        SCOPED_TRACE(testing::Message() << "start " << start << " step " << step << " in [" << lo << ", "
                                        << hi << ") over " << n);
        if (begin == n) {
            EXPECT_GE(run.begin, run.end);
        } else {
            EXPECT_EQ(begin, run.begin);
            EXPECT_EQ(end, run.end);
        }
    }
}

} // namespace
