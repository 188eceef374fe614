// Collision tests, rounding and angles.
#include "zorbel_debug.h"

#include <gtest/gtest.h>

namespace {

TEST(Collision, RectanglesOverlapOnlyWhenTheyShareArea) {
    const ZB_Rect a{0, 0, 10, 10};
    const ZB_Rect inside{2, 2, 3, 3}, crossing{5, 5, 10, 10}, touching{10, 0, 5, 5}, below{0, 10, 10, 1},
        apart{20, 20, 1, 1}, almost{9.99f, 9.99f, 1, 1};
    EXPECT_TRUE(Col_AABB(&a, &inside));
    EXPECT_TRUE(Col_AABB(&inside, &a));
    EXPECT_TRUE(Col_AABB(&a, &crossing));
    EXPECT_TRUE(Col_AABB(&a, &almost));
    EXPECT_FALSE(Col_AABB(&a, &touching));
    EXPECT_FALSE(Col_AABB(&a, &below));
    EXPECT_FALSE(Col_AABB(&a, &apart));
    EXPECT_FALSE(Col_AABB(&a, nullptr));
}

TEST(Collision, PointsOnTheLeftAndTopEdgesAreInside) {
    const ZB_Rect r{550, 520, 250, 80};
    EXPECT_TRUE(Col_PointInAABB(550, 520, &r));
    EXPECT_TRUE(Col_PointInAABB(799.5f, 599.5f, &r));
    EXPECT_FALSE(Col_PointInAABB(800, 560, &r));
    EXPECT_FALSE(Col_PointInAABB(600, 600, &r));
    EXPECT_FALSE(Col_PointInAABB(549.9f, 560, &r));
    EXPECT_FALSE(Col_PointInAABB(0, 0, nullptr));
}

TEST(Rounding, RoundHalvesToEvenAndTruncateTowardZero) {
    EXPECT_EQ(M_Round(0.5f), 0);
    EXPECT_EQ(M_Round(1.5f), 2);
    EXPECT_EQ(M_Round(2.5f), 2);
    EXPECT_EQ(M_Round(-0.5f), 0);
    EXPECT_EQ(M_Round(-1.5f), -2);
    EXPECT_EQ(M_Round(0.51f), 1);
    EXPECT_EQ(M_Round(-2.7f), -3);
    EXPECT_EQ(M_Trunc(2.9f), 2);
    EXPECT_EQ(M_Trunc(-2.9f), -2);
    EXPECT_EQ(M_Trunc(-0.5f), 0);
    EXPECT_EQ(M_Round(1e20f), INT32_MAX);
    EXPECT_EQ(M_Trunc(-1e20f), INT32_MIN);
}

TEST(Angles, FindAngleIsAtan2OfTheFirstPointMinusTheSecondInDegrees) {
    // The direction from the second point to the first: east 0, south 90, west 180, north 270.
    EXPECT_FLOAT_EQ(M_FindAngle(10, 0, 0, 0), 0.0f);
    EXPECT_FLOAT_EQ(M_FindAngle(0, 10, 0, 0), 90.0f);
    EXPECT_FLOAT_EQ(M_FindAngle(-10, 0, 0, 0), 180.0f);
    EXPECT_FLOAT_EQ(M_FindAngle(0, -10, 0, 0), 270.0f);
    EXPECT_NEAR(M_FindAngle(1, 1, 0, 0), 45.0f, 1e-4f);
    EXPECT_NEAR(M_FindAngle(-1, 1, 0, 0), 135.0f, 1e-4f);
    EXPECT_NEAR(M_FindAngle(-1, -1, 0, 0), 225.0f, 1e-4f);
    EXPECT_NEAR(M_FindAngle(1, -1, 0, 0), 315.0f, 1e-4f);
    EXPECT_NEAR(M_FindAngle(105, 205, 100, 200), 45.0f, 1e-4f);
    for (float dy : {-1e-7f, -1e-3f, 0.0f, 1e-7f}) {
        const float a = M_FindAngle(1, dy, 0, 0);
        EXPECT_GE(a, 0.0f);
        EXPECT_LT(a, 360.0f);
    }
}

TEST(Distance, IsEuclidean) {
    EXPECT_FLOAT_EQ(M_Distance(0, 0, 3, 4), 5.0f);
    EXPECT_FLOAT_EQ(M_Distance(3, 4, 0, 0), 5.0f);
    EXPECT_FLOAT_EQ(M_Distance(-1, -1, -1, -1), 0.0f);
}

} // namespace
