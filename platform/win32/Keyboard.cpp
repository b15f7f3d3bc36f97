// Keys on Windows: the system's own GetAsyncKeyState, together with the table that tests feed.
#include "platform/Keyboard.h"

#include "platform/win32/Win32.h"

#include "platform/KeyTable.h"
#include "platform/win32/Focus.h"
#include "platform/win32/Keyboard.h"

namespace skyrift::platform {
namespace {

bool ignored[256] = {};

// GetAsyncKeyState reads the physical keyboard whoever has the focus: Alt+Tab would press
// player 1's Tab on the way out. No game key is read from the system while the game's window is
// not the active one or while Alt is held (the system's own shortcuts). Each read asks the
// system (a round trip to the server under Wine), so Alt is asked only about a key that is down.
uint16_t SystemKeyState(int virtualKey) {
  if (!GameWindowHasFocus()) return 0;
  // The system already keeps both bits for every key the player touches.
  const auto state = static_cast<uint16_t>(::GetAsyncKeyState(virtualKey) & 0x8001);
  if (ignored[virtualKey]) {
    // Released: from now on the key is the game's again, without the press it was taken for.
    if ((state & 0x8000) == 0) ignored[virtualKey] = false;
    return 0;
  }
  if (state == 0) return 0;
  if ((::GetAsyncKeyState(VK_MENU) & 0x8000) != 0) {
    // A key pressed with Alt is the system's (Alt+Tab), even if Alt is let go first.
    if ((state & 0x8000) != 0) ignored[virtualKey] = true;
    return 0;
  }
  return state;
}

}  // namespace

void IgnoreUntilReleased(int virtualKey) {
  if (virtualKey > 0 && virtualKey <= 255) ignored[virtualKey] = true;
}

int16_t GetAsyncKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  // The table adds the keys that arrive through KeyEvent.
  return static_cast<int16_t>(QueryKeyTable(virtualKey) | SystemKeyState(virtualKey));
}

}  // namespace skyrift::platform
