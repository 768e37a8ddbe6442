#include "app/GraphicManager.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <iostream>
#include <stdexcept>
#include <string>

#include "app/HighAccuracyTimer.h"
#include "config/Config.h"
#include "game/Camera.h"
#include "game/EnemyAI.h"
#include "game/GameLogicManager.h"
#include "game/InputManager.h"
#include "game/PhysicsManager.h"
#include "game/PositionManager.h"
#include "common/GameState.h"
#include "hud/Hud.h"
#include "hud/ScreenPainter.h"
#include "menu/ControlsCard.h"
#include "render/EffectManager.h"
#include "render/LightManager.h"
#include "render/SceneTarget.h"
#include "render/ShaderManager.h"
#include "render/ShadowMapFBO.h"
#include "render/TextManager.h"
#include "scene/BoundingBox.h"
#include "scene/Animator.h"
#include "scene/SceneManager.h"
#include "sound/SoundManager.h"

namespace {

// The main pass binds exactly this many shadow maps (texture units 1 to 4).
constexpr std::size_t kShadowMapUnits = 4;
// A start box nearer the character than this counts as in sight.
constexpr float kUnseenDistance = 12.0f;

}  // namespace

GraphicManager::GraphicManager(InputManager* input) : inputManager(input) {
  camera = std::make_unique<Camera>();
  positionManager = std::make_unique<PositionManager>();
  properties = std::make_unique<PropertyTable>();
  animator = std::make_unique<Animator>(inputManager->getDirections());
  RenderFunctionalityManager* toggles = &inputManager->getRenderSwitches();
  sceneManager = std::make_unique<SceneManager>(toggles, positionManager.get(), properties.get(), animator.get(),
                                                &camera->getFrustum());
  physicsManager = std::make_unique<PhysicsManager>(positionManager.get());
  textManager = std::make_unique<TextManager>(toggles);
  lightManager = std::make_unique<LightManager>(&positionManager->eyePosition, camera.get());
  effectManager = std::make_unique<EffectManager>(toggles);
  gameLogicManager = std::make_unique<GameLogicManager>(
      positionManager.get(), properties.get(), [this] { return spawnEnemy(); },
      [this](ObjectId id) { removeEnemy(id); });
  GameLogicManager* logic = gameLogicManager.get();
  enemyAI = std::make_unique<EnemyAI>(positionManager.get(), properties.get(),
                                      [logic](ObjectId id) { logic->onEnemyContact(id); });

  const Config& config = Config::instance();
  if (config.isOn("hud.show")) hud = std::make_unique<Hud>();
  if (config.isOn("help.show")) card = std::make_unique<ControlsCard>();
  retryAllowed = config.isOn("gameover.retry");
  if (config.isOn("gamelogicmanager.spawn.unseen")) {
    // Enemies come in out of the player's sight where a free box allows:
    // not in the camera's view and not right beside the character.
    logic->setSpawnFilter([this](const StartPoint& box) {
      const Vec3 character = positionManager->position(gameLogicManager->mainCharacterId);
      const Vec3 nearest = glm::clamp(character, box.min, box.max);
      return glm::distance(nearest, character) > kUnseenDistance &&
             !isRegionInFrustum(box.min, box.max, camera->getFrustum());
    });
  }
  inputManager->setEventFilter(
      [this](int code, int action, bool isButton) { return filterInput(code, action, isButton); });
  SceneManager* scene = sceneManager.get();
  logic->setEnemyTypeSource([scene](ObjectId id) { return scene->enemyTypeOf(id); });
  logic->setEventSink([this](const GameEvent& event) {
    if (hud) hud->onEvent(event);
    if (sound) sound->onEvent(event);
  });

  TextManager* text = textManager.get();
  inputManager->setFrameRateCallback([text](float ms, int fps) { text->setFrameStats(ms, fps); });
  inputManager->setPositionManager(positionManager.get());
  inputManager->setPauseCallback([this] { toggleRunning(); });
  inputManager->setJetpackCallback([logic] { logic->startJetpack(); });
  inputManager->setTriggerPressCallback([logic] { logic->pressTrigger(); });
  inputManager->setTriggerReleaseCallback([logic] { logic->releaseTrigger(); });
}

GraphicManager::~GraphicManager() = default;

void GraphicManager::initialise(int width, int height) {
  Config& config = Config::instance();
  {
    ShaderManager shaders;
    auto build = [&](const char* program) {
      const std::string prefix = std::string("shader.") + program;
      const std::string fragment = config.getString(prefix + ".fragment");
      const std::string vertex = config.getString(prefix + ".vertex");
      return shaders.createProgram(vertex, fragment);
    };
    lightingProgram = build("lighting");
    shadowProgram = build("shadow");
    textureProgram = build("texture");
    colorProgram = build("color");
    textProgram = build("text");
    shadowTestProgram = build("shadowTest");
  }

  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  glDepthFunc(GL_LEQUAL);
  depthFar = config.getFloat("opengl.depthrange.max");
  depthNear = config.getFloat("opengl.depthrange.min");
  glDepthRange(depthNear, depthFar);

  const char* rendererName = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  const std::string renderer = rendererName != nullptr ? rendererName : "";
  quality = RenderQuality::fromConfig(renderer);
  if (quality.automatic) std::cout << quality.notice(renderer) << std::endl;

  lightManager->bindProgram(lightingProgram.name());
  effectManager->bindProgram(lightingProgram.name());
  textManager->init(textProgram.name(), width, height);

  const ObjectId mainCharacterId =
      sceneManager->loadMainCharacter(lightingProgram.name(), colorProgram.name(), shadowProgram.name());
  inputManager->setMainCharacterId(mainCharacterId);
  enemyAI->mainCharacterId = mainCharacterId;
  gameLogicManager->mainCharacterId = mainCharacterId;
  windowWidth = width;
  windowHeight = height;
  characterStart = positionManager->position(mainCharacterId);
  characterHealth = properties->at(mainCharacterId).health;
  if (hud) hud->setFullHealth(characterHealth);
  if (hud || card) painter = std::make_unique<ScreenPainter>(config.getString("hud.font.path"), width, height);


  const std::int32_t lampCount = sceneManager->loadMap(lightingProgram.name(), textureProgram.name(),
                                                       colorProgram.name(), shadowProgram.name());
  // The main pass binds one shadow map per texture unit 1 to 4 and the shaders
  // light exactly three lamps, so any other count is refused here, at start-up.
  if (lampCount + 1 != static_cast<std::int32_t>(kShadowMapUnits)) {
    throw std::invalid_argument("LIGHTMANAGER: lamps.objects.number must be 3, got " + std::to_string(lampCount) +
                                ".");
  }
  lightManager->createLamps(static_cast<std::uint32_t>(lampCount));
  lightSpaces = lightManager->computeLightSpaces();

  shadowMaps.resize(static_cast<std::size_t>(lampCount) + 1);
  const RenderSize shadow = quality.shadowMap(width, height);
  for (ShadowMapFBO& map : shadowMaps) map.init(shadow.width, shadow.height);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (quality.offscreen()) {
    sceneTarget = std::make_unique<SceneTarget>();
    const RenderSize target = quality.target(width, height);
    sceneTarget->resize(target.width, target.height, quality.samples, textureProgram.name());
  }
  viewportMoves = quality.offscreen() || shadow.width != width || shadow.height != height;

  if (config.isOn("camera.collision")) {
    inputManager->setCameraBoom(
        std::make_unique<CameraBoom>(positionManager.get(), sceneManager->getFloorsAndWalls()));
  }
  if (card) {
    // Play begins once the player has seen the controls, over the first frame.
    cardShowing = true;
    cardBeforePlay = true;
    running = false;
    inputManager->placeCamera();
  }

  sceneManager->loadEnemyTypes(lightingProgram.name(), colorProgram.name(), shadowProgram.name());
  // Without types a spawn has nothing to copy; without spawning none is needed.
  const std::int32_t types = sceneManager->enemyTypeTotal();
  if (types < 1 && gameLogicManager->spawnsEnemies()) {
    throw std::invalid_argument("CONFIG: enemy.types must be at least 1 while enemies spawn, got " +
                                std::to_string(types) + ".");
  }
}

void GraphicManager::frame() {
  HighAccuracyTimer overall;
  HighAccuracyTimer stage;
  overall.setPrint(kPrintStageLaps);
  stage.setPrint(kPrintStageLaps);
  auto lap = [&](const char* label) {
    const double microseconds = stage.lap(label);
    if (stageSink) stageSink(label, microseconds);
  };
  if (running) {
    stage.reset();
    gameLogicManager->update();
    lap("GLM");
    physicsManager->update();
    lap("PHD");
    inputManager->update();
    lap("IM");
    enemyAI->update();
    lap("AI");
  }
  stage.reset();
  renderShadowMaps();
  lap("SMP");
  const std::uint32_t drawn = render();
  lap("RP");
  textManager->update(drawn);
  lap("TM");
  if (hud || sound || cardShowing) {
    const PlayStatus status = gameLogicManager->status();
    if (hud) {
      // The card says why play stands still; "PAUSED" would only cover it.
      painter->draw(hud->view(status, !running && !cardShowing, gameLogicManager->aim(),
                              camera->getProjection() * camera->getView(), windowWidth, windowHeight));
      lap("HUD");
    }
    if (cardShowing) painter->draw(card->view(windowWidth, windowHeight));
    if (sound && running) {
      const ObjectId character = gameLogicManager->mainCharacterId;
      sound->update(positionManager->eyePosition, viewDirection, positionManager->position(character),
                    status.jetpack == JetpackPhase::Flying);
    }
  }
  overall.lap("OVERALL");
}

ObjectId GraphicManager::spawnEnemy() {
  const ObjectId id = sceneManager->spawnEnemy();
  enemyAI->addEnemy(id);
  return id;
}

void GraphicManager::removeEnemy(ObjectId id) {
  enemyAI->removeEnemy(id);
  sceneManager->startFadeOut(id);
}

void GraphicManager::setSound(SoundManager* soundManager) { sound = soundManager; }

bool GraphicManager::toggleRunning() {
  running = !running;
  if (sound) sound->setPaused(!running);
  return running;
}

void GraphicManager::resize(int width, int height) {
  if (width <= 0 || height <= 0) return;  // a minimised window has no framebuffer to draw
  windowWidth = width;
  windowHeight = height;
  glViewport(0, 0, width, height);
  camera->setRatio(static_cast<float>(width) / static_cast<float>(height));
  if (quality.shadowSize <= 0) {
    for (ShadowMapFBO& map : shadowMaps) map.init(width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  if (sceneTarget) {
    const RenderSize target = quality.target(width, height);
    sceneTarget->resize(target.width, target.height, quality.samples, textureProgram.name());
  }
  textManager->resize(width, height);
  if (painter) painter->resize(width, height);
}

void GraphicManager::newRound() {
  sceneManager->removeEnemies();
  enemyAI->newRound();
  gameLogicManager->newRound();
  physicsManager->newRound();
  inputManager->newRound();
  const ObjectId character = gameLogicManager->mainCharacterId;
  positionManager->place(character, characterStart);
  positionManager->setFacing(character, 0.0f);
  properties->at(character).health = characterHealth;
  if (hud) hud->clear();
  retryWanted = false;
  if (!running) toggleRunning();
}

bool GraphicManager::filterInput(int code, int action, bool isButton) {
  if (action != GLFW_PRESS) return false;  // releases and repeats go on to the game
  if (gameState >= 1) {
    const bool retryKey =
        isButton ? code == GLFW_MOUSE_BUTTON_LEFT : code == GLFW_KEY_ENTER || code == GLFW_KEY_KP_ENTER;
    if (!retryAllowed || !retryKey) return false;
    retryWanted = true;
    return true;
  }
  if (cardShowing) {
    // The key or click that takes the card away does nothing else.
    cardShowing = false;
    if (cardBeforePlay) {
      cardBeforePlay = false;
      newRound();  // every clock, the start delay among them, from now
    } else if (cardPaused) {
      toggleRunning();
    }
    cardPaused = false;
    return true;
  }
  if (card && !isButton && code == GLFW_KEY_F1) {
    cardShowing = true;
    cardPaused = running;
    if (running) toggleRunning();
    return true;
  }
  return false;
}

void GraphicManager::renderShadowMaps() {
  // The objects' light matrices map a light's depth to 0..1, so the shadow
  // maps are written over that whole range whatever range the frame uses.
  glDepthRange(0.0, 1.0);
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(4.0f, 0.0f);
  for (std::size_t i = 0; i < lightSpaces.size(); ++i) {
    const ShadowMapFBO& map = shadowMaps.at(i);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, map.getFramebuffer());
    glViewport(0, 0, map.getWidth(), map.getHeight());
    glClear(GL_DEPTH_BUFFER_BIT);
    sceneManager->drawShadow(lightSpaces[i].view, lightSpaces[i].projection);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  glDisable(GL_POLYGON_OFFSET_FILL);
  glDepthRange(depthNear, depthFar);
  // Shadow maps of another size than the window leave their viewport behind.
  if (viewportMoves && !sceneTarget) glViewport(0, 0, windowWidth, windowHeight);
}

void GraphicManager::beginMainPass(std::array<Mat4, 4>& lightViews, std::array<Mat4, 4>& lightProjections) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (sceneTarget) {
    sceneTarget->bind();
  } else {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  effectManager->update();
  lightManager->update();

  for (std::size_t k = 0; k < kShadowMapUnits; ++k) {
    glActiveTexture(GL_TEXTURE1 + static_cast<GLenum>(k));
    glBindTexture(GL_TEXTURE_2D, shadowMaps.at(k).getDepthTexture());
  }
  glActiveTexture(GL_TEXTURE0);

  lightViews.fill(Mat4(1.0f));
  lightProjections.fill(Mat4(1.0f));
  for (std::size_t k = 0; k < lightSpaces.size() && k < kShadowMapUnits; ++k) {
    lightViews[k] = lightSpaces[k].view;
    lightProjections[k] = lightSpaces[k].projection;
  }

  const float yaw = positionManager->cameraYaw;
  const float pitch = positionManager->cameraPitch;
  const Vec3 direction(std::cos(-pitch) * std::cos(yaw), std::sin(-pitch), std::sin(yaw) * std::cos(-pitch));
  camera->update(positionManager->eyePosition, direction);
  viewDirection = direction;
}

std::uint32_t GraphicManager::render(bool advanceTime) {
  std::array<Mat4, 4> lightViews;
  std::array<Mat4, 4> lightProjections;
  beginMainPass(lightViews, lightProjections);
  const std::uint32_t count = sceneManager->drawLighting(camera->getView(), camera->getProjection(), lightViews,
                                                         lightProjections, advanceTime);
  glDisable(GL_BLEND);
  // The lighter frame's scene, scaled up to the window for the overlay and HUD to go on top.
  if (sceneTarget) sceneTarget->present(windowWidth, windowHeight);
  return count;
}

std::int32_t GraphicManager::points() const { return gameLogicManager->points; }
