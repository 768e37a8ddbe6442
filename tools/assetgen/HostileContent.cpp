#include "HostileContent.h"

#include "GltfWriter.h"
#include "Image.h"
#include "MeshData.h"
#include "Textures.h"

#include <fstream>
#include <stdexcept>
#include <string>

namespace assetgen {
namespace {

constexpr int kBoneCount = 101;             // one more than a model may have
constexpr int kOversizedTriangles = 23334;  // 70,002 distinct vertices

// A chain of joints, each weighting the three vertices of its own triangle, so
// the model's skin lists every joint.
void writeTooManyBones(const std::filesystem::path& folder) {
  Skeleton skeleton;
  skeleton.rootName = "root";
  MeshData mesh;
  for (int j = 0; j < kBoneCount; ++j) {
    skeleton.joints.push_back({"joint" + std::to_string(j), j - 1, glm::vec3(0.0f, 0.02f, 0.0f)});
    const float y = 0.02f * static_cast<float>(j);
    for (int corner = 0; corner < 3; ++corner) {
      Vertex v;
      v.position = glm::vec3(corner == 1 ? 0.1f : 0.0f, y + (corner == 2 ? 0.02f : 0.0f), 0.0f);
      v.normal = glm::vec3(0.0f, 0.0f, 1.0f);
      mesh.vertices.push_back(v);
      Influence influence;
      influence.joints[0] = static_cast<uint16_t>(j);
      influence.weights[0] = 1.0f;
      mesh.influences.push_back(influence);
      mesh.indices.push_back(static_cast<uint16_t>(mesh.vertices.size() - 1));
    }
  }
  savePng(standardTexture(8), folder / "too_many_bones.png");
  writeSkinnedModel(folder, "too_many_bones", mesh, "too_many_bones.png", skeleton);
}

// Wavefront OBJ keeps the file small to write and free of index-width limits.
void writeTooManyVertices(const std::filesystem::path& folder) {
  std::ofstream out(folder / "too_many_vertices.obj");
  for (int t = 0; t < kOversizedTriangles; ++t) {
    const float x = static_cast<float>(t % 200) * 0.01f;
    const float y = static_cast<float>(t / 200) * 0.01f;
    out << "v " << x << ' ' << y << " 0\nv " << x + 0.01f << ' ' << y << " 0\nv " << x << ' '
        << y + 0.01f << " 0\n";
  }
  for (int t = 0; t < kOversizedTriangles; ++t) {
    out << "f " << 3 * t + 1 << ' ' << 3 * t + 2 << ' ' << 3 * t + 3 << '\n';
  }
  if (!out) throw std::runtime_error("cannot write " + (folder / "too_many_vertices.obj").string());
}

void writeGarbageImage(const std::filesystem::path& folder) {
  std::ofstream out(folder / "garbage.png", std::ios::binary);
  uint32_t state = 12345u;
  for (int i = 0; i < 4096; ++i) {
    state = hash32(state);
    out.put(static_cast<char>(state & 0xffu));
  }
  if (!out) throw std::runtime_error("cannot write " + (folder / "garbage.png").string());
}

}  // namespace

void writeHostileContent(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  writeTooManyBones(folder);
  writeTooManyVertices(folder);
  writeGarbageImage(folder);
}

}  // namespace assetgen
