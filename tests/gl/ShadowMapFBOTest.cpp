#include <GL/glew.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "render/ShadowMapFBO.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"

class ShadowMapFBOTest : public GlTest {};

namespace {
GLint textureParameter(GLuint texture, GLenum name, bool level = false) {
  GLint value = 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  if (level) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
  } else {
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  return value;
}
}  // namespace

TEST_F(ShadowMapFBOTest, InitGivesACompleteDepthOnlyFramebufferWithACompareTexture) {
  ShadowMapFBO map;
  ASSERT_TRUE(map.init(96, 48));
  GLint bound = 0, attached = 0, drawBuffer = -1;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
  glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                        &attached);
  glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
  EXPECT_EQ(static_cast<GLuint>(bound), map.getFramebuffer());  // left bound
  EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
  EXPECT_EQ(static_cast<GLuint>(attached), map.getDepthTexture());
  EXPECT_EQ(drawBuffer, GL_NONE);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);

  struct Case {
    GLenum parameter;
    GLint expected;
    bool level;
  } cases[] = {{GL_TEXTURE_WIDTH, 96, true},
               {GL_TEXTURE_HEIGHT, 48, true},
               {GL_TEXTURE_MIN_FILTER, GL_LINEAR, false},
               {GL_TEXTURE_MAG_FILTER, GL_LINEAR, false},
               {GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE, false},
               {GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE, false},
               {GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE, false},
               {GL_TEXTURE_COMPARE_FUNC, GL_LESS, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parameter);
    EXPECT_EQ(textureParameter(map.getDepthTexture(), c.parameter, c.level), c.expected);
  }
  EXPECT_GT(textureParameter(map.getDepthTexture(), GL_TEXTURE_DEPTH_SIZE, true), 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShadowMapFBOTest, OwnershipMovesAndEveryObjectIsReleasedOnce) {
  GLuint framebuffer = 0, texture = 0, replacedTexture = 0;
  {
    ShadowMapFBO first;
    ASSERT_TRUE(first.init(8, 8));
    replacedTexture = first.getDepthTexture();
    ASSERT_TRUE(first.init(8, 8));  // a second init releases the first objects
    framebuffer = first.getFramebuffer();
    texture = first.getDepthTexture();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (replacedTexture != texture) EXPECT_FALSE(glIsTexture(replacedTexture));
    ShadowMapFBO second(std::move(first));
    ShadowMapFBO third;
    third = std::move(second);
    EXPECT_EQ(first.getFramebuffer(), 0u);
    EXPECT_EQ(second.getDepthTexture(), 0u);
    EXPECT_EQ(third.getFramebuffer(), framebuffer);
    EXPECT_EQ(third.getDepthTexture(), texture);
    EXPECT_TRUE(glIsTexture(texture));
  }
  EXPECT_FALSE(glIsFramebuffer(framebuffer));
  EXPECT_FALSE(glIsTexture(texture));
}

TEST_F(ShadowMapFBOTest, IncompleteFramebufferReportsItsStatusInHex) {
  ShadowMapFBO map;
  const std::string message = messageOf<std::runtime_error>([&] { map.init(0, 0); });
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glGetError();
  EXPECT_EQ(message, "ShadowMapFBO: Error, status: 0x8cd6");  // a texture without storage
}
