#include "scene/Animator.h"

#include <algorithm>
#include <cmath>

#include "app/Clock.h"

namespace {

constexpr ObjectId kMainCharacter = 0;
constexpr float kCrossFadeSeconds = 0.2f;
constexpr float kDefaultTicksPerSecond = 25.0f;
// Marks a dying object whose dying animation has had its start time taken.
constexpr std::uint32_t kDyingStarted = 2;

enum MainAnimation : std::int32_t { kIdle = 0, kForward = 1, kBackward = 2, kRight = 3, kLeft = 4 };

// Index of the key segment for ticks: the first i with ticks < time[i + 1];
// past the last key it is 0, so the value extrapolates from the first two keys.
template <typename Key>
std::size_t segmentAt(const std::vector<Key>& keys, float ticks) {
  for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
    if (ticks < keys[i + 1].time) return i;
  }
  return 0;
}

template <typename Key>
float factorAt(const std::vector<Key>& keys, std::size_t i, float ticks) {
  const float span = keys[i + 1].time - keys[i].time;
  return span != 0.0f ? (ticks - keys[i].time) / span : 0.0f;  // equal key times would divide by 0
}

Vec3 vectorAt(const std::vector<VectorKey>& keys, float ticks, const Vec3& whenEmpty) {
  if (keys.empty()) return whenEmpty;
  if (keys.size() == 1) return keys[0].value;
  const std::size_t i = segmentAt(keys, ticks);
  const float factor = factorAt(keys, i, ticks);
  return keys[i].value + (keys[i + 1].value - keys[i].value) * factor;
}

Quat slerpShorter(const Quat& from, Quat to, float factor) {
  float dot = glm::dot(from, to);
  if (dot < 0.0f) {
    to = -to;
    dot = -dot;
  }
  Quat result;
  if (dot <= 0.9999999f) {
    const float angle = std::acos(dot);
    result = (to * std::sin(factor * angle) + from * std::sin((1.0f - factor) * angle)) / std::sin(angle);
  } else {
    result = from * (1.0f - factor) + to * factor;
  }
  const float length = glm::length(result);
  return length > 0.0f ? result / length : Quat(1.0f, 0.0f, 0.0f, 0.0f);
}

Quat rotationAt(const std::vector<RotationKey>& keys, float ticks) {
  if (keys.empty()) return Quat(1.0f, 0.0f, 0.0f, 0.0f);
  if (keys.size() == 1) return keys[0].value;
  const std::size_t i = segmentAt(keys, ticks);
  return slerpShorter(keys[i].value, keys[i + 1].value, factorAt(keys, i, ticks));
}

const AnimationChannel* channelFor(const Animation& animation, const std::string& nodeName) {
  for (const AnimationChannel& channel : animation.channels) {
    if (channel.nodeName == nodeName) return &channel;
  }
  return nullptr;
}

void poseNode(const Animation& animation, float ticks, const SkeletonNode& node, const Mat4& parent,
              Skeleton& skeleton) {
  Mat4 local = node.transformation;
  if (const AnimationChannel* channel = channelFor(animation, node.name)) {
    const Vec3 scaling = vectorAt(channel->scalingKeys, ticks, Vec3(1.0f));
    const Quat rotation = rotationAt(channel->rotationKeys, ticks);
    const Vec3 position = vectorAt(channel->positionKeys, ticks, Vec3(0.0f));
    local = glm::translate(Mat4(1.0f), position) * glm::mat4_cast(rotation) *
            glm::scale(Mat4(1.0f), scaling);
  }
  const Mat4 global = parent * local;
  const auto bone = skeleton.boneMapping.find(node.name);
  if (bone != skeleton.boneMapping.end() && bone->second < skeleton.bones.size()) {
    BoneInfo& info = skeleton.bones[bone->second];
    info.finalTransformation = global * info.offset;
  }
  for (const SkeletonNode& child : node.children) poseNode(animation, ticks, child, global, skeleton);
}

// finalTransformation[i] = first[i] * firstWeight + second[i] * (1 - firstWeight).
void mixInto(Skeleton& skeleton, const Skeleton& first, const Skeleton& second, float firstWeight) {
  const std::size_t count = std::min({skeleton.bones.size(), first.bones.size(), second.bones.size()});
  for (std::size_t i = 0; i < count; ++i) {
    skeleton.bones[i].finalTransformation = first.bones[i].finalTransformation * firstWeight +
                                            second.bones[i].finalTransformation * (1.0f - firstWeight);
  }
}

bool pressed(const std::map<std::string, bool>& directions, const char* action) {
  const auto entry = directions.find(action);
  return entry != directions.end() && entry->second;
}

}  // namespace

Animator::Animator(const std::map<std::string, bool>& directions) : directions(directions) {}

float Animator::ticksAt(const Animation& animation, float elapsedSeconds) {
  const float ticksPerSecond =
      animation.ticksPerSecond != 0.0f ? animation.ticksPerSecond : kDefaultTicksPerSecond;
  // fmod by a zero duration would give NaN ticks and NaN bones.
  if (!(animation.duration > 0.0f)) return 0.0f;
  return std::fmod(elapsedSeconds * ticksPerSecond, animation.duration);
}

void Animator::evaluate(const Animation& animation, float ticks, Skeleton& skeleton) const {
  poseNode(animation, ticks, skeleton.root, rootParent, skeleton);
}

void Animator::animate(ObjectId id, AnimationState& state, Skeleton& skeleton,
                       const std::vector<Animation>& animations) {
  const float now = static_cast<float>(gameclock::now());
  if (skeleton.bones.empty()) return;
  if (id == kMainCharacter) {
    animateMainCharacter(state, skeleton, animations, now);
    return;
  }
  if (state.secondary != -1) {
    if (state.current != kDyingStarted) {
      state.startTime = now;
      state.current = kDyingStarted;
    }
    const Animation& dying = animations.at(static_cast<std::size_t>(state.secondary));
    evaluate(dying, ticksAt(dying, now - state.startTime), skeleton);
    return;
  }
  const Animation& alive = animations.at(state.current);
  evaluate(alive, ticksAt(alive, now - state.startTime), skeleton);
}

void Animator::animateMainCharacter(AnimationState& state, Skeleton& skeleton,
                                    const std::vector<Animation>& animations, float now) {
  const bool forward = pressed(directions, "FORWARD");
  const bool backward = pressed(directions, "BACKWARD");
  const bool right = pressed(directions, "RIGHT");
  const bool left = pressed(directions, "LEFT");
  const bool diagonal = (forward != backward) && (left != right);

  // Backward wins over forward; right then left override it unless walking
  // diagonally, where the sideways animation becomes the second of the mix.
  std::int32_t primary = kIdle;
  std::int32_t second = -1;
  if (backward) {
    primary = kBackward;
  } else if (forward) {
    primary = kForward;
  }
  if (right) (diagonal ? second : primary) = kRight;
  if (left) (diagonal ? second : primary) = kLeft;

  const auto animation = [&](std::int32_t index) -> const Animation& {
    return animations.at(static_cast<std::size_t>(index));
  };

  if (state.current != static_cast<std::uint32_t>(primary) || state.secondary != second) {
    state.fromPose.bones = skeleton.bones;
    evaluate(animation(primary), 0.0f, skeleton);
    state.poseA.bones = skeleton.bones;
    if (diagonal) {
      evaluate(animation(second), 0.0f, skeleton);
      state.poseB.bones = skeleton.bones;
    }
    state.current = static_cast<std::uint32_t>(primary);
    state.secondary = second;
    state.startTime = now;
    state.blending = true;
    state.blendDuration = kCrossFadeSeconds;
  }

  if (state.blending && now < state.startTime + state.blendDuration) {
    const float remaining = state.startTime + state.blendDuration - now;
    Skeleton target;
    if (diagonal) {
      target.bones = state.poseA.bones;
      mixInto(target, state.poseA, state.poseB, 0.5f);
    }
    mixInto(skeleton, state.fromPose, diagonal ? target : state.poseA, remaining / state.blendDuration);
    return;
  }

  const std::int32_t current = static_cast<std::int32_t>(state.current);
  if (state.blending) {
    // The cross-fade is over: the looping animation starts from here.
    state.blending = false;
    state.startTime = now;
    if (diagonal) {
      evaluate(animation(current), 0.0f, skeleton);
      state.poseA.bones = skeleton.bones;
      evaluate(animation(state.secondary), 0.0f, skeleton);
      state.poseB.bones = skeleton.bones;
      mixInto(skeleton, state.poseA, state.poseB, 0.5f);
    }
    return;
  }

  const Animation& playing = animation(current);
  const float ticks = ticksAt(playing, now - state.startTime);
  evaluate(playing, ticks, skeleton);
  if (diagonal) {
    state.poseA.bones = skeleton.bones;
    const Animation& mixed = animation(state.secondary);
    evaluate(mixed, ticksAt(mixed, now - state.startTime), skeleton);
    state.poseB.bones = skeleton.bones;
    mixInto(skeleton, state.poseA, state.poseB, 0.5f);
  }
}
