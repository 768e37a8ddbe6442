#pragma once
// Key-frame animation copied out of an imported file: one track per node.
#include <cstdint>
#include <string>
#include <vector>

#include "common/Types.h"

struct VectorKey {
  float time = 0.0f;  // ticks
  Vec3 value{0.0f};
};

struct RotationKey {
  float time = 0.0f;  // ticks
  Quat value{1.0f, 0.0f, 0.0f, 0.0f};  // GLM order (w, x, y, z) in the constructor
};

struct AnimationChannel {
  std::string nodeName;
  std::uint32_t positionKeyCount = 0;
  std::vector<VectorKey> positionKeys;
  std::uint32_t rotationKeyCount = 0;
  std::vector<RotationKey> rotationKeys;
  std::uint32_t scalingKeyCount = 0;
  std::vector<VectorKey> scalingKeys;
};

struct Animation {
  std::string name;
  float duration = 0.0f;        // ticks
  float ticksPerSecond = 0.0f;  // 0 in a file means 25
  std::uint32_t channelCount = 0;
  std::vector<AnimationChannel> channels;
};
