#include "render/GameOverScreen.h"

#include <GL/glew.h>

GameOverScreen::GameOverScreen(int width, int height) : windowWidth(width), windowHeight(height) {}

void GameOverScreen::draw(std::int32_t) { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

void GameOverScreen::release() {}
