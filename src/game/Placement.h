#pragma once
// Where one placed object is: position, facing and the fixed configured
// rotation and scale, with the model matrix built from them.
#include "common/Types.h"

class BoundingBox;

struct Placement {
  BoundingBox* box = nullptr;  // not owned: the object's Render owns it
  Vec3 position{0.0f};
  float facing = 0.0f;  // radians; facing direction (sin, 0, cos)
  Mat4 rotation{1.0f};  // configured rotation about the vertical axis
  Mat4 scale{1.0f};
  Mat4 model{1.0f};  // translate(position) * rotate(facing) * rotation * scale
};
