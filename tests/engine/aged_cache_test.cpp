// The cache counted in frames: how long an unused value stays, and what goes first above the budget.
#include "aged_cache.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Cache = zorbel::AgedCache<int, int, std::hash<int>>;

void EndFrames(Cache& cache, int frames) {
    for (int i = 0; i < frames; ++i)
        cache.EndFrame();
}

class AgedCacheIdle : public testing::TestWithParam<std::pair<int, bool>> {};

TEST_P(AgedCacheIdle, AValueGoesAfterMoreThanEightFramesUnused) {
    const auto [idleFrames, kept] = GetParam();
    Cache cache(8, 1000);
    cache.Put(1, 10, 4);
    cache.EndFrame(); // the frame it was made and used in
    EndFrames(cache, idleFrames);
    EXPECT_EQ(cache.Find(1) != nullptr, kept);
    EXPECT_EQ(cache.bytes(), kept ? 4u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Frames, AgedCacheIdle, testing::Values(std::pair{8, true}, std::pair{9, false}));

TEST(AgedCache, AboveTheBudgetTheLeastRecentlyUsedGoFirst) {
    Cache cache(8, 80);
    for (int key = 1; key <= 3; ++key) {
        if (key == 3) cache.Find(1); // used again: 2 is now the oldest
        cache.Put(key, key, 40);
        cache.EndFrame();
    }
    EXPECT_NE(cache.Find(1), nullptr);
    EXPECT_EQ(cache.Find(2), nullptr);
    EXPECT_NE(cache.Find(3), nullptr);
    EXPECT_EQ(cache.bytes(), 80u);
}

} // namespace
