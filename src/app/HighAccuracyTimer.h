#pragma once
// Stopwatch on the steady high-resolution clock, in microseconds. Each lap
// restarts it, so consecutive laps time consecutive stretches.
#include <cstdint>
#include <ostream>
#include <string>

// Whether the frame's stage stopwatches print their laps: off unless the
// build turns it on (for profiling a real session).
#ifdef SHOOTER_PRINT_STAGE_LAPS
inline constexpr bool kPrintStageLaps = true;
#else
inline constexpr bool kPrintStageLaps = false;
#endif

class HighAccuracyTimer {
 public:
  HighAccuracyTimer();
  void reset();
  // Microseconds since the last reset; writes "label: N µs." when printing is on.
  double lap(std::string label);
  void setPrint(bool value) { print = value; }
  // Where printed laps go (standard output unless a test redirects them).
  void setOutput(std::ostream& stream) { output = &stream; }

 private:
  double ticksPerMicrosecond = 0.0;
  std::int64_t startCount = 0;
  bool print = false;
  std::ostream* output;
};
