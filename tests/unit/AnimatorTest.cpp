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

Directions released() { return {{"FORWARD", false}, {"BACKWARD", false}, {"RIGHT", false}, {"LEFT", false}}; }

// One node that is also bone 0.
Skeleton singleBone(const std::string& name = "body") {
  Skeleton skeleton;
  skeleton.root.name = name;
  skeleton.boneMapping[name] = 0;
  skeleton.bones.resize(1);
  return skeleton;
}

AnimationChannel channel(const std::string& node, std::vector<VectorKey> positions,
                         std::vector<RotationKey> rotations = {{0.0f, Quat(1, 0, 0, 0)}},
                         std::vector<VectorKey> scalings = {{0.0f, Vec3(1.0f)}}) {
  AnimationChannel c;
  c.nodeName = node;
  c.positionKeyCount = static_cast<std::uint32_t>(positions.size());
  c.positionKeys = std::move(positions);
  c.rotationKeyCount = static_cast<std::uint32_t>(rotations.size());
  c.rotationKeys = std::move(rotations);
  c.scalingKeyCount = static_cast<std::uint32_t>(scalings.size());
  c.scalingKeys = std::move(scalings);
  return c;
}

Animation animationOf(std::vector<AnimationChannel> channels, float duration = 100.0f,
                      float ticksPerSecond = 10.0f) {
  Animation a;
  a.duration = duration;
  a.ticksPerSecond = ticksPerSecond;
  a.channelCount = static_cast<std::uint32_t>(channels.size());
  a.channels = std::move(channels);
  return a;
}

// An animation that holds node "body" at (x, 0, 0).
Animation holdAt(float x) { return animationOf({channel("body", {{0.0f, Vec3(x, 0, 0)}})}); }

// An animation that moves "body" along x by one unit per tick, looping every 10 ticks.
Animation rampFrom(float start, float ticksPerSecond = 10.0f) {
  return animationOf({channel("body", {{0.0f, Vec3(start, 0, 0)}, {10.0f, Vec3(start + 10, 0, 0)}})},
                     10.0f, ticksPerSecond);
}

float boneX(const Skeleton& skeleton, std::size_t bone = 0) {
  return skeleton.bones[bone].finalTransformation[3][0];
}

Quat aroundY(float radians) { return glm::angleAxis(radians, Vec3(0, 1, 0)); }

}  // namespace

TEST(AnimatorKeys, PositionAndScalingFollowTheKeySegmentAndExtrapolatePastTheLastKey) {
  const std::vector<VectorKey> oneKey = {{3.0f, Vec3(7, 0, 0)}};
  const std::vector<VectorKey> threeKeys = {
      {0.0f, Vec3(0, 0, 0)}, {10.0f, Vec3(10, 0, 0)}, {20.0f, Vec3(30, 0, 0)}};
  struct Case {
    const char* name;
    std::vector<VectorKey> keys;
    float ticks;
    float expected;
  } cases[] = {
      {"one key before its time", oneKey, 0.0f, 7.0f},
      {"one key after its time", oneKey, 50.0f, 7.0f},
      {"first segment", threeKeys, 5.0f, 5.0f},
      {"exactly on the middle key", threeKeys, 10.0f, 10.0f},
      {"second segment", threeKeys, 15.0f, 20.0f},
      // Beyond the last key the first two keys extrapolate: 0 + 10 * 2.5.
      {"past the last key", threeKeys, 25.0f, 25.0f},
      {"two keys at the same time", {{4.0f, Vec3(1, 0, 0)}, {4.0f, Vec3(9, 0, 0)}}, 6.0f, 1.0f},
  };
  Animator animator(Directions{});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Skeleton positioned = singleBone();
    animator.evaluate(animationOf({channel("body", c.keys)}), c.ticks, positioned);
    EXPECT_NEAR(boneX(positioned), c.expected, 1e-5f);

    std::vector<VectorKey> scalingKeys = c.keys;
    for (VectorKey& key : scalingKeys) key.value = Vec3(key.value.x + 1.0f, 1, 1);
    Skeleton scaled = singleBone();
    animator.evaluate(animationOf({channel("body", {{0.0f, Vec3(0)}}, {{0.0f, Quat(1, 0, 0, 0)}}, scalingKeys)}),
                      c.ticks, scaled);
    EXPECT_NEAR(scaled.bones[0].finalTransformation[0][0], c.expected + 1.0f, 1e-5f);
  }
}

TEST(AnimatorKeys, RotationSlerpsAlongTheShorterArc) {
  const float quarter = 1.5707964f;
  struct Case {
    const char* name;
    Quat from, to;
    float ticks;  // keys at 0 and 10
    float expectedAngle;  // about +y
  } cases[] = {
      {"same hemisphere", aroundY(0.0f), aroundY(quarter), 5.0f, quarter / 2},
      // -q is the same rotation; without flipping, the mix would turn the long way round.
      {"opposite hemisphere", aroundY(0.0f), -aroundY(quarter), 5.0f, quarter / 2},
      {"opposite hemisphere, a quarter in", aroundY(0.2f), -aroundY(1.0f), 2.5f, 0.4f},
      {"nearly equal keys mix linearly", aroundY(0.3f), aroundY(0.3f + 1e-5f), 5.0f, 0.3f},
  };
  Animator animator(Directions{});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Skeleton skeleton = singleBone();
    animator.evaluate(animationOf({channel("body", {{0.0f, Vec3(0)}}, {{0.0f, c.from}, {10.0f, c.to}})}),
                      c.ticks, skeleton);
    const Vec4 xAxis = skeleton.bones[0].finalTransformation * Vec4(1, 0, 0, 0);
    EXPECT_NEAR(xAxis.x, std::cos(c.expectedAngle), 1e-4f);
    EXPECT_NEAR(xAxis.z, -std::sin(c.expectedAngle), 1e-4f);
    EXPECT_NEAR(xAxis.y, 0.0f, 1e-5f);
  }
}

TEST(AnimatorKeys, HierarchyComposesParentsLocalsAndBoneOffsets) {
  // root (animated, no bone) -> arm (not animated, bone 1) -> hand (animated, bone 0, offset).
  Skeleton skeleton;
  skeleton.root.name = "root";
  SkeletonNode arm;
  arm.name = "arm";
  arm.transformation = glm::translate(Mat4(1.0f), Vec3(0, 2, 0));
  SkeletonNode hand;
  hand.name = "hand";
  hand.transformation = glm::translate(Mat4(1.0f), Vec3(50, 50, 50));  // replaced by its channel
  arm.children.push_back(hand);
  arm.childCount = 1;
  skeleton.root.children.push_back(arm);
  skeleton.root.childCount = 1;
  skeleton.boneMapping = {{"hand", 0}, {"arm", 1}};
  skeleton.bones.resize(2);
  skeleton.bones[0].offset = glm::translate(Mat4(1.0f), Vec3(0, -5, 0));

  const Animation animation = animationOf({
      channel("hand", {{0.0f, Vec3(0, 0, 3)}}),
      channel("root", {{0.0f, Vec3(1, 0, 0)}}),
      channel("root", {{0.0f, Vec3(99, 0, 0)}}),  // only the first match counts
  });
  Animator(Directions{}).evaluate(animation, 0.0f, skeleton);
  EXPECT_EQ(Vec3(skeleton.bones[1].finalTransformation[3]), Vec3(1, 2, 0));
  EXPECT_EQ(Vec3(skeleton.bones[0].finalTransformation[3]), Vec3(1, -3, 3));
}

TEST(AnimatorTicks, SecondsBecomeLoopingTicks) {
  struct Case {
    const char* name;
    float duration, ticksPerSecond, seconds, expected;
  } cases[] = {
      {"file rate", 10.0f, 10.0f, 0.5f, 5.0f},
      {"loops at the duration", 10.0f, 10.0f, 1.5f, 5.0f},
      {"zero ticks per second runs at 25", 100.0f, 0.0f, 0.2f, 5.0f},
      {"zero rate loops too", 10.0f, 0.0f, 1.0f, 5.0f},
      {"zero duration stays at the start", 0.0f, 10.0f, 1.3f, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Animation animation;
    animation.duration = c.duration;
    animation.ticksPerSecond = c.ticksPerSecond;
    EXPECT_NEAR(Animator::ticksAt(animation, c.seconds), c.expected, 1e-4f);
  }
}

TEST(AnimatorEnemy, LoopsInStepAndRestartsTheDyingAnimationWhenChosen) {
  FakeClock clock;
  Animator animator(Directions{});
  const std::vector<Animation> animations = {rampFrom(0.0f), rampFrom(100.0f)};
  Skeleton first = singleBone(), second = singleBone();
  AnimationState firstState, secondState;

  clock.set(2.35);  // 23.5 ticks: the third loop
  animator.animate(3, firstState, first, animations);
  animator.animate(4, secondState, second, animations);
  EXPECT_NEAR(boneX(first), 3.5f, 1e-4f);
  EXPECT_NEAR(boneX(second), 3.5f, 1e-4f);

  firstState.secondary = 1;  // killed
  clock.set(3.0);
  animator.animate(3, firstState, first, animations);
  EXPECT_NEAR(boneX(first), 100.0f, 1e-4f);
  EXPECT_FLOAT_EQ(firstState.startTime, 3.0f);
  clock.set(3.4);
  animator.animate(3, firstState, first, animations);
  EXPECT_NEAR(boneX(first), 104.0f, 1e-3f);  // keeps its start, does not restart each frame
  clock.set(4.2);
  animator.animate(3, firstState, first, animations);
  EXPECT_NEAR(boneX(first), 102.0f, 1e-3f);  // and loops
}

TEST(AnimatorEdges, ObjectWithoutBonesIsLeftAlone) {
  FakeClock clock;
  Directions directions = released();
  directions["FORWARD"] = true;
  Animator animator(directions);
  for (ObjectId id : {0u, 7u}) {
    SCOPED_TRACE(id);
    Skeleton skeleton;
    AnimationState state;
    state.secondary = id == 7u ? 1 : -1;
    EXPECT_NO_THROW(animator.animate(id, state, skeleton, {}));
    EXPECT_EQ(state.current, 0u);
    EXPECT_FALSE(state.blending);
  }
}

TEST(AnimatorEdges, MissingAnimationIsAnOutOfRangeError) {
  FakeClock clock;
  Directions directions = released();
  directions["LEFT"] = true;
  Animator animator(directions);
  Skeleton skeleton = singleBone();
  AnimationState state;
  EXPECT_THROW(animator.animate(0, state, skeleton, {holdAt(0), holdAt(1)}), std::out_of_range);
}

// Main character: animation k holds the bone at x = 10 k, so a pose shows which
// animations it is made of and in what proportion.
class MainCharacterTest : public ::testing::Test {
 protected:
  MainCharacterTest() : animator(directions) {
    for (int k = 0; k < 5; ++k) animations.push_back(holdAt(10.0f * k));
  }
  void press(std::initializer_list<const char*> keys) {
    directions = released();
    for (const char* key : keys) directions[key] = true;
  }
  float frameAt(double seconds) {
    clock.set(seconds);
    animator.animate(0, state, skeleton, animations);
    return boneX(skeleton);
  }

  FakeClock clock;
  Directions directions = released();
  Animator animator;
  std::vector<Animation> animations;
  Skeleton skeleton = singleBone();
  AnimationState state;
};

TEST_F(MainCharacterTest, KeyCombinationsChooseTheirAnimationsAfterTheCrossFade) {
  struct Case {
    const char* name;
    std::initializer_list<const char*> keys;
    std::uint32_t current;
    std::int32_t secondary;
    float x;
  } cases[] = {
      {"none", {}, 0, -1, 0},
      {"forward", {"FORWARD"}, 1, -1, 10},
      {"backward", {"BACKWARD"}, 2, -1, 20},
      {"right", {"RIGHT"}, 3, -1, 30},
      {"left", {"LEFT"}, 4, -1, 40},
      {"forward and backward", {"FORWARD", "BACKWARD"}, 2, -1, 20},
      {"left and right", {"LEFT", "RIGHT"}, 4, -1, 40},
      {"forward and right", {"FORWARD", "RIGHT"}, 1, 3, 20},
      {"backward and left", {"BACKWARD", "LEFT"}, 2, 4, 30},
      {"forward, backward and right", {"FORWARD", "BACKWARD", "RIGHT"}, 3, -1, 30},
      {"all four", {"FORWARD", "BACKWARD", "RIGHT", "LEFT"}, 4, -1, 40},
  };
  double t = 10.0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    press(c.keys);
    frameAt(t);
    frameAt(t + 0.1);
    frameAt(t + 0.25);  // the cross-fade ends
    EXPECT_NEAR(frameAt(t + 0.3), c.x, 1e-4f);
    EXPECT_EQ(state.current, c.current);
    EXPECT_EQ(state.secondary, c.secondary);
    EXPECT_FALSE(state.blending);
    t += 1.0;
  }
}

TEST_F(MainCharacterTest, CrossFadeWeighsFromPoseAndTargetOverTwoTenthsOfASecond) {
  frameAt(1.0);
  press({"FORWARD"});
  struct Step {
    double time;
    float x;
    bool blending;
  } steps[] = {
      {2.0, 0.0f, true},    // starts at the pose last shown
      {2.05, 2.5f, true},   // a quarter of the way to 10
      {2.15, 7.5f, true},
      {2.2, 7.5f, false},   // the end: the last cross-fade frame's pose stays once more
      {2.3, 10.0f, false},  // then the animation itself
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.time);
    EXPECT_NEAR(frameAt(step.time), step.x, 1e-3f);
    EXPECT_EQ(state.blending, step.blending);
    EXPECT_FLOAT_EQ(state.blendDuration, 0.2f);
  }
}

TEST_F(MainCharacterTest, ANewChoiceMidFadeStartsFromThePoseOnScreen) {
  frameAt(1.0);
  press({"FORWARD"});
  frameAt(2.0);
  EXPECT_NEAR(frameAt(2.1), 5.0f, 1e-3f);
  press({"BACKWARD"});
  EXPECT_NEAR(frameAt(2.12), 5.0f, 1e-3f);
  EXPECT_NEAR(frameAt(2.22), 12.5f, 1e-3f);  // halfway from 5 to 20
}

TEST_F(MainCharacterTest, DiagonalMixesHalfAndHalfAndReleasingRightFadesToForwardAlone) {
  frameAt(1.0);
  press({"FORWARD", "RIGHT"});
  EXPECT_NEAR(frameAt(2.0), 0.0f, 1e-3f);
  EXPECT_NEAR(frameAt(2.1), 10.0f, 1e-3f);  // halfway from 0 to (10 + 30) / 2
  EXPECT_NEAR(frameAt(2.2), 20.0f, 1e-3f);  // the end of a diagonal fade shows the mix at once
  EXPECT_NEAR(frameAt(2.5), 20.0f, 1e-3f);
  EXPECT_NEAR(frameAt(3.0), 20.0f, 1e-3f);

  press({"FORWARD"});
  EXPECT_NEAR(frameAt(4.0), 20.0f, 1e-3f);
  EXPECT_TRUE(state.blending);
  EXPECT_EQ(state.current, 1u);
  EXPECT_EQ(state.secondary, -1);
  EXPECT_NEAR(frameAt(4.1), 15.0f, 1e-3f);
  frameAt(4.2);
  EXPECT_NEAR(frameAt(4.3), 10.0f, 1e-3f);
}

TEST_F(MainCharacterTest, DiagonalMixFollowsBothAnimationsOverTime) {
  animations[1] = rampFrom(0.0f);    // forward: x = ticks
  animations[3] = rampFrom(100.0f);  // right: x = 100 + ticks
  press({"FORWARD", "RIGHT"});
  frameAt(0.0);
  frameAt(0.25);  // the fade ends; the mix restarts from here
  EXPECT_NEAR(frameAt(0.55), (3.0f + 103.0f) / 2, 1e-3f);
  EXPECT_NEAR(frameAt(1.45), (2.0f + 102.0f) / 2, 1e-3f);  // both loop
}
