// What the benchmarks rely on: the stage sink sees every lap of a frame in
// stage order, and the posed main pass draws what render() draws while
// leaving the fade-out and the poses alone.
#include <GL/glew.h>

#include <string>
#include <vector>

#include "app/GraphicManager.h"
#include "game/InputManager.h"
#include "scene/SceneManager.h"
#include "support/ShippedGameTest.h"

namespace {

using FrameHooks = ShippedGameTest;

TEST_F(FrameHooks, StageSinkAndPosedPass) {
  InputManager input;
  GraphicManager graphics(&input);
  graphics.initialise(256, 192);

  struct Case {
    const char* name;
    bool running;
    std::vector<std::string> stages;
  };
  const Case cases[] = {
      {"running", true, {"GLM", "PHD", "IM", "AI", "SMP", "RP", "TM", "HUD"}},
      {"paused", false, {"SMP", "RP", "TM", "HUD"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (graphics.isRunning() != c.running) graphics.toggleRunning();
    std::vector<std::string> seen;
    graphics.setStageSink([&seen](const char* stage, double microseconds) {
      EXPECT_GE(microseconds, 0.0);
      seen.push_back(stage);
    });
    clock.advance(0.02);
    graphics.frame();
    EXPECT_EQ(seen, c.stages);
  }
  graphics.setStageSink(nullptr);
  if (!graphics.isRunning()) graphics.toggleRunning();

  // A fading enemy: drawn without advancing time, it neither fades nor changes pose.
  const ObjectId enemy = graphics.spawnEnemy();
  graphics.removeEnemy(enemy);
  clock.advance(0.1);
  const std::uint32_t drawn = graphics.render();
  const float opacity = graphics.getProperties().at(enemy).opacity;
  clock.advance(0.1);
  EXPECT_EQ(graphics.render(false), drawn);
  EXPECT_EQ(graphics.getProperties().at(enemy).opacity, opacity);
  clock.advance(0.1);
  graphics.render();
  EXPECT_LT(graphics.getProperties().at(enemy).opacity, opacity);
}

}  // namespace
