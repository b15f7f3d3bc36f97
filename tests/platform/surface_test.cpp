// The platform's drawing against a plain per-pixel model of it, on whichever platform is built:
// opaque and keyed copies clipped at every edge and across the keyed copy's tile seams, fills
// and pixels on both kinds of surface, and a line of text placed in its box.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "platform/Surface.h"

namespace skyrift::platform {
namespace {

// An image whose colours change every pixel, with a quarter of it magenta, the key, but for its
// first tile, which has none (a keyed copy draws such a tile through the palette); by default
// 300 x 150, not a whole number of keyed tiles either way.
std::unique_ptr<Surface> PatternImage(int width = 300, int height = 150) {
  std::vector<COLORREF> palette(256);
  for (int i = 0; i < 256; ++i) palette[i] = RGB(i, 255 - i, (i * 7) & 0xFF);
  palette[200] = kMagenta;
  auto image = Surface::CreateIndexed(width, height, palette.data(), 256);
  std::mt19937 random(7);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image->IndexRow(y);
    for (int x = 0; x < width; ++x) {
      const bool opaqueTile = x < Surface::kTileWidth && y < Surface::kTileHeight;
      row[x] = !opaqueTile && random() % 4 == 0 ? 200 : static_cast<uint8_t>(random() % 200);
    }
  }
  return image;
}

// What a copy must leave in the target, clipped to `clip`, worked out one pixel at a time.
std::vector<COLORREF> Expected(const Surface& image, const std::vector<COLORREF>& before, int width,
                               int height, int sx, int sy, int w, int h, int dx, int dy, bool keyed,
                               const RECT& clip = RECT{0, 0, 1 << 30, 1 << 30}) {
  std::vector<COLORREF> after = before;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int fromX = sx + x, fromY = sy + y, toX = dx + x, toY = dy + y;
      if (fromX < 0 || fromY < 0 || fromX >= image.Width() || fromY >= image.Height()) continue;
      if (toX < 0 || toY < 0 || toX >= width || toY >= height) continue;
      if (toX < clip.left || toY < clip.top || toX >= clip.right || toY >= clip.bottom) continue;
      const COLORREF colour = image.GetPixel(fromX, fromY);
      if (!keyed || colour != kMagenta) after[toY * width + toX] = colour;
    }
  }
  return after;
}

std::vector<COLORREF> Pixels(const Surface& surface) {
  std::vector<COLORREF> pixels;
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) pixels.push_back(surface.GetPixel(x, y));
  }
  return pixels;
}

TEST(SurfaceDrawing, CopiesMatchAPixelByPixelModelAtEveryEdgeAndSeam) {
  // The second image ends exactly on a row of tiles.
  for (const int imageHeight : {150, 128}) {
    SCOPED_TRACE(imageHeight);
    auto image = PatternImage(300, imageHeight);
    constexpr int kWidth = 200, kHeight = 120;
    auto target = Surface::CreateTarget(kWidth, kHeight, RGB(1, 2, 3));
    std::mt19937 random(11);
    auto between = [&](int low, int high) {
      return low + static_cast<int>(random() % (high - low + 1));
    };
    for (int round = 0; round < 300; ++round) {
      // Regions that start before, inside and past the image and the target, over tile seams.
      const int sx = between(-40, 320), sy = between(-40, 170), w = between(0, 300),
                h = between(0, 140);
      const int dx = between(-150, 220), dy = between(-100, 140);
      const bool keyed = round % 2 == 0;
      // Every third copy is clipped to a rectangle that may run off the target.
      RECT clip{0, 0, kWidth, kHeight};
      if (round % 3 == 0) {
        clip = RECT{between(-20, 100), between(-20, 60), between(50, 230), between(30, 150)};
        target->SetClip(clip);
      }
      const auto before = Pixels(*target);
      target->Blit(*image, sx, sy, w, h, dx, dy, keyed, kMagenta);
      target->ClearClip();
      ASSERT_EQ(Pixels(*target),
                Expected(*image, before, kWidth, kHeight, sx, sy, w, h, dx, dy, keyed, clip))
          << "round " << round << (keyed ? " keyed" : " opaque") << " from " << sx << "," << sy
          << " size " << w << "x" << h << " to " << dx << "," << dy;
    }
  }
}

TEST(SurfaceDrawing, FillsAndPixelsStayInsideAndIndexedImagesTakeTheNearestColour) {
  auto target = Surface::CreateTarget(10, 8, RGB(0, 0, 0));
  target->Fill(RECT{-5, 6, 4, 20}, RGB(10, 20, 30));
  target->Fill(RECT{6, 2, 3, 5}, RGB(255, 255, 255));  // right before left: nothing
  target->SetPixel(9, 7, RGB(40, 50, 60));
  target->SetPixel(10, 7, RGB(255, 0, 0));  // outside: ignored
  target->SetPixel(10, 3, RGB(255, 0, 0));  // one past a row is not the next row's first
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      const COLORREF expected = (x == 9 && y == 7)  ? RGB(40, 50, 60)
                                : (x < 4 && y >= 6) ? RGB(10, 20, 30)
                                                    : 0;
      ASSERT_EQ(target->GetPixel(x, y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(target->GetPixel(-1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(target->GetPixel(10, 0), 0xFFFFFFFFu);

  // Clipped, a fill and pixels change only what lies inside the clip; cleared, all of it again.
  target->SetClip(RECT{2, 1, 5, 3});
  target->Fill(RECT{0, 0, 10, 8}, RGB(1, 1, 1));
  target->SetPixel(5, 2, RGB(2, 2, 2));
  target->SetPixel(4, 2, RGB(3, 3, 3));
  target->ClearClip();
  target->SetPixel(0, 0, RGB(4, 4, 4));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      const COLORREF expected = (x == 0 && y == 0)                     ? RGB(4, 4, 4)
                                : (x == 4 && y == 2)                   ? RGB(3, 3, 3)
                                : (x >= 2 && x < 5 && y >= 1 && y < 3) ? RGB(1, 1, 1)
                                                                       : 0;
      ASSERT_EQ(target->GetPixel(x, y), expected) << "clipped " << x << "," << y;
    }
  }

  const COLORREF palette[] = {RGB(0, 0, 0), RGB(250, 10, 10), RGB(10, 10, 250)};
  auto image = Surface::CreateIndexed(4, 4, palette, 3);
  image->Fill(RECT{0, 0, 2, 4}, RGB(240, 0, 0));
  image->SetPixel(3, 3, RGB(0, 0, 200));
  EXPECT_EQ(image->GetPixel(1, 2), RGB(250, 10, 10));
  EXPECT_EQ(image->GetPixel(3, 3), RGB(10, 10, 250));
  EXPECT_EQ(image->GetPixel(2, 0), RGB(0, 0, 0));
  EXPECT_EQ(image->GetPixel(4, 0), 0xFFFFFFFFu);
}

// A keyed image is drawn from a converted copy: changing the image or the key must not draw
// the old one. An indexed target stores the nearest colour it has.
TEST(SurfaceDrawing, KeyedCopiesFollowTheImageAndTheKeyAndIndexedTargetsTakeTheNearestColour) {
  auto image = PatternImage();
  auto target = Surface::CreateTarget(300, 150, RGB(1, 2, 3));
  auto drawn = [&](COLORREF key) {
    target->Fill(RECT{0, 0, 300, 150}, RGB(1, 2, 3));
    target->Blit(*image, 0, 0, 300, 150, 0, 0, true, key);
    return Pixels(*target);
  };
  const std::vector<COLORREF> clear(300 * 150, RGB(1, 2, 3));
  for (const auto& change : std::vector<std::function<void()>>{
           [&] {
             image->Fill(RECT{10, 70, 280, 80}, kMagenta);
           },                                         // across both tile columns
           [&] { image->SetPixel(0, 0, kMagenta); },  // the opaque tile gains a clear pixel
           [&] { image->IndexRow(149)[299] = 200; },
           [&] {
             auto patch = PatternImage(40, 40);
             patch->Fill(RECT{0, 0, 40, 40}, kMagenta);
             image->Blit(*patch, 0, 0, 40, 40, 100, 60, false, 0);  // copied onto the image
           }}) {
    drawn(kMagenta);
    change();
    EXPECT_EQ(drawn(kMagenta), Expected(*image, clear, 300, 150, 0, 0, 300, 150, 0, 0, true));
  }
  const COLORREF other = image->GetPixel(5, 5);
  auto byOtherKey = Expected(*image, clear, 300, 150, 0, 0, 300, 150, 0, 0, false);
  for (COLORREF& pixel : byOtherKey)
    if (pixel == other) pixel = RGB(1, 2, 3);
  EXPECT_EQ(drawn(other), byOtherKey);

  const COLORREF palette[] = {RGB(0, 0, 0), RGB(250, 10, 10), RGB(10, 10, 250)};
  auto from = Surface::CreateIndexed(3, 1, palette, 3);
  from->IndexRow(0)[1] = 1, from->IndexRow(0)[2] = 2;
  const COLORREF fewer[] = {RGB(255, 0, 0), RGB(0, 0, 0)};
  auto nearest = Surface::CreateIndexed(3, 1, fewer, 2);
  nearest->Blit(*from, 0, 0, 3, 1, 0, 0, true, RGB(10, 10, 250));
  EXPECT_EQ(Pixels(*nearest), (std::vector<COLORREF>{0, RGB(255, 0, 0), RGB(255, 0, 0)}))
      << "black and red by their nearest; the keyed blue left as it was";
}

// A picture stored bottom row first, drawn from where it lies: the same pixels as its copy,
// and a change never reaches the rows it was made from.
TEST(SurfaceDrawing, AViewedPictureDrawsAsItsCopyAndKeepsItsRowsUntouched) {
  auto copy = PatternImage();
  std::vector<COLORREF> palette(256);
  std::vector<uint8_t> stored(300 * 150);  // bottom row first, as a bitmap keeps them
  for (int y = 0; y < 150; ++y) std::memcpy(&stored[(149 - y) * 300], copy->IndexRow(y), 300);
  for (int i = 0; i < 256; ++i) palette[i] = RGB(i, 255 - i, (i * 7) & 0xFF);
  palette[200] = kMagenta;
  auto view = Surface::ViewIndexed(300, 150, palette.data(), 256, &stored[149 * 300], -300);
  ASSERT_NE(view, nullptr);
  const std::vector<uint8_t> before = stored;
  for (const bool keyed : {false, true}) {
    auto fromCopy = Surface::CreateTarget(300, 150, RGB(1, 2, 3));
    auto fromView = Surface::CreateTarget(300, 150, RGB(1, 2, 3));
    fromCopy->Blit(*copy, -7, 5, 300, 150, 0, 0, keyed, kMagenta);
    fromView->Blit(*view, -7, 5, 300, 150, 0, 0, keyed, kMagenta);
    EXPECT_EQ(Pixels(*fromView), Pixels(*fromCopy)) << (keyed ? "keyed" : "opaque");
  }
  view->SetPixel(3, 0, palette[20]);
  view->Fill(RECT{0, 149, 2, 150}, palette[10]);
  EXPECT_EQ(stored, before) << "the stored rows were written";
  EXPECT_EQ(view->GetPixel(3, 0), palette[20]);
  EXPECT_EQ(view->GetPixel(4, 0), copy->GetPixel(4, 0)) << "the rest kept through the copy";
  EXPECT_EQ(view->GetPixel(0, 149), palette[10]);
  EXPECT_EQ(Surface::ViewIndexed(300, 150, palette.data(), 256, stored.data(), 299), nullptr)
      << "rows shorter than the picture";
}

TEST(SurfaceDrawing, TextIsRightAlignedAndCentredInItsBoxAndStaysInIt) {
  auto target = Surface::CreateTarget(200, 60, RGB(0, 0, 0));
  const RECT box{20, 10, 180, 50};
  target->WriteText(box, "12345", RGB(255, 255, 255));
  int left = 200, right = -1, top = 60, bottom = -1;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (target->GetPixel(x, y) == 0) continue;
      ASSERT_TRUE(x >= box.left && x < box.right && y >= box.top && y < box.bottom)
          << x << "," << y;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(right, 0) << "nothing was drawn";
  EXPECT_GE(right, box.right - 4) << "right-aligned";
  EXPECT_GT(right - left, 25) << "five digits wide";
  EXPECT_LT(right - left, 80);
  EXPECT_NEAR((top + bottom) / 2.0, (box.top + box.bottom) / 2.0, 4) << "vertically centred";
  EXPECT_EQ(target->GetPixel(10, 30), 0u);
}

}  // namespace
}  // namespace skyrift::platform
