#include "sprites/Climber.h"

#include "engine/Engine.h"
#include "world/Globals.h"
