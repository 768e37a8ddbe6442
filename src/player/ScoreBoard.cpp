#include "player/ScoreBoard.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace {

bool isDigits(const std::string& text, std::size_t from, std::size_t count) {
  if (from + count > text.size()) return false;
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                     text.begin() + static_cast<std::ptrdiff_t>(from + count),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

// "YYYY-MM-DD HH:MM".
bool isWhen(const std::string& when) {
  return when.size() == 16 && isDigits(when, 0, 4) && when[4] == '-' && isDigits(when, 5, 2) && when[7] == '-' &&
         isDigits(when, 8, 2) && when[10] == ' ' && isDigits(when, 11, 2) && when[13] == ':' && isDigits(when, 14, 2);
}

}  // namespace

ScoreBoard ScoreBoard::parse(const std::string& text) {
  ScoreBoard board;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
    const auto refuse = [number](const std::string& why) {
      throw std::invalid_argument("line " + std::to_string(number) + ": " + why);
    };
    const std::size_t space = line.find(' ');
    const std::string points = line.substr(0, space);
    const std::string when = space == std::string::npos ? std::string() : line.substr(space + 1);
    const bool negative = !points.empty() && points[0] == '-';
    if (points.size() == (negative ? 1u : 0u) || !isDigits(points, negative ? 1 : 0, points.size() - (negative ? 1 : 0)) ||
        points.size() > 11) {
      refuse("not a score");
    }
    const long long value = std::stoll(points);
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
      refuse("not a score");
    }
    if (!isWhen(when)) refuse("no date and time");
    board.add(static_cast<std::int32_t>(value), when);
  }
  return board;
}

std::optional<std::size_t> ScoreBoard::add(std::int32_t points, const std::string& when) {
  const auto place = std::find_if(best.begin(), best.end(), [points](const Entry& e) { return e.points < points; });
  const std::size_t index = static_cast<std::size_t>(place - best.begin());
  if (index >= kKept) return std::nullopt;
  best.insert(place, Entry{points, when});
  if (best.size() > kKept) best.pop_back();
  return index;
}

std::string ScoreBoard::format() const {
  std::string text = "# Night Shooter: the ten best scores, with the date and time each game ended.\n";
  for (const Entry& entry : best) text += std::to_string(entry.points) + " " + entry.when + "\n";
  return text;
}
