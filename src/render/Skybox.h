#pragma once
// A textured cube around the scene, one texture per face, drawn first in
// every main pass without writing depth. Owns its textures, vertex array and
// buffers. Stays at its configured centre (it does not follow the camera).
#include <GL/glew.h>

#include <array>
#include <string>
#include <vector>

#include "common/Types.h"
#include "render/GlBuffer.h"
#include "render/GlVertexArray.h"
#include "scene/Texture.h"

class Skybox {
 public:
  // Loads the six face textures (texture errors propagate) and reads
  // "skybox.position.x/y/z".
  Skybox(const std::string& front, const std::string& back, const std::string& left, const std::string& right,
         const std::string& top, const std::string& bottom);

  // Looks up "mvp" (missing: std::invalid_argument "SKYBOX: Could not bind
  // attribute 'mvp'.") and uploads the cube of half edge "skybox.size".
  void init(GLuint program);
  // Draws the six faces as strips; throws "Skybox: VAO is not set." before init.
  void draw(const Mat4& view, const Mat4& projection);

  // The 24 vertices (8 floats each), four per face in face order front, back,
  // left, right, top, bottom, every face turned towards the cube's centre.
  static std::vector<float> cubeVertices(float halfSize);

 private:
  GlVertexArray vertexArray;
  GlBuffer vertexBuffer;
  GlBuffer indexBuffer;
  bool ready = false;
  std::array<Texture, 6> textures;
  GLuint program = 0;
  GLint mvpLocation = -1;
  Mat4 model{1.0f};
};
