// The browser layer's own parts that a page's events and the Gamepad API feed, checked under
// node: which keys reach the game and which the browser is kept from, how a pad reads, and the
// lettering in the embedded face.
#include <emscripten.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/Clock.h"
#include "platform/Keyboard.h"
#include "platform/Surface.h"
#include "platform/web/Pad.h"
#include "platform/web/Page.h"

namespace skyrift::platform {
namespace {

constexpr int kEnter = 0x0D, kF11 = 0x7A, kLeft = 0x25, kSpace = 0x20, kTab = 0x09, kA = 0x41;

bool Down(int code) {
  return (GetAsyncKeyState(code) & 0x8000) != 0;
}

class PageKeys : public ::testing::Test {
 protected:
  void SetUp() override { ResetKeyboard(); }
  void TearDown() override { ResetKeyboard(); }
};

TEST_F(PageKeys, GameKeysReachTheTableAndTheBrowserKeepsOnlyItsOwnFromThem) {
  const struct {
    int code;
    bool keptFromBrowser;
  } cases[] = {{kLeft, true}, {kSpace, true}, {kTab, true}, {kEnter, true}, {kA, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(SkyriftKey(c.code, 1, 0, 0), c.keptFromBrowser ? 1 : 0);
    EXPECT_TRUE(Down(c.code));
    // A held key's repeats are kept from the browser the same way, and press nothing again.
    GetAsyncKeyState(c.code);
    EXPECT_EQ(SkyriftKey(c.code, 1, 0, 1), c.keptFromBrowser ? 1 : 0);
    EXPECT_EQ(GetAsyncKeyState(c.code) & 1, 0);
    SkyriftKey(c.code, 0, 0, 0);
    EXPECT_FALSE(Down(c.code));
  }
}

TEST_F(PageKeys, F11AndAltEnterSwitchFullscreenWithoutTheGameSeeingThem) {
  EXPECT_EQ(SkyriftKey(kF11, 1, 0, 0), 1);
  EXPECT_EQ(GetAsyncKeyState(kF11), 0);
  SkyriftKey(kF11, 0, 0, 0);

  // Alt let go before Enter: the Enter is still fullscreen's until it is released.
  EXPECT_EQ(SkyriftKey(kEnter, 1, 1, 0), 1);
  EXPECT_EQ(SkyriftKey(kEnter, 1, 0, 1), 1);
  EXPECT_EQ(SkyriftKey(kEnter, 0, 0, 0), 1);
  EXPECT_EQ(GetAsyncKeyState(kEnter), 0);

  // The next Enter is the game's again.
  SkyriftKey(kEnter, 1, 0, 0);
  EXPECT_TRUE(Down(kEnter));
}

TEST_F(PageKeys, AnF11APlayerHasBoundIsThatPlayersKey) {
  SetGameKeys([](int code) { return code == kF11; });
  SkyriftKey(kF11, 1, 0, 0);
  EXPECT_TRUE(Down(kF11));
  SetGameKeys(nullptr);
}

TEST_F(PageKeys, LosingTheFocusLetsEveryKeyGo) {
  SkyriftKey(kLeft, 1, 0, 0);
  SkyriftActive(-1);  // the canvas lost the focus, the page kept it
  EXPECT_FALSE(Down(kLeft));
}

TEST(PagePads, AStandardPadReadsAsAControllerAndAnyOtherAsAJoystick) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* what;
    PagePad pad;
    uint32_t x, y, buttons;
  } cases[] = {
      {"centred", {0, 0, 0, true}, 32768, 32768, 0},
      {"stick to the corners", {-1, 1, 0, true}, 0, 65535, 0},
      {"beyond the axis and not a number", {-3, nan, 0, true}, 0, 32768, 0},
      {"A, Y and a shoulder; triggers, select, start and the sticks are no game's",
       {0, 0, 0b1111'1101'1001u, true},
       32768,
       32768,
       0b011001},
      {"d-pad up and right over the stick", {-1, 1, (1u << 12) | (1u << 15), true}, 65535, 0, 0},
      {"d-pad down and left", {0, 0, (1u << 13) | (1u << 14), true}, 0, 65535, 0},
      {"a plain joystick has no d-pad buttons", {0.5f, 0, 1u << 14, false}, 49151, 32768, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const GamepadReading reading = ReadingFromPage(c.pad);
    EXPECT_NEAR(reading.x, c.x, 1);
    EXPECT_NEAR(reading.y, c.y, 1);
    EXPECT_EQ(reading.buttons, c.buttons);
  }
}

// A count from the page's start would seed the random numbers alike on every visit.
TEST(PageClock, TheTickCountIsNotThePagesAge) {
  const auto age = static_cast<uint32_t>(emscripten_get_now());
  const uint32_t ticks = GetTickCount();
  EXPECT_GT(TicksBetween(age, ticks), 3'600'000u) << "ticks " << ticks << ", age " << age;
}

// The lit box of what was lettered in `ink`, blended edges included.
RECT Lettered(const Surface& target, COLORREF ink) {
  RECT lit{target.Width(), target.Height(), -1, -1};
  for (int y = 0; y < target.Height(); ++y) {
    for (int x = 0; x < target.Width(); ++x) {
      const COLORREF pixel = target.GetPixel(x, y);
      if (pixel == 0) continue;
      EXPECT_EQ(pixel & ~ink, 0u) << "a blend of the ink over black, at " << x << "," << y;
      lit = RECT{std::min(lit.left, x), std::min(lit.top, y), std::max(lit.right, x + 1),
                 std::max(lit.bottom, y + 1)};
    }
  }
  return lit;
}

TEST(PageText, LetteringInTheFaceIsRightAlignedCentredAndClippedToItsBox) {
  const COLORREF ink = RGB(255, 255, 0);
  auto target = Surface::CreateTarget(200, 40, 0);
  target->WriteText(RECT{10, 0, 150, 40}, "1234", ink);
  const RECT lit = Lettered(*target, ink);
  EXPECT_GE(lit.right, 146) << "ends at the box's right edge";
  EXPECT_LE(lit.right, 150);
  EXPECT_GT(lit.right - lit.left, 20) << "four digits of a 15-pixel face";
  EXPECT_LT(lit.right - lit.left, 50);
  EXPECT_NEAR((lit.top + lit.bottom) / 2.0, 20, 3) << "centred on the box's middle";
  EXPECT_GT(lit.bottom - lit.top, 7) << "a digit's height";

  auto wider = Surface::CreateTarget(200, 40, 0);
  wider->WriteText(RECT{10, 0, 150, 40}, "12345678", ink);
  EXPECT_LT(Lettered(*wider, ink).left, lit.left - 20) << "more digits reach further left";

  auto clipped = Surface::CreateTarget(200, 40, 0);
  clipped->WriteText(RECT{120, 18, 150, 24}, "12345678", ink);
  const RECT inside = Lettered(*clipped, ink);
  EXPECT_GE(inside.left, 120);
  EXPECT_GE(inside.top, 18);
  EXPECT_LE(inside.bottom, 24);
  EXPECT_LE(inside.right, 150);
  EXPECT_GT(inside.right, inside.left) << "the part inside the box is lettered";
}

}  // namespace
}  // namespace skyrift::platform
