#include <gtest/gtest.h>

#include "scene/MeshVAO.h"
#include "scene/Parser.h"

TEST(ParserTexturePath, TextureLiesInTheModelsFolderFoundByTheLastSlash) {
  struct Case {
    const char* model;
    const char* texture;
    const char* expected;
  };
  const Case cases[] = {
      {"../assets/map/floor.obj", "stone.png", "../assets/map/stone.png"},
      {"/abs/deep/path/x.dae", "sub/skin.tga", "/abs/deep/path/sub/skin.tga"},
      // Without a slash the whole model path is taken as the folder.
      {"tree.obj", "bark.png", "tree.obj/bark.png"},
      // A backslash is no separator.
      {"..\\assets\\lamp.obj", "glass.png", "..\\assets\\lamp.obj/glass.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    EXPECT_EQ(textureBesideModel(c.model, c.texture), c.expected);
  }
}

TEST(ParserBoneInfluence, AVertexKeepsTheFirstFourWeightsInBoneOrder) {
  BoneInfluence influence;
  const float weights[5] = {0.1f, 0.2f, 0.3f, 0.25f, 0.15f};
  bool kept[5];
  for (int bone = 0; bone < 5; ++bone) kept[bone] = addBoneWeight(influence, bone + 10, weights[bone]);
  EXPECT_TRUE(kept[0] && kept[1] && kept[2] && kept[3]);
  EXPECT_FALSE(kept[4]);
  for (int slot = 0; slot < 4; ++slot) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(influence.boneIds[static_cast<std::size_t>(slot)], slot + 10);
    EXPECT_EQ(influence.weights[static_cast<std::size_t>(slot)], weights[slot]);
  }
}

TEST(ParserBoneInfluence, AZeroWeightLeavesItsSlotFreeForTheNextBone) {
  BoneInfluence influence;
  addBoneWeight(influence, 3, 0.0f);
  addBoneWeight(influence, 4, 0.7f);
  EXPECT_EQ(influence.boneIds[0], 4);
  EXPECT_EQ(influence.weights[0], 0.7f);
  EXPECT_EQ(influence.weights[1], 0.0f);
}
