#include "game/Frame.h"

#include "game/Cycle.h"
