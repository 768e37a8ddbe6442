#include "player/PlayerFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace playerfiles {

namespace {

std::filesystem::path xdgFolder(const char* variable, const char* fallback) {
  const char* set = std::getenv(variable);
  // The specification ignores a relative value.
  if (set != nullptr && set[0] == '/') return std::filesystem::path(set) / "night-shooter";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : ".") / fallback / "night-shooter";
}

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, int error) {
  throw std::runtime_error(what + " " + path.string() + ": " + std::strerror(error));
}

}  // namespace

std::filesystem::path dataFolder() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

std::filesystem::path configFolder() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }

std::optional<std::string> read(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) fail("cannot read", path, errno);
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) fail("cannot read", path, errno);
  return text.str();
}

void writeAtomically(const std::filesystem::path& path, const std::string& text) {
  std::error_code made;
  std::filesystem::create_directories(path.parent_path(), made);
  if (made) fail("cannot make", path.parent_path(), made.value());
  std::string temporary = path.string() + ".tmp-XXXXXX";
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) fail("cannot write", path, errno);
  // mkstemp makes the file for its owner alone; a player's file is as any other.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  std::size_t written = 0;
  int error = 0;
  while (written < text.size() && error == 0) {
    const ssize_t n = ::write(descriptor, text.data() + written, text.size() - written);
    if (n < 0 && errno != EINTR) error = errno;
    if (n > 0) written += static_cast<std::size_t>(n);
  }
  // On disk before it replaces the old file, so a crash leaves one or the other.
  if (error == 0 && fsync(descriptor) != 0) error = errno;
  if (close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    std::remove(temporary.c_str());
    fail("cannot write", path, error);
  }
  // The rename itself is on disk once the folder is.
  const int folder = open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
}

std::filesystem::path moveAside(const std::filesystem::path& path) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::filesystem::path aside = path.string() + ".bad-" + stamp;
  if (std::rename(path.c_str(), aside.c_str()) != 0) fail("cannot move aside", path, errno);
  return aside;
}

Lock::Lock(const std::filesystem::path& path) {
  std::error_code made;
  std::filesystem::create_directories(path.parent_path(), made);
  descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (descriptor < 0) fail("cannot lock", path, errno);
  while (flock(descriptor, LOCK_EX) != 0) {
    if (errno != EINTR) {
      const int error = errno;
      close(descriptor);
      fail("cannot lock", path, error);
    }
  }
}

Lock::~Lock() {
  if (descriptor >= 0) close(descriptor);  // closing releases the lock
}

}  // namespace playerfiles
