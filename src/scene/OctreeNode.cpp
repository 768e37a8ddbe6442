#include "scene/OctreeNode.h"

#include <algorithm>

OctreeNode::OctreeNode(std::int32_t maxLevels, std::int32_t level, const Cell& start, const Cell& size)
    : maxLevels(maxLevels),
      level(level),
      start(start),
      center(static_cast<float>(start[0]) + static_cast<float>(size[0]) * 0.5f,
             static_cast<float>(start[1]) + static_cast<float>(size[1]) * 0.5f,
             static_cast<float>(start[2]) + static_cast<float>(size[2]) * 0.5f),
      size(size) {}

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

void OctreeNode::insert(ObjectId id, const ObjectCylinder& cylinder) {
  if (hasChildren()) {
    const int index = childIndex(cylinder);
    if (index >= 0) {
      children[static_cast<std::size_t>(index)]->insert(id, cylinder);
      return;
    }
  }
  entries.push_back({id, cylinder});
  if (!hasChildren() && level < maxLevels) {
    split();
    // A node splits on its first insertion, so this entry is the only one here.
    const int index = childIndex(cylinder);
    if (index >= 0) {
      children[static_cast<std::size_t>(index)]->insert(id, cylinder);
      entries.clear();
    }
  }
}

void OctreeNode::remove(ObjectId id, const ObjectCylinder& cylinder) {
  OctreeNode* node = this;
  while (node->hasChildren()) {
    const int index = node->childIndex(cylinder);
    if (index < 0) break;
    node = node->children[static_cast<std::size_t>(index)].get();
  }
  auto found = std::find_if(node->entries.begin(), node->entries.end(),
                            [id](const OctreeEntry& entry) { return entry.id == id; });
  if (found != node->entries.end()) node->entries.erase(found);
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
    children[static_cast<std::size_t>(i)] = std::make_unique<OctreeNode>(maxLevels, level + 1, childStart, half);
  }
}
