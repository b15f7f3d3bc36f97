// The parts of the game's start and end that stand a game up: also how the tests and the
// benchmarks make their engine, so that theirs is the game's.
#pragma once

#include "engine/Engine.h"

namespace skyrift {

// The play area's size and the frame rate set, and the engine made with the window's names,
// icons and size (not yet its window). Null when memory runs out.
Engine* MakeGameEngine(HINSTANCE instance);

}  // namespace skyrift
