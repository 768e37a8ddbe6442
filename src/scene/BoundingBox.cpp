#include "scene/BoundingBox.h"

#include <algorithm>
#include <stdexcept>

#include "config/Config.h"

BoundingBox::BoundingBox(std::string objectName) : name(std::move(objectName)) {}

void BoundingBox::computeFromConfig(const Vec3& min, const Vec3& max) {
  const float addition = Config::instance().getFloatWithFallback(name + ".boundingbox.addition.y",
                                                                 "sceneObject.standard.boundingbox.addition.y");
  compute(min, max, addition);
}

void BoundingBox::compute(const Vec3& min, const Vec3& max, float additionY) {
  const float top = max.y + additionY;
  corners = {Vec3(min.x, min.y, min.z), Vec3(max.x, min.y, min.z), Vec3(min.x, min.y, max.z),
             Vec3(max.x, min.y, max.z), Vec3(min.x, top, min.z),   Vec3(max.x, top, min.z),
             Vec3(min.x, top, max.z),   Vec3(max.x, top, max.z)};
  center = Vec3((min.x + max.x) / 2.0f, (min.y + top) / 2.0f, (min.z + max.z) / 2.0f);
  computed = true;

  vertices.clear();
  for (const Vec3& corner : corners) vertices.insert(vertices.end(), {corner.x, corner.y, corner.z});
  indices = {0, 1, 1, 5, 5, 4, 4, 0, 0, 2, 2, 3, 3, 1, 3, 7, 7, 5, 7, 6, 6, 4, 6, 2};
  setModelMatrix(modelMatrix);
}

void BoundingBox::setModelMatrix(const Mat4& matrix) {
  modelMatrix = matrix;
  const Vec3 sample[4] = {corners[0], corners[1], corners[2], corners[7]};
  worldMin = Vec3(matrix * Vec4(sample[0], 1.0f));
  worldMax = worldMin;
  for (int i = 1; i < 4; ++i) {
    const Vec3 p(matrix * Vec4(sample[i], 1.0f));
    worldMin = glm::min(worldMin, p);
    worldMax = glm::max(worldMax, p);
  }
}

Vec3 BoundingBox::getCorner(int index) const {
  if (index < 0 || index > 7) {
    throw std::invalid_argument("BoundingBox: Requesting non-existingCorner - Array index out of bounds.");
  }
  return corners[static_cast<std::size_t>(index)];
}

bool isBoxInFrustum(const BoundingBox& box, const Frustum& frustum) {
  const Mat4& model = box.getModelMatrix();
  for (const Vec4& plane : frustum.planes) {
    int inside = 0;
    int outside = 0;
    for (int i = 0; i < 8 && (inside == 0 || outside == 0); ++i) {
      const Vec4 p = model * Vec4(box.getCorner(i), 1.0f);
      if (plane.x * p.x + plane.y * p.y + plane.z * p.z + plane.w >= 0.0f) {
        ++inside;
      } else {
        ++outside;
      }
    }
    if (inside == 0) return false;
  }
  return true;
}

bool isRegionInFrustum(const Vec3& min, const Vec3& max, const Frustum& frustum) {
  for (const Vec4& plane : frustum.planes) {
    bool inside = false;
    for (int i = 0; i < 8 && !inside; ++i) {
      const Vec3 p((i & 1) != 0 ? max.x : min.x, (i & 2) != 0 ? max.y : min.y, (i & 4) != 0 ? max.z : min.z);
      inside = plane.x * p.x + plane.y * p.y + plane.z * p.z + plane.w >= 0.0f;
    }
    if (!inside) return false;
  }
  return true;
}
