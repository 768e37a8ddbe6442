#include "game/CameraBoom.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "game/PositionManager.h"
#include "scene/BoundingBox.h"

namespace {

// Where the segment from + t (to - from), t in [0, 1], first enters the box
// [low, high] (slabs); 1 when it never does, 0 when it starts inside.
float entry(const Vec3& from, const Vec3& to, const Vec3& low, const Vec3& high) {
  float enter = 0.0f;
  float leave = 1.0f;
  for (int axis = 0; axis < 3; ++axis) {
    const float start = from[axis];
    const float span = to[axis] - start;
    if (std::fabs(span) < 1e-9f) {
      if (start < low[axis] || start > high[axis]) return 1.0f;
      continue;
    }
    float near = (low[axis] - start) / span;
    float far = (high[axis] - start) / span;
    if (near > far) std::swap(near, far);
    enter = std::max(enter, near);
    leave = std::min(leave, far);
    if (enter > leave) return 1.0f;
  }
  return enter;
}

}  // namespace

CameraBoom::CameraBoom(const PositionManager* positionManager, std::vector<ObjectId> obstacleIds)
    : positions(positionManager), obstacles(std::move(obstacleIds)) {}

float CameraBoom::freeShare(const Vec3& from, const Vec3& to) const {
  float free = 1.0f;
  const Vec3 margin(kClearance);
  for (ObjectId id : obstacles) {
    const BoundingBox& box = positions->box(id);
    free = std::min(free, entry(from, to, box.getWorldMin() - margin, box.getWorldMax() + margin));
  }
  return free;
}

float CameraBoom::follow(float free, float seconds) {
  if (free <= share) {
    share = free;
  } else {
    const float kept = std::exp(-std::max(seconds, 0.0f) / kEaseSeconds);
    share = free - (free - share) * kept;
  }
  return share;
}
