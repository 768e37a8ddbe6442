#pragma once
// The outcome of a move or of one collision test.
#include <cstdint>

#include "common/Types.h"

struct MoveResult {
  bool moved = false;            // the move was carried out (for a collision test: nothing touched)
  ObjectId otherId = kNoObject;  // the object run into, kNoObject for none
  std::int32_t kind = 0;         // 0 none, 1 ordinary contact, 2 the other lies under the mover's feet
};
