#pragma once
// Bone data of an animated model: the bones that skin the mesh and the node
// hierarchy that poses them.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/Types.h"

struct BoneInfo {
  Mat4 offset{1.0f};               // mesh space to bone space
  Mat4 finalTransformation{1.0f};  // written by the animator each frame
};

struct SkeletonNode {
  std::string name;
  Mat4 transformation{1.0f};  // relative to the parent
  std::uint32_t childCount = 0;
  std::vector<SkeletonNode> children;  // in the file's order
};

struct Skeleton {
  std::map<std::string, std::uint32_t> boneMapping;  // bone name to bone index
  std::vector<BoneInfo> bones;                       // indexed by bone index
  SkeletonNode root;
};

// The "bones" uniform holds this many matrices; models with more are rejected.
inline constexpr std::size_t kMaxBones = 100;
