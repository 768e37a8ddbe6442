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
