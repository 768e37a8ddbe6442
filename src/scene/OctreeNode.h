#pragma once
// One cubic cell of the octree. An object is filed in the deepest cell whose
// centre planes its cylinder does not touch (or in a cell at the deepest level).
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/Types.h"
#include "scene/ObjectCylinder.h"

struct OctreeEntry {
  ObjectId id;
  ObjectCylinder cylinder;
};

class OctreeNode {
 public:
  using Cell = std::array<std::int32_t, 3>;

  OctreeNode(std::int32_t maxLevels, std::int32_t level, const Cell& start, const Cell& size);

  // Files the cylinder in the deepest child that holds it whole, splitting on the way.
  void insert(ObjectId id, const ObjectCylinder& cylinder);
  // Erases the first entry with this id in the cell the cylinder leads to; absent: nothing.
  void remove(ObjectId id, const ObjectCylinder& cylinder);
  // Appends every id that may intersect the cylinder (and more).
  void query(const ObjectCylinder& cylinder, std::vector<ObjectId>& out) const;
  // Appends this cell's ids, then those of the children in index order.
  void collectAll(std::vector<ObjectId>& out) const;
  // The child (bit 0 x, bit 1 y, bit 2 z high) holding the whole cylinder, or -1.
  int childIndex(const ObjectCylinder& cylinder) const;
  // Creates the eight children, each half the size (integer halving).
  void split();

  bool hasChildren() const { return children[0] != nullptr; }
  const OctreeNode& child(int index) const { return *children[static_cast<std::size_t>(index)]; }
  const std::vector<OctreeEntry>& getEntries() const { return entries; }
  std::int32_t getLevel() const { return level; }
  const Cell& getStart() const { return start; }
  const Cell& getSize() const { return size; }
  const Vec3& getCenter() const { return center; }

 private:
  std::int32_t maxLevels;
  std::int32_t level;
  std::vector<OctreeEntry> entries;
  Cell start;
  Vec3 center;
  Cell size;
  std::array<std::unique_ptr<OctreeNode>, 8> children;
};
