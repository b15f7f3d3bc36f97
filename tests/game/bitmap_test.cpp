// Images: the stored forms the game and other tools write, damaged and hostile files, and how
// opaque, keyed and partial copies land on a drawing target.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "tests/BmpBytes.h"

namespace skyrift {
namespace {

namespace bmp = skyrift::testing;
using platform::Surface;

constexpr COLORREF kGrey = RGB(90, 90, 90);

// Distinct colours (the green channel differs), none of them magenta.
std::vector<COLORREF> Palette(int count) {
  std::vector<COLORREF> colours;
  for (int i = 0; i < count; ++i) colours.push_back(RGB(i * 7 % 256, 255 - i, i * 37 % 256));
  return colours;
}

bmp::BmpForm Pattern(int bits, int colours) {
  bmp::BmpForm form;
  form.width = 7;  // odd, so rows are padded and the last 4-bit byte is half used
  form.height = 5;
  form.bits = bits;
  form.palette = Palette(colours);
  form.index = [colours](int x, int y) { return static_cast<uint8_t>((x + 3 * y) % colours); };
  return form;
}

// Draws the image opaque at (1, 2) and compares every pixel with what the test wrote.
void ExpectPicture(const Bitmap& image, const bmp::BmpForm& form, const std::string& what) {
  const int rows = std::abs(form.height);
  ASSERT_NE(image.GetHandle(), nullptr) << what;
  EXPECT_EQ(image.GetWidth(), form.width) << what;
  EXPECT_EQ(image.GetHeight(), rows) << what;
  auto target = Surface::CreateTarget(form.width + 2, rows + 3, kGrey);
  image.Draw(target.get(), 1, 2, FALSE);
  int wrong = 0;
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < form.width; ++x) {
      wrong += target->GetPixel(x + 1, y + 2) != form.palette[form.index(x, y)];
    }
  }
  EXPECT_EQ(wrong, 0) << what;
  EXPECT_EQ(target->GetPixel(0, 0), kGrey) << what;
}

TEST(BitmapLoad, StoredFormsLoadWholeAndUpright) {
  struct Case {
    const char* name;
    int bits, colours;
    uint32_t headerSize;
    bool topDown;
    int64_t coloursUsed, imageSize;
    int extraBytes;
  };
  const Case cases[] = {
      {"8-bit", 8, 200, 40, false, -1, -1, 0},
      {"4-bit", 4, 16, 40, false, -1, -1, 0},
      {"1-bit", 1, 2, 40, false, -1, -1, 0},
      {"8-bit, colours-used 0, 2 spare bytes", 8, 256, 40, false, 0, -1, 2},
      {"4-bit, colours-used 0", 4, 16, 40, false, 0, -1, 0},
      {"4-bit, short table", 4, 5, 40, false, -1, -1, 0},
      {"header of 108 bytes", 8, 30, 108, false, -1, -1, 0},
      {"header of 124 bytes, 4-bit", 4, 16, 124, false, -1, -1, 0},
      {"top-down", 8, 30, 40, true, -1, -1, 0},
      {"top-down 4-bit", 4, 16, 40, true, -1, -1, 0},
      {"image size 0", 8, 30, 40, false, -1, 0, 0},
      // Every row is there: an image size that promises more than the data loads what the
      // rows need.
      {"image size one past the data", 8, 30, 40, false, -1, 5 * 8 + 1, 0},
      {"image size 2^32-1, 4-bit", 4, 16, 40, true, -1, 0xFFFFFFFF, 0},
  };
  for (const Case& c : cases) {
    bmp::BmpForm form = Pattern(c.bits, c.colours);
    form.headerSize = c.headerSize;
    form.height = c.topDown ? -form.height : form.height;
    form.coloursUsed = c.coloursUsed;
    form.imageSize = c.imageSize;
    form.extraBytes = c.extraBytes;
    const std::vector<uint8_t> bytes = bmp::MakeBmp(form);

    bmp::TempFile file(bytes);
    Bitmap fromFile;
    EXPECT_TRUE(fromFile.LoadFromFile(nullptr, file.Path())) << c.name;
    ExpectPicture(fromFile, form, std::string("file, ") + c.name);

    bmp::OneResource resource(2506, bytes);
    Bitmap fromResource(nullptr, 2506, resource.Module());
    ExpectPicture(fromResource, form, std::string("resource, ") + c.name);
  }
}

TEST(BitmapLoad, ResourcesAreFoundByLow16BitsOfTheNumberAndBitmapType) {
  const std::vector<uint8_t> bytes = bmp::MakeBmp(Pattern(8, 40));
  bmp::OneResource resource(2502, bytes);
  Bitmap image;
  EXPECT_TRUE(image.LoadFromResource(nullptr, 0x70000 | 2502, resource.Module()));
  ExpectPicture(image, Pattern(8, 40), "high bits ignored");

  bmp::OneResource wrongType(2502, bytes, platform::kRcDataResource);
  EXPECT_FALSE(image.LoadFromResource(nullptr, 2502, wrongType.Module()));
  EXPECT_EQ(image.GetHandle(), nullptr);

  const Bitmap missing(nullptr, 2503, resource.Module());
  EXPECT_EQ(missing.GetHandle(), nullptr);
  EXPECT_EQ(missing.GetWidth(), 0);
  EXPECT_EQ(missing.GetHeight(), 0);
  auto target = Surface::CreateTarget(4, 4, kGrey);
  missing.Draw(target.get(), 0, 0, FALSE);
  missing.DrawRegion(target.get(), 0, 0, 0, 0, 4, 4, TRUE);
  EXPECT_EQ(target->GetPixel(0, 0), kGrey);
}

// A failed fill leaves the image empty; the sizes are those of the last header read, and
// releasing keeps them.
TEST(BitmapLoad, ReleaseAndFailedReloadsEmptyTheImageButKeepTheLastHeaderSizes) {
  const bmp::TempFile good(bmp::MakeBmp(Pattern(8, 40)));
  bmp::BmpForm other = Pattern(4, 16);
  other.width = 9;
  other.height = -4;
  std::vector<uint8_t> truncated = bmp::MakeBmp(other);
  truncated.pop_back();
  const bmp::TempFile cut(truncated);
  const bmp::TempFile notBitmap(std::vector<uint8_t>(80, 'x'));

  Bitmap image(nullptr, good.Path());
  ASSERT_NE(image.GetHandle(), nullptr);
  image.Release();
  image.Release();
  EXPECT_EQ(image.GetHandle(), nullptr);
  EXPECT_EQ(image.GetWidth(), 7);
  auto target = Surface::CreateTarget(8, 8, kGrey);
  image.Draw(target.get(), 0, 0, FALSE);
  EXPECT_EQ(target->GetPixel(0, 0), kGrey);

  ASSERT_TRUE(image.LoadFromFile(nullptr, good.Path()));
  EXPECT_FALSE(image.LoadFromFile(nullptr, "no such file.bmp"));
  EXPECT_EQ(image.GetHandle(), nullptr);
  EXPECT_EQ(image.GetWidth(), 7);
  EXPECT_EQ(image.GetHeight(), 5);

  EXPECT_FALSE(image.LoadFromFile(nullptr, cut.Path()));
  EXPECT_EQ(image.GetHandle(), nullptr);
  EXPECT_EQ(image.GetWidth(), 9);
  EXPECT_EQ(image.GetHeight(), 4);

  const Bitmap never(nullptr, notBitmap.Path());
  EXPECT_EQ(never.GetHandle(), nullptr);
  EXPECT_EQ(never.GetWidth(), 0);
}

TEST(BitmapLoad, DamagedAndHostileFilesAreRefused) {
  struct Change {
    const char* name;
    size_t at;  // offset in the file; the resource form lacks the first 14 bytes
    int bytes;
    uint32_t value;
  };
  const Change changes[] = {
      {"type not BM", 0, 2, 0x4142},
      {"header size 12", 14, 4, 12},
      {"header size 39", 14, 4, 39},
      {"header size past the end", 14, 4, 300},
      {"header size absurd", 14, 4, 0xFFFFFFF0},
      {"width 0", 18, 4, 0},
      {"negative width", 18, 4, static_cast<uint32_t>(-7)},
      {"height 0", 22, 4, 0},
      {"height most negative", 22, 4, static_cast<uint32_t>(INT_MIN)},
      {"width 2^31-1", 18, 4, 0x7FFFFFFF},
      {"20000 x 20000", 18, 4, 20000},  // the height follows below
      {"0 bits", 28, 2, 0},
      {"2 bits", 28, 2, 2},
      {"24 bits", 28, 2, 24},
      {"32 bits", 28, 2, 32},
      {"run-length compressed", 30, 4, 1},
      {"bit fields", 30, 4, 3},
      {"257 colours", 46, 4, 257},
      {"2^32-1 colours", 46, 4, 0xFFFFFFFF},
      {"colour table past the end", 46, 4, 200},
      {"pixel offset past the end", 10, 4, 0xFFFFFFF0},
      {"pixel offset at the end", 10, 4, 14 + 40 + 4 * 7 + 5 * 8},
  };
  bmp::BmpForm form = Pattern(8, 7);
  const std::vector<uint8_t> good = bmp::MakeBmp(form);

  auto expectRefused = [](const std::vector<uint8_t>& bytes, bool asFile, const std::string& what) {
    Bitmap image;
    if (asFile) {
      const bmp::TempFile file(bytes);
      EXPECT_FALSE(image.LoadFromFile(nullptr, file.Path())) << what;
    } else {
      const bmp::OneResource resource(1, bytes);
      EXPECT_FALSE(image.LoadFromResource(nullptr, 1, resource.Module())) << what;
    }
    EXPECT_EQ(image.GetHandle(), nullptr) << what;
  };
  for (const Change& change : changes) {
    std::vector<uint8_t> bytes = good;
    if (change.bytes == 2) bmp::Put16(bytes, change.at, static_cast<uint16_t>(change.value));
    if (change.bytes == 4) bmp::Put32(bytes, change.at, change.value);
    if (std::string(change.name) == "20000 x 20000") bmp::Put32(bytes, 22, 20000);
    expectRefused(bytes, true, std::string("file, ") + change.name);
    if (change.at >= 14) expectRefused(bytes, false, std::string("resource, ") + change.name);
  }
  // Cut anywhere, the header promises rows that are not there.
  for (size_t length = 0; length < good.size(); ++length) {
    const std::vector<uint8_t> cut(good.begin(), good.begin() + length);
    expectRefused(cut, true, "file cut to " + std::to_string(length));
    expectRefused(cut, false, "resource cut to " + std::to_string(length));
  }
}

TEST(BitmapDraw, KeyedCopiesLeaveOutTheKeyColourAndOpaqueCopiesKeepIt) {
  const COLORREF colours[] = {RGB(10, 20, 30), kMagenta, RGB(0, 255, 0), RGB(255, 255, 255)};
  for (int bits : {4, 8}) {
    bmp::BmpForm form;
    form.width = 9;
    form.height = 6;
    form.bits = bits;
    form.palette.assign(std::begin(colours), std::end(colours));
    form.index = [](int x, int y) { return static_cast<uint8_t>((x * y + x) % 4); };
    const bmp::OneResource resource(2100, bmp::MakeBmp(form));
    const Bitmap image(nullptr, 2100, resource.Module());
    ASSERT_NE(image.GetHandle(), nullptr);

    // The same image keyed two ways in turn, then opaque: each copy honours its own key.
    struct Draw {
      BOOL transparent;
      COLORREF key;
    };
    for (const Draw draw : {Draw{TRUE, kMagenta}, Draw{TRUE, RGB(0, 255, 0)}, Draw{TRUE, kMagenta},
                            Draw{FALSE, kMagenta}}) {
      auto target = Surface::CreateTarget(12, 8, kGrey);
      image.Draw(target.get(), 2, 1, draw.transparent, draw.key);
      int wrong = 0;
      for (int y = 0; y < form.height; ++y) {
        for (int x = 0; x < form.width; ++x) {
          const COLORREF colour = colours[form.index(x, y)];
          const bool leftOut = draw.transparent && colour == draw.key;
          wrong += target->GetPixel(x + 2, y + 1) != (leftOut ? kGrey : colour);
        }
      }
      EXPECT_EQ(wrong, 0) << bits << " bits, transparent " << draw.transparent << ", key "
                          << std::hex << draw.key;
    }
  }
}

// No clipping beforehand: each image pixel of the region lands where the region puts it, and
// what lies outside the image or the target is simply not copied. The large image is drawn
// keyed in pieces, so its regions cross the pieces' edges.
TEST(BitmapDraw, RegionsPartlyOutsideCopyOnlyTheOverlap) {
  struct Region {
    int x, y, left, top, width, height;
  };
  struct Case {
    bmp::BmpForm form;
    int targetWidth, targetHeight;
    std::vector<Region> regions;
  };
  bmp::BmpForm large = Pattern(8, 50);
  large.width = 600;
  large.height = 200;
  large.palette[0] = kMagenta;
  large.index = [](int x, int y) { return static_cast<uint8_t>((x / 3 + y * 7) % 50); };
  const Case cases[] = {
      {Pattern(8, 11),
       14,
       12,
       {{5, 5, -2, -1, 5, 4},
        {5, 5, 4, 2, 6, 6},
        {-3, 8, 0, 0, 7, 5},
        {10, -2, 1, 1, 40, 40},
        {5, 5, 8, 0, 3, 3},
        {5, 5, 0, 0, 0, 5}}},
      {large,
       330,
       250,
       {{-10, -5, 200, 30, 400, 300},
        {3, 7, 250, 60, 20, 10},
        {0, 0, 590, 190, 50, 50},
        {40, 20, -30, -40, 300, 150}}},
  };
  for (const Case& c : cases) {
    const bmp::OneResource resource(7, bmp::MakeBmp(c.form));
    const Bitmap image(nullptr, 7, resource.Module());
    for (const BOOL transparent : {FALSE, TRUE}) {
      for (const Region& r : c.regions) {
        auto target = Surface::CreateTarget(c.targetWidth, c.targetHeight, kGrey);
        image.DrawRegion(target.get(), r.x, r.y, r.left, r.top, r.width, r.height, transparent);
        int wrong = 0;
        for (int ty = 0; ty < c.targetHeight; ++ty) {
          for (int tx = 0; tx < c.targetWidth; ++tx) {
            const int dx = tx - r.x, dy = ty - r.y;
            const int sx = r.left + dx, sy = r.top + dy;
            COLORREF expected = kGrey;
            if (dx >= 0 && dy >= 0 && dx < r.width && dy < r.height && sx >= 0 && sy >= 0 &&
                sx < c.form.width && sy < c.form.height) {
              const COLORREF colour = c.form.palette[c.form.index(sx, sy)];
              if (!transparent || colour != kMagenta) expected = colour;
            }
            wrong += target->GetPixel(tx, ty) != expected;
          }
        }
        EXPECT_EQ(wrong, 0) << c.form.width << " wide, region " << r.left << "," << r.top << " at "
                            << r.x << "," << r.y << " transparent " << transparent;
      }
    }
  }
}

// A keyed copy made for drawing must follow later changes to the image's pixels.
TEST(BitmapDraw, KeyedDrawingFollowsChangedPixels) {
  const COLORREF palette[] = {kMagenta, RGB(0, 0, 200)};
  auto image = Surface::CreateIndexed(300, 100, palette, 2);
  auto target = Surface::CreateTarget(300, 100, kGrey);
  target->Blit(*image, 0, 0, 300, 100, 0, 0, true, kMagenta);
  EXPECT_EQ(target->GetPixel(280, 90), kGrey);
  image->IndexRow(90)[280] = 1;
  target->Blit(*image, 0, 0, 300, 100, 0, 0, true, kMagenta);
  EXPECT_EQ(target->GetPixel(280, 90), RGB(0, 0, 200));
}

TEST(BitmapDraw, BlankImagesAreFilledTargets) {
  const Bitmap red(nullptr, 5, 3, RGB(200, 0, 0));
  EXPECT_EQ(red.GetWidth(), 5);
  EXPECT_EQ(red.GetHeight(), 3);
  auto target = Surface::CreateTarget(8, 8, kGrey);
  red.Draw(target.get(), 1, 1, FALSE);
  EXPECT_EQ(target->GetPixel(1, 1), RGB(200, 0, 0));
  EXPECT_EQ(target->GetPixel(5, 3), RGB(200, 0, 0));
  EXPECT_EQ(target->GetPixel(6, 3), kGrey);
  EXPECT_EQ(target->GetPixel(5, 4), kGrey);

  // Cut by the target's right and top edges.
  red.DrawRegion(target.get(), 6, -1, 1, 0, 4, 3, FALSE);
  EXPECT_EQ(target->GetPixel(7, 1), RGB(200, 0, 0));
  EXPECT_EQ(target->GetPixel(6, 2), kGrey);
  EXPECT_EQ(target->GetPixel(0, 0), kGrey);

  const Bitmap ground(nullptr, 4, 4, kMagenta);
  ground.Draw(target.get(), 0, 0, TRUE, kMagenta);
  EXPECT_EQ(target->GetPixel(0, 0), kGrey);
  EXPECT_EQ(target->GetPixel(1, 1), RGB(200, 0, 0));

  Bitmap none(nullptr, 0, 3, RGB(1, 2, 3));
  EXPECT_EQ(none.GetHandle(), nullptr);
  EXPECT_EQ(none.GetWidth(), 0);
}

}  // namespace
}  // namespace skyrift
