// The frame rule: a frame runs when the tick count has passed the next-frame time, the next
// one is due a frame delay later, nothing runs asleep, and late frames are not made up.
#include <gtest/gtest.h>

#include <vector>

#include "engine/Engine.h"
#include "engine/MessageLoop.h"
#include "platform/Clock.h"
#include "platform/Resources.h"

namespace skyrift {
namespace {

class FrameLoop : public ::testing::Test {
 protected:
  FrameLoop() : engine(platform::ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732) {
    engine.SetFramesPerSecond(24);
    _iNextFrameTick = 0;
  }
  ~FrameLoop() override { platform::UseRealClock(); }

  // Polls the loop at every millisecond from `from` to `to` (the count may wrap on the way),
  // returning the ticks frames ran at.
  std::vector<uint32_t> RunBetween(uint32_t from, uint32_t to) {
    std::vector<uint32_t> frames;
    for (uint32_t now = from;; ++now) {
      platform::DriveClock(now);
      if (RunFrameIfDue(engine)) frames.push_back(now);
      if (now == to) return frames;
    }
  }

  Engine engine;
};

TEST_F(FrameLoop, TwentyFourFramesPerSecondGiveAFortyOneMillisecondDelay) {
  EXPECT_EQ(engine.GetFrameDelay(), 41);
  engine.SetFramesPerSecond(30);
  EXPECT_EQ(engine.GetFrameDelay(), 33);
}

TEST_F(FrameLoop, FramesRunAtLeastFortyTwoMillisecondsApartOnceAwake) {
  EXPECT_TRUE(RunBetween(100, 300).empty()) << "the engine starts asleep";
  engine.SetAsleep(FALSE);
  const auto frames = RunBetween(301, 1000);
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.front(), 301u) << "the first frame runs as soon as the engine wakes";
  for (size_t i = 1; i < frames.size(); ++i) EXPECT_EQ(frames[i] - frames[i - 1], 42u);
}

TEST_F(FrameLoop, SleepStopsFramesAndWakingResumesWithoutCatchingUp) {
  engine.SetAsleep(FALSE);
  RunBetween(1, 200);
  engine.SetAsleep(TRUE);
  EXPECT_TRUE(RunBetween(201, 5000).empty());
  engine.SetAsleep(FALSE);
  const auto frames = RunBetween(5001, 5100);
  ASSERT_EQ(frames.size(), 3u) << "one frame at once, then one per delay: no burst";
  EXPECT_EQ(frames[0], 5001u);
  EXPECT_EQ(frames[1], 5043u);
  EXPECT_EQ(frames[2], 5085u);
}

TEST_F(FrameLoop, ALateFrameIsCountedFromWhenItRan) {
  engine.SetAsleep(FALSE);
  platform::DriveClock(1000);
  ASSERT_TRUE(RunFrameIfDue(engine));
  platform::DriveClock(1300);  // a long stall
  EXPECT_TRUE(RunFrameIfDue(engine));
  EXPECT_FALSE(RunFrameIfDue(engine));
  platform::DriveClock(1341);
  EXPECT_FALSE(RunFrameIfDue(engine));
  platform::DriveClock(1342);
  EXPECT_TRUE(RunFrameIfDue(engine));
}

// The tick count is the system's uptime in 32 bits: it turns negative as a signed number after
// 24.8 days and wraps to 0 after 49.7. Frames keep their pace across both, and the first frame
// runs at once whatever the count is when the game starts.
TEST_F(FrameLoop, FramesKeepTheirPaceAcrossTheSignChangeAndTheWrap) {
  engine.SetAsleep(FALSE);
  for (const uint32_t start : {0x7FFFFF00u, 0xFFFFFF00u, 0x80000000u, 0xC0000000u}) {
    _iNextFrameTick = 0;
    const auto frames = RunBetween(start, start + 600);
    ASSERT_EQ(frames.size(), 15u) << std::hex << start;
    EXPECT_EQ(frames.front(), start) << std::hex << start;
    for (size_t i = 1; i < frames.size(); ++i)
      EXPECT_EQ(frames[i] - frames[i - 1], 42u) << std::hex << frames[i];
  }
}

}  // namespace
}  // namespace skyrift
