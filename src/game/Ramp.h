#pragma once
// The walking surface of one stairs piece. It rises toward its lower
// coordinate: the surface is at the piece's bottom at `end`, at its top at `start`.
#include <cstdint>

struct Ramp {
  std::int32_t axis = 0;  // 0 climbs along x, 1 along z
  float start = 0.0f;     // lower coordinate on that axis
  float end = 0.0f;       // higher coordinate
  float length = 0.0f;    // end - start
  float height = 0.0f;    // the piece's world height
};
