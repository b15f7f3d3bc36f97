// <windows.h> for the Win32 platform files. The game's own types come first, since the system
// header defines TRUE and FALSE as macros; then the macros that would rename the platform's
// functions of the same names (FindResource, PeekMessage, DrawText) are taken back, and so are
// the colour macros, for which the game has functions of its own.
#pragma once

#include "platform/Types.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef FindResource
#undef PeekMessage
#undef DrawText
#undef RGB
#undef GetRValue
#undef GetGValue
#undef GetBValue
