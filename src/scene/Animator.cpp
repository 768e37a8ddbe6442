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

// Channels of the nodes in depth-first order, as the search by name finds them.
void indexChannels(const Animation& animation, const SkeletonNode& node, std::vector<std::int32_t>& table) {
  const AnimationChannel* channel = channelFor(animation, node.name);
  table.push_back(channel ? static_cast<std::int32_t>(channel - animation.channels.data()) : -1);
  for (const SkeletonNode& child : node.children) indexChannels(animation, child, table);
}

void indexBones(const Skeleton& skeleton, const SkeletonNode& node, std::vector<std::int32_t>& table) {
  const auto bone = skeleton.boneMapping.find(node.name);
  table.push_back(bone != skeleton.boneMapping.end() ? static_cast<std::int32_t>(bone->second) : -1);
  for (const SkeletonNode& child : node.children) indexBones(skeleton, child, table);
}

// Where a node's channel and bone are found: by name, or from the object's
// tables at the node's depth-first position.
struct NodeLookup {
  const std::vector<std::int32_t>* channels = nullptr;
  const std::vector<std::int32_t>* bones = nullptr;
  std::size_t position = 0;

  const AnimationChannel* channel(const Animation& animation, const SkeletonNode& node) const {
    if (channels == nullptr || position >= channels->size()) return channelFor(animation, node.name);
    const std::int32_t entry = (*channels)[position];
    return entry >= 0 && static_cast<std::size_t>(entry) < animation.channels.size()
               ? &animation.channels[static_cast<std::size_t>(entry)]
               : nullptr;
  }
  BoneInfo* bone(Skeleton& skeleton, const SkeletonNode& node) const {
    std::int64_t index = -1;
    if (bones == nullptr || position >= bones->size()) {
      const auto found = skeleton.boneMapping.find(node.name);
      if (found != skeleton.boneMapping.end()) index = found->second;
    } else {
      index = (*bones)[position];
    }
    return index >= 0 && static_cast<std::size_t>(index) < skeleton.bones.size()
               ? &skeleton.bones[static_cast<std::size_t>(index)]
               : nullptr;
  }
};

void poseNode(const Animation& animation, float ticks, const SkeletonNode& node, const Mat4& parent,
              Skeleton& skeleton, NodeLookup& lookup) {
  Mat4 local = node.transformation;
  if (const AnimationChannel* channel = lookup.channel(animation, node)) {
    const Vec3 scaling = vectorAt(channel->scalingKeys, ticks, Vec3(1.0f));
    const Quat rotation = rotationAt(channel->rotationKeys, ticks);
    const Vec3 position = vectorAt(channel->positionKeys, ticks, Vec3(0.0f));
    local = glm::translate(Mat4(1.0f), position) * glm::mat4_cast(rotation) *
            glm::scale(Mat4(1.0f), scaling);
  }
  const Mat4 global = parent * local;
  if (BoneInfo* bone = lookup.bone(skeleton, node)) bone->finalTransformation = global * bone->offset;
  ++lookup.position;
  for (const SkeletonNode& child : node.children) poseNode(animation, ticks, child, global, skeleton, lookup);
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
  NodeLookup byName;
  poseNode(animation, ticks, skeleton.root, rootParent, skeleton, byName);
}

void Animator::evaluateIndexed(AnimationState& state, const std::vector<Animation>& animations,
                               std::size_t index, float ticks, Skeleton& skeleton) const {
  const Animation& animation = animations.at(index);
  if (state.channelIndex.size() != animations.size()) state.channelIndex.assign(animations.size(), {});
  std::vector<std::int32_t>& table = state.channelIndex[index];
  if (table.empty()) indexChannels(animation, skeleton.root, table);
  if (state.nodeBones.empty()) indexBones(skeleton, skeleton.root, state.nodeBones);
  NodeLookup indexed{&table, &state.nodeBones, 0};
  poseNode(animation, ticks, skeleton.root, rootParent, skeleton, indexed);
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
    const auto dying = static_cast<std::size_t>(state.secondary);
    evaluateShared(state, animations, dying, ticksAt(animations.at(dying), now - state.startTime), skeleton,
                   now);
    return;
  }
  evaluateShared(state, animations, state.current, ticksAt(animations.at(state.current), now - state.startTime),
                 skeleton, now);
}

void Animator::evaluateShared(AnimationState& state, const std::vector<Animation>& animations,
                              std::size_t index, float ticks, Skeleton& skeleton, float now) {
  if (state.poseSource == kNoObject) {
    evaluateIndexed(state, animations, index, ticks, skeleton);
    return;
  }
  if (now != posesTime) {
    posesTime = now;
    poses.clear();
  }
  for (const SharedPose& pose : poses) {
    if (pose.source != state.poseSource || pose.animation != index || pose.ticks != ticks ||
        pose.bones.size() != skeleton.bones.size()) {
      continue;
    }
    for (std::size_t i = 0; i < pose.bones.size(); ++i) skeleton.bones[i].finalTransformation = pose.bones[i];
    return;
  }
  evaluateIndexed(state, animations, index, ticks, skeleton);
  SharedPose& pose = poses.emplace_back(SharedPose{state.poseSource, index, ticks, {}});
  pose.bones.reserve(skeleton.bones.size());
  for (const BoneInfo& bone : skeleton.bones) pose.bones.push_back(bone.finalTransformation);
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

  const auto pose = [&](std::int32_t index, float ticks) {
    evaluateIndexed(state, animations, static_cast<std::size_t>(index), ticks, skeleton);
  };
  const auto ticksOf = [&](std::int32_t index) {
    return ticksAt(animations.at(static_cast<std::size_t>(index)), now - state.startTime);
  };

  if (state.current != static_cast<std::uint32_t>(primary) || state.secondary != second) {
    state.fromPose.bones = skeleton.bones;
    pose(primary, 0.0f);
    state.poseA.bones = skeleton.bones;
    if (diagonal) {
      pose(second, 0.0f);
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
      pose(current, 0.0f);
      state.poseA.bones = skeleton.bones;
      pose(state.secondary, 0.0f);
      state.poseB.bones = skeleton.bones;
      mixInto(skeleton, state.poseA, state.poseB, 0.5f);
    }
    return;
  }

  pose(current, ticksOf(current));
  if (diagonal) {
    state.poseA.bones = skeleton.bones;
    // Each animation runs at its own ticks, so two of different lengths both loop.
    pose(state.secondary, ticksOf(state.secondary));
    state.poseB.bones = skeleton.bones;
    mixInto(skeleton, state.poseA, state.poseB, 0.5f);
  }
}
