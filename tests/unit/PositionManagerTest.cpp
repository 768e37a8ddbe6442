#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "PhysicsTestWorld.h"

namespace {

class Positions : public ConfigFixture {
 protected:
  void SetUp() override { load(kOctreeKeys); }
};

const Vec3 kDown(0.0f, -0.2f, 0.0f);

}  // namespace

TEST_F(Positions, FacingWrapsIntoTheTurnRange) {
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  const std::vector<std::pair<float, float>> cases = {
      {-0.5f, 5.7831f}, {7.0f, 0.7169f}, {0.0f, 0.0f}, {6.2831f, 0.0f}, {3.0f, 3.0f}, {-6.3f, 6.2662f}};
  for (const auto& [angle, stored] : cases) {
    SCOPED_TRACE(angle);
    world.pm().setFacing(0, angle);
    EXPECT_NEAR(world.pm().facing(0), stored, 1e-5f);
    EXPECT_GE(world.pm().facing(0), 0.0f);
    EXPECT_LT(world.pm().facing(0), kAngleWrap);
  }
}

TEST_F(Positions, ModelMatrixTranslatesAfterFacingRotationAndScale) {
  PhysicsTestWorld world;
  BoundingBox& box = world.addCharacter(0, Vec3(0.0f));
  world.pm().setTransform(0, Vec3(1.0f, 2.0f, 3.0f), 90.0f, 2.0f);
  world.pm().setFacing(0, 90.0f * kDegToRad);
  // Two quarter turns and a doubling take the model point (1, 0, 0) to (-2, 0, 0).
  const Vec3 moved(world.pm().modelMatrix(0) * Vec4(1.0f, 0.0f, 0.0f, 1.0f));
  EXPECT_NEAR(glm::distance(moved, Vec3(-1.0f, 2.0f, 3.0f)), 0.0f, 1e-5f);
  EXPECT_NEAR(glm::distance(world.pm().direction(0), Vec3(1.0f, 0.0f, 0.0f)), 0.0f, 1e-6f);
  // The octree's world box follows.
  EXPECT_NEAR(box.getWorldMax().y, 6.0f, 1e-5f);
}

TEST_F(Positions, UnplacedIdsThrowOutOfRangeExceptForSetTransformAndErase) {
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  PositionManager& pm = world.pm();
  EXPECT_NO_THROW(pm.setTransform(9, Vec3(1.0f), 0.0f, 1.0f));
  EXPECT_NO_THROW(pm.erase(9));
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"position", [&] { pm.position(9); }},
      {"facing", [&] { pm.facing(9); }},
      {"direction", [&] { pm.direction(9); }},
      {"setFacing", [&] { pm.setFacing(9, 1.0f); }},
      {"moveTo", [&] { pm.moveTo(9, Vec3(1.0f)); }},
      {"moveBy", [&] { pm.moveBy(9, Vec3(1.0f)); }},
      {"place", [&] { pm.place(9, Vec3(1.0f)); }},
      {"modelMatrix", [&] { pm.modelMatrix(9); }},
      {"registerFloor", [&] { pm.registerFloor(9); }},
      {"registerStairs", [&] { pm.registerStairs(9); }},
  };
  for (const auto& [name, call] : cases) {
    SCOPED_TRACE(name);
    EXPECT_THROW(call(), std::out_of_range);
  }
}

TEST_F(Positions, ABlockedMoverDoesNotMoveAtAll) {
  PhysicsTestWorld world;
  BoundingBox& mover = world.addCharacter(0, Vec3(0.0f));
  world.add(5, Vec3(0.0f, 0.0f, -3.0f), Vec3(2.0f, 3.0f, 3.0f), Vec3(2.0f, 0.0f, 0.0f));  // wall at x 2..4
  world.pm().setFacing(0, 1.0f);
  const Mat4 before = world.pm().modelMatrix(0);

  const MoveResult blocked = world.pm().moveTo(0, Vec3(1.5f, 0.0f, 0.5f));
  EXPECT_FALSE(blocked.moved);
  EXPECT_EQ(blocked.otherId, 5u);
  EXPECT_EQ(blocked.kind, 1);
  EXPECT_EQ(world.pm().position(0), Vec3(0.0f));
  EXPECT_EQ(world.pm().modelMatrix(0), before);
  EXPECT_EQ(mover.getModelMatrix(), before);

  const MoveResult free = world.pm().moveBy(0, Vec3(1.0f, 0.0f, 0.5f));
  EXPECT_TRUE(free.moved);
  EXPECT_EQ(free.otherId, kNoObject);
  EXPECT_EQ(free.kind, 0);
  EXPECT_EQ(world.pm().position(0), Vec3(1.0f, 0.0f, 0.5f));
  EXPECT_NEAR(world.pm().facing(0), 1.0f, 1e-6f);  // facing survives the move
}

TEST_F(Positions, TheTreeIsAskedBeforeTheFloors) {
  PhysicsTestWorld world;
  world.addFloor(9, 0.0f);
  world.addCharacter(0, Vec3(0.0f));
  world.addCharacter(1, Vec3(1.2f, 0.0f, 0.0f));  // an enemy beside it

  const MoveResult both = world.pm().moveTo(0, Vec3(0.2f, -0.1f, 0.0f));
  EXPECT_FALSE(both.moved);
  EXPECT_EQ(both.otherId, 1u);

  const MoveResult floorOnly = world.pm().moveTo(0, Vec3(-1.0f, -0.1f, 0.0f));
  EXPECT_FALSE(floorOnly.moved);
  EXPECT_EQ(floorOnly.otherId, 9u);
  EXPECT_EQ(floorOnly.kind, 1);
  EXPECT_EQ(world.pm().position(0), Vec3(0.0f));
}

struct RampCase {
  const char* name;
  Vec3 target;
  float liftedY;
};

TEST_F(Positions, StairsLiftTheWalkerOntoTheirSurface) {
  PhysicsTestWorld world;
  // Along z: world box x -2..2, y 0..5, z -20..-6 (start -20, end -6, length 14).
  world.add(7, Vec3(-2.0f, 0.0f, -7.0f), Vec3(2.0f, 5.0f, 7.0f), Vec3(0.0f, 0.0f, -13.0f));
  world.pm().registerStairs(7);
  world.addCharacter(0, Vec3(10.0f, 0.0f, 10.0f));
  const std::vector<RampCase> cases = {
      {"middle of the ramp", Vec3(0.0f, 0.0f, -13.0f), 2.5f},
      {"beyond the start the surface is the top", Vec3(0.0f, 1.0f, -20.3f), 5.0f},
      {"beyond the end the surface is the bottom", Vec3(0.0f, 1.0f, -5.5f), 0.0f},
      {"above the surface the lift is negative", Vec3(0.0f, 4.0f, -13.0f), 2.5f},
      {"quarter way up", Vec3(1.0f, 0.5f, -9.5f), 1.25f},
  };
  for (const RampCase& c : cases) {
    SCOPED_TRACE(c.name);
    const MoveResult result = world.pm().moveTo(0, c.target);
    EXPECT_TRUE(result.moved);
    EXPECT_EQ(result.otherId, 7u);
    EXPECT_EQ(result.kind, 1);
    const Vec3 now = world.pm().position(0);
    EXPECT_NEAR(now.y, c.liftedY, 1e-5f);
    EXPECT_EQ(now.x, c.target.x);
    EXPECT_EQ(now.z, c.target.z);
  }
}

TEST_F(Positions, RampAxisFollowsTheLongerSideAndASquareClimbsAlongZ) {
  PhysicsTestWorld world;
  // Along x: x 10..20 (longer), z -1..1, height 2.
  world.add(7, Vec3(-5.0f, 0.0f, -1.0f), Vec3(5.0f, 2.0f, 1.0f), Vec3(15.0f, 0.0f, 0.0f));
  world.pm().registerStairs(7);
  // Square 4 x 4 at the origin, height 4: along z, start -2, end 2.
  world.add(8, Vec3(-2.0f, 0.0f, -2.0f), Vec3(2.0f, 4.0f, 2.0f), Vec3(0.0f, 0.0f, 30.0f));
  world.pm().registerStairs(8);
  world.addCharacter(0, Vec3(-10.0f, 0.0f, -10.0f));

  world.pm().moveTo(0, Vec3(12.5f, 0.0f, 0.0f));  // u = 20 - 12.5 = 7.5 of 10
  EXPECT_NEAR(world.pm().position(0).y, 1.5f, 1e-5f);
  world.pm().moveTo(0, Vec3(1.5f, 0.0f, 29.0f));  // u = 32 - 29 = 3 of 4 (x would give 0.5)
  EXPECT_NEAR(world.pm().position(0).y, 3.0f, 1e-5f);
}

struct FreeCase {
  const char* name;
  Vec3 min, max;
  bool free;
};

TEST_F(Positions, IsFreeAgainstStrictOverlapEvenWithASingleObject) {
  {
    PhysicsTestWorld empty;
    EXPECT_TRUE(empty.pm().isFree(Vec3(-1.0f), Vec3(1.0f)));
  }
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));  // x -0.5..0.5, y 0..2, z -0.5..0.5
  const std::vector<FreeCase> alone = {
      {"overlapping the only object", Vec3(0.0f), Vec3(1.0f), false},
      {"touching its face", Vec3(0.5f, 0.0f, -0.5f), Vec3(1.5f, 2.0f, 0.5f), true},
      {"beside it", Vec3(3.0f), Vec3(4.0f), true},
  };
  for (const FreeCase& c : alone) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(world.pm().isFree(c.min, c.max), c.free);
  }
  world.addFloor(9, 0.0f);
  EXPECT_FALSE(world.pm().isFree(Vec3(5.0f, -0.5f, 5.0f), Vec3(6.0f, 0.5f, 6.0f)));  // the floor counts
  EXPECT_TRUE(world.pm().isFree(Vec3(5.0f, 0.0f, 5.0f), Vec3(6.0f, 1.0f, 6.0f)));     // standing on it
}

TEST_F(Positions, GravityMovesTheListAndFloorsHold) {
  PhysicsTestWorld world;
  world.addFloor(9, 0.0f);
  world.addCharacter(0, Vec3(0.0f, 0.0f, 0.0f));   // standing on the floor
  world.addCharacter(1, Vec3(5.0f, 3.0f, 0.0f));   // in the air
  EXPECT_EQ(world.pm().getGravityIds(), (std::vector<ObjectId>{0, 1}));
  world.pm().applyGravity(kDown);
  EXPECT_EQ(world.pm().position(0), Vec3(0.0f));
  EXPECT_NEAR(world.pm().position(1).y, 2.8f, 1e-6f);
  world.pm().removeFromGravity(1);
  world.pm().applyGravity(kDown);
  EXPECT_NEAR(world.pm().position(1).y, 2.8f, 1e-6f);
}

struct LandingCase {
  const char* name;
  bool onEnemy;  // otherwise straight onto the floor
  std::vector<ObjectId> reported;
};

TEST_F(Positions, LandingOnATreeObjectIsReportedAndOnAFloorIsNot) {
  const std::vector<LandingCase> cases = {
      {"onto an enemy", true, {1}},
      {"onto the floor", false, {}},
  };
  for (const LandingCase& c : cases) {
    SCOPED_TRACE(c.name);
    PhysicsTestWorld world;
    world.addFloor(9, 0.0f);
    world.addCharacter(0, Vec3(c.onEnemy ? 0.0f : 5.0f, 3.0f, 0.0f));
    world.addCharacter(1, Vec3(0.0f));  // the enemy stands on the floor
    std::vector<ObjectId> reported;
    world.pm().setLandingWatch(0, [&](ObjectId other) { reported.push_back(other); });
    for (int frame = 0; frame < 10; ++frame) world.pm().applyGravity(Vec3(0.0f, -0.15f, 0.0f));
    // 3 - 2 (enemy top) = 1 unit: 6 falls of 0.15 leave the sole 0.1 above; the 7th would sink in.
    EXPECT_GT(world.pm().position(0).y, c.onEnemy ? 2.0f : 0.0f - 1e-6f);
    ASSERT_FALSE(reported.empty() && c.onEnemy);
    if (c.onEnemy) {
      EXPECT_EQ(reported.front(), 1u);
      EXPECT_EQ(reported.size(), 4u);  // refused, and reported, every frame from the 7th on
    } else {
      EXPECT_TRUE(reported.empty());
    }
  }
}

TEST_F(Positions, ALandingWithoutCallbackThrowsBadFunctionCall) {
  PhysicsTestWorld world;
  world.addFloor(9, 0.0f);
  world.addCharacter(1, Vec3(0.0f));
  world.addCharacter(0, Vec3(0.0f, 2.1f, 0.0f));
  world.pm().setLandingWatch(0, nullptr);
  EXPECT_THROW(world.pm().applyGravity(kDown), std::bad_function_call);
}

TEST_F(Positions, ALandingThatRemovesTheEnemyFromGravityIsSafe) {
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f, 2.1f, 0.0f));
  world.addCharacter(1, Vec3(0.0f));
  world.addCharacter(2, Vec3(5.0f, 1.0f, 0.0f));
  PositionManager& pm = world.pm();
  // What the game logic does on a landing: the enemy leaves the octree and gravity.
  pm.setLandingWatch(0, [&](ObjectId other) {
    pm.removeFromGravity(other);
    pm.octree().remove(other);
  });
  EXPECT_NO_THROW(pm.applyGravity(kDown));
  EXPECT_EQ(pm.getGravityIds(), (std::vector<ObjectId>{0, 2}));
  EXPECT_EQ(pm.position(1), Vec3(0.0f));           // the removed enemy was not moved
  EXPECT_NEAR(pm.position(2).y, 0.8f, 1e-6f);      // later objects still fall
}

TEST_F(Positions, EraseForgetsTheObjectEverywhere) {
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  world.addCharacter(1, Vec3(1.2f, 0.0f, 0.0f));
  world.pm().erase(1);
  EXPECT_NO_THROW(world.pm().applyGravity(kDown));
  EXPECT_FALSE(world.pm().octree().contains(1));
  EXPECT_TRUE(world.pm().moveTo(0, Vec3(1.2f, -0.2f, 0.0f)).moved);
}

TEST_F(Positions, FloorsAndStairsLeaveGravityAndTheTree) {
  PhysicsTestWorld world;
  world.addFloor(9, 0.0f);
  world.add(7, Vec3(-1.0f), Vec3(1.0f), Vec3(3.0f, 1.0f, 0.0f));
  world.pm().registerStairs(7);
  EXPECT_TRUE(world.pm().getGravityIds().empty());
  EXPECT_TRUE(world.pm().octree().isUntreed(9));
  EXPECT_TRUE(world.pm().octree().isUntreed(7));
  std::vector<ObjectId> filed;
  world.pm().octree().getRoot().collectAll(filed);
  EXPECT_TRUE(filed.empty());
}
