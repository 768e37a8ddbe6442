#include "app/TimerFrameIndependency.h"

void TimerFrameIndependency::onInterval() {
  if (callback) callback(static_cast<float>(1000.0 / updateCount), updateCount);
}
