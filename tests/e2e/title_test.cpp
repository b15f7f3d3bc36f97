// The real game in a real X server opens on its title picture, and when its window is closed it
// ends cleanly with the whole run told in log.txt.
#include <algorithm>
#include <string>
#include <vector>

#include "Picture.h"
#include "X11Session.h"

namespace skyrift::e2e {
namespace {

TEST(Title, TheRealGameShowsTheTitlePictureAndLogsTheWholeRunWhenClosed) {
  const Picture title = Picture::Asset("title.bmp");
  ASSERT_TRUE(title.Valid());
  ASSERT_EQ(title.Width(), 900);
  ASSERT_EQ(title.Height(), 732);

  GameProcess game;
  ASSERT_TRUE(game.Start()) << "no window appeared";
  ASSERT_TRUE(game.Focus()) << "the game did not say it had the focus";
  WaitFor([&] { return TitleShows(game.Grab(), title); });
  const Screenshot shot = game.Grab();
  ASSERT_TRUE(shot.Valid());

  // A grid over the whole picture, leaving out the band where the prompt is drawn over it and
  // the key plates the game letters.
  int compared = 0, matching = 0;
  std::string firstMismatch;
  for (int y = 10; y < 732; y += 61) {
    for (int x = 10; x < 900; x += 73) {
      if (y >= 440 && y < 510 && x >= 140 && x < 760) continue;
      if (AmongTheKeyPlates(x, y)) continue;
      ++compared;
      if (Same(shot.At(x, y), title.At(x, y))) {
        ++matching;
      } else if (firstMismatch.empty()) {
        const Rgb seen = shot.At(x, y), wanted = title.At(x, y);
        firstMismatch = "at (" + std::to_string(x) + ", " + std::to_string(y) + ") saw " +
                        Describe(seen) + " wanted " + Describe(wanted);
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
