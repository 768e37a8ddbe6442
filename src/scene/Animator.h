#pragma once
// Poses skinned objects every frame from their key-frame animations. The main
// character (id 0) follows the movement keys, cross-fades over 0.2 s when the
// choice changes and mixes two animations half and half when walking
// diagonally; every other object loops its animation, or its dying animation
// from the moment it was chosen.
#include <map>
#include <string>
#include <vector>

#include "common/Types.h"
#include "scene/Animation.h"
#include "scene/AnimationState.h"
#include "scene/Skeleton.h"

class Animator {
 public:
  // Only points to the input's pressed states "FORWARD", "BACKWARD", "RIGHT", "LEFT".
  explicit Animator(const std::map<std::string, bool>& directions);

  // Writes every bone's finalTransformation of skeleton for the game clock's
  // current time. Does nothing for a skeleton without bones. An animation index
  // the object does not have throws std::out_of_range.
  void animate(ObjectId id, AnimationState& state, Skeleton& skeleton,
               const std::vector<Animation>& animations);

  // Poses skeleton at the given time in ticks by walking its node hierarchy.
  void evaluate(const Animation& animation, float ticks, Skeleton& skeleton) const;

  // Seconds since an animation started, as looping ticks (0 ticks per second means 25).
  static float ticksAt(const Animation& animation, float elapsedSeconds);

 private:
  void animateMainCharacter(AnimationState& state, Skeleton& skeleton,
                            const std::vector<Animation>& animations, float now);
  // evaluate() with the object's node-to-channel index instead of a search by name.
  void evaluateIndexed(AnimationState& state, const std::vector<Animation>& animations,
                       std::size_t index, float ticks, Skeleton& skeleton) const;
  // evaluateIndexed(), or the pose an object of the same source got at the
  // same time this frame: the same skeleton at the same ticks poses alike.
  void evaluateShared(AnimationState& state, const std::vector<Animation>& animations, std::size_t index,
                      float ticks, Skeleton& skeleton, float now);

  struct SharedPose {
    ObjectId source;
    std::size_t animation;
    float ticks;
    std::vector<Mat4> bones;
  };

  const std::map<std::string, bool>& directions;
  Mat4 rootParent{1.0f};
  float posesTime = -1.0f;          // the clock time the shared poses were taken at
  std::vector<SharedPose> poses;    // this frame's poses by source, animation and ticks
};
