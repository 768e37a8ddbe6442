#pragma once
// The offscreen target the lighter frame draws its scene into, and its way to
// the window: with samples, a multisampled framebuffer resolved into a
// texture; without, the texture's framebuffer itself. present() draws that
// texture over the whole window with linear filtering. Owns its framebuffers,
// renderbuffers, texture and quad; points to the program that draws the quad.
#include <GL/glew.h>

#include "render/GlBuffer.h"
#include "render/GlFramebuffer.h"
#include "render/GlRenderbuffer.h"
#include "render/GlTexture.h"
#include "render/GlVertexArray.h"

class SceneTarget {
 public:
  SceneTarget() = default;  // empty until resize()

  // A target of width x height with that many samples (0: none), replacing
  // any earlier one; throws std::runtime_error "RENDER: The scene target is
  // incomplete, status: 0x..." when the driver refuses it. The quad is drawn
  // with quadProgram (not owned; the sky box's: "mvp", "position", "texture").
  void resize(int width, int height, int samples, GLuint quadProgram);
  // Binds the target for drawing and sets the viewport to its size.
  void bind() const;
  // Resolves the samples (if any) and draws the picture over the default
  // framebuffer's windowWidth x windowHeight; leaves the default framebuffer
  // bound, depth testing and blending as they were, program 0.
  void present(int windowWidth, int windowHeight) const;

  int getWidth() const { return width; }
  int getHeight() const { return height; }
  GLuint getTexture() const { return picture.name(); }

 private:
  int width = 0;
  int height = 0;
  int samples = 0;
  GLuint program = 0;  // not owned
  GLint mvpLocation = -1;
  GlFramebuffer drawn;      // what the scene is drawn into: multisampled, or the picture's own
  GlRenderbuffer colour;    // multisampled colour; empty without samples
  GlRenderbuffer depth;
  GlFramebuffer resolved;   // the picture's framebuffer when there are samples
  GlTexture picture;
  GlVertexArray quad;
  GlBuffer quadVertices;
};
