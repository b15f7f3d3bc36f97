// How the 900 x 732 frame meets screens of every common shape and scale: the letterbox in
// fullscreen, the window that fits the usable area, and the scaled copy with its bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
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
      {0, 16, 39, 1920, 1040, 900, 732},      // a scale the system could not tell: 100%
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

// A white picture with black lines one pixel thick, every `every` pixels across (`across`) or
// down.
std::vector<uint32_t> Lines(int width, int height, int every, bool across) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xFFFFFF);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if ((across ? x : y) % every == every / 2) pixels[static_cast<size_t>(y) * width + x] = 0;
    }
  }
  return pixels;
}

std::vector<uint32_t> Scaled(const std::vector<uint32_t>& source, int width, int height,
                             int toWidth, int toHeight) {
  std::vector<uint32_t> target(static_cast<size_t>(toWidth) * toHeight, 0xDEADBEEF);
  FrameScaler scaler;
  scaler.Scale(reinterpret_cast<const uint8_t*>(source.data()), width * 4, width, height,
               reinterpret_cast<uint8_t*>(target.data()), toWidth * 4,
               Placement{0, 0, toWidth, toHeight});
  return target;
}

TEST(ScreenFit, AWholeMultipleIsBlocksOfEachPixelTheSameSizeACopyAndOnlyTheBarsTurnBlack) {
  const std::vector<uint32_t> source = Pixels(4, 2, 0x010101);
  std::vector<uint32_t> target(10 * 6, 0xDEADBEEF);
  auto* to = reinterpret_cast<uint8_t*>(target.data());
  const Placement doubled{1, 1, 8, 4};
  FillBars(to, 10 * 4, 10, 6, doubled);
  FrameScaler scaler;
  scaler.Scale(reinterpret_cast<const uint8_t*>(source.data()), 4 * 4, 4, 2, to, 10 * 4, doubled);
  const uint32_t a = 0x010101, b = a + 1, c = a + 2, d = a + 3, e = a + 4, f = a + 5, g = a + 6,
                 h = a + 7;
  const std::vector<uint32_t> expected = {
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
      0, a, a, b, b, c, c, d, d, 0,  //
      0, a, a, b, b, c, c, d, d, 0,  //
      0, e, e, f, f, g, g, h, h, 0,  //
      0, e, e, f, f, g, g, h, h, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
  };
  EXPECT_EQ(target, expected);
  EXPECT_EQ(Scaled(source, 4, 2, 4, 2), source);
}

// Fullscreen at 1080 lines enlarges 1.475 times: every one-pixel stroke must come out with the
// same ink, where taking the nearest pixel makes some strokes one pixel wide and some two.
TEST(ScreenFit, EnlargedByAFractionEveryStrokeKeepsTheSameWidth) {
  for (const bool across : {true, false}) {
    SCOPED_TRACE(across ? "upright strokes" : "level strokes");
    const std::vector<uint32_t> lines = Lines(900, 732, 7, across);
    const std::vector<uint32_t> big = Scaled(lines, 900, 732, 1327, 1080);
    const int length = across ? 1327 : 1080;
    double least = 1e9, most = 0;
    for (int stroke = 3; stroke + 7 < (across ? 900 : 732); stroke += 7) {
      // The ink of the stroke across the target pixels around it, in pixels of full black.
      const int from = static_cast<int>((stroke - 3) * 1.475),
                to = static_cast<int>((stroke + 4) * 1.475);
      double ink = 0;
      for (int i = from; i < to && i < length; ++i) {
        const uint32_t pixel = across ? big[static_cast<size_t>(500) * 1327 + i]
                                      : big[static_cast<size_t>(i) * 1327 + 500];
        ink += (255 - (pixel & 0xFF)) / 255.0;
      }
      least = std::min(least, ink);
      most = std::max(most, ink);
    }
    EXPECT_GT(least, 1.4);
    EXPECT_LT(most - least, 0.05) << "from " << least << " to " << most;
  }
}

// A window smaller than the frame averages what falls in each screen pixel: no row or column
// of lettering is dropped, where taking the nearest pixel loses whole ones.
TEST(ScreenFit, ShrunkEveryOnePixelLineStillShows) {
  for (const bool across : {true, false}) {
    SCOPED_TRACE(across ? "upright lines" : "level lines");
    const std::vector<uint32_t> lines = Lines(900, 732, 5, across);
    const std::vector<uint32_t> small = Scaled(lines, 900, 732, 859, 699);
    const int length = across ? 859 : 699;
    // Each line a run of darker pixels, at least one of them half dark or darker.
    int dark = 0, palest = 0, darkest = 255;
    for (int i = 0; i <= length; ++i) {
      const int value =
          i == length ? 255
                      : static_cast<int>((across ? small[300 * 859 + i]
                                                 : small[static_cast<size_t>(i) * 859 + 300]) &
                                         0xFF);
      if (value < 220) {
        darkest = std::min(darkest, value);
      } else if (darkest < 255) {
        ++dark;
        palest = std::max(palest, darkest);
        darkest = 255;
      }
    }
    EXPECT_EQ(dark, (across ? 900 : 732) / 5);
    EXPECT_LE(palest, 140);
  }
}

// The scaler's arithmetic written out plainly, for the table below to hold the fast paths to:
// for each target pixel along one side, the source pixels it takes and how much of each, out
// of 256.
using Weights = std::vector<std::pair<int, int>>;
std::vector<Weights> PlainWeights(int in, int out) {
  std::vector<Weights> weights;
  for (int i = 0; i < out; ++i) {
    std::vector<int> w(in, 0);
    if (out == in) {
      w[i] = 256;
    } else if (out < in) {
      // The share of each source pixel inside [i, i + 1) target pixels, rounded down; the first
      // source pixel touched takes what rounding left over.
      int given = 0, first = -1;
      for (int j = 0; j < in; ++j) {
        const int64_t covered = std::min(int64_t{i + 1} * in, int64_t{j + 1} * out) -
                                std::max(int64_t{i} * in, int64_t{j} * out);
        if (covered <= 0) continue;
        if (first < 0) first = j;
        w[j] = static_cast<int>(covered * 256 / in);
        given += w[j];
      }
      w[first] += 256 - given;
    } else {
      const double scale = static_cast<double>(out) / in, plateau = 0.5 - 0.5 / scale;
      const double at = (i + 0.5) / scale, cell = std::floor(at), fromCentre = at - cell - 0.5;
      const double position =
          cell + (fromCentre - std::clamp(fromCentre, -plateau, plateau)) * scale;
      const int left = static_cast<int>(std::floor(position));
      const int weight = static_cast<int>(std::lround((position - left) * 256));
      if (left < 0 || left + 1 >= in || weight == 0 || weight == 256) {
        w[std::clamp(weight == 256 ? left + 1 : left, 0, in - 1)] = 256;
      } else {
        w[left] = 256 - weight;
        w[left + 1] = weight;
      }
    }
    weights.emplace_back();
    for (int j = 0; j < in; ++j) {
      if (w[j] != 0) weights.back().emplace_back(j, w[j]);
    }
  }
  return weights;
}

// Across first, each channel rounded to 8 bits, then down from those rows.
std::vector<uint32_t> PlainScaled(const std::vector<uint32_t>& source, int width, int height,
                                  int toWidth, int toHeight) {
  const auto mix = [](const auto& pixelAt, const Weights& weights) {
    uint32_t pixel = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      int sum = 128;
      for (const auto& [k, weight] : weights) {
        sum += weight * static_cast<int>((pixelAt(static_cast<size_t>(k)) >> shift) & 0xFF);
      }
      pixel |= static_cast<uint32_t>(sum >> 8) << shift;
    }
    return pixel;
  };
  const auto columns = PlainWeights(width, toWidth), rows = PlainWeights(height, toHeight);
  std::vector<uint32_t> across(static_cast<size_t>(toWidth) * height);
  for (size_t y = 0; y < static_cast<size_t>(height); ++y) {
    for (size_t x = 0; x < static_cast<size_t>(toWidth); ++x) {
      across[y * toWidth + x] = mix([&](size_t k) { return source[y * width + k]; }, columns[x]);
    }
  }
  std::vector<uint32_t> target(static_cast<size_t>(toWidth) * toHeight);
  for (size_t y = 0; y < static_cast<size_t>(toHeight); ++y) {
    for (size_t x = 0; x < static_cast<size_t>(toWidth); ++x) {
      target[y * toWidth + x] = mix([&](size_t k) { return across[k * toWidth + x]; }, rows[y]);
    }
  }
  return target;
}

// Every way of scaling gives exactly the plain arithmetic's pixels: by fractions and by whole
// multiples, shrunk, one side larger and the other smaller, odd sizes, padded rows, a rectangle
// away from the target's corner, and a second picture through the same scaler; with the widest
// vectors the processor has and without.
TEST(ScreenFit, EverySizeGivesThePlainArithmeticsPixels) {
  struct Case {
    int width, height, toWidth, toHeight;
  };
  const Case cases[] = {
      {900, 732, 1327, 1080},  // fullscreen at 1080 lines
      {900, 732, 859, 699},    // the window a 720-line screen allows
      {900, 732, 1800, 1464},  // twice
      {37, 23, 111, 69},       // three times
      {900, 732, 1125, 915},   // 125%
      {900, 732, 300, 244},    // a third: three source pixels and more to each
      {900, 732, 900, 732},    // as it is
      {37, 23, 101, 67},       // odd sizes both ways
      {37, 23, 11, 7},         // shrunk to less than a third
      {31, 17, 90, 9},         // wider and lower
      {17, 31, 9, 90},         // narrower and taller
      {13, 9, 13, 20},         // taller only
      {13, 9, 29, 9},          // wider only
      {2, 3, 7, 8},            // two source pixels across
      {1, 1, 5, 3},            // one source pixel
  };
  // Pixels of every value, with runs of full white and black among them for the rounding's
  // extremes.
  const auto picture = [](int width, int height, uint32_t seed) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
      const uint32_t hash = static_cast<uint32_t>((i + seed) * 2654435761u) ^ seed;
      pixels[i] = (hash >> 29) == 0 ? 0xFFFFFFFF : (hash >> 29) == 1 ? 0 : hash;
    }
    return pixels;
  };
  FrameScaler wide(true), narrow(false);
  for (FrameScaler* scaler : {&wide, &narrow}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << c.width << " x " << c.height << " to " << c.toWidth << " x " << c.toHeight
                   << (scaler == &wide ? "" : ", narrow vectors"));
      // The source rows padded by three pixels, the rectangle 5 pixels in and 3 down from the
      // corner of a target 7 pixels wider than it.
      const int sourcePitch = c.width + 3, targetPitch = c.toWidth + 7;
      const Placement to{5, 3, c.toWidth, c.toHeight};
      for (const uint32_t seed : {1u, 77u}) {
        const std::vector<uint32_t> pixels = picture(c.width, c.height, seed);
        std::vector<uint32_t> source(static_cast<size_t>(sourcePitch) * c.height);
        for (size_t y = 0; y < static_cast<size_t>(c.height); ++y) {
          std::copy_n(&pixels[y * c.width], c.width, &source[y * sourcePitch]);
        }
        std::vector<uint32_t> target(static_cast<size_t>(targetPitch) * (c.toHeight + 3));
        scaler->Scale(reinterpret_cast<const uint8_t*>(source.data()), sourcePitch * 4, c.width,
                      c.height, reinterpret_cast<uint8_t*>(target.data()), targetPitch * 4, to);
        const std::vector<uint32_t> expected =
            PlainScaled(pixels, c.width, c.height, c.toWidth, c.toHeight);
        int wrong = 0;
        for (size_t y = 0; y < static_cast<size_t>(c.toHeight); ++y) {
          for (size_t x = 0; x < static_cast<size_t>(c.toWidth); ++x) {
            const uint32_t got = target[(y + to.y) * targetPitch + x + to.x];
            if (got != expected[y * c.toWidth + x] && ++wrong <= 3) {
              ADD_FAILURE() << "pixel " << x << ", " << y << ": " << std::hex << got << " for "
                            << expected[y * c.toWidth + x];
            }
          }
        }
        EXPECT_EQ(wrong, 0) << "of " << c.toWidth * c.toHeight << " pixels, picture " << seed;
      }
    }
  }
}

// The scaler writes the picture's rectangle and nothing else: not the bars around it, not past
// the end of the target's memory, whichever way it scales and wherever the rectangle lies (the
// last row of a picture that reaches the buffer's end is its most likely slip).
TEST(ScreenFit, TheScalerWritesOnlyThePicturesRectangle) {
  constexpr uint32_t kUntouched = 0xDEADBEEF;
  constexpr int kSlack = 64;  // words after the target's last row
  struct Case {
    int targetWidth, targetHeight;
    Placement picture;
  };
  const Case cases[] = {
      {1920, 1080, Letterbox(900, 732, 1920, 1080)},  // enlarged by a fraction, bars aside
      {1000, 1000, Letterbox(900, 732, 1000, 1000)},  // bars above and below
      {700, 600, Letterbox(900, 732, 700, 600)},      // shrunk
      {1900, 1500, Placement{100, 36, 1800, 1464}},   // twice, to the last row and column
      {902, 734, Placement{2, 2, 900, 732}},          // as it is, into the far corner
  };
  const std::vector<uint32_t> source = Pixels(900, 732, 0x102030);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.targetWidth << " x " << c.targetHeight);
    const size_t words = static_cast<size_t>(c.targetWidth) * c.targetHeight;
    std::vector<uint32_t> target(words + kSlack, kUntouched);
    FrameScaler scaler;
    scaler.Scale(reinterpret_cast<const uint8_t*>(source.data()), 900 * 4, 900, 732,
                 reinterpret_cast<uint8_t*>(target.data()), static_cast<size_t>(c.targetWidth) * 4,
                 c.picture);
    int outside = 0, inside = 0;
    for (int y = 0; y < c.targetHeight; ++y) {
      for (int x = 0; x < c.targetWidth; ++x) {
        const bool in = x >= c.picture.x && x < c.picture.x + c.picture.width && y >= c.picture.y &&
                        y < c.picture.y + c.picture.height;
        const bool untouched = target[static_cast<size_t>(y) * c.targetWidth + x] == kUntouched;
        if (in && untouched) ++inside;
        if (!in && !untouched) ++outside;
      }
    }
    EXPECT_EQ(inside, 0) << "pixels of the picture left unwritten";
    EXPECT_EQ(outside, 0) << "pixels of the bars written";
    EXPECT_EQ(std::count(target.begin() + static_cast<ptrdiff_t>(words), target.end(), kUntouched),
              kSlack)
        << "written past the target's memory";
  }
}

}  // namespace
}  // namespace skyrift::platform
