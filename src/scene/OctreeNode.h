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
  std::uint64_t sequence = 0;  // when it was filed here: entries keep this order
};

class OctreeNode {
 public:
  using Cell = std::array<std::int32_t, 3>;

  OctreeNode(std::int32_t maxLevels, std::int32_t level, const Cell& start, const Cell& size,
             std::uint64_t key = 0);

  // Files the cylinder in the deepest child that holds it whole, splitting on
  // the way; the key of the cell it went to.
  std::uint64_t insert(ObjectId id, const ObjectCylinder& cylinder, std::uint64_t sequence = 0);
  // Erases the first entry with this id in the cell the cylinder leads to; absent: nothing.
  // A non-zero sequence (the one it was filed with) finds it by halving, as a
  // cell's entries stand in filing order.
  void remove(ObjectId id, const ObjectCylinder& cylinder, std::uint64_t sequence = 0);
  // Appends every id that may intersect the cylinder (and more).
  void query(const ObjectCylinder& cylinder, std::vector<ObjectId>& out) const;
  // Appends this cell's ids, then those of the children in index order.
  void collectAll(std::vector<ObjectId>& out) const;
  // The child (bit 0 x, bit 1 y, bit 2 z high) holding the whole cylinder, or -1.
  int childIndex(const ObjectCylinder& cylinder) const;
  // Creates the eight children, each half the size (integer halving).
  void split();

  // The cell's place in a walk of the tree that visits a cell, then its
  // children in index order: comparing keys compares places, down to this
  // many levels (deeper cells share their ancestor's key).
  static constexpr std::int32_t kKeyedLevels = 15;
  std::uint64_t getKey() const { return key; }

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
  std::uint64_t key;
  std::array<std::unique_ptr<OctreeNode>, 8> children;
};
