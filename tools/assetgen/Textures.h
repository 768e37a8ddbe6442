#pragma once
// Procedural textures. Every map texture tiles seamlessly, because map
// surfaces repeat one full texture per cell.
#include "Image.h"

#include <glm/glm.hpp>

namespace assetgen {

Image concreteTiles(int size);  // floor slabs: light concrete tiles with grout
Image brickWall(int size);      // walls: bricks in mortar
Image metalTread(int size);     // stairs: diamond tread plate
Image lampAtlas(int size);      // lamps: left half painted metal, right half glowing glass
Image standardTexture(int size);

// A character's atlas: a 4 x 4 grid of 0.25-wide regions; region (column, row).
struct Region {
    int column, row;
};
enum class Surface { Cloth, Skin, Leather, Metal, Hide, Chitin, Bone };
void paintRegion(Image& atlas, Region region, glm::vec3 colour, Surface surface, uint32_t seed);
// Eyes or a visor painted onto a head region, centred at the region's u, t.
void paintSpot(Image& atlas, Region region, float u, float t, float radiusU, float radiusT, glm::vec3 colour);

}  // namespace assetgen
