#pragma once
// The game record of one placed object, keyed by object id.
#include <cstdint>
#include <map>

#include "common/Types.h"

struct ObjectProperties {
  float speed = 0.0f;         // units per second
  std::int32_t health = 0;
  std::int32_t damage = 0;
  float opacity = 1.0f;
  std::int32_t points = 0;
};

// Ordered map from id to record; at() on an absent id throws std::out_of_range.
using PropertyTable = std::map<ObjectId, ObjectProperties>;
