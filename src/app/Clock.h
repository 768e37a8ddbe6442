#pragma once
// The game clock in seconds. It reads glfwGetTime unless a test installs its
// own source, so timers can be driven deterministically without a window.

namespace gameclock {

using Source = double (*)();

double now();
// Replaces the clock; nullptr restores glfwGetTime.
void setSource(Source source);

}  // namespace gameclock
