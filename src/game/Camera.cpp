#include "game/Camera.h"

#include <cmath>

#include "config/Config.h"

namespace {

Mat4 perspective(float fov, float ratio, float zNear, float zFar) {
  const float halfTan = std::tan(fov * 0.5f);
  Mat4 m(0.0f);
  m[0][0] = 1.0f / (ratio * halfTan);
  m[1][1] = 1.0f / halfTan;
  m[2][2] = -(zFar + zNear) / (zFar - zNear);
  m[2][3] = -1.0f;
  m[3][2] = -(2.0f * zFar * zNear) / (zFar - zNear);
  return m;
}

Mat4 orthographic(float left, float right, float bottom, float top, float zNear, float zFar) {
  Mat4 m(0.0f);
  m[0][0] = 2.0f / (right - left);
  m[1][1] = 2.0f / (top - bottom);
  m[2][2] = -2.0f / (zFar - zNear);
  m[3][0] = -(right + left) / (right - left);
  m[3][1] = -(top + bottom) / (top - bottom);
  m[3][2] = -(zFar + zNear) / (zFar - zNear);
  m[3][3] = 1.0f;
  return m;
}

Vec4 row(const Mat4& m, int i) { return Vec4(m[0][i], m[1][i], m[2][i], m[3][i]); }

// Below this sine of the angle between the direction and the up axis the side
// vector is noise (a pitch of pi/2 in single precision leaves about 4e-8).
constexpr float kMinSideLength = 1e-6f;

}  // namespace

Camera::Camera() {
  const Config& config = Config::instance();
  fov = config.getFloat("camera.fov");
  const float ratio = config.getFloat("camera.ratio");
  zNear = config.getFloat("camera.znear");
  zFar = config.getFloat("camera.zfar");
  projection = perspective(fov, ratio, zNear, zFar);
  wideProjection = perspective(fov + 1.0f, ratio, zNear, zFar);
  orthoProjection = orthographic(-40.0f, 40.0f, -40.0f, 40.0f, 0.1f, 500.0f);
}

void Camera::setRatio(float ratio) { projection = perspective(fov, ratio, zNear, zFar); }

bool Camera::update(const Vec3& eye, const Vec3& direction, const Vec3& up) {
  const float length = glm::length(direction);
  if (!(length > 0.0f) || !std::isfinite(length)) return false;
  const Vec3 f = direction / length;
  const Vec3 side = glm::cross(f, up);
  if (!(glm::length(side) >= kMinSideLength)) return false;
  const Vec3 s = glm::normalize(side);
  const Vec3 u = glm::normalize(glm::cross(s, f));

  Mat4 v(1.0f);
  for (int c = 0; c < 3; ++c) {
    v[c][0] = s[c];
    v[c][1] = u[c];
    v[c][2] = -f[c];
  }
  v[3][0] = -glm::dot(s, eye);
  v[3][1] = -glm::dot(u, eye);
  v[3][2] = glm::dot(f, eye);
  view = v;

  const Mat4 m = projection * view;
  const Vec4 r0 = row(m, 0), r1 = row(m, 1), r2 = row(m, 2), r3 = row(m, 3);
  frustum.planes = {(r3 - r1) / 3.0f, (r3 + r1) / 3.0f, (r3 + r0) / 3.0f,
                    (r3 - r0) / 3.0f, (r3 + r2) / 3.0f, (r3 - r2) / 3.0f};
  return true;
}
