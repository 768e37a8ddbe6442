#include <gtest/gtest.h>

#include <functional>
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

TEST_F(Positions, FacingWrapsAndTheModelTurnsBeforeItMoves) {
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  for (const auto& [angle, stored] : std::vector<std::pair<float, float>>{
           {-0.5f, 5.7831f}, {7.0f, 0.7169f}, {6.2831f, 0.0f}, {-6.3f, 6.2662f}}) {
    SCOPED_TRACE(angle);
    world.pm().setFacing(0, angle);
    EXPECT_NEAR(world.pm().facing(0), stored, 1e-5f);
  }
  // Far beyond 64 turns the result is still the one of stepping by 6.2831 in
  // single precision, which differs from the exact remainder (by 26 degrees
  // for 1e5 radians); the values are the stepping loop's own.
  for (const auto& [angle, stepped] : std::vector<std::pair<float, float>>{
           {1e5f, 0x1.3a8cep+2f}, {-3e6f, 0x1.a3236p+1f}, {1e7f, 0x1.3648p-5f}}) {
    SCOPED_TRACE(angle);
    world.pm().setFacing(0, angle);
    EXPECT_EQ(world.pm().facing(0), stepped);
  }
  // Angles so large that one 6.2831 step no longer changes the float still wrap.
  for (const float huge : {1e10f, -1.3e8f, 3e38f}) {
    SCOPED_TRACE(huge);
    world.pm().setFacing(0, huge);
    EXPECT_GE(world.pm().facing(0), 0.0f);
    EXPECT_LT(world.pm().facing(0), kAngleWrap);
  }
  world.pm().setTransform(0, Vec3(1.0f, 2.0f, 3.0f), 90.0f, 2.0f);
  world.pm().setFacing(0, 90.0f * kDegToRad);
  // Two quarter turns and a doubling take the model point (1, 0, 0) to (-2, 0, 0), then the move.
  EXPECT_LT(glm::distance(Vec3(world.pm().modelMatrix(0) * Vec4(1, 0, 0, 1)), Vec3(-1.0f, 2.0f, 3.0f)), 1e-5f);
}

TEST_F(Positions, ABlockedMoverDoesNotMoveAtAll) {
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  world.add(5, Vec3(0.0f, 0.0f, -3.0f), Vec3(2.0f, 3.0f, 3.0f), Vec3(2.0f, 0.0f, 0.0f));  // wall x 2..4
  const Mat4 before = world.pm().modelMatrix(0);
  const MoveResult blocked = world.pm().moveTo(0, Vec3(1.5f, 0.0f, 0.5f));
  EXPECT_FALSE(blocked.moved);
  EXPECT_EQ(blocked.otherId, 5u);
  EXPECT_EQ(blocked.kind, 1);
  EXPECT_EQ(world.pm().position(0), Vec3(0.0f));
  EXPECT_EQ(world.pm().modelMatrix(0), before);
  EXPECT_TRUE(world.pm().moveBy(0, Vec3(1.0f, 0.0f, 0.5f)).moved);
  EXPECT_EQ(world.pm().position(0), Vec3(1.0f, 0.0f, 0.5f));
}

TEST_F(Positions, OnlyMovesThatCouldPassABoxGoInSubSteps) {
  struct Case {
    const char* name;
    Vec3 from;
    Vec3 target;
    Vec3 reached;
  };
  // A thin wall at x 3.95..4.05; the character's radius is 0.7071, so a move
  // shorter than 0.1 + 1.4142 cannot carry it through.
  const std::vector<Case> cases = {
      {"short and blocked: no move at all", Vec3(2.0f, 0.0f, 0.0f), Vec3(3.4f, 0.0f, 0.0f), Vec3(2.0f, 0.0f, 0.0f)},
      {"long and free: arrives exactly", Vec3(0.0f), Vec3(-3.3f, 0.0f, 1.7f), Vec3(-3.3f, 0.0f, 1.7f)},
      {"through the wall: the last free sub-step", Vec3(0.0f), Vec3(8.0f, 0.0f, 0.0f), Vec3(8.0f / 3.0f, 0.0f, 0.0f)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PhysicsTestWorld world;
    world.addCharacter(0, c.from);
    world.add(5, Vec3(-0.05f, 0.0f, -5.0f), Vec3(0.05f, 3.0f, 5.0f), Vec3(4.0f, 0.0f, 0.0f));
    world.pm().moveInSteps(0, c.target);
    EXPECT_LT(glm::distance(world.pm().position(0), c.reached), 1e-4f);
  }
}

TEST_F(Positions, TheTreeIsAskedBeforeTheFloors) {
  PhysicsTestWorld world;
  world.addFloor(9, 0.0f);
  world.addCharacter(0, Vec3(0.0f));
  world.addCharacter(1, Vec3(1.2f, 0.0f, 0.0f));  // an enemy beside it
  EXPECT_EQ(world.pm().moveTo(0, Vec3(0.2f, -0.1f, 0.0f)).otherId, 1u);  // touches both
  const MoveResult floorOnly = world.pm().moveTo(0, Vec3(-1.0f, -0.1f, 0.0f));
  EXPECT_FALSE(floorOnly.moved);
  EXPECT_EQ(floorOnly.otherId, 9u);
  EXPECT_EQ(world.pm().position(0), Vec3(0.0f));
}

TEST_F(Positions, StairsLiftTheWalkerOntoTheirSurface) {
  PhysicsTestWorld world;
  // Along z: world box x -2..2, y 0..5, z -20..-6 (start -20, end -6, length 14).
  world.add(7, Vec3(-2.0f, 0.0f, -7.0f), Vec3(2.0f, 5.0f, 7.0f), Vec3(0.0f, 0.0f, -13.0f));
  world.pm().registerStairs(7);
  // Square 4 x 4 at z 28..32, height 4: climbs along z (along x it would differ).
  world.add(8, Vec3(-2.0f, 0.0f, -2.0f), Vec3(2.0f, 4.0f, 2.0f), Vec3(0.0f, 0.0f, 30.0f));
  world.pm().registerStairs(8);
  // Along x: x 23..37, z -32..-28, height 5.
  world.add(9, Vec3(-7.0f, 0.0f, -2.0f), Vec3(7.0f, 5.0f, 2.0f), Vec3(30.0f, 0.0f, -30.0f));
  world.pm().registerStairs(9);
  world.addCharacter(0, Vec3(10.0f, 0.0f, 10.0f));
  struct Case {
    const char* name;
    Vec3 target;
    ObjectId stairs;
    float liftedY;
  };
  const std::vector<Case> cases = {
      {"middle of the ramp", Vec3(0.0f, 0.0f, -13.0f), 7, 2.5f},
      {"beyond the start the surface is the top", Vec3(0.0f, 1.0f, -20.3f), 7, 5.0f},
      {"beyond the end the surface is the bottom", Vec3(0.0f, 1.0f, -5.5f), 7, 0.0f},
      {"above the surface the lift is negative", Vec3(0.0f, 4.0f, -13.0f), 7, 2.5f},
      {"square piece: u = 32 - 29 of 4", Vec3(1.5f, 0.0f, 29.0f), 8, 3.0f},
      {"along x: u = 37 - 33.5 of 14", Vec3(33.5f, 0.0f, -30.0f), 9, 1.25f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MoveResult result = world.pm().moveTo(0, c.target);
    EXPECT_TRUE(result.moved);
    EXPECT_EQ(result.otherId, c.stairs);
    EXPECT_LT(glm::distance(world.pm().position(0), Vec3(c.target.x, c.liftedY, c.target.z)), 1e-5f);
  }
}

TEST_F(Positions, IsFreeAgainstStrictOverlapEvenWithASingleObject) {
  PhysicsTestWorld world;
  EXPECT_TRUE(world.pm().isFree(Vec3(-1.0f), Vec3(1.0f)));
  world.addCharacter(0, Vec3(0.0f));  // x -0.5..0.5, y 0..2, z -0.5..0.5
  EXPECT_FALSE(world.pm().isFree(Vec3(0.0f), Vec3(1.0f)));
  EXPECT_TRUE(world.pm().isFree(Vec3(0.5f, 0.0f, -0.5f), Vec3(1.5f, 2.0f, 0.5f)));  // sharing a face
  world.addFloor(9, 0.0f);
  EXPECT_FALSE(world.pm().isFree(Vec3(5.0f, -0.5f, 5.0f), Vec3(6.0f, 0.5f, 6.0f)));  // floors count
  EXPECT_TRUE(world.pm().isFree(Vec3(5.0f, 0.0f, 5.0f), Vec3(6.0f, 1.0f, 6.0f)));
}

TEST_F(Positions, LandingOnATreeObjectIsReportedAndOnAFloorIsNot) {
  for (bool onEnemy : {true, false}) {
    SCOPED_TRACE(onEnemy ? "onto an enemy" : "onto the floor");
    PhysicsTestWorld world;
    world.addFloor(9, 0.0f);
    world.addCharacter(0, Vec3(onEnemy ? 0.0f : 5.0f, 3.0f, 0.0f));
    world.addCharacter(1, Vec3(0.0f));  // the enemy stands on the floor and is held there
    std::vector<ObjectId> reported;
    world.pm().setLandingWatch(0, [&](ObjectId other) { reported.push_back(other); });
    for (int frame = 0; frame < 25; ++frame) world.pm().applyGravity(Vec3(0.0f, -0.125f, 0.0f));
    EXPECT_EQ(world.pm().position(1), Vec3(0.0f));
    // Eight falls put the sole exactly on the enemy's top (no touch); from the ninth on, each is refused.
    EXPECT_EQ(world.pm().position(0).y, onEnemy ? 2.0f : 0.0f);
    EXPECT_EQ(reported, onEnemy ? std::vector<ObjectId>(17, 1) : std::vector<ObjectId>{});
  }
}

TEST_F(Positions, LandingWatchEdgeCases) {
  PhysicsTestWorld world;
  world.addFloor(9, 0.0f);
  world.addCharacter(0, Vec3(0.0f, 2.1f, 0.0f));
  world.addCharacter(1, Vec3(0.0f));
  world.addCharacter(2, Vec3(5.0f, 1.0f, 0.0f));
  PositionManager& pm = world.pm();
  pm.setLandingWatch(0, nullptr);
  EXPECT_THROW(pm.applyGravity(kDown), std::bad_function_call);
  // What the game logic does on a landing: the enemy leaves the octree and gravity at once.
  pm.setLandingWatch(0, [&](ObjectId other) { pm.withdraw(other); });
  pm.place(2, Vec3(5.0f, 1.0f, 0.0f));
  EXPECT_NO_THROW(pm.applyGravity(kDown));
  EXPECT_EQ(pm.getGravityIds(), (std::vector<ObjectId>{0, 2}));
  EXPECT_NEAR(pm.position(2).y, 0.8f, 1e-6f);  // later objects still fall
}

TEST_F(Positions, EraseForgetsTheObjectEverywhere) {
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  world.addCharacter(1, Vec3(1.2f, 0.0f, 0.0f));
  world.pm().erase(1);
  world.pm().erase(1);  // already gone: ignored
  EXPECT_NO_THROW(world.pm().applyGravity(kDown));
  EXPECT_FALSE(world.pm().octree().contains(1));
  EXPECT_THROW(world.pm().position(1), std::out_of_range);
  EXPECT_TRUE(world.pm().moveTo(0, Vec3(1.2f, -0.2f, 0.0f)).moved);
}
