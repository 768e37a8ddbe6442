#include "sound/SourcePool.h"

SourcePool::SourcePool(std::size_t size) : started(size, 0) {}

std::optional<std::size_t> SourcePool::acquire(const std::function<bool(std::size_t)>& busy) {
  if (started.empty()) return std::nullopt;
  std::size_t chosen = started.size();
  std::size_t oldest = 0;
  for (std::size_t i = 0; i < started.size(); ++i) {
    if (started[i] == 0 || !busy(i)) {
      chosen = i;
      break;
    }
    if (started[i] < started[oldest]) oldest = i;
  }
  if (chosen == started.size()) chosen = oldest;
  started[chosen] = next++;
  return chosen;
}
