// The real game in a real X server opens on its title picture, and when its window is closed it
// ends cleanly with the whole run told in log.txt.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "X11Session.h"

namespace skyrift::e2e {
namespace {

// The title picture as the forge wrote it: an uncompressed 8-bit Windows bitmap, bottom-up.
class TitlePicture {
 public:
  explicit TitlePicture(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bytes_.size() < 54 || bytes_[0] != 'B' || bytes_[1] != 'M') return;
    pixels_ = U32(10);
    const uint32_t header = U32(14);
    width_ = static_cast<int32_t>(U32(18));
    height_ = static_cast<int32_t>(U32(22));
    palette_ = 14 + header;
    colours_ = U32(46) != 0 ? U32(46) : 256;
    valid_ = U16(28) == 8 && U32(30) == 0 && width_ > 0 && height_ > 0 &&
             pixels_ + static_cast<size_t>(Stride()) * height_ <= bytes_.size() &&
             palette_ + 4 * colours_ <= pixels_;
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
  uint32_t colours_ = 0;
};

bool Same(const Rgb& a, const Rgb& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

TEST(Title, TheRealGameShowsTheTitlePictureAndLogsTheWholeRunWhenClosed) {
  const TitlePicture title(fs::path(SKYRIFT_GAME_DIR) / ".." / "assets" / "title.bmp");
  ASSERT_TRUE(title.Valid());
  ASSERT_EQ(title.Width(), 900);
  ASSERT_EQ(title.Height(), 732);

  GameProcess game;
  ASSERT_TRUE(game.Start()) << "no window appeared";
  game.Focus();
  Sleep(300);  // a few frames
  const Screenshot shot = game.Grab();
  ASSERT_TRUE(shot.Valid());

  // A grid over the whole picture, leaving out the band where the prompt is drawn over it.
  int compared = 0, matching = 0;
  std::string firstMismatch;
  for (int y = 10; y < 732; y += 61) {
    for (int x = 10; x < 900; x += 73) {
      if (y >= 440 && y < 510 && x >= 140 && x < 760) continue;
      ++compared;
      if (Same(shot.At(x, y), title.At(x, y))) {
        ++matching;
      } else if (firstMismatch.empty()) {
        const Rgb seen = shot.At(x, y), wanted = title.At(x, y);
        firstMismatch = "at (" + std::to_string(x) + ", " + std::to_string(y) + ") saw " +
                        std::to_string(seen.r) + "," + std::to_string(seen.g) + "," +
                        std::to_string(seen.b) + " wanted " + std::to_string(wanted.r) + "," +
                        std::to_string(wanted.g) + "," + std::to_string(wanted.b);
      }
    }
  }
  EXPECT_GT(compared, 100);
  EXPECT_EQ(matching, compared) << firstMismatch;

  ASSERT_EQ(game.Close(), 0);
  const std::vector<std::string> log = game.LogLines();
  const std::vector<std::string> start = {"GameInitialize()",
                                          "",
                                          "Controls:",
                                          "38403739329088679878365687071848281",
                                          "",
                                          "CreateBitmaps()",
                                          "GameStart()",
                                          "NewGame()"};
  ASSERT_GE(log.size(), start.size() + 3);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + static_cast<long>(start.size())),
            start);
  EXPECT_EQ(log[log.size() - 2], "DeleteBitmaps() start");
  EXPECT_EQ(log.back(), "GameEnd()");
  // Between them only the focus comes and goes (the test gave it once); the ticker stays at 0.
  const std::vector<std::string> middle(log.begin() + static_cast<long>(start.size()),
                                        log.end() - 2);
  EXPECT_NE(std::find(middle.begin(), middle.end(), "GameActivate()"), middle.end());
  for (const std::string& line : middle) {
    EXPECT_TRUE(line == "GameActivate()" || line == "GameDeactive()" ||
                line == "Level 1 Ticker count: 0")
        << line;
  }
}

}  // namespace
}  // namespace skyrift::e2e
