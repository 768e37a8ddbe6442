#include "app/TimerSingleInterrupt.h"

#include "app/Clock.h"

void TimerSingleInterrupt::start() {
  armed = true;
  intervalStart = gameclock::now();
}

void TimerSingleInterrupt::onInterval() {
  if (!armed) return;
  armed = false;
  if (callback) callback();
}
