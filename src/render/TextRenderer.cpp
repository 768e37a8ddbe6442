#include "render/TextRenderer.h"

#include <cstring>
#include <stdexcept>

#include "render/GlProgram.h"

namespace {

constexpr float kCell = 0.0625f;  // one of 16 glyph cells per row and column

GLint locate(GLuint program, const char* name) {
  return requireUniform(program, name, "TEXTMANAGER: Could not bind attribute '");
}

// Six positions and six texture coordinates (2 floats each) per character.
void buildQuads(const char* text, int x, int y, int size, int advance, std::vector<float>& positions,
                std::vector<float>& texCoords) {
  positions.clear();
  const int step = advance > 0 ? advance : size;
  texCoords.clear();
  const std::size_t length = std::strlen(text);
  for (std::size_t i = 0; i < length; ++i) {
    const int index = static_cast<int>(i);
    const float left = static_cast<float>(x + index * step);
    const float right = static_cast<float>(x + index * step + size);
    const float bottom = static_cast<float>(y);
    const float top = static_cast<float>(y + size);
    positions.insert(positions.end(), {left, top, left, bottom, right, top, right, bottom, right, top, left, bottom});

    const int code = static_cast<signed char>(text[i]);
    const float u = static_cast<float>(code % 16) * kCell;
    const float v = static_cast<float>(code / 16) * kCell;
    texCoords.insert(texCoords.end(), {u, v, u, v + kCell, u + kCell, v, u + kCell, v + kCell, u + kCell, v, u,
                                       v + kCell});
  }
}

}  // namespace

void TextRenderer::init(const std::string& texturePath, GLuint textProgram, int width, int height) {
  program = textProgram;
  widthHalf = width / 2;
  heightHalf = height / 2;
  texture.load(texturePath);
  vertexArray = GlVertexArray::create();
  positionBuffer = GlBuffer::create();
  texCoordBuffer = GlBuffer::create();
  positionLocation = glGetAttribLocation(program, "position");
  texCoordLocation = glGetAttribLocation(program, "texture");
  widthHalfLocation = locate(program, "widthHalf");
  heightHalfLocation = locate(program, "heightHalf");
}

void TextRenderer::draw(const char* text, int x, int y, int size, int advance) {
  buildQuads(text, x, y, size, advance, positions, texCoords);
  positionBuffer.fill(GL_ARRAY_BUFFER, positions.data(), positions.size() * sizeof(float));
  texCoordBuffer.fill(GL_ARRAY_BUFFER, texCoords.data(), texCoords.size() * sizeof(float));

  vertexArray.bind();
  if (positionLocation >= 0) {
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer.name());
    glVertexAttribPointer(static_cast<GLuint>(positionLocation), 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(static_cast<GLuint>(positionLocation));
  }
  if (texCoordLocation >= 0) {
    glBindBuffer(GL_ARRAY_BUFFER, texCoordBuffer.name());
    glVertexAttribPointer(static_cast<GLuint>(texCoordLocation), 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(static_cast<GLuint>(texCoordLocation));
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);

  glUseProgram(program);
  if (texture.isLoaded()) {
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture.getName());
  }
  glUniform1i(widthHalfLocation, widthHalf);
  glUniform1i(heightHalfLocation, heightHalf);

  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(positions.size() / 2));
  glDisable(GL_BLEND);

  if (positionLocation >= 0) glDisableVertexAttribArray(static_cast<GLuint>(positionLocation));
  if (texCoordLocation >= 0) glDisableVertexAttribArray(static_cast<GLuint>(texCoordLocation));
  GlVertexArray::unbind();
}

void TextRenderer::release() {
  texture = Texture();
  vertexArray = GlVertexArray();
  positionBuffer = GlBuffer();
  texCoordBuffer = GlBuffer();
}

void TextRenderer::resize(int width, int height) {
  widthHalf = width / 2;
  heightHalf = height / 2;
}
