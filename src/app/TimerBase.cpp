#include "app/TimerBase.h"

#include <algorithm>

#include "app/Clock.h"

TimerBase::TimerBase(float intervalSeconds)
    : lastUpdate(gameclock::now()), intervalStart(gameclock::now()), interval(intervalSeconds) {}

void TimerBase::update() {
  const double t = gameclock::now();
  ++updateCount;
  now = t;
  delta = static_cast<float>(t - lastUpdate);
  lastUpdate = t;
  // One interval per update: a periodic timer keeps its phase and catches up
  // after a stall by firing on each following update.
  if (t - intervalStart >= static_cast<double>(interval)) {
    onInterval();
    updateCount = 0;
    intervalStart += interval;
  }
}

void TimerBase::restart() {
  lastUpdate = gameclock::now();
  intervalStart = gameclock::now();
  now = 0.0;
  delta = 0.0f;
  updateCount = 0;
}

float TimerBase::remaining() const {
  const double left = static_cast<double>(interval) - (now - intervalStart);
  return static_cast<float>(std::clamp(left, 0.0, static_cast<double>(std::max(interval, 0.0f))));
}
