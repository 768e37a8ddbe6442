#include "render/Render.h"

#include <stdexcept>

#include <glm/gtc/type_ptr.hpp>

#include "render/GlProgram.h"

namespace {

GLint locate(GLuint program, const std::string& name) {
  return requireUniform(program, name, "RENDER: Could not bind attribute '");
}

// Maps clip coordinates in [-1, 1] to shadow-map coordinates in [0, 1].
const Mat4 kBiasMatrix(0.5f, 0.0f, 0.0f, 0.0f,  //
                       0.0f, 0.5f, 0.0f, 0.0f,  //
                       0.0f, 0.0f, 0.5f, 0.0f,  //
                       0.5f, 0.5f, 0.5f, 1.0f);

}  // namespace

Render::Render(std::string name, const Frustum* viewFrustum, GLuint lighting, GLuint color, GLuint shadow)
    : frustum(viewFrustum),
      box(std::move(name)),
      boxLines(std::make_shared<BoxLineMesh>()),
      lightingProgram(lighting),
      mvpLocation(locate(lighting, "mvp")),
      modelLocation(locate(lighting, "model")),
      opacityLocation(locate(lighting, "opacity")),
      isTransparencyLocation(locate(lighting, "isTransparency")),
      colorProgram(color),
      colorMvpLocation(-1),
      shadowProgram(shadow),
      shadowMvpLocation(locate(shadow, "mvp")) {
  colorMvpLocation = locate(color, "mvp");
  for (std::size_t k = 0; k < lightMvpLocations.size(); ++k) {
    lightMvpLocations[k] = locate(lighting, "lightMVP" + std::to_string(k + 1));
  }
}

void Render::setMeshes(const MeshVAO* lighting, const MeshVAO* shadow, Texture* diffuse) {
  lightingMesh = lighting;
  shadowMesh = shadow;
  texture = diffuse;
}

void Render::buildBoundingBox(const Vec3& min, const Vec3& max) {
  box.computeFromConfig(min, max);
  boxLines->upload(box, colorProgram);
}

std::uint32_t Render::draw(const Mat4& mvp, const std::array<Mat4, 4>& lightMvps, const Mat4& model, float opacity,
                           bool wireframe, bool frustumCulling, bool showBoundingBox, bool transparency,
                           std::uint32_t samplingMode, std::uint32_t mipmapMode) {
  if (frustumCulling && box.isComputed() && !isBoxInFrustum(box, *frustum)) return 0;

  if (lightingMesh == nullptr || !lightingMesh->isReady()) throw std::invalid_argument("Render: VAO is not set.");
  lightingMesh->bind();
  if (texture == nullptr || !texture->setFiltering(samplingMode, mipmapMode)) {
    throw std::invalid_argument("Render: texture is not loaded.");
  }

  glUseProgram(lightingProgram);
  glUniformMatrix4fv(mvpLocation, 1, GL_FALSE, glm::value_ptr(mvp));
  glUniformMatrix4fv(modelLocation, 1, GL_FALSE, glm::value_ptr(model));
  glUniform1f(opacityLocation, opacity);
  glUniform1i(isTransparencyLocation, transparency ? 1 : 0);
  for (std::size_t k = 0; k < lightMvpLocations.size(); ++k) {
    const Mat4 biased = kBiasMatrix * lightMvps[k];
    glUniformMatrix4fv(lightMvpLocations[k], 1, GL_FALSE, glm::value_ptr(biased));
  }
  glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(lightingMesh->getIndexCount()), GL_UNSIGNED_SHORT, nullptr);
  GlVertexArray::unbind();
  glUseProgram(0);

  if (showBoundingBox) {
    glUseProgram(colorProgram);
    glUniformMatrix4fv(colorMvpLocation, 1, GL_FALSE, glm::value_ptr(mvp));
    if (!boxLines->isReady()) throw std::invalid_argument("Render: bb-vao is not set.");
    boxLines->bind();
    glDrawElements(GL_LINES, static_cast<GLsizei>(boxLines->getIndexCount()), GL_UNSIGNED_SHORT, nullptr);
    GlVertexArray::unbind();
    glUseProgram(0);
  }
  return 1;
}

void Render::drawShadow(const Mat4& lightMvp) {
  if (shadowMesh == nullptr || !shadowMesh->isReady()) throw std::invalid_argument("Render: VAO-Shadow is not set.");
  shadowMesh->bind();
  glUseProgram(shadowProgram);
  glUniformMatrix4fv(shadowMvpLocation, 1, GL_FALSE, glm::value_ptr(lightMvp));
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(shadowMesh->getIndexCount()), GL_UNSIGNED_SHORT, nullptr);
  GlVertexArray::unbind();
  glUseProgram(0);
}
