#pragma once
// The one authority over where placed objects are: positions, facings and
// transforms, moves with collision against the octree and the floors, the
// stairs lift, gravity and the landing watch. Also holds the camera eye state.
#include <functional>
#include <map>
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
  // Longest single move that collision can test: no obstacle is thin enough
  // to be passed in one, and most moves a long frame may be split into.
  static constexpr float kSafeStep = 0.2f;
  static constexpr int kMostSteps = 80;
  // moveTo for a move of any length: one no longer than kSafeStep is exactly
  // moveTo; a longer one goes in equal sub-steps of at most kSafeStep (at most
  // kMostSteps of them), each with collision, and stops at the first refused
  // one. The result is that of the last sub-step tried.
  MoveResult moveInSteps(ObjectId id, Vec3 target);
  // Sets the position without any test.
  void place(ObjectId id, Vec3 position);
  const Mat4& modelMatrix(ObjectId id) const;

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

  Octree tree;
  std::map<ObjectId, Placement> placements;
  std::vector<ObjectId> gravityIds;
  std::vector<ObjectId> fallingScratch;  // applyGravity's copy of gravityIds
  std::map<ObjectId, Ramp> stairs;
  std::function<void(ObjectId)> landingCallback;
  ObjectId watchedId = kNoObject;
};
