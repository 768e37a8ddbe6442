#pragma once
// The animated characters: the player's soldier and two enemy types, each a
// skinned mesh with its texture atlas and named clips.
#include "Image.h"
#include "MeshData.h"

#include <string>
#include <utility>
#include <vector>

namespace assetgen {

struct CharacterAsset {
    std::string baseName;  // file stem of the model and its texture
    Skeleton skeleton;
    MeshData mesh;
    Image atlas{512, 512};
    std::vector<std::pair<std::string, Clip>> clips;  // (file stem, clip)
};

CharacterAsset buildPlayer();   // clips: idle, walk forward, walk backward, strafe right, strafe left
CharacterAsset buildBrute();    // hunched red brute: walk, death
CharacterAsset buildCrawler();  // thin green six-legged crawler: walk, death

}  // namespace assetgen
