#include "engine/Fine.h"

#include "platform/Types.h"
#include "sprites/Sprite.h"
