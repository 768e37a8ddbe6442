#pragma once
// The shipped map as the position manager sees it, built without a window:
// every piece's box comes from its model file's extents and its configured
// placement, in the order the scene manager loads them (main character first,
// id 0, then floors, stairs, walls and lamps). Walkers of any configured type
// can then be added. Needs the game's configuration loaded and build/game/bin
// as the working directory, as the game has. Shared by the content tests and
// the benchmarks.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/ObjectProperties.h"
#include "common/Types.h"
#include "game/PositionManager.h"
#include "scene/BoundingBox.h"

class MapWorld {
 public:
  MapWorld();

  // Adds a walker of the configured type (its model, box addition and
  // properties) at position, facing 0; its id.
  ObjectId addWalker(const std::string& typeName, const Vec3& position);
  // Up to count positions, spread over the three levels, where a walker of
  // this type stands free of every box; the same list on every call.
  std::vector<Vec3> freeSpots(const std::string& typeName, std::size_t count);
  // The same for a box from position + low to position + high, on a grid of
  // the given spacing: free, just above a floor, taken level by level in turn.
  std::vector<Vec3> freeSpots(const Vec3& low, const Vec3& high, float spacing, std::size_t count) const;

  // A map piece by its configuration name ("map.wall0", "lamp1"): its id and world box.
  ObjectId idOf(const std::string& name) const { return pieces.at(name); }
  const BoundingBox& boxOf(const std::string& name) const { return boxes[pieces.at(name)]; }
  const BoundingBox& boxOf(ObjectId id) const { return boxes.at(id); }

  PositionManager& positions() { return *positionManager; }
  PropertyTable& properties() { return table; }
  static constexpr ObjectId kMainCharacterId = 0;

 private:
  ObjectId place(const std::string& name, const Vec3& position, float rotation, float scale);
  const std::pair<Vec3, Vec3>& extentsOf(const std::string& name);

  std::unique_ptr<PositionManager> positionManager;
  PropertyTable table;
  std::deque<BoundingBox> boxes;  // stable addresses: the octree keeps pointers
  std::map<std::string, std::pair<Vec3, Vec3>> extents;
  std::map<std::string, ObjectId> pieces;  // ids are also indices into boxes
  ObjectId nextId = kMainCharacterId;
};
