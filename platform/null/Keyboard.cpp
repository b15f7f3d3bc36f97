// No system keyboard: the key state is the table that key events, scripted by tests, feed.
#include "platform/KeyTable.h"
#include "platform/Keyboard.h"

namespace skyrift::platform {

// A real system: feed KeyEvent from the system's key events with Windows virtual-key codes; answer
// from the table while the window has the focus.
int16_t GetAsyncKeyState(int virtualKey) {
  return static_cast<int16_t>(QueryKeyTable(virtualKey));
}

}  // namespace skyrift::platform
