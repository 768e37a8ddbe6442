#pragma once
// Keeps the orbit camera in the open. When the line from the character to
// its orbit position enters a wall, a floor or the ceiling a floor's
// underside makes, the camera comes in along that line at once, to stand a
// little in front of the surface; once the way is free it goes back out
// smoothly, never in one jump. Points to the position manager for the boxes.
#include <vector>

#include "common/Types.h"

class PositionManager;

class CameraBoom {
 public:
  // Tests against the world boxes of these objects (the map's floors and walls).
  CameraBoom(const PositionManager* positions, std::vector<ObjectId> obstacles);

  // The share (0..1) of the way from `from` to `to` along which a point stays
  // at least kClearance from every box; 1 when nothing is in the way.
  float freeShare(const Vec3& from, const Vec3& to) const;
  // The share of the orbit distance to use after `seconds`: at once down to
  // free when the way is shorter, back up towards free over kEaseSeconds.
  float follow(float free, float seconds);

  static constexpr float kClearance = 0.3f;   // less than a walker's radius: its centre is never that near
  static constexpr float kEaseSeconds = 0.3f;  // time constant of going back out

 private:
  const PositionManager* positions;  // not owned
  std::vector<ObjectId> obstacles;
  float share = 1.0f;
};
