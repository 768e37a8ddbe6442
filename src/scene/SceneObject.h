#pragma once
// One placed thing of the scene (map piece, lamp, main character, enemy
// type or enemy): its id, model, Render (with its bounding box), skeleton,
// animations and playback state. Owns all of those; only points to the
// PositionManager and the PropertyTable, which hold its placement and game record.
#include <GL/glew.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "common/Frustum.h"
#include "common/ObjectProperties.h"
#include "common/Types.h"
#include "render/Render.h"
#include "render/RenderFunctionalityManager.h"
#include "scene/Animation.h"
#include "scene/AnimationState.h"
#include "scene/Model.h"
#include "scene/Skeleton.h"

class PositionManager;

class SceneObject {
 public:
  enum class Kind { Static, Animated };

  // Takes the next id, builds Model and Render and imports name + ".path"
  // (an animated object with its bones). Import and texture errors propagate.
  SceneObject(Kind kind, const std::string& name, GLuint lightingProgram, GLuint colorProgram,
              GLuint shadowProgram, const Frustum* frustum);
  // An enemy from its type: the next id, a model sharing the type's GPU data,
  // copies of Render, skeleton and animations, and a fresh playback state.
  // Not placed: set the position manager and properties, then readProperties().
  SceneObject(const SceneObject& type);
  SceneObject& operator=(const SceneObject&) = delete;

  // The id the next constructed object will get (the counter is process-wide).
  static ObjectId peekNextId();

  void setPositionManager(PositionManager* manager) { positionManager = manager; }
  void setProperties(PropertyTable* table) { properties = table; }
  // Places the object (position, rotation, scale from its keys or the
  // "sceneObject.standard" ones) and creates its property record.
  void readProperties();
  // Appends the first animation of each name + ".path" file.
  void loadAnimations(const std::vector<std::string>& animationNames);

  // Main pass: 1 when drawn, 0 when culled. Throws std::out_of_range when
  // the object is not placed or has no property record.
  std::uint32_t render(const Mat4& view, const Mat4& projection, const std::array<Mat4, 4>& lightViews,
                       const std::array<Mat4, 4>& lightProjections, const RenderFunctionalityManager& toggles);
  void renderShadow(const Mat4& lightView, const Mat4& lightProjection);
  // Selects the lighting (shadow) program and uploads the skeleton's bone
  // matrices to the start of "bones"; a static object uploads nothing.
  void uploadBonesLighting();
  void uploadBonesShadow();

  ObjectId getId() const { return id; }
  const std::string& getName() const { return name; }
  const Model& model() const { return *ownModel; }
  BoundingBox& boundingBox() { return ownRender->boundingBox(); }
  Skeleton& skeleton() { return ownSkeleton; }
  AnimationState& animationState() { return state; }
  std::vector<Animation>& animations() { return ownAnimations; }

 private:
  void uploadBones(GLuint program, GLint location) const;

  ObjectId id;
  std::unique_ptr<Model> ownModel;
  std::unique_ptr<Render> ownRender;
  std::string name;
  AnimationState state;
  Skeleton ownSkeleton;
  std::vector<Animation> ownAnimations;
  PositionManager* positionManager = nullptr;
  PropertyTable* properties = nullptr;
};
