#include "scene/SceneObject.h"

#include <algorithm>

#include <glm/gtc/type_ptr.hpp>

#include "config/Config.h"
#include "game/PositionManager.h"
#include "scene/Parser.h"

namespace {

ObjectId nextId = 0;  // every object ever constructed, copies included; never reused

const std::string kStandard = "sceneObject.standard";

}  // namespace

ObjectId SceneObject::peekNextId() { return nextId; }

SceneObject::SceneObject(Kind kind, const std::string& objectName, GLuint lightingProgram, GLuint colorProgram,
                         GLuint shadowProgram, const Frustum* frustum)
    : id(nextId++),
      ownModel(std::make_unique<Model>(lightingProgram, shadowProgram)),
      ownRender(std::make_unique<Render>(objectName, frustum, lightingProgram, colorProgram, shadowProgram)),
      name(objectName) {
  const std::string path = Config::instance().getString(name + ".path");
  Parser parser;
  if (kind == Kind::Animated) {
    parser.loadAnimatedModel(*ownModel, *ownRender, path, ownSkeleton);
  } else {
    parser.loadModel(*ownModel, *ownRender, path);
  }
  ownRender->setMeshes(&ownModel->lightingMesh(), &ownModel->shadowMesh(), &ownModel->texture());
}

SceneObject::SceneObject(const SceneObject& type)
    : id(nextId++),
      ownModel(std::make_unique<Model>(*type.ownModel)),
      ownRender(std::make_unique<Render>(*type.ownRender)),
      name(type.name),
      ownSkeleton(type.ownSkeleton),
      ownAnimations(type.ownAnimations) {
  state.poseSource = type.state.poseSource != kNoObject ? type.state.poseSource : type.id;
}

void SceneObject::readProperties() {
  positionManager->add(id, &ownRender->boundingBox());
  ObjectProperties& record = (*properties)[id];
  record = ObjectProperties{0.0f, 0, 0, 0.0f, 0};

  const Config& config = Config::instance();
  auto withFallback = [&](const std::string& suffix) {
    return config.getFloatWithFallback(name + suffix, kStandard + suffix);
  };
  const float x = withFallback(".position.x");
  const float y = withFallback(".position.y");
  const float z = withFallback(".position.z");
  const float rotation = withFallback(".rotation");
  const float scale = withFallback(".scale");
  positionManager->setTransform(id, Vec3(x, y, z), rotation, scale);

  if (config.hasKey(name + ".property.speed")) record.speed = config.getFloat(name + ".property.speed");
  record.health = config.getIntWithFallback(name + ".property.health", kStandard + ".property.health");
  record.damage = config.getIntWithFallback(name + ".property.damage", kStandard + ".property.damage");
  record.points = config.hasKey(name + ".points") ? config.getInt(name + ".points") : 0;
  record.opacity = 1.0f;
}

void SceneObject::loadAnimations(const std::vector<std::string>& animationNames) {
  for (const std::string& animationName : animationNames) {
    ownAnimations.push_back(Parser::importAnimation(Config::instance().getString(animationName + ".path")));
  }
}

std::uint32_t SceneObject::render(const Mat4& view, const Mat4& projection, const std::array<Mat4, 4>& lightViews,
                                  const std::array<Mat4, 4>& lightProjections,
                                  const RenderFunctionalityManager& toggles) {
  const Mat4& modelMatrix = positionManager->modelMatrix(id);
  const float opacity = properties->at(id).opacity;
  const Mat4 mvp = projection * view * modelMatrix;
  std::array<Mat4, 4> lightMvps;
  for (std::size_t k = 0; k < lightMvps.size(); ++k) lightMvps[k] = lightProjections[k] * lightViews[k] * modelMatrix;
  return ownRender->draw(mvp, lightMvps, modelMatrix, opacity, toggles.wireframe, toggles.frustumCulling,
                         toggles.boundingBoxes, toggles.transparency, toggles.samplingMode, toggles.mipmapMode);
}

void SceneObject::renderShadow(const Mat4& lightView, const Mat4& lightProjection) {
  ownRender->drawShadow(lightProjection * lightView * positionManager->modelMatrix(id));
}

void SceneObject::uploadBonesLighting() {
  uploadBones(ownRender->getLightingProgram(), ownModel->lightingMesh().getBonesLocation());
}

void SceneObject::uploadBonesShadow() {
  uploadBones(ownRender->getShadowProgram(), ownModel->shadowMesh().getBonesLocation());
}

void SceneObject::uploadBones(GLuint program, GLint location) const {
  glUseProgram(program);
  if (location == -1) return;  // a static mesh has no bones to move
  // The whole array: the skeleton's bones by index, identity for the rest.
  std::array<Mat4, kMaxBones> matrices;
  matrices.fill(Mat4(1.0f));
  const std::size_t count = std::min(ownSkeleton.bones.size(), kMaxBones);
  for (std::size_t i = 0; i < count; ++i) matrices[i] = ownSkeleton.bones[i].finalTransformation;
  glUniformMatrix4fv(location, static_cast<GLsizei>(kMaxBones), GL_FALSE, glm::value_ptr(matrices[0]));
}
