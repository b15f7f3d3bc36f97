// Keys on Windows: the system's own GetAsyncKeyState, together with the table that tests feed.
#include "platform/Keyboard.h"

#include "platform/win32/Win32.h"

#include "platform/KeyTable.h"
#include "platform/win32/Keyboard.h"

namespace skyrift::platform {
namespace {
bool ignored[256] = {};
}  // namespace

void IgnoreUntilReleased(int virtualKey) {
  if (virtualKey > 0 && virtualKey <= 255) ignored[virtualKey] = true;
}

int16_t GetAsyncKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  // The system already keeps both bits for every key the player touches; the table adds the
  // keys that arrive through KeyEvent.
  auto system = static_cast<uint16_t>(::GetAsyncKeyState(virtualKey));
  if (ignored[virtualKey]) {
    if (system & 0x8000) return 0;
    // Released: from now on the key is the game's again, without the press it was taken for.
    ignored[virtualKey] = false;
    system = 0;
  }
  return static_cast<int16_t>(QueryKeyTable(virtualKey) | (system & 0x8001));
}

}  // namespace skyrift::platform
