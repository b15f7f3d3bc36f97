// The key table that key events feed, shared by the layers: on SDL and the null layer it is the
// whole of the key state; on Windows it adds the keys that tests inject to what the system
// reports. Which keys are the game's, and which the system keeps, is decided here for every
// layer alike.
#include "platform/KeyTable.h"

#include <array>

#include "platform/Keyboard.h"

namespace skyrift::platform {
namespace {

std::array<bool, 256> down{};
std::array<bool, 256> pressedSinceQuery{};
std::array<bool, 256> system{};  // went down as the system's; not the game's until released
bool (*gameKeys)(int) = nullptr;

void SetKey(int code, bool isDown) {
  if (isDown && !down[code]) pressedSinceQuery[code] = true;
  down[code] = isDown;
}

constexpr int kAlt = 0x12;

// The keys that hold the others back for the system while held: each Alt and each Windows key.
constexpr struct {
  int code;
  bool alt;  // binding the generic Alt makes both Alt keys the game's
} kSystemModifiers[] = {{0xA4, true}, {0xA5, true}, {0x5B, false}, {0x5C, false}};

}  // namespace

void SetGameKeys(bool (*isGameKey)(int)) {
  gameKeys = isGameKey;
}

bool IsGameKey(int virtualKey) {
  return gameKeys != nullptr && virtualKey > 0 && virtualKey <= 255 && gameKeys(virtualKey);
}

bool PressedForSystem(int virtualKey, bool (*held)(int)) {
  for (const auto& modifier : kSystemModifiers) {
    if (modifier.code == virtualKey || !held(modifier.code)) continue;
    if (IsGameKey(modifier.code) || (modifier.alt && IsGameKey(kAlt))) continue;
    return true;
  }
  return false;
}

int QueryKeyTable(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  const int state = (down[virtualKey] ? 0x8000 : 0) | (pressedSinceQuery[virtualKey] ? 1 : 0);
  pressedSinceQuery[virtualKey] = false;
  return state;
}

void KeyEvent(int virtualKey, bool isDown) {
  if (virtualKey <= 0 || virtualKey > 255) return;
  if (isDown && !down[virtualKey] && !system[virtualKey] &&
      PressedForSystem(virtualKey, [](int code) { return down[code]; })) {
    system[virtualKey] = true;
  }
  if (system[virtualKey]) {
    if (!isDown) system[virtualKey] = false;
    return;
  }
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
  system.fill(false);
}

}  // namespace skyrift::platform
