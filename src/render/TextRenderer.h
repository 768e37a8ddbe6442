#pragma once
// Draws lines of text as textured quads from a 16 x 16 glyph-grid font
// texture, placed in window pixels with the origin at the bottom left.
#include <GL/glew.h>

#include <string>
#include <vector>

#include "render/GlBuffer.h"
#include "render/GlVertexArray.h"
#include "scene/Texture.h"

class TextRenderer {
 public:
  // Empty: no font, vertex array or buffers until init().
  TextRenderer() = default;

  // Loads the font, creates the vertex array and buffers, looks up the
  // program's inputs (not owned); a missing uniform throws std::invalid_argument.
  void init(const std::string& texturePath, GLuint program, int width, int height);
  // Draws text with its first glyph's bottom-left corner at (x, y); each glyph
  // is a size x size square, the next one advance pixels further right (0:
  // size, glyphs edge to edge). Leaves the program in use.
  void draw(const char* text, int x, int y, int size, int advance = 0);
  // Deletes the font texture, the vertex array and both buffers.
  void release();
  // Places text in a window of the new size from now on.
  void resize(int width, int height);

 private:
  Texture texture;
  GlVertexArray vertexArray;
  GLuint program = 0;  // not owned
  GlBuffer positionBuffer;
  GlBuffer texCoordBuffer;
  GLint positionLocation = -1;
  GLint texCoordLocation = -1;
  GLint widthHalfLocation = -1;
  GLint heightHalfLocation = -1;
  int widthHalf = 0;
  int heightHalf = 0;
  std::vector<float> positions;  // reused by every draw
  std::vector<float> texCoords;
};
