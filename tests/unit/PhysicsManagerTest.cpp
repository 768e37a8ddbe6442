#include <gtest/gtest.h>

#include "PhysicsTestWorld.h"
#include "game/PhysicsManager.h"
#include "support/FakeClock.h"

using Physics = ConfigFixture;

TEST_F(Physics, FallsAtConstantSpeedAndSkipsTheFirstFrame) {
  load(kOctreeKeys + "physicsmanager.gravity = -10\n");
  FakeClock clock;
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f, 50.0f, 0.0f));
  PhysicsManager physics(&world.pm());
  clock.advance(5.0);  // start-up
  physics.update();
  EXPECT_EQ(world.pm().position(0).y, 50.0f);
  for (float expected : {49.8f, 49.6f, 49.4f}) {
    clock.advance(0.02);
    physics.update();
    EXPECT_NEAR(world.pm().position(0).y, expected, 1e-4f);
  }
}

// A fall that cannot pass the floor is the one gravity move of the frame: at
// 8 frames a second (0.75 units) a character 0.5 above its floor is refused
// and stays where it is, as at any frame rate when the move would touch.
TEST_F(Physics, AShortFallIsOneMoveAndABlockedOneMovesNothing) {
  load(kOctreeKeys + "physicsmanager.gravity = -6\n");
  FakeClock clock;
  PhysicsTestWorld world;
  world.addFloor(1, 0.0f);
  world.addCharacter(0, Vec3(0.0f, 0.5f, 0.0f));
  PhysicsManager physics(&world.pm());
  physics.update();
  clock.advance(0.125);
  physics.update();
  EXPECT_EQ(world.pm().position(0).y, 0.5f);
}

TEST_F(Physics, ALongFrameDoesNotCarryAStandingObjectThroughItsFloor) {
  load(kOctreeKeys + "physicsmanager.gravity = -12\n");
  FakeClock clock;
  PhysicsTestWorld world;
  world.addFloor(1, 0.0f);  // a slab 1 unit thick
  world.addCharacter(0, Vec3(0.0f, 0.05f, 0.0f));
  PhysicsManager physics(&world.pm());
  physics.update();
  for (double frame : {0.016, 2.0, 0.016, 600.0}) {  // the first frame drawn, then a long pause
    SCOPED_TRACE(frame);
    clock.advance(frame);
    physics.update();
    const float bottom = world.pm().position(0).y;
    EXPECT_GE(bottom, 0.0f);
    EXPECT_LE(bottom, 0.05f);
  }
}

TEST_F(Physics, ALongFallStillCoversItsDistanceInShortSteps) {
  load(kOctreeKeys + "physicsmanager.gravity = -10\n");
  FakeClock clock;
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f, 50.0f, 0.0f));
  PhysicsManager physics(&world.pm());
  physics.update();
  clock.advance(1.0);
  physics.update();
  EXPECT_NEAR(world.pm().position(0).y, 40.0f, 1e-3f);
}
