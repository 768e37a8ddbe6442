#include "render/GameOverScreen.h"

#include <array>
#include <cstdio>

#include "config/Config.h"
#include "render/ShaderManager.h"

GameOverScreen::GameOverScreen(int width, int height) : windowWidth(width), windowHeight(height) {
  Config& config = Config::instance();
  {
    ShaderManager shaders;
    const std::string vertex = config.getString("shader.text.vertex");
    const std::string fragment = config.getString("shader.text.fragment");
    program = shaders.createProgram(vertex, fragment);
  }
  renderer.init(config.getString("highscore.path"), program.name(), width, height);
}

GameOverLayout GameOverScreen::layout(int width, int height) {
  const int x = width >= 1000 ? width / 3 : 80;
  return {x, height - height / 3, height - height / 2};
}

void GameOverScreen::draw(std::int32_t points, const std::vector<std::string>& notes) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const GameOverLayout where = layout(windowWidth, windowHeight);
  std::array<char, 48> score{};
  std::snprintf(score.data(), score.size(), "HIGHSCORE:  %i", points);
  renderer.draw("--- GAME OVER ---", where.x, where.titleY, textHeight);
  renderer.draw(score.data(), where.x, where.scoreY, textHeight);
  int y = where.scoreY - textHeight;
  for (const std::string& note : notes) {
    y -= noteHeight * 3 / 2;
    renderer.draw(note.c_str(), where.x, y, noteHeight, noteHeight * 5 / 8);
  }
}

void GameOverScreen::release() { renderer.release(); }

void GameOverScreen::resize(int width, int height) {
  windowWidth = width;
  windowHeight = height;
  renderer.resize(width, height);
}
