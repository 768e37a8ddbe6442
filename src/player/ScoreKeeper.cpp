#include "player/ScoreKeeper.h"

#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "player/PlayerFiles.h"
#include "player/ScoreBoard.h"

namespace {

std::string now() {
  const std::time_t time = std::time(nullptr);
  std::tm local{};
  localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

}  // namespace

ScoreKeeper::ScoreKeeper(std::filesystem::path scoreFolder, std::ostream& errorStream)
    : folder(std::move(scoreFolder)), errors(&errorStream) {}

ScoreKeeper::Result ScoreKeeper::record(std::int32_t points) {
  const std::filesystem::path file = folder / "scores.txt";
  ScoreBoard board;
  std::optional<playerfiles::Lock> lock;
  try {
    lock.emplace(folder / "scores.lock");
    try {
      if (const std::optional<std::string> text = playerfiles::read(file)) board = ScoreBoard::parse(*text);
    } catch (const std::exception& unusable) {
      // Never lost: the file stays beside the new one for the player to look at.
      const std::filesystem::path aside = playerfiles::moveAside(file);
      *errors << "SCORES: " << file.string() << " could not be used (" << unusable.what() << "); moved it to "
              << aside.string() << " and started a new list." << std::endl;
    }
  } catch (const std::exception& failure) {
    if (!toldUnwritable) *errors << "SCORES: " << failure.what() << "; the score is not kept." << std::endl;
    toldUnwritable = true;
    lock.reset();
  }
  const bool hadBest = !board.entries().empty();
  const std::int32_t previousBest = hadBest ? board.entries().front().points : 0;
  board.add(points, now());
  if (lock) {
    try {
      playerfiles::writeAtomically(file, board.format());
    } catch (const std::exception& failure) {
      if (!toldUnwritable) *errors << "SCORES: " << failure.what() << "; the score is not kept." << std::endl;
      toldUnwritable = true;
    }
  }
  return {board.entries().front().points, !hadBest || points > previousBest};
}
