#pragma once
// The upright cylinder that encloses an object's box under a model matrix:
// the shape by which the octree files objects and collision tests them.
#include "common/Types.h"

class BoundingBox;

struct ObjectCylinder {
  Vec3 center{0.0f};  // world space
  float radius = 0.0f;  // horizontal, from the centre to corner 7
  float halfHeight = 0.0f;

  // The cylinder of the box under its own current model matrix.
  static ObjectCylinder of(const BoundingBox& box);
  // The cylinder of the box under another (proposed) model matrix; the box is unchanged.
  static ObjectCylinder of(const BoundingBox& box, const Mat4& modelMatrix);

  // True when the cylinder touches the world box: strict overlap vertically,
  // horizontal distance to the rectangle at most the radius.
  bool touches(const Vec3& worldMin, const Vec3& worldMax) const;
};
