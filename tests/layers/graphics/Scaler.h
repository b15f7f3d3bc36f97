// A tree for the include check's own test: graphics/ and sprites/ break the layering once each,
// engine/ includes only what lies below it.
#pragma once

#include <SDL.h>
#include "platform/Surface.h"
