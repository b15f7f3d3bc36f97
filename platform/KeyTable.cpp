// The key table that key events feed, shared by the layers: on SDL and the null layer it is the
// whole of the key state; on Windows it adds the keys that tests inject to what the system
// reports.
#include "platform/KeyTable.h"

#include <array>

#include "platform/Keyboard.h"

namespace skyrift::platform {
namespace {

std::array<bool, 256> down{};
std::array<bool, 256> pressedSinceQuery{};

void SetKey(int code, bool isDown) {
  if (isDown && !down[code]) pressedSinceQuery[code] = true;
  down[code] = isDown;
}

// The generic Shift, Ctrl and Alt codes are down while either side's key is.
constexpr struct {
  int generic, left, right;
} kSidedKeys[] = {{0x10, 0xA0, 0xA1}, {0x11, 0xA2, 0xA3}, {0x12, 0xA4, 0xA5}};

}  // namespace

int QueryKeyTable(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  const int state = (down[virtualKey] ? 0x8000 : 0) | (pressedSinceQuery[virtualKey] ? 1 : 0);
  pressedSinceQuery[virtualKey] = false;
  return state;
}

void KeyEvent(int virtualKey, bool isDown) {
  if (virtualKey <= 0 || virtualKey > 255) return;
  SetKey(virtualKey, isDown);
  for (const auto& keys : kSidedKeys) {
    if (virtualKey == keys.left || virtualKey == keys.right) {
      SetKey(keys.generic, down[keys.left] || down[keys.right]);
    }
  }
}

void ResetKeyboard() {
  down.fill(false);
  pressedSinceQuery.fill(false);
}

}  // namespace skyrift::platform
