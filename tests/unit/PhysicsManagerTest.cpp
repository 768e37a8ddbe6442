#include <gtest/gtest.h>

#include "PhysicsTestWorld.h"
#include "game/PhysicsManager.h"
#include "support/FakeClock.h"

namespace {

class Physics : public ConfigFixture {
 protected:
  void SetUp() override { load(kOctreeKeys + "physicsmanager.gravity = -10\n"); }
};

}  // namespace

TEST_F(Physics, FallsAtConstantSpeedAndSkipsTheFirstFrame) {
  FakeClock clock;
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f, 50.0f, 0.0f));
  PhysicsManager physics(&world.pm());

  clock.advance(5.0);  // start-up
  physics.update();
  EXPECT_EQ(world.pm().position(0).y, 50.0f);

  for (int frame = 1; frame <= 3; ++frame) {
    SCOPED_TRACE(frame);
    const float before = world.pm().position(0).y;
    clock.advance(0.02);
    physics.update();
    EXPECT_NEAR(before - world.pm().position(0).y, 0.2f, 1e-4f);
  }
  // A pause: the next update reports the whole paused time as one delta.
  clock.advance(1.0);
  physics.update();
  EXPECT_NEAR(world.pm().position(0).y, 50.0f - 0.6f - 10.0f, 1e-3f);
}
