#include <GL/glew.h>

#include <string>

#include "support/GlContext.h"

using GlContext = GlTest;

TEST_F(GlContext, IsAtLeastA32CoreContext) {
  GLint major = 0, minor = 0, profile = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &major);
  glGetIntegerv(GL_MINOR_VERSION, &minor);
  glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
  EXPECT_GE(major * 10 + minor, 32);
  EXPECT_TRUE(profile & GL_CONTEXT_CORE_PROFILE_BIT);
}
