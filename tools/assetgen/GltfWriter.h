#pragma once
// Writes glTF 2.0 files (a .gltf with its .bin beside it) in the shape the game's
// importer needs: a single root node, one mesh with one primitive, explicit
// normals, one material with an external PNG base-colour texture, and for
// characters a skin listing only weighted joints plus animation-only files.
#include "MeshData.h"

#include <filesystem>
#include <string>

namespace assetgen {

// Static model: the mesh node is the scene's single root node.
void writeStaticModel(const std::filesystem::path& folder, const std::string& baseName,
                      const MeshData& mesh, const std::string& textureFile);

// Skinned model: root node -> (mesh node with the skin, joint hierarchy).
void writeSkinnedModel(const std::filesystem::path& folder, const std::string& baseName,
                       const MeshData& mesh, const std::string& textureFile,
                       const Skeleton& skeleton);

// Animation-only file: the same root node and joints (same names and rest
// offsets as the model), no mesh, one named animation.
void writeAnimation(const std::filesystem::path& folder, const std::string& baseName,
                    const Skeleton& skeleton, const Clip& clip);

}  // namespace assetgen
