#include "game/Cycle.h"

#include "game/Frame.h"
