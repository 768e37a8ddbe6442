#include "app/TimerInterrupt.h"

void TimerInterrupt::onInterval() {
  if (callback) callback();
}
