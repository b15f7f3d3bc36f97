// A surface's pixels as a DIB section selected into a memory device context, so that GDI can
// letter into them and copy them to the window. Shared only by the Win32 files that draw.
#pragma once

#include "platform/Surface.h"
#include "platform/win32/Win32.h"

namespace skyrift::platform {

struct DibPixels : Surface::Pixels {
  ::HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previousBitmap = nullptr;
  HGDIOBJ previousFont = nullptr;  // set once the game's face is selected, which it then stays
  ~DibPixels() override;
};

// The memory device context that holds a surface's pixels.
inline ::HDC DeviceContext(Surface& surface) {
  return static_cast<DibPixels&>(surface.pixels()).dc;
}

}  // namespace skyrift::platform
