#pragma once
// Drives the game clock by hand so timer behaviour is deterministic.
#include "app/Clock.h"

class FakeClock {
 public:
  FakeClock() {
    time() = 0.0;
    gameclock::setSource([] { return time(); });
  }
  ~FakeClock() { gameclock::setSource(nullptr); }
  FakeClock(const FakeClock&) = delete;
  FakeClock& operator=(const FakeClock&) = delete;

  void set(double seconds) { time() = seconds; }
  void advance(double seconds) { time() += seconds; }
  double now() const { return time(); }

 private:
  static double& time() {
    static double value = 0.0;
    return value;
  }
};
