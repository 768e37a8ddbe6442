#pragma once
// An object's axis-aligned box in model space, raised at the top by a
// configured addition, with its world-space extents kept in step with the
// object's model matrix. Used for culling, the octree and collision.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Frustum.h"
#include "common/Types.h"

class BoundingBox {
 public:
  explicit BoundingBox(std::string objectName);

  // Corners, centre and line geometry from the model extents; the top is
  // raised by additionY.
  void compute(const Vec3& min, const Vec3& max, float additionY);
  // As compute(), with the addition read from name + ".boundingbox.addition.y"
  // (falling back to "sceneObject.standard.boundingbox.addition.y").
  void computeFromConfig(const Vec3& min, const Vec3& max);
  // Stores the matrix and recomputes the world extents from corners 0, 1, 2, 7.
  void setModelMatrix(const Mat4& matrix);

  // Corner 0..7 in model space; any other index throws std::invalid_argument.
  Vec3 getCorner(int index) const;
  bool isComputed() const { return computed; }
  const Mat4& getModelMatrix() const { return modelMatrix; }
  const Vec3& getWorldMin() const { return worldMin; }
  const Vec3& getWorldMax() const { return worldMax; }
  const Vec3& getCenter() const { return center; }  // model space
  const std::string& getName() const { return name; }
  // The 8 corners as 24 floats and the 12 edges as 24 indices, for line drawing.
  const std::vector<float>& getLineVertices() const { return vertices; }
  const std::vector<std::uint16_t>& getLineIndices() const { return indices; }

 private:
  bool computed = false;
  Mat4 modelMatrix{1.0f};
  std::vector<float> vertices;
  std::vector<std::uint16_t> indices;
  std::array<Vec3, 8> corners{};
  Vec3 worldMin{0.0f};
  Vec3 worldMax{0.0f};
  Vec3 center{0.0f};
  std::string name;
};

// False when every corner lies outside one of the frustum's planes.
bool isBoxInFrustum(const BoundingBox& box, const Frustum& frustum);
// The same for the world region [min, max].
bool isRegionInFrustum(const Vec3& min, const Vec3& max, const Frustum& frustum);
