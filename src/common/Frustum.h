#pragma once
// Six view-frustum planes (a, b, c, d), in the order top, bottom, left, right,
// near, far. A point p is inside a plane when a*p.x + b*p.y + c*p.z + d >= 0.
#include <array>

#include "common/Types.h"

struct Frustum {
  std::array<Vec4, 6> planes{};
};
