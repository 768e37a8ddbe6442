// Every model and animation that config.txt names, imported the way the game
// imports it: one mesh with normals and texture coordinates, a diffuse
// texture that exists, the joint, weight and vertex limits, and one named
// animation per animation file whose tracks drive joints of the model.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "ContentFiles.h"

namespace {

struct ModelCase {
  std::string name;
  std::vector<std::string> animations;  // animation names; empty for a static model
};

std::vector<ModelCase> modelCases(const Config& config) {
  std::vector<ModelCase> cases;
  ModelCase player{"maincharacter", {}};
  for (int i = 0; i < 5; ++i) player.animations.push_back(config.getString("maincharacter.animation" + std::to_string(i)));
  cases.push_back(player);
  for (const std::string& enemy : content::enemyTypeNames(config))
    cases.push_back({enemy, {config.getString(enemy + ".animation0"), config.getString(enemy + ".animation1")}});
  for (const std::string& piece : content::mapPieceNames()) cases.push_back({piece, {}});
  return cases;
}

void collectNodeNames(const aiNode* node, std::multiset<std::string>& names) {
  names.insert(node->mName.C_Str());
  for (unsigned i = 0; i < node->mNumChildren; ++i) collectNodeNames(node->mChildren[i], names);
}

class ContentAssets : public ::testing::Test {
 protected:
  void SetUp() override { config = &content::loadGameConfig(); }
  void TearDown() override { Config::instance().clear(); }
  Config* config = nullptr;
};

TEST_F(ContentAssets, EveryModelImportsAsTheGameNeedsIt) {
  for (const ModelCase& c : modelCases(*config)) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path path = content::gamePath(config->getString(c.name + ".path"));
    ASSERT_TRUE(std::filesystem::exists(path)) << path << " is missing: build the assets target";
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path.string(), content::kImportFlags);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 1u);
    const aiMesh* mesh = scene->mMeshes[0];
    EXPECT_TRUE(mesh->HasNormals());
    EXPECT_TRUE(mesh->HasTextureCoords(0));
    EXPECT_LE(mesh->mNumVertices, 65536u);
    EXPECT_GT(mesh->mNumFaces, 0u);

    const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
    ASSERT_GE(aiGetMaterialTextureCount(material, aiTextureType_DIFFUSE), 1u);
    aiString texture;
    ASSERT_EQ(aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &texture), AI_SUCCESS);
    const std::string modelPath = path.string();
    EXPECT_TRUE(std::filesystem::exists(modelPath.substr(0, modelPath.rfind('/')) + "/" + texture.C_Str()))
        << texture.C_Str();

    // Model extents start at the origin: feet (or a floor's top) must sit on it.
    aiVector3D lo(0, 0, 0), hi(0, 0, 0);
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
      lo.x = std::min(lo.x, mesh->mVertices[i].x), lo.y = std::min(lo.y, mesh->mVertices[i].y);
      hi.y = std::max(hi.y, mesh->mVertices[i].y);
    }

    if (c.animations.empty()) {
      EXPECT_EQ(mesh->mNumBones, 0u);
      continue;
    }
    EXPECT_NEAR(lo.y, 0.0f, 0.01f) << "a character's feet stand on its origin";
    ASSERT_GT(mesh->mNumBones, 0u);
    EXPECT_LE(mesh->mNumBones, 100u);
    std::multiset<std::string> nodes;
    collectNodeNames(scene->mRootNode, nodes);
    std::vector<float> weightSum(mesh->mNumVertices, 0.0f);
    std::vector<int> influenceCount(mesh->mNumVertices, 0);
    for (unsigned b = 0; b < mesh->mNumBones; ++b) {
      const aiBone* bone = mesh->mBones[b];
      EXPECT_EQ(nodes.count(bone->mName.C_Str()), 1u) << "bone " << bone->mName.C_Str() << " needs one node";
      EXPECT_GT(bone->mNumWeights, 0u) << bone->mName.C_Str() << " carries no weight";
      for (unsigned w = 0; w < bone->mNumWeights; ++w) {
        weightSum[bone->mWeights[w].mVertexId] += bone->mWeights[w].mWeight;
        ++influenceCount[bone->mWeights[w].mVertexId];
      }
    }
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
      ASSERT_LE(influenceCount[v], 4) << "vertex " << v;
      ASSERT_NEAR(weightSum[v], 1.0f, 1e-4f) << "vertex " << v;
    }

    for (size_t a = 0; a < c.animations.size(); ++a) {
      SCOPED_TRACE(c.animations[a]);
      Assimp::Importer animationImporter;
      const std::filesystem::path animationPath = content::gamePath(config->getString(c.animations[a] + ".path"));
      const aiScene* animated = animationImporter.ReadFile(animationPath.string(), content::kImportFlags);
      ASSERT_NE(animated, nullptr) << animationImporter.GetErrorString();
      ASSERT_EQ(animated->mNumAnimations, 1u);
      const aiAnimation* animation = animated->mAnimations[0];
      EXPECT_GT(animation->mName.length, 0u);
      EXPECT_GT(animation->mDuration, 0.0);
      for (unsigned ch = 0; ch < animation->mNumChannels; ++ch) {
        const aiNodeAnim* channel = animation->mChannels[ch];
        EXPECT_EQ(nodes.count(channel->mNodeName.C_Str()), 1u)
            << "track " << channel->mNodeName.C_Str() << " drives no joint of the model";
      }
      // Looped clips (the player's five and every enemy's walk) must end where
      // they begin, or the loop jumps.
      const bool looped = c.name == "maincharacter" || a == 0;
      if (!looped) continue;
      for (unsigned ch = 0; ch < animation->mNumChannels; ++ch) {
        const aiNodeAnim* channel = animation->mChannels[ch];
        const aiQuaternion& first = channel->mRotationKeys[0].mValue;
        const aiQuaternion& last = channel->mRotationKeys[channel->mNumRotationKeys - 1].mValue;
        float dot = first.x * last.x + first.y * last.y + first.z * last.z + first.w * last.w;
        EXPECT_GT(std::fabs(dot), 0.9999f) << channel->mNodeName.C_Str();
        const aiVector3D delta = channel->mPositionKeys[0].mValue - channel->mPositionKeys[channel->mNumPositionKeys - 1].mValue;
        EXPECT_LT(delta.Length(), 1e-4f) << channel->mNodeName.C_Str();
      }
    }
  }
}

}  // namespace
