#pragma once
// What an animated scene object remembers between frames: which animation
// plays, the running cross-fade, and the poses it blends between.
#include <cstdint>
#include <vector>

#include "common/Types.h"
#include "scene/Skeleton.h"

struct AnimationState {
  std::uint32_t current = 0;  // index into the object's animations
  // Main character: the second animation of a diagonal mix. Other objects: the
  // animation that replaces current (set to 1 when an enemy dies). -1: none.
  std::int32_t secondary = -1;
  bool blending = false;      // a cross-fade is running
  float blendDuration = 1.0f;  // seconds; 0.2 for every cross-fade
  float startTime = 0.0f;      // game-clock seconds when the animation or cross-fade began
  Skeleton poseA;     // target pose of the primary animation (bones only)
  Skeleton poseB;     // target pose of the secondary animation (bones only)
  Skeleton fromPose;  // the pose shown when the cross-fade began (bones only)
  // Lookups of the skeleton's nodes in depth-first order, filled by the
  // animator at first use (the object's animations and skeleton never change
  // after loading): each node's bone (-1: none) and, per animation, its
  // channel (-1: none).
  std::vector<std::int32_t> nodeBones;
  std::vector<std::vector<std::int32_t>> channelIndex;
  // Objects copied from one type share its skeleton and animations exactly,
  // so at the same ticks they share the pose: the type's id (kNoObject: none).
  ObjectId poseSource = kNoObject;
};
