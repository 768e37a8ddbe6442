#include "scene/BoxLineMesh.h"

void BoxLineMesh::upload(const BoundingBox& box, GLuint colorProgram) {
  const auto& vertices = box.getLineVertices();
  const auto& indices = box.getLineIndices();
  indexCount = static_cast<std::uint32_t>(indices.size());
  const GLint position = glGetAttribLocation(colorProgram, "position");
  vertexArray = GlVertexArray::create();
  vertexBuffer = GlBuffer::create();
  indexBuffer = GlBuffer::create();
  vertexBuffer.fill(GL_ARRAY_BUFFER, vertices.data(), vertices.size() * sizeof(float));
  indexBuffer.fill(GL_ARRAY_BUFFER, indices.data(), indices.size() * sizeof(std::uint16_t));

  vertexArray.bind();
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.name());
  if (position >= 0) {
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, 0, nullptr);
  }
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.name());
  GlVertexArray::unbind();
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  ready = true;
}
