#pragma once
// Builds the scene from the configuration and owns every scene object: the
// main character, the map pieces, the lamps and the enemy templates that
// enemies are copied from. Runs the per-object part of both render passes and
// fades killed enemies out before deleting them.
#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/TimerFrameIndependency.h"
#include "common/Frustum.h"
#include "common/ObjectProperties.h"
#include "common/Types.h"

class Animator;
class PositionManager;
class RenderFunctionalityManager;
class SceneObject;
class Skybox;

class SceneManager {
 public:
  // Reads the fade-out time and the six sky-box images (loaded here).
  SceneManager(const RenderFunctionalityManager* renderSettings, PositionManager* positionManager,
               PropertyTable* properties, Animator* animator, const Frustum* frustum);
  ~SceneManager();

  // The animated main character with its five animations; its id (0).
  ObjectId loadMainCharacter(GLuint lightingProgram, GLuint colorProgram, GLuint shadowProgram);
  // Sky box, floors, stairs, walls and lamps; returns "lamps.objects.number".
  std::int32_t loadMap(GLuint lightingProgram, GLuint textureProgram, GLuint colorProgram, GLuint shadowProgram);
  // The "enemy.types" templates, kept under "enemy1", "enemy2", ...; never
  // placed. A count below 1 loads none (spawnEnemy then must not be called).
  void loadEnemyTypes(GLuint lightingProgram, GLuint colorProgram, GLuint shadowProgram);
  std::int32_t enemyTypeTotal() const { return enemyTypeCount; }

  // A copy of a randomly chosen enemy type, placed and with its properties; its id.
  ObjectId spawnEnemy();
  // The enemy plays its death animation, stops blocking, falling and being hit,
  // and fades out over "scenemanager.fadeouttime" seconds (0 or less: it is
  // removed in the next main pass).
  void startFadeOut(ObjectId id);
  // Deletes the object and its entries; an absent id throws std::out_of_range.
  void removeObject(ObjectId id);
  // Deletes every spawned enemy, live or fading (a new round); the fade-out
  // clock runs from now.
  void removeEnemies();

  // Depth of every object into the bound shadow map, with last frame's bones.
  void drawShadow(const Mat4& view, const Mat4& projection);
  // Fades, the sky box, then animates and draws every object; the number
  // drawn. With advanceTime false nothing fades and nothing is re-posed:
  // every object is drawn in the pose it has (the drawing alone, for the
  // benchmark's floor).
  std::uint32_t drawLighting(const Mat4& view, const Mat4& projection, const std::array<Mat4, 4>& lightViews,
                             const std::array<Mat4, 4>& lightProjections, bool advanceTime = true);

  // The type name ("enemy.brute") of a spawned enemy; empty for any other id.
  std::string enemyTypeOf(ObjectId id) const;
  // The map's floors and walls, in load order (what a camera must not enter).
  const std::vector<ObjectId>& getFloorsAndWalls() const { return floorsAndWalls; }
  std::size_t objectCount() const { return objects.size(); }
  bool hasObject(ObjectId id) const { return objects.count(id) != 0; }

 private:
  ObjectId createStaticObject(const std::string& name, GLuint lightingProgram, GLuint colorProgram,
                              GLuint shadowProgram);
  ObjectId createAnimatedObject(const std::string& name, const std::vector<std::string>& animationNames,
                                GLuint lightingProgram, GLuint colorProgram, GLuint shadowProgram);
  void createEnemyType(const std::string& name, std::int32_t number, const std::vector<std::string>& animationNames,
                       GLuint lightingProgram, GLuint colorProgram, GLuint shadowProgram);
  ObjectId enter(std::unique_ptr<SceneObject> object);
  void fadeOut(float delta);

  PositionManager* positionManager;                  // not owned
  PropertyTable* properties;                         // not owned
  const RenderFunctionalityManager* renderSettings;  // not owned
  const Frustum* frustum;                            // not owned
  std::unique_ptr<Skybox> skybox;
  Animator* animator;  // not owned
  std::map<std::string, std::unique_ptr<SceneObject>> enemyTypes;
  std::map<std::string, std::string> enemyTypeNames;  // "enemy1" -> "enemy.brute"
  std::map<ObjectId, std::string> spawnedTypes;       // live and fading enemies
  std::vector<ObjectId> floorsAndWalls;
  std::map<ObjectId, std::unique_ptr<SceneObject>> objects;
  std::int32_t enemyTypeCount = 0;
  TimerFrameIndependency frameTimer{1000.0f};
  float fadeRate;  // opacity lost per second; infinite: removed at the next pass
  std::vector<ObjectId> fadingObjects;
};
