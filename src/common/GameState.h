#pragma once
// Process-wide play state: 0 playing, 1 game-over screen, 2 or more quit.
// Only Escape and a lethal contact advance it, one step each.
#include <cstdint>

extern std::int32_t gameState;
