// The table of keys fed by KeyEvent, for the platforms' GetAsyncKeyState, and the rule every
// layer applies to a key going down.
#pragma once

namespace skyrift::platform {

// 0x8000 while the key is down in the table, plus 0x0001 when it was pressed since the previous
// query of this code; the query clears the 0x0001 bit. Codes outside 1 to 255 read as 0.
int QueryKeyTable(int virtualKey);

// The generic Shift, Ctrl and Alt codes stand for either side's key.
struct SidedKey {
  int generic, left, right;
};
inline constexpr SidedKey kSidedKeys[] = {
    {0x10, 0xA0, 0xA1}, {0x11, 0xA2, 0xA3}, {0x12, 0xA4, 0xA5}};

// Whether a key going down now is the system's until it is released: an Alt or Windows key that
// is not a game key is held (Alt+Tab, Win+G). `held` says whether a key is down at that moment.
bool PressedForSystem(int virtualKey, bool (*held)(int virtualKey));

}  // namespace skyrift::platform
