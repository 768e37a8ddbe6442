#pragma once
// Keeps the best scores in "scores.txt" in the player's data folder, under a
// lock so that two games ending at once both keep theirs. Never stops play: a
// file it cannot read or parse is moved aside, a folder it cannot write
// costs one line on the error stream, and the game goes on.
#include <cstdint>
#include <filesystem>
#include <iostream>

class ScoreKeeper {
 public:
  // Keeps the file in folder; its lines go to errors.
  explicit ScoreKeeper(std::filesystem::path folder, std::ostream& errors = std::cerr);

  struct Result {
    std::int32_t best = 0;  // the best score, this game's included
    bool newBest = false;   // this game beat every kept score
  };
  // Adds a game that ends now with these points.
  Result record(std::int32_t points);

 private:
  std::filesystem::path folder;
  std::ostream* errors;
  bool toldUnwritable = false;  // the line about an unwritable folder comes once
};
