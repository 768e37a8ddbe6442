#pragma once
// A game logic over a real PositionManager: the main character (id 0, a unit
// cube at the origin facing +z) and enemies that the spawn callback creates
// far away, as the scene manager would, before the logic moves them.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/GameState.h"
#include "game/GameLogicManager.h"
#include "support/ConfigFixture.h"
#include "support/FakeClock.h"
#include "GameplayTestWorld.h"

class GameLogicFixture : public ConfigFixture {
 protected:
  void SetUp() override { gameState = 0; }
  void TearDown() override {
    logic.reset();
    world.reset();
    gameState = 0;
    ConfigFixture::TearDown();
  }

  // Builds world and logic at the current clock time.
  void build(const std::map<std::string, std::string>& overrides = {}) {
    load(gameLogicConfig(overrides));
    world = std::make_unique<GameplayTestWorld>();
    world->addCube(0, Vec3(0.0f), 0.5f, character);
    logic = std::make_unique<GameLogicManager>(
        &world->pm(), &world->properties, [this] { return spawn(); },
        [this](ObjectId id) {
          removed.push_back(id);
          if (afterRemove) afterRemove(id);
          world->pm().withdraw(id);  // as the scene manager's fade-out does
        });
  }

  // The update that ends the 4-second start delay, then the first frame.
  void startPlaying(double firstFrameAfter = 0.25) {
    clock.advance(4.0);
    logic->update();
    frame(firstFrameAfter);
  }
  void frame(double seconds) {
    clock.advance(seconds);
    logic->update();
  }
  float characterHeight() { return world->pm().position(0).y; }
  ObjectProperties& record(ObjectId id) { return world->properties.at(id); }

  FakeClock clock;
  ObjectProperties character{0.0f, 100, 10, 1.0f, 0};
  ObjectProperties enemy{1.0f, 30, 30, 1.0f, 5};
  std::unique_ptr<GameplayTestWorld> world;
  std::unique_ptr<GameLogicManager> logic;
  std::vector<ObjectId> spawned;
  std::vector<ObjectId> removed;
  // What the graphic manager adds to spawning and removal (the enemy AI's part).
  std::function<void(ObjectId)> afterSpawn;
  std::function<void(ObjectId)> afterRemove;

 private:
  ObjectId spawn() {
    const ObjectId id = 100 + static_cast<ObjectId>(spawned.size());
    world->addCube(id, Vec3(60.0f, 0.0f, 60.0f), 0.4f, enemy);
    spawned.push_back(id);
    if (afterSpawn) afterSpawn(id);
    return id;
  }
};
