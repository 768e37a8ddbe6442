#include "scene/Octree.h"

#include <algorithm>
#include <stdexcept>

#include "config/Config.h"
#include "scene/BoundingBox.h"

namespace {

BoundingBox& boxOf(const std::map<ObjectId, BoundingBox*>& boxes, ObjectId id) {
  auto found = boxes.find(id);
  if (found == boxes.end()) throw std::out_of_range("invalid map<K, T> key");
  return *found->second;
}

}  // namespace

Octree::Octree() {
  const Config& config = Config::instance();
  const std::int32_t maxLevels = config.getInt("octree.max.levels");
  const std::int32_t startXZ = config.getInt("octree.start.xz");
  const std::int32_t startY = config.getInt("octree.start.y");
  const std::int32_t range = config.getInt("octree.range");
  root = std::make_unique<OctreeNode>(maxLevels, 0, OctreeNode::Cell{startXZ, startY, startXZ},
                                      OctreeNode::Cell{range, range, range});
}

bool Octree::isUntreed(ObjectId id) const { return std::find(untreed.begin(), untreed.end(), id) != untreed.end(); }

void Octree::add(ObjectId id, BoundingBox* box) {
  boxes[id] = box;
  root->insert(id, ObjectCylinder::of(*box));
}

void Octree::update(ObjectId id, const Mat4& modelMatrix) {
  BoundingBox& box = boxOf(boxes, id);
  if (isUntreed(id)) {
    // Floors and stairs keep their world box current but must not re-enter the tree.
    box.setModelMatrix(modelMatrix);
    return;
  }
  const ObjectCylinder before = ObjectCylinder::of(box);
  box.setModelMatrix(modelMatrix);
  root->remove(id, before);
  root->insert(id, ObjectCylinder::of(box));
}

void Octree::remove(ObjectId id) {
  auto found = boxes.find(id);
  if (found == boxes.end()) return;
  root->remove(id, ObjectCylinder::of(*found->second));
  boxes.erase(found);
  untreed.erase(std::remove(untreed.begin(), untreed.end(), id), untreed.end());
}

void Octree::untree(ObjectId id) {
  const BoundingBox& box = boxOf(boxes, id);
  if (isUntreed(id)) return;
  untreed.push_back(id);
  root->remove(id, ObjectCylinder::of(box));
}

MoveResult Octree::collideTree(ObjectId id, const Mat4& modelMatrix) const {
  const ObjectCylinder cylinder = ObjectCylinder::of(boxOf(boxes, id), modelMatrix);
  std::vector<ObjectId> candidates;
  root->query(cylinder, candidates);
  const float feet = cylinder.center.y - (cylinder.halfHeight * 4.0f) / 5.0f;
  for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
    if (*it == id) continue;
    const BoundingBox& other = boxOf(boxes, *it);
    if (!cylinder.touches(other.getWorldMin(), other.getWorldMax())) continue;
    return {false, *it, other.getWorldMax().y < feet ? 2 : 1};
  }
  return {true, kNoObject, 0};
}

MoveResult Octree::collideUntreed(ObjectId id, const Mat4& modelMatrix) const {
  const ObjectCylinder cylinder = ObjectCylinder::of(boxOf(boxes, id), modelMatrix);
  for (auto it = untreed.rbegin(); it != untreed.rend(); ++it) {
    if (*it == id) continue;
    const BoundingBox& other = boxOf(boxes, *it);
    if (cylinder.touches(other.getWorldMin(), other.getWorldMax())) return {false, *it, 1};
  }
  return {true, kNoObject, 0};
}

bool Octree::anyOverlap(const Vec3& min, const Vec3& max, ObjectId exceptId) const {
  for (const auto& [id, box] : boxes) {
    if (id == exceptId) continue;
    const Vec3& low = box->getWorldMin();
    const Vec3& high = box->getWorldMax();
    if (max.x > low.x && high.x > min.x && max.y > low.y && high.y > min.y && max.z > low.z && high.z > min.z) {
      return true;
    }
  }
  return false;
}

ObjectId Octree::pick(ObjectId shooterId, const Vec3& direction) const {
  const BoundingBox& shooter = boxOf(boxes, shooterId);
  const Vec3 origin(shooter.getModelMatrix() * Vec4(shooter.getCenter(), 1.0f));
  std::vector<ObjectId> candidates;
  root->collectAll(candidates);
  float best = 1000.0f;
  ObjectId hit = kNoObject;
  for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
    if (*it == shooterId) continue;
    const BoundingBox& box = boxOf(boxes, *it);
    const Vec3 center(box.getModelMatrix() * Vec4(box.getCenter(), 1.0f));
    const Vec3 corner(box.getModelMatrix() * Vec4(box.getCorner(7), 1.0f));
    const float radius = glm::distance(center, corner);
    // A box without extent has no surface a shot could meet.
    if (radius <= 0.0f) continue;
    const float along = glm::dot(direction, center - origin);
    if (along < 0.0f) continue;
    const float miss = glm::distance(center, origin + direction * along);
    if (miss <= radius && miss < best) {
      best = miss;
      hit = *it;
    }
  }
  return hit;
}
