#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContentFiles.h"
#include "render/GameOverScreen.h"
#include "render/RenderFunctionalityManager.h"
#include "render/TextManager.h"

TEST(Overlay, LinesTextsAndPositionsReflectStatsAndSwitches) {
  RenderFunctionalityManager switches(true);
  auto lines = TextManager::layout(switches, 33.333f, 30, 17, 1024, 768, 20, 10);
  const std::vector<std::string> texts{"33.33ms (30 FPS)", "17 objects rendered", "TSQ=L", "MMQ=L",
                                       "Fog=On",           "VFC=On",              "T=On"};
  const std::vector<std::pair<int, int>> corners{{10, 748}, {10, 728}, {924, 748}, {924, 728},
                                                 {924, 708}, {924, 688}, {924, 668}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(std::string(lines[i].text.data()), texts[i]);
    EXPECT_EQ(lines[i].x, corners[i].first);
    EXPECT_EQ(lines[i].y, corners[i].second);
  }
}

TEST(Overlay, SwitchTextsForEveryState) {
  struct Case {
    const char* name;
    void (*change)(RenderFunctionalityManager&);
    std::size_t line;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"nearest sampling", [](RenderFunctionalityManager& s) { s.toggleSampling(); }, 2, "TSQ=NN"},
      {"mipmap off", [](RenderFunctionalityManager& s) { s.cycleMipmap(); }, 3, "MMQ=Off"},
      {"mipmap nearest", [](RenderFunctionalityManager& s) { s.cycleMipmap(); s.cycleMipmap(); }, 3, "MMQ=NN"},
      {"fog off", [](RenderFunctionalityManager& s) { s.toggleFog(); }, 4, "Fog=Off"},
      {"culling off", [](RenderFunctionalityManager& s) { s.toggleFrustumCulling(); }, 5, "VFC=Off"},
      {"transparency off", [](RenderFunctionalityManager& s) { s.toggleTransparency(); }, 6, "T=Off"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RenderFunctionalityManager switches(true);
    c.change(switches);
    EXPECT_EQ(std::string(TextManager::layout(switches, 0, 0, 0, 800, 600, 20, 10)[c.line].text.data()), c.text);
  }
}

// With every switch off the right column holds its longest texts ("MMQ=Off"):
// at the shipped glyph size each still ends inside the window.
TEST(Overlay, TheRightColumnFitsTheShippedGlyphSize) {
  const Config& config = content::loadGameConfig();
  const int glyph = config.getInt("textmanager.text.height");
  RenderFunctionalityManager off(false);
  off.toggleSampling();
  off.cycleMipmap();
  off.toggleFrustumCulling();
  off.toggleTransparency();
  const int width = 1024;
  const auto lines = TextManager::layout(off, 0, 0, 0, width, 768, 20, 10);
  for (std::size_t i = 2; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i].text.data());
    EXPECT_LE(lines[i].x + static_cast<int>(std::string(lines[i].text.data()).size()) * glyph, width);
  }
  Config::instance().clear();
}

TEST(GameOver, LayoutDependsOnWindowWidthAndHeight) {
  struct Case {
    int width, height, x, titleY, scoreY;
  };
  for (const Case& c : {Case{1024, 768, 341, 512, 384}, Case{800, 600, 80, 400, 300}, Case{1000, 900, 333, 600, 450},
                        Case{999, 768, 80, 512, 384}}) {
    SCOPED_TRACE(c.width);
    const GameOverLayout layout = GameOverScreen::layout(c.width, c.height);
    EXPECT_EQ(layout.x, c.x);
    EXPECT_EQ(layout.titleY, c.titleY);
    EXPECT_EQ(layout.scoreY, c.scoreY);
  }
}
