#pragma once
// Imports model and animation files through Assimp and copies what the game
// needs into its own records: meshes (uploaded to OpenGL), the texture, the
// bounding box extents, bones and node hierarchy, key-frame tracks.
// Short-lived: one Parser per file; an imported scene dies with it.
#include <assimp/Importer.hpp>
#include <cstdint>
#include <string>

#include "scene/Animation.h"
#include "scene/Skeleton.h"

struct aiAnimation;
struct aiBone;
struct aiScene;
class Model;
class Render;

// Largest vertex count that 16-bit indices can address.
inline constexpr std::size_t kMaxMeshVertices = 65536;

class Parser {
 public:
  // The first mesh of the file with its diffuse texture, uploaded into model;
  // the extents go to render's bounding box. Throws std::invalid_argument
  // "PARSER: ..." for a missing, unreadable or unusable file.
  void loadModel(Model& model, Render& render, const std::string& path);
  // As loadModel, plus bone influences, bone offsets and the node hierarchy.
  void loadAnimatedModel(Model& model, Render& render, const std::string& path, Skeleton& skeleton);
  // The file's first animation, valid while this Parser lives.
  const aiAnimation& loadAnimation(const std::string& path);

  // Copies Assimp's track data into the game's record (floats, GLM types).
  static Animation copyAnimation(const aiAnimation& source);
  // loadAnimation and copyAnimation on a fresh Parser.
  static Animation importAnimation(const std::string& path);
  // The bones and node hierarchy loadAnimatedModel gives, without uploading
  // anything (no OpenGL context needed).
  static Skeleton importSkeleton(const std::string& path);

 private:
  const aiScene& import(const std::string& path);
  void loadMesh(Model& model, Render& render, const std::string& path, Skeleton* skeleton);
  // The bone's index in skeleton, added with its offset when new.
  std::uint32_t registerBone(Skeleton& skeleton, const aiBone& bone, const std::string& path);

  std::uint32_t boneCount = 0;
  Assimp::Importer importer;
};

// Where a model's texture lies: the model path up to its last '/', then '/'
// and the texture's name; a path without '/' is kept whole as the folder.
std::string textureBesideModel(const std::string& modelPath, const std::string& textureName);
