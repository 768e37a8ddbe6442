#include "common/Types.h"

#include <cmath>

namespace {

// The rule's stepping, x - 6.2831 in single precision while keepGoing(x), in
// constant time. Within one binade the rounding grid is fixed, so every step
// but the first takes off the same amount (after a tie the last bit is even,
// which fixes the rounding of every later tie); runs of such steps are taken
// at once in exact double arithmetic, and each binade's first steps and its
// border are stepped one by one. Where a step no longer changes the value
// (beyond about 1.3e8) the loop would never end: the whole turns go at once.
template <typename KeepGoing>
float stepDown(float x, KeepGoing keepGoing) {
  while (keepGoing(x)) {
    const float next = x - kAngleWrap;
    if (next == x) {
      x = std::fmod(x, kAngleWrap);
      continue;
    }
    x = next;
    if (!keepGoing(x)) break;
    const float after = x - kAngleWrap;
    const double step = static_cast<double>(x) - static_cast<double>(after);
    x = after;
    int exponent = 0;
    std::frexp(after, &exponent);
    const double border = std::ldexp(1.0, exponent - 1);  // the lowest value of after's binade
    const double room = static_cast<double>(after) - border - 2.0 * step;
    if (room > 0.0 && step > 0.0) x = static_cast<float>(static_cast<double>(after) - std::floor(room / step) * step);
  }
  return x;
}

}  // namespace

float wrapAngle(float radians) {
  if (!std::isfinite(radians)) return 0.0f;  // a NaN or infinity would never leave the loops
  // Adding 6.2831 to a negative value rounds as subtracting it from its negation.
  if (radians < 0.0f) radians = -stepDown(-radians, [](float x) { return x > 0.0f; });
  return stepDown(radians, [](float x) { return x >= kAngleWrap; });
}
