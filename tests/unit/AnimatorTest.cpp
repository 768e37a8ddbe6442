#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "scene/Animator.h"
#include "support/FakeClock.h"

namespace {

using Directions = std::map<std::string, bool>;

Skeleton singleBone() {  // node "body" is bone 0
  Skeleton skeleton;
  skeleton.root.name = "body";
  skeleton.boneMapping["body"] = 0;
  skeleton.bones.resize(1);
  return skeleton;
}

AnimationChannel channel(const std::string& node, std::vector<VectorKey> positions,
                         std::vector<RotationKey> rotations = {{0.0f, Quat(1, 0, 0, 0)}},
                         std::vector<VectorKey> scalings = {{0.0f, Vec3(1.0f)}}) {
  return {node,
          static_cast<std::uint32_t>(positions.size()), positions,
          static_cast<std::uint32_t>(rotations.size()), rotations,
          static_cast<std::uint32_t>(scalings.size()), scalings};
}

Animation animationOf(std::vector<AnimationChannel> channels, float duration = 100, float ticksPerSecond = 10) {
  return {"", duration, ticksPerSecond, static_cast<std::uint32_t>(channels.size()), channels};
}

Animation holdAt(float x) { return animationOf({channel("body", {{0, Vec3(x, 0, 0)}})}); }

// "body" moves from x = start by one unit per tick over `length` ticks, then loops.
Animation ramp(float start, float length = 10) {
  return animationOf({channel("body", {{0, Vec3(start, 0, 0)}, {length, Vec3(start + length, 0, 0)}})}, length);
}

float boneX(const Skeleton& skeleton) { return skeleton.bones[0].finalTransformation[3][0]; }

Quat aroundY(float radians) { return glm::angleAxis(radians, Vec3(0, 1, 0)); }

// root (no bone) -> arm (bone 1) -> hand (bone 0, offset), and root -> tail (bone 2).
Skeleton armSkeleton() {
  Skeleton skeleton;
  skeleton.root.name = "root";
  SkeletonNode arm{"arm", glm::translate(Mat4(1.0f), Vec3(0, 2, 0)), 1, {}};
  arm.children.push_back({"hand", glm::translate(Mat4(1.0f), Vec3(50)), 0, {}});
  skeleton.root.children = {arm, {"tail", Mat4(1.0f), 0, {}}};
  skeleton.root.childCount = 2;
  skeleton.boneMapping = {{"hand", 0}, {"arm", 1}, {"tail", 2}};
  skeleton.bones.resize(3);
  skeleton.bones[0].offset = glm::translate(Mat4(1.0f), Vec3(0, -5, 0));
  return skeleton;
}

}  // namespace

TEST(AnimatorKeys, PositionAndScalingFollowTheKeySegmentAndExtrapolatePastTheLastKey) {
  const std::vector<VectorKey> threeKeys = {{0, Vec3(0)}, {10, Vec3(10, 0, 0)}, {20, Vec3(30, 0, 0)}};
  struct Case {
    const char* name;
    std::vector<VectorKey> keys;
    float ticks, expected;
  } cases[] = {
      {"one key, any time", {{3, Vec3(7, 0, 0)}}, 50, 7},
      {"first segment", threeKeys, 5, 5},
      {"on the middle key", threeKeys, 10, 10},
      {"second segment", threeKeys, 15, 20},
      {"past the last key: the first two keys extrapolate", threeKeys, 25, 25},
      {"equal key times", {{4, Vec3(1, 0, 0)}, {4, Vec3(9, 0, 0)}}, 6, 1},
  };
  Animator animator(Directions{});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Skeleton moved = singleBone(), scaled = singleBone();
    animator.evaluate(animationOf({channel("body", c.keys)}), c.ticks, moved);
    EXPECT_NEAR(boneX(moved), c.expected, 1e-5f);
    std::vector<VectorKey> scalings = c.keys;
    for (VectorKey& key : scalings) key.value += Vec3(1);
    animator.evaluate(animationOf({channel("body", {{0, Vec3(0)}}, {{0, Quat(1, 0, 0, 0)}}, scalings)}), c.ticks,
                      scaled);
    EXPECT_NEAR(scaled.bones[0].finalTransformation[0][0], c.expected + 1, 1e-5f);
  }
}

TEST(AnimatorKeys, RotationSlerpsAlongTheShorterArc) {
  struct Case {
    const char* name;
    Quat from, to;
    float ticks, angle;  // keys at 0 and 10; expected angle about +y
  } cases[] = {
      {"same hemisphere", aroundY(0), aroundY(1.6f), 5, 0.8f},
      {"opposite hemisphere", aroundY(0), -aroundY(1.6f), 5, 0.8f},  // -q: the same rotation
      {"opposite hemisphere, a quarter in", aroundY(0.2f), -aroundY(1), 2.5f, 0.4f},
      {"nearly equal keys mix linearly", aroundY(0.3f), aroundY(0.30001f), 5, 0.3f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Skeleton skeleton = singleBone();
    Animator(Directions{}).evaluate(animationOf({channel("body", {{0, Vec3(0)}}, {{0, c.from}, {10, c.to}})}),
                                    c.ticks, skeleton);
    const Vec4 x = skeleton.bones[0].finalTransformation * Vec4(1, 0, 0, 0);
    EXPECT_NEAR(x.x, std::cos(c.angle), 1e-4f);
    EXPECT_NEAR(x.z, -std::sin(c.angle), 1e-4f);
  }
}

TEST(AnimatorKeys, TicksLoopAtTheDurationAndZeroTicksPerSecondMeans25) {
  struct Case {
    float duration, ticksPerSecond, seconds, expected;
  } cases[] = {{10, 10, 0.5f, 5}, {10, 10, 1.5f, 5}, {100, 0, 0.2f, 5}, {10, 0, 1, 5}, {0, 10, 1.3f, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_NEAR(Animator::ticksAt(animationOf({}, c.duration, c.ticksPerSecond), c.seconds), c.expected, 1e-4f);
  }
}

TEST(AnimatorKeys, HierarchyComposesParentsLocalsAndOffsetsAlsoThroughTheChannelIndex) {
  const std::vector<Animation> animations = {
      animationOf({channel("tail", {{0, Vec3(0)}, {10, Vec3(0, 0, 10)}}), channel("unknown", {{0, Vec3(7)}}),
                   channel("hand", {{0, Vec3(0, 0, 3)}, {10, Vec3(-4, 2, 0)}}, {{0, aroundY(0.1f)}, {10, aroundY(2)}}),
                   channel("root", {{0, Vec3(1, 0, 0)}, {10, Vec3(5, 0, 0)}}),
                   channel("root", {{0, Vec3(99)}})},  // only the first match counts
                  10),
      animationOf({channel("arm", {{0, Vec3(3)}})}, 10)};
  Skeleton searched = armSkeleton();
  Animator animator(Directions{});
  animator.evaluate(animations[0], 0, searched);
  EXPECT_EQ(Vec3(searched.bones[1].finalTransformation[3]), Vec3(1, 2, 0));   // arm: its own transformation
  EXPECT_EQ(Vec3(searched.bones[0].finalTransformation[3]), Vec3(1, -3, 3));  // hand: parents x local x offset

  FakeClock clock;
  Skeleton skeleton = armSkeleton(), copy = armSkeleton();
  AnimationState state;
  for (double t : {0.0, 0.37, 1.55}) {
    SCOPED_TRACE(t);
    clock.set(t);
    animator.animate(9, state, skeleton, animations);
    AnimationState copiedState = state;  // an enemy copy takes its template's state
    animator.animate(10, copiedState, copy, animations);
    animator.evaluate(animations[0], Animator::ticksAt(animations[0], static_cast<float>(t)), searched);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(skeleton.bones[i].finalTransformation, searched.bones[i].finalTransformation);
      EXPECT_EQ(copy.bones[i].finalTransformation, searched.bones[i].finalTransformation);
    }
  }
}

TEST(AnimatorEnemy, LoopsInStepAndRestartsItsDyingAnimationOnceChosen) {
  FakeClock clock;
  Animator animator(Directions{});
  const std::vector<Animation> animations = {ramp(0), ramp(100)};
  Skeleton first = singleBone(), second = singleBone();
  AnimationState firstState, secondState;
  firstState.poseSource = secondState.poseSource = 9;  // copies of one type share poses
  clock.set(2.35);  // 23.5 ticks: the third loop
  animator.animate(3, firstState, first, animations);
  animator.animate(4, secondState, second, animations);
  EXPECT_NEAR(boneX(first), 3.5f, 1e-4f);
  EXPECT_NEAR(boneX(second), 3.5f, 1e-4f);

  firstState.secondary = 1;  // killed
  for (auto [time, x] : {std::pair{3.0, 100.0f}, {3.4, 104.0f}, {4.2, 102.0f}}) {
    clock.set(time);
    animator.animate(3, firstState, first, animations);
    animator.animate(4, secondState, second, animations);
    EXPECT_NEAR(boneX(first), x, 1e-3f) << time;  // from its start, then looping
    EXPECT_NEAR(boneX(second), std::fmod(static_cast<float>(time) * 10.0f, 10.0f), 1e-3f) << time;  // still alive
  }
}

TEST(AnimatorEdges, ObjectWithoutBonesIsLeftAloneAndAMissingAnimationIsOutOfRange) {
  FakeClock clock;
  Directions directions = {{"LEFT", true}};
  Animator animator(directions);
  for (ObjectId id : {0u, 7u}) {
    Skeleton boneless;
    AnimationState state;
    state.secondary = id == 7u ? 1 : -1;
    EXPECT_NO_THROW(animator.animate(id, state, boneless, {}));
    EXPECT_EQ(state.current, 0u);
  }
  Skeleton skeleton = singleBone();
  AnimationState state;
  EXPECT_THROW(animator.animate(0, state, skeleton, {holdAt(0), holdAt(1)}), std::out_of_range);
}

// Main character: animation k holds the bone at x = 10 k, so a pose shows what it is mixed from.
class MainCharacterTest : public ::testing::Test {
 protected:
  MainCharacterTest() : animator(directions) {
    for (int k = 0; k < 5; ++k) animations.push_back(holdAt(10.0f * k));
  }
  void press(std::initializer_list<const char*> keys) {
    directions = {{"FORWARD", false}, {"BACKWARD", false}, {"RIGHT", false}, {"LEFT", false}};
    for (const char* key : keys) directions[key] = true;
  }
  float frameAt(double seconds) {
    clock.set(seconds);
    animator.animate(0, state, skeleton, animations);
    return boneX(skeleton);
  }
  FakeClock clock;
  Directions directions;
  Animator animator;
  std::vector<Animation> animations;
  Skeleton skeleton = singleBone();
  AnimationState state;
};

TEST_F(MainCharacterTest, KeyCombinationsChooseTheirAnimations) {
  struct Case {
    std::initializer_list<const char*> keys;
    std::uint32_t current;
    std::int32_t secondary;
    float x;
  } cases[] = {
      {{}, 0, -1, 0},          {{"FORWARD"}, 1, -1, 10},         {{"BACKWARD"}, 2, -1, 20},
      {{"RIGHT"}, 3, -1, 30},  {{"LEFT"}, 4, -1, 40},            {{"FORWARD", "BACKWARD"}, 2, -1, 20},
      {{"LEFT", "RIGHT"}, 4, -1, 40},                            {{"FORWARD", "RIGHT"}, 1, 3, 20},
      {{"BACKWARD", "LEFT"}, 2, 4, 30},                          {{"FORWARD", "BACKWARD", "RIGHT"}, 3, -1, 30},
  };
  double t = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.current * 10 + c.secondary);
    press(c.keys);
    frameAt(t);
    frameAt(t + 0.25);  // the cross-fade ends
    EXPECT_NEAR(frameAt(t + 0.3), c.x, 1e-4f);
    EXPECT_EQ(state.current, c.current);
    EXPECT_EQ(state.secondary, c.secondary);
    t += 1;
  }
}

TEST_F(MainCharacterTest, CrossFadeRunsTwoTenthsOfASecondFromThePoseOnScreen) {
  press({});
  frameAt(1);
  press({"FORWARD"});
  struct Step {
    double time;
    float x;
    bool blending;
  } steps[] = {{2, 0, true},    {2.05, 2.5f, true},  {2.15, 7.5f, true},
               {2.2, 7.5f, false},  // the fade's last pose stays for the frame it ends in
               {2.3, 10, false}};
  for (const Step& step : steps) {
    EXPECT_NEAR(frameAt(step.time), step.x, 1e-3f) << step.time;
    EXPECT_EQ(state.blending, step.blending) << step.time;
  }
  frameAt(3);
  frameAt(3.1);
  press({"BACKWARD"});
  frameAt(3.12);  // a new choice while the pose is 10: halfway to 20 is 15
  EXPECT_NEAR(frameAt(3.22), 15, 1e-3f);
}

TEST_F(MainCharacterTest, DiagonalMixesHalfAndHalfAndReleasingRightFadesToForward) {
  press({});
  frameAt(1);
  press({"FORWARD", "RIGHT"});
  for (auto [time, x] : {std::pair{2.0, 0.0f}, {2.1, 10.0f}, {2.2, 20.0f}, {2.5, 20.0f}}) {
    EXPECT_NEAR(frameAt(time), x, 1e-3f) << time;  // towards (10 + 30) / 2, shown at once when the fade ends
  }
  press({"FORWARD"});
  for (auto [time, x] : {std::pair{4.0, 20.0f}, {4.1, 15.0f}, {4.2, 15.0f}, {4.3, 10.0f}}) {
    EXPECT_NEAR(frameAt(time), x, 1e-3f) << time;
  }
  EXPECT_EQ(state.secondary, -1);
}

TEST_F(MainCharacterTest, DiagonalMixRunsEachAnimationAtItsOwnTicks) {
  animations[1] = ramp(0, 10);   // forward: 10 ticks long
  animations[3] = ramp(100, 5);  // right: 5 ticks long
  press({"FORWARD", "RIGHT"});
  frameAt(0);
  frameAt(0.25);
  // 7 ticks later: forward at 7, right looped to 102 (not extrapolated to 107).
  EXPECT_NEAR(frameAt(0.95), (7.0f + 102.0f) / 2, 1e-3f);
}
