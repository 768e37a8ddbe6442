#pragma once
// Per-object renderer: draws one scene object lit, textured and shadowed in
// the main pass (optionally with its bounding box as lines), and its depth
// in the shadow pass. Owns the object's BoundingBox; only points to the
// meshes, the texture (owned by the Model) and the camera's frustum.
#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "common/Frustum.h"
#include "common/Types.h"
#include "scene/BoundingBox.h"
#include "scene/BoxLineMesh.h"
#include "scene/MeshVAO.h"
#include "scene/Texture.h"

class Render {
 public:
  // Looks up every uniform it writes; a missing one throws
  // std::invalid_argument "RENDER: Could not bind attribute '<name>'.".
  Render(std::string name, const Frustum* frustum, GLuint lightingProgram, GLuint colorProgram,
         GLuint shadowProgram);
  // An enemy's copy: its own box (same geometry), the same line record,
  // meshes and texture.
  Render(const Render&) = default;
  Render& operator=(const Render&) = delete;

  void setMeshes(const MeshVAO* lighting, const MeshVAO* shadow, Texture* texture);
  // Computes the box from the model extents (the top raised by the object's
  // configured addition) and uploads its lines.
  void buildBoundingBox(const Vec3& min, const Vec3& max);

  // 1 when drawn, 0 when culled against the frustum. lightMvps are light
  // projection * light view * model, without the bias.
  std::uint32_t draw(const Mat4& mvp, const std::array<Mat4, 4>& lightMvps, const Mat4& model, float opacity,
                     bool wireframe, bool frustumCulling, bool showBoundingBox, bool transparency,
                     std::uint32_t samplingMode, std::uint32_t mipmapMode);
  // Depth only, always filled, never culled.
  void drawShadow(const Mat4& lightMvp);

  BoundingBox& boundingBox() { return box; }
  const BoundingBox& boundingBox() const { return box; }
  GLuint getLightingProgram() const { return lightingProgram; }
  GLuint getShadowProgram() const { return shadowProgram; }
  const MeshVAO* getLightingMesh() const { return lightingMesh; }
  const MeshVAO* getShadowMesh() const { return shadowMesh; }

 private:
  const Frustum* frustum;
  BoundingBox box;
  std::shared_ptr<BoxLineMesh> boxLines;
  const MeshVAO* lightingMesh = nullptr;
  const MeshVAO* shadowMesh = nullptr;
  Texture* texture = nullptr;
  GLuint lightingProgram;
  GLint mvpLocation, modelLocation, opacityLocation, isTransparencyLocation;
  std::array<GLint, 4> lightMvpLocations{};
  GLuint colorProgram;
  GLint colorMvpLocation;
  GLuint shadowProgram;
  GLint shadowMvpLocation;
};
