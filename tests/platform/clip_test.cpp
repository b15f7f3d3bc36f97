// The copy clipping and the size check both layers' surfaces share.
#include <gtest/gtest.h>

#include "platform/Clip.h"

namespace skyrift::platform {
namespace {

TEST(ClipCopy, ACopyIsCutToItsSourceThenToTheTargetsClipMovingBothCornersTogether) {
  struct Case {
    const char* what;
    ClipArea clip;                 // of the target
    int64_t sx, sy, w, h, dx, dy;  // asked for, from a 100 x 80 source
    bool left;                     // anything left
    int64_t wantSx, wantSy, wantW, wantH, wantDx, wantDy;
  } cases[] = {
      {"inside", {0, 0, 200, 200}, 10, 10, 20, 20, 5, 6, true, 10, 10, 20, 20, 5, 6},
      {"left of the source", {0, 0, 200, 200}, -5, 0, 20, 10, 10, 0, true, 0, 0, 15, 10, 15, 0},
      {"above the source", {0, 0, 200, 200}, 0, -4, 10, 10, 0, 0, true, 0, 0, 10, 6, 0, 4},
      {"past the source", {0, 0, 200, 200}, 90, 70, 20, 20, 0, 0, true, 90, 70, 10, 10, 0, 0},
      {"before the clip", {10, 20, 50, 50}, 0, 0, 30, 30, 4, 5, true, 6, 15, 24, 15, 10, 20},
      {"past the clip", {10, 20, 50, 50}, 0, 0, 30, 30, 50, 60, true, 0, 0, 10, 10, 50, 60},
      {"off the target", {0, 0, 200, 200}, 0, 0, 10, 10, -10, 0, false, 0, 0, 0, 0, 0, 0},
      {"off the source", {0, 0, 200, 200}, 100, 0, 10, 10, 0, 0, false, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int64_t sx = c.sx, sy = c.sy, w = c.w, h = c.h, dx = c.dx, dy = c.dy;
    ASSERT_EQ(ClipCopy(100, 80, c.clip, sx, sy, w, h, dx, dy), c.left);
    if (!c.left) continue;
    EXPECT_EQ(sx, c.wantSx);
    EXPECT_EQ(sy, c.wantSy);
    EXPECT_EQ(w, c.wantW);
    EXPECT_EQ(h, c.wantH);
    EXPECT_EQ(dx, c.wantDx);
    EXPECT_EQ(dy, c.wantDy);
  }
}

TEST(ClipCopy, ImagesArePositiveAndAtMostTheLimitInPixels) {
  EXPECT_TRUE(SizeAcceptable(1, 1));
  EXPECT_TRUE(SizeAcceptable(16384, 16384));  // exactly the limit
  EXPECT_FALSE(SizeAcceptable(16384, 16385));
  EXPECT_FALSE(SizeAcceptable(0, 10));
  EXPECT_FALSE(SizeAcceptable(10, -1));
  EXPECT_FALSE(SizeAcceptable(65536, 65536));  // would overflow 32 bits
}

}  // namespace
}  // namespace skyrift::platform
