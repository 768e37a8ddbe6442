// The whole frame on the shipped configuration and content: shadow maps and
// their texture units, the pause, and an enemy's fade-out and removal.
#include <GL/glew.h>

#include <string>

#include "app/GraphicManager.h"
#include "config/Config.h"
#include "game/GameLogicManager.h"
#include "game/InputManager.h"
#include "render/ShadowMapFBO.h"
#include "scene/SceneManager.h"
#include "support/ShippedGameTest.h"

namespace {

class GameFrame : public ShippedGameTest {
 protected:
  void frames(GraphicManager& graphics, int count, double seconds) {
    for (int i = 0; i < count; ++i) {
      clock.advance(seconds);
      graphics.frame();
    }
  }
};

TEST_F(GameFrame, ShadowMapsPauseAndFadeOut) {
  InputManager input;
  GraphicManager graphics(&input);
  graphics.initialise(256, 192);

  // One shadow map per light, bound to units 1 to 4 in the order moon, lamps.
  const auto& maps = graphics.getShadowMaps();
  ASSERT_EQ(maps.size(), 4u);
  graphics.render();
  for (GLenum unit = 0; unit < 4; ++unit) {
    SCOPED_TRACE(unit);
    glActiveTexture(GL_TEXTURE1 + unit);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), maps[unit].getDepthTexture());
  }
  glActiveTexture(GL_TEXTURE0);

  // Paused far past the start delay: nothing spawns; resumed, enemies come.
  EXPECT_FALSE(graphics.toggleRunning());
  frames(graphics, 20, 1.0);
  EXPECT_TRUE(graphics.gameLogic().liveEnemies().empty());
  EXPECT_TRUE(graphics.toggleRunning());
  frames(graphics, 6, 0.05);  // the paused time elapses as one long frame
  EXPECT_FALSE(graphics.gameLogic().liveEnemies().empty());

  // A removed enemy fades at 1 / fade-out time per second and goes in the
  // frame its opacity reaches zero.
  const float fadeOutTime = Config::instance().getFloat("scenemanager.fadeouttime");
  const ObjectId enemy = graphics.spawnEnemy();
  graphics.removeEnemy(enemy);
  frames(graphics, 1, fadeOutTime / 4.0);
  ASSERT_EQ(graphics.getProperties().count(enemy), 1u);
  EXPECT_NEAR(graphics.getProperties().at(enemy).opacity, 0.75f, 0.02f);
  frames(graphics, 2, fadeOutTime / 4.0);
  EXPECT_NEAR(graphics.getProperties().at(enemy).opacity, 0.25f, 0.02f);
  EXPECT_TRUE(graphics.scene().hasObject(enemy));
  frames(graphics, 1, fadeOutTime / 4.0 + 0.01);
  EXPECT_EQ(graphics.getProperties().count(enemy), 0u);
  EXPECT_FALSE(graphics.scene().hasObject(enemy));
}

}  // namespace
