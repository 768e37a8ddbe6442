#include "scene/Octree.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "config/Config.h"
#include "scene/BoundingBox.h"

namespace {

BoundingBox& boxOf(const std::map<ObjectId, BoundingBox*>& boxes, ObjectId id) {
  auto found = boxes.find(id);
  if (found == boxes.end()) throw std::out_of_range("invalid map<K, T> key");
  return *found->second;
}

// An object spanning more grid cells than this is tested by every query instead.
constexpr std::int64_t kMostCells = 64;

struct CellRange {
  std::int32_t x0, y0, z0, x1, y1, z1;
  bool usable;  // finite and not too many cells
};

// The grid cells that the world box [low, high] overlaps (borders included).
CellRange cellsOver(const Vec3& low, const Vec3& high) {
  const Vec3 size(Octree::kCellWidth, Octree::kCellHeight, Octree::kCellWidth);
  const Vec3 first = glm::floor(low / size);
  const Vec3 last = glm::floor(high / size);
  for (int axis = 0; axis < 3; ++axis) {
    if (!(std::fabs(first[axis]) < 1e9f && std::fabs(last[axis]) < 1e9f)) return {0, 0, 0, -1, -1, -1, false};
  }
  const CellRange range{static_cast<std::int32_t>(first.x), static_cast<std::int32_t>(first.y),
                        static_cast<std::int32_t>(first.z), static_cast<std::int32_t>(last.x),
                        static_cast<std::int32_t>(last.y),  static_cast<std::int32_t>(last.z), true};
  const std::int64_t count = (static_cast<std::int64_t>(range.x1) - range.x0 + 1) *
                             (static_cast<std::int64_t>(range.y1) - range.y0 + 1) *
                             (static_cast<std::int64_t>(range.z1) - range.z0 + 1);
  return {range.x0, range.y0, range.z0, range.x1, range.y1, range.z1, count <= kMostCells};
}

// 21 bits per axis: cells of any usable range stay apart.
std::int64_t cellKey(std::int32_t x, std::int32_t y, std::int32_t z) {
  const auto bits = [](std::int32_t v) { return static_cast<std::int64_t>(static_cast<std::uint32_t>(v) & 0x1FFFFFu); };
  return (bits(x) << 42) | (bits(y) << 21) | bits(z);
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
  keyed = maxLevels <= OctreeNode::kKeyedLevels;
}

void Octree::file(ObjectId id, BoundingBox* box) {
  const ObjectCylinder cylinder = ObjectCylinder::of(*box);
  Filed& entry = filed[id];
  entry.id = id;
  entry.box = box;
  entry.sequence = nextSequence++;
  entry.cellKey = root->insert(id, cylinder, entry.sequence);
  placeInGrid(entry);
}

void Octree::placeInGrid(Filed& entry) {
  // Filed by the box itself: the queries test the box, not its cylinder.
  const CellRange range = cellsOver(entry.box->getWorldMin(), entry.box->getWorldMax());
  entry.wide = !range.usable;
  if (entry.wide) {
    wideObjects.push_back(&entry);
    return;
  }
  entry.low = {range.x0, range.y0, range.z0};
  entry.high = {range.x1, range.y1, range.z1};
  for (std::int32_t x = range.x0; x <= range.x1; ++x)
    for (std::int32_t y = range.y0; y <= range.y1; ++y)
      for (std::int32_t z = range.z0; z <= range.z1; ++z) cells[cellKey(x, y, z)].push_back(&entry);
}

void Octree::dropFromGrid(const Filed& entry) {
  const auto drop = [&entry](std::vector<const Filed*>& list) {
    list.erase(std::find(list.begin(), list.end(), &entry));
  };
  if (entry.wide) {
    drop(wideObjects);
    return;
  }
  for (std::int32_t x = entry.low[0]; x <= entry.high[0]; ++x)
    for (std::int32_t y = entry.low[1]; y <= entry.high[1]; ++y)
      for (std::int32_t z = entry.low[2]; z <= entry.high[2]; ++z) {
        drop(cells.find(cellKey(x, y, z))->second);  // an emptied cell stays for the next comer
      }
}

void Octree::unfile(ObjectId id) {
  const auto found = filed.find(id);
  if (found == filed.end()) return;
  root->remove(id, ObjectCylinder::of(*found->second.box), found->second.sequence);
  dropFromGrid(found->second);
  filed.erase(found);
}

bool Octree::isUntreed(ObjectId id) const { return std::find(untreed.begin(), untreed.end(), id) != untreed.end(); }

void Octree::add(ObjectId id, BoundingBox* box) {
  unfile(id);  // an object added twice is filed once, as its box now stands
  boxes[id] = box;
  untreed.erase(std::remove(untreed.begin(), untreed.end(), id), untreed.end());
  file(id, box);
}

void Octree::update(ObjectId id, const Mat4& modelMatrix) {
  BoundingBox& box = boxOf(boxes, id);
  if (isUntreed(id)) {
    // Floors and stairs keep their world box current but must not re-enter the tree.
    box.setModelMatrix(modelMatrix);
    return;
  }
  const auto found = filed.find(id);
  if (found == filed.end()) {
    box.setModelMatrix(modelMatrix);
    file(id, &box);
    return;
  }
  // Refiled in place: out of the tree with the cylinder it was filed with,
  // back in as the newest entry of its cell. The grid's lists keep no order,
  // so an object that stays over the same grid cells keeps its entries there.
  Filed& entry = found->second;
  root->remove(id, ObjectCylinder::of(box), entry.sequence);
  box.setModelMatrix(modelMatrix);
  entry.sequence = nextSequence++;
  entry.cellKey = root->insert(id, ObjectCylinder::of(box), entry.sequence);
  const CellRange range = cellsOver(box.getWorldMin(), box.getWorldMax());
  if (range.usable && !entry.wide && entry.low == std::array<std::int32_t, 3>{range.x0, range.y0, range.z0} &&
      entry.high == std::array<std::int32_t, 3>{range.x1, range.y1, range.z1}) {
    return;
  }
  dropFromGrid(entry);
  placeInGrid(entry);
}

void Octree::remove(ObjectId id) {
  auto found = boxes.find(id);
  if (found == boxes.end()) return;
  unfile(id);
  boxes.erase(found);
  untreed.erase(std::remove(untreed.begin(), untreed.end(), id), untreed.end());
}

void Octree::untree(ObjectId id) {
  boxOf(boxes, id);
  if (isUntreed(id)) return;
  untreed.push_back(id);
  unfile(id);
}

MoveResult Octree::collideTree(ObjectId id, const Mat4& modelMatrix) const {
  if (!keyed) return collideTreeByQuery(id, modelMatrix);
  const ObjectCylinder cylinder = ObjectCylinder::of(boxOf(boxes, id), modelMatrix);
  // A box touches the cylinder only if it reaches into the box around the
  // cylinder, so the grid cells under that box hold every candidate.
  // A negative scale turns the half height negative; the cells span its size.
  const Vec3 reach(cylinder.radius, std::fabs(cylinder.halfHeight), cylinder.radius);
  const CellRange range = cellsOver(cylinder.center - reach, cylinder.center + reach);
  if (!range.usable) return collideTreeByQuery(id, modelMatrix);
  // The query lists cells in pre-order and a cell's entries in filing order;
  // walked from the last, the first touch is the touching object latest in
  // that order.
  const Filed* best = nullptr;
  const auto consider = [&](const Filed* other) {
    if (other->id == id) return;
    if (best != nullptr && (other->cellKey < best->cellKey ||
                            (other->cellKey == best->cellKey && other->sequence <= best->sequence))) {
      return;
    }
    if (cylinder.touches(other->box->getWorldMin(), other->box->getWorldMax())) best = other;
  };
  for (const Filed* other : wideObjects) consider(other);
  for (std::int32_t x = range.x0; x <= range.x1; ++x)
    for (std::int32_t y = range.y0; y <= range.y1; ++y)
      for (std::int32_t z = range.z0; z <= range.z1; ++z) {
        const auto cell = cells.find(cellKey(x, y, z));
        if (cell == cells.end()) continue;
        for (const Filed* other : cell->second) consider(other);
      }
  if (best == nullptr) return {true, kNoObject, 0};
  const float feet = cylinder.center.y - (cylinder.halfHeight * 4.0f) / 5.0f;
  return {false, best->id, best->box->getWorldMax().y < feet ? 2 : 1};
}

MoveResult Octree::collideTreeByQuery(ObjectId id, const Mat4& modelMatrix) const {
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
  float along = 0.0f;
  return pick(shooterId, direction, along);
}

Vec3 Octree::centreOf(ObjectId id) const {
  const BoundingBox& box = boxOf(boxes, id);
  return Vec3(box.getModelMatrix() * Vec4(box.getCenter(), 1.0f));
}

ObjectId Octree::pick(ObjectId shooterId, const Vec3& direction, float& hitAlong) const {
  const Vec3 origin = centreOf(shooterId);
  hitAlong = 0.0f;
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
    const float along = glm::dot(direction, center - origin);
    if (along < 0.0f) continue;
    const float miss = glm::distance(center, origin + direction * along);
    if (miss <= radius && miss < best) {
      best = miss;
      hit = *it;
      hitAlong = along;
    }
  }
  return hit;
}
