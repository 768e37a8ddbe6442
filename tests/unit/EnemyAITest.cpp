#include "game/EnemyAI.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "GameplayTestWorld.h"
#include "support/ConfigFixture.h"
#include "support/FakeClock.h"

namespace {

// Every enemy walks 1 unit per update: speed 10, frames of 0.1 s.
constexpr float kSpeed = 10.0f;
constexpr double kFrame = 0.1;
constexpr ObjectId kEnemy = 1;

const Vec3 kLowerTop(21.0f, 5.0f, -20.0f);
const Vec3 kLowerFoot(21.0f, 0.0f, -6.0f);
const Vec3 kLowerApproach(21.0f, 0.0f, -4.0f);
const Vec3 kUpperTop(-20.0f, 10.0f, -20.0f);
const Vec3 kUpperApproach(14.0f, 5.0f, -20.0f);

// Where one update's step from `from` towards the goal's x and z ends.
Vec3 stepTowards(const Vec3& from, const Vec3& goal) {
  const Vec3 heading = glm::normalize(Vec3(goal.x - from.x, 0.0f, goal.z - from.z));
  return from + heading;
}

void expectNear(const Vec3& actual, const Vec3& expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-4f);
  EXPECT_NEAR(actual.y, expected.y, 1e-4f);
  EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

}  // namespace

class EnemyBehaviour : public ConfigFixture {
 protected:
  // The character (id 0) and the enemies are unit cubes centred on their positions.
  void build(const Vec3& character) {
    load(kGameplayOctreeKeys);
    world = std::make_unique<GameplayTestWorld>();
    world->addCube(0, character, 0.5f);
    ai = std::make_unique<EnemyAI>(&world->pm(), &world->properties,
                                   [this](ObjectId id) { onContact(id); });
    ai->mainCharacterId = 0;
  }
  void addEnemy(ObjectId id, const Vec3& position) {
    world->addCube(id, position, 0.5f, {kSpeed, 30, 30, 1.0f, 5});
    ai->addEnemy(id);
  }
  void update(double seconds = kFrame) {
    clock.advance(seconds);
    ai->update();
  }
  Vec3 position(ObjectId id) { return world->pm().position(id); }

  virtual void onContact(ObjectId id) { contacts.push_back(id); }

  FakeClock clock;
  std::unique_ptr<GameplayTestWorld> world;
  std::unique_ptr<EnemyAI> ai;
  std::vector<ObjectId> contacts;
};

TEST_F(EnemyBehaviour, OnTheSameLevelChasesTheCharacterDirectlyAndFacesIt) {
  // From either side and whether it faced +z or -z, it turns to face the
  // character: the turn's sign depends on both.
  for (const float side : {1.0f, -1.0f})
    for (const float facing : {0.0f, 3.14159274f}) {
      SCOPED_TRACE(std::to_string(side) + " facing " + std::to_string(facing));
      build(Vec3(0.0f));
      addEnemy(kEnemy, Vec3(6.0f * side, 0.0f, 8.0f));
      world->pm().setFacing(kEnemy, facing);
      update();
      expectNear(position(kEnemy), Vec3(5.4f * side, 0.0f, 7.2f));
      const float turned = world->pm().facing(kEnemy);
      EXPECT_NEAR(std::sin(turned), -0.6f * side, 1e-4f);
      EXPECT_NEAR(std::cos(turned), -0.8f, 1e-4f);
    }
}

TEST_F(EnemyBehaviour, OneStepHeadsForTheGoalOfItsLevel) {
  const struct {
    const char* name;
    Vec3 enemy;
    Vec3 character;
    Vec3 goal;
  } cases[] = {
      {"0.2 above is the same level", Vec3(0.0f, 0.0f, 10.0f), Vec3(0.0f, 0.2f, -10.0f), Vec3(0.0f, 0.2f, -10.0f)},
      {"0.2 below is the same level", Vec3(0.0f, 0.2f, 10.0f), Vec3(0.0f, 0.0f, -10.0f), Vec3(0.0f, 0.0f, -10.0f)},
      {"just over 0.2 above: the lower stairs", Vec3(0.0f, 0.0f, 10.0f), Vec3(0.0f, 0.21f, -10.0f), kLowerApproach},
      {"just over 0.2 below: the lower foot", Vec3(0.0f, 0.21f, 10.0f), Vec3(0.0f, 0.0f, -10.0f), kLowerFoot},
      {"middle level, character above", Vec3(0.0f, 5.5f, 0.0f), Vec3(0.0f, 10.0f, 10.0f), kUpperApproach},
      {"exactly at 5, character above", Vec3(0.0f, 5.0f, 0.0f), Vec3(0.0f, 10.0f, 10.0f), kUpperTop},
      {"middle level, character below", Vec3(0.0f, 5.5f, 0.0f), Vec3(0.0f, 0.0f, 10.0f), kLowerTop},
      {"top level, character below", Vec3(0.0f, 10.5f, 0.0f), Vec3(0.0f, 0.0f, 10.0f), kUpperTop},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    build(c.character);
    addEnemy(kEnemy, c.enemy);
    update();
    expectNear(position(kEnemy), stepTowards(c.enemy, c.goal));
  }
}

TEST_F(EnemyBehaviour, AGoalStraightBelowSkipsThatUpdatesMoveAndTurn) {
  build(Vec3(0.0f, 5.0f, 30.0f));
  addEnemy(kEnemy, kLowerApproach);  // the enemy stands on its first waypoint
  world->pm().setFacing(kEnemy, 1.0f);
  update();
  EXPECT_EQ(position(kEnemy), kLowerApproach);
  EXPECT_FLOAT_EQ(world->pm().facing(kEnemy), 1.0f);
  update();  // the waypoint counts as reached: on to the foot
  expectNear(position(kEnemy), stepTowards(kLowerApproach, kLowerFoot));
}

TEST_F(EnemyBehaviour, EachAxisMovesOnItsOwnAndABlockedEnemyStillTurns) {
  // The enemy at the origin heads for (10, 0, 10); a step of 0.2 in 0.02 s is
  // (0.1414, 0, 0.1414), and its cylinder's radius is 0.7071.
  const float d = 0.2f * std::sqrt(0.5f);
  const struct Wall {
    Vec3 center;
    Vec3 halfExtents;
  } xWall{Vec3(1.25f, 0.0f, -1.0f), Vec3(0.5f, 0.5f, 1.3f)},  // x from 0.75 to 1.75
      zWall{Vec3(-1.0f, 0.0f, 1.25f), Vec3(1.3f, 0.5f, 0.5f)};  // z from 0.75 to 1.75
  const struct {
    const char* name;
    std::vector<Wall> walls;
    Vec3 expected;
  } cases[] = {
      {"free", {}, Vec3(d, 0.0f, d)},
      {"blocked in x still moves z from the old x", {xWall}, Vec3(0.0f, 0.0f, d)},
      {"blocked in z keeps the x move", {zWall}, Vec3(d, 0.0f, 0.0f)},
      {"blocked in both stays", {xWall, zWall}, Vec3(0.0f)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    build(Vec3(10.0f, 0.0f, 10.0f));
    for (std::size_t i = 0; i < c.walls.size(); ++i)
      world->addBox(50 + static_cast<ObjectId>(i), c.walls[i].center, c.walls[i].halfExtents);
    addEnemy(kEnemy, Vec3(0.0f));
    update(0.02);
    expectNear(position(kEnemy), c.expected);
    EXPECT_NEAR(world->pm().facing(kEnemy), 0.7854f, 1e-3f);
  }
}

// After a pause the whole paused time is one step: it goes in sub-steps
// shorter than the wall and the enemy together, so the wall still holds it.
TEST_F(EnemyBehaviour, ALongStepAfterAPauseStopsAtAWall) {
  build(Vec3(0.0f, 0.0f, 20.0f));
  world->addBox(50, Vec3(0.0f, 0.0f, 5.0f), Vec3(5.0f, 0.5f, 0.05f));  // a thin wall, z 4.95 to 5.05
  addEnemy(kEnemy, Vec3(0.0f));
  update(20.0);  // 200 units in one update
  EXPECT_LT(position(kEnemy).z, 4.95f - 0.7071f);
  EXPECT_GT(position(kEnemy).z, 4.95f - 0.7071f - 1.6f);
}

// The contact handler looks at both enemies and may unregister the one reported,
// as the game logic does when the character is in flight.
class EnemyContacts : public EnemyBehaviour {
 protected:
  void onContact(ObjectId id) override {
    contacts.push_back(id);
    secondEnemyAtContact.push_back(position(2));
    if (id == removeOnContact) ai->removeEnemy(id);
  }
  std::vector<Vec3> secondEnemyAtContact;
  ObjectId removeOnContact = kNoObject;
};

TEST_F(EnemyContacts, AreReportedAfterAllMovesInStorageOrder) {
  build(Vec3(0.0f));
  addEnemy(1, Vec3(0.0f, 0.0f, 2.0f));   // its z move runs into the character
  addEnemy(2, Vec3(0.3f, 0.0f, -2.0f));  // its x move is free, its z move runs into the character
  removeOnContact = 1;
  update();
  EXPECT_EQ(contacts, (std::vector<ObjectId>{1, 2}));
  ASSERT_EQ(secondEnemyAtContact.size(), 2u);
  EXPECT_LT(secondEnemyAtContact[0].x, 0.3f);  // enemy 2 had moved before enemy 1 was reported

  const Vec3 removedAt = position(1);
  update();
  EXPECT_EQ(contacts, (std::vector<ObjectId>{1, 2, 2}));
  EXPECT_EQ(position(1), removedAt);
}
