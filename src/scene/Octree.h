#pragma once
// The spatial index of the placed objects. Walls, lamps and characters are
// filed in a tree of cubic cells by their cylinders; floors and stairs stay
// registered but outside the tree ("untreed") and are tested in full.
// Beside the tree, a grid of small cells finds the objects a moving cylinder
// can touch without walking every candidate the tree gives.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
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
  // Of the objects touching, that is the one the tree's query lists last; the
  // grid finds them, and their place in the tree's order decides.
  MoveResult collideTree(ObjectId id, const Mat4& modelMatrix) const;
  // The same, walking every candidate of the tree's query (the reference the
  // grid must agree with; also used when the tree is too deep to be keyed).
  MoveResult collideTreeByQuery(ObjectId id, const Mat4& modelMatrix) const;
  // The same against the untreed objects, last to first; a touch is always kind 1.
  MoveResult collideUntreed(ObjectId id, const Mat4& modelMatrix) const;
  // True when a registered box other than exceptId overlaps [min, max] strictly.
  bool anyOverlap(const Vec3& min, const Vec3& max, ObjectId exceptId) const;
  // The tree object whose centre passes closest to the shooter's line of fire
  // (within its sphere), or kNoObject. direction must be of unit length.
  ObjectId pick(ObjectId shooterId, const Vec3& direction) const;
  // The same pick, with how far along the line of fire the target's centre
  // lies (0 for none): where a shot would meet it.
  ObjectId pick(ObjectId shooterId, const Vec3& direction, float& along) const;
  // The shooter's centre, where its line of fire starts.
  Vec3 centreOf(ObjectId id) const;

  bool contains(ObjectId id) const { return boxes.count(id) != 0; }
  bool isUntreed(ObjectId id) const;
  const OctreeNode& getRoot() const { return *root; }

  // Size of a grid cell in x and z, and in y, in units: about a character's.
  static constexpr float kCellWidth = 2.0f;
  static constexpr float kCellHeight = 4.0f;

 private:
  // Where a tree object stands in the tree's order and in the grid.
  struct Filed {
    ObjectId id = kNoObject;
    BoundingBox* box = nullptr;
    std::uint64_t cellKey = 0;   // the tree cell holding it (pre-order)
    std::uint64_t sequence = 0;  // when it was filed there
    std::array<std::int32_t, 3> low{0, 0, 0}, high{-1, -1, -1};  // its grid cells; none when wide
    bool wide = false;                                           // too large for the grid
  };
  void file(ObjectId id, BoundingBox* box);
  void unfile(ObjectId id);
  // The entry into the grid cells under its box's world extent, or the wide list.
  void placeInGrid(Filed& entry);
  void dropFromGrid(const Filed& entry);

  std::map<ObjectId, BoundingBox*> boxes;
  std::unique_ptr<OctreeNode> root;
  std::vector<ObjectId> untreed;
  bool keyed;  // the tree's depth fits the keys that order it
  std::uint64_t nextSequence = 1;
  std::unordered_map<ObjectId, Filed> filed;
  std::unordered_map<std::int64_t, std::vector<const Filed*>> cells;  // entries of filed stay put
  std::vector<const Filed*> wideObjects;
};
