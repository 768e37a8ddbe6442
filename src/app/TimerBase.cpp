#include "app/TimerBase.h"

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
