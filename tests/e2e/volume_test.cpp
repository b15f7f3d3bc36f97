// The volume keys as a player hears them: SDL's disk audio output (32-bit float stereo at
// 44100 Hz) carries the level, and the level is there again after a restart.
#include <cmath>
#include <cstdlib>

#include "X11Session.h"

namespace skyrift::e2e {
namespace {

constexpr size_t kBytesPerSecond = 44100 * 2 * sizeof(float);

// Waits for the file to hold `bytes`; false if it never did.
bool WaitForBytes(const fs::path& file, size_t bytes) {
  return WaitFor([&] {
    std::error_code error;
    return fs::file_size(file, error) >= bytes && !error;
  });
}

// The root mean square of the samples in [from, to) bytes of the capture.
double Loudness(const fs::path& file, size_t from, size_t to) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(from));
  std::vector<float> samples((to - from) / sizeof(float));
  in.read(reinterpret_cast<char*>(samples.data()),
          static_cast<std::streamsize>(samples.size() * sizeof(float)));
  double sum = 0;
  for (const float s : samples) sum += static_cast<double>(s) * s;
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

// The level settings.txt holds, or -1 while it holds none.
int KeptLevel(const fs::path& folder) {
  std::ifstream settings(folder / "settings.txt");
  const std::string kept(std::istreambuf_iterator<char>(settings), {});
  const size_t at = kept.find("volume ");
  return at == std::string::npos ? -1 : std::atoi(kept.c_str() + at + 7);
}

// Presses - until the game has kept `level`: each press held until the file shows it was seen,
// then let go for a frame or two so that the next is a press of its own; pressed again if a busy
// machine let it pass unseen.
bool TurnDownTo(GameProcess& game, int level) {
  for (int attempt = 0; attempt < 40; ++attempt) {
    const int before = KeptLevel(game.Folder());
    if (before == level) return true;
    game.Hold(
        "minus", [&] { return KeptLevel(game.Folder()) != before; }, std::chrono::seconds(3));
    Sleep(100);
  }
  return KeptLevel(game.Folder()) == level;
}

TEST(Volume, MinusTurnsDownWhatIsHeardAndTheLevelIsKeptForTheNextStart) {
  GameProcess game;
  const fs::path first = game.Folder().string() + "-first.raw";
  const fs::path second = game.Folder().string() + "-second.raw";
  game.SetEnvironment("SDL_AUDIODRIVER", "disk");
  game.SetEnvironment("SDL_DISKAUDIOFILE", first.string());
  ASSERT_TRUE(game.Start()) << "no window appeared";
  ASSERT_TRUE(game.Focus()) << "the game did not say it had the focus";
  // The title's music, from its start: the opening two seconds at full volume.
  ASSERT_TRUE(WaitForBytes(first, 3 * kBytesPerSecond));
  const double full = Loudness(first, kBytesPerSecond, 3 * kBytesPerSecond);
  ASSERT_GT(full, 0.01) << "music is heard";

  ASSERT_TRUE(TurnDownTo(game, 5)) << "kept " << KeptLevel(game.Folder());
  const size_t turnedDown = fs::file_size(first) + kBytesPerSecond / 2;
  ASSERT_TRUE(WaitForBytes(first, turnedDown + 2 * kBytesPerSecond));
  const double half = Loudness(first, turnedDown, turnedDown + 2 * kBytesPerSecond);
  EXPECT_LT(half, full * 0.5) << "a quarter of the level, give or take the music's own swell";
  EXPECT_EQ(game.Close(), 0);

  // Started again with its folder as the player left it, the same opening of the same music is
  // heard at a quarter of its level.
  GameProcess again;
  fs::copy_file(game.Folder() / "settings.txt", again.Folder() / "settings.txt");
  again.SetEnvironment("SDL_AUDIODRIVER", "disk");
  again.SetEnvironment("SDL_DISKAUDIOFILE", second.string());
  ASSERT_TRUE(again.Start()) << "no window appeared the second time";
  ASSERT_TRUE(again.Focus()) << "the game did not say it had the focus";
  ASSERT_TRUE(WaitForBytes(second, 3 * kBytesPerSecond));
  EXPECT_NEAR(Loudness(second, kBytesPerSecond, 3 * kBytesPerSecond) / full, 0.25, 0.04);
  EXPECT_EQ(again.Close(), 0);
  fs::remove(first);
  fs::remove(second);
}

}  // namespace
}  // namespace skyrift::e2e
