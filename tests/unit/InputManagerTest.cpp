#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "PhysicsTestWorld.h"
#include "common/GameState.h"
#include "game/InputManager.h"
#include "support/FakeClock.h"

namespace {

std::string inputKeys(const std::string& pitchDegrees) {
  return "inputmanager.camera.distance = 10\n"
         "inputmanager.camera.distance.minimum = 2\n"
         "inputmanager.camera.distance.maximum = 20\n"
         "maincharacter.property.speed = 5\n"
         "inputmanager.sensitivity = 0.01\n"
         "inputmanager.camera.initialYaw = 90\n"
         "inputmanager.camera.pitch = " + pitchDegrees + "\n"
         "renderfunctionalitymanager.showFog = 1\n";
}

class Input : public ConfigFixture {
 protected:
  void SetUp() override { load(kOctreeKeys + inputKeys("30")); }
  void press(InputManager& input, int key) { input.onKey(key, GLFW_PRESS); }
};

using Key = std::pair<int, int>;  // GLFW key, action

}  // namespace

struct DirectionCase {
  const char* name;
  std::vector<Key> events;
  bool forward, backward, right, left;
};

TEST_F(Input, MovementKeysFollowPressRepeatAndRelease) {
  const std::vector<DirectionCase> cases = {
      {"W pressed", {{GLFW_KEY_W, GLFW_PRESS}}, true, false, false, false},
      {"W repeated after a release", {{GLFW_KEY_W, GLFW_PRESS}, {GLFW_KEY_W, GLFW_RELEASE}, {GLFW_KEY_W, GLFW_REPEAT}},
       true, false, false, false},
      {"S pressed and released", {{GLFW_KEY_S, GLFW_PRESS}, {GLFW_KEY_S, GLFW_RELEASE}}, false, false, false, false},
      {"A and D held", {{GLFW_KEY_A, GLFW_PRESS}, {GLFW_KEY_D, GLFW_REPEAT}}, false, false, true, true},
      {"other keys leave the directions", {{GLFW_KEY_Q, GLFW_PRESS}, {GLFW_KEY_UP, GLFW_PRESS}}, false, false, false, false},
  };
  for (const DirectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    InputManager input;
    for (const Key& event : c.events) input.onKey(event.first, event.second);
    const auto& directions = input.getDirections();
    EXPECT_EQ(directions.size(), 4u);
    EXPECT_EQ(directions.at("FORWARD"), c.forward);
    EXPECT_EQ(directions.at("BACKWARD"), c.backward);
    EXPECT_EQ(directions.at("RIGHT"), c.right);
    EXPECT_EQ(directions.at("LEFT"), c.left);
  }
}

TEST_F(Input, PauseAndJetpackActOnThePressOnly) {
  InputManager input;
  input.onKey(GLFW_KEY_P, GLFW_PRESS);  // callbacks not set yet: skipped
  input.onKey(GLFW_KEY_SPACE, GLFW_PRESS);
  int pauses = 0;
  int jetpacks = 0;
  input.setPauseCallback([&] { ++pauses; });
  input.setJetpackCallback([&] { ++jetpacks; });
  for (int key : {GLFW_KEY_P, GLFW_KEY_SPACE}) {
    input.onKey(key, GLFW_PRESS);
    input.onKey(key, GLFW_REPEAT);
    input.onKey(key, GLFW_REPEAT);
    input.onKey(key, GLFW_RELEASE);
  }
  EXPECT_EQ(pauses, 1);
  EXPECT_EQ(jetpacks, 1);
}

TEST_F(Input, EscapeAdvancesTheGameStateOncePerPress) {
  const std::int32_t saved = gameState;
  gameState = 0;
  InputManager input;
  input.onKey(GLFW_KEY_ESCAPE, GLFW_PRESS);
  input.onKey(GLFW_KEY_ESCAPE, GLFW_REPEAT);
  input.onKey(GLFW_KEY_ESCAPE, GLFW_RELEASE);
  EXPECT_EQ(gameState, 1);
  input.onKey(GLFW_KEY_ESCAPE, GLFW_PRESS);
  EXPECT_EQ(gameState, 2);
  gameState = saved;
}

struct SwitchCase {
  int key;
  bool RenderFunctionalityManager::*field;
};

TEST_F(Input, FunctionKeysFlipExactlyTheirSwitch) {
  const std::vector<SwitchCase> cases = {
      {GLFW_KEY_F2, &RenderFunctionalityManager::showOverlay},
      {GLFW_KEY_F3, &RenderFunctionalityManager::wireframe},
      {GLFW_KEY_F6, &RenderFunctionalityManager::showFog},
      {GLFW_KEY_F7, &RenderFunctionalityManager::boundingBoxes},
      {GLFW_KEY_F8, &RenderFunctionalityManager::frustumCulling},
      {GLFW_KEY_F9, &RenderFunctionalityManager::transparency},
  };
  const std::vector<bool RenderFunctionalityManager::*> all = {
      &RenderFunctionalityManager::showOverlay,   &RenderFunctionalityManager::wireframe,
      &RenderFunctionalityManager::showFog,       &RenderFunctionalityManager::boundingBoxes,
      &RenderFunctionalityManager::frustumCulling, &RenderFunctionalityManager::transparency};
  for (const SwitchCase& c : cases) {
    SCOPED_TRACE("F" + std::to_string(c.key - GLFW_KEY_F1 + 1));
    InputManager input;
    RenderFunctionalityManager& switches = input.getRenderSwitches();
    const RenderFunctionalityManager before = switches;
    EXPECT_TRUE(before.showFog);  // from the configuration
    input.onKey(c.key, GLFW_PRESS);
    input.onKey(c.key, GLFW_REPEAT);
    input.onKey(c.key, GLFW_RELEASE);
    for (auto field : all) EXPECT_EQ(switches.*field, field == c.field ? !(before.*field) : before.*field);
    EXPECT_EQ(switches.samplingMode, 1u);
    EXPECT_EQ(switches.mipmapMode, 2u);
  }
}

TEST_F(Input, F4TogglesSamplingAndF5CyclesMipmapping) {
  InputManager input;
  RenderFunctionalityManager& switches = input.getRenderSwitches();
  std::vector<unsigned> sampling;
  std::vector<unsigned> mipmap;
  for (int i = 0; i < 3; ++i) {
    press(input, GLFW_KEY_F4);
    input.onKey(GLFW_KEY_F4, GLFW_REPEAT);
    sampling.push_back(switches.samplingMode);
    press(input, GLFW_KEY_F5);
    input.onKey(GLFW_KEY_F5, GLFW_RELEASE);
    mipmap.push_back(switches.mipmapMode);
  }
  EXPECT_EQ(sampling, (std::vector<unsigned>{0, 1, 0}));
  EXPECT_EQ(mipmap, (std::vector<unsigned>{0, 1, 2}));
}

TEST_F(Input, MouseButtonsPullTheTriggerOrPrintTheirLine) {
  InputManager input;
  input.onMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);  // no trigger yet: skipped
  std::vector<std::string> trigger;
  input.setTriggerPressCallback([&] { trigger.push_back("press"); });
  input.setTriggerReleaseCallback([&] { trigger.push_back("release"); });

  testing::internal::CaptureStdout();
  input.onMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
  input.onMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
  for (int button : {GLFW_MOUSE_BUTTON_RIGHT, GLFW_MOUSE_BUTTON_MIDDLE, GLFW_MOUSE_BUTTON_4}) {
    input.onMouseButton(nullptr, button, GLFW_PRESS);
    input.onMouseButton(nullptr, button, GLFW_RELEASE);
  }
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(trigger, (std::vector<std::string>{"press", "release"}));
  EXPECT_EQ(printed, "RIGHT MOUSE-BUTTON PRESSED\nMIDDLE MOUSE-BUTTON PRESSED\nOTHER MOUSE-BUTTON PRESSED\n");
}

TEST_F(Input, ScrollingStaysWithinTheDistanceBounds) {
  const std::vector<std::pair<std::vector<double>, float>> cases = {
      {{1.0}, 9.0f}, {{-2.5}, 12.5f}, {{7.0, 1.5}, 2.0f}, {{100.0}, 2.0f}, {{-100.0}, 20.0f}, {{-100.0, 3.0}, 17.0f}};
  for (const auto& [offsets, distance] : cases) {
    SCOPED_TRACE(::testing::PrintToString(offsets));
    InputManager input;
    for (double offset : offsets) input.onScroll(offset);
    EXPECT_EQ(input.getCameraDistance(), distance);
  }
}

TEST_F(Input, CursorTurnsByTheDistanceFromTheCentreColumn) {
  InputManager input;
  EXPECT_EQ(messageOf<std::runtime_error>([&] { input.turnFromCursor(800, 300.0); }),
            "InputManager: No PositionManager is set.");
  struct Case {
    const char* name;
    int width;
    double x;
    float facing;
  };
  const std::vector<Case> cases = {
      {"odd width: centre is rounded down", 801, 400.0, 1.0f},
      {"left of the centre turns left", 800, 390.0, 1.1f},
      {"right of the centre turns right", 801, 450.0, 0.5f},
      {"fractional cursor position", 800, 399.5, 1.005f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PhysicsTestWorld world;
    world.addCharacter(0, Vec3(0.0f));
    world.pm().setFacing(0, 1.0f);
    input.setPositionManager(&world.pm());
    input.turnFromCursor(c.width, c.x);
    EXPECT_NEAR(world.pm().facing(0), c.facing, 1e-5f);
  }
}

TEST_F(Input, PositionManagerReceivesTheWrappedPitch) {
  load(kOctreeKeys + inputKeys("-30"));
  InputManager input;
  PhysicsTestWorld world;
  input.setPositionManager(&world.pm());
  EXPECT_NEAR(world.pm().cameraPitch, kAngleWrap - 30.0f * kDegToRad, 1e-5f);
}

struct WalkCase {
  const char* name;
  std::vector<int> held;
  Vec3 moved;  // with facing 0, forward is +z and right is -x
};

TEST_F(Input, WalkingFollowsTheCameraWithCancellingAndDiagonalScaling) {
  const float step = 0.5f;  // speed 5 for 0.1 s
  const float diagonal = step * 0.7071f;
  const std::vector<WalkCase> cases = {
      {"nothing held", {}, Vec3(0.0f)},
      {"W", {GLFW_KEY_W}, Vec3(0.0f, 0.0f, step)},
      {"S", {GLFW_KEY_S}, Vec3(0.0f, 0.0f, -step)},
      {"D", {GLFW_KEY_D}, Vec3(-step, 0.0f, 0.0f)},
      {"W and S cancel", {GLFW_KEY_W, GLFW_KEY_S}, Vec3(0.0f)},
      {"W, S and A: no diagonal scaling", {GLFW_KEY_W, GLFW_KEY_S, GLFW_KEY_A}, Vec3(step, 0.0f, 0.0f)},
      {"W and D scaled", {GLFW_KEY_W, GLFW_KEY_D}, Vec3(-diagonal, 0.0f, diagonal)},
      {"S and A scaled", {GLFW_KEY_S, GLFW_KEY_A}, Vec3(diagonal, 0.0f, -diagonal)},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeClock clock;
    PhysicsTestWorld world;
    world.addCharacter(0, Vec3(3.0f, 1.0f, 4.0f));
    InputManager input;
    input.setPositionManager(&world.pm());
    for (int key : c.held) input.onKey(key, GLFW_PRESS);
    clock.advance(0.1);
    input.update();
    const Vec3 moved = world.pm().position(0) - Vec3(3.0f, 1.0f, 4.0f);
    EXPECT_NEAR(glm::distance(moved, c.moved), 0.0f, 1e-5f) << moved.x << " " << moved.y << " " << moved.z;
  }
}

TEST_F(Input, WalkingTurnsWithTheFacing) {
  FakeClock clock;
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  world.pm().setFacing(0, 90.0f * kDegToRad);
  InputManager input;
  input.setPositionManager(&world.pm());
  press(input, GLFW_KEY_W);
  clock.advance(0.1);
  input.update();
  // With the initial yaw at 90 degrees, forward is the facing direction (1, 0, 0).
  EXPECT_NEAR(glm::distance(world.pm().position(0), Vec3(0.5f, 0.0f, 0.0f)), 0.0f, 1e-5f);
}

TEST_F(Input, AWallAcrossOneAxisLetsTheOtherSlide) {
  FakeClock clock;
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  // A long wall at x -1.5..-1: the diagonal W + D step (-0.354, 0, 0.354) would touch it on x.
  world.add(5, Vec3(-0.25f, 0.0f, -20.0f), Vec3(0.25f, 3.0f, 20.0f), Vec3(-1.25f, 0.0f, 0.0f));
  InputManager input;
  input.setPositionManager(&world.pm());
  press(input, GLFW_KEY_W);
  press(input, GLFW_KEY_D);
  clock.advance(0.1);
  input.update();
  const Vec3 now = world.pm().position(0);
  EXPECT_EQ(now.x, 0.0f);
  EXPECT_NEAR(now.z, 0.5f * 0.7071f, 1e-6f);
}

TEST_F(Input, CameraOrbitsBehindTheCharacterAtTheScrolledDistance) {
  FakeClock clock;
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(2.0f, 1.0f, -3.0f));
  world.pm().setFacing(0, 2.0f);
  InputManager input;
  input.setPositionManager(&world.pm());
  input.onScroll(2.0);  // distance 8
  clock.advance(0.1);
  input.update();
  const float pitch = 30.0f * kDegToRad;
  const float horizontal = std::cos(pitch) * 8.0f;
  const Vec3 expected(2.0f - std::sin(2.0f) * horizontal, 1.0f + std::sin(pitch) * 8.0f,
                      -3.0f - std::cos(2.0f) * horizontal);
  EXPECT_NEAR(glm::distance(world.pm().eyePosition, expected), 0.0f, 1e-5f);
  // a = pi - (pi/2 + 2) is below zero and wraps.
  EXPECT_NEAR(world.pm().cameraYaw, 3.14159274f - (90.0f * kDegToRad + 2.0f) + kAngleWrap, 1e-5f);
}

TEST_F(Input, FrameRateIsReportedOncePerSecondOfUpdates) {
  FakeClock clock;
  PhysicsTestWorld world;
  world.addCharacter(0, Vec3(0.0f));
  InputManager input;
  std::vector<std::pair<float, int>> reports;
  input.setFrameRateCallback([&](float milliseconds, int frames) { reports.emplace_back(milliseconds, frames); });
  input.update();  // without a position manager nothing happens, not even the timer
  input.setPositionManager(&world.pm());
  for (int i = 0; i < 12; ++i) {
    clock.advance(0.125);
    input.update();
  }
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_FLOAT_EQ(reports[0].first, 125.0f);
  EXPECT_EQ(reports[0].second, 8);
}
