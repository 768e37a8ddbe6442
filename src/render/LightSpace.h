#pragma once
// Where one light looks from: the matrices its shadow map is rendered with and
// that object drawing uses to look the shadow up again.
#include "common/Types.h"

struct LightSpace {
  Vec3 position{0.0f};
  Vec3 direction{0.0f};
  Mat4 projection{1.0f};
  Mat4 view{1.0f};
};
