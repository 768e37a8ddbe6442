#include "game/PositionManager.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <glm/gtc/matrix_transform.hpp>

#include "scene/BoundingBox.h"
#include "scene/ObjectCylinder.h"

namespace {

const Vec3 kUp(0.0f, 1.0f, 0.0f);

void eraseId(std::vector<ObjectId>& ids, ObjectId id) { ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end()); }

// How far the cylinder must rise so that its bottom rests on the ramp's surface
// (negative when it is above the surface).
float rampLift(const Ramp& ramp, float pieceBottom, const ObjectCylinder& cylinder) {
  const float along = ramp.axis == 0 ? cylinder.center.x : cylinder.center.z;
  // A piece without extent along its axis would divide by zero; it acts as a flat block.
  if (ramp.length <= 0.0f) return pieceBottom + ramp.height - (cylinder.center.y - cylinder.halfHeight);
  const float fromEnd = std::clamp(ramp.end - along, 0.0f, ramp.length);
  const float surface = pieceBottom + ramp.height * (1.0f - (ramp.length - fromEnd) / ramp.length);
  return surface - (cylinder.center.y - cylinder.halfHeight);
}

}  // namespace

PositionManager::PositionManager() = default;

void PositionManager::refresh(ObjectId id, Placement& placement) {
  placement.model = glm::translate(Mat4(1.0f), placement.position) * glm::rotate(Mat4(1.0f), placement.facing, kUp) *
                    placement.rotation * placement.scale;
  tree.update(id, placement.model);
}

void PositionManager::noteExtents(const Placement& placement) {
  const float scale = std::fabs(placement.scale[0][0]);
  const Vec3 extent = glm::abs(placement.box->getCorner(7) - placement.box->getCorner(0)) * scale;
  thinnestAcross = std::min({thinnestAcross, extent.x, extent.z});
  thinnestUp = std::min(thinnestUp, extent.y);
}

Vec2 PositionManager::safeMove(const Placement& placement) const {
  const ObjectCylinder own = ObjectCylinder::of(*placement.box, placement.scale);
  return Vec2(thinnestAcross + 2.0f * own.radius, thinnestUp + 2.0f * std::fabs(own.halfHeight));
}

void PositionManager::add(ObjectId id, BoundingBox* box) {
  Placement placement;
  placement.box = box;
  placements[id] = placement;
  noteExtents(placement);
  tree.add(id, box);
  if (std::find(gravityIds.begin(), gravityIds.end(), id) == gravityIds.end()) gravityIds.push_back(id);
}

void PositionManager::setTransform(ObjectId id, const Vec3& position, float rotationDegrees, float scale) {
  auto found = placements.find(id);
  if (found == placements.end()) return;
  Placement& placement = found->second;
  placement.position = position;
  placement.rotation = glm::rotate(Mat4(1.0f), rotationDegrees * kDegToRad, kUp);
  placement.scale = glm::scale(Mat4(1.0f), Vec3(scale));
  noteExtents(placement);
  refresh(id, placement);
}

void PositionManager::registerFloor(ObjectId id) {
  if (placements.count(id) == 0) throw std::out_of_range("PositionManager: object is not placed.");
  tree.untree(id);
  eraseId(gravityIds, id);
}

void PositionManager::registerStairs(ObjectId id) {
  const BoundingBox& box = *placements.at(id).box;
  const Vec3& min = box.getWorldMin();
  const Vec3& max = box.getWorldMax();
  Ramp ramp;
  ramp.axis = (max.x - min.x) > (max.z - min.z) ? 0 : 1;
  ramp.start = ramp.axis == 0 ? min.x : min.z;
  ramp.end = ramp.axis == 0 ? max.x : max.z;
  ramp.length = ramp.end - ramp.start;
  ramp.height = max.y - min.y;
  stairs[id] = ramp;
  tree.untree(id);
  eraseId(gravityIds, id);
}

void PositionManager::erase(ObjectId id) {
  // The octree keeps a pointer to the box, which dies with the object.
  tree.remove(id);
  placements.erase(id);
  stairs.erase(id);
  eraseId(gravityIds, id);
}

Vec3 PositionManager::position(ObjectId id) const { return placements.at(id).position; }

float PositionManager::facing(ObjectId id) const { return placements.at(id).facing; }

Vec3 PositionManager::direction(ObjectId id) const {
  const float angle = placements.at(id).facing;
  return glm::normalize(Vec3(std::sin(angle), 0.0f, std::cos(angle)));
}

void PositionManager::setFacing(ObjectId id, float radians) {
  Placement& placement = placements.at(id);
  placement.facing = wrapAngle(radians);
  refresh(id, placement);
}

MoveResult PositionManager::moveTo(ObjectId id, Vec3 target) {
  Placement& placement = placements.at(id);
  // Facing and the configured rotation do not take part in collision.
  const Mat4 proposed = glm::translate(Mat4(1.0f), target) * placement.scale;
  const MoveResult inTree = tree.collideTree(id, proposed);
  if (inTree.kind != 0) return {false, inTree.otherId, inTree.kind};

  const MoveResult onGround = tree.collideUntreed(id, proposed);
  if (onGround.kind != 0) {
    auto ramp = stairs.find(onGround.otherId);
    if (ramp == stairs.end()) return {false, onGround.otherId, 1};
    const float pieceBottom = placements.at(onGround.otherId).box->getWorldMin().y;
    target.y += rampLift(ramp->second, pieceBottom, ObjectCylinder::of(*placement.box, proposed));
  }
  placement.position = target;
  refresh(id, placement);
  return {true, onGround.otherId, onGround.kind};
}

MoveResult PositionManager::moveBy(ObjectId id, Vec3 delta) { return moveTo(id, placements.at(id).position + delta); }

namespace {

// How many times longer than the longest safe move this move is, the larger
// of its horizontal and vertical parts; an axis without a usable safe length
// is not split.
float lengthInSafeMoves(const Vec3& delta, const Vec2& safe) {
  const float across = std::sqrt(delta.x * delta.x + delta.z * delta.z);
  const float up = std::fabs(delta.y);
  const auto share = [](float length, float limit) { return limit > 0.0f && std::isfinite(limit) ? length / limit : 0.0f; };
  return std::max(share(across, safe.x), share(up, safe.y));
}

}  // namespace

MoveResult PositionManager::moveInSteps(ObjectId id, Vec3 target) {
  const Placement& placement = placements.at(id);
  const Vec3 start = placement.position;
  const Vec3 delta = target - start;
  const float safeMoves = lengthInSafeMoves(delta, safeMove(placement));
  if (!(safeMoves >= 1.0f) || !std::isfinite(safeMoves)) return moveTo(id, target);
  // Sub-steps shorter than a safe move; after an absurdly long frame, the most
  // sub-steps, each just short of a safe move, and no further.
  const float needed = std::floor(safeMoves) + 1.0f;
  const bool capped = needed > static_cast<float>(kMostSteps);
  const int steps = capped ? kMostSteps : static_cast<int>(needed);
  const float share = capped ? 0.999f / safeMoves : 1.0f / static_cast<float>(steps);
  MoveResult result;
  Vec3 aimed = start;  // where the last sub-step was aimed, before any stairs lift
  for (int i = 1; i <= steps; ++i) {
    const Vec3 aim = !capped && i == steps ? target : start + delta * (share * static_cast<float>(i));
    // Keep what stairs have lifted the mover so far; the last aim is the target itself.
    result = moveTo(id, aim + (placements.at(id).position - aimed));
    if (!result.moved) break;
    aimed = aim;
  }
  return result;
}

std::pair<int, Vec3> PositionManager::fallSteps(Vec3 displacement) const {
  float safeMoves = 0.0f;
  for (ObjectId id : gravityIds) {
    safeMoves = std::max(safeMoves, lengthInSafeMoves(displacement, safeMove(placements.at(id))));
  }
  if (!(safeMoves >= 1.0f) || !std::isfinite(safeMoves)) return {1, displacement};
  const float needed = std::floor(safeMoves) + 1.0f;
  if (needed > static_cast<float>(kMostSteps)) return {kMostSteps, displacement * (0.999f / safeMoves)};
  return {static_cast<int>(needed), displacement / needed};
}

void PositionManager::place(ObjectId id, Vec3 position) {
  Placement& placement = placements.at(id);
  placement.position = position;
  refresh(id, placement);
}

const Mat4& PositionManager::modelMatrix(ObjectId id) const { return placements.at(id).model; }

bool PositionManager::isFree(Vec3 min, Vec3 max) const { return !tree.anyOverlap(min, max, kNoObject); }

void PositionManager::applyGravity(Vec3 displacement) {
  // The landing callback may take objects out of gravity (a destroyed enemy
  // starts fading out), so walk a copy and, once it has run, skip ids that
  // left meanwhile. The copy reuses its buffer: this runs several times a frame.
  fallingScratch.assign(gravityIds.begin(), gravityIds.end());
  bool callbackRan = false;
  for (ObjectId id : fallingScratch) {
    if (callbackRan && std::find(gravityIds.begin(), gravityIds.end(), id) == gravityIds.end()) continue;
    const MoveResult result = moveTo(id, placements.at(id).position + displacement);
    if (id == watchedId && result.kind == 2) {
      landingCallback(result.otherId);
      callbackRan = true;
    }
  }
}

void PositionManager::setLandingWatch(ObjectId id, std::function<void(ObjectId)> callback) {
  watchedId = id;
  landingCallback = std::move(callback);
}

void PositionManager::removeFromGravity(ObjectId id) { eraseId(gravityIds, id); }

void PositionManager::withdraw(ObjectId id) {
  tree.remove(id);
  eraseId(gravityIds, id);
}
