#include "common/GameState.h"

std::int32_t gameState = 0;

void endPlay() {
  if (gameState < 1) gameState = 1;
}
