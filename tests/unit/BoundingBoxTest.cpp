#include <gtest/gtest.h>

#include <array>
#include <glm/gtc/matrix_transform.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "scene/BoundingBox.h"
#include "support/ConfigFixture.h"

namespace {

// A model whose vertices lie between y = 2 and y = 3: the import extends the
// extents to include the origin, so the box starts at y = 0.
BoundingBox raisedModelBox() {
  BoundingBox box("crate");
  box.compute(Vec3(-1.0f, 0.0f, -3.0f), Vec3(1.0f, 3.0f, 4.0f), 0.5f);
  return box;
}

}  // namespace

TEST(BoundingBoxCorners, FollowTheNumberingWithTheAdditionOnTheTop) {
  const BoundingBox box = raisedModelBox();
  const std::array<Vec3, 8> expected = {Vec3(-1, 0, -3),   Vec3(1, 0, -3),   Vec3(-1, 0, 4),   Vec3(1, 0, 4),
                                        Vec3(-1, 3.5f, -3), Vec3(1, 3.5f, -3), Vec3(-1, 3.5f, 4), Vec3(1, 3.5f, 4)};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE("corner " + std::to_string(i));
    EXPECT_EQ(box.getCorner(i), expected[static_cast<std::size_t>(i)]);
  }
  EXPECT_EQ(box.getCenter(), Vec3(0.0f, 1.75f, 0.5f));
}

using BoundingBoxConfig = ConfigFixture;

TEST_F(BoundingBoxConfig, AdditionFromTheStandardKeyWhenTheObjectHasNone) {
  load("sceneObject.standard.boundingbox.addition.y = 0.25\nlamp.boundingbox.addition.y = 2\n");
  BoundingBox standard("wall");
  standard.computeFromConfig(Vec3(0.0f), Vec3(1.0f));
  BoundingBox own("lamp");
  own.computeFromConfig(Vec3(0.0f), Vec3(1.0f));
  EXPECT_FLOAT_EQ(standard.getCorner(7).y, 1.25f);
  EXPECT_FLOAT_EQ(own.getCorner(7).y, 3.0f);
}

TEST(BoundingBoxCorners, BadIndexThrowsTheExactMessage) {
  const BoundingBox box = raisedModelBox();
  for (int index : {-1, 8, 100}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(messageOf<std::invalid_argument>([&] { box.getCorner(index); }),
              "BoundingBox: Requesting non-existingCorner - Array index out of bounds.");
  }
}

TEST(BoundingBoxWorld, QuarterTurnExchangesXAndZExactlyAsAllEightCornersWould) {
  BoundingBox box("wall");
  box.compute(Vec3(-1.0f, 0.0f, -2.0f), Vec3(1.0f, 1.0f, 2.0f), 0.0f);
  const Mat4 model = glm::translate(Mat4(1.0f), Vec3(10.0f, 0.0f, 5.0f)) *
                     glm::rotate(Mat4(1.0f), 90.0f * kDegToRad, Vec3(0.0f, 1.0f, 0.0f)) *
                     glm::scale(Mat4(1.0f), Vec3(2.0f));
  box.setModelMatrix(model);

  Vec3 low(1e9f), high(-1e9f);
  for (int i = 0; i < 8; ++i) {
    const Vec3 p(model * Vec4(box.getCorner(i), 1.0f));
    low = glm::min(low, p);
    high = glm::max(high, p);
  }
  EXPECT_EQ(box.getWorldMin(), low);
  EXPECT_EQ(box.getWorldMax(), high);
  // x spans the old z extent (4 x 2), z the old x extent (2 x 2).
  const Vec3 expectedMin(6.0f, 0.0f, 3.0f), expectedMax(14.0f, 2.0f, 7.0f);
  for (int axis = 0; axis < 3; ++axis) {
    SCOPED_TRACE("axis " + std::to_string(axis));
    EXPECT_NEAR(box.getWorldMin()[axis], expectedMin[axis], 1e-5f);
    EXPECT_NEAR(box.getWorldMax()[axis], expectedMax[axis], 1e-5f);
  }
}

namespace {

// The cube -10..10 on every axis as six inward-facing planes.
Frustum cubeFrustum() {
  Frustum frustum;
  frustum.planes = {Vec4(0, -1, 0, 10), Vec4(0, 1, 0, 10), Vec4(1, 0, 0, 10),
                    Vec4(-1, 0, 0, 10), Vec4(0, 0, 1, 10), Vec4(0, 0, -1, 10)};
  return frustum;
}

struct FrustumCase {
  const char* name;
  Vec3 position;  // where a unit box (0..1 on every axis) is moved
  bool visible;
};

}  // namespace

TEST(BoundingBoxFrustum, VisibleUnlessWhollyBehindOnePlane) {
  const std::vector<FrustumCase> cases = {
      {"inside", Vec3(0.0f), true},
      {"wholly beyond the right plane", Vec3(10.5f, 0.0f, 0.0f), false},
      {"wholly beyond the near plane, inside the other five", Vec3(0.0f, 0.0f, -12.0f), false},
      {"wholly above the top plane", Vec3(0.0f, 11.0f, 0.0f), false},
      {"straddling the left plane", Vec3(-10.5f, 0.0f, 0.0f), true},
      {"straddling two planes at an edge", Vec3(9.5f, 9.5f, 0.0f), true},
      {"touching the right plane from outside counts as inside", Vec3(10.0f, 0.0f, 0.0f), true},
  };
  const Frustum frustum = cubeFrustum();
  for (const FrustumCase& c : cases) {
    SCOPED_TRACE(c.name);
    BoundingBox box("box");
    box.compute(Vec3(0.0f), Vec3(1.0f), 0.0f);
    box.setModelMatrix(glm::translate(Mat4(1.0f), c.position));
    EXPECT_EQ(isBoxInFrustum(box, frustum), c.visible);
  }
}
