#pragma once
// Which of a fixed number of sources a new one-shot sound plays on: a free
// one, else the one whose sound started longest ago, so a crowd of enemies
// can never run the game out of sources. Knows slots, not OpenAL.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class SourcePool {
 public:
  explicit SourcePool(std::size_t size);

  // The slot for a sound starting now; busy(slot) tells whether a slot still
  // plays. None only for a pool of size 0.
  std::optional<std::size_t> acquire(const std::function<bool(std::size_t)>& busy);
  std::size_t size() const { return started.size(); }

 private:
  std::vector<std::uint64_t> started;  // per slot, when its sound started (0: never)
  std::uint64_t next = 1;
};
