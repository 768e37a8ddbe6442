#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <glm/gtc/matrix_transform.hpp>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "scene/BoundingBox.h"
#include "scene/Octree.h"
#include "support/ConfigFixture.h"

namespace {

// Root of range 100 from (-50, 0, -50): centre (0, 50, 0).
OctreeNode worldRoot(int maxLevels) { return OctreeNode(maxLevels, 0, {-50, 0, -50}, {100, 100, 100}); }

class OctreeTest : public ConfigFixture {
 protected:
  Octree& makeTree(int maxLevels) {
    load("octree.max.levels = " + std::to_string(maxLevels) +
         "\noctree.start.xz = -50\noctree.start.y = 0\noctree.range = 100\n");
    tree = std::make_unique<Octree>();
    return *tree;
  }
  // A box of model extents min..max moved to position and registered.
  BoundingBox& add(ObjectId id, Vec3 min, Vec3 max, Vec3 position) {
    BoundingBox& box = boxes.emplace_back("object");
    box.compute(min, max, 0.0f);
    box.setModelMatrix(glm::translate(Mat4(1.0f), position));
    tree->add(id, &box);
    return box;
  }
  void addCube(ObjectId id, Vec3 position) { add(id, Vec3(-0.5f), Vec3(0.5f), position); }
  std::vector<ObjectId> filed() const {
    std::vector<ObjectId> ids;
    tree->getRoot().collectAll(ids);
    return ids;
  }
  std::deque<BoundingBox> boxes;  // stable addresses: the tree keeps pointers
  std::unique_ptr<Octree> tree;
};

}  // namespace

TEST(OctreeNodeFiling, ChildIndexUsesTheCentrePlanesStrictly) {
  const OctreeNode root = worldRoot(3);
  struct Case {
    const char* name;
    ObjectCylinder cylinder;
    int child;
  };
  const std::vector<Case> cases = {
      {"crosses the plane x = 0", {{0, 20, 20}, 1, 1}, -1},
      {"x high, y high, z low", {{3, 65, -8}, 2, 5}, 3},
      {"all low", {{-5, 10, -5}, 1, 1}, 0},
      {"x low, y low, z high", {{-5, 10, 5}, 1, 1}, 4},
      {"touching the plane x = 0 straddles it", {{2, 10, 5}, 2, 1}, -1},
      {"touching the plane y = 50 straddles it", {{5, 45, 5}, 1, 5}, -1},
      {"outside the root cell: planes alone decide", {{500, -200, 500}, 1, 1}, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(root.childIndex(c.cylinder), c.child);
  }
}

TEST(OctreeNodeFiling, SplitsHalveByIntegerDivisionDownToTheDeepestLevel) {
  OctreeNode root = worldRoot(7);
  root.insert(1, {{-49, 0.5f, -49}, 0.1f, 0.1f});  // deep in the low corner: splits every level
  const OctreeNode* node = &root;
  for (int size : {50, 25, 12, 6, 3, 1, 0}) {
    SCOPED_TRACE("size " + std::to_string(size));
    ASSERT_TRUE(node->hasChildren());
    node = &node->child(0);
    EXPECT_EQ(node->getSize(), (OctreeNode::Cell{size, size, size}));
  }
  EXPECT_FALSE(node->hasChildren());
  EXPECT_EQ(root.child(7).getStart(), (OctreeNode::Cell{0, 50, 0}));
  EXPECT_EQ(root.child(7).getCenter(), Vec3(25.0f, 75.0f, 25.0f));
}

TEST(OctreeNodeFiling, AnObjectEndsInTheDeepestCellWhosePlanesItDoesNotTouch) {
  OctreeNode root = worldRoot(2);
  root.insert(1, {{0, 20, 20}, 1, 1});   // crosses x = 0: the root
  root.insert(2, {{3, 65, -8}, 2, 5});   // child 3 (centre (25, 75, -25)), then its child 4
  root.insert(3, {{40, 90, 40}, 1, 1});  // child 7, then its child 7 at the deepest level
  ASSERT_EQ(root.getEntries().size(), 1u);
  EXPECT_EQ(root.getEntries()[0].id, 1u);
  EXPECT_TRUE(root.child(3).getEntries().empty());
  ASSERT_EQ(root.child(3).child(4).getEntries().size(), 1u);
  EXPECT_EQ(root.child(3).child(4).getEntries()[0].id, 2u);
  ASSERT_EQ(root.child(7).child(7).getEntries().size(), 1u);
  EXPECT_FALSE(root.child(7).child(7).hasChildren());
}

TEST_F(OctreeTest, QueriesHoldEveryObjectTheCylinderTouchesAtAnyDepth) {
  for (int maxLevels : {0, 1, 3, 6}) {
    SCOPED_TRACE("max levels " + std::to_string(maxLevels));
    makeTree(maxLevels);
    boxes.clear();
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> coordinate(-45.0f, 45.0f), height(0.0f, 95.0f), extent(0.1f, 4.0f);
    const auto somewhere = [&] { return Vec3(coordinate(random), height(random), coordinate(random)); };
    for (ObjectId id = 0; id < 150; ++id) {
      const Vec3 half(extent(random), extent(random), extent(random));
      add(id, -half, half, somewhere());
    }
    for (ObjectId id = 0; id < 150; id += 3) tree->update(id, glm::translate(Mat4(1.0f), somewhere()));
    ASSERT_EQ(filed().size(), 150u);  // refiling lost or duplicated nothing
    for (ObjectId probe = 0; probe < 150; ++probe) {
      const ObjectCylinder query = ObjectCylinder::of(boxes[probe]);
      std::vector<ObjectId> candidates;
      tree->getRoot().query(query, candidates);
      if (maxLevels == 0) ASSERT_EQ(candidates.size(), 150u);
      for (ObjectId other = 0; other < 150; ++other) {
        if (!query.touches(boxes[other].getWorldMin(), boxes[other].getWorldMax())) continue;
        ASSERT_NE(std::find(candidates.begin(), candidates.end(), other), candidates.end())
            << "probe " << probe << " misses " << other;
      }
    }
  }
}

TEST_F(OctreeTest, RegistryKeepsFloorsOutOfTheTreeAndForgetsRemovedObjects) {
  makeTree(3);
  EXPECT_EQ(messageOf<std::out_of_range>([&] { tree->update(42, Mat4(1.0f)); }), "invalid map<K, T> key");
  addCube(1, Vec3(10.0f));
  BoundingBox& floor = add(2, Vec3(-10, -1, -10), Vec3(10, 0, 10), Vec3(0.0f));
  tree->untree(2);
  tree->update(2, glm::translate(Mat4(1.0f), Vec3(0, 5, 0)));  // a moved floor stays untreed
  EXPECT_EQ(filed(), (std::vector<ObjectId>{1}));
  EXPECT_EQ(floor.getWorldMax().y, 5.0f);
  tree->remove(1);
  tree->remove(2);
  tree->remove(77);  // unknown: ignored
  EXPECT_TRUE(filed().empty());
  EXPECT_FALSE(tree->isUntreed(2));
  EXPECT_FALSE(tree->anyOverlap(Vec3(-100.0f), Vec3(100.0f), kNoObject));
}

TEST_F(OctreeTest, CollisionKindDependsOnWhereTheOtherTopLies) {
  makeTree(4);
  add(10, Vec3(-1, 0, -3), Vec3(1, 2, 3), Vec3(5, 0, 0));          // wall x 4..6, top 2
  add(11, Vec3(-1, 0, -1), Vec3(1, 0.15f, 1), Vec3(-5, 0, 0));     // low block, top 0.15
  add(1, Vec3(-0.5f, 0, -0.5f), Vec3(0.5f, 2, 0.5f), Vec3(0.0f));  // mover: radius 0.707, half height 1
  struct Case {
    const char* name;
    Vec3 moverAt;
    ObjectId other;
    std::int32_t kind;
  };
  const std::vector<Case> cases = {
      {"free space", Vec3(0.0f), kNoObject, 0},
      {"radius reaches the wall", Vec3(3.4f, 0, 0), 10, 1},
      {"just out of reach", Vec3(3.2f, 0, 0), kNoObject, 0},
      {"sinking onto the wall top", Vec3(5, 1.9f, 0), 10, 2},
      {"sole exactly on the wall top does not touch", Vec3(5, 2, 0), kNoObject, 0},
      {"wall top above the feet line is ordinary", Vec3(5, 1.6f, 0), 10, 1},
      {"low block under the feet", Vec3(-5, 0, 0), 11, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MoveResult result = tree->collideTree(1, glm::translate(Mat4(1.0f), c.moverAt));
    EXPECT_EQ(result.otherId, c.other);
    EXPECT_EQ(result.kind, c.kind);
  }
  EXPECT_EQ(boxes[2].getWorldMin(), Vec3(-0.5f, 0, -0.5f));  // the proposal left the box alone
}

TEST_F(OctreeTest, CandidatesAndUntreedPiecesAreWalkedFromLastToFirst) {
  makeTree(0);
  add(1, Vec3(-0.5f, 0, -0.5f), Vec3(0.5f, 2, 0.5f), Vec3(0.0f));
  addCube(2, Vec3(0.8f, 1, 0));
  addCube(3, Vec3(-0.8f, 1, 0));
  add(4, Vec3(-10, -1, -10), Vec3(10, 0, 10), Vec3(0, 0.5f, 0));
  add(5, Vec3(-10, -1, -10), Vec3(10, 0, 10), Vec3(0, 0.3f, 0));
  tree->untree(5);
  tree->untree(4);
  EXPECT_EQ(tree->collideTree(1, Mat4(1.0f)).otherId, 3u);
  const MoveResult ground = tree->collideUntreed(1, Mat4(1.0f));
  EXPECT_EQ(ground.otherId, 4u);
  EXPECT_EQ(ground.kind, 1);
}

TEST_F(OctreeTest, PickTakesTheCentreClosestToTheLineAmongTreeObjects) {
  makeTree(4);
  addCube(0, Vec3(0, 1, 0));     // the shooter
  addCube(1, Vec3(5, 1, 0.7f));  // near, grazed: its sphere (0.866) reaches the line
  addCube(2, Vec3(20, 1, 0));    // far, through its centre
  addCube(3, Vec3(-8, 1, 0));    // behind the shooter
  add(4, Vec3(-1.0f), Vec3(1.0f), Vec3(3, 1, 0));  // a stairs piece on the line
  tree->untree(4);
  add(5, Vec3(0.0f), Vec3(0.0f), Vec3(4, 1, 0.01f));  // no extent, just off the line
  EXPECT_EQ(tree->pick(0, Vec3(1, 0, 0)), 2u);
  EXPECT_EQ(tree->pick(0, Vec3(-1, 0, 0)), 3u);
  EXPECT_EQ(tree->pick(0, Vec3(0, 0, 1)), kNoObject);
  tree->remove(2);
  EXPECT_EQ(tree->pick(0, Vec3(1, 0, 0)), 1u);
  // Without extent it counts once the line passes through its centre (0 <= 0).
  tree->update(5, glm::translate(Mat4(1.0f), Vec3(4, 1, 0)));
  EXPECT_EQ(tree->pick(0, Vec3(1, 0, 0)), 5u);
}

// The grid must give exactly what walking the tree's query gives, ties between
// several touching objects included: crowds of boxes of mixed sizes (some
// crossing the centre planes, one spanning the map), moved, removed and
// refiled, movers scaled by -1 among them, in trees of every depth the game
// can be given.
TEST_F(OctreeTest, TheGridAgreesWithTheTreesQueryOnCrowds) {
  for (const int levels : {0, 2, 5, 8}) {
    SCOPED_TRACE(levels);
    makeTree(levels);
    boxes.clear();
    std::mt19937 random(7u + static_cast<unsigned>(levels));
    std::uniform_real_distribution<float> across(-30.0f, 30.0f), up(0.0f, 12.0f), size(0.2f, 2.5f);
    for (ObjectId id = 0; id < 300; ++id) {
      const float half = size(random);
      add(id, Vec3(-half, 0.0f, -half), Vec3(half, 2.0f * half, half), Vec3(across(random), up(random), across(random)));
    }
    add(300, Vec3(-40.0f, 0.0f, -0.5f), Vec3(40.0f, 14.0f, 0.5f), Vec3(0.0f));  // a wall across the map
    std::size_t touches = 0;
    for (int round = 0; round < 4; ++round) {
      for (ObjectId id = 0; id < 301; ++id) {
        if (!tree->contains(id)) continue;
        // Every tenth mover tries a negative scale, whose half height is negative.
        const bool mirrored = id % 10 == 0;
        const Mat4 proposed = glm::translate(Mat4(1.0f), Vec3(across(random), up(random), across(random)) * 0.2f) *
                              boxes[id].getModelMatrix() * glm::scale(Mat4(1.0f), Vec3(mirrored ? -1.0f : 1.0f));
        const MoveResult grid = tree->collideTree(id, proposed);
        const MoveResult query = tree->collideTreeByQuery(id, proposed);
        ASSERT_EQ(grid.moved, query.moved) << id;
        ASSERT_EQ(grid.otherId, query.otherId) << id;
        ASSERT_EQ(grid.kind, query.kind) << id;
        touches += grid.moved ? 0 : 1;
        if (grid.moved && !mirrored) tree->update(id, proposed);
      }
      for (ObjectId id = static_cast<ObjectId>(round); id < 300; id += 37) tree->remove(id);
    }
    EXPECT_GT(touches, 100u);  // crowded enough for ties to matter
  }
}
