#include "scene/ObjectCylinder.h"

#include <algorithm>
#include <cmath>

#include "scene/BoundingBox.h"

ObjectCylinder ObjectCylinder::of(const BoundingBox& box) { return of(box, box.getModelMatrix()); }

ObjectCylinder ObjectCylinder::of(const BoundingBox& box, const Mat4& modelMatrix) {
  ObjectCylinder cylinder;
  cylinder.center = Vec3(modelMatrix * Vec4(box.getCenter(), 1.0f));
  const Vec3 top(modelMatrix * Vec4(box.getCorner(7), 1.0f));
  cylinder.halfHeight = top.y - cylinder.center.y;
  const float dx = top.x - cylinder.center.x;
  const float dz = top.z - cylinder.center.z;
  cylinder.radius = std::sqrt(dx * dx + dz * dz);
  return cylinder;
}

bool ObjectCylinder::touches(const Vec3& worldMin, const Vec3& worldMax) const {
  const bool vertical = center.y + halfHeight > worldMin.y && worldMax.y > center.y - halfHeight;
  if (!vertical) return false;
  const float dx = center.x - std::clamp(center.x, worldMin.x, worldMax.x);
  const float dz = center.z - std::clamp(center.z, worldMin.z, worldMax.z);
  return dx * dx + dz * dz <= radius * radius;
}
