#pragma once
// Sole owner of one OpenGL texture name. Move-only; a moved-from texture
// holds name 0. Starts empty (name 0) until generate().
#include <GL/glew.h>

class GlTexture {
 public:
  GlTexture() = default;
  ~GlTexture();
  GlTexture(const GlTexture&) = delete;
  GlTexture& operator=(const GlTexture&) = delete;
  GlTexture(GlTexture&& other) noexcept;
  GlTexture& operator=(GlTexture&& other) noexcept;

  // Deletes any held texture and generates a fresh name.
  void generate();
  GLuint name() const { return id; }

 private:
  void release();
  GLuint id = 0;
};
