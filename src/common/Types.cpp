#include "common/Types.h"

#include <cmath>

namespace {

// Up to this many whole turns the angle is stepped as the rule says, one
// 6.2831 at a time, so ordinary angles keep their exact results; beyond it
// the whole turns are removed at once (fmod is exact), which also ends the
// loops for angles where one float step no longer changes the value.
constexpr float kSteppedRange = 64.0f * kAngleWrap;

}  // namespace

float wrapAngle(float radians) {
  if (!std::isfinite(radians)) return 0.0f;  // a NaN or infinity would never leave the loops
  if (std::fabs(radians) >= kSteppedRange) radians = std::fmod(radians, kAngleWrap);
  while (radians < 0.0f) radians += kAngleWrap;
  while (radians >= kAngleWrap) radians -= kAngleWrap;
  return radians;
}
