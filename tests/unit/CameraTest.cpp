#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/Camera.h"
#include "scene/BoundingBox.h"
#include "support/ConfigFixture.h"

namespace {

const char* const kMainView =
    "camera.fov = 0.785398\ncamera.ratio = 1.333\ncamera.znear = 0.1\ncamera.zfar = 100\n";

struct Entry {
  int column;
  int row;
  float value;
};

// Every entry not listed must be exactly zero.
void expectMatrix(const Mat4& m, const std::vector<Entry>& entries, float tolerance) {
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      float expected = 0.0f;
      for (const Entry& e : entries) {
        if (e.column == c && e.row == r) expected = e.value;
      }
      EXPECT_NEAR(m[c][r], expected, tolerance) << "[" << c << "][" << r << "]";
    }
  }
}

void expectVec4(const Vec4& actual, const Vec4& expected, float tolerance) {
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

BoundingBox pointBox(const Vec3& p) {
  BoundingBox box("probe");
  box.compute(p, p, 0.0f);
  return box;
}

}  // namespace

class CameraTest : public ConfigFixture {};

TEST_F(CameraTest, ProjectionsMatchHandComputedValues) {
  load(kMainView);
  const Camera camera;
  struct Case {
    const char* name;
    const Mat4& matrix;
    std::vector<Entry> entries;
  } cases[] = {
      {"perspective", camera.getProjection(),
       {{0, 0, 1.8111f}, {1, 1, 2.4142f}, {2, 2, -1.002002f}, {2, 3, -1.0f}, {3, 2, -0.2002002f}}},
      // Only the two scale entries change when the field of view grows by 1 radian.
      {"wide perspective", camera.getWideProjection(),
       {{0, 0, 0.6042906f}, {1, 1, 0.8055193f}, {2, 2, -1.002002f}, {2, 3, -1.0f}, {3, 2, -0.2002002f}}},
      {"orthographic", camera.getOrthoProjection(),
       {{0, 0, 0.025f}, {1, 1, 0.025f}, {2, 2, -0.0040008f}, {3, 2, -1.0004001f}, {3, 3, 1.0f}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectMatrix(c.matrix, c.entries, 1e-4f);
  }
}

TEST_F(CameraTest, MissingKeyStopsConstruction) {
  load("camera.fov = 0.785398\ncamera.ratio = 1.333\ncamera.znear = 0.1\n");
  EXPECT_THROW(Camera{}, std::invalid_argument);
}

TEST_F(CameraTest, LookingDownNegativeZFromTheOriginGivesIdentityViewAndProjectionPlanes) {
  load(kMainView);
  Camera camera;
  ASSERT_TRUE(camera.update(Vec3(0.0f), Vec3(0.0f, 0.0f, -1.0f)));
  expectMatrix(camera.getView(), {{0, 0, 1}, {1, 1, 1}, {2, 2, 1}, {3, 3, 1}}, 0.0f);

  const float a = 1.8111f, b = 2.4142f, c = -1.002002f, d = -0.2002002f;
  const Vec4 expected[6] = {
      Vec4(0, -b, -1, 0) / 3.0f,      // top: row3 - row1
      Vec4(0, b, -1, 0) / 3.0f,       // bottom: row3 + row1
      Vec4(a, 0, -1, 0) / 3.0f,       // left: row3 + row0
      Vec4(-a, 0, -1, 0) / 3.0f,      // right: row3 - row0
      Vec4(0, 0, c - 1, d) / 3.0f,    // near: row3 + row2
      Vec4(0, 0, -1 - c, -d) / 3.0f,  // far: row3 - row2
  };
  const char* names[6] = {"top", "bottom", "left", "right", "near", "far"};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(names[i]);
    expectVec4(camera.getFrustum().planes[i], expected[i], 1e-4f);
  }
}

TEST_F(CameraTest, ViewMapsTheLookedAtPointOntoTheNegativeZAxis) {
  load(kMainView);
  Camera camera;
  // From (1, 2, 3) along +x: side = +z, up = +y, so view(p) = (z - 3, y - 2, 1 - x).
  struct Case {
    const char* name;
    Vec3 direction;
  } cases[] = {{"unit direction", Vec3(1, 0, 0)}, {"long direction", Vec3(7.5f, 0, 0)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(camera.update(Vec3(1, 2, 3), c.direction));
    expectVec4(camera.getView() * Vec4(2, 2, 3, 1), Vec4(0, 0, -1, 1), 1e-6f);
    expectVec4(camera.getView() * Vec4(1, 5, 10, 1), Vec4(7, 3, 0, 1), 1e-6f);
  }
}

TEST_F(CameraTest, PlanesFollowTheViewAndCullBehindAndBeyond) {
  load(kMainView);
  Camera camera;
  ASSERT_TRUE(camera.update(Vec3(10, 0, 0), Vec3(1, 0, 0)));
  struct Case {
    const char* name;
    Vec3 point;
    bool inside;
  } cases[] = {
      {"ahead", Vec3(20, 0, 0), true},
      {"behind the eye", Vec3(5, 0, 0), false},
      {"closer than near", Vec3(10.05f, 0, 0), false},
      {"beyond far", Vec3(111, 0, 0), false},
      {"far off to the side", Vec3(12, 0, 30), false},
      {"far above", Vec3(12, 30, 0), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(isBoxInFrustum(pointBox(c.point), camera.getFrustum()), c.inside);
  }
}

TEST_F(CameraTest, PointExactlyOnTheNearOrFarPlaneCountsAsInside) {
  // Near 1 and far 3 make the near and far planes exact in single precision.
  load("camera.fov = 0.785398\ncamera.ratio = 1.333\ncamera.znear = 1\ncamera.zfar = 3\n");
  Camera camera;
  ASSERT_TRUE(camera.update(Vec3(0.0f), Vec3(0.0f, 0.0f, -1.0f)));
  const Vec4& nearPlane = camera.getFrustum().planes[4];
  const Vec4& farPlane = camera.getFrustum().planes[5];
  ASSERT_EQ(nearPlane.z * -1.0f + nearPlane.w, 0.0f);
  ASSERT_EQ(farPlane.z * -3.0f + farPlane.w, 0.0f);
  EXPECT_TRUE(isBoxInFrustum(pointBox(Vec3(0, 0, -1)), camera.getFrustum()));
  EXPECT_TRUE(isBoxInFrustum(pointBox(Vec3(0, 0, -3)), camera.getFrustum()));
  EXPECT_FALSE(isBoxInFrustum(pointBox(Vec3(0, 0, -0.99f)), camera.getFrustum()));
}

TEST_F(CameraTest, DirectionWithoutADefinedViewKeepsThePreviousViewAndPlanes) {
  load(kMainView);
  Camera camera;
  ASSERT_TRUE(camera.update(Vec3(1, 2, 3), Vec3(1, 0, 1)));
  const Mat4 view = camera.getView();
  const Frustum frustum = camera.getFrustum();
  const float pitch = 1.5707964f;  // the eye-state formula at a pitch of pi/2
  struct Case {
    const char* name;
    Vec3 direction;
  } cases[] = {
      {"straight up", Vec3(0, 1, 0)},
      {"straight down", Vec3(0, -4, 0)},
      {"pitch of pi/2", Vec3(std::cos(-pitch), std::sin(-pitch), std::cos(-pitch))},
      {"zero", Vec3(0)},
      {"not a number", Vec3(std::nanf(""), 0, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(camera.update(Vec3(-5, 0, 9), c.direction));
    EXPECT_EQ(camera.getView(), view);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(camera.getFrustum().planes[i], frustum.planes[i]);
  }
  // A steep but defined direction still updates.
  EXPECT_TRUE(camera.update(Vec3(-5, 0, 9), Vec3(0.01f, -1, 0)));
  EXPECT_NE(camera.getView(), view);
}
