#pragma once
// The card with the game's controls, shown over the frozen first frame until
// a key or a click starts play, and again on F1. Knows its text and lays it
// out; the graphic manager decides when it shows and paints it.
#include <cstdint>

#include "hud/HudState.h"

class ControlsCard {
 public:
  // Reads "help.text.height" (the glyph size in pixels, scaled down for
  // narrow windows).
  ControlsCard();

  // The panel, the controls in two columns and "PRESS ANY KEY", centred in a
  // window of width x height.
  HudView view(int width, int height) const;

 private:
  std::int32_t textHeight;
};
