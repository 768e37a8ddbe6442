#include "scene/SceneManager.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <ctime>
#include <stdexcept>

#include "app/HighAccuracyTimer.h"
#include "config/Config.h"
#include "game/PositionManager.h"
#include "render/RenderFunctionalityManager.h"
#include "render/Skybox.h"
#include "scene/Animator.h"
#include "scene/SceneObject.h"

namespace {

const char* const kFloors[] = {"map.floor0", "map.floor1", "map.floor1small", "map.floor2", "map.floor2small"};
const char* const kStairs[] = {"map.stairs0", "map.stairs1"};
const char* const kLamps[] = {"lamp1", "lamp2", "lamp3"};
constexpr int kWallCount = 9;

template <typename Map>
auto& entryOf(Map& map, const typename Map::key_type& key) {
  const auto found = map.find(key);
  if (found == map.end()) throw std::out_of_range("invalid map<K, T> key");
  return found->second;
}

}  // namespace

SceneManager::SceneManager(const RenderFunctionalityManager* settings, PositionManager* positions,
                           PropertyTable* table, Animator* animationDriver, const Frustum* viewFrustum)
    : positionManager(positions),
      properties(table),
      renderSettings(settings),
      frustum(viewFrustum),
      animator(animationDriver) {
  Config& config = Config::instance();
  // A negative time would never finish fading: like 0, it removes a killed
  // enemy in the next main pass.
  const float fadeOutTime = config.getFloat("scenemanager.fadeouttime");
  fadeRate = fadeOutTime > 0.0f ? 1.0f / fadeOutTime : std::numeric_limits<float>::infinity();
  const std::string front = config.getString("skybox.texture.front");
  const std::string back = config.getString("skybox.texture.back");
  const std::string left = config.getString("skybox.texture.left");
  const std::string right = config.getString("skybox.texture.right");
  const std::string top = config.getString("skybox.texture.top");
  const std::string bottom = config.getString("skybox.texture.bottom");
  skybox = std::make_unique<Skybox>(front, back, left, right, top, bottom);
}

SceneManager::~SceneManager() = default;

ObjectId SceneManager::enter(std::unique_ptr<SceneObject> object) {
  const ObjectId id = object->getId();
  objects.emplace(id, std::move(object));
  return id;
}

ObjectId SceneManager::createStaticObject(const std::string& name, GLuint lightingProgram, GLuint colorProgram,
                                          GLuint shadowProgram) {
  auto object = std::make_unique<SceneObject>(SceneObject::Kind::Static, name, lightingProgram, colorProgram,
                                              shadowProgram, frustum);
  object->setPositionManager(positionManager);
  object->setProperties(properties);
  object->readProperties();
  return enter(std::move(object));
}

ObjectId SceneManager::createAnimatedObject(const std::string& name, const std::vector<std::string>& animationNames,
                                            GLuint lightingProgram, GLuint colorProgram, GLuint shadowProgram) {
  auto object = std::make_unique<SceneObject>(SceneObject::Kind::Animated, name, lightingProgram, colorProgram,
                                              shadowProgram, frustum);
  object->setPositionManager(positionManager);
  object->setProperties(properties);
  object->readProperties();
  object->loadAnimations(animationNames);
  return enter(std::move(object));
}

void SceneManager::createEnemyType(const std::string& name, std::int32_t number,
                                   const std::vector<std::string>& animationNames, GLuint lightingProgram,
                                   GLuint colorProgram, GLuint shadowProgram) {
  auto type = std::make_unique<SceneObject>(SceneObject::Kind::Animated, name, lightingProgram, colorProgram,
                                            shadowProgram, frustum);
  type->loadAnimations(animationNames);
  // The death animation is played by index 1, so every type needs both.
  if (type->animations().size() < 2) {
    throw std::invalid_argument("SCENEMANAGER: enemy type '" + name + "' needs two animations.");
  }
  enemyTypes["enemy" + std::to_string(number)] = std::move(type);
  enemyTypeNames["enemy" + std::to_string(number)] = name;
}

ObjectId SceneManager::loadMainCharacter(GLuint lightingProgram, GLuint colorProgram, GLuint shadowProgram) {
  std::vector<std::string> animationNames;
  for (int i = 0; i < 5; ++i) {
    animationNames.push_back(Config::instance().getString("maincharacter.animation" + std::to_string(i)));
  }
  return createAnimatedObject("maincharacter", animationNames, lightingProgram, colorProgram, shadowProgram);
}

std::int32_t SceneManager::loadMap(GLuint lightingProgram, GLuint textureProgram, GLuint colorProgram,
                                   GLuint shadowProgram) {
  skybox->init(textureProgram);
  for (const char* floor : kFloors) {
    const ObjectId id = createStaticObject(floor, lightingProgram, colorProgram, shadowProgram);
    positionManager->registerFloor(id);
    floorsAndWalls.push_back(id);
  }
  for (const char* stairs : kStairs) {
    positionManager->registerStairs(createStaticObject(stairs, lightingProgram, colorProgram, shadowProgram));
  }
  for (int i = 0; i < kWallCount; ++i) {
    floorsAndWalls.push_back(
        createStaticObject("map.wall" + std::to_string(i), lightingProgram, colorProgram, shadowProgram));
  }
  for (const char* lamp : kLamps) createStaticObject(lamp, lightingProgram, colorProgram, shadowProgram);
  return Config::instance().getInt("lamps.objects.number");
}

void SceneManager::loadEnemyTypes(GLuint lightingProgram, GLuint colorProgram, GLuint shadowProgram) {
  Config& config = Config::instance();
  enemyTypeCount = config.getInt("enemy.types");
  for (std::int32_t n = 1; n <= enemyTypeCount; ++n) {
    const std::string name = config.getString("enemy.type." + std::to_string(n));
    createEnemyType(name, n, {config.getString(name + ".animation0"), config.getString(name + ".animation1")},
                    lightingProgram, colorProgram, shadowProgram);
  }
}

ObjectId SceneManager::spawnEnemy() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  const int type = 1 + std::rand() % enemyTypeCount;
  const std::string key = "enemy" + std::to_string(type);
  const SceneObject& source = *entryOf(enemyTypes, key);
  auto enemy = std::make_unique<SceneObject>(source);
  enemy->setPositionManager(positionManager);
  enemy->setProperties(properties);
  enemy->readProperties();
  const ObjectId id = enter(std::move(enemy));
  spawnedTypes[id] = enemyTypeNames[key];
  return id;
}

std::string SceneManager::enemyTypeOf(ObjectId id) const {
  const auto found = spawnedTypes.find(id);
  return found == spawnedTypes.end() ? std::string() : found->second;
}

void SceneManager::startFadeOut(ObjectId id) {
  SceneObject& object = *entryOf(objects, id);
  object.animationState().secondary = 1;
  positionManager->withdraw(id);
  fadingObjects.push_back(id);
}

void SceneManager::removeObject(ObjectId id) {
  const auto found = objects.find(id);
  if (found == objects.end()) throw std::out_of_range("invalid map<K, T> key");
  positionManager->erase(id);
  objects.erase(found);
  spawnedTypes.erase(id);
  // Nothing reads a removed object's record again; dropping it keeps a long
  // game's table from growing with every enemy killed.
  properties->erase(id);
}

void SceneManager::removeEnemies() {
  std::vector<ObjectId> spawned;
  for (const auto& [id, type] : spawnedTypes) spawned.push_back(id);
  for (ObjectId id : spawned) removeObject(id);
  fadingObjects.clear();
  frameTimer.restart();
}

void SceneManager::fadeOut(float delta) {
  // An infinite rate times a zero delta would be NaN, which never reaches 0.
  const bool instant = std::isinf(fadeRate);
  const float step = instant ? 0.0f : fadeRate * delta;
  for (auto it = fadingObjects.begin(); it != fadingObjects.end();) {
    ObjectProperties& record = properties->at(*it);
    const float opacity = instant ? 0.0f : record.opacity - step;
    if (opacity <= 0.0f) {
      removeObject(*it);
      it = fadingObjects.erase(it);
    } else {
      record.opacity = opacity;
      ++it;
    }
  }
}

void SceneManager::drawShadow(const Mat4& view, const Mat4& projection) {
  for (auto& [id, object] : objects) {
    object->uploadBonesShadow();
    object->renderShadow(view, projection);
  }
}

std::uint32_t SceneManager::drawLighting(const Mat4& view, const Mat4& projection,
                                         const std::array<Mat4, 4>& lightViews,
                                         const std::array<Mat4, 4>& lightProjections, bool advanceTime) {
  if (advanceTime) {
    frameTimer.update();
    fadeOut(frameTimer.getDelta());
  }
  skybox->draw(view, projection);

  const RenderFunctionalityManager toggles = *renderSettings;
  std::uint32_t count = 0;
  HighAccuracyTimer stage;
  stage.setPrint(kPrintStageLaps);
  for (auto& [id, object] : objects) {
    if (advanceTime) animator->animate(id, object->animationState(), object->skeleton(), object->animations());
    stage.lap("ANIM");
    object->uploadBonesLighting();
    stage.lap("UPDT");
    count += object->render(view, projection, lightViews, lightProjections, toggles);
    stage.lap("DRAW");
  }
  return count;
}
