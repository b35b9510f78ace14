#include "game/GameState.h"
