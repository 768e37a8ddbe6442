#pragma once
// Small model files written by the tests themselves: Wavefront OBJ (static)
// and glTF 2.0 (skinned, with an optional animation).
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gl/RenderTestSupport.h"

namespace rendertest {

// A unit quad in the x/y plane lifted to y in [2, 3], facing +z, with
// texture coordinates 0..1 and a material whose diffuse map is textureName
// (none when empty).
inline std::string writeQuadObj(const TempDir& dir, const std::string& name, const std::string& textureName) {
  std::string obj = "mtllib " + name + ".mtl\n";
  obj += "v 0 2 0\nv 1 2 0\nv 1 3 0\nv 0 3 0\n";
  obj += "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";
  obj += "vn 0 0 1\n";
  obj += "usemtl skin\n";
  obj += "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";
  std::string mtl = "newmtl skin\nKd 1 1 1\n";
  if (!textureName.empty()) mtl += "map_Kd " + textureName + "\n";
  dir.write(name + ".mtl", mtl);
  return dir.write(name + ".obj", obj);
}

struct GltfOptions {
  int boneCount = 2;
  bool withAnimation = true;
  bool withMesh = true;
};

namespace detail {
inline void appendFloats(std::string& bin, std::initializer_list<float> values) {
  for (float v : values) bin.append(reinterpret_cast<const char*>(&v), 4);
}
inline void appendU16(std::string& bin, std::uint16_t v) { bin.append(reinterpret_cast<const char*>(&v), 2); }
inline void pad4(std::string& bin) {
  while (bin.size() % 4 != 0) bin.push_back('\0');
}
}  // namespace detail

// Triangles along x; vertex i is weighed fully by joint i % boneCount, except
// that vertex 2 is shared half and half by joints 0 and 1. Joint "Bone0" is
// the root, every other joint its child. The animation (one second) turns
// Bone0 by 90 degrees about z and moves it to (1, 2, 3).
inline std::string writeSkinnedGltf(const TempDir& dir, const std::string& name, const GltfOptions& options) {
  using namespace detail;
  const int bones = options.boneCount;
  const int triangles = (std::max(bones, 3) + 2) / 3;
  const int vertexCount = triangles * 3;
  std::string bin;
  struct View {
    std::size_t offset, length;
  };
  std::vector<View> views;
  auto beginView = [&] { views.push_back({bin.size(), 0}); };
  auto endView = [&] {
    views.back().length = bin.size() - views.back().offset;
    pad4(bin);
  };
  beginView();  // 0 positions
  for (int t = 0; t < triangles; ++t) {
    const float x = 2.0f * static_cast<float>(t);
    appendFloats(bin, {x, 0, 0, x + 1, 0, 0, x, 1, 0});
  }
  endView();
  beginView();  // 1 normals
  for (int v = 0; v < vertexCount; ++v) appendFloats(bin, {0, 0, 1});
  endView();
  beginView();  // 2 joints
  for (int v = 0; v < vertexCount; ++v) {
    const bool sharedVertex = v == 2 && bones >= 2;
    appendU16(bin, static_cast<std::uint16_t>(sharedVertex ? 0 : v % bones));
    appendU16(bin, static_cast<std::uint16_t>(sharedVertex ? 1 : 0));
    appendU16(bin, 0);
    appendU16(bin, 0);
  }
  endView();
  beginView();  // 3 weights
  for (int v = 0; v < vertexCount; ++v) {
    if (v == 2 && bones >= 2) {
      appendFloats(bin, {0.5f, 0.5f, 0, 0});
    } else {
      appendFloats(bin, {1, 0, 0, 0});
    }
  }
  endView();
  beginView();  // 4 indices
  for (int v = 0; v < vertexCount; ++v) appendU16(bin, static_cast<std::uint16_t>(v));
  endView();
  beginView();  // 5 inverse bind matrices
  for (int b = 0; b < bones; ++b) appendFloats(bin, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  endView();
  beginView();  // 6 key times
  appendFloats(bin, {0.0f, 1.0f});
  endView();
  beginView();  // 7 rotations (x, y, z, w)
  const float h = std::sqrt(0.5f);
  appendFloats(bin, {0, 0, 0, 1, 0, 0, h, h});
  endView();
  beginView();  // 8 translations
  appendFloats(bin, {0, 0, 0, 1, 2, 3});
  endView();
  dir.write(name + ".bin", bin);

  std::string json = "{\"asset\":{\"version\":\"2.0\"},\"scene\":0,";
  json += "\"scenes\":[{\"nodes\":[0,1]}],";
  json += "\"nodes\":[{\"name\":\"Body\"";
  if (options.withMesh) json += ",\"mesh\":0,\"skin\":0";
  json += "},{\"name\":\"Bone0\"";
  if (bones > 1) {
    json += ",\"children\":[";
    for (int b = 1; b < bones; ++b) json += (b > 1 ? "," : "") + std::to_string(b + 1);
    json += "]";
  }
  json += "}";
  for (int b = 1; b < bones; ++b) json += ",{\"name\":\"Bone" + std::to_string(b) + "\"}";
  json += "],";
  if (options.withMesh) {
    json += "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":0,\"NORMAL\":1,\"JOINTS_0\":2,"
            "\"WEIGHTS_0\":3},\"indices\":4}]}],";
    json += "\"skins\":[{\"inverseBindMatrices\":5,\"joints\":[";
    for (int b = 0; b < bones; ++b) json += (b > 0 ? "," : "") + std::to_string(b + 1);
    json += "]}],";
  }
  if (options.withAnimation) {
    json += "\"animations\":[{\"name\":\"Turn\",\"samplers\":[{\"input\":6,\"output\":7},{\"input\":6,\"output\":8}],"
            "\"channels\":[{\"sampler\":0,\"target\":{\"node\":1,\"path\":\"rotation\"}},"
            "{\"sampler\":1,\"target\":{\"node\":1,\"path\":\"translation\"}}]}],";
  }
  const std::string n = std::to_string(vertexCount);
  json += "\"accessors\":[";
  json += "{\"bufferView\":0,\"componentType\":5126,\"count\":" + n + ",\"type\":\"VEC3\",\"min\":[0,0,0],\"max\":[" +
          std::to_string(2 * triangles - 1) + ",1,0]},";
  json += "{\"bufferView\":1,\"componentType\":5126,\"count\":" + n + ",\"type\":\"VEC3\"},";
  json += "{\"bufferView\":2,\"componentType\":5123,\"count\":" + n + ",\"type\":\"VEC4\"},";
  json += "{\"bufferView\":3,\"componentType\":5126,\"count\":" + n + ",\"type\":\"VEC4\"},";
  json += "{\"bufferView\":4,\"componentType\":5123,\"count\":" + n + ",\"type\":\"SCALAR\"},";
  json += "{\"bufferView\":5,\"componentType\":5126,\"count\":" + std::to_string(bones) + ",\"type\":\"MAT4\"},";
  json += "{\"bufferView\":6,\"componentType\":5126,\"count\":2,\"type\":\"SCALAR\",\"min\":[0],\"max\":[1]},";
  json += "{\"bufferView\":7,\"componentType\":5126,\"count\":2,\"type\":\"VEC4\"},";
  json += "{\"bufferView\":8,\"componentType\":5126,\"count\":2,\"type\":\"VEC3\"}],";
  json += "\"bufferViews\":[";
  for (std::size_t i = 0; i < views.size(); ++i) {
    json += (i > 0 ? "," : "") + std::string("{\"buffer\":0,\"byteOffset\":") + std::to_string(views[i].offset) +
            ",\"byteLength\":" + std::to_string(views[i].length) + "}";
  }
  json += "],\"buffers\":[{\"uri\":\"" + name + ".bin\",\"byteLength\":" + std::to_string(bin.size()) + "}]}";
  return dir.write(name + ".gltf", json);
}

}  // namespace rendertest
