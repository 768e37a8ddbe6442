#include "MapWorld.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <stdexcept>

#include "config/Config.h"

namespace {

const char* const kFloors[] = {"map.floor0", "map.floor1", "map.floor1small", "map.floor2", "map.floor2small"};
const char* const kStairs[] = {"map.stairs0", "map.stairs1"};
const char* const kLamps[] = {"lamp1", "lamp2", "lamp3"};
constexpr int kWallCount = 9;
const float kLevels[] = {0.0f, 5.0f, 10.0f};

float configured(const std::string& name, const std::string& suffix) {
  return Config::instance().getFloatWithFallback(name + suffix, "sceneObject.standard" + suffix);
}

}  // namespace

MapWorld::MapWorld() : positionManager(std::make_unique<PositionManager>()) {
  const Vec3 start(configured("maincharacter", ".position.x"), configured("maincharacter", ".position.y"),
                   configured("maincharacter", ".position.z"));
  addWalker("maincharacter", start);
  auto addPiece = [&](const std::string& name) {
    const Vec3 position(configured(name, ".position.x"), configured(name, ".position.y"),
                        configured(name, ".position.z"));
    const ObjectId id = place(name, position, configured(name, ".rotation"), configured(name, ".scale"));
    pieces[name] = id;
    return id;
  };
  for (const char* floor : kFloors) positionManager->registerFloor(addPiece(floor));
  for (const char* stairs : kStairs) positionManager->registerStairs(addPiece(stairs));
  for (int i = 0; i < kWallCount; ++i) addPiece("map.wall" + std::to_string(i));
  for (const char* lamp : kLamps) addPiece(lamp);
}

// The extents as the model import computes them: the first mesh's vertices
// and the model origin.
const std::pair<Vec3, Vec3>& MapWorld::extentsOf(const std::string& name) {
  const auto cached = extents.find(name);
  if (cached != extents.end()) return cached->second;
  const std::string path = Config::instance().getString(name + ".path");
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
  if (scene == nullptr || scene->mNumMeshes == 0) throw std::runtime_error("MapWorld: cannot import " + path);
  Vec3 min(0.0f);
  Vec3 max(0.0f);
  const aiMesh& mesh = *scene->mMeshes[0];
  for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
    const Vec3 p(mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z);
    min = glm::min(min, p);
    max = glm::max(max, p);
  }
  return extents.emplace(name, std::make_pair(min, max)).first->second;
}

ObjectId MapWorld::place(const std::string& name, const Vec3& position, float rotation, float scale) {
  const auto& [min, max] = extentsOf(name);
  BoundingBox& box = boxes.emplace_back(name);
  box.computeFromConfig(min, max);
  const ObjectId id = nextId++;
  positionManager->add(id, &box);
  positionManager->setTransform(id, position, rotation, scale);
  table[id] = ObjectProperties{0.0f, 0, 0, 0.0f, 0};
  return id;
}

ObjectId MapWorld::addWalker(const std::string& typeName, const Vec3& position) {
  const ObjectId id = place(typeName, position, configured(typeName, ".rotation"), configured(typeName, ".scale"));
  const Config& config = Config::instance();
  ObjectProperties& record = table[id];
  if (config.hasKey(typeName + ".property.speed")) record.speed = config.getFloat(typeName + ".property.speed");
  record.health = config.getIntWithFallback(typeName + ".property.health", "sceneObject.standard.property.health");
  record.damage = config.getIntWithFallback(typeName + ".property.damage", "sceneObject.standard.property.damage");
  record.opacity = 1.0f;
  return id;
}

std::vector<Vec3> MapWorld::freeSpots(const std::string& typeName, std::size_t count) {
  const auto& [min, max] = extentsOf(typeName);
  const float scale = configured(typeName, ".scale");
  const float addition = configured(typeName, ".boundingbox.addition.y");
  const Vec3 low = min * scale;
  const Vec3 high = (max + Vec3(0.0f, addition, 0.0f)) * scale;
  return freeSpots(low, high, std::max(high.x - low.x, high.z - low.z) + 0.5f, count);
}

std::vector<Vec3> MapWorld::freeSpots(const Vec3& low, const Vec3& high, float spacing, std::size_t count) const {
  // Taken level by level in turn, so that a short list already covers all three.
  std::vector<std::vector<Vec3>> perLevel;
  for (const float level : kLevels) {
    std::vector<Vec3>& spots = perLevel.emplace_back();
    for (float x = -30.0f; x <= 30.0f; x += spacing) {
      for (float z = -30.0f; z <= 30.0f; z += spacing) {
        const Vec3 position(x, level + 0.2f, z);
        if (!positionManager->isFree(position + low, position + high)) continue;
        const Vec3 belowMin = position + low - Vec3(0.0f, 0.5f, 0.0f);
        const Vec3 belowMax = position + Vec3(high.x, low.y, high.z);
        if (positionManager->isFree(belowMin, belowMax)) continue;  // nothing holds it
        spots.push_back(position);
      }
    }
  }
  std::vector<Vec3> result;
  for (std::size_t i = 0; result.size() < count; ++i) {
    bool any = false;
    for (const std::vector<Vec3>& spots : perLevel) {
      if (i >= spots.size() || result.size() >= count) continue;
      result.push_back(spots[i]);
      any = true;
    }
    if (!any) break;
  }
  return result;
}
