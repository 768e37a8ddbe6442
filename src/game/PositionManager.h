#pragma once
// The one authority over where placed objects are: positions, facings and
// transforms, moves with collision against the octree and the floors, the
// stairs lift, gravity and the landing watch. Also holds the camera eye state.
#include <functional>
#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "common/Types.h"
#include "game/MoveResult.h"
#include "game/Placement.h"
#include "game/Ramp.h"
#include "scene/Octree.h"

class BoundingBox;

class PositionManager {
 public:
  // Creates the octree (reads its configuration keys).
  PositionManager();

  // Places the object at the origin, files its box (not owned) and adds it to gravity.
  void add(ObjectId id, BoundingBox* box);
  // Sets position, configured rotation (degrees) and scale without any test; unknown id: ignored.
  void setTransform(ObjectId id, const Vec3& position, float rotationDegrees, float scale);
  // Takes the object out of the tree and out of gravity.
  void registerFloor(ObjectId id);
  // As registerFloor, and builds the object's ramp from its world box.
  void registerStairs(ObjectId id);
  // Forgets the object everywhere (placement, gravity, stairs, octree); unknown id: ignored.
  void erase(ObjectId id);

  bool isPlaced(ObjectId id) const { return placements.count(id) != 0; }
  // Every operation below throws std::out_of_range for an id that is not placed.
  Vec3 position(ObjectId id) const;
  float facing(ObjectId id) const;
  Vec3 direction(ObjectId id) const;  // (sin facing, 0, cos facing)
  // Wraps the angle into [0, 6.2831); turning is never tested for collision.
  void setFacing(ObjectId id, float radians);
  // Moves with collision: blocked moves change nothing; stairs lift the mover.
  MoveResult moveTo(ObjectId id, Vec3 target);
  MoveResult moveBy(ObjectId id, Vec3 delta);
  // moveTo for a move of any length. Collision tests only where a move ends,
  // so a move at least as long as the thinnest box placed so far (floors,
  // walls, lamps and characters alike) plus the mover's own width (or height,
  // for the vertical part) could carry it through that box. A shorter move is
  // exactly moveTo; a longer one goes in equal sub-steps shorter than that,
  // each all or nothing, up to the first refused one (at most kMostSteps of
  // them, each as long as a safe one, after an absurdly long frame). The
  // result is that of the last sub-step tried.
  MoveResult moveInSteps(ObjectId id, Vec3 target);
  // The equal steps a fall by this displacement goes in so that none can carry
  // an object of the gravity list through a box: their number and each step.
  // One step, the displacement itself, unless it is that long; at most
  // kMostSteps, each just short of a safe one, after an absurdly long frame.
  std::pair<int, Vec3> fallSteps(Vec3 displacement) const;
  static constexpr int kMostSteps = 4096;
  // Sets the position without any test.
  void place(ObjectId id, Vec3 position);
  const Mat4& modelMatrix(ObjectId id) const;
  // The object's box (world extents kept current with every change).
  const BoundingBox& box(ObjectId id) const { return *placements.at(id).box; }

  // True when no registered box overlaps [min, max] strictly.
  bool isFree(Vec3 min, Vec3 max) const;
  // Moves every object of the gravity list by the displacement; reports the
  // watched object's landings on objects of the tree.
  void applyGravity(Vec3 displacement);
  // Landings of id are reported to the callback (an empty callback throws std::bad_function_call).
  void setLandingWatch(ObjectId id, std::function<void(ObjectId)> callback);
  // Gravity stops acting on the object (it is fading out); unknown id: ignored.
  void removeFromGravity(ObjectId id);
  // The object leaves the octree and gravity at once: it no longer blocks,
  // is hit by a shot or falls, but keeps its placement (a fading enemy).
  void withdraw(ObjectId id);

  Octree& octree() { return tree; }
  const Octree& octree() const { return tree; }
  const std::vector<ObjectId>& getGravityIds() const { return gravityIds; }

  // Camera eye state, written by the input manager, read by the render pass and the lights.
  float cameraYaw = 0.0f;
  float cameraPitch = 0.0f;
  Vec3 eyePosition{0.0f};

 private:
  void refresh(ObjectId id, Placement& placement);
  // Keeps thinnestAcross and thinnestUp at the smallest extents placed so far.
  void noteExtents(const Placement& placement);
  // The longest horizontal and vertical moves of the object that cannot pass a box.
  Vec2 safeMove(const Placement& placement) const;

  Octree tree;
  std::map<ObjectId, Placement> placements;
  std::vector<ObjectId> gravityIds;
  std::vector<ObjectId> fallingScratch;  // applyGravity's copy of gravityIds
  std::map<ObjectId, Ramp> stairs;
  float thinnestAcross = std::numeric_limits<float>::infinity();  // x or z extent of any placed box
  float thinnestUp = std::numeric_limits<float>::infinity();      // y extent of any placed box
  std::function<void(ObjectId)> landingCallback;
  ObjectId watchedId = kNoObject;
};
