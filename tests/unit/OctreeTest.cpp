#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <glm/gtc/matrix_transform.hpp>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "scene/BoundingBox.h"
#include "scene/Octree.h"
#include "scene/OctreeNode.h"
#include "support/ConfigFixture.h"

namespace {

ObjectCylinder cylinder(Vec3 center, float radius, float halfHeight) { return {center, radius, halfHeight}; }

// Root of range 100 starting at (-50, 0, -50): centre (0, 50, 0).
OctreeNode worldRoot(int maxLevels) { return OctreeNode(maxLevels, 0, {-50, 0, -50}, {100, 100, 100}); }

std::string keys(int maxLevels) {
  return "octree.max.levels = " + std::to_string(maxLevels) +
         "\noctree.start.xz = -50\noctree.start.y = 0\noctree.range = 100\n";
}

// An octree of boxes (not owned by the tree) placed by translation.
Octree treeWithLevels(int maxLevels) {
  Config::instance().clear();
  Config::instance().loadFromString(keys(maxLevels));
  return Octree();
}

class OctreeWorld {
 public:
  explicit OctreeWorld(int maxLevels) : tree(treeWithLevels(maxLevels)) {}
  BoundingBox& add(ObjectId id, Vec3 min, Vec3 max, Vec3 position) {
    BoundingBox& box = boxes.emplace_back("object");
    box.compute(min, max, 0.0f);
    box.setModelMatrix(glm::translate(Mat4(1.0f), position));
    tree.add(id, &box);
    return box;
  }
  BoundingBox& addUnitCube(ObjectId id, Vec3 position) { return add(id, Vec3(-0.5f), Vec3(0.5f), position); }
  std::vector<ObjectId> everything() const {
    std::vector<ObjectId> ids;
    tree.getRoot().collectAll(ids);
    return ids;
  }
  std::deque<BoundingBox> boxes;
  Octree tree;
};

bool holds(const std::vector<ObjectId>& ids, ObjectId id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

struct ChildCase {
  const char* name;
  ObjectCylinder cylinder;
  int child;
};

TEST(OctreeChildIndex, SidesOfTheCentrePlanesWithStrictComparisons) {
  const OctreeNode root = worldRoot(3);
  ASSERT_EQ(root.getCenter(), Vec3(0.0f, 50.0f, 0.0f));
  const std::vector<ChildCase> cases = {
      {"crosses the plane x = 0", cylinder({0, 20, 20}, 1, 1), -1},
      {"x high, y high, z low", cylinder({3, 65, -8}, 2, 5), 3},
      {"all low", cylinder({-5, 10, -5}, 1, 1), 0},
      {"all high", cylinder({5, 90, 5}, 1, 1), 7},
      {"x low, y low, z high", cylinder({-5, 10, 5}, 1, 1), 4},
      {"touching the plane x = 0 straddles it", cylinder({2, 10, 5}, 2, 1), -1},
      {"touching the plane y = 50 straddles it", cylinder({5, 45, 5}, 1, 5), -1},
      {"radius reaches across z only", cylinder({5, 10, 0.5f}, 1, 1), -1},
      {"outside the root cell is filed by the planes alone", cylinder({500, -200, 500}, 1, 1), 5},
  };
  for (const ChildCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(root.childIndex(c.cylinder), c.child);
  }
}

TEST(OctreeSplit, ChildrenHalveByIntegerDivisionAndSitOnTheirSide) {
  OctreeNode root = worldRoot(7);
  // Inserting a small object deep in the low corner splits every level on the way.
  root.insert(1, cylinder({-49, 0.5f, -49}, 0.1f, 0.1f));
  const std::vector<int> expectedSizes = {50, 25, 12, 6, 3, 1, 0};
  const OctreeNode* node = &root;
  for (std::size_t level = 0; level < expectedSizes.size(); ++level) {
    SCOPED_TRACE("level " + std::to_string(level + 1));
    ASSERT_TRUE(node->hasChildren());
    node = &node->child(0);
    EXPECT_EQ(node->getLevel(), static_cast<int>(level) + 1);
    EXPECT_EQ(node->getSize(), (OctreeNode::Cell{expectedSizes[level], expectedSizes[level], expectedSizes[level]}));
  }
  EXPECT_FALSE(node->hasChildren());  // level 7 is the deepest

  const OctreeNode& highest = root.child(7);
  EXPECT_EQ(highest.getStart(), (OctreeNode::Cell{0, 50, 0}));
  EXPECT_EQ(highest.getCenter(), Vec3(25.0f, 75.0f, 25.0f));
  const OctreeNode& xOnly = root.child(1);
  EXPECT_EQ(xOnly.getStart(), (OctreeNode::Cell{0, 0, -50}));
}

TEST(OctreeFiling, AnObjectEndsInTheDeepestCellWhosePlanesItDoesNotTouch) {
  OctreeNode root = worldRoot(2);
  root.insert(1, cylinder({0, 20, 20}, 1, 1));   // crosses x = 0: stays in the root
  root.insert(2, cylinder({3, 65, -8}, 2, 5));   // child 3, then its child 4
  root.insert(3, cylinder({40, 90, 40}, 1, 1));  // child 7, then its child 7, the deepest level
  ASSERT_EQ(root.getEntries().size(), 1u);
  EXPECT_EQ(root.getEntries()[0].id, 1u);
  // Child 3 spans x 0..50, y 50..100, z -50..0, centre (25, 75, -25): id 2 is
  // low in x and y there and high in z.
  const OctreeNode& three = root.child(3);
  EXPECT_TRUE(three.getEntries().empty());
  ASSERT_TRUE(three.hasChildren());
  ASSERT_EQ(three.child(4).getEntries().size(), 1u);
  EXPECT_EQ(three.child(4).getEntries()[0].id, 2u);
  EXPECT_EQ(root.child(7).child(7).getEntries()[0].id, 3u);
  EXPECT_FALSE(root.child(7).child(7).hasChildren());
}

TEST(OctreeFiling, RemoveNeedsTheInsertionCylinderAndKeepsTheOrderOfOthers) {
  OctreeNode root = worldRoot(0);
  const ObjectCylinder c = cylinder({1, 1, 1}, 1, 1);
  for (ObjectId id : {5u, 6u, 5u, 7u}) root.insert(id, c);
  root.remove(5, c);
  std::vector<ObjectId> ids;
  root.collectAll(ids);
  EXPECT_EQ(ids, (std::vector<ObjectId>{6, 5, 7}));

  OctreeNode deep = worldRoot(3);
  deep.insert(9, cylinder({40, 90, 40}, 1, 1));
  deep.remove(9, cylinder({-40, 10, -40}, 1, 1));  // a different cylinder leads elsewhere
  ids.clear();
  deep.collectAll(ids);
  EXPECT_EQ(ids, (std::vector<ObjectId>{9}));
}

using OctreeQuery = ConfigFixture;

TEST_F(OctreeQuery, EveryObjectTouchingTheCylinderIsACandidateAtAnyDepth) {
  for (int maxLevels : {0, 1, 3, 6}) {
    SCOPED_TRACE("max levels " + std::to_string(maxLevels));
    OctreeWorld world(maxLevels);
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> coordinate(-45.0f, 45.0f);
    std::uniform_real_distribution<float> height(0.0f, 95.0f);
    std::uniform_real_distribution<float> extent(0.1f, 4.0f);
    for (ObjectId id = 0; id < 150; ++id) {
      const Vec3 half(extent(random), extent(random), extent(random));
      world.add(id, -half, half, Vec3(coordinate(random), height(random), coordinate(random)));
    }
    // Move a third of them so that refiling is exercised as well.
    for (ObjectId id = 0; id < 150; id += 3) {
      world.tree.update(id, glm::translate(Mat4(1.0f), Vec3(coordinate(random), height(random), coordinate(random))));
    }
    if (maxLevels == 0) EXPECT_EQ(world.everything().size(), 150u);
    for (ObjectId probe = 0; probe < 150; ++probe) {
      const ObjectCylinder query = ObjectCylinder::of(world.boxes[probe]);
      std::vector<ObjectId> candidates;
      world.tree.getRoot().query(query, candidates);
      for (ObjectId other = 0; other < 150; ++other) {
        const BoundingBox& box = world.boxes[other];
        if (query.touches(box.getWorldMin(), box.getWorldMax())) {
          ASSERT_TRUE(holds(candidates, other)) << "probe " << probe << " misses " << other;
        }
      }
    }
    EXPECT_EQ(world.everything().size(), 150u);  // refiling left no stale or lost entry
  }
}

using OctreeRegistry = ConfigFixture;

TEST_F(OctreeRegistry, UpdateOfAnUnknownIdThrowsOutOfRange) {
  OctreeWorld world(3);
  EXPECT_EQ(messageOf<std::out_of_range>([&] { world.tree.update(42, Mat4(1.0f)); }), "invalid map<K, T> key");
}

TEST_F(OctreeRegistry, RemoveForgetsEverywhereAndIgnoresUnknownIds) {
  OctreeWorld world(3);
  world.addUnitCube(1, Vec3(10, 10, 10));
  world.add(2, Vec3(-10, -1, -10), Vec3(10, 0, 10), Vec3(0));
  world.tree.untree(2);
  world.tree.remove(1);
  world.tree.remove(2);
  world.tree.remove(77);
  EXPECT_TRUE(world.everything().empty());
  EXPECT_FALSE(world.tree.contains(1));
  EXPECT_FALSE(world.tree.isUntreed(2));
  EXPECT_FALSE(world.tree.anyOverlap(Vec3(-100), Vec3(100), kNoObject));
}

TEST_F(OctreeRegistry, UntreedObjectsStayOutOfTheTreeEvenWhenMoved) {
  OctreeWorld world(3);
  world.add(2, Vec3(-10, -1, -10), Vec3(10, 0, 10), Vec3(0));
  world.tree.untree(2);
  world.tree.untree(2);
  world.tree.update(2, glm::translate(Mat4(1.0f), Vec3(0, 5, 0)));
  EXPECT_TRUE(world.everything().empty());
  EXPECT_EQ(world.boxes[0].getWorldMax().y, 5.0f);
  EXPECT_TRUE(world.tree.anyOverlap(Vec3(-1, 4.5f, -1), Vec3(1, 4.8f, 1), kNoObject));
}

struct CollisionCase {
  const char* name;
  Vec3 moverAt;  // the mover: a 1 x 2 x 1 body with its sole at the model origin
  ObjectId other;
  std::int32_t kind;
};

using OctreeCollision = ConfigFixture;

TEST_F(OctreeCollision, KindsFromWhereTheOtherBoxTopLies) {
  OctreeWorld world(4);
  // A wall 2 high at x 4..6 and a low block (top 0.15) at x -6..-4.
  world.add(10, Vec3(-1, 0, -3), Vec3(1, 2, 3), Vec3(5, 0, 0));
  world.add(11, Vec3(-1, 0, -1), Vec3(1, 0.15f, 1), Vec3(-5, 0, 0));
  world.add(1, Vec3(-0.5f, 0, -0.5f), Vec3(0.5f, 2, 0.5f), Vec3(0, 0, 0));
  const std::vector<CollisionCase> cases = {
      {"free space", Vec3(0, 0, 0), kNoObject, 0},
      {"walking into the wall", Vec3(3.6f, 0, 0), 10, 1},
      {"cylinder radius reaches the wall", Vec3(3.4f, 0, 0), 10, 1},
      {"just out of reach", Vec3(3.2f, 0, 0), kNoObject, 0},
      {"sinking onto the wall top", Vec3(5, 1.9f, 0), 10, 2},
      {"sole exactly on the wall top does not touch", Vec3(5, 2, 0), kNoObject, 0},
      {"wall top at the feet line is ordinary", Vec3(5, 1.6f, 0), 10, 1},
      {"low block under the feet", Vec3(-5, 0, 0), 11, 2},
  };
  for (const CollisionCase& c : cases) {
    SCOPED_TRACE(c.name);
    const MoveResult result = world.tree.collideTree(1, glm::translate(Mat4(1.0f), c.moverAt));
    EXPECT_EQ(result.otherId, c.other);
    EXPECT_EQ(result.kind, c.kind);
    EXPECT_EQ(result.moved, c.kind == 0);
  }
  // The proposed matrix is only tested: the mover's box stays where it was.
  EXPECT_EQ(world.boxes[2].getWorldMin(), Vec3(-0.5f, 0, -0.5f));
}

TEST_F(OctreeCollision, CandidatesAndUntreedPiecesAreWalkedFromLastToFirst) {
  OctreeWorld world(0);
  world.add(1, Vec3(-0.5f, 0, -0.5f), Vec3(0.5f, 2, 0.5f), Vec3(0));
  world.addUnitCube(2, Vec3(0.8f, 1, 0));
  world.addUnitCube(3, Vec3(-0.8f, 1, 0));
  EXPECT_EQ(world.tree.collideTree(1, Mat4(1.0f)).otherId, 3u);

  world.add(4, Vec3(-10, -1, -10), Vec3(10, 0, 10), Vec3(0, 0.5f, 0));
  world.add(5, Vec3(-10, -1, -10), Vec3(10, 0, 10), Vec3(0, 0.3f, 0));
  world.tree.untree(5);
  world.tree.untree(4);
  const MoveResult ground = world.tree.collideUntreed(1, Mat4(1.0f));
  EXPECT_EQ(ground.otherId, 4u);
  EXPECT_EQ(ground.kind, 1);
}

using OctreeOverlap = ConfigFixture;

TEST_F(OctreeOverlap, StrictOnAllThreeAxesAndSkipsTheExceptedId) {
  OctreeWorld world(3);
  world.add(1, Vec3(0), Vec3(2), Vec3(0));  // occupies 0..2
  struct Case {
    const char* name;
    Vec3 min, max;
    ObjectId except;
    bool overlaps;
  };
  const std::vector<Case> cases = {
      {"inside", Vec3(0.5f), Vec3(1.5f), kNoObject, true},
      {"sharing a face", Vec3(2, 0, 0), Vec3(3, 2, 2), kNoObject, false},
      {"sharing the bottom face", Vec3(0, -1, 0), Vec3(2, 0, 2), kNoObject, false},
      {"overlapping on x and y only", Vec3(1, 1, 3), Vec3(3, 3, 4), kNoObject, false},
      {"overlapping a sliver", Vec3(1.99f, 1.99f, 1.99f), Vec3(3), kNoObject, true},
      {"the only overlap is excepted", Vec3(0.5f), Vec3(1.5f), 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(world.tree.anyOverlap(c.min, c.max, c.except), c.overlaps);
  }
}

using OctreePick = ConfigFixture;

TEST_F(OctreePick, TheCentreClosestToTheLineWinsNotTheNearest) {
  OctreeWorld world(4);
  const Vec3 east(1, 0, 0);
  world.addUnitCube(0, Vec3(0, 1, 0));       // the shooter
  world.addUnitCube(1, Vec3(5, 1, 0.7f));    // near, grazed: its sphere (r 0.866) reaches the line
  world.addUnitCube(2, Vec3(20, 1, 0));      // far, through its centre
  world.addUnitCube(3, Vec3(-8, 1, 0));      // behind the shooter, through its centre
  world.addUnitCube(4, Vec3(10, 1, 3));      // beside the line, out of reach
  EXPECT_EQ(world.tree.pick(0, east), 2u);
  EXPECT_EQ(world.tree.pick(0, -east), 3u);
  EXPECT_EQ(world.tree.pick(0, Vec3(0, 0, 1)), kNoObject);
  world.tree.remove(2);
  EXPECT_EQ(world.tree.pick(0, east), 1u);
}

TEST_F(OctreePick, FloorsAndEmptyBoxesAreNeverTargets) {
  OctreeWorld world(4);
  world.addUnitCube(0, Vec3(0, 1, 0));
  world.add(1, Vec3(-1, -1, -1), Vec3(1, 1, 1), Vec3(6, 1, 0));  // a stairs piece on the line
  world.tree.untree(1);
  world.add(2, Vec3(0), Vec3(0), Vec3(4, 1, 0));  // no extent, exactly on the line
  world.addUnitCube(3, Vec3(12, 1.3f, 0));
  EXPECT_EQ(world.tree.pick(0, Vec3(1, 0, 0)), 3u);
}
