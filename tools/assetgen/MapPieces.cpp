#include "MapPieces.h"

#include "GltfWriter.h"
#include "MeshBuilder.h"
#include "Textures.h"

#include <algorithm>
#include <string>

namespace assetgen {
namespace {

constexpr float kSlabThickness = 1.0f;
constexpr float kFloorTile = 2.0f;  // units per texture repeat on floors and walls
// The stairs' box is a little taller than the five units between levels: a
// walker leaves the top of the ramp above the upper floor's surface, so the
// upper slab can end right at the stairs' top without touching a climber, and
// comes to rest a little above the level rather than exactly on it.
constexpr float kStairsHeight = 5.23f;
// The upper floor reaches over the top of each staircase as a landing; the
// steps stop just under its surface (the stairs stand 0.02 above the floor
// below, the levels are 5 apart) so they do not show through it.
constexpr float kStepsHighest = 4.96f;

void floorSlab(const std::filesystem::path& folder, const std::string& name, float width, float depth) {
    MeshData mesh;
    MeshBuilder(mesh).box({-width / 2, -kSlabThickness, -depth / 2}, {width / 2, 0.0f, depth / 2}, kFloorTile, {});
    writeStaticModel(folder, name, mesh, "concrete_tiles.png");
}

// Solid steps between two side stringers. The ramp rises toward the lower
// coordinate of its axis, so the foot is at local 0 and the top at -length.
void stairs(const std::filesystem::path& folder, const std::string& name, float length, bool alongX) {
    MeshData mesh;
    MeshBuilder mb(mesh);
    const float halfWidth = 2.0f, stringer = 0.2f;
    int steps = static_cast<int>(length + 0.5f);
    float run = length / static_cast<float>(steps);
    auto place = [alongX](float along, float y, float across) {
        return alongX ? glm::vec3(along, y, across) : glm::vec3(across, y, along);
    };
    for (int k = 0; k < steps; ++k) {
        float top = std::min(kStairsHeight * (static_cast<float>(k) + 0.5f) / static_cast<float>(steps), kStepsHighest);
        glm::vec3 a = place(-run * static_cast<float>(k + 1), 0.0f, -halfWidth + stringer);
        glm::vec3 b = place(-run * static_cast<float>(k), top, halfWidth - stringer);
        mb.box(glm::min(a, b), glm::max(a, b), 1.0f, {});
    }
    for (float side : {-1.0f, 1.0f}) {
        glm::vec3 a = place(-length, 0.0f, side * halfWidth);
        glm::vec3 b = place(0.0f, 0.0f, side * (halfWidth - stringer));
        // The stringer's top follows the ramp from 0.25 at the foot up to the
        // full height, which sets the height of the stairs' box.
        mb.slopedBox(glm::min(a, b), glm::max(a, b), kStairsHeight, 0.25f, alongX, {0, 0, 1, 0.1f});
    }
    writeStaticModel(folder, name, mesh, "metal_tread.png");
}

void wall(const std::filesystem::path& folder, const std::string& name, float length, bool alongX) {
    const float height = 12.0f, half = 0.5f;
    MeshData mesh;
    glm::vec3 lo = alongX ? glm::vec3(-length / 2, 0, -half) : glm::vec3(-half, 0, -length / 2);
    glm::vec3 hi = alongX ? glm::vec3(length / 2, height, half) : glm::vec3(half, height, length / 2);
    MeshBuilder(mesh).box(lo, hi, kFloorTile, {});
    writeStaticModel(folder, name, mesh, "brick.png");
}

// A post beside its origin with an arm reaching over it and a lamp head right
// above the origin: the light sits on the origin's vertical, just below the
// glass, with nothing between it and the ground.
void lamp(const std::filesystem::path& folder, const std::string& name) {
    MeshData mesh;
    MeshBuilder mb(mesh);
    UvRect metal{0.0f, 0.0f, 0.5f, 1.0f}, glass{0.5f, 0.0f, 1.0f, 1.0f};
    mb.box({-1.4f, 0.0f, -0.3f}, {-0.8f, 0.25f, 0.3f}, 0.0f, metal);
    mb.box({-1.2f, 0.25f, -0.1f}, {-1.0f, 4.7f, 0.1f}, 0.0f, metal);
    mb.box({-1.2f, 4.6f, -0.08f}, {0.0f, 4.72f, 0.08f}, 0.0f, metal);
    mb.box({-0.35f, 4.35f, -0.35f}, {0.35f, 4.75f, 0.35f}, 0.0f, metal);
    mb.box({-0.3f, 4.2f, -0.3f}, {0.3f, 4.35f, 0.3f}, 0.0f, glass);
    writeStaticModel(folder, name, mesh, "lamp.png");
}

}  // namespace

void writeMapPieces(const std::filesystem::path& folder) {
    savePng(concreteTiles(512), folder / "concrete_tiles.png");
    savePng(brickWall(512), folder / "brick.png");
    savePng(metalTread(256), folder / "metal_tread.png");
    savePng(lampAtlas(128), folder / "lamp.png");

    // The enemies walk fixed waypoints up and down the staircases, and chase
    // the character straight on its own level. So each staircase ends three
    // units short of its top waypoint, each upper level lies wholly beyond
    // the top of the staircase that leads to it (seen from below, no part of
    // it lies back down the stairs) and reaches over the stairs' top as a
    // landing: an enemy is on the character's level before it reaches that
    // waypoint, and its straight path to the character leads up and off the
    // stairs onto the floor. The lower staircase ends 1.5 short of its foot
    // waypoint, so one that came down turns to the character from level ground.
    floorSlab(folder, "floor0", 60.0f, 60.0f);       // ground: x -30..30, z -30..30
    floorSlab(folder, "floor1", 27.0f, 14.5f);       // level 5: x -8..19, z -30..-15.5
    floorSlab(folder, "floor1small", 11.0f, 14.5f);  // level 5: x 19..30, z -30..-15.5
    floorSlab(folder, "floor2", 14.5f, 14.0f);       // level 10: x -30..-15.5, z -30..-16
    floorSlab(folder, "floor2small", 14.5f, 22.0f);  // level 10: x -30..-15.5, z -16..6
    stairs(folder, "stairs0", 9.5f, false);          // along z: foot z -7.5, top z -17
    stairs(folder, "stairs1", 11.0f, true);          // along x: foot x -6, top x -17
    wall(folder, "wall_x31", 31.0f, true);
    wall(folder, "wall_x21", 21.0f, true);
    wall(folder, "wall_x20", 20.0f, true);
    wall(folder, "wall_z30", 30.0f, false);
    lamp(folder, "lamp");
}

}  // namespace assetgen
