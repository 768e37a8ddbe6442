#pragma once
// The OpenGL side of a bounding box: its twelve edges as lines, wired to the
// color program's "position". Owns its vertex array and buffers; an enemy's
// box shares its type's record.
#include <GL/glew.h>

#include <cstdint>

#include "render/GlBuffer.h"
#include "render/GlVertexArray.h"
#include "scene/BoundingBox.h"

class BoxLineMesh {
 public:
  // Uploads the computed box's corners and edge indices.
  void upload(const BoundingBox& box, GLuint colorProgram);

  void bind() const { vertexArray.bind(); }
  std::uint32_t getIndexCount() const { return indexCount; }
  bool isReady() const { return ready; }

 private:
  GlVertexArray vertexArray;
  GlBuffer vertexBuffer;
  GlBuffer indexBuffer;
  std::uint32_t indexCount = 0;
  bool ready = false;
};
