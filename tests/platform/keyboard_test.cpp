// The key-state table: down while held, "pressed since the last query" until asked once.
#include <gtest/gtest.h>

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

TEST_F(Keys, UnboundAndOutOfRangeCodesAreNeverDown) {
  KeyEvent(0, true);
  KeyEvent(300, true);
  EXPECT_EQ(GetAsyncKeyState(0), 0);
  EXPECT_EQ(GetAsyncKeyState(300), 0);
  EXPECT_EQ(GetAsyncKeyState(-5), 0);
}

}  // namespace
}  // namespace skyrift::platform
