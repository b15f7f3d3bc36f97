// <windows.h> for the Win32 platform files. The game's own types come first, since the system
// header defines TRUE and FALSE as macros; then the colour macros are taken back, for which the
// game has functions of its own. The platform's own functions are named so that no macro of the
// system header renames them.
#pragma once

#include "platform/Types.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef RGB
#undef GetRValue
#undef GetGValue
#undef GetBValue
