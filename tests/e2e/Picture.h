// The pictures the forge wrote (uncompressed 4- and 8-bit Windows bitmaps in build/assets), read
// back so that a grab of the window can be compared with what the game must have drawn, and the
// comparisons themselves: how much of a picture a grab shows at a place, and where.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ScreenFit.h"

#include "X11Session.h"

namespace skyrift::e2e {

constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 732;

inline bool Same(const Rgb& a, const Rgb& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

inline std::string Describe(const Rgb& c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

class Picture {
 public:
  explicit Picture(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bytes_.size() < 54 || bytes_[0] != 'B' || bytes_[1] != 'M') return;
    pixels_ = U32(10);
    const uint32_t header = U32(14);
    width_ = static_cast<int32_t>(U32(18));
    const int32_t height = static_cast<int32_t>(U32(22));
    topDown_ = height < 0;
    height_ = std::abs(height);
    bits_ = static_cast<int>(U16(28));
    palette_ = 14 + header;
    colours_ = U32(46) != 0 ? U32(46) : (1u << bits_);
    valid_ = (bits_ == 4 || bits_ == 8) && U32(30) == 0 && width_ > 0 && height_ > 0 &&
             colours_ <= (1u << bits_) &&
             pixels_ + static_cast<size_t>(Stride()) * height_ <= bytes_.size() &&
             palette_ + 4 * colours_ <= pixels_;
  }
  // The picture's file in the build's asset folder, beside the game folder.
  static Picture Asset(const std::string& name) {
    return Picture(fs::path(SKYRIFT_GAME_DIR) / ".." / "assets" / name);
  }

  bool Valid() const { return valid_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  Rgb At(int x, int y) const {
    const size_t row = pixels_ + static_cast<size_t>(topDown_ ? y : height_ - 1 - y) * Stride();
    unsigned index = bytes_[row + (bits_ == 8 ? x : x / 2)];
    if (bits_ == 4) index = x % 2 == 0 ? index >> 4 : index & 0x0F;
    if (index >= colours_) return Rgb{};
    const size_t entry = palette_ + 4 * size_t{index};  // blue, green, red, unused
    return Rgb{bytes_[entry + 2], bytes_[entry + 1], bytes_[entry]};
  }
  // Magenta is left out wherever the game draws a picture keyed.
  bool IsKey(int x, int y) const {
    const Rgb c = At(x, y);
    return c.r == 255 && c.g == 0 && c.b == 255;
  }

 private:
  uint32_t U16(size_t at) const { return bytes_[at] | bytes_[at + 1] << 8; }
  uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
  int Stride() const { return (width_ * bits_ + 31) / 32 * 4; }

  std::vector<uint8_t> bytes_;
  bool valid_ = false;
  bool topDown_ = false;
  int width_ = 0, height_ = 0, bits_ = 0;
  size_t pixels_ = 0, palette_ = 0;
  uint32_t colours_ = 0;
};

// One frame of a picture laid out as frames side by side (a picture of one frame is frame 0),
// or its top rows only.
struct Frame {
  const Picture* picture;
  int index = 0;
  int width = 0;   // 0: the whole picture
  int height = 0;  // 0: every row
  int Left() const { return index * Width(); }
  int Width() const { return width > 0 ? width : picture->Width(); }
  int Height() const { return height > 0 ? height : picture->Height(); }
};

// The share of the frame's opaque pixels (inside the window) that the grab shows unchanged
// with the frame's top-left corner at (x, y); 0 when none of them is inside the window. A `step`
// over 1 looks at every step-th row and column only, for a picture that must be judged quickly.
inline double Coverage(const Screenshot& shot, const Frame& frame, int x, int y, int step = 1) {
  int opaque = 0, matching = 0;
  for (int row = 0; row < frame.Height(); row += step) {
    if (y + row < 0 || y + row >= kWindowHeight) continue;
    for (int column = 0; column < frame.Width(); column += step) {
      if (x + column < 0 || x + column >= kWindowWidth) continue;
      if (frame.picture->IsKey(frame.Left() + column, row)) continue;
      ++opaque;
      if (Same(shot.At(x + column, y + row), frame.picture->At(frame.Left() + column, row))) {
        ++matching;
      }
    }
  }
  return opaque > 0 ? static_cast<double>(matching) / opaque : 0.0;
}

struct Found {
  bool found = false;
  int x = 0, y = 0;
  int frame = 0;
};

// Where one of `frames` frames of the picture shows in the grab with at least `share` of its
// opaque pixels, its top-left corner searched over [left, right] x [top, bottom]. Sprites
// drawn over it may hide a little of it, so a share under 1 is allowed; a place is given up as
// soon as more pixels than that differ.
inline Found Locate(const Screenshot& shot, const Picture& picture, int frames, int left, int top,
                    int right, int bottom, double share = 0.9) {
  const int frameWidth = picture.Width() / frames;
  for (int f = 0; f < frames; ++f) {
    // The opaque pixels of this frame, listed once.
    struct Dot {
      int x, y;
      Rgb colour;
    };
    std::vector<Dot> dots;
    for (int row = 0; row < picture.Height(); ++row) {
      for (int column = 0; column < frameWidth; ++column) {
        if (!picture.IsKey(f * frameWidth + column, row)) {
          dots.push_back(Dot{column, row, picture.At(f * frameWidth + column, row)});
        }
      }
    }
    if (dots.empty()) continue;
    // Every eighth dot first, with room for chance: most places fail there within a few dots.
    constexpr size_t kSample = 8;
    const auto allowed = static_cast<size_t>((1.0 - share) * static_cast<double>(dots.size()));
    const size_t sampleAllowed = allowed / kSample * 2 + 2;
    const auto missingAt = [&](int x, int y, size_t step, size_t limit) {
      size_t missing = 0;
      for (size_t i = 0; i < dots.size() && missing <= limit; i += step) {
        const int sx = x + dots[i].x, sy = y + dots[i].y;
        const bool inside = sx >= 0 && sx < kWindowWidth && sy >= 0 && sy < kWindowHeight;
        if (!inside || !Same(shot.At(sx, sy), dots[i].colour)) ++missing;
      }
      return missing;
    };
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) {
        if (missingAt(x, y, kSample, sampleAllowed) > sampleAllowed) continue;
        if (missingAt(x, y, 1, allowed) <= allowed) return Found{true, x, y, f};
      }
    }
  }
  return Found{};
}

// The pixels of a rectangle of the grab, to tell whether two grabs show the same there.
inline std::vector<int> Region(const Screenshot& shot, int left, int top, int right, int bottom) {
  std::vector<int> values;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const Rgb c = shot.At(x, y);
      values.push_back(c.r << 16 | c.g << 8 | c.b);
    }
  }
  return values;
}

// Whether a point of the frame lies among the title's key plates, which the picture leaves
// blank and the game letters from the player's bindings.
inline bool AmongTheKeyPlates(int x, int y) {
  return x >= 228 && x < 768 && y >= 611 && y < 693;
}

// How many of a grid of the title picture's pixels the grab shows where the frame, scaled by
// the game's own scaler into the rectangle (left, top, width, height), puts them, leaving out the
// band where the prompts are drawn over it and the key plates; `compared` receives how many
// were looked at.
inline int TitlePixelsShown(const Screenshot& shot, const Picture& title, int left, int top,
                            int width, int height, int& compared) {
  std::vector<uint32_t> frame(static_cast<size_t>(kWindowWidth) * kWindowHeight);
  for (int y = 0; y < kWindowHeight; ++y) {
    for (int x = 0; x < kWindowWidth; ++x) {
      const Rgb c = title.At(x, y);
      frame[static_cast<size_t>(y) * kWindowWidth + x] =
          static_cast<uint32_t>(c.r << 16 | c.g << 8 | c.b);
    }
  }
  std::vector<uint32_t> scaled(static_cast<size_t>(width) * height);
  platform::FrameScaler scaler;
  scaler.Scale(reinterpret_cast<const uint8_t*>(frame.data()), kWindowWidth * 4, kWindowWidth,
               kWindowHeight, reinterpret_cast<uint8_t*>(scaled.data()),
               static_cast<size_t>(width) * 4, platform::Placement{0, 0, width, height});
  compared = 0;
  int matching = 0;
  for (int y = 3; y < height; y += 37) {
    for (int x = 3; x < width; x += 41) {
      // Clear of the prompts' band and the key plates by two pixels, which the scaler blends in.
      const int sourceX = (2 * x + 1) * kWindowWidth / (2 * width);
      const int sourceY = (2 * y + 1) * kWindowHeight / (2 * height);
      if (sourceY >= 438 && sourceY < 512 && sourceX >= 138 && sourceX < 762) continue;
      if (sourceX >= 226 && sourceX < 770 && sourceY >= 609 && sourceY < 695) continue;
      ++compared;
      const uint32_t wanted = scaled[static_cast<size_t>(y) * width + x];
      matching += Same(shot.At(left + x, top + y),
                       Rgb{static_cast<int>(wanted >> 16 & 0xFF),
                           static_cast<int>(wanted >> 8 & 0xFF), static_cast<int>(wanted & 0xFF)})
                      ? 1
                      : 0;
    }
  }
  return matching;
}

// Whether every pixel of a grid over the grab outside the columns [left, right) is black: the
// bars at the sides of a letterboxed picture.
inline bool SidesBlack(const Screenshot& shot, int left, int right) {
  for (int y = 0; y < shot.Height(); y += 27) {
    for (int x = 0; x < shot.Width(); x += 3) {
      if (x >= left && x < right) continue;
      const Rgb c = shot.At(x, y);
      if (c.r != 0 || c.g != 0 || c.b != 0) return false;
    }
  }
  return true;
}

// Whether the grab shows the whole title picture, scaled into the rectangle as TitlePixelsShown
// says, outside the prompts' band.
inline bool TitleShows(const Screenshot& shot, const Picture& title, int left = 0, int top = 0,
                       int width = kWindowWidth, int height = kWindowHeight) {
  int compared = 0;
  return shot.Valid() &&
         TitlePixelsShown(shot, title, left, top, width, height, compared) == compared;
}

// The title's two prompts, drawn over its picture: the first asks for Enter, the second, once
// Enter is pressed, for the number of players.
class TitlePrompts {
 public:
  bool Valid() const { return pressEnter_.Valid() && howMany_.Valid(); }
  bool AsksForEnter(const Screenshot& shot) const {
    return shot.Valid() && Coverage(shot, Frame{&pressEnter_}, 300, 450) > 0.99;
  }
  bool AsksHowMany(const Screenshot& shot) const {
    return shot.Valid() && Coverage(shot, Frame{&howMany_}, 150, 450) > 0.99;
  }

 private:
  const Picture pressEnter_ = Picture::Asset("press_enter.bmp");
  const Picture howMany_ = Picture::Asset("how_many_players.bmp");
};

// The game fullscreen on a `screenWidth` x `screenHeight` screen: its window the whole screen,
// and the title picture scaled into the columns [left, left + width), black bars beside it.
// The window manager and the game each take their time: the picture is waited for first.
template <typename Game>
void ExpectFullscreenTitle(const Game& game, const Picture& title, int screenWidth,
                           int screenHeight, int left, int width) {
  WaitFor([&] {
    const Geometry full = WindowGeometry(game.Window());
    return full.x == 0 && full.y == 0 && full.width == screenWidth && full.height == screenHeight &&
           TitleShows(game.Grab(screenWidth, screenHeight), title, left, 0, width, screenHeight);
  });
  const Geometry full = WindowGeometry(game.Window());
  EXPECT_EQ(full.x, 0);
  EXPECT_EQ(full.y, 0);
  ASSERT_EQ(full.width, screenWidth);
  ASSERT_EQ(full.height, screenHeight);
  const Screenshot shot = game.Grab(screenWidth, screenHeight);
  ASSERT_TRUE(shot.Valid());
  EXPECT_TRUE(SidesBlack(shot, left, left + width));
  int compared = 0;
  const int shown = TitlePixelsShown(shot, title, left, 0, width, screenHeight, compared);
  EXPECT_GT(compared, 500);
  EXPECT_EQ(shown, compared) << "the title picture, scaled, in the middle";
}

}  // namespace skyrift::e2e
