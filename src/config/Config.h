#pragma once
// The process-wide key/value store read from config.txt. Values are kept as
// text and converted on every read; every failure throws std::invalid_argument
// with a "CONFIG: " message.
#include <cstdint>
#include <map>
#include <string>

class Config {
 public:
  // The one store, created empty on the first call.
  static Config& instance();

  void setPath(std::string path);
  const std::string& getPath() const { return path; }

  // Reads the file at the path and adds its entries; stops at the first bad line.
  void load();
  // Parses text as if it were the file's content (tests and tools use it).
  void loadFromString(const std::string& text);
  // Forgets every entry (tests only: the game loads exactly once).
  void clear();

  bool hasKey(const std::string& key) const;
  std::int32_t getInt(const std::string& key) const;
  float getFloat(const std::string& key) const;
  std::string getString(const std::string& key) const;  // first word of the value
  bool getBool(const std::string& key) const;           // 0 or 1 only
  // The switch of an addition to the game (the HUD, sound, ...): absent means
  // off, so a file holding only the game's own keys plays without it;
  // present, it reads as getBool.
  bool isOn(const std::string& key) const;

  // getInt for a setting that cannot be below a minimum (a window side):
  // "CONFIG: <key> must be at least <minimum>, got <value>.".
  std::int32_t getIntAtLeast(const std::string& key, std::int32_t minimum) const;

  // Read the specific key when present, otherwise the fallback key.
  std::int32_t getIntWithFallback(std::string key, std::string fallbackKey) const;
  float getFloatWithFallback(std::string key, std::string fallbackKey) const;

 private:
  Config() = default;
  const std::string& value(const std::string& key) const;
  void parseLine(const std::string& line, int number);

  std::map<std::string, std::string> entries;
  std::string path;
  char commentChar = '#';
};

// The path the game loads, relative to the working directory (build/game/bin).
extern const std::string kConfigPath;
