#pragma once
// Broken and oversized content for the start-up tests: files a modder might
// hand the game that it must refuse with a clear message.
#include <filesystem>

namespace assetgen {

// Writes into `folder`: too_many_bones.gltf (a skinned model weighting 101
// joints), too_many_vertices.obj (70,002 vertices) and garbage.png (random
// bytes under an image's name).
void writeHostileContent(const std::filesystem::path& folder);

}  // namespace assetgen
