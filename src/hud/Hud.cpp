#include "hud/Hud.h"

#include <stdexcept>
#include <string>

#include "config/Config.h"
#include "render/GlProgram.h"
#include "render/ShaderManager.h"

namespace {

GLint locate(GLuint program, const char* name) {
  return requireUniform(program, name, "HUD: the program has no uniform '");
}

}  // namespace

Hud::Hud() : settings(HudSettings::fromConfig()), state(settings) {}

void Hud::init(int windowWidth, int windowHeight, std::int32_t fullHealth) {
  const Config& config = Config::instance();
  {
    ShaderManager shaders;
    const std::string fragment = config.getString("shader.hud.fragment");
    const std::string vertex = config.getString("shader.hud.vertex");
    program = shaders.createProgram(vertex, fragment);
  }
  width = windowWidth;
  height = windowHeight;
  state.setFullHealth(fullHealth);
  text.init(config.getString("hud.font.path"), program.name(), width, height);
  vertexArray = GlVertexArray::create();
  buffer = GlBuffer::create();
  positionLocation = glGetAttribLocation(program.name(), "position");
  colorLocation = locate(program.name(), "color");
  texturedLocation = locate(program.name(), "textured");
  glUseProgram(program.name());
  glUniform1i(locate(program.name(), "widthHalf"), width / 2);
  glUniform1i(locate(program.name(), "heightHalf"), height / 2);
  glUseProgram(0);
}

void Hud::onEvent(const GameEvent& event) { state.onEvent(event); }

void Hud::draw(const PlayStatus& status, bool paused, const AimLine& aim, const Mat4& viewProjection) {
  frameTimer.update();
  state.advance(frameTimer.getDelta());
  const float along = aim.target != kNoObject ? aim.along : settings.aimDistance;
  const Vec3 point = aim.origin + aim.direction * along;
  drawView(state.view(status, paused, HudState::project(viewProjection, point, width, height), width, height));
}

void Hud::drawView(const HudView& view) {
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
