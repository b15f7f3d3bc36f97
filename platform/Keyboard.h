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

// The keys the game has given the players' actions. Such a key is the game's alone: F11 then
// switches nothing, and a bound Alt or Windows key is a key like any other. Until the game says
// which keys are its own, none is.
void SetGameKeys(bool (*isGameKey)(int virtualKey));
bool IsGameKey(int virtualKey);

}  // namespace skyrift::platform
