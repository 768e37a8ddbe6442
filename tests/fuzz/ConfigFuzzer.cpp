// libFuzzer entry point for the configuration parser. Each input is loaded as
// the content of config.txt; every key the input seems to name is then read
// with each getter. std::invalid_argument is the parser's documented failure
// and is expected; any other exception, a crash, a leak or undefined behaviour
// is a finding. A few properties the header promises are checked as well.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/Config.h"

namespace {

// At most this many keys are read per input, so that an input of many short
// lines stays fast.
constexpr std::size_t kMaxKeysRead = 64;

[[noreturn]] void broken(const char* what, const std::string& key) {
  std::fprintf(stderr, "config_fuzzer: %s (key of %zu bytes)\n", what, key.size());
  std::abort();
}

struct Line {
  std::string key;    // as the parser should store it ("" when the line holds none)
  bool entry = false;  // the line is neither blank nor only a comment
};

// The lines of the input with the key each one names: the text before the
// first '=' with the comment cut off, its leading blanks dropped, up to the next
// blank. Mirrors the documented file format so that a successful load can be
// checked to hold every key.
std::vector<Line> linesOf(const std::string& text) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    std::string raw;
    if (end == std::string::npos) {
      raw = text.substr(begin);
      begin = text.size();
    } else {
      raw = text.substr(begin, end - begin);
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      begin = end + 1;
    }
    raw = raw.substr(0, raw.find('#'));
    Line line;
    line.entry = raw.find_first_not_of(' ') != std::string::npos;
    const std::size_t separator = raw.find('=');
    if (line.entry && separator != std::string::npos) {
      std::string key = raw.substr(0, separator);
      const std::size_t start = key.find_first_not_of(" \t");
      if (start != std::string::npos) {
        key = key.substr(start);
        line.key = key.substr(0, key.find_first_of(" \t"));
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Reads one stored key with every getter.
void readAll(const Config& config, const std::string& key) {
  std::optional<bool> flag;
  try {
    flag = config.getBool(key);
  } catch (const std::invalid_argument&) {
  }
  std::optional<std::int32_t> number;
  try {
    number = config.getInt(key);
  } catch (const std::invalid_argument&) {
  }
  // The same stream rules read both: a switch is exactly an integer 0 or 1.
  const bool zeroOrOne = number && (*number == 0 || *number == 1);
  if (flag.has_value() != zeroOrOne) broken("getBool and getInt disagree on a switch", key);
  if (flag && *number != (*flag ? 1 : 0)) broken("getBool and getInt read different values", key);

  try {
    const std::int32_t whole = config.getIntInRange(key, std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max());
    if (!number || whole != *number) broken("getIntInRange over every int differs from getInt", key);
  } catch (const std::invalid_argument&) {
    if (number) broken("getIntInRange over every int refused an int", key);
  }
  try {
    const std::int32_t small = config.getIntInRange(key, -1, 1);
    if (small < -1 || small > 1) broken("getIntInRange returned a value outside its range", key);
  } catch (const std::invalid_argument&) {
  }

  std::optional<float> real;
  try {
    real = config.getFloat(key);
  } catch (const std::invalid_argument&) {
  }
  try {
    const float positive = config.getPositiveFloat(key);
    if (!(positive > 0.0f) || !real || positive != *real) broken("getPositiveFloat differs from getFloat", key);
  } catch (const std::invalid_argument&) {
    if (real && *real > 0.0f) broken("getPositiveFloat refused a positive float", key);
  }

  try {
    const std::string word = config.getString(key);
    if (word.empty()) broken("getString returned an empty word", key);
    for (char c : word)
      if (isBlank(c)) broken("getString returned more than one word", key);
  } catch (const std::invalid_argument&) {
  }
  try {
    (void)config.getIntWithFallback(key, key);
  } catch (const std::invalid_argument&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Config& config = Config::instance();
  config.clear();
  bool loaded = true;
  try {
    config.loadFromString(text);
  } catch (const std::invalid_argument&) {
    loaded = false;
  }

  std::size_t read = 0;
  for (const Line& line : linesOf(text)) {
    if (line.key.empty()) {
      // A line that is neither blank, a comment nor a key = value pair must
      // have failed the load.
      if (loaded && line.entry) broken("a line without a key loaded", line.key);
      continue;
    }
    if (!config.hasKey(line.key)) {
      if (loaded) broken("a successful load lost a key", line.key);
      continue;
    }
    if (read++ < kMaxKeysRead) readAll(config, line.key);
  }
  config.clear();
  return 0;
}
