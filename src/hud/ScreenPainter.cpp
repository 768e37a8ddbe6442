#include "hud/ScreenPainter.h"

#include "config/Config.h"
#include "render/ShaderManager.h"

namespace {

GLint locate(GLuint program, const char* name) {
  return requireUniform(program, name, "HUD: the program has no uniform '");
}

}  // namespace

ScreenPainter::ScreenPainter(const std::string& fontPath, int width, int height) {
  const Config& config = Config::instance();
  {
    ShaderManager shaders;
    const std::string fragment = config.getString("shader.hud.fragment");
    const std::string vertex = config.getString("shader.hud.vertex");
    program = shaders.createProgram(vertex, fragment);
  }
  text.init(fontPath, program.name(), width, height);
  vertexArray = GlVertexArray::create();
  buffer = GlBuffer::create();
  positionLocation = glGetAttribLocation(program.name(), "position");
  colorLocation = locate(program.name(), "color");
  texturedLocation = locate(program.name(), "textured");
  resize(width, height);
}

void ScreenPainter::resize(int width, int height) {
  text.resize(width, height);
  glUseProgram(program.name());
  glUniform1i(locate(program.name(), "widthHalf"), width / 2);
  glUniform1i(locate(program.name(), "heightHalf"), height / 2);
  glUseProgram(0);
}

void ScreenPainter::draw(const HudView& view) {
  const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
  glDisable(GL_DEPTH_TEST);
  glUseProgram(program.name());

  if (!view.rects.empty() && positionLocation >= 0) {
    positions.clear();
    for (const HudRect& r : view.rects) {
      const float left = r.x, right = r.x + r.width, bottom = r.y, top = r.y + r.height;
      positions.insert(positions.end(), {left, top, left, bottom, right, top, right, bottom, right, top, left, bottom});
    }
    buffer.fill(GL_ARRAY_BUFFER, positions.data(), positions.size() * sizeof(float));
    vertexArray.bind();
    glBindBuffer(GL_ARRAY_BUFFER, buffer.name());
    glVertexAttribPointer(static_cast<GLuint>(positionLocation), 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(static_cast<GLuint>(positionLocation));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glUniform1i(texturedLocation, 0);
    for (std::size_t i = 0; i < view.rects.size(); ++i) {
      const Vec4& c = view.rects[i].colour;
      glUniform4f(colorLocation, c.r, c.g, c.b, c.a);
      glDrawArrays(GL_TRIANGLES, static_cast<GLint>(i * 6), 6);
    }
    glDisable(GL_BLEND);
    glDisableVertexAttribArray(static_cast<GLuint>(positionLocation));
    GlVertexArray::unbind();
  }

  glUniform1i(texturedLocation, 1);
  for (const HudText& line : view.texts) {
    glUseProgram(program.name());
    glUniform4f(colorLocation, line.colour.r, line.colour.g, line.colour.b, line.colour.a);
    text.draw(line.text.c_str(), line.x, line.y, line.size, line.advance);
  }
  if (depthTest) glEnable(GL_DEPTH_TEST);
}
