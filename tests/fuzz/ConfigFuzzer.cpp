// libFuzzer entry point for the configuration parser. Two properties per input:
// 1. The input loaded as config.txt either loads or fails with one of the
//    documented messages (a line number within the file where it names one);
//    every word of the input that names a stored key reads back consistently
//    with every getter. Any other exception, a crash, a leak or undefined
//    behaviour is a finding.
// 2. A well-formed file generated from the input's bytes (keys and one-word
//    values in the format's characters, with blanks, tabs, comments, blank
//    lines and CR LF line ends around them) loads, and each key reads back
//    exactly its value.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/Config.h"

namespace {

// At most this many keys are read per input, so that an input of many short
// words stays fast.
constexpr std::size_t kMaxKeysRead = 64;

[[noreturn]] void broken(const char* what, const std::string& detail) {
  std::fprintf(stderr, "config_fuzzer: %s (%zu bytes: %.80s)\n", what, detail.size(), detail.c_str());
  std::abort();
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// "prefix" + a decimal line number within 1..lines + "." exactly.
bool namesALine(const std::string& message, const std::string& prefix, std::size_t lines) {
  if (message.rfind(prefix, 0) != 0 || message.back() != '.') return false;
  const std::string digits = message.substr(prefix.size(), message.size() - prefix.size() - 1);
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  const unsigned long number = std::stoul(digits);
  return number >= 1 && number <= lines;
}

void checkFailure(const std::string& message, const std::string& text) {
  std::size_t lines = 1;
  for (char c : text) lines += c == '\n';
  if (message == "CONFIG: Can only have unique key names.") return;
  if (namesALine(message, "CONFIG: Couldn't find separator on line: ", lines)) return;
  if (namesALine(message, "CONFIG: Bad format for line: ", lines)) return;
  broken("a load failed with an undocumented message", message);
}

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
    const std::int32_t atLeast = config.getIntAtLeast(key, std::numeric_limits<std::int32_t>::min());
    if (!number || atLeast != *number) broken("getIntAtLeast over every int differs from getInt", key);
  } catch (const std::invalid_argument&) {
    if (number) broken("getIntAtLeast over every int refused an int", key);
  }
  try {
    (void)config.getFloat(key);
  } catch (const std::invalid_argument&) {
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

void loadAsGiven(const std::string& text) {
  Config& config = Config::instance();
  config.clear();
  try {
    config.loadFromString(text);
  } catch (const std::invalid_argument& failure) {
    checkFailure(failure.what(), text);
  }
  // Every word of the input is a candidate key.
  std::size_t read = 0;
  std::set<std::string> tried;
  std::string word;
  for (std::size_t i = 0; i <= text.size() && read < kMaxKeysRead; ++i) {
    const char c = i < text.size() ? text[i] : ' ';
    if (!isBlank(c) && c != '=' && c != '#') {
      word += c;
      continue;
    }
    if (!word.empty() && tried.insert(word).second && config.hasKey(word)) {
      readAll(config, word);
      ++read;
    }
    word.clear();
  }
}

// Characters a generated key or one-word value is made of.
const char kKeyChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._";
const char kValueChars[] = "abcdefXYZ0123456789.+-_/=:,;()[]{}!?*&%$\"'`~^|@<>\\";

void roundTrip(const std::uint8_t* data, std::size_t size) {
  std::string text;
  std::vector<std::pair<std::string, std::string>> entries;
  std::set<std::string> keys;
  std::size_t at = 0;
  const auto next = [&]() -> unsigned { return at < size ? data[at++] : 0u; };
  while (at < size && entries.size() < 200) {
    const unsigned shape = next();
    std::string key, value;
    for (unsigned n = 1 + next() % 24; n > 0; --n) key += kKeyChars[next() % (sizeof kKeyChars - 1)];
    for (unsigned n = 1 + next() % 24; n > 0; --n) value += kValueChars[next() % (sizeof kValueChars - 1)];
    if (!keys.insert(key).second) continue;
    if (shape & 1) text += shape & 2 ? "\t " : "  ";
    text += key;
    text += shape & 4 ? " = " : "=";
    text += value;
    if (shape & 8) text += " \t";
    if (shape & 16) text += " # a comment = with # marks";
    text += shape & 32 ? "\r\n" : "\n";
    if (shape & 64) text += shape & 128 ? "# a line of comment only\n" : "   \n";
    entries.emplace_back(key, value);
  }
  Config& config = Config::instance();
  config.clear();
  try {
    config.loadFromString(text);
  } catch (const std::invalid_argument& failure) {
    broken("a well-formed file did not load", failure.what());
  }
  for (const auto& [key, value] : entries) {
    if (config.getString(key) != value) broken("a value did not read back", key);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  loadAsGiven(std::string(reinterpret_cast<const char*>(data), size));
  roundTrip(data, size);
  Config::instance().clear();
  return 0;
}
