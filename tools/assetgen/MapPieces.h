#pragma once
// The map's pieces as static models. Each model's origin is chosen so that
// its box (which always contains the origin) is exactly what collision needs:
// floors have their origin at the middle of their top face, stairs at the
// middle of their foot, walls and lamps on the ground.
#include <filesystem>

namespace assetgen {

void writeMapPieces(const std::filesystem::path& folder);

}  // namespace assetgen
