#include <gtest/gtest.h>

#include <cmath>

#include "game/Camera.h"
#include "scene/BoundingBox.h"
#include "support/ConfigFixture.h"

namespace {

const char* const kMainView =
    "camera.fov = 0.785398\ncamera.ratio = 1.333\ncamera.znear = 0.1\ncamera.zfar = 100\n";

// Hand-computed perspective entries for fov 0.785398 (wide: + 1), ratio 1.333, near 0.1, far 100.
constexpr float kA = 1.8111f, kB = 2.4142f, kWideA = 0.6042906f, kWideB = 0.8055193f;
constexpr float kC = -1.002002f, kD = -0.2002002f;

Mat4 matrixOf(std::initializer_list<Vec4> columns) {
  Mat4 m(0.0f);
  int c = 0;
  for (const Vec4& column : columns) m[c++] = column;
  return m;
}

void expectNear(const Mat4& actual, const Mat4& expected) {
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) EXPECT_NEAR(actual[c][r], expected[c][r], 1e-4f) << "[" << c << "][" << r << "]";
}

bool pointInside(const Vec3& p, const Frustum& frustum) {
  BoundingBox box("probe");
  box.compute(p, p, 0.0f);
  return isBoxInFrustum(box, frustum);
}

}  // namespace

class CameraTest : public ConfigFixture {};

TEST_F(CameraTest, ProjectionsMatchHandComputedValues) {
  load(kMainView);
  const Camera camera;
  expectNear(camera.getProjection(), matrixOf({{kA, 0, 0, 0}, {0, kB, 0, 0}, {0, 0, kC, -1}, {0, 0, kD, 0}}));
  expectNear(camera.getWideProjection(),
             matrixOf({{kWideA, 0, 0, 0}, {0, kWideB, 0, 0}, {0, 0, kC, -1}, {0, 0, kD, 0}}));
  expectNear(camera.getOrthoProjection(),
             matrixOf({{0.025f, 0, 0, 0}, {0, 0.025f, 0, 0}, {0, 0, -0.0040008f, 0}, {0, 0, -1.0004001f, 1}}));
}

TEST_F(CameraTest, LookingDownNegativeZFromTheOriginGivesIdentityViewAndProjectionPlanes) {
  load(kMainView);
  Camera camera;
  ASSERT_TRUE(camera.update(Vec3(0.0f), Vec3(0.0f, 0.0f, -1.0f)));
  EXPECT_EQ(camera.getView(), Mat4(1.0f));
  // top, bottom, left, right, near, far: row3 -/+ row1, +/- row0, +/- row2, all divided by 3.
  const Vec4 expected[6] = {{0, -kB, -1, 0}, {0, kB, -1, 0},       {kA, 0, -1, 0},
                            {-kA, 0, -1, 0}, {0, 0, kC - 1, kD}, {0, 0, -1 - kC, -kD}};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(camera.getFrustum().planes[i][k], expected[i][k] / 3.0f, 1e-4f);
  }
}

TEST_F(CameraTest, ViewLooksFromTheEyeAlongTheDirectionAndPlanesCullAroundIt) {
  load(kMainView);
  Camera camera;
  // From (1, 2, 3) along +x: side +z, up +y, so view(p) = (z - 3, y - 2, 1 - x); length is irrelevant.
  for (const Vec3& direction : {Vec3(1, 0, 0), Vec3(7.5f, 0, 0)}) {
    ASSERT_TRUE(camera.update(Vec3(1, 2, 3), direction));
    EXPECT_EQ(camera.getView() * Vec4(2, 2, 3, 1), Vec4(0, 0, -1, 1));
    EXPECT_EQ(camera.getView() * Vec4(1, 5, 10, 1), Vec4(7, 3, 0, 1));
  }
  struct Case {
    const char* name;
    Vec3 point;
    bool inside;
  } cases[] = {{"ahead", Vec3(11, 2, 3), true},         {"behind", Vec3(-4, 2, 3), false},
               {"closer than near", Vec3(1.05f, 2, 3), false}, {"beyond far", Vec3(102, 2, 3), false},
               {"off to the side", Vec3(3, 2, 33), false},  {"above", Vec3(3, 32, 3), false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(pointInside(c.point, camera.getFrustum()), c.inside);
  }
}

TEST_F(CameraTest, PointExactlyOnTheNearOrFarPlaneCountsAsInside) {
  // Near 1 and far 3 make both planes exact in single precision.
  load("camera.fov = 0.785398\ncamera.ratio = 1.333\ncamera.znear = 1\ncamera.zfar = 3\n");
  Camera camera;
  ASSERT_TRUE(camera.update(Vec3(0.0f), Vec3(0.0f, 0.0f, -1.0f)));
  ASSERT_EQ(camera.getFrustum().planes[4].z * -1.0f + camera.getFrustum().planes[4].w, 0.0f);
  EXPECT_TRUE(pointInside(Vec3(0, 0, -1), camera.getFrustum()));
  EXPECT_TRUE(pointInside(Vec3(0, 0, -3), camera.getFrustum()));
  EXPECT_FALSE(pointInside(Vec3(0, 0, -0.99f), camera.getFrustum()));
}

TEST_F(CameraTest, DirectionWithoutADefinedViewKeepsThePreviousViewAndPlanes) {
  load(kMainView);
  Camera camera;
  ASSERT_TRUE(camera.update(Vec3(1, 2, 3), Vec3(1, 0, 1)));
  const Mat4 view = camera.getView();
  const Frustum frustum = camera.getFrustum();
  const float pitch = 1.5707964f;  // the eye-state direction at a pitch of pi/2
  for (const Vec3& direction : {Vec3(0, 1, 0), Vec3(0, -4, 0), Vec3(0),
                                Vec3(std::cos(-pitch), std::sin(-pitch), std::cos(-pitch)),
                                Vec3(std::nanf(""), 0, 1)}) {
    SCOPED_TRACE(direction.y);
    EXPECT_FALSE(camera.update(Vec3(-5, 0, 9), direction));
    EXPECT_EQ(camera.getView(), view);
    EXPECT_EQ(camera.getFrustum().planes, frustum.planes);
  }
  EXPECT_TRUE(camera.update(Vec3(-5, 0, 9), Vec3(0.01f, -1, 0)));  // steep but defined
}
