// Renders a small night scene (map pieces, lamp posts and a character in its
// rest pose) with the game's shaders: shadow maps for the moon and three
// lamps, per-pixel light, height fog, over the sky box. Writes the picture
// to build/screenshots/scene.png for a person to look at.
#include <GL/glew.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "config/Config.h"
#include "gl/RenderTestSupport.h"
#include "render/EffectManager.h"
#include "render/Render.h"
#include "render/RenderFunctionalityManager.h"
#include "render/Skybox.h"
#include "scene/MeshVAO.h"
#include "scene/Texture.h"
#include "support/GlContext.h"

using namespace rendertest;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;
constexpr int kShadowSize = 1024;

struct MeshData {
  std::vector<float> vertices;
  std::vector<std::uint16_t> indices;
};

// An axis-aligned box with outward faces, texture 0..1 on every face.
void addBox(MeshData& mesh, Vec3 centre, Vec3 half) {
  struct Face {
    Vec3 n, u, v;
  };
  const Face faces[6] = {{{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
                         {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
                         {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}}};
  for (const Face& f : faces) {
    const auto extent = [&](Vec3 axis) { return std::abs(glm::dot(axis, half)); };
    const Vec3 middle = centre + f.n * extent(f.n);
    const auto base = static_cast<std::uint16_t>(mesh.vertices.size() / kFloatsPerVertex);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
      const Vec3 p = middle + f.u * (c[0] * extent(f.u)) + f.v * (c[1] * extent(f.v));
      mesh.vertices.insert(mesh.vertices.end(),
                           {p.x, p.y, p.z, f.n.x, f.n.y, f.n.z, (c[0] + 1) * 0.5f, (c[1] + 1) * 0.5f});
    }
    for (int i : {0, 1, 2, 0, 2, 3}) mesh.indices.push_back(static_cast<std::uint16_t>(base + i));
  }
}

MeshData box(Vec3 centre, Vec3 half) {
  MeshData mesh;
  addBox(mesh, centre, half);
  return mesh;
}

// A blocky figure, feet at the origin, facing +z.
MeshData character() {
  MeshData mesh;
  addBox(mesh, {-0.22f, 0.45f, 0}, {0.15f, 0.45f, 0.15f});  // legs
  addBox(mesh, {0.22f, 0.45f, 0}, {0.15f, 0.45f, 0.15f});
  addBox(mesh, {0, 1.3f, 0}, {0.42f, 0.42f, 0.22f});        // body
  addBox(mesh, {-0.58f, 1.3f, 0.1f}, {0.12f, 0.4f, 0.12f});  // arms
  addBox(mesh, {0.58f, 1.3f, 0.1f}, {0.12f, 0.4f, 0.12f});
  addBox(mesh, {0, 2.0f, 0}, {0.22f, 0.24f, 0.22f});        // head
  return mesh;
}

struct Piece {
  MeshVAO lit;
  MeshVAO shadow;
  std::unique_ptr<Render> render;
  Mat4 model{1.0f};
};

class DepthMap {
 public:
  DepthMap() {
    texture.generate();
    glBindTexture(GL_TEXTURE_2D, texture.name());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, kShadowSize, kShadowSize, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                 nullptr);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LESS);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, texture.name(), 0);
    glDrawBuffer(GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  ~DepthMap() { glDeleteFramebuffers(1, &framebuffer); }
  DepthMap(const DepthMap&) = delete;
  DepthMap& operator=(const DepthMap&) = delete;
  GLuint framebuffer = 0;
  GlTexture texture;
};

void uniform3(GLuint p, const std::string& name, Vec3 v) {
  glUniform3fv(glGetUniformLocation(p, name.c_str()), 1, glm::value_ptr(v));
}
void uniform1(GLuint p, const std::string& name, float f) { glUniform1f(glGetUniformLocation(p, name.c_str()), f); }

class SceneScreenshot : public GlTest {
 protected:
  void TearDown() override { Config::instance().clear(); }
  TempDir dir;
};

}  // namespace

TEST_F(SceneScreenshot, WritesALitFoggedSceneOverTheSkyBox) {
  Config::instance().clear();
  Config::instance().loadFromString(
      "skybox.position.x = 0\nskybox.position.y = 0\nskybox.position.z = 0\nskybox.size = 100\n"
      "effectmanager.fog.height = 0.8\neffectmanager.fog.color.r = 0.06\neffectmanager.fog.color.g = 0.08\n"
      "effectmanager.fog.color.b = 0.14\neffectmanager.fog.intensity = 0.35\n"
      "effectmanager.fog.lightdistortion = 0.6\n");
  const Programs& p = programs();

  // Textures: stone checker for the map, cloth for the character, night sky.
  writeImage(dir.file("stone.png"), 64, 64, [](int x, int y) {
    const bool dark = ((x / 16) + (y / 16)) % 2 == 0;
    const std::uint8_t g = dark ? 120 : 170;
    return Rgba{g, std::uint8_t(g - 8), std::uint8_t(g - 20), 255};
  });
  writeImage(dir.file("cloth.png"), 8, 8, [](int, int y) {
    return y > 5 ? Rgba{230, 200, 170, 255} : Rgba{60, 110, 200, 255};
  });
  writeImage(dir.file("side.png"), 64, 64, [](int x, int y) {
    const float t = static_cast<float>(y) / 63.0f;  // dusk at the horizon, night above
    const bool star = y > 36 && (x * 7 + y * 13) % 97 == 0;
    if (star) return Rgba{255, 255, 240, 255};
    return Rgba{std::uint8_t(40 * (1 - t) + 5), std::uint8_t(45 * (1 - t) + 8), std::uint8_t(80 * (1 - t) + 25), 255};
  });
  writeImage(dir.file("top.png"), 8, 8, [](int, int) { return Rgba{5, 8, 25, 255}; });
  writeImage(dir.file("bottom.png"), 8, 8, [](int, int) { return Rgba{10, 10, 14, 255}; });
  Texture stone, cloth;
  stone.load(dir.file("stone.png"));
  cloth.load(dir.file("cloth.png"));
  Skybox sky(dir.file("side.png"), dir.file("side.png"), dir.file("side.png"), dir.file("side.png"),
             dir.file("top.png"), dir.file("bottom.png"));
  sky.init(p.texture);

  Frustum frustum;
  std::vector<std::unique_ptr<Piece>> pieces;
  auto addPiece = [&](const MeshData& mesh, Texture& texture, const Mat4& model, bool skinned) {
    auto piece = std::make_unique<Piece>();
    if (skinned) {
      std::vector<BoneInfluence> influences(mesh.vertices.size() / kFloatsPerVertex);
      for (BoneInfluence& i : influences) addBoneWeight(i, 0, 1.0f);
      piece->lit.uploadSkinned(mesh.vertices, mesh.indices, influences, p.lighting);
      piece->shadow.uploadSkinned(mesh.vertices, mesh.indices, influences, p.shadow);
    } else {
      piece->lit.upload(mesh.vertices, mesh.indices, p.lighting);
      piece->shadow.upload(mesh.vertices, mesh.indices, p.shadow);
    }
    piece->render = std::make_unique<Render>("piece", &frustum, p.lighting, p.color, p.shadow);
    piece->render->setMeshes(&piece->lit, &piece->shadow, &texture);
    piece->model = model;
    pieces.push_back(std::move(piece));
  };
  const Mat4 identity(1.0f);
  addPiece(box({0, -0.25f, 0}, {9, 0.25f, 7}), stone, identity, false);              // ground floor
  addPiece(box({6, 2.25f, -3}, {3, 0.25f, 3}), stone, identity, false);              // upper floor
  addPiece(box({0, 1.5f, -7}, {9, 1.5f, 0.3f}), stone, identity, false);              // back wall
  addPiece(box({-9, 1.5f, 0}, {0.3f, 1.5f, 7}), stone, identity, false);              // side wall
  for (int step = 0; step < 4; ++step) {                                              // stairs
    const float y = 0.25f + 0.5f * static_cast<float>(step);
    addPiece(box({1.6f + 0.8f * static_cast<float>(step), y * 0.5f, -3}, {0.4f, y * 0.5f, 1.2f}), stone, identity,
             false);
  }
  const std::array<Vec3, 3> lampPositions = {Vec3(-5, 4.5f, 2), Vec3(3, 4.5f, 3), Vec3(6, 6.5f, -3)};
  for (const Vec3& lamp : lampPositions) {
    addPiece(box({lamp.x, (lamp.y - 2.5f) * 0.5f + (lamp.y > 5 ? 1.25f : 0.0f), lamp.z},
                 {0.08f, (lamp.y - (lamp.y > 5 ? 2.5f : 0.0f)) * 0.5f, 0.08f}),
             stone, identity, false);
  }
  addPiece(character(), cloth, glm::translate(identity, Vec3(-1.5f, 0, 1.5f)) *
                                   glm::rotate(identity, glm::radians(25.0f), Vec3(0, 1, 0)), true);

  // Lights: a pale moon from the upper left, three warm lamps pointing down.
  const Vec3 moonDirection = glm::normalize(Vec3(0.5f, -1.0f, -0.35f));
  const Vec3 moonPosition = -moonDirection * 60.0f;
  std::array<Mat4, 4> lightViews, lightProjections;
  lightViews[0] = glm::lookAt(moonPosition, moonPosition + moonDirection, Vec3(0, 1, 0));
  lightProjections[0] = glm::ortho(-40.0f, 40.0f, -40.0f, 40.0f, 0.1f, 500.0f);
  const Vec3 lampDirection = glm::normalize(Vec3(0.05f, -1.0f, 0.05f));
  for (std::size_t k = 0; k < 3; ++k) {
    lightViews[k + 1] = glm::lookAt(lampPositions[k], lampPositions[k] + lampDirection, Vec3(0, 1, 0));
    lightProjections[k + 1] = glm::perspective(1.7f, 1.0f, 0.1f, 50.0f);
  }
  glUseProgram(p.lighting);
  uniform3(p.lighting, "moon.base.color", Vec3(0.65f, 0.72f, 1.0f));
  uniform1(p.lighting, "moon.base.ambientIntensity", 0.18f);
  uniform1(p.lighting, "moon.base.diffuseIntensity", 0.45f);
  uniform3(p.lighting, "moon.direction", moonDirection);
  uniform1(p.lighting, "moonShadowIntensity", 0.8f);
  uniform1(p.lighting, "specularIntensity", 0.3f);
  uniform1(p.lighting, "specularPower", 16.0f);
  const Vec3 eye(3.0f, 7.5f, 15.0f);
  uniform3(p.lighting, "worldEye", eye);
  for (int i = 0; i < 3; ++i) {
    const std::string lamp = "lamps[" + std::to_string(i) + "]";
    uniform3(p.lighting, lamp + ".base.color", Vec3(1.0f, 0.78f, 0.45f));
    uniform1(p.lighting, lamp + ".base.ambientIntensity", 0.05f);
    uniform1(p.lighting, lamp + ".base.diffuseIntensity", 1.6f);
    uniform3(p.lighting, lamp + ".position", lampPositions[static_cast<std::size_t>(i)]);
    uniform3(p.lighting, lamp + ".direction", lampDirection);
    uniform1(p.lighting, lamp + ".falloff.constant", 1.0f);
    uniform1(p.lighting, lamp + ".falloff.linear", 0.05f);
    uniform1(p.lighting, lamp + ".falloff.exponential", 0.03f);
    uniform1(p.lighting, lamp + ".angle", std::cos(glm::radians(40.0f)));
  }
  glUseProgram(0);
  // The character's rest pose: every bone identity.
  std::array<Mat4, 100> bones;
  bones.fill(identity);
  for (GLuint program : {p.lighting, p.shadow}) {
    glUseProgram(program);
    glUniformMatrix4fv(glGetUniformLocation(program, "bones"), 100, GL_FALSE, glm::value_ptr(bones[0]));
  }
  glUseProgram(0);

  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);

  // Shadow pass: moon, lamp 0, lamp 1, lamp 2.
  std::array<DepthMap, 4> shadowMaps;
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(4.0f, 0.0f);
  for (std::size_t k = 0; k < shadowMaps.size(); ++k) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, shadowMaps[k].framebuffer);
    glViewport(0, 0, kShadowSize, kShadowSize);
    glClear(GL_DEPTH_BUFFER_BIT);
    for (auto& piece : pieces) piece->render->drawShadow(lightProjections[k] * lightViews[k] * piece->model);
  }
  glDisable(GL_POLYGON_OFFSET_FILL);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);

  // Main pass.
  OffscreenTarget target(kWidth, kHeight);
  target.clear(0.02f, 0.03f, 0.08f);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  RenderFunctionalityManager toggles(true);
  toggles.frustumCulling = false;
  EffectManager fog(&toggles);
  fog.bindProgram(p.lighting);
  fog.update();
  for (std::size_t k = 0; k < shadowMaps.size(); ++k) {
    glActiveTexture(GL_TEXTURE1 + static_cast<GLenum>(k));
    glBindTexture(GL_TEXTURE_2D, shadowMaps[k].texture.name());
  }
  glActiveTexture(GL_TEXTURE0);
  const Mat4 view = glm::lookAt(eye, Vec3(0.5f, 1.0f, -1.0f), Vec3(0, 1, 0));
  const Mat4 projection = glm::perspective(0.9f, static_cast<float>(kWidth) / kHeight, 0.1f, 400.0f);
  sky.draw(view, projection);
  for (auto& piece : pieces) {
    std::array<Mat4, 4> lightMvps;
    for (std::size_t k = 0; k < 4; ++k) lightMvps[k] = lightProjections[k] * lightViews[k] * piece->model;
    piece->render->draw(projection * view * piece->model, lightMvps, piece->model, 1.0f, false, false, false, true, 1,
                        2);
  }
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);

  const std::filesystem::path folder = std::filesystem::path(RUNTIME_DIR).parent_path() / "screenshots";
  std::filesystem::create_directories(folder);
  const std::string file = (folder / "scene.png").string();
  target.savePng(file);
  EXPECT_TRUE(std::filesystem::exists(file));
  // The sky fills the top rows: no clear colour shows through.
  EXPECT_NE(target.pixel(kWidth / 2, kHeight - 2), (Rgba{5, 8, 20, 255}));
  for (int k = 0; k < 4; ++k) {
    glActiveTexture(GL_TEXTURE1 + static_cast<GLenum>(k));
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  glActiveTexture(GL_TEXTURE0);
}
