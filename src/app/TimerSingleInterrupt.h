#pragma once
// One-shot timer: while armed it calls back once, at the first update at least
// one interval after its interval started, and then disarms itself.
#include <functional>

#include "app/TimerBase.h"

class TimerSingleInterrupt final : public TimerBase {
 public:
  using Callback = std::function<void()>;
  using TimerBase::TimerBase;
  void setCallback(Callback newCallback) { callback = std::move(newCallback); }

  // Arms and restarts the interval now: fires one interval from now.
  void start();
  // Arms or disarms without restarting the interval.
  void setArmed(bool value) { armed = value; }
  bool isArmed() const { return armed; }

 private:
  void onInterval() override;
  Callback callback;
  bool armed = false;
};
