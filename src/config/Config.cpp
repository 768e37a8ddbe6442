#include "config/Config.h"

#include <cxxabi.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <typeinfo>

const std::string kConfigPath = "../config.txt";

namespace {

[[noreturn]] void fail(const std::string& message) { throw std::invalid_argument("CONFIG: " + message); }

std::string stringTypeName() {
  const char* mangled = typeid(std::string).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                   std::free);
  return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled);
}

template <typename T>
T extract(const std::string& text, const std::string& typeName) {
  std::istringstream stream(text);
  T result{};
  stream >> result;
  if (stream.fail()) fail("Not a valid " + typeName + " received.");
  return result;
}

}  // namespace

Config& Config::instance() {
  static Config store;
  return store;
}

void Config::setPath(std::string newPath) { path = std::move(newPath); }

void Config::clear() { entries.clear(); }

void Config::load() {
  std::ifstream file(path);
  if (!file.is_open()) fail("File " + path + " couldn't be found.");
  std::ostringstream content;
  content << file.rdbuf();
  loadFromString(content.str());
}

void Config::loadFromString(const std::string& text) {
  int number = 0;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    std::string line;
    if (end == std::string::npos) {
      line = text.substr(begin);
      begin = text.size();
    } else {
      line = text.substr(begin, end - begin);
      if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF line end
      begin = end + 1;
    }
    ++number;
    if (line.empty()) continue;
    line = line.substr(0, line.find(commentChar));
    if (line.find_first_not_of(' ') == std::string::npos) continue;
    parseLine(line, number);
  }
}

void Config::parseLine(const std::string& line, int number) {
  const std::size_t separator = line.find('=');
  if (separator == std::string::npos) fail("Couldn't find separator on line: " + std::to_string(number) + ".");

  const std::size_t keyStart = line.find_first_not_of(" \t");
  const bool emptyKey = keyStart == separator;
  const bool nothingAfter = line.find_first_not_of(' ', separator + 1) == std::string::npos;
  if (emptyKey || nothingAfter) fail("Bad format for line: " + std::to_string(number) + ".");

  std::string key = line.substr(keyStart, separator - keyStart);
  key = key.substr(0, key.find_first_of(" \t"));

  std::string value = line.substr(separator + 1);
  const std::size_t valueStart = value.find_first_not_of(" \t");
  if (valueStart == std::string::npos) {
    value.clear();
  } else {
    value = value.substr(valueStart, value.find_last_not_of(" \t") - valueStart + 1);
  }

  if (entries.count(key) != 0) fail("Can only have unique key names.");
  entries.emplace(std::move(key), std::move(value));
}

bool Config::hasKey(const std::string& key) const { return entries.count(key) != 0; }

const std::string& Config::value(const std::string& key) const {
  const auto found = entries.find(key);
  if (found == entries.end()) fail("No key named '" + key + "' exists.");
  return found->second;
}

std::int32_t Config::getInt(const std::string& key) const { return extract<std::int32_t>(value(key), "int"); }

float Config::getFloat(const std::string& key) const { return extract<float>(value(key), "float"); }

bool Config::getBool(const std::string& key) const { return extract<bool>(value(key), "bool"); }

bool Config::isOn(const std::string& key) const { return hasKey(key) && getBool(key); }

std::string Config::getString(const std::string& key) const {
  static const std::string typeName = stringTypeName();
  return extract<std::string>(value(key), typeName);
}

std::int32_t Config::getIntAtLeast(const std::string& key, std::int32_t minimum) const {
  const std::int32_t number = getInt(key);
  if (number < minimum) {
    throw std::invalid_argument("CONFIG: " + key + " must be at least " + std::to_string(minimum) + ", got " +
                                std::to_string(number) + ".");
  }
  return number;
}

std::int32_t Config::getIntWithFallback(std::string key, std::string fallbackKey) const {
  return getInt(hasKey(key) ? key : fallbackKey);
}

float Config::getFloatWithFallback(std::string key, std::string fallbackKey) const {
  return getFloat(hasKey(key) ? key : fallbackKey);
}
