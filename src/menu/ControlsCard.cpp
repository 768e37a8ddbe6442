#include "menu/ControlsCard.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "config/Config.h"

namespace {

const char* const kTitle = "NIGHT SHOOTER";
const char* const kFooter = "PRESS ANY KEY";
const std::array<std::pair<const char*, const char*>, 9> kControls = {{
    {"W A S D", "WALK AND STRAFE"},
    {"MOUSE", "TURN"},
    {"LEFT BUTTON", "FIRE, HOLD FOR AUTOMATIC"},
    {"SPACE", "JETPACK"},
    {"WHEEL", "CAMERA NEARER / FARTHER"},
    {"P", "PAUSE"},
    {"F1", "THESE CONTROLS"},
    {"F2 - F9", "RENDER SWITCHES"},
    {"ESC", "GAME OVER, AGAIN TO QUIT"},
}};
constexpr int kKeyColumn = 14;      // characters of the key column, gap included
constexpr int kWidestLine = 38;     // characters of the widest line
constexpr float kAdvance = 0.62f;   // glyph to glyph, a share of the glyph size
const Vec4 kPanel{0.02f, 0.03f, 0.08f, 0.82f};
const Vec4 kText{0.90f, 0.92f, 1.00f, 1.0f};
const Vec4 kKeys{1.00f, 0.80f, 0.20f, 1.0f};
const Vec4 kFooterColour{0.60f, 0.85f, 1.00f, 1.0f};

}  // namespace

ControlsCard::ControlsCard() : textHeight(Config::instance().getInt("help.text.height")) {}

HudView ControlsCard::view(int width, int height) const {
  // Narrow windows get smaller glyphs, so the widest line still fits.
  const int size = std::max(6, std::min(textHeight, static_cast<int>(width * 0.9f / (kWidestLine * kAdvance))));
  const int advance = static_cast<int>(static_cast<float>(size) * kAdvance + 0.5f);
  const int line = size * 3 / 2;
  const int lines = static_cast<int>(kControls.size()) + 4;  // title, gap, the controls, gap, footer
  const int panelWidth = kWidestLine * advance + 2 * size;
  const int panelHeight = lines * line + size;
  const int left = (width - panelWidth) / 2;
  const int bottom = (height - panelHeight) / 2;
  const int textLeft = left + size;

  HudView view;
  view.rects.push_back({static_cast<float>(left), static_cast<float>(bottom), static_cast<float>(panelWidth),
                        static_cast<float>(panelHeight), kPanel});
  int y = bottom + panelHeight - size / 2 - line;
  const auto centred = [&](const std::string& text) {
    return left + (panelWidth - static_cast<int>(text.size()) * advance) / 2;
  };
  view.texts.push_back({kTitle, centred(kTitle), y, size, advance, kText});
  y -= 2 * line;
  for (const auto& [key, action] : kControls) {
    view.texts.push_back({key, textLeft, y, size, advance, kKeys});
    view.texts.push_back({action, textLeft + kKeyColumn * advance, y, size, advance, kText});
    y -= line;
  }
  y -= line;
  view.texts.push_back({kFooter, centred(kFooter), y, size, advance, kFooterColour});
  return view;
}
