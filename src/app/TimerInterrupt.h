#pragma once
// Periodic timer: calls back once per elapsed interval.
#include <functional>

#include "app/TimerBase.h"

class TimerInterrupt final : public TimerBase {
 public:
  using Callback = std::function<void()>;
  using TimerBase::TimerBase;
  void setCallback(Callback newCallback) { callback = std::move(newCallback); }

 private:
  void onInterval() override;
  Callback callback;
};
