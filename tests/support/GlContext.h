#pragma once
// One hidden OpenGL 3.2 core context for every GL test of the process, and
// the fixture every GL test derives from. Tests skip cleanly when no context
// can be made; CI always has one (Xvfb).
#include <gtest/gtest.h>

#include <string>

namespace gltest {

// Creates the context on first use; false when no display or driver is there.
bool ensureContext();
// Width and height of the hidden window's default framebuffer.
inline constexpr int kWidth = 512;
inline constexpr int kHeight = 384;

}  // namespace gltest

// Skips without a context. When a test ends, every OpenGL error it left
// behind fails it (named, in the order the driver reports them), and the
// configuration store is emptied.
class GlTest : public ::testing::Test {
 protected:
  void SetUp() override { startWith(""); }
  // For a fixture's SetUp: false when the test is skipped; otherwise the
  // store holds exactly configText.
  bool startWith(const std::string& configText);
  // What a fixture releases before the error check (its own GL objects).
  virtual void cleanUp() {}

 private:
  void TearDown() final;
};
