#pragma once
// The spatial index of the placed objects. Walls, lamps and characters are
// filed in a tree of cubic cells by their cylinders; floors and stairs stay
// registered but outside the tree ("untreed") and are tested in full.
#include <map>
#include <memory>
#include <vector>

#include "common/Types.h"
#include "game/MoveResult.h"
#include "scene/OctreeNode.h"

class BoundingBox;

class Octree {
 public:
  // Reads "octree.max.levels", "octree.start.xz", "octree.start.y", "octree.range".
  Octree();

  // Registers the box (not owned) and files its current cylinder.
  void add(ObjectId id, BoundingBox* box);
  // Gives the box its new matrix and refiles it; an unknown id throws std::out_of_range.
  void update(ObjectId id, const Mat4& modelMatrix);
  // Forgets the object entirely; an unknown id is ignored.
  void remove(ObjectId id);
  // Keeps the object registered but takes it out of the tree (floors, stairs).
  void untree(ObjectId id);

  // The cylinder of id's box under modelMatrix against the tree's candidates, last
  // to first: a touch gives {false, other, 1 or 2}, none gives {true, kNoObject, 0}.
  MoveResult collideTree(ObjectId id, const Mat4& modelMatrix) const;
  // The same against the untreed objects, last to first; a touch is always kind 1.
  MoveResult collideUntreed(ObjectId id, const Mat4& modelMatrix) const;
  // True when a registered box other than exceptId overlaps [min, max] strictly.
  bool anyOverlap(const Vec3& min, const Vec3& max, ObjectId exceptId) const;
  // The tree object whose centre passes closest to the shooter's line of fire
  // (within its sphere), or kNoObject. direction must be of unit length.
  ObjectId pick(ObjectId shooterId, const Vec3& direction) const;

  bool contains(ObjectId id) const { return boxes.count(id) != 0; }
  bool isUntreed(ObjectId id) const;
  const OctreeNode& getRoot() const { return *root; }

 private:
  std::map<ObjectId, BoundingBox*> boxes;
  std::unique_ptr<OctreeNode> root;
  std::vector<ObjectId> untreed;
};
