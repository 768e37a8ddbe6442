#pragma once
// The GPU side of one scene object: two copies of its mesh (one wired to the
// lighting program, one to the shadow program) and its diffuse texture.
// A loaded model owns them; a copy (an enemy made from its type) shares the
// source's and releases nothing while the source lives.
#include <GL/glew.h>

#include <memory>
#include <utility>

#include "scene/MeshVAO.h"
#include "scene/Texture.h"

class Model {
 public:
  // Creates both (empty) meshes and an unloaded texture.
  Model(GLuint lightingProgram, GLuint shadowProgram);
  // A shared copy: the same meshes and texture.
  Model(const Model& source);
  Model& operator=(const Model&) = delete;

  bool isShared() const { return shared; }
  GLuint getLightingProgram() const { return lightingProgram; }
  GLuint getShadowProgram() const { return shadowProgram; }
  MeshVAO& lightingMesh() const { return *lighting; }
  MeshVAO& shadowMesh() const { return *shadow; }
  Texture& texture() const { return *diffuse; }
  // The texture as a shared handle, and using another model's loaded texture
  // instead of this one's (models that name the same image file share it).
  const std::shared_ptr<Texture>& textureHandle() const { return diffuse; }
  void shareTexture(std::shared_ptr<Texture> loaded) { diffuse = std::move(loaded); }

 private:
  bool shared = false;
  GLuint lightingProgram;
  GLuint shadowProgram;
  std::shared_ptr<MeshVAO> lighting;
  std::shared_ptr<MeshVAO> shadow;
  std::shared_ptr<Texture> diffuse;
};
