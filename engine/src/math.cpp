// Collision tests, rounding and angles.
#include "engine.h"

#include <cmath>

uint8_t Col_AABB(const ZB_Rect* a, const ZB_Rect* b) {
    return a && b ? ZB_Overlap(a, b) : 0;
}

uint8_t Col_PointInAABB(float x, float y, const ZB_Rect* r) {
    return r ? ZB_PointInside(x, y, r) : 0;
}

namespace {

// Values beyond int32 saturate and NaN gives 0, where a plain conversion would be undefined.
bool Representable(float value) {
    return std::fabs(value) < 2147483648.0f;
}
int32_t Saturated(float value) {
    return value > 0 ? INT32_MAX : (value < 0 ? INT32_MIN : 0);
}

} // namespace

int32_t M_Round(float value) {
    return ZB_Round(value);
}

int32_t M_Trunc(float value) {
    return Representable(value) ? static_cast<int32_t>(std::trunc(value)) : Saturated(value);
}

float M_Distance(float x1, float y1, float x2, float y2) {
    return std::hypot(x2 - x1, y2 - y1);
}

float M_FindAngle(float x1, float y1, float x2, float y2) {
    float degrees = std::atan2(y1 - y2, x1 - x2) * 180.0f / static_cast<float>(M_PI);
    if (degrees < 0.0f) degrees += 360.0f;
    // A tiny negative angle plus 360 rounds to 360 in float.
    return degrees >= 360.0f ? 0.0f : degrees;
}
