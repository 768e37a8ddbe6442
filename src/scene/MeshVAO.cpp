#include "scene/MeshVAO.h"

#include <cstddef>

namespace {

constexpr GLsizei kVertexStride = static_cast<GLsizei>(kFloatsPerVertex * sizeof(float));
constexpr GLsizei kInfluenceStride = sizeof(BoneInfluence);

const void* byteOffset(std::size_t offset) { return reinterpret_cast<const void*>(offset); }

void pointFloats(GLint location, GLint size, GLsizei stride, std::size_t offset) {
  if (location < 0) return;  // the program does not use this attribute
  glEnableVertexAttribArray(static_cast<GLuint>(location));
  glVertexAttribPointer(static_cast<GLuint>(location), size, GL_FLOAT, GL_FALSE, stride, byteOffset(offset));
}

}  // namespace

bool addBoneWeight(BoneInfluence& influence, std::int32_t boneId, float weight) {
  for (std::size_t slot = 0; slot < influence.weights.size(); ++slot) {
    if (influence.weights[slot] == 0.0f) {
      influence.boneIds[slot] = boneId;
      influence.weights[slot] = weight;
      return true;
    }
  }
  return false;
}

void MeshVAO::upload(const std::vector<float>& vertices, const std::vector<std::uint16_t>& indices, GLuint program) {
  const std::vector<BoneInfluence> noBones(vertices.size() / kFloatsPerVertex);
  fill(vertices, indices, noBones, program);
}

void MeshVAO::uploadSkinned(const std::vector<float>& vertices, const std::vector<std::uint16_t>& indices,
                            const std::vector<BoneInfluence>& influences, GLuint program) {
  fill(vertices, indices, influences, program);
  bonesLocation = glGetUniformLocation(program, "bones");
}

void MeshVAO::fill(const std::vector<float>& vertices, const std::vector<std::uint16_t>& indices,
                   const std::vector<BoneInfluence>& influences, GLuint program) {
  indexCount = static_cast<std::uint32_t>(indices.size());
  const GLint position = glGetAttribLocation(program, "position");
  const GLint normal = glGetAttribLocation(program, "normal");
  const GLint texture = glGetAttribLocation(program, "texture");
  const GLint boneId = glGetAttribLocation(program, "boneId");
  const GLint boneWeight = glGetAttribLocation(program, "boneWeight");

  vertexArray = GlVertexArray::create();
  vertexBuffer = GlBuffer::create();
  indexBuffer = GlBuffer::create();
  boneBuffer = GlBuffer::create();
  vertexBuffer.fill(GL_ARRAY_BUFFER, vertices.data(), vertices.size() * sizeof(float));
  indexBuffer.fill(GL_ARRAY_BUFFER, indices.data(), indices.size() * sizeof(std::uint16_t));
  boneBuffer.fill(GL_ARRAY_BUFFER, influences.data(), influences.size() * sizeof(BoneInfluence));

  vertexArray.bind();
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.name());
  pointFloats(position, 3, kVertexStride, 0);
  pointFloats(normal, 3, kVertexStride, 3 * sizeof(float));
  pointFloats(texture, 2, kVertexStride, 6 * sizeof(float));

  // Bone arrays are always enabled: a disabled array would read the context's
  // current attribute value, whose default weight (0, 0, 0, 1) would skin a
  // static mesh with whatever "bones" last held.
  glBindBuffer(GL_ARRAY_BUFFER, boneBuffer.name());
  if (boneId >= 0) {
    glEnableVertexAttribArray(static_cast<GLuint>(boneId));
    glVertexAttribIPointer(static_cast<GLuint>(boneId), 4, GL_INT, kInfluenceStride,
                           byteOffset(offsetof(BoneInfluence, boneIds)));
  }
  pointFloats(boneWeight, 4, kInfluenceStride, offsetof(BoneInfluence, weights));

  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.name());
  GlVertexArray::unbind();
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  ready = true;
}
