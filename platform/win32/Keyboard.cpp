// Keys on Windows: the system's own GetAsyncKeyState, together with the table that tests feed.
#include "platform/Keyboard.h"

#include "platform/win32/Win32.h"

#include "platform/KeyTable.h"

namespace skyrift::platform {

int16_t GetAsyncKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  // The system already keeps both bits for every key the player touches; the table adds the
  // keys that arrive through KeyEvent.
  const auto system = static_cast<uint16_t>(::GetAsyncKeyState(virtualKey));
  return static_cast<int16_t>(QueryKeyTable(virtualKey) | (system & 0x8001));
}

}  // namespace skyrift::platform
