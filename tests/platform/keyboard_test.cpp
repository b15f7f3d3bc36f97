// The key-state table: down while held, "pressed since the last query" until asked once, and
// the keys the system keeps for itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Keyboard.h"

namespace skyrift::platform {
namespace {

class Keys : public ::testing::Test {
 protected:
  Keys() { ResetKeyboard(); }
};

TEST_F(Keys, AHeldKeyReadsDownAndItsPressOnlyOnce) {
  EXPECT_EQ(GetAsyncKeyState(32), 0);
  KeyEvent(32, true);
  EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(32)), 0x8001);
  EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(32)), 0x8000) << "the query clears the press";
  EXPECT_LT(GetAsyncKeyState(32), 0) << "down reads as negative";
  KeyEvent(32, false);
  EXPECT_EQ(GetAsyncKeyState(32), 0);
}

TEST_F(Keys, ATapBetweenQueriesIsSeenOnceButNotAsDown) {
  KeyEvent(0x41, true);
  KeyEvent(0x41, false);
  EXPECT_EQ(GetAsyncKeyState(0x41), 1) << "touched, not down: not 'untouched'";
  EXPECT_EQ(GetAsyncKeyState(0x41), 0);
}

TEST_F(Keys, EachCodeKeepsItsOwnPressBit) {
  KeyEvent(37, true);
  KeyEvent(39, true);
  EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(37)), 0x8001);
  EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(39)), 0x8001);
}

TEST_F(Keys, RepeatedDownEventsDoNotRearmThePress) {
  KeyEvent(38, true);
  GetAsyncKeyState(38);
  KeyEvent(38, true);  // auto-repeat of a held key
  EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(38)), 0x8000);
}

TEST_F(Keys, GenericShiftIsDownWhileEitherSideIs) {
  KeyEvent(0xA0, true);
  KeyEvent(0xA1, true);
  KeyEvent(0xA0, false);
  EXPECT_LT(GetAsyncKeyState(0x10), 0);
  KeyEvent(0xA1, false);
  EXPECT_EQ(GetAsyncKeyState(0x10), 0) << "up once both sides are";
}

// A key pressed while an Alt or Windows key is held is the system's (Alt+Tab, Win+G) until it is
// released, even when the modifier goes first; a modifier that the game binds holds nothing back.
TEST_F(Keys, AKeyPressedWithAnUnboundAltOrWindowsKeyHeldIsTheSystemsUntilReleased) {
  constexpr int kTab = 0x09, kLeftAlt = 0xA4, kRightAlt = 0xA5, kLeftWin = 0x5B, kRightWin = 0x5C;
  static std::vector<int> bound;
  SetGameKeys([](int code) { return std::find(bound.begin(), bound.end(), code) != bound.end(); });
  const struct {
    const char* what;
    int modifier;
    std::vector<int> bound;
    bool games;
  } cases[] = {
      {"left Alt", kLeftAlt, {}, false},
      {"right Alt", kRightAlt, {}, false},
      {"left Windows key", kLeftWin, {}, false},
      {"right Windows key", kRightWin, {}, false},
      {"Alt bound", kLeftAlt, {0x12}, true},
      {"right Alt, Alt bound", kRightAlt, {0x12}, true},
      {"right Alt, only the left one bound", kRightAlt, {kLeftAlt}, false},
      {"the Windows key bound", kLeftWin, {kLeftWin}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ResetKeyboard();
    bound = c.bound;
    KeyEvent(c.modifier, true);
    KeyEvent(kTab, true);
    KeyEvent(c.modifier, false);
    EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(kTab)), c.games ? 0x8001 : 0);
    KeyEvent(kTab, false);
    EXPECT_EQ(GetAsyncKeyState(kTab), 0);
    KeyEvent(kTab, true);
    EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(kTab)), 0x8001)
        << "released, it is the game's";
    KeyEvent(kTab, false);
  }
  SetGameKeys(nullptr);
}

TEST_F(Keys, UnboundAndOutOfRangeCodesAreNeverDown) {
  KeyEvent(0, true);
  KeyEvent(300, true);
  EXPECT_EQ(GetAsyncKeyState(0), 0);
  EXPECT_EQ(GetAsyncKeyState(300), 0);
  EXPECT_EQ(GetAsyncKeyState(-5), 0);
}

}  // namespace
}  // namespace skyrift::platform
