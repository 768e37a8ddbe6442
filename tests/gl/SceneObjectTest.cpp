#include <GL/glew.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "game/PositionManager.h"
#include "gl/ModelFiles.h"
#include "gl/RenderTestSupport.h"
#include "render/RenderFunctionalityManager.h"
#include "scene/SceneObject.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"

using namespace rendertest;

namespace {

constexpr int kSize = 64;

class SceneObjectTest : public GlTest {
 protected:
  void SetUp() override {
    if (!startWith("")) return;
    writeImage(dir.file("bark.png"), 2, 2, [](int, int) { return Rgba{255, 255, 255, 255}; });
    writeSolidImage(dir.file("standard.png"), {255, 255, 255, 255});
    const std::string quad = writeQuadObj(dir, "quad", "bark.png");
    const std::string rig = writeSkinnedGltf(dir, "rig", {});
    Config::instance().loadFromString(
        "octree.max.levels = 3\noctree.start.xz = -64\noctree.start.y = -64\noctree.range = 128\n"
        "parser.standardTexture = " + dir.file("standard.png") + "\n"
        "sceneObject.standard.position.x = 1\nsceneObject.standard.position.y = 2\n"
        "sceneObject.standard.position.z = 3\nsceneObject.standard.rotation = 0\nsceneObject.standard.scale = 1\n"
        "sceneObject.standard.property.speed = 9\nsceneObject.standard.property.health = 100\n"
        "sceneObject.standard.property.damage = 5\nsceneObject.standard.boundingbox.addition.y = 0.5\n"
        "piece.path = " + quad + "\n"
        "tower.path = " + quad + "\ntower.position.x = -4\ntower.rotation = 90\ntower.scale = 2\n"
        "tower.property.speed = 3.5\ntower.property.health = 7\ntower.points = 40\n"
        "rig.path = " + rig + "\nwalk.path = " + rig + "\n");
    positions = std::make_unique<PositionManager>();
  }
  void cleanUp() override { positions.reset(); }

  std::unique_ptr<SceneObject> make(SceneObject::Kind kind, const std::string& name) {
    auto object = std::make_unique<SceneObject>(kind, name, programs().lighting, programs().color,
                                                programs().shadow, &frustum);
    object->setPositionManager(positions.get());
    object->setProperties(&table);
    return object;
  }

  TempDir dir;
  Frustum frustum;
  PropertyTable table;
  std::unique_ptr<PositionManager> positions;
};

}  // namespace

TEST_F(SceneObjectTest, IdsComeFromOneCounterThatCopiesAdvanceToo) {
  const ObjectId first = SceneObject::peekNextId();
  auto piece = make(SceneObject::Kind::Static, "piece");
  auto rig = make(SceneObject::Kind::Animated, "rig");
  SceneObject enemy(*rig);
  EXPECT_EQ(piece->getId(), first);
  EXPECT_EQ(rig->getId(), first + 1);
  EXPECT_EQ(enemy.getId(), first + 2);
  EXPECT_EQ(SceneObject::peekNextId(), first + 3);
}

TEST_F(SceneObjectTest, PropertiesComeFromOwnKeysOrTheStandardOnesExceptSpeedAndPoints) {
  struct Case {
    const char* name;
    Vec3 position;
    float scale;
    ObjectProperties expected;
  };
  const Case cases[] = {
      {"piece", {1, 2, 3}, 1.0f, {0.0f, 100, 5, 1.0f, 0}},
      {"tower", {-4, 2, 3}, 2.0f, {3.5f, 7, 5, 1.0f, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto object = make(SceneObject::Kind::Static, c.name);
    object->readProperties();
    const ObjectProperties& record = table.at(object->getId());
    EXPECT_EQ(record.speed, c.expected.speed);
    EXPECT_EQ(record.health, c.expected.health);
    EXPECT_EQ(record.damage, c.expected.damage);
    EXPECT_EQ(record.points, c.expected.points);
    EXPECT_EQ(record.opacity, 1.0f);
    EXPECT_EQ(positions->position(object->getId()), c.position);
    // The quad spans x 0..1 and y 0..3 (from the origin) at z = 0, raised by 0.5.
    const BoundingBox& box = object->boundingBox();
    const Vec3 worldMax = box.getWorldMax();
    const Vec3 worldMin = box.getWorldMin();
    EXPECT_NEAR(worldMax.y - worldMin.y, 3.5f * c.scale, 1e-4f);
    if (std::string(c.name) == "tower") {
      // Rotated by 90 degrees: the box's x extent now lies along z.
      EXPECT_NEAR(worldMax.x - worldMin.x, 0.0f, 1e-4f);
      EXPECT_NEAR(worldMax.z - worldMin.z, 2.0f, 1e-4f);
    }
  }
}

TEST_F(SceneObjectTest, AnEnemyCopySharesTheTypesGpuDataButHasItsOwnBoxAndFreshPlayback) {
  auto type = make(SceneObject::Kind::Animated, "rig");
  type->loadAnimations({"walk", "walk"});
  type->animationState().current = 1;
  type->animationState().secondary = 1;
  SceneObject enemy(*type);
  EXPECT_TRUE(enemy.model().isShared());
  EXPECT_FALSE(type->model().isShared());
  EXPECT_EQ(&enemy.model().lightingMesh(), &type->model().lightingMesh());
  EXPECT_EQ(&enemy.model().texture(), &type->model().texture());
  EXPECT_NE(&enemy.boundingBox(), &type->boundingBox());
  EXPECT_EQ(enemy.boundingBox().getCorner(7), type->boundingBox().getCorner(7));
  EXPECT_EQ(enemy.skeleton().bones.size(), 2u);
  EXPECT_EQ(enemy.animations().size(), 2u);
  EXPECT_EQ(enemy.animationState().current, 0u);
  EXPECT_EQ(enemy.animationState().secondary, -1);
  EXPECT_EQ(enemy.getName(), "rig");
}

TEST_F(SceneObjectTest, TheTypesMeshesOutliveACopyThatIsDestroyedFirst) {
  auto type = make(SceneObject::Kind::Static, "piece");
  { SceneObject enemy(*type); }
  EXPECT_TRUE(type->model().lightingMesh().isReady());
  GLboolean isArray = GL_FALSE;
  type->model().lightingMesh().bind();
  GLint bound = 0;
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
  isArray = glIsVertexArray(static_cast<GLuint>(bound));
  GlVertexArray::unbind();
  EXPECT_EQ(isArray, GL_TRUE);
}

TEST_F(SceneObjectTest, BonesGoToTheLightingProgramAndStaticObjectsUploadNone) {
  auto rig = make(SceneObject::Kind::Animated, "rig");
  auto piece = make(SceneObject::Kind::Static, "piece");
  const Mat4 lifted = glm::translate(Mat4(1.0f), Vec3(0, 7, 0));
  rig->skeleton().bones[1].finalTransformation = lifted;
  rig->uploadBonesLighting();
  piece->uploadBonesLighting();  // must not reset what the rig uploaded
  rig->uploadBonesShadow();
  struct Case {
    const char* program;
    GLuint name;
  };
  for (const Case& c : {Case{"lighting", programs().lighting}, Case{"shadow", programs().shadow}}) {
    SCOPED_TRACE(c.program);
    std::array<float, 16> bone1{};
    glGetUniformfv(c.name, glGetUniformLocation(c.name, "bones[1]"), bone1.data());
    EXPECT_EQ(bone1[13], 7.0f) << "bone 1's translation";
  }
  GLint current = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  EXPECT_EQ(static_cast<GLuint>(current), programs().shadow) << "the upload leaves its program selected";
  glUseProgram(0);
}

TEST_F(SceneObjectTest, RenderDrawsAtThePlacedModelMatrixAndNeedsAPlacedObject) {
  OffscreenTarget target(kSize, kSize);
  LitShadowMaps shadowMaps;
  auto piece = make(SceneObject::Kind::Static, "piece");
  const std::array<Mat4, 4> identities{};
  RenderFunctionalityManager toggles(false);
  toggles.frustumCulling = false;
  EXPECT_THROW(piece->render(Mat4(1.0f), Mat4(1.0f), identities, identities, toggles), std::out_of_range);
  piece->readProperties();
  positions->setTransform(piece->getId(), Vec3(-0.5f, -2.5f, 0), 0.0f, 1.0f);  // centred on the origin
  glUseProgram(programs().lighting);
  glUniform3f(glGetUniformLocation(programs().lighting, "moon.base.color"), 1, 1, 1);
  glUniform1f(glGetUniformLocation(programs().lighting, "moon.base.ambientIntensity"), 1.0f);
  glUniform1f(glGetUniformLocation(programs().lighting, "moon.base.diffuseIntensity"), 0.0f);
  glUniform1i(glGetUniformLocation(programs().lighting, "renderFog"), 0);  // other tests share the program
  glUseProgram(0);
  const Mat4 view = glm::lookAt(Vec3(0, 0, 5), Vec3(0, 0, 0), Vec3(0, 1, 0));
  const Mat4 projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
  struct Case {
    const char* name;
    float opacity;
  };
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  for (const Case& c : {Case{"opaque", 1.0f}, Case{"fading", 0.5f}}) {
    SCOPED_TRACE(c.name);
    table.at(piece->getId()).opacity = c.opacity;
    target.clear(0, 0, 0);
    EXPECT_EQ(piece->render(view, projection, identities, identities, toggles), 1u);
    const Rgba centre = target.pixel(kSize / 2, kSize / 2);
    EXPECT_NEAR(centre[0], 255 * c.opacity, 2) << "the property table's opacity blends the object";
    EXPECT_EQ(target.pixel(1, 1)[0], 0);
  }
  glDisable(GL_BLEND);
}
