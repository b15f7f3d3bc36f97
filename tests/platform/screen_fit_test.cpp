// How the 900 x 732 frame meets screens of every common shape and scale: the letterbox in
// fullscreen, the window that fits the usable area, and the nearest-neighbour copy with its bars.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/ScreenFit.h"

namespace skyrift::platform {
namespace {

constexpr int kFrameWidth = 900, kFrameHeight = 732;

TEST(ScreenFit, FullscreenIsTheLargestRectangleOfTheFramesShapeCentredWithBarsOnTwoSides) {
  struct Case {
    int screenWidth, screenHeight;
    Placement picture;
  };
  const Case cases[] = {
      {1920, 1080, {296, 0, 1327, 1080}},  // bars at the sides
      {1366, 768, {211, 0, 944, 768}},
      {1280, 720, {197, 0, 885, 720}},
      {3840, 2160, {592, 0, 2655, 2160}},
      {2560, 1080, {616, 0, 1327, 1080}},  // wide bars at the sides
      {1080, 1920, {0, 521, 1080, 878}},   // portrait: bars above and below
      {900, 732, {0, 0, 900, 732}},        // the frame's own size: no bars
      {1800, 1464, {0, 0, 1800, 1464}},    // twice the frame's size
      {859, 699, {0, 0, 859, 699}},        // the frame's shape to within rounding: no bar
  };
  for (const Case& c : cases) {
    const Placement got = Letterbox(kFrameWidth, kFrameHeight, c.screenWidth, c.screenHeight);
    EXPECT_EQ(got, c.picture) << c.screenWidth << " x " << c.screenHeight << ": " << got.x << ","
                              << got.y << " " << got.width << " x " << got.height;
  }
}

TEST(ScreenFit, TheWindowTakesTheMonitorsScaleUnlessItWouldNotFitThenTheLargestThatDoes) {
  struct Case {
    int dpi, extraWidth, extraHeight, usableWidth, usableHeight;
    int clientWidth, clientHeight;
  };
  const Case cases[] = {
      {96, 0, 0, 1920, 1080, 900, 732},       // fits: exactly the frame
      {96, 0, 0, 900, 732, 900, 732},         // a screen of exactly the frame with no frame around
      {96, 16, 39, 900, 732, 852, 693},       // the same screen, but the caption must fit too
      {96, 10, 27, 1280, 720, 852, 693},      // a small screen, no taskbar
      {96, 16, 39, 1366, 728, 847, 689},      // 1366 x 768 above a 40-pixel taskbar
      {96, 16, 39, 1920, 1040, 900, 732},     // room to spare
      {120, 16, 39, 1920, 1040, 1125, 915},   // 125%
      {144, 16, 39, 2560, 1400, 1350, 1098},  // 150%
      {144, 20, 48, 1920, 1040, 1219, 992},   // 150% on a 1080-line screen: shrunk to fit
      {192, 32, 78, 3840, 2120, 1800, 1464},  // 200% on a 4K screen
      {192, 32, 78, 2560, 1400, 1625, 1322},  // 200% that does not fit
  };
  for (const Case& c : cases) {
    const Placement got = FitWindow(kFrameWidth, kFrameHeight, c.dpi, c.extraWidth, c.extraHeight,
                                    c.usableWidth, c.usableHeight);
    EXPECT_EQ(got.width, c.clientWidth)
        << c.dpi << " dpi on " << c.usableWidth << " x " << c.usableHeight;
    EXPECT_EQ(got.height, c.clientHeight)
        << c.dpi << " dpi on " << c.usableWidth << " x " << c.usableHeight;
    EXPECT_LE(got.width + c.extraWidth, c.usableWidth);
    EXPECT_LE(got.height + c.extraHeight, c.usableHeight);
    // The picture fills such a window whole: no stray bar along an edge.
    EXPECT_EQ(Letterbox(kFrameWidth, kFrameHeight, got.width, got.height),
              (Placement{0, 0, got.width, got.height}));
  }
}

// Pixels as 32-bit words, one row after another.
std::vector<uint32_t> Pixels(int width, int height, uint32_t start) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = start + static_cast<uint32_t>(i);
  return pixels;
}

TEST(ScreenFit, EachPixelTakesTheSourcePixelUnderItsCentreAndOnlyTheBarsTurnBlack) {
  const std::vector<uint32_t> source = Pixels(4, 2, 1);  // 1 2 3 4 / 5 6 7 8
  const auto* from = reinterpret_cast<const uint8_t*>(source.data());

  // Doubled into the middle of a 10 x 6 target: every pixel a 2 x 2 block, bars left and right
  // and above and below.
  std::vector<uint32_t> target(10 * 6, 0xDEADBEEF);
  auto* to = reinterpret_cast<uint8_t*>(target.data());
  const Placement doubled{1, 1, 8, 4};
  FillBars(to, 10 * 4, 10, 6, doubled);
  ScaleNearest(from, 4 * 4, 4, 2, to, 10 * 4, doubled);
  const std::vector<uint32_t> expected = {
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
      0, 1, 1, 2, 2, 3, 3, 4, 4, 0,  //
      0, 1, 1, 2, 2, 3, 3, 4, 4, 0,  //
      0, 5, 5, 6, 6, 7, 7, 8, 8, 0,  //
      0, 5, 5, 6, 6, 7, 7, 8, 8, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
  };
  EXPECT_EQ(target, expected);

  // Halved: the pixel under each centre, not an average (sharp, and no colour the frame lacks).
  std::vector<uint32_t> small(2, 0);
  ScaleNearest(from, 4 * 4, 4, 2, reinterpret_cast<uint8_t*>(small.data()), 2 * 4,
               Placement{0, 0, 2, 1});
  EXPECT_EQ(small, (std::vector<uint32_t>{6, 8}));

  // Three source columns over four target columns: the middle one is drawn twice, none is lost.
  const std::vector<uint32_t> three = Pixels(3, 1, 1);
  std::vector<uint32_t> four(4, 0);
  ScaleNearest(reinterpret_cast<const uint8_t*>(three.data()), 3 * 4, 3, 1,
               reinterpret_cast<uint8_t*>(four.data()), 4 * 4, Placement{0, 0, 4, 1});
  EXPECT_EQ(four, (std::vector<uint32_t>{1, 2, 2, 3}));

  // Runs of two and three: each exactly as long as its share, nothing written past the picture.
  const std::vector<uint32_t> two = Pixels(2, 1, 1);
  std::vector<uint32_t> five(6, 0xDEADBEEF);
  ScaleNearest(reinterpret_cast<const uint8_t*>(two.data()), 2 * 4, 2, 1,
               reinterpret_cast<uint8_t*>(five.data()), 6 * 4, Placement{0, 0, 5, 1});
  EXPECT_EQ(five, (std::vector<uint32_t>{1, 1, 2, 2, 2, 0xDEADBEEF}));
}

}  // namespace
}  // namespace skyrift::platform
