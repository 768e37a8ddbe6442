#pragma once
// A box in which an enemy may appear; max = min + the shared start-box size.
#include "common/Types.h"

struct StartPoint {
  Vec3 min{0.0f};
  Vec3 max{0.0f};
};
