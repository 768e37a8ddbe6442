#include <GL/glew.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "render/ShadowMapFBO.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"

class ShadowMapFBOTest : public GlTest {};

namespace {

GLint textureParameter(GLuint texture, GLenum name) {
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}

GLint levelParameter(GLuint texture, GLenum name) {
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint value = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
  return value;
}

}  // namespace

TEST_F(ShadowMapFBOTest, InitGivesACompleteDepthOnlyFramebufferOfTheRequestedSize) {
  ShadowMapFBO map;
  ASSERT_TRUE(map.init(96, 48));
  ASSERT_NE(map.getFramebuffer(), 0u);
  ASSERT_NE(map.getDepthTexture(), 0u);
  EXPECT_EQ(map.getWidth(), 96);
  EXPECT_EQ(map.getHeight(), 48);

  GLint bound = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), map.getFramebuffer());  // left bound
  EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
  GLint attached = 0;
  glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                        GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
  EXPECT_EQ(static_cast<GLuint>(attached), map.getDepthTexture());
  GLint drawBuffer = 0;
  glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
  EXPECT_EQ(drawBuffer, GL_NONE);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);

  const GLuint texture = map.getDepthTexture();
  EXPECT_EQ(levelParameter(texture, GL_TEXTURE_WIDTH), 96);
  EXPECT_EQ(levelParameter(texture, GL_TEXTURE_HEIGHT), 48);
  EXPECT_GT(levelParameter(texture, GL_TEXTURE_DEPTH_SIZE), 0);
  struct Case {
    const char* name;
    GLenum parameter;
    GLint expected;
  } cases[] = {
      {"min filter", GL_TEXTURE_MIN_FILTER, GL_LINEAR},
      {"mag filter", GL_TEXTURE_MAG_FILTER, GL_LINEAR},
      {"wrap s", GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE},
      {"wrap t", GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE},
      {"compare mode", GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE},
      {"compare func", GL_TEXTURE_COMPARE_FUNC, GL_LESS},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(textureParameter(texture, c.parameter), c.expected);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShadowMapFBOTest, DepthWrittenThroughTheFramebufferReachesTheTexture) {
  ShadowMapFBO map;
  ASSERT_TRUE(map.init(16, 16));
  glViewport(0, 0, 16, 16);
  glClearDepth(0.25);
  glClear(GL_DEPTH_BUFFER_BIT);
  glClearDepth(1.0);
  float depth = -1.0f;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, map.getFramebuffer());
  glReadPixels(3, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glViewport(0, 0, gltest::kWidth, gltest::kHeight);
  EXPECT_NEAR(depth, 0.25f, 1e-3f);
}

TEST_F(ShadowMapFBOTest, OwnershipMovesAndTheOwnerReleasesItsObjects) {
  GLuint framebuffer = 0, texture = 0;
  {
    ShadowMapFBO first;
    ASSERT_TRUE(first.init(8, 8));
    framebuffer = first.getFramebuffer();
    texture = first.getDepthTexture();
    ShadowMapFBO second(std::move(first));
    EXPECT_EQ(first.getFramebuffer(), 0u);
    EXPECT_EQ(first.getDepthTexture(), 0u);
    EXPECT_EQ(second.getFramebuffer(), framebuffer);
    ShadowMapFBO third;
    third = std::move(second);
    EXPECT_EQ(third.getDepthTexture(), texture);
    EXPECT_EQ(third.getWidth(), 8);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_TRUE(glIsFramebuffer(framebuffer));
    EXPECT_TRUE(glIsTexture(texture));
  }
  EXPECT_FALSE(glIsFramebuffer(framebuffer));
  EXPECT_FALSE(glIsTexture(texture));
}

TEST_F(ShadowMapFBOTest, InitAgainReplacesTheEarlierObjects) {
  ShadowMapFBO map;
  ASSERT_TRUE(map.init(8, 8));
  const GLuint oldTexture = map.getDepthTexture();
  ASSERT_TRUE(map.init(32, 16));
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  EXPECT_FALSE(glIsTexture(oldTexture) && oldTexture != map.getDepthTexture());
  EXPECT_EQ(levelParameter(map.getDepthTexture(), GL_TEXTURE_WIDTH), 32);
}

TEST_F(ShadowMapFBOTest, IncompleteFramebufferReportsItsStatusInHex) {
  ShadowMapFBO map;
  const std::string message = messageOf<std::runtime_error>([&] { map.init(0, 0); });
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glGetError();
  // A texture without storage is an incomplete attachment.
  EXPECT_EQ(message, "ShadowMapFBO: Error, status: 0x8cd6");
}
