#pragma once
// Where the player's own files live and how they are written: the XDG data
// and config folders, writes that never leave a half-written file (a
// temporary file in the same folder, flushed to disk, then renamed over the
// old one), and a file that cannot be used moved aside instead of lost.
#include <filesystem>
#include <optional>
#include <string>

namespace playerfiles {

// $XDG_DATA_HOME/night-shooter, else ~/.local/share/night-shooter.
std::filesystem::path dataFolder();
// $XDG_CONFIG_HOME/night-shooter, else ~/.config/night-shooter.
std::filesystem::path configFolder();

// The whole file; none when it does not exist. A file that exists but cannot
// be read throws std::runtime_error naming it.
std::optional<std::string> read(const std::filesystem::path& path);
// Makes the folder if needed, writes text to a temporary file beside path,
// flushes it to disk and renames it over path. Throws std::runtime_error
// naming the path and the reason; path is then as it was.
void writeAtomically(const std::filesystem::path& path, const std::string& text);
// Renames path to path + ".bad-YYYYMMDD-HHMMSS" (local time) and returns the
// new path; throws std::runtime_error when it cannot.
std::filesystem::path moveAside(const std::filesystem::path& path);

// Holds an exclusive lock on a lock file beside the data while it lives, so
// that two games never read and write the same file at once.
class Lock {
 public:
  // Waits for the lock on path (made if needed); throws std::runtime_error
  // when the lock file cannot be opened.
  explicit Lock(const std::filesystem::path& path);
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  int descriptor = -1;
};

}  // namespace playerfiles
