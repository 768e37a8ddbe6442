#pragma once
// Interval timer driven by its owner's frame loop: it measures and fires only
// inside update(), so a timer whose owner is not updated stands still.

class TimerBase {
 public:
  // Reads the clock twice: lastUpdate first, then intervalStart.
  explicit TimerBase(float intervalSeconds);
  TimerBase(const TimerBase&) = delete;
  TimerBase& operator=(const TimerBase&) = delete;

  // One tick: measures the delta and fires at most one elapsed interval.
  void update();
  // As if made now: the next delta and the running interval count from now.
  void restart();
  // Seconds between the two latest updates.
  float getDelta() const { return delta; }
  // The new length applies from the next update.
  void setInterval(float seconds) { interval = seconds; }
  float getInterval() const { return interval; }
  int getUpdateCount() const { return updateCount; }
  // Seconds of the running interval still to go as of the latest update,
  // between 0 and the interval.
  float remaining() const;

 protected:
  ~TimerBase() = default;  // owners hold the concrete classes
  virtual void onInterval() = 0;

  double lastUpdate;
  double now = 0.0;
  float delta = 0.0f;
  double intervalStart;
  int updateCount = 0;
  float interval;
};
