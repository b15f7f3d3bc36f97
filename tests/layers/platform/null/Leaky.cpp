// The null layer reaching past the standard library: a system header and another layer's.
#include <cstdint>
#include "platform/Window.h"
#include <windows.h>
#include "platform/sdl/Pixels.h"
