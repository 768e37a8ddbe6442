#pragma once
// Process-wide play state: 0 playing, 1 game-over screen, 2 or more quit.
// Escape advances it one step; a lethal contact ends the play (endPlay).
#include <cstdint>

extern std::int32_t gameState;

// From playing to the game-over screen; once the play has ended, nothing more,
// so two lethal contacts in one frame still leave the screen to be shown.
void endPlay();
