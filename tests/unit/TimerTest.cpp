#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/HighAccuracyTimer.h"
#include "app/TimerFrameIndependency.h"
#include "app/TimerInterrupt.h"
#include "app/TimerSingleInterrupt.h"
#include "support/FakeClock.h"

TEST(TimerDelta, FirstUpdateSpansTheTimeSinceConstructionThenFrameLengths) {
  FakeClock clock;
  clock.set(10.0);
  TimerFrameIndependency timer(1000.0f);
  clock.advance(3.5);  // a long loading phase
  timer.update();
  EXPECT_FLOAT_EQ(timer.getDelta(), 3.5f);
  clock.advance(0.016);
  timer.update();
  EXPECT_NEAR(timer.getDelta(), 0.016f, 1e-6);
}

TEST(TimerPeriodic, FiresAtTheUpdatesClosestAfterEachIntervalAndKeepsItsPhase) {
  FakeClock clock;
  TimerInterrupt timer(0.5f);
  std::vector<double> firedAt;
  timer.setCallback([&] { firedAt.push_back(clock.now()); });
  for (int i = 0; i < 8; ++i) {
    clock.advance(0.2);
    timer.update();
  }
  // Updates at 0.2 .. 1.6: the first at or after 0.5, 1.0 and 1.5.
  ASSERT_EQ(firedAt.size(), 3u);
  EXPECT_NEAR(firedAt[0], 0.6, 1e-9);
  EXPECT_NEAR(firedAt[1], 1.0, 1e-9);
  EXPECT_NEAR(firedAt[2], 1.6, 1e-9);
}

TEST(TimerPeriodic, CatchesUpAfterAStallOneIntervalPerUpdate) {
  FakeClock clock;
  TimerInterrupt timer(1.0f);
  int fired = 0;
  timer.setCallback([&] { ++fired; });
  clock.advance(10.0);  // a stall of ten intervals
  std::vector<int> perUpdate;
  for (int i = 0; i < 12; ++i) {
    const int before = fired;
    clock.advance(0.001);
    timer.update();
    perUpdate.push_back(fired - before);
  }
  EXPECT_EQ(fired, 10);
  EXPECT_EQ(perUpdate, (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}));
}

TEST(TimerPeriodic, WithoutCallbackStillCountsAndRestarts) {
  FakeClock clock;
  TimerInterrupt timer(0.5f);
  for (int i = 0; i < 3; ++i) {
    clock.advance(0.2);
    timer.update();
  }
  EXPECT_EQ(timer.getUpdateCount(), 0);  // fired at the third update
  clock.advance(0.2);
  timer.update();
  EXPECT_EQ(timer.getUpdateCount(), 1);
}

TEST(TimerFrameRate, ReportsMeanMillisecondsAndUpdatesOncePerInterval) {
  FakeClock clock;
  TimerFrameIndependency timer(1.0f);
  std::vector<std::pair<float, int>> reports;
  timer.setCallback([&](float ms, int frames) { reports.emplace_back(ms, frames); });
  for (int i = 0; i < 60; ++i) {
    clock.set((i + 1) / 60.0);
    timer.update();
  }
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NEAR(reports[0].first, 16.667f, 0.001f);
  EXPECT_EQ(reports[0].second, 60);
}

TEST(TimerSingle, StartedFiresExactlyOnceOneIntervalLater) {
  FakeClock clock;
  TimerSingleInterrupt timer(1.0f);
  int fired = 0;
  timer.setCallback([&] { ++fired; });
  clock.set(5.0);
  timer.start();
  std::vector<double> firedAt;
  for (int i = 1; i <= 30; ++i) {  // three intervals in steps of 0.1 s
    clock.set(5.0 + i * 0.1);
    const int before = fired;
    timer.update();
    if (fired != before) firedAt.push_back(clock.now());
  }
  ASSERT_EQ(fired, 1);
  EXPECT_NEAR(firedAt[0], 6.0, 1e-9);
  EXPECT_FALSE(timer.isArmed());
}

TEST(TimerSingle, ArmingWithoutRestartFiresAtTheNextUpdateAfterAStall) {
  FakeClock clock;
  TimerSingleInterrupt timer(1.0f);
  int fired = 0;
  timer.setCallback([&] { ++fired; });
  clock.set(3.0);  // not updated for three intervals
  timer.setArmed(true);
  timer.update();
  EXPECT_EQ(fired, 1);
}

TEST(TimerSingle, ArmedWhileUpdatedIdleFiresAtTheNextIntervalEndFromConstruction) {
  FakeClock clock;
  TimerSingleInterrupt timer(1.0f);
  int fired = 0;
  timer.setCallback([&] { ++fired; });
  double firedAt = -1.0;
  for (int i = 1; i <= 40; ++i) {
    clock.set(i * 0.1);
    if (i == 13) timer.setArmed(true);  // armed at 1.3 s, while idle intervals kept elapsing
    const int before = fired;
    timer.update();
    if (fired != before) firedAt = clock.now();
  }
  EXPECT_EQ(fired, 1);
  EXPECT_NEAR(firedAt, 2.0, 1e-9);
}

TEST(TimerSingle, DisarmedNeverFiresAndIntervalChangeAppliesNextUpdate) {
  FakeClock clock;
  TimerSingleInterrupt timer(1.0f);
  int fired = 0;
  timer.setCallback([&] { ++fired; });
  timer.start();
  timer.setArmed(false);
  clock.advance(2.0);
  timer.update();
  EXPECT_EQ(fired, 0);

  timer.setInterval(0.25f);
  timer.start();
  clock.advance(0.25);
  timer.update();
  EXPECT_EQ(fired, 1);
}

TEST(Stopwatch, PrintsLabelValueMicroSignAndRestartsOnEachLap) {
  HighAccuracyTimer stopwatch;
  std::ostringstream out;
  stopwatch.setOutput(out);
  EXPECT_GE(stopwatch.lap("SILENT"), 0.0);
  EXPECT_TRUE(out.str().empty());

  // A lap restarts the stopwatch: the one right after a long lap is shorter.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  stopwatch.setPrint(true);
  const double slept = stopwatch.lap("GLM");
  const double next = stopwatch.lap("PHD");
  EXPECT_GE(slept, 100000.0);
  EXPECT_LT(next, slept);
  std::istringstream lines(out.str());
  std::string first, second;
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_EQ(first.rfind("GLM: ", 0), 0u) << first;
  EXPECT_EQ(first.substr(first.size() - 4), "\xC2\xB5s.") << first;
  EXPECT_EQ(second.rfind("PHD: ", 0), 0u) << second;
}
