// SDL names keys by scancode; the key-state table is indexed by Windows virtual-key codes.
#pragma once

namespace skyrift::platform {

// The virtual-key code of an SDL scancode on a US layout, or 0 when the game has none for it.
int VirtualKeyFromScancode(int scancode);

}  // namespace skyrift::platform
