#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "scene/BoundingBox.h"
#include "support/ConfigFixture.h"

TEST(BoundingBoxCorners, FollowTheNumberingWithTheAdditionOnTopAndRejectOtherIndices) {
  // Vertices between y = 2 and 3: the import's extents include the origin, so y starts at 0.
  BoundingBox box("crate");
  box.compute(Vec3(-1.0f, 0.0f, -3.0f), Vec3(1.0f, 3.0f, 4.0f), 0.5f);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE("corner " + std::to_string(i));
    EXPECT_EQ(box.getCorner(i), Vec3(i & 1 ? 1.0f : -1.0f, i & 4 ? 3.5f : 0.0f, i & 2 ? 4.0f : -3.0f));
  }
  EXPECT_EQ(box.getCenter(), Vec3(0.0f, 1.75f, 0.5f));
  for (int index : {-1, 8}) {
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
    low = glm::min(low, Vec3(model * Vec4(box.getCorner(i), 1.0f)));
    high = glm::max(high, Vec3(model * Vec4(box.getCorner(i), 1.0f)));
  }
  EXPECT_EQ(box.getWorldMin(), low);
  EXPECT_EQ(box.getWorldMax(), high);
  // x spans the old z extent (4 x 2), z the old x extent (2 x 2).
  EXPECT_LT(glm::distance(box.getWorldMin(), Vec3(6.0f, 0.0f, 3.0f)), 1e-5f);
  EXPECT_LT(glm::distance(box.getWorldMax(), Vec3(14.0f, 2.0f, 7.0f)), 1e-5f);
}

TEST(BoundingBoxFrustum, VisibleUnlessWhollyBehindOnePlane) {
  Frustum cube;  // -10..10 on every axis: top, bottom, left, right, near, far
  cube.planes = {Vec4(0, -1, 0, 10), Vec4(0, 1, 0, 10), Vec4(1, 0, 0, 10),
                 Vec4(-1, 0, 0, 10), Vec4(0, 0, 1, 10), Vec4(0, 0, -1, 10)};
  struct Case {
    const char* name;
    Vec3 position;  // of a unit box 0..1
    bool visible;
  };
  const std::vector<Case> cases = {
      {"inside", Vec3(0.0f), true},
      {"wholly beyond the right plane only", Vec3(10.5f, 0.0f, 0.0f), false},
      {"wholly beyond the near plane only", Vec3(0.0f, 0.0f, -12.0f), false},
      {"straddling the left plane", Vec3(-10.5f, 0.0f, 0.0f), true},
      {"straddling two planes at an edge", Vec3(9.5f, 9.5f, 0.0f), true},
      {"touching the right plane from outside counts as inside", Vec3(10.0f, 0.0f, 0.0f), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BoundingBox box("box");
    box.compute(Vec3(0.0f), Vec3(1.0f), 0.0f);
    box.setModelMatrix(glm::translate(Mat4(1.0f), c.position));
    EXPECT_EQ(isBoxInFrustum(box, cube), c.visible);
  }
}
