// The real game in a real X server, played: Enter, then 1, then a held arrow key moves the
// ship, held fire puts shots on the screen, and the panel shows the full hull and energy bars.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "X11Session.h"

namespace skyrift::e2e {
namespace {

constexpr Rgb kMagentaKey{255, 0, 255};

bool Same(const Rgb& a, const Rgb& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

// A picture as the forge wrote it: an uncompressed 8-bit Windows bitmap, bottom-up.
class Picture {
 public:
  explicit Picture(const std::string& name) {
    std::ifstream in(fs::path(SKYRIFT_GAME_DIR) / ".." / "assets" / name, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bytes_.size() < 54 || bytes_[0] != 'B' || bytes_[1] != 'M') return;
    pixels_ = U32(10);
    palette_ = 14 + U32(14);
    width_ = static_cast<int32_t>(U32(18));
    height_ = static_cast<int32_t>(U32(22));
    const uint32_t colours = U32(46) != 0 ? U32(46) : 256;
    valid_ = U16(28) == 8 && U32(30) == 0 && width_ > 0 && height_ > 0 &&
             pixels_ + static_cast<size_t>(Stride()) * height_ <= bytes_.size() &&
             palette_ + 4 * colours <= pixels_;
  }
  bool Valid() const { return valid_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const {
    const uint8_t index = bytes_[pixels_ + static_cast<size_t>(height_ - 1 - y) * Stride() + x];
    const size_t entry = palette_ + 4 * size_t{index};  // blue, green, red, unused
    return Rgb{bytes_[entry + 2], bytes_[entry + 1], bytes_[entry]};
  }

 private:
  uint32_t U16(size_t at) const { return bytes_[at] | bytes_[at + 1] << 8; }
  uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
  int Stride() const { return (width_ + 3) & ~3; }

  std::vector<uint8_t> bytes_;
  bool valid_ = false;
  int width_ = 0, height_ = 0;
  size_t pixels_ = 0, palette_ = 0;
};

// The share of a frame's figure pixels (all but the magenta ground) that the screenshot shows
// unchanged with the frame's top-left corner at (x, y).
double Match(const Screenshot& shot, const Picture& picture, int frames, int frame, int x, int y) {
  const int width = picture.Width() / frames;
  int figure = 0, same = 0;
  for (int py = 0; py < picture.Height(); py += 2) {
    for (int px = 0; px < width; px += 2) {
      const Rgb colour = picture.At(frame * width + px, py);
      if (Same(colour, kMagentaKey)) continue;
      ++figure;
      const int sx = x + px, sy = y + py;
      if (sx >= 0 && sx < 900 && sy >= 0 && sy < 600 && Same(shot.At(sx, sy), colour)) ++same;
    }
  }
  return figure > 0 ? static_cast<double>(same) / figure : 0.0;
}

// The best place of any frame of the picture along row y, or -1 when no frame is shown there.
int FindAlongRow(const Screenshot& shot, const Picture& picture, int frames, int y) {
  int best = -1;
  double bestMatch = 0.8;  // shots and explosions may cover a little of it
  for (int x = 0; x <= 900 - picture.Width() / frames; ++x) {
    for (int frame = 0; frame < frames; ++frame) {
      const double match = Match(shot, picture, frames, frame, x, y);
      if (match > bestMatch) {
        bestMatch = match;
        best = x;
      }
    }
  }
  return best;
}

// How many places of column x show a frame of the picture.
int CountDownColumn(const Screenshot& shot, const Picture& picture, int frames, int x, int bottom) {
  int found = 0;
  for (int y = 0; y <= bottom; ++y) {
    for (int frame = 0; frame < frames; ++frame) {
      if (Match(shot, picture, frames, frame, x, y) > 0.8) {
        ++found;
        break;
      }
    }
  }
  return found;
}

int RunOf(const Screenshot& shot, int x0, int y, const Rgb& colour) {
  int n = 0;
  for (int x = x0; x < 900 && Same(shot.At(x, y), colour); ++x) ++n;
  return n;
}

TEST(Play, EnterThenOneStartsAShipThatMovesFiresAndShowsFullBars) {
  const Picture ship("player1.bmp");
  const Picture shot("bullet_center.bmp");
  ASSERT_TRUE(ship.Valid());
  ASSERT_TRUE(shot.Valid());

  GameProcess game;
  ASSERT_TRUE(game.Start()) << "no window appeared";
  game.Focus();
  Sleep(300);
  game.Hold("Return");
  game.Hold("1");
  Sleep(200);

  // One ship, at the bottom centre, with full bars under the play area.
  const Screenshot start = game.Grab();
  ASSERT_TRUE(start.Valid());
  const int startX = FindAlongRow(start, ship, 4, 500);
  ASSERT_GE(startX, 415) << "no ship at the bottom centre";
  EXPECT_LE(startX, 435);
  EXPECT_EQ(RunOf(start, 277, 660, Rgb{255, 0, 0}), 155);
  EXPECT_EQ(RunOf(start, 277, 676, Rgb{0, 0, 255}), 155);

  // Right, held over several frames, at 8 pixels a frame.
  game.Hold("Right", 400);
  const Screenshot moved = game.Grab();
  const int movedX = FindAlongRow(moved, ship, 4, 500);
  ASSERT_GE(movedX, startX + 40) << "the ship did not move right";

  // Fire, held: shots fly up from the ship's middle, 24 pixels above it when made.
  game.KeyDown("space");
  Sleep(500);
  const Screenshot firing = game.Grab();
  game.KeyUp("space");
  const int column = movedX + 25 - shot.Width() / 5 / 2;
  EXPECT_GE(CountDownColumn(firing, shot, 5, column, 476), 1) << "no shots above the ship";

  EXPECT_EQ(game.Close(), 0);
}

}  // namespace
}  // namespace skyrift::e2e
