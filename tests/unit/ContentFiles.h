#pragma once
// Helpers for the content tests: the game's own config.txt loaded into the
// store, paths resolved from the game's working directory (build/game/bin),
// and models imported with the game's import flags.
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/Config.h"

namespace content {

constexpr unsigned kImportFlags = aiProcess_Triangulate | aiProcess_GenSmoothNormals;

inline Config& loadGameConfig() {
  std::ifstream file(std::string(SOURCE_DIR) + "/game/config.txt");
  std::stringstream text;
  text << file.rdbuf();
  Config& config = Config::instance();
  config.clear();
  config.loadFromString(text.str());
  return config;
}

// A path from config.txt as the running game sees it.
inline std::filesystem::path gamePath(const std::string& configured) {
  return std::filesystem::path(RUNTIME_DIR) / "bin" / configured;
}

inline std::vector<std::string> mapPieceNames() {
  std::vector<std::string> names = {"map.floor0", "map.floor1", "map.floor1small", "map.floor2",
                                    "map.floor2small", "map.stairs0", "map.stairs1"};
  for (int i = 0; i <= 8; ++i) names.push_back("map.wall" + std::to_string(i));
  for (int i = 1; i <= 3; ++i) names.push_back("lamp" + std::to_string(i));
  return names;
}

inline std::vector<std::string> enemyTypeNames(const Config& config) {
  std::vector<std::string> names;
  for (int n = 1; n <= config.getInt("enemy.types"); ++n)
    names.push_back(config.getString("enemy.type." + std::to_string(n)));
  return names;
}

}  // namespace content
