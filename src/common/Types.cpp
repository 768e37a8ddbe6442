#include "common/Types.h"

#include <cmath>

float wrapAngle(float radians) {
  if (!std::isfinite(radians)) return 0.0f;  // a NaN or infinity would never leave the loops
  while (radians < 0.0f) radians += kAngleWrap;
  while (radians >= kAngleWrap) radians -= kAngleWrap;
  return radians;
}
