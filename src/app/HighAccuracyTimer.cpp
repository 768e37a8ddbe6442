#include "app/HighAccuracyTimer.h"

#include <chrono>
#include <iostream>
#include <stdexcept>

namespace {
using Clock = std::chrono::steady_clock;
}

HighAccuracyTimer::HighAccuracyTimer() : output(&std::cout) { reset(); }

void HighAccuracyTimer::reset() {
  constexpr double ticksPerSecond = static_cast<double>(Clock::period::den) / Clock::period::num;
  if (ticksPerSecond <= 0.0) throw std::runtime_error("HighAccuracyTimer: QueryPerformanceFrequency failed.");
  ticksPerMicrosecond = ticksPerSecond / 1000000.0;
  startCount = Clock::now().time_since_epoch().count();
}

double HighAccuracyTimer::lap(std::string label) {
  const std::int64_t count = Clock::now().time_since_epoch().count();
  const double elapsed = static_cast<double>(count - startCount) / ticksPerMicrosecond;
  if (print) *output << label << ": " << elapsed << "\xC2\xB5" << "s." << std::endl;
  reset();
  return elapsed;
}
