#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "GameLogicFixture.h"
#include "game/EnemyAI.h"

namespace {

// Three start boxes of 1 x 1 x 1 away from the character at the origin.
const std::map<std::string, std::string> kThreeStartPoints = {
    {"gamelogicmanager.startpoints", "3"},
    {"gamelogicmanager.startpoint1.min.x", "10"}, {"gamelogicmanager.startpoint1.min.y", "0"},
    {"gamelogicmanager.startpoint1.min.z", "10"}, {"gamelogicmanager.startpoint2.min.x", "20"},
    {"gamelogicmanager.startpoint2.min.y", "0"},  {"gamelogicmanager.startpoint2.min.z", "10"},
    {"gamelogicmanager.startpoint3.min.x", "30"}, {"gamelogicmanager.startpoint3.min.y", "0"},
    {"gamelogicmanager.startpoint3.min.z", "10"},
};
const Vec3 kBox1(10.0f, 0.0f, 10.0f);
const Vec3 kBox2(20.0f, 0.0f, 10.0f);
const Vec3 kBox3(30.0f, 0.0f, 10.0f);

std::map<std::string, std::string> withStartPoints(std::map<std::string, std::string> overrides) {
  overrides.insert(kThreeStartPoints.begin(), kThreeStartPoints.end());
  return overrides;
}

}  // namespace

using Spawning = GameLogicFixture;

TEST_F(Spawning, NeverSpawnsWithoutLimitOrStartPoints) {
  const struct {
    const char* name;
    std::map<std::string, std::string> overrides;
  } cases[] = {
      {"limit 0", withStartPoints({{"gamelogicmanager.enemy.limit", "0"}})},
      {"negative limit", withStartPoints({{"gamelogicmanager.enemy.limit", "-1"}})},
      {"no start points", {{"gamelogicmanager.startpoints", "0"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    spawned.clear();
    build(c.overrides);
    EXPECT_FALSE(logic->spawnsEnemies());
    for (int i = 0; i < 5; ++i) logic->spawnEnemy();
    EXPECT_TRUE(spawned.empty());
    EXPECT_TRUE(logic->liveEnemies().empty());
  }
}

// Settings at their edges keep their meaning: no upper limit, an interval of
// 0 tries a spawn on every update, a box without volume overlaps nothing.
TEST_F(Spawning, EdgeSettingsKeepTheirMeaning) {
  build(withStartPoints({{"gamelogicmanager.enemy.limit", "2000000000"},
                         {"gamelogicmanager.enemy.interval", "0"},
                         {"gamelogicmanager.startpoints.size.y", "0"}}));
  const Vec3 boxes[] = {kBox1, kBox2, kBox3};
  for (ObjectId i = 0; i < 3; ++i) world->addCube(50 + i, boxes[i] + Vec3(0.5f), 0.4f);  // would block boxes of volume
  startPlaying();
  for (int i = 0; i < 3; ++i) frame(0.001);
  EXPECT_GE(spawned.size(), 3u);
}

TEST_F(Spawning, EveryBoxOccupiedSpawnsNothingUntilOneIsFreed) {
  build(withStartPoints({}));
  const Vec3 boxes[] = {kBox1, kBox2, kBox3};
  for (ObjectId i = 0; i < 3; ++i) world->addCube(50 + i, boxes[i] + Vec3(0.5f), 0.2f);
  logic->spawnEnemy();
  logic->spawnEnemy();
  EXPECT_TRUE(spawned.empty());
  EXPECT_TRUE(logic->liveEnemies().empty());

  world->pm().place(51, Vec3(-40.0f, 0.0f, -40.0f));
  logic->spawnEnemy();
  ASSERT_EQ(spawned.size(), 1u);
  EXPECT_EQ(world->pm().position(spawned[0]), kBox2);
}

TEST_F(Spawning, AtMostOneEnemyPerFiringAndNoneBeyondTheLimitUntilOneIsRemoved) {
  build(withStartPoints({{"gamelogicmanager.enemy.limit", "2"}}));
  logic->spawnEnemy();
  EXPECT_EQ(spawned.size(), 1u);
  logic->spawnEnemy();
  ASSERT_EQ(spawned.size(), 2u);
  EXPECT_NE(world->pm().position(spawned[0]), world->pm().position(spawned[1]));

  logic->spawnEnemy();  // a box is still free, but the limit is reached
  EXPECT_EQ(spawned.size(), 2u);

  logic->removeEnemy(spawned[0]);
  EXPECT_EQ(removed, std::vector<ObjectId>{spawned[0]});
  EXPECT_EQ(logic->liveEnemies(), std::vector<ObjectId>{spawned[1]});
  logic->spawnEnemy();
  ASSERT_EQ(spawned.size(), 3u);
  EXPECT_EQ(logic->liveEnemies(), (std::vector<ObjectId>{spawned[1], spawned[2]}));
}

TEST_F(Spawning, EachShuffleStartsFromThePreviousOrder) {
  build(withStartPoints({{"gamelogicmanager.enemy.limit", "10"}}));
  // Always drawing 0 turns [1, 2, 3] into [2, 3, 1]; applied to the kept order
  // the first box cycles 2, 3, 1. Restarting from the configured order would give 2, 2, 2.
  logic->setRandomSource([] { return 0; });
  std::vector<Vec3> firstBoxes;
  for (int i = 0; i < 3; ++i) {
    logic->spawnEnemy();
    ASSERT_EQ(spawned.size(), static_cast<std::size_t>(i + 1));
    firstBoxes.push_back(world->pm().position(spawned.back()));
    world->pm().place(spawned.back(), Vec3(-40.0f, 0.0f, -40.0f - 3.0f * i));  // free the box again
  }
  EXPECT_EQ(firstBoxes, (std::vector<Vec3>{kBox2, kBox3, kBox1}));
}

TEST_F(Spawning, TheStartDelayHoldsEverythingAndTheFirstFrameAfterItOnlyTicks) {
  build(withStartPoints({{"gamelogicmanager.enemy.interval", "0.5"},
                         {"gamelogicmanager.jetpack.duration", "5"}}));
  world->addCube(60, Vec3(0.0f, 0.0f, 5.0f), 0.5f, {0.0f, 1000, 0, 1.0f, 0});  // in the line of fire
  logic->pressTrigger();
  for (int i = 0; i < 7; ++i) frame(0.5);  // t = 3.5
  clock.advance(0.25);
  logic->startJetpack();
  frame(0.25);  // t = 4.0: the delay ends, nothing else happens
  EXPECT_TRUE(spawned.empty());
  EXPECT_EQ(record(60).health, 1000);
  EXPECT_FLOAT_EQ(characterHeight(), 0.0f);

  frame(0.25);  // first frame: the overdue spawn timer fires once
  EXPECT_EQ(spawned.size(), 1u);
  EXPECT_EQ(record(60).health, 1000);
  EXPECT_FLOAT_EQ(characterHeight(), 0.0f);

  frame(0.25);  // now the flight moves and the gun fires; the spawn timer catches up
  EXPECT_EQ(spawned.size(), 2u);
  EXPECT_EQ(record(60).health, 990);
  EXPECT_FLOAT_EQ(characterHeight(), 0.5f);
}

using Contacts = GameLogicFixture;

// A first delay holds back only the enemies: the gun works once the start
// delay is over, the first enemy comes at the delay, the next one interval on.
TEST_F(Spawning, AFirstDelayHoldsBackOnlyTheEnemies) {
  build(withStartPoints({{"gamelogicmanager.enemy.interval", "3"},
                         {"gamelogicmanager.enemy.firstdelay", "10"}}));
  world->addCube(60, Vec3(0.0f, 0.0f, 5.0f), 0.5f, {0.0f, 1000, 0, 1.0f, 0});  // in the line of fire
  logic->pressTrigger();
  startPlaying();  // t = 4.25
  frame(0.25);
  EXPECT_EQ(record(60).health, 990);
  for (int i = 0; i < 10; ++i) frame(0.5);  // t = 9.5
  EXPECT_TRUE(spawned.empty());
  frame(0.5);  // t = 10.0
  EXPECT_EQ(spawned.size(), 1u);
  frame(2.5);
  EXPECT_EQ(spawned.size(), 1u);
  frame(0.5);  // t = 13.0
  EXPECT_EQ(spawned.size(), 2u);
}

TEST_F(Contacts, DamageImmortalityFlightAndLoss) {
  const struct {
    const char* name;
    int health;
    bool flying;
    int contacts;  // with the first, second, ... spawned enemy, in one frame
    int expectedHealth;
    int expectedGameState;
    std::string expectedOutput;
    int expectedRemoved;  // the first n spawned enemies
  } cases[] = {
      {"a hit prints the new health, then immortality", 100, false, 2, 70, 0, "HIT: new health = 70.\n", 0},
      {"exactly zero ends the game and keeps the health", 30, false, 1, 30, 1, "", 0},
      {"two lethal contacts in one frame end the play once", 30, false, 2, 30, 1, "", 0},
      {"in flight the enemy dies and the contact still hurts", 100, true, 1, 70, 0, "HIT: new health = 70.\n", 1},
      {"in flight while immortal the enemy survives", 100, true, 2, 70, 0, "HIT: new health = 70.\n", 1},
      {"a lethal contact in flight", 30, true, 1, 30, 1, "", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    gameState = 0;
    spawned.clear();
    removed.clear();
    character.health = c.health;
    build(withStartPoints({}));
    startPlaying();
    logic->spawnEnemy();
    logic->spawnEnemy();
    if (c.flying) logic->startJetpack();
    frame(0.25);

    testing::internal::CaptureStdout();
    for (int i = 0; i < c.contacts; ++i) logic->onEnemyContact(spawned[i]);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.expectedOutput);
    EXPECT_EQ(record(0).health, c.expectedHealth);
    EXPECT_EQ(gameState, c.expectedGameState);
    EXPECT_EQ(removed, std::vector<ObjectId>(spawned.begin(), spawned.begin() + c.expectedRemoved));
    EXPECT_EQ(logic->points, 0);
  }
}

TEST_F(Contacts, ImmortalityLastsTheConfiguredTime) {
  build(withStartPoints({}));
  startPlaying();
  logic->spawnEnemy();
  testing::internal::CaptureStdout();
  logic->onEnemyContact(spawned[0]);
  for (int i = 0; i < 7; ++i) {
    frame(0.25);
    logic->onEnemyContact(spawned[0]);  // 0.25 .. 1.75 s after the hit: ignored
  }
  EXPECT_EQ(record(0).health, 70);
  frame(0.25);  // 2 s: immortality ends
  logic->onEnemyContact(spawned[0]);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "HIT: new health = 70.\nHIT: new health = 40.\n");
}

TEST_F(Contacts, LandingDestroysOnlyALiveEnemyAndAwardsNothing) {
  const struct {
    const char* name;
    bool enemyBelow;
  } cases[] = {{"an enemy", true}, {"a wall", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    spawned.clear();
    removed.clear();
    build(withStartPoints({}));
    ObjectId below = 60;
    if (c.enemyBelow) {
      logic->spawnEnemy();
      below = spawned[0];
    } else {
      world->addCube(below, kBox1, 0.4f, enemy);
    }
    // The character's sole hangs 0.08 above the top of the object below it.
    world->pm().place(0, world->pm().position(below) + Vec3(0.0f, 0.92f, 0.0f));
    world->pm().applyGravity(Vec3(0.0f, -0.05f, 0.0f));
    EXPECT_EQ(removed, c.enemyBelow ? std::vector<ObjectId>{below} : std::vector<ObjectId>{});
    EXPECT_TRUE(logic->liveEnemies().empty());
    EXPECT_EQ(logic->points, 0);
  }
}

using Jetpack = GameLogicFixture;

TEST_F(Jetpack, FliesForItsDurationThenWaitsForTheCooldown) {
  build();  // speed 2, duration 1, cooldown 3
  startPlaying();  // t = 4.25
  logic->startJetpack();
  std::vector<float> heights;
  for (int i = 0; i < 5; ++i) {
    frame(0.25);
    if (i == 1) logic->startJetpack();  // during the flight: no effect
    heights.push_back(characterHeight());
  }
  // The duration timer ends the flight at the update 1 s after the start.
  EXPECT_EQ(heights, (std::vector<float>{0.5f, 1.0f, 1.5f, 1.5f, 1.5f}));

  frame(0.5);  // t = 6.0, within the cooldown that began at 5.25
  logic->startJetpack();
  frame(0.25);
  EXPECT_FLOAT_EQ(characterHeight(), 1.5f);

  for (int i = 0; i < 8; ++i) frame(0.25);  // t = 8.25: the cooldown ends
  logic->startJetpack();
  frame(0.25);
  EXPECT_FLOAT_EQ(characterHeight(), 2.0f);
}

// A 20 s stall during a long flight lifts 40 units in one update: it goes in
// sub-steps shorter than the ceiling and the character together, so a thin
// ceiling above still holds the character.
TEST_F(Jetpack, ALongStepStopsUnderACeiling) {
  build({{"gamelogicmanager.jetpack.duration", "100"}});
  world->addBox(60, Vec3(0.0f, 3.0f, 0.0f), Vec3(5.0f, 0.05f, 5.0f));  // y 2.95..3.05
  startPlaying();
  logic->startJetpack();
  frame(20.0);
  EXPECT_LT(characterHeight(), 2.95f - 0.5f);
  EXPECT_GT(characterHeight(), 2.95f - 0.5f - 1.1f);
}

using Play = GameLogicFixture;

TEST_F(Play, StandingStillTheCharacterIsHuntedDownAndTheGameEnds) {
  enemy.speed = 3.0f;
  build(withStartPoints({{"gamelogicmanager.enemy.interval", "1"},
                         {"gamelogicmanager.immortalitytime", "0.5"}}));
  EnemyAI ai(&world->pm(), &world->properties, [this](ObjectId id) { logic->onEnemyContact(id); });
  afterSpawn = [&ai](ObjectId id) { ai.addEnemy(id); };
  afterRemove = [&ai](ObjectId id) { ai.removeEnemy(id); };
  testing::internal::CaptureStdout();
  while (gameState == 0 && clock.now() < 60.0) {
    clock.advance(0.05);
    logic->update();
    ai.update();
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "HIT: new health = 70.\nHIT: new health = 40.\nHIT: new health = 10.\n");
  EXPECT_EQ(gameState, 1);
  EXPECT_EQ(record(0).health, 10);
  EXPECT_FALSE(spawned.empty());
}
