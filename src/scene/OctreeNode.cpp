#include "scene/OctreeNode.h"

#include <algorithm>

OctreeNode::OctreeNode(std::int32_t maxLevels, std::int32_t level, const Cell& start, const Cell& size,
                       std::uint64_t key)
    : maxLevels(maxLevels),
      level(level),
      start(start),
      center(static_cast<float>(start[0]) + static_cast<float>(size[0]) * 0.5f,
             static_cast<float>(start[1]) + static_cast<float>(size[1]) * 0.5f,
             static_cast<float>(start[2]) + static_cast<float>(size[2]) * 0.5f),
      size(size),
      key(key) {}

namespace {

// -1 low side, +1 high side, 0 when the span [p - extent, p + extent] touches the plane.
int sideOf(float plane, float p, float extent) {
  if (plane > p + extent) return -1;
  if (p - extent > plane) return 1;
  return 0;
}

}  // namespace

int OctreeNode::childIndex(const ObjectCylinder& cylinder) const {
  const Vec3& p = cylinder.center;
  const int x = sideOf(center.x, p.x, cylinder.radius);
  const int y = sideOf(center.y, p.y, cylinder.halfHeight);
  const int z = sideOf(center.z, p.z, cylinder.radius);
  if (x == 0 || y == 0 || z == 0) return -1;
  return (x > 0 ? 1 : 0) + (y > 0 ? 2 : 0) + (z > 0 ? 4 : 0);
}

std::uint64_t OctreeNode::insert(ObjectId id, const ObjectCylinder& cylinder, std::uint64_t sequence) {
  if (hasChildren()) {
    const int index = childIndex(cylinder);
    if (index >= 0) return children[static_cast<std::size_t>(index)]->insert(id, cylinder, sequence);
  }
  entries.push_back({id, cylinder, sequence});
  if (!hasChildren() && level < maxLevels) {
    split();
    // A node splits on its first insertion, so this entry is the only one here.
    const int index = childIndex(cylinder);
    if (index >= 0) {
      entries.clear();
      return children[static_cast<std::size_t>(index)]->insert(id, cylinder, sequence);
    }
  }
  return key;
}

void OctreeNode::remove(ObjectId id, const ObjectCylinder& cylinder, std::uint64_t sequence) {
  OctreeNode* node = this;
  while (node->hasChildren()) {
    const int index = node->childIndex(cylinder);
    if (index < 0) break;
    node = node->children[static_cast<std::size_t>(index)].get();
  }
  std::vector<OctreeEntry>& list = node->entries;
  if (sequence != 0) {
    const auto found = std::lower_bound(list.begin(), list.end(), sequence,
                                        [](const OctreeEntry& entry, std::uint64_t s) { return entry.sequence < s; });
    if (found != list.end() && found->sequence == sequence && found->id == id) {
      list.erase(found);
      return;
    }
  }
  auto found = std::find_if(list.begin(), list.end(), [id](const OctreeEntry& entry) { return entry.id == id; });
  if (found != list.end()) list.erase(found);
}

void OctreeNode::query(const ObjectCylinder& cylinder, std::vector<ObjectId>& out) const {
  for (const OctreeEntry& entry : entries) out.push_back(entry.id);
  if (!hasChildren()) return;
  const int index = childIndex(cylinder);
  if (index >= 0) {
    children[static_cast<std::size_t>(index)]->query(cylinder, out);
  } else {
    for (const auto& child : children) child->collectAll(out);
  }
}

void OctreeNode::collectAll(std::vector<ObjectId>& out) const {
  for (const OctreeEntry& entry : entries) out.push_back(entry.id);
  if (!hasChildren()) return;
  for (const auto& child : children) child->collectAll(out);
}

void OctreeNode::split() {
  const Cell half = {size[0] / 2, size[1] / 2, size[2] / 2};
  for (int i = 0; i < 8; ++i) {
    Cell childStart = start;
    for (int axis = 0; axis < 3; ++axis) {
      if ((i >> axis) & 1) childStart[static_cast<std::size_t>(axis)] += half[static_cast<std::size_t>(axis)];
    }
    // One hexadecimal digit per level, 1 to 8 for the child's index and 0 for
    // "this cell itself", most significant first: pre-order compares as numbers.
    std::uint64_t childKey = key;
    if (level + 1 <= kKeyedLevels) {
      childKey |= static_cast<std::uint64_t>(i + 1) << (4 * (kKeyedLevels - (level + 1)));
    }
    children[static_cast<std::size_t>(i)] =
        std::make_unique<OctreeNode>(maxLevels, level + 1, childStart, half, childKey);
  }
}
