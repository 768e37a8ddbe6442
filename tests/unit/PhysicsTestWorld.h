#pragma once
// A small world of boxes for the movement, octree and input tests: each object
// is a BoundingBox built from model extents and placed through a PositionManager.
#include <deque>
#include <memory>
#include <string>

#include "game/PositionManager.h"
#include "scene/BoundingBox.h"
#include "support/ConfigFixture.h"

inline const std::string kOctreeKeys =
    "octree.max.levels = 4\n"
    "octree.start.xz = -50\n"
    "octree.start.y = -10\n"
    "octree.range = 100\n";

class PhysicsTestWorld {
 public:
  PhysicsTestWorld() : positions(std::make_unique<PositionManager>()) {}

  // Model extents min..max (no addition), placed at position with rotation 0 and scale 1.
  BoundingBox& add(ObjectId id, const Vec3& min, const Vec3& max, const Vec3& position) {
    BoundingBox& box = boxes.emplace_back("object" + std::to_string(id));
    box.compute(min, max, 0.0f);
    positions->add(id, &box);
    positions->setTransform(id, position, 0.0f, 1.0f);
    return box;
  }
  // A character: 1 x 2 x 1 with its model origin at the middle of its sole.
  BoundingBox& addCharacter(ObjectId id, const Vec3& position) {
    return add(id, Vec3(-0.5f, 0.0f, -0.5f), Vec3(0.5f, 2.0f, 0.5f), position);
  }
  // A floor slab 20 x 1 x 20 whose top is at y = top.
  BoundingBox& addFloor(ObjectId id, float top) {
    BoundingBox& box = add(id, Vec3(-10.0f, -1.0f, -10.0f), Vec3(10.0f, 0.0f, 10.0f), Vec3(0.0f, top, 0.0f));
    positions->registerFloor(id);
    return box;
  }

  PositionManager& pm() { return *positions; }

 private:
  std::deque<BoundingBox> boxes;  // stable addresses: the octree keeps pointers
  std::unique_ptr<PositionManager> positions;
};
