#include <GL/glew.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "gl/ModelFiles.h"
#include "gl/RenderTestSupport.h"
#include "render/Render.h"
#include "scene/Model.h"
#include "scene/Parser.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"

using namespace rendertest;

namespace {

class ModelImportTest : public GlTest {
 protected:
  void SetUp() override {
    standardTexture = dir.file("standard.png");
    if (!startWith("parser.standardTexture = " + standardTexture + "\nsceneObject.standard.boundingbox.addition.y = 0.5\n")) {
      return;
    }
    writeSolidImage(standardTexture, {10, 20, 30, 255});
  }

  Model makeModel() const { return Model(programs().lighting, programs().shadow); }
  Render makeRender(const std::string& name) const {
    return Render(name, &frustum, programs().lighting, programs().color, programs().shadow);
  }

  TempDir dir;
  std::string standardTexture;
  Frustum frustum;
};

// Reads back what a mesh's vertex array actually feeds to an attribute.
template <typename T>
std::vector<T> attributeData(const MeshVAO& mesh, GLuint program, const char* attribute, std::size_t count) {
  mesh.bind();
  const GLint location = glGetAttribLocation(program, attribute);
  GLint buffer = 0, enabled = 0, offset = 0;
  glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
  glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
  void* pointer = nullptr;
  glGetVertexAttribPointerv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
  offset = static_cast<GLint>(reinterpret_cast<std::uintptr_t>(pointer));
  GLint stride = 0;
  glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
  GlVertexArray::unbind();
  std::vector<T> result;
  if (enabled == 0 || buffer == 0) return result;
  GLint size = 0;
  glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(buffer));
  glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
  glGetBufferSubData(GL_ARRAY_BUFFER, 0, size, bytes.data());
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  const std::size_t vertexCount = static_cast<std::size_t>(size) / static_cast<std::size_t>(stride);
  for (std::size_t v = 0; v < vertexCount; ++v) {
    for (std::size_t i = 0; i < count; ++i) {
      T value;
      std::memcpy(&value, bytes.data() + v * static_cast<std::size_t>(stride) + static_cast<std::size_t>(offset) +
                              i * sizeof(T), sizeof(T));
      result.push_back(value);
    }
  }
  return result;
}

std::vector<std::uint16_t> indexData(const MeshVAO& mesh) {
  mesh.bind();
  GLint buffer = 0;
  glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &buffer);
  GLint size = 0;
  glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
  std::vector<std::uint16_t> indices(static_cast<std::size_t>(size) / 2);
  glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, size, indices.data());
  GlVertexArray::unbind();
  return indices;
}

GLint textureWidth(const Texture& texture) {
  GLint width = 0;
  glBindTexture(GL_TEXTURE_2D, texture.getName());
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glBindTexture(GL_TEXTURE_2D, 0);
  return width;
}

}  // namespace

TEST_F(ModelImportTest, StaticObjGivesItsMeshTextureAndBoxWithExtentsFromTheOrigin) {
  writeImage(dir.file("bark.png"), 2, 1, [](int x, int) { return Rgba{std::uint8_t(x * 255), 0, 0, 255}; });
  const std::string path = writeQuadObj(dir, "quad", "bark.png");
  Model model = makeModel();
  Render render = makeRender("quad");
  Parser().loadModel(model, render, path);

  for (const MeshVAO* mesh : {&model.lightingMesh(), &model.shadowMesh()}) {
    EXPECT_TRUE(mesh->isReady());
    EXPECT_EQ(mesh->getIndexCount(), 6u);
    EXPECT_EQ(mesh->getBonesLocation(), -1);
    EXPECT_EQ(indexData(*mesh).size(), 6u);
  }
  const auto positions = attributeData<float>(model.lightingMesh(), programs().lighting, "position", 3);
  const auto normals = attributeData<float>(model.lightingMesh(), programs().lighting, "normal", 3);
  const auto uvs = attributeData<float>(model.lightingMesh(), programs().lighting, "texture", 2);
  const auto weights = attributeData<float>(model.lightingMesh(), programs().lighting, "boneWeight", 4);
  ASSERT_EQ(positions.size() % 3, 0u);
  ASSERT_EQ(uvs.size(), positions.size() / 3 * 2);
  const auto indices = indexData(model.lightingMesh());
  // Every drawn corner of the quad, with its texture coordinate, in draw order.
  const float expected[6][5] = {{0, 2, 0, 0, 0}, {1, 2, 0, 1, 0}, {1, 3, 0, 1, 1},
                                {0, 2, 0, 0, 0}, {1, 3, 0, 1, 1}, {0, 3, 0, 0, 1}};
  for (std::size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const std::size_t v = indices[i];
    EXPECT_FLOAT_EQ(positions[v * 3 + 0], expected[i][0]);
    EXPECT_FLOAT_EQ(positions[v * 3 + 1], expected[i][1]);
    EXPECT_FLOAT_EQ(positions[v * 3 + 2], expected[i][2]);
    EXPECT_FLOAT_EQ(uvs[v * 2 + 0], expected[i][3]);
    EXPECT_FLOAT_EQ(uvs[v * 2 + 1], expected[i][4]);
    EXPECT_NEAR(normals[v * 3 + 2], 1.0f, 1e-5f);
  }
  // A static mesh feeds zero bone weights (never a deformation).
  ASSERT_FALSE(weights.empty());
  for (float w : weights) EXPECT_EQ(w, 0.0f);
  // The shadow copy has positions only.
  EXPECT_FALSE(attributeData<float>(model.shadowMesh(), programs().shadow, "position", 3).empty());

  EXPECT_TRUE(model.texture().isLoaded());
  EXPECT_EQ(textureWidth(model.texture()), 2);

  const BoundingBox& box = render.boundingBox();
  ASSERT_TRUE(box.isComputed());
  EXPECT_EQ(box.getCorner(0), Vec3(0, 0, 0));
  EXPECT_EQ(box.getCorner(7), Vec3(1, 3.5f, 0));
}

TEST_F(ModelImportTest, MaterialWithoutDiffuseMapUsesTheStandardTextureAndZeroCoordinates) {
  const std::string path = writeQuadObj(dir, "plain", "");
  Model model = makeModel();
  Render render = makeRender("plain");
  Parser().loadModel(model, render, path);
  EXPECT_EQ(textureWidth(model.texture()), 4);  // the standard texture is 4 x 4
  for (float uv : attributeData<float>(model.lightingMesh(), programs().lighting, "texture", 2)) EXPECT_EQ(uv, 0.0f);
}

TEST_F(ModelImportTest, ModelsNamingOneImageShareItsTextureOnlyWhileOneOfThemLives) {
  const std::string path = writeQuadObj(dir, "plain", "");
  GLuint firstName = 0;
  {
    Model first = makeModel();
    Model second = makeModel();
    Render firstRender = makeRender("first");
    Render secondRender = makeRender("second");
    Parser().loadModel(first, firstRender, path);
    Parser().loadModel(second, secondRender, path);
    firstName = first.texture().getName();
    EXPECT_EQ(second.texture().getName(), firstName);
    EXPECT_TRUE(glIsTexture(firstName));
  }
  // Once no model holds it the texture is gone, and the next load reads the
  // file again: a changed image is not served from a stale copy.
  EXPECT_FALSE(glIsTexture(firstName));
  writeImage(standardTexture, 8, 8, [](int, int) { return Rgba{200, 100, 50, 255}; });
  Model later = makeModel();
  Render laterRender = makeRender("later");
  Parser().loadModel(later, laterRender, path);
  EXPECT_EQ(textureWidth(later.texture()), 8);
}

TEST_F(ModelImportTest, OnlyTheFirstMeshOfAFileIsTaken) {
  dir.write("two.mtl", "newmtl a\nKd 1 1 1\nnewmtl b\nKd 1 1 1\n");
  const std::string path = dir.write("two.obj",
                                     "mtllib two.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 5 5 5\nv 6 5 5\nv 5 6 5\nv 5 5 6\n"
                                     "o first\nusemtl a\nf 1 2 3\no second\nusemtl b\nf 4 5 6\nf 4 6 7\n");
  Model model = makeModel();
  Render render = makeRender("two");
  Parser().loadModel(model, render, path);
  EXPECT_EQ(model.lightingMesh().getIndexCount(), 3u);
  EXPECT_EQ(render.boundingBox().getCorner(7), Vec3(1, 1.5f, 0));
}

TEST_F(ModelImportTest, UnusableFilesAreRefusedWithAMessageNamingTheFile) {
  // 21846 triangles with their own corners: 65538 vertices.
  std::string big;
  for (int t = 0; t < 21846; ++t) big += "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  for (int t = 0; t < 21846; ++t) {
    const int a = t * 3 + 1;
    big += "f " + std::to_string(a) + " " + std::to_string(a + 1) + " " + std::to_string(a + 2) + "\n";
  }
  struct Case {
    const char* name;
    std::string path;
    std::string message;
  };
  const std::string missing = dir.file("missing.obj");
  const std::string garbage = dir.write("garbage.zzz", "not a model at all");
  const std::string huge = dir.write("huge.obj", big);
  const std::string lines = dir.write("lines.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nl 1 2\nl 2 3\n");
  const std::string mixed = dir.write("mixed.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nl 1 2\n");
  const std::string empty = writeSkinnedGltf(dir, "empty", {2, false, false});
  const Case cases[] = {
      {"missing file", missing, "PARSER: File '" + missing + "' does not exist."},
      {"too many vertices", huge,
       "PARSER: Mesh in '" + huge + "' has 65538 vertices; 16-bit indices address at most 65536."},
      {"lines only", lines, "PARSER: Mesh in '" + lines + "' has no normals (only points or lines?)."},
      {"triangle and line", mixed, "PARSER: Mesh in '" + mixed + "' has a face with 2 indices; only triangles are drawn."},
      {"no mesh", empty, "PARSER: File '" + empty + "' holds no mesh."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Model model = makeModel();
    Render render = makeRender("x");
    EXPECT_EQ(messageOf<std::invalid_argument>([&] { Parser().loadModel(model, render, c.path); }), c.message);
    EXPECT_FALSE(model.lightingMesh().isReady());
  }
  Model model = makeModel();
  Render render = makeRender("x");
  const std::string unreadable = messageOf<std::invalid_argument>([&] { Parser().loadModel(model, render, garbage); });
  EXPECT_EQ(unreadable.rfind("PARSER: Error parsing '" + garbage + "': '", 0), 0u) << unreadable;
  EXPECT_EQ(unreadable.substr(unreadable.size() - 2), "'.");
}

TEST_F(ModelImportTest, SkinnedGltfGivesBonesInfluencesAndTheNodeHierarchy) {
  const std::string path = writeSkinnedGltf(dir, "rig", {});
  Model model = makeModel();
  Render render = makeRender("rig");
  Skeleton skeleton;
  Parser().loadAnimatedModel(model, render, path, skeleton);

  ASSERT_EQ(skeleton.bones.size(), 2u);
  EXPECT_EQ(skeleton.boneMapping.at("Bone0"), 0u);
  EXPECT_EQ(skeleton.boneMapping.at("Bone1"), 1u);
  EXPECT_NE(model.lightingMesh().getBonesLocation(), -1);
  EXPECT_NE(model.shadowMesh().getBonesLocation(), -1);

  const auto ids = attributeData<std::int32_t>(model.lightingMesh(), programs().lighting, "boneId", 4);
  const auto weights = attributeData<float>(model.lightingMesh(), programs().lighting, "boneWeight", 4);
  const auto positions = attributeData<float>(model.lightingMesh(), programs().lighting, "position", 3);
  ASSERT_EQ(ids.size(), weights.size());
  ASSERT_EQ(ids.size() / 4, positions.size() / 3);
  // Each vertex's weights by its position: (1,0,0) Bone1 alone, (0,1,0)
  // shared half and half, every other one Bone0 alone.
  for (std::size_t v = 0; v < ids.size() / 4; ++v) {
    SCOPED_TRACE(v);
    float bone0 = 0, bone1 = 0;
    for (std::size_t s = 0; s < 4; ++s) (ids[v * 4 + s] == 0 ? bone0 : bone1) += weights[v * 4 + s];
    const Vec3 p(positions[v * 3], positions[v * 3 + 1], positions[v * 3 + 2]);
    if (p == Vec3(1, 0, 0)) {
      EXPECT_FLOAT_EQ(bone1, 1.0f);
    } else if (p == Vec3(0, 1, 0)) {
      EXPECT_FLOAT_EQ(bone0, 0.5f);
      EXPECT_FLOAT_EQ(bone1, 0.5f);
    } else {
      EXPECT_FLOAT_EQ(bone0, 1.0f);
    }
  }

  // The hierarchy holds Bone0 with Bone1 as its child, under the file's root.
  std::function<const SkeletonNode*(const SkeletonNode&, const std::string&)> find =
      [&](const SkeletonNode& node, const std::string& name) -> const SkeletonNode* {
    if (node.name == name) return &node;
    for (const SkeletonNode& child : node.children) {
      if (const SkeletonNode* hit = find(child, name)) return hit;
    }
    return nullptr;
  };
  const SkeletonNode* bone0 = find(skeleton.root, "Bone0");
  ASSERT_NE(bone0, nullptr);
  ASSERT_EQ(bone0->childCount, 1u);
  EXPECT_EQ(bone0->children.at(0).name, "Bone1");

  // Reading the skeleton alone gives the same bones, offsets and hierarchy.
  const Skeleton alone = Parser::importSkeleton(path);
  EXPECT_EQ(alone.boneMapping, skeleton.boneMapping);
  ASSERT_EQ(alone.bones.size(), skeleton.bones.size());
  for (std::size_t b = 0; b < alone.bones.size(); ++b) EXPECT_EQ(alone.bones[b].offset, skeleton.bones[b].offset);
  EXPECT_EQ(alone.root.name, skeleton.root.name);
  const SkeletonNode* aloneBone0 = find(alone.root, "Bone0");
  ASSERT_NE(aloneBone0, nullptr);
  EXPECT_EQ(aloneBone0->transformation, bone0->transformation);
  EXPECT_EQ(aloneBone0->children.at(0).name, "Bone1");
}

TEST_F(ModelImportTest, MoreThanAHundredBonesAreRefused) {
  const std::string fits = writeSkinnedGltf(dir, "fits", {100, false, true});
  const std::string over = writeSkinnedGltf(dir, "over", {101, false, true});
  {
    Model model = makeModel();
    Render render = makeRender("fits");
    Skeleton skeleton;
    Parser().loadAnimatedModel(model, render, fits, skeleton);
    EXPECT_EQ(skeleton.bones.size(), 100u);
  }
  Model model = makeModel();
  Render render = makeRender("over");
  Skeleton skeleton;
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { Parser().loadAnimatedModel(model, render, over, skeleton); }),
            "PARSER: Model '" + over + "' has more than 100 bones.");
}

TEST_F(ModelImportTest, AnimationIsCopiedWithTimesQuaternionsAndTranslations) {
  const std::string path = writeSkinnedGltf(dir, "anim", {});
  const Animation animation = Parser::importAnimation(path);
  ASSERT_GT(animation.ticksPerSecond, 0.0f);
  EXPECT_NEAR(animation.duration / animation.ticksPerSecond, 1.0f, 1e-4f);
  const AnimationChannel* bone0 = nullptr;
  for (const AnimationChannel& channel : animation.channels) {
    if (channel.nodeName == "Bone0") bone0 = &channel;
  }
  ASSERT_NE(bone0, nullptr);
  EXPECT_EQ(animation.channelCount, animation.channels.size());
  ASSERT_EQ(bone0->rotationKeyCount, 2u);
  ASSERT_EQ(bone0->rotationKeys.size(), 2u);
  const Quat turned = bone0->rotationKeys[1].value;
  EXPECT_NEAR(turned.w, std::sqrt(0.5f), 1e-5f);
  EXPECT_NEAR(turned.z, std::sqrt(0.5f), 1e-5f);
  EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
  EXPECT_NEAR(bone0->rotationKeys[1].time / animation.ticksPerSecond, 1.0f, 1e-4f);
  ASSERT_EQ(bone0->positionKeyCount, 2u);
  EXPECT_EQ(bone0->positionKeys[1].value, Vec3(1, 2, 3));
}

TEST_F(ModelImportTest, AFileWithoutAnimationIsRefusedAsAnimation) {
  const std::string still = writeSkinnedGltf(dir, "still", {2, false, true});
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { Parser::importAnimation(still); }),
            "PARSER: File '" + still + "' holds no animation.");
  const std::string missing = dir.file("walk.gltf");
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { Parser::importAnimation(missing); }),
            "PARSER: File '" + missing + "' does not exist.");
}
