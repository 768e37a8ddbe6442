#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "PhysicsTestWorld.h"
#include "common/GameState.h"
#include "game/InputManager.h"
#include "support/FakeClock.h"

namespace {

class Input : public ConfigFixture {
 protected:
  void SetUp() override { load(keys("90")); }
  static std::string keys(const std::string& initialYaw) {
    return kOctreeKeys +
           "inputmanager.camera.distance = 10\n"
           "inputmanager.camera.distance.minimum = 2\n"
           "inputmanager.camera.distance.maximum = 20\n"
           "maincharacter.property.speed = 5\n"
           "inputmanager.sensitivity = 0.01\n"
           "inputmanager.camera.initialYaw = " + initialYaw + "\n"
           "inputmanager.camera.pitch = -30\n"
           "renderfunctionalitymanager.showFog = 1\n";
  }
  // Holds the keys, lets 0.1 s (or the given time) pass and runs one input stage.
  static void walk(InputManager& input, const std::vector<int>& keys, double seconds = 0.1) {
    FakeClock clock;
    for (int key : keys) input.onKey(key, GLFW_PRESS);
    clock.advance(seconds);
    input.update();
  }
};

}  // namespace

TEST_F(Input, MovementKeysFollowEveryActionOtherKeysOnlyThePress) {
  InputManager input;
  input.onKey(GLFW_KEY_W, GLFW_PRESS);
  input.onKey(GLFW_KEY_S, GLFW_PRESS);
  input.onKey(GLFW_KEY_S, GLFW_RELEASE);
  input.onKey(GLFW_KEY_D, GLFW_REPEAT);
  const std::map<std::string, bool> expected = {{"FORWARD", true}, {"BACKWARD", false}, {"RIGHT", true}, {"LEFT", false}};
  EXPECT_EQ(input.getDirections(), expected);

  int pauses = 0, jetpacks = 0;
  input.onKey(GLFW_KEY_P, GLFW_PRESS);  // no callback yet: skipped
  input.setPauseCallback([&] { ++pauses; });
  input.setJetpackCallback([&] { ++jetpacks; });
  const std::int32_t savedState = gameState;
  gameState = 0;
  for (int key : {GLFW_KEY_P, GLFW_KEY_SPACE, GLFW_KEY_ESCAPE}) {
    for (int action : {GLFW_PRESS, GLFW_REPEAT, GLFW_REPEAT, GLFW_RELEASE}) input.onKey(key, action);
  }
  EXPECT_EQ(pauses, 1);
  EXPECT_EQ(jetpacks, 1);
  EXPECT_EQ(gameState, 1);
  gameState = savedState;
}

TEST_F(Input, FunctionKeysFlipTheirRenderSwitch) {
  InputManager input;
  const RenderFunctionalityManager& switches = input.getRenderSwitches();
  EXPECT_TRUE(switches.showFog);  // as configured
  std::vector<unsigned> sampling, mipmap;
  for (int i = 0; i < 3; ++i) {
    for (int key : {GLFW_KEY_F4, GLFW_KEY_F5}) {
      input.onKey(key, GLFW_PRESS);
      input.onKey(key, GLFW_REPEAT);
    }
    sampling.push_back(switches.samplingMode);
    mipmap.push_back(switches.mipmapMode);
  }
  EXPECT_EQ(sampling, (std::vector<unsigned>{0, 1, 0}));
  EXPECT_EQ(mipmap, (std::vector<unsigned>{0, 1, 2}));

  struct Case {
    int key;
    bool RenderFunctionalityManager::*field;
  };
  for (const Case& c : std::vector<Case>{{GLFW_KEY_F2, &RenderFunctionalityManager::showOverlay},
                                         {GLFW_KEY_F3, &RenderFunctionalityManager::wireframe},
                                         {GLFW_KEY_F6, &RenderFunctionalityManager::showFog},
                                         {GLFW_KEY_F7, &RenderFunctionalityManager::boundingBoxes},
                                         {GLFW_KEY_F8, &RenderFunctionalityManager::frustumCulling},
                                         {GLFW_KEY_F9, &RenderFunctionalityManager::transparency}}) {
    SCOPED_TRACE("F" + std::to_string(c.key - GLFW_KEY_F1 + 1));
    const bool before = switches.*c.field;
    input.onKey(c.key, GLFW_PRESS);
    input.onKey(c.key, GLFW_RELEASE);
    EXPECT_EQ(switches.*c.field, !before);
  }
}

TEST_F(Input, MouseButtonsPullTheTriggerOrPrintTheirLine) {
  InputManager input;
  input.onMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);  // no trigger yet: skipped
  std::string trigger;
  input.setTriggerPressCallback([&] { trigger += "press "; });
  input.setTriggerReleaseCallback([&] { trigger += "release"; });
  testing::internal::CaptureStdout();
  for (int button : {GLFW_MOUSE_BUTTON_LEFT, GLFW_MOUSE_BUTTON_RIGHT, GLFW_MOUSE_BUTTON_MIDDLE, GLFW_MOUSE_BUTTON_4}) {
    input.onMouseButton(nullptr, button, GLFW_PRESS);
    input.onMouseButton(nullptr, button, GLFW_RELEASE);
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "RIGHT MOUSE-BUTTON PRESSED\nMIDDLE MOUSE-BUTTON PRESSED\nOTHER MOUSE-BUTTON PRESSED\n");
  EXPECT_EQ(trigger, "press release");
}

TEST_F(Input, ScrollingStaysWithinTheDistanceBounds) {
  InputManager input;
  std::vector<float> distances;
  for (double offset : {1.0, -2.5, 100.0, 3.0, -100.0}) {
    input.onScroll(offset);
    distances.push_back(input.getCameraDistance());
  }
  EXPECT_EQ(distances, (std::vector<float>{9.0f, 11.5f, 2.0f, 2.0f, 20.0f}));
}

TEST_F(Input, CursorTurnsByTheDistanceFromTheCentreColumn) {
  InputManager input;
  EXPECT_EQ(messageOf<std::runtime_error>([&] { input.turnFromCursor(800, 300.0); }),
            "InputManager: No PositionManager is set.");
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  input.setPositionManager(&world.pm());
  EXPECT_NEAR(world.pm().cameraPitch, kAngleWrap - 30.0f * kDegToRad, 1e-5f);  // wrapped
  struct Case {
    const char* name;
    int width;
    double x;
    float facing;  // from 1.0
  };
  for (const Case& c : std::vector<Case>{{"odd width: the centre is rounded down", 801, 400.0, 1.0f},
                                         {"left of the centre turns left", 800, 390.0, 1.1f},
                                         {"right of the centre turns right", 801, 450.0, 0.5f},
                                         {"fractional position", 800, 399.5, 1.005f}}) {
    SCOPED_TRACE(c.name);
    world.pm().setFacing(0, 1.0f);
    input.turnFromCursor(c.width, c.x);
    EXPECT_NEAR(world.pm().facing(0), c.facing, 1e-5f);
  }
}

TEST_F(Input, WalkingFollowsTheFacingWithCancellingAndDiagonalScaling) {
  const float step = 0.5f;  // speed 5 for 0.1 s
  const float diagonal = step * 0.7071f;
  struct Case {
    const char* name;
    std::vector<int> held;
    float facing;
    Vec3 moved;  // facing 0: forward +z, right -x
  };
  const std::vector<Case> cases = {
      {"nothing held", {}, 0.0f, Vec3(0.0f)},
      {"W", {GLFW_KEY_W}, 0.0f, Vec3(0.0f, 0.0f, step)},
      {"W while facing +x", {GLFW_KEY_W}, 90.0f * kDegToRad, Vec3(step, 0.0f, 0.0f)},
      {"D", {GLFW_KEY_D}, 0.0f, Vec3(-step, 0.0f, 0.0f)},
      {"W and S cancel", {GLFW_KEY_W, GLFW_KEY_S}, 0.0f, Vec3(0.0f)},
      {"W, S and A: no diagonal scaling", {GLFW_KEY_W, GLFW_KEY_S, GLFW_KEY_A}, 0.0f, Vec3(step, 0.0f, 0.0f)},
      {"W and D scaled", {GLFW_KEY_W, GLFW_KEY_D}, 0.0f, Vec3(-diagonal, 0.0f, diagonal)},
      {"S and A scaled", {GLFW_KEY_S, GLFW_KEY_A}, 0.0f, Vec3(diagonal, 0.0f, -diagonal)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PhysicsTestWorld world;
    world.addCharacter(0, Vec3(3.0f, 1.0f, 4.0f));
    world.pm().setFacing(0, c.facing);
    InputManager input;
    input.setPositionManager(&world.pm());
    walk(input, c.held);
    EXPECT_LT(glm::distance(world.pm().position(0) - Vec3(3.0f, 1.0f, 4.0f), c.moved), 1e-5f);
  }
}

TEST_F(Input, AWallAcrossOneAxisLetsTheOtherSlide) {
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  // A long wall at x -1.05..-0.8: the W + D step of 0.04 s, (-0.1414, 0, 0.1414), would touch it on x.
  world.add(5, Vec3(-0.125f, 0.0f, -20.0f), Vec3(0.125f, 3.0f, 20.0f), Vec3(-0.925f, 0.0f, 0.0f));
  InputManager input;
  input.setPositionManager(&world.pm());
  walk(input, {GLFW_KEY_W, GLFW_KEY_D}, 0.04);
  EXPECT_EQ(world.pm().position(0).x, 0.0f);
  EXPECT_NEAR(world.pm().position(0).z, 0.2f * 0.7071f, 1e-6f);
}

// W held against a thin wall (z 2.95..3.05; the character's radius is
// 0.7071): a frame whose step would touch it moves nothing at all, at 8 as at
// 60 frames a second; a 20 s pause (a 100-unit step) goes in sub-steps shorter
// than the wall and the character together, and ends in front of the wall.
TEST_F(Input, ABlockedWalkDoesNotMoveAndAPauseNeverCarriesThroughAWall) {
  const float contact = 2.95f - 0.7071f;  // the character's z when it touches the wall
  const struct { const char* name; double frame; float from; float lowest; float highest; } cases[] = {
      {"8 frames a second, half a step short", 0.125, contact - 0.3125f, contact - 0.3125f, contact - 0.3125f},
      {"60 frames a second, half a step short", 1.0 / 60.0, contact - 5.0f / 120.0f, contact - 5.0f / 120.0f,
       contact - 5.0f / 120.0f},
      {"a 20 s pause", 20.0, 0.0f, contact - 1.6f, contact},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PhysicsTestWorld world;
    world.addCharacter(0, Vec3(0.0f, 0.0f, c.from));
    world.add(5, Vec3(-5.0f, 0.0f, -0.05f), Vec3(5.0f, 3.0f, 0.05f), Vec3(0.0f, 0.0f, 3.0f));
    InputManager input;
    input.setPositionManager(&world.pm());
    walk(input, {GLFW_KEY_W}, c.frame);
    EXPECT_GE(world.pm().position(0).z, c.lowest);
    EXPECT_LE(world.pm().position(0).z, c.highest);
    EXPECT_LT(world.pm().position(0).z, contact);
  }
}

// Another initial yaw turns the walking directions against the facing:
// forward is (cos a, 0, sin a) with a = pi - (yaw + facing).
TEST_F(Input, TheInitialYawTurnsWhereForwardLeads) {
  for (const auto& [yaw, moved] : std::vector<std::pair<const char*, Vec3>>{
           {"0", Vec3(-0.5f, 0.0f, 0.0f)}, {"180", Vec3(0.5f, 0.0f, 0.0f)}, {"-90", Vec3(0.0f, 0.0f, -0.5f)}}) {
    SCOPED_TRACE(yaw);
    load(keys(yaw));
    PhysicsTestWorld world;
    world.addCharacter(0, Vec3(0.0f));
    InputManager input;
    input.setPositionManager(&world.pm());
    walk(input, {GLFW_KEY_W});
    EXPECT_LT(glm::distance(world.pm().position(0), moved), 1e-5f);
  }
}

TEST_F(Input, CameraOrbitsBehindTheCharacterAtTheScrolledDistance) {
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(2.0f, 1.0f, -3.0f));
  world.pm().setFacing(0, 2.0f);
  InputManager input;
  input.setPositionManager(&world.pm());
  input.onScroll(2.0);  // distance 8
  walk(input, {});
  const float pitch = -30.0f * kDegToRad;
  const float horizontal = std::cos(pitch) * 8.0f;
  const Vec3 expected(2.0f - std::sin(2.0f) * horizontal, 1.0f + std::sin(pitch) * 8.0f,
                      -3.0f - std::cos(2.0f) * horizontal);
  EXPECT_LT(glm::distance(world.pm().eyePosition, expected), 1e-5f);
  // a = pi - (pi/2 + 2) is below zero and wraps.
  EXPECT_NEAR(world.pm().cameraYaw, 3.14159274f - (90.0f * kDegToRad + 2.0f) + kAngleWrap, 1e-5f);
}
