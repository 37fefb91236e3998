#include "engine/game_state.h"

GameState gameState;
