// One line of the game's lettering centred in a rectangle. The platform letters text
// right-aligned; the ink's width is found once by lettering it apart, then the line is lettered
// in place over whatever the target holds, so its edges blend with the real ground.
#pragma once

#include <string>

#include "platform/Surface.h"

namespace skyrift {

// Letters `text` centred across `area` and vertically centred in it; a line wider than the area
// is squeezed across to fit it.
void LetterCentred(HDC dc, const RECT& area, const std::string& text, COLORREF colour);

}  // namespace skyrift
