#include "common/GameState.h"

std::int32_t gameState = 0;
