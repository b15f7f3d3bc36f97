// Backgrounds: which part of its image a scrolling layer shows as it moves and where it stops,
// keyed and opaque layers, plain fills, and the star field's use of the random numbers.
#include <gtest/gtest.h>

#include <memory>

#include "graphics/Background.h"
#include "platform/Random.h"
#include "tests/BmpBytes.h"

namespace skyrift {
namespace {

namespace bmp = skyrift::testing;
using platform::Surface;

constexpr COLORREF kGrey = RGB(90, 90, 90);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kCodeBits = 13;  // enough to number 5000 rows or columns

// A black and white image whose first 13 columns (or rows) spell each row's (or column's)
// number in binary, so a drawn frame says which part of the image it shows.
class NumberedImage {
 public:
  NumberedImage(int width, int height, bool numberRows) {
    bmp::BmpForm form;
    form.width = width;
    form.height = height;
    form.palette = {RGB(0, 0, 0), kWhite};
    form.index = [numberRows](int x, int y) {
      const int bit = numberRows ? x : y;
      const int number = numberRows ? y : x;
      return static_cast<uint8_t>(bit < kCodeBits ? (number >> bit) & 1 : 0);
    };
    resource_ = std::make_unique<bmp::OneResource>(1, bmp::MakeBmp(form));
    image.LoadFromResource(nullptr, 1, resource_->Module());
  }
  Bitmap image;

 private:
  std::unique_ptr<bmp::OneResource> resource_;
};

int RowShown(const Surface& frame, int y) {
  int number = 0;
  for (int bit = 0; bit < kCodeBits; ++bit) number |= (frame.GetPixel(bit, y) == kWhite) << bit;
  return number;
}
int ColumnShown(const Surface& frame, int x) {
  int number = 0;
  for (int bit = 0; bit < kCodeBits; ++bit) number |= (frame.GetPixel(x, bit) == kWhite) << bit;
  return number;
}

// Draws the layer on a fresh 900 x 732 frame and checks that the 600 rows of the play area
// show image rows first .. first + 599.
void ExpectRows(ScrollingLayer& layer, int first) {
  auto frame = Surface::CreateTarget(900, 732, kGrey);
  layer.Draw(frame.get());
  int wrong = 0;
  for (int y = 0; y < 600; ++y) wrong += RowShown(*frame, y) != first + y;
  EXPECT_EQ(wrong, 0) << "first row " << first << ", shown " << RowShown(*frame, 0);
}

void ExpectColumns(ScrollingLayer& layer, int first) {
  auto frame = Surface::CreateTarget(900, 732, kGrey);
  layer.Draw(frame.get());
  int wrong = 0;
  for (int x = 0; x < 900; ++x) wrong += ColumnShown(*frame, x) != first + x;
  EXPECT_EQ(wrong, 0) << "first column " << first << ", shown " << ColumnShown(*frame, 0);
}

TEST(ScrollingLayer, ViewUpStartsAtTheBottomAndClimbsToTheTop) {
  NumberedImage far(900, 5000, true);
  ScrollingLayer layer(&far.image, 900, 600, ViewUp, 2, FALSE, kMagenta);
  ExpectRows(layer, 4400);
  layer.Update();
  ExpectRows(layer, 4398);
  for (int update = 2; update <= 2199; ++update) layer.Update();
  ExpectRows(layer, 2);
  layer.Update();
  ExpectRows(layer, 0);
  for (int update = 0; update < 50; ++update) layer.Update();
  EXPECT_EQ(layer.GetViewHeight(), 5000);
  ExpectRows(layer, 0);
}

TEST(ScrollingLayer, ViewRightSlidesToTheRightEndAndStays) {
  NumberedImage near(5000, 600, false);
  ScrollingLayer layer(&near.image, 900, 600, ViewRight, 2, TRUE, kMagenta);
  ExpectColumns(layer, 0);
  for (int update = 1; update <= 2049; ++update) layer.Update();
  EXPECT_EQ(layer.GetOffset(), 4098);
  layer.Update();
  EXPECT_EQ(layer.GetOffset(), 4100);
  for (int update = 0; update < 50; ++update) layer.Update();
  EXPECT_EQ(layer.GetOffset(), 4100);
  ExpectColumns(layer, 4100);
}

// The end test comes before the step, so a speed that does not divide the distance passes the
// end once; the rows or columns beyond the image are simply not drawn.
TEST(ScrollingLayer, ViewDownAndViewLeftStopAfterAStepThatMayPassTheEnd) {
  NumberedImage tall(20, 40, true);
  ScrollingLayer down(&tall.image, 20, 14, ViewDown, 4, FALSE, kMagenta);
  auto frame = Surface::CreateTarget(20, 20, kGrey);
  down.Draw(frame.get());
  EXPECT_EQ(RowShown(*frame, 0), 0);
  EXPECT_EQ(RowShown(*frame, 13), 13);
  for (int update = 0; update < 20; ++update) down.Update();
  EXPECT_EQ(down.GetOffset(), 28);
  frame = Surface::CreateTarget(20, 20, kGrey);
  down.Draw(frame.get());
  EXPECT_EQ(RowShown(*frame, 0), 28);
  EXPECT_EQ(RowShown(*frame, 11), 39);
  EXPECT_EQ(frame->GetPixel(0, 12), kGrey);

  NumberedImage wide(40, 20, false);
  ScrollingLayer left(&wide.image, 14, 20, ViewLeft, 4, FALSE, kMagenta);
  frame = Surface::CreateTarget(60, 20, kGrey);
  left.Draw(frame.get());
  EXPECT_EQ(ColumnShown(*frame, 0), 26);
  EXPECT_EQ(frame->GetPixel(14, 0), kGrey);
  for (int update = 0; update < 20; ++update) left.Update();
  EXPECT_EQ(left.GetViewWidth(), 42);
  frame = Surface::CreateTarget(60, 20, kGrey);
  left.Draw(frame.get());
  EXPECT_EQ(frame->GetPixel(1, 0), kGrey);
  EXPECT_EQ(ColumnShown(*frame, 2), 0);
  EXPECT_EQ(ColumnShown(*frame, 41), 39);

  // Any other direction neither moves nor draws.
  ScrollingLayer still(&wide.image, 14, 20, 5, 4, FALSE, kMagenta);
  still.Update();
  frame = Surface::CreateTarget(60, 20, kGrey);
  still.Draw(frame.get());
  EXPECT_EQ(frame->GetPixel(0, 0), kGrey);
  EXPECT_EQ(still.GetOffset(), 0);
  EXPECT_EQ(still.GetViewWidth(), 14);
}

// An opaque layer scrolled up or down keeps the rows it shows converted and copies them: frame
// after frame, with the play area clipped or the whole frame open, and at a step past the image's
// end, it must draw what the plain copy of its region draws.
TEST(ScrollingLayer, KeptRowsDrawWhatThePlainCopyOfTheRegionDraws) {
  NumberedImage tall(30, 200, true);
  for (const int direction : {ViewUp, ViewDown}) {
    for (const int speed : {1, 2, 3}) {
      for (const int clipBottom : {50, 80}) {
        SCOPED_TRACE(::testing::Message() << "direction " << direction << ", speed " << speed
                                          << ", clip " << clipBottom);
        ScrollingLayer layer(&tall.image, 30, 50, direction, speed, FALSE, kMagenta);
        auto frame = Surface::CreateTarget(30, 80, kGrey);
        auto plain = Surface::CreateTarget(30, 80, kGrey);
        for (Surface* target : {frame.get(), plain.get()})
          target->SetClip(RECT{0, 0, 30, clipBottom});
        for (int update = 0; update < 200 / speed; ++update) {
          layer.Draw(frame.get());
          const int top = direction == ViewUp ? 200 - layer.GetViewHeight() : layer.GetOffset();
          tall.image.DrawRegion(plain.get(), 0, 0, 0, top, 30, layer.GetViewHeight(), FALSE);
          int wrong = 0;
          for (int y = 0; y < 80; ++y) wrong += RowShown(*frame, y) != RowShown(*plain, y);
          ASSERT_EQ(wrong, 0) << "update " << update << ", top " << top;
          layer.Update();
        }
      }
    }
  }
}

TEST(Background, KeyedLayersShowWhatIsBehindAndOpaqueOnesCopyMagenta) {
  bmp::BmpForm form;
  form.width = 6;
  form.height = 4;
  form.palette = {kMagenta, RGB(0, 0, 200)};
  form.index = [](int x, int) { return static_cast<uint8_t>(x % 2); };
  const bmp::OneResource resource(1, bmp::MakeBmp(form));
  Bitmap image(nullptr, 1, resource.Module());

  auto frame = Surface::CreateTarget(10, 10, kGrey);
  ScrollingLayer keyed(&image, 6, 4, ViewUp, 1, TRUE, kMagenta);
  keyed.Draw(frame.get());
  EXPECT_EQ(frame->GetPixel(0, 0), kGrey);
  EXPECT_EQ(frame->GetPixel(1, 0), RGB(0, 0, 200));

  ScrollingLayer opaque(&image, 6, 4, ViewUp, 1, FALSE, kMagenta);
  opaque.Draw(frame.get());
  EXPECT_EQ(frame->GetPixel(0, 0), kMagenta);

  // A plain background draws its picture opaque, or fills its own area.
  frame = Surface::CreateTarget(10, 10, kGrey);
  Background(&image).Draw(frame.get());
  EXPECT_EQ(frame->GetPixel(2, 3), kMagenta);
  EXPECT_EQ(frame->GetPixel(6, 3), kGrey);
  Background(7, 2, RGB(0, 90, 0)).Draw(frame.get());
  EXPECT_EQ(frame->GetPixel(6, 1), RGB(0, 90, 0));
  EXPECT_EQ(frame->GetPixel(7, 1), kGrey);
  EXPECT_EQ(frame->GetPixel(4, 2), kMagenta);
}

TEST(StarField, KeepsAtMostAHundredStarsAndTwinklesOnlyInUpdate) {
  platform::SeedRandom(1234);
  StarField field(300, 200, 150, 3);
  ASSERT_EQ(field.GetStarCount(), 100);
  platform::SeedRandom(1234);
  for (int i = 0; i < 100; ++i) {
    const int x = platform::Random() % 300;
    const int y = platform::Random() % 200;
    EXPECT_EQ(field.GetStar(i), (POINT{x, y})) << i;
    EXPECT_EQ(field.GetStarColour(i), RGB(128, 128, 128));
  }

  // Drawing takes no random numbers and changes nothing.
  auto frame = Surface::CreateTarget(310, 210, kWhite);
  platform::SeedRandom(99);
  field.Draw(frame.get());
  const int next = platform::Random();
  platform::SeedRandom(99);
  EXPECT_EQ(next, platform::Random());
  EXPECT_EQ(frame->GetPixel(field.GetStar(7).x, field.GetStar(7).y), RGB(128, 128, 128));
  EXPECT_EQ(frame->GetPixel(305, 5), kWhite);
  int black = 0;
  for (int x = 0; x < 300; ++x) black += frame->GetPixel(x, 100) == 0;
  EXPECT_GE(black, 290);

  platform::SeedRandom(5);
  field.Update();
  platform::SeedRandom(5);
  int twinkled = 0;
  for (int i = 0; i < 100; ++i) {
    COLORREF expected = RGB(128, 128, 128);
    if (platform::Random() % 3 == 0) {
      const auto level = static_cast<uint8_t>(platform::Random() % 256);
      expected = RGB(level, level, level);
      ++twinkled;
    }
    EXPECT_EQ(field.GetStarColour(i), expected) << i;
  }
  EXPECT_GT(twinkled, 10);
}

}  // namespace
}  // namespace skyrift
