#pragma once
// One drawable copy of a mesh: interleaved vertices (position, normal,
// texture coordinate; 8 floats), 16-bit indices and per-vertex bone
// influences, wired to one program's attribute locations. Owns its vertex
// array and buffers.
#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <vector>

#include "render/GlBuffer.h"
#include "render/GlVertexArray.h"

// Up to four bones acting on one vertex; a slot is free while its weight is 0.
struct BoneInfluence {
  std::array<std::int32_t, 4> boneIds{};
  std::array<float, 4> weights{};
};
static_assert(sizeof(BoneInfluence) == 32, "the vertex layout expects 32-byte influences");

// Puts (boneId, weight) into the first free slot; false (and no change) when
// all four are taken.
bool addBoneWeight(BoneInfluence& influence, std::int32_t boneId, float weight);

inline constexpr std::size_t kFloatsPerVertex = 8;

class MeshVAO {
 public:
  // A static mesh: its "boneWeight" attribute reads zero for every vertex, so
  // whatever "bones" holds cannot deform it.
  void upload(const std::vector<float>& vertices, const std::vector<std::uint16_t>& indices, GLuint program);
  // An animated mesh: one influence per vertex; remembers the "bones" location.
  void uploadSkinned(const std::vector<float>& vertices, const std::vector<std::uint16_t>& indices,
                     const std::vector<BoneInfluence>& influences, GLuint program);

  void bind() const { vertexArray.bind(); }
  std::uint32_t getIndexCount() const { return indexCount; }
  bool isReady() const { return ready; }
  // Location of "bones" in the program; -1 for a static mesh.
  GLint getBonesLocation() const { return bonesLocation; }

 private:
  void fill(const std::vector<float>& vertices, const std::vector<std::uint16_t>& indices,
            const std::vector<BoneInfluence>& influences, GLuint program);

  GlVertexArray vertexArray;
  GlBuffer vertexBuffer;
  GlBuffer indexBuffer;
  GlBuffer boneBuffer;
  std::uint32_t indexCount = 0;
  bool ready = false;
  GLint bonesLocation = -1;
};
