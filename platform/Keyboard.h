// The key-state table, indexed by Windows virtual-key codes and fed by key events.
#pragma once

#include <cstdint>

namespace skyrift::platform {

// 0x8000 while the key is down, plus 0x0001 when it was pressed since the previous query of
// this code; the query clears the 0x0001 bit. Codes outside 1 to 255 read as 0.
int16_t GetAsyncKeyState(int virtualKey);

// A key went down or up. Real key events and tests both come through here.
void KeyEvent(int virtualKey, bool down);

// Lets every key go and forgets every press (a new game process starts this way).
void ResetKeyboard();

}  // namespace skyrift::platform
