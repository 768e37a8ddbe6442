// The shipped map against the rules the game's movement and the enemies'
// fixed waypoints rely on, played through the game's own PositionManager and
// octree on config.txt and the generated models.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <set>

#include "ContentFiles.h"
#include "game/EnemyAI.h"
#include "game/PhysicsManager.h"
#include "support/FakeClock.h"
#include "support/MapWorld.h"

namespace {

const Vec3 kGravityStep(0.0f, -12.0f / 60.0f, 0.0f);  // one frame of falling at 60 frames per second

class ContentMapRules : public ::testing::Test {
 protected:
  void SetUp() override {
    config = &content::loadGameConfig();
    ASSERT_NE(getcwd(previousDirectory, sizeof previousDirectory), nullptr);
    ASSERT_EQ(chdir(RUNTIME_DIR "/bin"), 0);  // the models' paths are the game's
    world = std::make_unique<MapWorld>();
    walkers = {"maincharacter"};
    for (const std::string& enemy : content::enemyTypeNames(*config)) walkers.push_back(enemy);
  }
  void TearDown() override {
    world.reset();
    if (previousDirectory[0] != '\0') ASSERT_EQ(chdir(previousDirectory), 0);
    Config::instance().clear();
  }

  PositionManager& pm() { return world->positions(); }
  std::vector<std::string> floors() const {
    return {"map.floor0", "map.floor1", "map.floor1small", "map.floor2", "map.floor2small"};
  }
  // Drops a new walker at the point and lets gravity act until it rests.
  ObjectId settle(const std::string& type, const Vec3& drop) { return settle(world->addWalker(type, drop)); }
  // Lets gravity act until the walker rests (at most 10 s).
  ObjectId settle(ObjectId id) {
    for (int frame = 0; frame < 600; ++frame) {
      const float before = pm().position(id).y;
      pm().applyGravity(kGravityStep);
      if (pm().position(id).y == before) break;
    }
    return id;
  }
  // Nothing of the tree touches the walker where it stands.
  bool standsFree(ObjectId id) { return pm().moveTo(id, pm().position(id)).moved; }
  Vec3 configured(const std::string& prefix) const {
    return Vec3(config->getFloat(prefix + "x"), config->getFloat(prefix + "y"), config->getFloat(prefix + "z"));
  }

  Config* config = nullptr;
  std::unique_ptr<MapWorld> world;
  std::vector<std::string> walkers;
  char previousDirectory[4096] = {};
};

TEST_F(ContentMapRules, FloorsAreSlabsWhoseTopIsALevelAndStairsClimbTowardTheirLowerCoordinate) {
  for (const std::string& name : floors()) {
    SCOPED_TRACE(name);
    const BoundingBox& f = world->boxOf(name);
    const float top = f.getWorldMax().y;
    EXPECT_TRUE(top == 0.0f || top == 5.0f || top == 10.0f) << top;
    EXPECT_GT(top - f.getWorldMin().y, 0.5f);
  }
  const struct { const char* name; bool alongX; float start, end, bottomLevel; } stairs[] = {
      {"map.stairs0", false, -17.0f, -7.5f, 0.0f}, {"map.stairs1", true, -17.0f, -6.0f, 5.0f}};
  for (const auto& s : stairs) {
    SCOPED_TRACE(s.name);
    const Vec3 lo = world->boxOf(s.name).getWorldMin(), hi = world->boxOf(s.name).getWorldMax();
    EXPECT_EQ((hi.x - lo.x) > (hi.z - lo.z), s.alongX);
    EXPECT_FLOAT_EQ(s.alongX ? lo.x : lo.z, s.start);
    EXPECT_FLOAT_EQ(s.alongX ? hi.x : hi.z, s.end);
    // The foot stands just above the floor below, the top reaches the next level.
    EXPECT_GT(lo.y, s.bottomLevel);
    EXPECT_LT(lo.y, s.bottomLevel + 0.1f);
    EXPECT_GE(hi.y, s.bottomLevel + 5.0f);
  }
}

// Walkers dropped at the waypoints, the character's start and every start box
// come to rest on the level below, touch no wall or lamp there and can walk a
// short step in every direction without their own floor stopping them.
TEST_F(ContentMapRules, DroppedWalkersRestOnTheirLevelAndWalkFreely) {
  std::vector<Vec3> drops = {{21, 0.3f, -4}, {14, 5.3f, -20}, {-20, 10.3f, -14}, configured("maincharacter.position.")};
  for (int i = 1; i <= config->getInt("gamelogicmanager.startpoints"); ++i)
    drops.push_back(configured("gamelogicmanager.startpoint" + std::to_string(i) + ".min."));
  pm().erase(MapWorld::kMainCharacterId);  // its start is one of the drops
  for (const std::string& walker : walkers)
    for (const Vec3& drop : drops) {
      SCOPED_TRACE(walker + " dropped at " + std::to_string(drop.x) + "," + std::to_string(drop.y) + "," +
                   std::to_string(drop.z));
      const ObjectId id = settle(walker, drop);
      const Vec3 rest = pm().position(id);
      const float level = std::floor(drop.y / 5.0f) * 5.0f;
      EXPECT_GE(rest.y, level);
      EXPECT_LT(rest.y, level - kGravityStep.y + 1e-4f);
      EXPECT_TRUE(standsFree(id));
      for (const Vec3 step : {Vec3(0.1f, 0, 0), Vec3(-0.1f, 0, 0), Vec3(0, 0, 0.1f), Vec3(0, 0, -0.1f)}) {
        EXPECT_TRUE(pm().moveTo(id, rest + step).moved);
        EXPECT_FLOAT_EQ(pm().position(id).y, rest.y);
        pm().place(id, rest);
      }
      pm().erase(id);
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
    for (const std::string& walker : walkers) {
      SCOPED_TRACE(std::string(route.name) + " " + walker);
      const ObjectId id = settle(walker, route.from);
      const float step = 0.08f;  // about five units per second at 60 frames per second
      int frames = 0;
      for (; frames < 2000; ++frames) {
        const Vec3 at = pm().position(id);
        const Vec2 remaining(route.to.x - at.x, route.to.z - at.z);
        if (glm::length(remaining) < step) break;
        const Vec2 d = glm::normalize(remaining) * step;
        ASSERT_TRUE(std::fabs(d.x) < 1e-4f || pm().moveBy(id, Vec3(d.x, 0, 0)).moved) << "blocked at " << at.x << "," << at.y << "," << at.z;
        ASSERT_TRUE(std::fabs(d.y) < 1e-4f || pm().moveBy(id, Vec3(0, 0, d.y)).moved) << "blocked at " << at.x << "," << at.y << "," << at.z;
        pm().applyGravity(kGravityStep);
      }
      ASSERT_LT(frames, 2000);
      for (int frame = 0; frame < 120; ++frame) pm().applyGravity(kGravityStep);
      EXPECT_GE(pm().position(id).y, route.endLevel);
      EXPECT_LT(pm().position(id).y, route.endLevel + 0.6f);
      pm().erase(id);
    }
}

// The map's stairs and the enemies' fixed waypoints agree: from every start
// box an enemy of each type gets to a character waiting on each level, played
// frame by frame with the game's own enemy behaviour, gravity, movement and
// octree, at 30 and at 60 frames a second.
TEST_F(ContentMapRules, EnemiesFromEveryStartBoxReachTheCharacterOnEveryLevel) {
  const struct { const char* level; Vec3 drop; } characters[] = {
      {"ground", {-4.0f, 0.2f, 4.0f}}, {"middle", {5.0f, 5.2f, -24.0f}}, {"top", {-24.0f, 10.2f, -8.0f}}};
  for (const int fps : {30, 60})
    for (const std::string& type : content::enemyTypeNames(*config))
      for (int box = 1; box <= config->getInt("gamelogicmanager.startpoints"); ++box)
        for (const auto& character : characters) {
          SCOPED_TRACE(type + " from start box " + std::to_string(box) + " to the " + character.level + " at " +
                       std::to_string(fps) + " frames a second");
          FakeClock clock;
          MapWorld map;
          PositionManager& positions = map.positions();
          PhysicsManager physics(&positions);
          bool contact = false;
          EnemyAI ai(&positions, &map.properties(), [&contact](ObjectId) { contact = true; });
          ai.mainCharacterId = MapWorld::kMainCharacterId;
          positions.place(MapWorld::kMainCharacterId, character.drop);
          const ObjectId enemyId =
              map.addWalker(type, configured("gamelogicmanager.startpoint" + std::to_string(box) + ".min."));
          ai.addEnemy(enemyId);
          // The game's stage order: gravity, then the enemies; two minutes at most.
          bool reached = false;
          for (int frame = 0; frame < 120 * fps && !reached; ++frame) {
            clock.advance(1.0 / fps);
            physics.update();
            ai.update();
            const Vec3 enemy = positions.position(enemyId);
            const Vec3 at = positions.position(MapWorld::kMainCharacterId);
            // Only a move along z reports a contact, so one that ends beside
            // the character after a move along x counts as well.
            reached = contact || (glm::length(Vec2(enemy.x - at.x, enemy.z - at.z)) < 2.0f && std::fabs(enemy.y - at.y) < 0.5f);
          }
          EXPECT_TRUE(reached);
        }
}

// An enemy of any type standing at the character's front is what a shot
// takes, also with an enemy of any type further along the same line (enemies
// chasing the character line up behind each other).
TEST_F(ContentMapRules, AnEnemyAtTheCharactersFrontIsTheTargetOfAShot) {
  const Vec3 at(-4.0f, 0.0f, 0.0f);
  for (const std::string& near : content::enemyTypeNames(*config))
    for (const std::string& far : content::enemyTypeNames(*config)) {
      SCOPED_TRACE(near + " in front of " + far);
      MapWorld map;
      PositionManager& positions = map.positions();
      positions.place(MapWorld::kMainCharacterId, at);
      positions.setFacing(MapWorld::kMainCharacterId, 0.0f);  // towards +z
      const ObjectId front = map.addWalker(near, at + Vec3(0.0f, 0.0f, 4.0f));
      map.addWalker(far, at + Vec3(0.3f, 0.0f, 9.0f));
      // The near one walks up until it touches the character, as enemies stop.
      while (positions.moveBy(front, Vec3(0.0f, 0.0f, -0.05f)).moved) {
      }
      EXPECT_EQ(positions.octree().pick(MapWorld::kMainCharacterId, Vec3(0.0f, 0.0f, 1.0f)), front);
    }
}

TEST_F(ContentMapRules, StartBoxesAreFreeAndLieOverFloorsOnSeveralLevels) {
  const Vec3 size = configured("gamelogicmanager.startpoints.size.");
  std::set<float> levels;
  for (int i = 1; i <= config->getInt("gamelogicmanager.startpoints"); ++i) {
    SCOPED_TRACE(i);
    const Vec3 lo = configured("gamelogicmanager.startpoint" + std::to_string(i) + ".min.");
    // Free of every piece and of the character at its start, as the spawn asks.
    EXPECT_TRUE(pm().isFree(lo, lo + size));
    // The enemy is put at the box's minimum corner, less than a unit above a floor.
    EXPECT_FALSE(pm().isFree(lo - Vec3(0.0f, 1.0f, 0.0f), Vec3(lo.x + 0.01f, lo.y, lo.z + 0.01f)));
    levels.insert(std::floor(lo.y / 5.0f));
  }
  EXPECT_GE(levels.size(), 2u);
}

TEST_F(ContentMapRules, LampsStandOnFloorsAndLightWalkableGround) {
  for (int i = 1; i <= 3; ++i) {
    const std::string name = "lamp" + std::to_string(i);
    SCOPED_TRACE(name);
    const BoundingBox& lamp = world->boxOf(name);
    const Vec3 light(config->getFloat(name + ".position.x"), config->getFloat(name + ".light.position.y"),
                     config->getFloat(name + ".position.z"));
    bool lit = false;
    for (const std::string& f : floors()) {
      const BoundingBox& floor = world->boxOf(f);
      lit |= floor.getWorldMax().y == lamp.getWorldMin().y && light.x >= floor.getWorldMin().x &&
             light.x <= floor.getWorldMax().x && light.z >= floor.getWorldMin().z && light.z <= floor.getWorldMax().z;
    }
    EXPECT_TRUE(lit) << "the lamp stands on the floor its light falls on";
    EXPECT_GT(light.y, lamp.getWorldMin().y + 2.0f);
    EXPECT_LT(light.y, lamp.getWorldMax().y) << "the light hangs below the lamp's head";
  }
}

// The octree's root covers every piece, and the walls hold a walker on the
// ground floor: a long walk towards any side ends inside the map.
TEST_F(ContentMapRules, OctreeRootCoversTheMapAndWallsEncloseIt) {
  const float start = static_cast<float>(config->getInt("octree.start.xz"));
  const float startY = static_cast<float>(config->getInt("octree.start.y"));
  const float range = static_cast<float>(config->getInt("octree.range"));
  for (const std::string& name : content::mapPieceNames()) {
    SCOPED_TRACE(name);
    const Vec3 lo = world->boxOf(name).getWorldMin(), hi = world->boxOf(name).getWorldMax();
    EXPECT_TRUE(lo.x >= start && lo.z >= start && lo.y >= startY);
    EXPECT_TRUE(hi.x <= start + range && hi.z <= start + range && hi.y <= startY + range);
  }
  const BoundingBox& ground = world->boxOf("map.floor0");
  const ObjectId id = settle(MapWorld::kMainCharacterId);
  const Vec3 centre = pm().position(id);
  for (const Vec3 direction : {Vec3(1, 0, 0), Vec3(-1, 0, 0), Vec3(0, 0, 1), Vec3(0, 0, -1)}) {
    SCOPED_TRACE(std::to_string(direction.x) + "," + std::to_string(direction.z));
    for (int i = 0; i < 4; ++i) pm().moveInSteps(id, pm().position(id) + direction * 16.0f);
    const Vec3 end = pm().position(id);
    EXPECT_TRUE(end.x > ground.getWorldMin().x && end.x < ground.getWorldMax().x && end.z > ground.getWorldMin().z &&
                end.z < ground.getWorldMax().z);
    pm().place(id, centre);
  }
  EXPECT_GE(world->boxOf("map.wall0").getWorldMax().y, 12.0f) << "walls rise well above the top level";
}

}  // namespace
