// The orbit camera kept in the open, through the input manager's own orbit,
// against boxes filed as the game files its floors and walls.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "PhysicsTestWorld.h"
#include "game/CameraBoom.h"
#include "game/InputManager.h"
#include "support/FakeClock.h"

namespace {

class Boom : public ConfigFixture {
 protected:
  // The camera 8 units behind a character facing +z, looking down 20 degrees.
  void SetUp() override {
    load(kOctreeKeys +
         "inputmanager.camera.distance = 8\ninputmanager.camera.distance.minimum = 2\n"
         "inputmanager.camera.distance.maximum = 20\nmaincharacter.property.speed = 5\n"
         "inputmanager.sensitivity = 0.01\ninputmanager.camera.initialYaw = 90\ninputmanager.camera.pitch = 20\n"
         "renderfunctionalitymanager.showFog = 1\n");
  }
  // A fresh world: the character at the origin and one obstacle box.
  BoundingBox& build(const Vec3& min, const Vec3& max) {
    world = std::make_unique<PhysicsTestWorld>();
    input = std::make_unique<InputManager>();
    world->addCharacter(0, Vec3(0.0f));
    input->setPositionManager(&world->pm());
    return world->add(7, min, max, Vec3(0.0f));
  }
  void withBoom() { input->setCameraBoom(std::make_unique<CameraBoom>(&world->pm(), std::vector<ObjectId>{7})); }
  Vec3 frame(double seconds = 1.0 / 60.0) {
    clock.advance(seconds);
    input->update();
    return world->pm().eyePosition;
  }

  FakeClock clock;
  std::unique_ptr<PhysicsTestWorld> world;
  std::unique_ptr<InputManager> input;
};

}  // namespace

// Without a boom, or with nothing in the way, the orbit position exactly; a
// wall or a ceiling in the way brings the camera in front of it, on the line
// from the character's centre to the orbit position.
TEST_F(Boom, TheCameraStandsInFrontOfWhatIsInTheWay) {
  const Vec3 orbit(0.0f, 8.0f * std::sin(20.0f * kDegToRad), -8.0f * std::cos(20.0f * kDegToRad));
  const struct {
    const char* name;
    Vec3 min, max;  // an obstacle's box; none when empty
    bool boom;
    float farthestZ, lowestZ;  // where the camera may stand along z
    float highestY;
  } cases[] = {
      {"no boom, a wall in the way", {-5, 0, -4}, {5, 10, -3}, false, orbit.z, orbit.z, 10},
      {"nothing in the way", {-5, 0, 20}, {5, 10, 21}, true, orbit.z, orbit.z, 10},
      {"a wall behind", {-5, 0, -4}, {5, 10, -3}, true, -3.0f + CameraBoom::kClearance + 0.5f,
       -3.0f + CameraBoom::kClearance, 10},
      {"a ceiling above", {-5, 2.3f, -10}, {5, 3, 10}, true, 0.0f, orbit.z, 2.3f - CameraBoom::kClearance},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    build(c.min, c.max);
    if (c.boom) withBoom();
    const Vec3 eye = frame();
    EXPECT_GE(eye.z, c.lowestZ - 1e-3f);
    EXPECT_LE(eye.z, c.farthestZ + 1e-3f);
    EXPECT_LE(eye.y, c.highestY + 1e-3f);
    const Vec3 centre(0.0f, 1.0f, 0.0f);  // of the 1 x 2 x 1 character
    EXPECT_NEAR((eye.y - centre.y) / eye.z, (orbit.y - centre.y) / orbit.z, 1e-4f);
  }
}

// The camera comes in at once and goes back out over a fraction of a second:
// from one frame to the next it never jumps outwards.
TEST_F(Boom, GoesBackOutSmoothlyOnceTheWayIsFree) {
  build(Vec3(-5, 0, -4), Vec3(5, 10, -3));
  withBoom();
  const float blocked = frame().z;
  EXPECT_GT(blocked, -3.0f);
  world->pm().setTransform(7, Vec3(0.0f, 0.0f, 50.0f), 0.0f, 1.0f);  // the wall goes
  float last = blocked;
  const float orbitZ = -8.0f * std::cos(20.0f * kDegToRad);
  for (int i = 0; i < 120; ++i) {
    const float z = frame().z;
    EXPECT_LE(z, last + 1e-6f) << "never back in while the way is free";
    EXPECT_LT(last - z, 0.1f * (blocked - orbitZ)) << "frame " << i << ": no jump outwards";
    last = z;
  }
  EXPECT_NEAR(last, orbitZ, 0.05f) << "out again after two seconds";
}
