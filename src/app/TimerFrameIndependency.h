#pragma once
// Frame-delta timer whose callback reports, once per interval, the mean
// milliseconds per update and the number of updates in that interval.
#include <functional>

#include "app/TimerBase.h"

class TimerFrameIndependency final : public TimerBase {
 public:
  using Callback = std::function<void(float, int)>;
  using TimerBase::TimerBase;
  void setCallback(Callback newCallback) { callback = std::move(newCallback); }

 private:
  void onInterval() override;
  Callback callback;
};
