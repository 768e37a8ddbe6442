#pragma once
// Shared set-up of the game-logic, gun and enemy tests: cubes placed through a
// real PositionManager, their property records, and configuration texts.
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "common/ObjectProperties.h"
#include "game/PositionManager.h"
#include "scene/BoundingBox.h"

inline const std::string kGameplayOctreeKeys =
    "octree.max.levels = 4\n"
    "octree.start.xz = -64\n"
    "octree.start.y = -16\n"
    "octree.range = 128\n";

// Settings of the game logic and the rifle; a test overrides single keys.
inline std::string gameLogicConfig(const std::map<std::string, std::string>& overrides = {}) {
  std::map<std::string, std::string> keys = {
      {"gamelogicmanager.enemy.limit", "3"},
      {"gamelogicmanager.enemy.interval", "1000"},
      {"gamelogicmanager.startpoints", "0"},
      {"gamelogicmanager.startpoints.size.x", "1"},
      {"gamelogicmanager.startpoints.size.y", "1"},
      {"gamelogicmanager.startpoints.size.z", "1"},
      {"gamelogicmanager.immortalitytime", "2"},
      {"gamelogicmanager.jetpack.speed", "2"},
      {"gamelogicmanager.jetpack.duration", "1"},
      {"gamelogicmanager.jetpack.cooldown", "3"},
      {"gun.standard.automatic", "0"},
      {"gun.standard.dispersion.maximum", "0"},
      {"gun.standard.recoilcontrol.semiautomatic", "100"},
      {"gun.standard.recoilcontrol.automatic", "100"},
      {"gun.standard.recoilcontrol.steps", "0"},
      {"gun.rifle.magazine", "100"},
      {"gun.rifle.reloadtime", "1"},
      {"gun.rifle.cooldown", "0.25"},
  };
  for (const auto& [key, value] : overrides) keys[key] = value;
  std::string text = kGameplayOctreeKeys;
  for (const auto& [key, value] : keys) text += key + " = " + value + "\n";
  return text;
}

class GameplayTestWorld {
 public:
  GameplayTestWorld() : positions(std::make_unique<PositionManager>()) {}

  // A cube of the given half size centred on its position, with its record.
  void addCube(ObjectId id, const Vec3& position, float halfSize, const ObjectProperties& record = {}) {
    addBox(id, position, Vec3(halfSize), record);
  }
  // A box of the given half extents centred on its position, with its record.
  void addBox(ObjectId id, const Vec3& position, const Vec3& halfExtents, const ObjectProperties& record = {}) {
    BoundingBox& box = boxes.emplace_back("object" + std::to_string(id));
    box.compute(-halfExtents, halfExtents, 0.0f);
    positions->add(id, &box);
    positions->setTransform(id, position, 0.0f, 1.0f);
    properties[id] = record;
  }
  PositionManager& pm() { return *positions; }
  PropertyTable properties;

 private:
  std::deque<BoundingBox> boxes;  // stable addresses: the octree keeps pointers
  std::unique_ptr<PositionManager> positions;
};
