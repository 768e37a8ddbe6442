#pragma once
// Shows "--- GAME OVER ---" and the score until the player quits. Builds its
// own text program and font renderer.
#include <GL/glew.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/GlProgram.h"
#include "render/TextRenderer.h"

// Where the two game-over lines start, for a window of the given size.
struct GameOverLayout {
  int x;
  int titleY;
  int scoreY;
};

class GameOverScreen {
 public:
  // Builds the text program and loads the font named by "highscore.path".
  GameOverScreen(int width, int height);
  // Clears the window and draws the title and "HIGHSCORE:  <points>", then
  // each note (the best scores, how to play again) on a line of its own
  // below, in smaller glyphs.
  void draw(std::int32_t points, const std::vector<std::string>& notes = {});
  // Deletes the font texture, vertex array and buffers.
  void release();
  // Lays the screen out for a window of the new size from now on.
  void resize(int width, int height);

  static GameOverLayout layout(int width, int height);

 private:
  GlProgram program;
  TextRenderer renderer;
  int windowWidth;
  int windowHeight;
  int textHeight = 40;
  int noteHeight = 24;
};
