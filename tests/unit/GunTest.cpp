#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "GameLogicFixture.h"

namespace {

constexpr float kNoHit = -999.0f;

}  // namespace

// Targets on a fan in front of the character (which faces +z): a shot's
// deviation shows as the angle of the target that lost health.
class Gun : public GameLogicFixture {
 protected:
  void addFan(const std::vector<float>& degrees, float distance) {
    for (std::size_t i = 0; i < degrees.size(); ++i) {
      const float a = degrees[i] * kDegToRad;
      const ObjectId id = 200 + static_cast<ObjectId>(i);
      world->addCube(id, Vec3(distance * std::sin(a), 0.0f, distance * std::cos(a)), 0.3f,
                     {0.0f, 1000000, 0, 1.0f, 0});
      fan[id] = degrees[i];
    }
  }
  // The angle of the target hit since the last call, or kNoHit.
  float lastHit() {
    float angle = kNoHit;
    for (const auto& [id, degrees] : fan) {
      if (record(id).health != healthSeen[id]) angle = degrees;
      healthSeen[id] = record(id).health;
    }
    return angle;
  }
  void startWithFan(const std::map<std::string, std::string>& overrides, const std::vector<float>& degrees,
                    float distance) {
    build(overrides);
    addFan(degrees, distance);
    lastHit();
    startPlaying();
  }

  std::map<ObjectId, float> fan;
  std::map<ObjectId, int> healthSeen;
};

TEST_F(Gun, SemiAutomaticFiresOncePerPressAndHonoursTheCooldown) {
  startWithFan({}, {0.0f}, 10.0f);  // cooldown 0.25
  logic->pressTrigger();
  std::vector<float> hits;
  for (int i = 0; i < 6; ++i) {
    frame(0.25);
    hits.push_back(lastHit());
  }
  EXPECT_EQ(hits, (std::vector<float>{0.0f, kNoHit, kNoHit, kNoHit, kNoHit, kNoHit}));

  logic->releaseTrigger();
  logic->pressTrigger();
  frame(0.25);
  EXPECT_EQ(lastHit(), 0.0f);  // the cooldown had long passed
  logic->releaseTrigger();
  logic->pressTrigger();
  frame(0.125);
  EXPECT_EQ(lastHit(), kNoHit);  // half-way through the cooldown
  frame(0.125);
  EXPECT_EQ(lastHit(), 0.0f);
}

TEST_F(Gun, AutomaticFireLowersTheRecoilControlShotByShotDownToItsFloor) {
  // With dispersion maximum 100 and the lowest draw a shot at recoil control rc
  // deviates by exactly (100 - rc) degrees.
  startWithFan({{"gun.rifle.automatic", "1"},
                {"gun.standard.dispersion.maximum", "100"},
                {"gun.rifle.recoilcontrol.semiautomatic", "90"},
                {"gun.rifle.recoilcontrol.automatic", "50"},
                {"gun.rifle.recoilcontrol.steps", "10"}},
               {0.0f, 10.0f, 20.0f, 30.0f, 40.0f, 50.0f}, 20.0f);
  logic->setRandomSource([] { return 0; });
  const auto burst = [this](int shots) {
    logic->pressTrigger();
    std::vector<float> deviations;
    for (int i = 0; i < shots; ++i) {
      frame(0.25);
      deviations.push_back(lastHit());
    }
    logic->releaseTrigger();
    frame(0.25);
    return deviations;
  };
  // Recoil control 90, 90, 80, 70, 60, 50, 50.
  EXPECT_EQ(burst(7), (std::vector<float>{10.0f, 10.0f, 20.0f, 30.0f, 40.0f, 50.0f, 50.0f}));
  // Releasing does not restore the running value: 90, then the floor.
  EXPECT_EQ(burst(3), (std::vector<float>{10.0f, 50.0f, 50.0f}));
}

TEST_F(Gun, EmptyingTheMagazineReloadsInsteadOfCoolingDown) {
  const struct {
    const char* name;
    const char* magazine;
    std::vector<double> shotTimes;  // after the first shot; cooldown 0.25, reload 1
  } cases[] = {
      {"magazine 1 reloads after every shot", "1", {0.0, 1.0, 2.0, 3.0}},
      {"magazine 3", "3", {0.0, 0.25, 0.5, 1.5, 1.75, 2.0, 3.0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fan.clear();
    healthSeen.clear();
    startWithFan({{"gun.rifle.automatic", "1"}, {"gun.rifle.magazine", c.magazine}}, {0.0f}, 10.0f);
    logic->pressTrigger();
    const double start = clock.now() + 0.25;
    std::vector<double> shotTimes;
    for (int i = 0; i <= 12; ++i) {
      frame(0.25);
      if (lastHit() != kNoHit) shotTimes.push_back(clock.now() - start);
    }
    EXPECT_EQ(shotTimes, c.shotTimes);
  }
  // Magazine 1 after its shot: nothing to fire until the reload ends, and a
  // press meanwhile is an empty trigger.
  fan.clear();
  healthSeen.clear();
  startWithFan({{"gun.rifle.magazine", "1"}}, {0.0f}, 10.0f);
  std::vector<GameEventKind> events;
  logic->setEventSink([&](const GameEvent& e) { events.push_back(e.kind); });
  logic->pressTrigger();
  frame(0.25);
  ASSERT_EQ(events, (std::vector<GameEventKind>{GameEventKind::Shot, GameEventKind::ReloadStarted}));
  const PlayStatus reloading = logic->status();
  EXPECT_TRUE(reloading.reloading);
  EXPECT_EQ(reloading.rounds, 0);
  EXPECT_NEAR(reloading.reloadLeft, 1.0f, 1e-4f);
  logic->releaseTrigger();
  logic->pressTrigger();
  EXPECT_EQ(events.back(), GameEventKind::EmptyTrigger);
}

TEST_F(Gun, DeviationSpansPlusMinusTheSpreadInThousandthsOfADegree) {
  const struct {
    const char* name;
    const char* recoil;
    const char* dispersionMaximum;
    int draw;
    float expectedDegrees;  // the shot's angle from the facing direction
  } cases[] = {
      {"recoil control 100 never deviates", "100", "10", 12345, 0.0f},
      {"dispersion maximum 0 never deviates", "0", "0", 12345, 0.0f},
      {"recoil 90, maximum 10: lowest draw", "90", "10", 0, 1.0f},
      {"middle draw", "90", "10", 1000, 0.0f},
      {"highest draw", "90", "10", 2000, -1.0f},
      {"draws wrap modulo 2001", "90", "10", 2001, 1.0f},
      {"half a degree", "90", "10", 1500, -0.5f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fan.clear();
    healthSeen.clear();
    startWithFan({{"gun.rifle.recoilcontrol.semiautomatic", c.recoil},
                  {"gun.standard.dispersion.maximum", c.dispersionMaximum}},
                 {-1.0f, -0.5f, 0.0f, 0.5f, 1.0f}, 200.0f);
    const int draw = c.draw;
    logic->setRandomSource([draw] { return draw; });
    logic->pressTrigger();
    frame(0.25);
    EXPECT_EQ(lastHit(), c.expectedDegrees);
  }
}

TEST_F(Gun, OnlyALiveEnemyBroughtToZeroDiesAndScores) {
  const struct {
    const char* name;
    bool isEnemy;
    int health;  // the character's damage is 10
    bool removed;
    int points;
    int healthAfter;
    std::vector<GameEventKind> events;  // what the HUD and the audio are told
  } cases[] = {
      {"an enemy at exactly zero", true, 10, true, 5, 10, {GameEventKind::EnemyKilled, GameEventKind::Shot}},
      {"an enemy left with 1", true, 11, false, 0, 1, {GameEventKind::EnemyHit, GameEventKind::Shot}},
      {"a wall at zero stays and scores nothing", false, 10, false, 0, 0, {GameEventKind::Shot}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    spawned.clear();
    removed.clear();
    enemy.health = c.health;
    build({{"gamelogicmanager.startpoints", "1"},
           {"gamelogicmanager.startpoint1.min.x", "0"},
           {"gamelogicmanager.startpoint1.min.y", "0"},
           {"gamelogicmanager.startpoint1.min.z", "10"}});
    ObjectId target = 60;
    if (c.isEnemy) {
      logic->spawnEnemy();
      target = spawned.at(0);
    } else {
      world->addCube(target, Vec3(0.0f, 0.0f, 10.0f), 0.4f, enemy);
    }
    startPlaying();
    EXPECT_EQ(logic->aim().target, target);
    EXPECT_NEAR(logic->aim().along, 10.0f, 1e-4f);
    std::vector<GameEvent> events;
    logic->setEventSink([&](const GameEvent& e) { events.push_back(e); });
    logic->setEnemyTypeSource([&](ObjectId id) { return id == target && c.isEnemy ? "enemy.crawler" : ""; });
    logic->pressTrigger();
    frame(0.25);
    std::vector<GameEventKind> kinds;
    for (const GameEvent& e : events) kinds.push_back(e.kind);
    EXPECT_EQ(kinds, c.events);
    // An enemy's event happens at the enemy, with its type; the shot at the character.
    EXPECT_EQ(events.back().position, world->pm().position(0));
    if (c.isEnemy) {
      EXPECT_EQ(events.at(0).position, world->pm().position(target));
      EXPECT_EQ(events.at(0).enemyType, "enemy.crawler");
    }
    if (c.removed) EXPECT_EQ(events.at(0).value, c.points);
    EXPECT_EQ(removed.empty(), !c.removed);
    EXPECT_EQ(logic->points, c.points);
    EXPECT_EQ(record(target).health, c.healthAfter);
    EXPECT_EQ(logic->liveEnemies().empty(), c.isEnemy == c.removed);
  }
}

TEST_F(Gun, AMissDamagesNothingButUsesTheRound) {
  build({{"gun.rifle.magazine", "2"}});  // cooldown 0.25, reload 1
  world->addCube(60, Vec3(0.0f, 0.0f, -10.0f), 0.4f, {0.0f, 100, 0, 1.0f, 0});  // behind the character
  startPlaying();
  logic->pressTrigger();
  frame(0.25);  // nothing in front: a miss
  EXPECT_EQ(record(60).health, 100);

  world->pm().setFacing(0, 3.14159f);
  logic->releaseTrigger();
  logic->pressTrigger();
  frame(0.25);  // the miss's cooldown has passed: the second and last round
  EXPECT_EQ(record(60).health, 90);

  logic->releaseTrigger();
  logic->pressTrigger();
  for (int i = 0; i < 3; ++i) frame(0.25);
  EXPECT_EQ(record(60).health, 90);  // reloading
  frame(0.25);
  EXPECT_EQ(record(60).health, 80);
}
