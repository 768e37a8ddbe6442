#pragma once
// The hub of the system: creates every manager but the input manager, wires
// them together, builds the shader programs and the scene, and runs the fixed
// stage sequence of one frame: game logic, physics, input, enemies, shadow
// maps, main pass, overlay, and the HUD when it is shown. While paused only
// the drawing stages run.
#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "common/ObjectProperties.h"
#include "common/Types.h"
#include "render/GlProgram.h"
#include "render/LightSpace.h"
#include "render/RenderQuality.h"

class Animator;
class Camera;
class ControlsCard;
class EffectManager;
class EnemyAI;
class GameLogicManager;
class Hud;
class SoundManager;
class InputManager;
class LightManager;
class PhysicsManager;
class PositionManager;
class SceneManager;
class SceneTarget;
class ScreenPainter;
class ShadowMapFBO;
class TextManager;

class GraphicManager {
 public:
  // Creates and wires the managers; the input manager is only pointed to.
  explicit GraphicManager(InputManager* inputManager);
  ~GraphicManager();

  // Programs, fixed OpenGL state, lights, overlay, scene and shadow maps.
  void initialise(int width, int height);
  // The window's framebuffer is now width x height: the viewport, the scene
  // target, shadow maps sized by the window, the overlay, the HUD and the
  // camera's width / height follow it.
  void resize(int width, int height);
  // One frame; the caller swaps buffers and polls events afterwards.
  void frame();

  // Creates an enemy and registers it with the enemy behaviour; its id.
  ObjectId spawnEnemy();
  // Unregisters the enemy from the enemy behaviour and starts its fade-out.
  void removeEnemy(ObjectId id);
  // Plays the game's sounds from now on (not owned; none by default).
  void setSound(SoundManager* soundManager);
  // Pauses or resumes the game stages (and the sounds); the new running state.
  bool toggleRunning();
  // A new round from the start, without reading any file: no enemy, the
  // character at its start with full health, every component's clock from
  // now, the start delay waiting, play running.
  void newRound();
  // Sees key and button events before the game: the controls card ("help.show")
  // takes any press while it shows and F1 shows it; on the game-over screen,
  // Enter or a click asks for another round ("gameover.retry"). True: taken.
  bool filterInput(int code, int action, bool isButton);
  // Enter or a click on the game-over screen asked for another round.
  bool retryAsked() const { return retryWanted; }
  bool isCardShowing() const { return cardShowing; }
  const RenderQuality& getQuality() const { return quality; }

  // Depth of the scene into each light's shadow map.
  void renderShadowMaps();
  // The sky box and every object, lit, shadowed and fogged; the number drawn.
  // With advanceTime false there is no fade-out and no animation: every
  // object in the pose it already has, the drawing alone, for measuring what
  // a frame adds to it.
  std::uint32_t render(bool advanceTime = true);

  // Receives each lap of frame()'s stage stopwatch ("GLM", "PHD", "IM", "AI",
  // "SMP", "RP", "TM", then "HUD" when it is shown) in microseconds, as it is
  // taken; none by default.
  using StageSink = std::function<void(const char* stage, double microseconds)>;
  void setStageSink(StageSink sink) { stageSink = std::move(sink); }

  // The score the game-over screen shows.
  std::int32_t points() const;
  bool isRunning() const { return running; }
  SceneManager& scene() { return *sceneManager; }
  PositionManager& positions() { return *positionManager; }
  const GameLogicManager& gameLogic() const { return *gameLogicManager; }
  const PropertyTable& getProperties() const { return *properties; }
  const std::vector<ShadowMapFBO>& getShadowMaps() const { return shadowMaps; }

 private:
  // Blending, cleared target, fog and light uniforms, the shadow maps on units
  // 1 to 4, the camera; fills the light matrices the objects are drawn with.
  void beginMainPass(std::array<Mat4, 4>& lightViews, std::array<Mat4, 4>& lightProjections);

  std::unique_ptr<Camera> camera;
  std::unique_ptr<PositionManager> positionManager;
  std::unique_ptr<PropertyTable> properties;
  std::unique_ptr<EnemyAI> enemyAI;
  std::unique_ptr<SceneManager> sceneManager;
  std::unique_ptr<PhysicsManager> physicsManager;
  std::unique_ptr<TextManager> textManager;
  InputManager* inputManager;  // owned by the system manager
  std::unique_ptr<GameLogicManager> gameLogicManager;
  std::unique_ptr<LightManager> lightManager;
  std::unique_ptr<EffectManager> effectManager;
  std::vector<ShadowMapFBO> shadowMaps;
  std::unique_ptr<Animator> animator;
  std::unique_ptr<Hud> hud;  // none unless "hud.show" is 1
  std::unique_ptr<ControlsCard> card;  // none unless "help.show" is 1
  std::unique_ptr<ScreenPainter> painter;  // what draws the HUD and the card; none without either
  bool cardShowing = false;
  bool cardPaused = false;  // showing the card paused play
  bool cardBeforePlay = false;  // the card shown at start: play begins when it goes
  bool retryAllowed = false;  // "gameover.retry"
  bool retryWanted = false;
  int windowWidth = 0;
  int windowHeight = 0;
  RenderQuality quality;                     // the game's frame unless render.* say otherwise
  std::unique_ptr<SceneTarget> sceneTarget;  // the lighter frame's; none for the game's frame
  bool viewportMoves = false;  // the main pass's viewport differs from the shadow maps' (set it each frame)
  Vec3 characterStart{0.0f};
  std::int32_t characterHealth = 0;
  SoundManager* sound = nullptr;  // not owned
  Vec3 viewDirection{0.0f, 0.0f, -1.0f};  // the camera's, as of the last main pass
  GlProgram lightingProgram;
  GlProgram shadowProgram;
  GlProgram textureProgram;
  GlProgram colorProgram;
  GlProgram shadowTestProgram;
  GlProgram textProgram;
  bool running = true;
  float depthNear = 0.0f;  // the configured depth range of the frame
  float depthFar = 1.0f;
  std::vector<LightSpace> lightSpaces;
  StageSink stageSink;
};
