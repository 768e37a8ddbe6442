#pragma once
// The statistics overlay: frame time and rate, objects drawn and five render
// switches, drawn in the last stage of every frame while the overlay is on.
#include <GL/glew.h>

#include <array>
#include <cstdint>

#include "render/TextRenderer.h"

class RenderFunctionalityManager;

// One overlay line: its text and the bottom-left corner of its first glyph.
struct OverlayLine {
  std::array<char, 48> text{};
  int x = 0;
  int y = 0;
};

class TextManager {
 public:
  // Reads the overlay's offsets and glyph size.
  explicit TextManager(const RenderFunctionalityManager* toggles);

  // Loads the overlay font ("textmanager.texture.path") and the text program's inputs.
  void init(GLuint program, int width, int height);
  // Lays the overlay out for a window of the new size from now on.
  void resize(int width, int height);
  // Once per second from the frame-rate timer.
  void setFrameStats(float msPerFrame, int framesPerSecond);
  // Resets the polygon mode to filled, then draws the overlay when it is on.
  void update(std::uint32_t objectsRendered);

  // The seven lines for a window of the given size.
  static std::array<OverlayLine, 7> layout(const RenderFunctionalityManager& toggles, float msPerFrame,
                                           int framesPerSecond, std::uint32_t objectsRendered, int width,
                                           int height, int offsetVertical, int offsetHorizontal);

 private:
  const RenderFunctionalityManager* toggles;  // not owned
  TextRenderer renderer;
  int framesPerSecond = 0;
  float msPerFrame = 0.0f;
  int windowWidth = 0;
  int windowHeight = 0;
  int offsetVertical;
  int offsetHorizontal;
  int textHeight;
};
