#pragma once
// The ten best scores, best first, each with the date and time its game
// ended. As text, one game a line, "<points> <YYYY-MM-DD> <HH:MM>"; blank
// lines and lines that start with '#' are passed over.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ScoreBoard {
 public:
  struct Entry {
    std::int32_t points = 0;
    std::string when;  // "YYYY-MM-DD HH:MM"
  };
  static constexpr std::size_t kKept = 10;

  // The board the text holds; anything else throws std::invalid_argument
  // naming the line ("line 3: ...").
  static ScoreBoard parse(const std::string& text);
  // Adds a game below every score at least as high; the place it took (0:
  // the best), none when it is not among the ten.
  std::optional<std::size_t> add(std::int32_t points, const std::string& when);
  // The text parse() reads back, with a heading comment.
  std::string format() const;

  const std::vector<Entry>& entries() const { return best; }

 private:
  std::vector<Entry> best;
};
