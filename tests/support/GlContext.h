#pragma once
// One hidden OpenGL 3.2 core context for every GL test of the process.
// Tests skip cleanly when no context can be made; CI always has one (Xvfb).
#include <gtest/gtest.h>

namespace gltest {

// Creates the context on first use; false when no display or driver is there.
bool ensureContext();
// Width and height of the hidden window's default framebuffer.
inline constexpr int kWidth = 512;
inline constexpr int kHeight = 384;

}  // namespace gltest

// Base class for GL tests: skips when there is no context.
class GlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gltest::ensureContext()) GTEST_SKIP() << "no OpenGL 3.2 core context available";
  }
};
