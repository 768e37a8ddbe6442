// The map against the rules the game's movement and the enemies' fixed
// waypoints rely on, computed from config.txt and the generated models with
// the game's own box rules (extents from the origin, the configured addition
// on top, world box from the model matrix) and its collision arithmetic
// (upright cylinder around a walker's box, strict vertical overlap, ramp lift).
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "ContentFiles.h"
#include "scene/BoundingBox.h"

namespace {

constexpr float kGravityStep = -12.0f / 60.0f;  // one frame of falling at 60 frames per second

struct Piece {
  std::string name;
  std::unique_ptr<BoundingBox> box;
  Vec3 min() const { return box->getWorldMin(); }
  Vec3 max() const { return box->getWorldMax(); }
};

struct Cylinder {
  Vec3 centre;
  float radius, halfHeight;
  float bottom() const { return centre.y - halfHeight; }
};

// A walker: its model-space box, as the game builds it, placed anywhere.
struct Walker {
  std::string name;
  std::unique_ptr<BoundingBox> box;
  Cylinder at(Vec3 position) const {
    Mat4 model = glm::translate(Mat4(1.0f), position);
    Vec3 centre = Vec3(model * Vec4(box->getCenter(), 1.0f));
    Vec3 corner = Vec3(model * Vec4(box->getCorner(7), 1.0f));
    return {centre, glm::length(Vec2(corner.x - centre.x, corner.z - centre.z)), corner.y - centre.y};
  }
};

bool touches(const Cylinder& c, const Vec3& lo, const Vec3& hi) {
  if (!(c.centre.y + c.halfHeight > lo.y && hi.y > c.centre.y - c.halfHeight)) return false;
  float dx = std::max({lo.x - c.centre.x, 0.0f, c.centre.x - hi.x});
  float dz = std::max({lo.z - c.centre.z, 0.0f, c.centre.z - hi.z});
  return dx * dx + dz * dz <= c.radius * c.radius;
}

bool overlaps(const Vec3& aLo, const Vec3& aHi, const Vec3& bLo, const Vec3& bHi) {
  return aHi.x > bLo.x && bHi.x > aLo.x && aHi.y > bLo.y && bHi.y > aLo.y && aHi.z > bLo.z && bHi.z > aLo.z;
}

std::unique_ptr<BoundingBox> boxFromModel(const std::string& name, const Config& config) {
  const std::filesystem::path path = content::gamePath(config.getString(name + ".path"));
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path.string(), content::kImportFlags);
  if (scene == nullptr || scene->mNumMeshes == 0) throw std::runtime_error("cannot import " + path.string());
  Vec3 lo(0.0f), hi(0.0f);  // extents always contain the origin
  const aiMesh* mesh = scene->mMeshes[0];
  for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
    Vec3 p(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z);
    lo = glm::min(lo, p);
    hi = glm::max(hi, p);
  }
  auto box = std::make_unique<BoundingBox>(name);
  box->computeFromConfig(lo, hi);
  return box;
}

class ContentMapRules : public ::testing::Test {
 protected:
  void SetUp() override {
    config = &content::loadGameConfig();
    for (const std::string& name : content::mapPieceNames()) {
      Piece piece{name, boxFromModel(name, *config)};
      auto read = [&](const char* suffix) {
        return config->getFloatWithFallback(name + suffix, std::string("sceneObject.standard") + suffix);
      };
      Mat4 model = glm::translate(Mat4(1.0f), Vec3(read(".position.x"), read(".position.y"), read(".position.z"))) *
                   glm::rotate(Mat4(1.0f), read(".rotation") * kDegToRad, Vec3(0, 1, 0)) *
                   glm::scale(Mat4(1.0f), Vec3(read(".scale")));
      piece.box->setModelMatrix(model);
      pieces[name] = std::move(piece);
    }
    std::vector<std::string> walkerNames = {"maincharacter"};
    for (const std::string& enemy : content::enemyTypeNames(*config)) walkerNames.push_back(enemy);
    for (const std::string& name : walkerNames) walkers.push_back({name, boxFromModel(name, *config)});
  }
  void TearDown() override { Config::instance().clear(); }

  std::vector<const Piece*> floors() const {
    std::vector<const Piece*> out;
    for (const auto& [name, piece] : pieces)
      if (name.rfind("map.floor", 0) == 0) out.push_back(&piece);
    return out;
  }
  // Floors and stairs in the order the game checks them: last registered first.
  std::vector<const Piece*> untreed() const {
    std::vector<const Piece*> out;
    for (const char* n : {"map.stairs1", "map.stairs0", "map.floor2small", "map.floor2", "map.floor1small",
                          "map.floor1", "map.floor0"})
      out.push_back(&pieces.at(n));
    return out;
  }
  std::vector<const Piece*> treed() const {
    std::vector<const Piece*> out;
    for (const auto& [name, piece] : pieces)
      if (name.rfind("map.wall", 0) == 0 || name.rfind("lamp", 0) == 0) out.push_back(&piece);
    return out;
  }
  float maxWalkerRadius() const {
    float r = 0.0f;
    for (const Walker& w : walkers) r = std::max(r, w.at(Vec3(0)).radius);
    return r;
  }

  // One absolute move with the game's rules; returns false when refused.
  bool moveTo(const Walker& walker, Vec3& position, Vec3 target) const {
    Cylinder c = walker.at(target);
    for (const Piece* p : treed())
      if (touches(c, p->min(), p->max())) return false;
    for (const Piece* p : untreed()) {
      if (!touches(c, p->min(), p->max())) continue;
      if (p->name.rfind("map.stairs", 0) != 0) return false;
      target.y += rampSurface(*p, c) - c.bottom();
      break;
    }
    position = target;
    return true;
  }
  static float rampSurface(const Piece& stairs, const Cylinder& c) {
    Vec3 lo = stairs.min(), hi = stairs.max();
    bool alongX = (hi.x - lo.x) > (hi.z - lo.z);
    float start = alongX ? lo.x : lo.z, end = alongX ? hi.x : hi.z, length = end - start;
    float u = std::clamp(end - (alongX ? c.centre.x : c.centre.z), 0.0f, length);
    return lo.y + (hi.y - lo.y) * u / length;
  }
  // Lets a walker fall until something holds it (at most 10 seconds).
  void settle(const Walker& walker, Vec3& position) const {
    for (int frame = 0; frame < 600; ++frame)
      if (!moveTo(walker, position, position + Vec3(0, kGravityStep, 0))) return;
  }

  Config* config = nullptr;
  std::map<std::string, Piece> pieces;
  std::vector<Walker> walkers;
};

TEST_F(ContentMapRules, FloorsAreSlabsWhoseTopIsALevel) {
  for (const Piece* f : floors()) {
    SCOPED_TRACE(f->name);
    float top = f->max().y;
    EXPECT_TRUE(top == 0.0f || top == 5.0f || top == 10.0f) << top;
    EXPECT_GT(top - f->min().y, 0.5f);
  }
}

TEST_F(ContentMapRules, WaypointsStandOnWalkableFloorOfTheirLevel) {
  const struct { const char* name; Vec3 point; } waypoints[] = {
      {"lowerApproach", {21, 0, -4}}, {"upperApproach", {14, 5, -20}}, {"topExit", {-20, 10, -14}}};
  for (const auto& w : waypoints) {
    SCOPED_TRACE(w.name);
    bool onFloor = false;
    for (const Piece* f : floors())
      onFloor |= f->max().y == w.point.y && w.point.x >= f->min().x && w.point.x <= f->max().x &&
                 w.point.z >= f->min().z && w.point.z <= f->max().z;
    EXPECT_TRUE(onFloor);
    for (const Walker& walker : walkers) {
      SCOPED_TRACE(walker.name);
      Vec3 position = w.point + Vec3(0, 0.3f, 0);
      settle(walker, position);
      EXPECT_NEAR(position.y, w.point.y, 0.25f) << "a walker dropped there rests on the level";
      for (const Piece* p : treed()) EXPECT_FALSE(touches(walker.at(position), p->min(), p->max())) << p->name;
    }
  }
}

TEST_F(ContentMapRules, StairsClimbTowardTheirLowerCoordinateBetweenTheWaypoints) {
  const struct { const char* name; bool alongX; float start, end, bottomLevel; } stairs[] = {
      {"map.stairs0", false, -20.0f, -6.0f, 0.0f}, {"map.stairs1", true, -20.0f, -7.0f, 5.0f}};
  for (const auto& s : stairs) {
    SCOPED_TRACE(s.name);
    Vec3 lo = pieces.at(s.name).min(), hi = pieces.at(s.name).max();
    EXPECT_EQ((hi.x - lo.x) > (hi.z - lo.z), s.alongX);
    EXPECT_FLOAT_EQ(s.alongX ? lo.x : lo.z, s.start);
    EXPECT_FLOAT_EQ(s.alongX ? hi.x : hi.z, s.end);
    // The foot stands just above the floor below, the top reaches the next level.
    EXPECT_GT(lo.y, s.bottomLevel);
    EXPECT_LT(lo.y, s.bottomLevel + 0.1f);
    EXPECT_GE(hi.y, s.bottomLevel + 5.0f);
  }
}

// A walker anywhere on a staircase (its cylinder touching the stairs, lifted
// onto the ramp) touches no floor slab: the upper slabs are cut around the
// stairwells and end where a climber is already above them.
TEST_F(ContentMapRules, NoSlabOverAStairPath) {
  for (const char* name : {"map.stairs0", "map.stairs1"}) {
    const Piece& stairs = pieces.at(name);
    for (const Walker& walker : walkers) {
      SCOPED_TRACE(std::string(name) + " " + walker.name);
      float r = walker.at(Vec3(0)).radius;
      int checked = 0;
      for (float x = stairs.min().x - r; x <= stairs.max().x + r; x += 0.1f)
        for (float z = stairs.min().z - r; z <= stairs.max().z + r; z += 0.1f) {
          Cylinder c = walker.at({x, 0.0f, z});
          if (!touches(Cylinder{{x, stairs.min().y + 1.0f, z}, c.radius, 0.5f}, stairs.min(), stairs.max())) continue;
          Cylinder lifted = walker.at({x, rampSurface(stairs, c), z});
          ++checked;
          for (const Piece* f : floors())
            ASSERT_FALSE(touches(lifted, f->min(), f->max())) << f->name << " at x " << x << " z " << z;
        }
      EXPECT_GT(checked, 1000);
    }
  }
}

// Walkers dropped at the character's start and at every start box come to
// rest on a floor and can then walk a step in every direction without their
// own floor stopping them (the vertical test is strict, and resting walkers
// stop a gravity step above the floor).
TEST_F(ContentMapRules, RestingWalkersWalkFreelyOverTheirFloor) {
  std::vector<Vec3> drops = {{config->getFloat("maincharacter.position.x"), config->getFloat("maincharacter.position.y"),
                              config->getFloat("maincharacter.position.z")}};
  for (int i = 1; i <= config->getInt("gamelogicmanager.startpoints"); ++i) {
    std::string k = "gamelogicmanager.startpoint" + std::to_string(i);
    drops.push_back({config->getFloat(k + ".min.x"), config->getFloat(k + ".min.y"), config->getFloat(k + ".min.z")});
  }
  for (const Walker& walker : walkers)
    for (Vec3 drop : drops) {
      SCOPED_TRACE(walker.name + " dropped at " + std::to_string(drop.x) + "," + std::to_string(drop.y) + "," +
                   std::to_string(drop.z));
      Vec3 position = drop;
      settle(walker, position);
      float level = std::round(position.y / 5.0f) * 5.0f;
      EXPECT_GE(position.y, level);
      EXPECT_LT(position.y, level - kGravityStep + 1e-4f);
      EXPECT_NEAR(level, std::floor(drop.y / 5.0f) * 5.0f, 1e-4f) << "lands on the level it was dropped over";
      for (Vec3 step : {Vec3(0.1f, 0, 0), Vec3(-0.1f, 0, 0), Vec3(0, 0, 0.1f), Vec3(0, 0, -0.1f)}) {
        Vec3 moved = position;
        EXPECT_TRUE(moveTo(walker, moved, position + step));
        EXPECT_FLOAT_EQ(moved.y, position.y);
      }
    }
}

// Walking the enemies' routes frame by frame with gravity: up each staircase
// from its approach to beyond its top, and back down.
TEST_F(ContentMapRules, StairsLiftWalkersBetweenTheLevels) {
  const struct { const char* name; Vec3 from, to; float endLevel; } routes[] = {
      {"lowerApproach to lowerTop", {21, 0.2f, -4}, {21, 0, -22.5f}, 5.0f},
      {"upperApproach to upperTop", {14, 5.2f, -20}, {-22.5f, 0, -20}, 10.0f},
      {"upperTop down", {-22.5f, 10.2f, -20}, {-3, 0, -20}, 5.0f},
      {"lowerTop down", {21, 5.2f, -22.5f}, {21, 0, -2}, 0.0f}};
  for (const auto& route : routes)
    for (const Walker& walker : walkers) {
      SCOPED_TRACE(std::string(route.name) + " " + walker.name);
      Vec3 position = route.from;
      settle(walker, position);
      const float step = 0.08f;  // about five units per second at 60 frames per second
      int frames = 0;
      for (; frames < 2000; ++frames) {
        Vec2 remaining(route.to.x - position.x, route.to.z - position.z);
        if (glm::length(remaining) < step) break;
        Vec2 d = glm::normalize(remaining) * step;
        ASSERT_TRUE(moveTo(walker, position, position + Vec3(d.x, 0, 0)) || d.x * d.x < 1e-8f)
            << "blocked at " << position.x << "," << position.y << "," << position.z;
        ASSERT_TRUE(moveTo(walker, position, position + Vec3(0, 0, d.y)) || d.y * d.y < 1e-8f)
            << "blocked at " << position.x << "," << position.y << "," << position.z;
        moveTo(walker, position, position + Vec3(0, kGravityStep, 0));
      }
      ASSERT_LT(frames, 2000);
      settle(walker, position);
      EXPECT_GE(position.y, route.endLevel);
      EXPECT_LT(position.y, route.endLevel + 0.6f);
    }
}

TEST_F(ContentMapRules, StartBoxesAreFreeAndAboveFloorsOnSeveralLevels) {
  const Vec3 size(config->getFloat("gamelogicmanager.startpoints.size.x"),
                  config->getFloat("gamelogicmanager.startpoints.size.y"),
                  config->getFloat("gamelogicmanager.startpoints.size.z"));
  // The main character at its start is an object too.
  const Walker& player = walkers.front();
  Vec3 start(config->getFloat("maincharacter.position.x"), config->getFloat("maincharacter.position.y"),
             config->getFloat("maincharacter.position.z"));
  BoundingBox playerBox("maincharacter");
  playerBox.compute(player.box->getCorner(0), player.box->getCorner(7), 0.0f);
  playerBox.setModelMatrix(glm::translate(Mat4(1.0f), start));
  std::set<int> levels;
  for (int i = 1; i <= config->getInt("gamelogicmanager.startpoints"); ++i) {
    std::string k = "gamelogicmanager.startpoint" + std::to_string(i);
    SCOPED_TRACE(k);
    Vec3 lo(config->getFloat(k + ".min.x"), config->getFloat(k + ".min.y"), config->getFloat(k + ".min.z"));
    Vec3 hi = lo + size;
    for (const auto& [name, piece] : pieces) EXPECT_FALSE(overlaps(lo, hi, piece.min(), piece.max())) << name;
    EXPECT_FALSE(overlaps(lo, hi, playerBox.getWorldMin(), playerBox.getWorldMax()));
    // The enemy is put at the box's minimum corner: a floor must lie below that point,
    // and its body must not reach into a wall or lamp there.
    bool overFloor = false;
    for (const Piece* f : floors())
      if (lo.x >= f->min().x && lo.x <= f->max().x && lo.z >= f->min().z && lo.z <= f->max().z && f->max().y <= lo.y &&
          lo.y - f->max().y < 1.0f) {
        overFloor = true;
        levels.insert(static_cast<int>(f->max().y));
      }
    EXPECT_TRUE(overFloor);
    for (const Walker& walker : walkers)
      for (const Piece* p : treed()) EXPECT_FALSE(touches(walker.at(lo), p->min(), p->max())) << walker.name << " " << p->name;
  }
  EXPECT_GE(levels.size(), 2u);
}

TEST_F(ContentMapRules, LampsStandOnFloorsAndLightWalkableGround) {
  for (int i = 1; i <= 3; ++i) {
    const std::string name = "lamp" + std::to_string(i);
    SCOPED_TRACE(name);
    const Piece& lamp = pieces.at(name);
    Vec3 light(config->getFloat(name + ".position.x"), config->getFloat(name + ".light.position.y"),
               config->getFloat(name + ".position.z"));
    bool onFloor = false, lit = false;
    for (const Piece* f : floors()) {
      onFloor |= f->max().y == lamp.min().y;
      lit |= f->max().y == lamp.min().y && light.x >= f->min().x && light.x <= f->max().x && light.z >= f->min().z &&
             light.z <= f->max().z;
    }
    EXPECT_TRUE(onFloor);
    EXPECT_TRUE(lit);
    EXPECT_GT(light.y, lamp.min().y + 2.0f);
    EXPECT_LT(light.y, lamp.max().y) << "the light hangs below the lamp's head";
  }
}

TEST_F(ContentMapRules, OctreeRootCoversTheMapAndWallsEncloseIt) {
  const float start = static_cast<float>(config->getInt("octree.start.xz"));
  const float startY = static_cast<float>(config->getInt("octree.start.y"));
  const float range = static_cast<float>(config->getInt("octree.range"));
  Vec3 mapLo(1e9f), mapHi(-1e9f);
  for (const auto& [name, piece] : pieces) {
    SCOPED_TRACE(name);
    EXPECT_GE(piece.min().x, start);
    EXPECT_GE(piece.min().z, start);
    EXPECT_GE(piece.min().y, startY);
    EXPECT_LE(piece.max().x, start + range);
    EXPECT_LE(piece.max().z, start + range);
    EXPECT_LE(piece.max().y, startY + range);
    mapLo = glm::min(mapLo, piece.min());
    mapHi = glm::max(mapHi, piece.max());
  }
  // Walkers at the edge of the ground floor, just inside, touch a wall.
  const Piece& ground = pieces.at("map.floor0");
  const Walker& player = walkers.front();
  for (float t = 0.02f; t < 1.0f; t += 0.05f) {
    float x = ground.min().x + t * (ground.max().x - ground.min().x);
    float z = ground.min().z + t * (ground.max().z - ground.min().z);
    for (Vec3 p : {Vec3(x, 0.1f, ground.min().z + 0.2f), Vec3(x, 0.1f, ground.max().z - 0.2f),
                   Vec3(ground.min().x + 0.2f, 0.1f, z), Vec3(ground.max().x - 0.2f, 0.1f, z)}) {
      bool walled = false;
      for (const Piece* w : treed()) walled |= w->name.rfind("map.wall", 0) == 0 && touches(player.at(p), w->min(), w->max());
      EXPECT_TRUE(walled) << p.x << "," << p.z;
    }
  }
  EXPECT_GE(pieces.at("map.wall0").max().y, 12.0f) << "walls rise well above the top level";
}

}  // namespace
