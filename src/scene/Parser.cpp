#include "scene/Parser.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "config/Config.h"
#include "render/Render.h"
#include "scene/MeshVAO.h"
#include "scene/Model.h"

namespace {

Mat4 toMat4(const aiMatrix4x4& m) {
  Mat4 result;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) result[column][row] = m[row][column];
  }
  return result;
}

void copyNode(const aiNode& source, SkeletonNode& target) {
  target.name = source.mName.C_Str();
  target.transformation = toMat4(source.mTransformation);
  target.childCount = source.mNumChildren;
  target.children.resize(source.mNumChildren);
  for (unsigned i = 0; i < source.mNumChildren; ++i) copyNode(*source.mChildren[i], target.children[i]);
}

std::vector<VectorKey> copyKeys(const aiVectorKey* keys, unsigned count) {
  std::vector<VectorKey> result(count);
  for (unsigned i = 0; i < count; ++i) {
    result[i].time = static_cast<float>(keys[i].mTime);
    result[i].value = Vec3(keys[i].mValue.x, keys[i].mValue.y, keys[i].mValue.z);
  }
  return result;
}

// A mesh the game cannot draw correctly is refused with the file's name,
// rather than drawn wrong.
void checkMesh(const aiMesh& mesh, const std::string& path) {
  if (mesh.mNumVertices > kMaxMeshVertices) {
    throw std::invalid_argument("PARSER: Mesh in '" + path + "' has " + std::to_string(mesh.mNumVertices) +
                                " vertices; 16-bit indices address at most 65536.");
  }
  if (!mesh.HasNormals()) {
    throw std::invalid_argument("PARSER: Mesh in '" + path + "' has no normals (only points or lines?).");
  }
  for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
    if (mesh.mFaces[f].mNumIndices < 3) {
      throw std::invalid_argument("PARSER: Mesh in '" + path + "' has a face with " +
                                  std::to_string(mesh.mFaces[f].mNumIndices) + " indices; only triangles are drawn.");
    }
  }
}

// Images already uploaded, by path. The map's pieces repeat a few images
// (nine walls, one brick texture), and decoding and mipmapping each again
// was most of the map's loading time. An entry lives only while a model
// holds its texture, so no texture outlives the scene it was made for.
std::map<std::string, std::weak_ptr<Texture>>& loadedTextures() {
  static std::map<std::string, std::weak_ptr<Texture>> textures;
  return textures;
}

void loadTextureOnce(Model& model, const std::string& path) {
  std::weak_ptr<Texture>& entry = loadedTextures()[path];
  if (std::shared_ptr<Texture> loaded = entry.lock(); loaded != nullptr && loaded->isLoaded()) {
    model.shareTexture(std::move(loaded));
    return;
  }
  model.texture().load(path);
  entry = model.textureHandle();
}

}  // namespace

std::string textureBesideModel(const std::string& modelPath, const std::string& textureName) {
  const std::size_t slash = modelPath.rfind('/');
  const std::string folder = slash == std::string::npos ? modelPath : modelPath.substr(0, slash);
  return folder + "/" + textureName;
}

const aiScene& Parser::import(const std::string& path) {
  {
    std::ifstream probe(path);
    if (!probe.is_open()) throw std::invalid_argument("PARSER: File '" + path + "' does not exist.");
  }
  const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
  if (scene == nullptr) {
    throw std::invalid_argument("PARSER: Error parsing '" + path + "': '" + importer.GetErrorString() + "'.");
  }
  return *scene;
}

void Parser::loadModel(Model& model, Render& render, const std::string& path) {
  loadMesh(model, render, path, nullptr);
}

void Parser::loadAnimatedModel(Model& model, Render& render, const std::string& path, Skeleton& skeleton) {
  loadMesh(model, render, path, &skeleton);
}

std::uint32_t Parser::registerBone(Skeleton& skeleton, const aiBone& bone, const std::string& path) {
  const std::string name = bone.mName.C_Str();
  const auto found = skeleton.boneMapping.find(name);
  if (found != skeleton.boneMapping.end()) return found->second;
  if (boneCount >= kMaxBones) throw std::invalid_argument("PARSER: Model '" + path + "' has more than 100 bones.");
  const std::uint32_t index = boneCount++;
  BoneInfo info;
  info.offset = toMat4(bone.mOffsetMatrix);
  skeleton.bones.push_back(info);
  skeleton.boneMapping[name] = index;
  return index;
}

Skeleton Parser::importSkeleton(const std::string& path) {
  Parser parser;
  const aiScene& scene = parser.import(path);
  if (scene.mNumMeshes == 0 || scene.mMeshes[0] == nullptr) {
    throw std::invalid_argument("PARSER: File '" + path + "' holds no mesh.");
  }
  Skeleton skeleton;
  const aiMesh& mesh = *scene.mMeshes[0];
  for (unsigned b = 0; b < mesh.mNumBones; ++b) parser.registerBone(skeleton, *mesh.mBones[b], path);
  copyNode(*scene.mRootNode, skeleton.root);
  return skeleton;
}

void Parser::loadMesh(Model& model, Render& render, const std::string& path, Skeleton* skeleton) {
  const aiScene& scene = import(path);
  if (scene.mNumMeshes == 0 || scene.mMeshes[0] == nullptr) {
    throw std::invalid_argument("PARSER: File '" + path + "' holds no mesh.");
  }
  const aiMesh& mesh = *scene.mMeshes[0];
  checkMesh(mesh, path);
  const aiMaterial* material = scene.mMaterials[mesh.mMaterialIndex];
  const bool textured = aiGetMaterialTextureCount(material, aiTextureType_DIFFUSE) != 0;
  // A textured material on a mesh without coordinates samples the texture's corner.
  const aiVector3D* uvs = textured ? mesh.mTextureCoords[0] : nullptr;

  std::vector<float> vertices;
  vertices.reserve(mesh.mNumVertices * kFloatsPerVertex);
  Vec3 min(0.0f);
  Vec3 max(0.0f);
  for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
    const aiVector3D& p = mesh.mVertices[v];
    const aiVector3D& n = mesh.mNormals[v];
    const float u = uvs != nullptr ? uvs[v].x : 0.0f;
    const float w = uvs != nullptr ? uvs[v].y : 0.0f;
    vertices.insert(vertices.end(), {p.x, p.y, p.z, n.x, n.y, n.z, u, w});
    min = glm::min(min, Vec3(p.x, p.y, p.z));
    max = glm::max(max, Vec3(p.x, p.y, p.z));
  }
  std::vector<std::uint16_t> indices;
  indices.reserve(mesh.mNumFaces * 3);
  for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
    for (unsigned i = 0; i < 3; ++i) indices.push_back(static_cast<std::uint16_t>(mesh.mFaces[f].mIndices[i]));
  }

  std::vector<BoneInfluence> influences;
  if (skeleton != nullptr && mesh.HasBones()) {
    influences.resize(mesh.mNumVertices);
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
      const aiBone& bone = *mesh.mBones[b];
      const std::string name = bone.mName.C_Str();
      const std::uint32_t index = registerBone(*skeleton, bone, path);
      for (unsigned w = 0; w < bone.mNumWeights; ++w) {
        const aiVertexWeight& weight = bone.mWeights[w];
        if (weight.mVertexId >= mesh.mNumVertices) {
          throw std::invalid_argument("PARSER: Bone '" + name + "' in '" + path + "' weighs a vertex the mesh lacks.");
        }
        addBoneWeight(influences[weight.mVertexId], static_cast<std::int32_t>(index), weight.mWeight);
      }
    }
  }

  std::string texturePath;
  aiString textureName;
  if (aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &textureName) == aiReturn_SUCCESS) {
    texturePath = textureBesideModel(path, textureName.C_Str());
  } else {
    texturePath = Config::instance().getString("parser.standardTexture");
  }

  if (skeleton != nullptr) {
    if (influences.empty()) influences.resize(mesh.mNumVertices);  // a rigged file without bones stays put
    model.lightingMesh().uploadSkinned(vertices, indices, influences, model.getLightingProgram());
    model.shadowMesh().uploadSkinned(vertices, indices, influences, model.getShadowProgram());
  } else {
    model.lightingMesh().upload(vertices, indices, model.getLightingProgram());
    model.shadowMesh().upload(vertices, indices, model.getShadowProgram());
  }
  loadTextureOnce(model, texturePath);
  render.buildBoundingBox(min, max);
  if (skeleton != nullptr) copyNode(*scene.mRootNode, skeleton->root);
}

const aiAnimation& Parser::loadAnimation(const std::string& path) {
  const aiScene& scene = import(path);
  if (scene.mNumAnimations == 0 || scene.mAnimations[0] == nullptr) {
    throw std::invalid_argument("PARSER: File '" + path + "' holds no animation.");
  }
  return *scene.mAnimations[0];
}

Animation Parser::copyAnimation(const aiAnimation& source) {
  Animation animation;
  animation.name = source.mName.C_Str();
  animation.duration = static_cast<float>(source.mDuration);
  animation.ticksPerSecond = static_cast<float>(source.mTicksPerSecond);
  animation.channelCount = source.mNumChannels;
  animation.channels.resize(source.mNumChannels);
  for (unsigned c = 0; c < source.mNumChannels; ++c) {
    const aiNodeAnim& track = *source.mChannels[c];
    AnimationChannel& channel = animation.channels[c];
    channel.nodeName = track.mNodeName.C_Str();
    channel.positionKeyCount = track.mNumPositionKeys;
    channel.positionKeys = copyKeys(track.mPositionKeys, track.mNumPositionKeys);
    channel.rotationKeyCount = track.mNumRotationKeys;
    channel.rotationKeys.resize(track.mNumRotationKeys);
    for (unsigned k = 0; k < track.mNumRotationKeys; ++k) {
      const aiQuatKey& key = track.mRotationKeys[k];
      channel.rotationKeys[k].time = static_cast<float>(key.mTime);
      channel.rotationKeys[k].value = Quat(key.mValue.w, key.mValue.x, key.mValue.y, key.mValue.z);
    }
    channel.scalingKeyCount = track.mNumScalingKeys;
    channel.scalingKeys = copyKeys(track.mScalingKeys, track.mNumScalingKeys);
  }
  return animation;
}

Animation Parser::importAnimation(const std::string& path) {
  Parser parser;
  return copyAnimation(parser.loadAnimation(path));
}
