#pragma once
// Shows "--- GAME OVER ---" and the score until the player quits.
// (Foundation stage: clears the window only.)
#include <cstdint>

class GameOverScreen {
 public:
  GameOverScreen(int width, int height);
  void draw(std::int32_t points);
  // Deletes the font texture, vertex array and buffers.
  void release();

 private:
  int windowWidth;
  int windowHeight;
};
