#pragma once
// The matrix calculator of the main view: fixed perspective, widened
// perspective and orthographic projections built once from the configuration,
// and a view matrix with its six frustum planes recomputed on every update.
#include "common/Frustum.h"
#include "common/Types.h"

class Camera {
 public:
  // Reads "camera.fov" (radians), "camera.ratio", "camera.znear", "camera.zfar".
  Camera();

  // Looks from eye along direction (world up is +y unless another up is given)
  // and recomputes the view and the frustum planes. A direction that is zero
  // or parallel to the up axis has no defined view: then the previous view and
  // planes are kept and it returns false.
  bool update(const Vec3& eye, const Vec3& direction, const Vec3& up = Vec3(0.0f, 1.0f, 0.0f));

  // The main perspective for another width / height (a window that changed
  // its size); the widened and orthographic projections stay.
  void setRatio(float ratio);

  const Mat4& getProjection() const { return projection; }
  const Mat4& getWideProjection() const { return wideProjection; }  // fov + 1 radian
  const Mat4& getOrthoProjection() const { return orthoProjection; }  // +-40, 0.1..500
  const Mat4& getView() const { return view; }  // identity before the first update
  // Planes of the last update, divided by 3; the address stays valid for the camera's life.
  Frustum& getFrustum() { return frustum; }
  const Frustum& getFrustum() const { return frustum; }

 private:
  float fov;
  float zNear;
  float zFar;
  Mat4 projection;
  Mat4 wideProjection;
  Mat4 orthoProjection;
  Mat4 view{1.0f};
  Frustum frustum;
};
