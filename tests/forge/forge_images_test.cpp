// The forged pictures as the game will load them: each file's stored form, its magenta
// ground and figures, the places where the game prints numbers and fills bars, the icons and
// the text face, and that the forge repeats itself byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "world/Images.h"

namespace {

namespace fs = std::filesystem;
using namespace skyrift;  // the image globals and their list

constexpr uint32_t kMagenta = 0xFF00FF;

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | static_cast<uint32_t>(b[at + 1]) << 8;
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

// A bitmap file parsed the way the game's loader reads it.
struct Bmp {
  std::vector<uint8_t> bytes;
  uint32_t fileSize = 0, offset = 0, headerSize = 0, imageSize = 0, coloursUsed = 0,
           compression = 0;
  int width = 0, height = 0, planes = 0, bpp = 0;
  std::vector<uint32_t> palette;
  std::vector<uint8_t> index;  // top row first

  uint32_t At(int x, int y) const { return palette[index[static_cast<size_t>(y) * width + x]]; }
  static int Luma(uint32_t c) {
    return (((c >> 16) & 0xFF) * 299 + ((c >> 8) & 0xFF) * 587 + (c & 0xFF) * 114) / 1000;
  }
  int LumaAt(int x, int y) const { return Luma(At(x, y)); }
  // Share of magenta pixels in a rectangle.
  double MagentaShare(int x0, int y0, int x1, int y1) const {
    size_t n = 0, m = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x, ++n) m += At(x, y) == kMagenta;
    return n ? static_cast<double>(m) / n : 0.0;
  }
};

// Returns an empty string on success, else what is wrong with the file.
std::string Parse(const fs::path& path, Bmp& bmp) {
  bmp.bytes = ReadAll(path);
  const auto& b = bmp.bytes;
  if (b.size() < 54) return "shorter than the two headers";
  if (b[0] != 'B' || b[1] != 'M') return "no BM signature";
  bmp.fileSize = U32(b, 2);
  bmp.offset = U32(b, 10);
  bmp.headerSize = U32(b, 14);
  bmp.width = static_cast<int32_t>(U32(b, 18));
  bmp.height = static_cast<int32_t>(U32(b, 22));
  bmp.planes = static_cast<int>(U16(b, 26));
  bmp.bpp = static_cast<int>(U16(b, 28));
  bmp.compression = U32(b, 30);
  bmp.imageSize = U32(b, 34);
  bmp.coloursUsed = U32(b, 46);
  if (bmp.bpp != 8 && bmp.bpp != 4) return "bit depth " + std::to_string(bmp.bpp);
  if (bmp.width <= 0 || bmp.height <= 0) return "not a bottom-up image of positive size";
  const uint32_t colours = bmp.coloursUsed ? bmp.coloursUsed : (1u << bmp.bpp);
  const size_t stride = ((static_cast<size_t>(bmp.width) * bmp.bpp + 31) / 32) * 4;
  if (14 + bmp.headerSize + 4ull * colours > b.size()) return "colour table runs past the end";
  if (bmp.offset + stride * bmp.height > b.size()) return "pixels run past the end";
  for (uint32_t i = 0; i < colours; ++i) {
    const size_t at = 14 + bmp.headerSize + 4 * i;
    bmp.palette.push_back(static_cast<uint32_t>(b[at + 2]) << 16 |
                          static_cast<uint32_t>(b[at + 1]) << 8 | b[at]);
  }
  bmp.index.resize(static_cast<size_t>(bmp.width) * bmp.height);
  for (int y = 0; y < bmp.height; ++y) {
    const uint8_t* row = &b[bmp.offset + (bmp.height - 1 - y) * stride];
    for (int x = 0; x < bmp.width; ++x) {
      const uint8_t v = bmp.bpp == 8 ? row[x] : ((row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F);
      if (v >= bmp.palette.size()) return "pixel index outside the colour table";
      bmp.index[static_cast<size_t>(y) * bmp.width + x] = v;
    }
  }
  return "";
}

struct Image {
  Bitmap** global;
  int bpp, frames, frameWidth;
  bool keyed;
  bool sprite;  // a figure that covers the centre of every frame

  const ImageResource& Listed() const { return *ImageResourceOf(global); }
};

constexpr Image kImages[] = {
    {&_bmpStage1Far, 8, 1, 900, false, false},      {&_bmpStage1Near, 8, 1, 900, true, false},
    {&_bmpStage2Far, 8, 1, 900, false, false},      {&_bmpStage2Near, 8, 1, 5000, true, false},
    {&_bmpPlayer1, 8, 4, 50, true, true},           {&_bmpPlayer2, 8, 4, 50, true, true},
    {&_bmpSwoopEnemy, 8, 1, 50, true, true},        {&_bmpHoverEnemy, 8, 1, 64, true, true},
    {&_bmpConvoyEnemy, 4, 1, 50, true, true},       {&_bmpSpareEnemy, 8, 1, 120, true, true},
    {&_bmpGunshipEnemy, 8, 1, 80, true, true},      {&_bmpBoss1, 8, 1, 650, true, true},
    {&_bmpBoss1RightEngine, 4, 1, 139, true, true}, {&_bmpBoss1LeftEngine, 4, 1, 139, true, true},
    {&_bmpBossBeam, 8, 4, 51, true, true},          {&_bmpBulletCenter, 8, 5, 42, true, true},
    {&_bmpBulletLeft, 8, 5, 28, true, true},        {&_bmpBulletRight, 8, 5, 28, true, true},
    {&_bmpEnemyBullet, 4, 7, 10, true, true},       {&_bmpLargeEnemyBullet, 4, 7, 20, true, true},
    {&_bmpBossCurtainBullet, 8, 7, 7, true, true},  {&_bmpBossSweepBullet, 4, 7, 20, true, true},
    {&_bmpExplosion, 8, 15, 60, true, true},        {&_bmpPowerUp, 8, 1, 30, true, true},
    {&_bmpRepairPowerUp, 8, 1, 30, true, true},     {&_bmpBombPowerUp, 8, 1, 30, true, true},
    {&_bmpFocusPowerUp, 8, 1, 30, true, true},      {&_bmpPlayer1Recharge, 8, 4, 50, true, true},
    {&_bmpPlayer2Recharge, 8, 4, 50, true, true},   {&_bmpBombFlash, 8, 4, 900, true, false},
    {&_bmpSpareFlash, 4, 4, 900, true, false},      {&_bmpHudPanel, 8, 1, 900, false, false},
    {&_bmpGameOver, 8, 1, 900, true, false},        {&_bmpUpgradeMenu1, 8, 1, 900, false, false},
    {&_bmpTitle, 8, 1, 900, false, false},          {&_bmpPressEnter, 8, 1, 300, true, false},
    {&_bmpHowManyPlayers, 8, 1, 600, true, false},  {&_bmpInstructions, 8, 1, 900, false, false},
    {&_bmpUpgradeMenu2, 8, 1, 900, false, false},   {&_bmpStageClear, 8, 1, 900, true, false},
    {&_bmpWarning1, 8, 4, 610, true, true},         {&_bmpWarning2, 8, 4, 610, true, true},
    {&_bmpInterlude, 8, 1, 566, false, false},      {&_bmpPaused, 8, 1, 420, true, false},
    {&_bmpKeyLegend, 8, 1, 538, false, false},      {&_bmpUpgradeKeys1, 8, 1, 900, false, false},
    {&_bmpUpgradeKeys2, 8, 1, 900, false, false},
};

const fs::path kAssets = SKYRIFT_ASSET_DIR;

// Each file is parsed once per test process.
const Bmp& Load(const char* file) {
  static std::map<std::string, Bmp> cache;
  auto it = cache.find(file);
  if (it == cache.end()) {
    Bmp bmp;
    const std::string error = Parse(kAssets / file, bmp);
    EXPECT_EQ(error, "") << file;
    it = cache.emplace(file, std::move(bmp)).first;
  }
  return it->second;
}

TEST(ForgedImages, EachFileHasTheStoredFormTheGameReads) {
  for (const Image& image : kImages) {
    SCOPED_TRACE(image.Listed().file);
    Bmp bmp;
    ASSERT_EQ(Parse(kAssets / image.Listed().file, bmp), "");
    EXPECT_EQ(bmp.width, image.Listed().width);
    EXPECT_EQ(bmp.height, image.Listed().height);
    EXPECT_EQ(bmp.bpp, image.bpp);
    EXPECT_EQ(bmp.planes, 1);
    EXPECT_EQ(bmp.compression, 0u);
    EXPECT_EQ(bmp.headerSize, 40u);
    const uint32_t stride =
        ((static_cast<uint32_t>(image.Listed().width) * image.bpp + 31) / 32) * 4;
    // Two screens carry an image size 2 bytes larger than their rows, and the instructions
    // screen a colours-used count of 0 over a full table.
    const uint32_t padding =
        (image.global == &_bmpUpgradeMenu1 || image.global == &_bmpInstructions) ? 2 : 0;
    EXPECT_EQ(bmp.imageSize, stride * image.Listed().height + padding);
    EXPECT_EQ(bmp.coloursUsed, image.global == &_bmpInstructions ? 0u : (1u << image.bpp));
    EXPECT_EQ(bmp.palette.size(), 1u << image.bpp);
    EXPECT_EQ(bmp.offset, 14u + 40u + 4u * (1u << image.bpp));
    EXPECT_EQ(bmp.fileSize, bmp.bytes.size());
    EXPECT_EQ(bmp.offset + bmp.imageSize, bmp.bytes.size());
  }
}

TEST(ForgedImages, GroundIsExactMagentaAndFiguresNeverAre) {
  for (const Image& image : kImages) {
    SCOPED_TRACE(image.Listed().file);
    const Bmp& bmp = Load(image.Listed().file);
    ASSERT_EQ(bmp.width, image.Listed().width);
    const double share = bmp.MagentaShare(0, 0, bmp.width, bmp.height);
    if (!image.keyed) {
      EXPECT_EQ(share, 0.0) << "an opaque picture shows magenta";
      continue;
    }
    EXPECT_GT(share, 0.02) << "a keyed picture with no ground";
    EXPECT_LT(share, 0.995) << "a keyed picture with no figure";
    // Anti-aliased edges meet a dark outline, never a pink blend of figure and ground.
    int fringe = 0;
    for (int y = 0; y < bmp.height; ++y)
      for (int x = 0; x < bmp.width; ++x) {
        const uint32_t c = bmp.At(x, y);
        if (c == kMagenta) continue;
        const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
        if (r > 170 && b > 170 && g < 110) ++fringe;
      }
    EXPECT_EQ(fringe, 0) << "pink fringe pixels";
    if (!image.sprite) continue;
    for (int f = 0; f < image.frames; ++f)
      EXPECT_NE(bmp.At(f * image.frameWidth + image.frameWidth / 2, image.Listed().height / 2),
                kMagenta)
          << "frame " << f;
  }
}

// Frames are read by the game at multiples of the frame width; spare columns past the last
// frame are never shown and stay ground.
TEST(ForgedImages, AnimationFramesDifferAndSpareColumnsStayEmpty) {
  for (const Image& image : kImages) {
    if (image.frames == 1) continue;
    SCOPED_TRACE(image.Listed().file);
    const Bmp& bmp = Load(image.Listed().file);
    ASSERT_EQ(bmp.width, image.Listed().width);
    auto frameDiffers = [&](int a, int b) {
      for (int y = 0; y < bmp.height; ++y)
        for (int x = 0; x < image.frameWidth; ++x)
          if (bmp.At(a * image.frameWidth + x, y) != bmp.At(b * image.frameWidth + x, y))
            return true;
      return false;
    };
    for (int f = 1; f < image.frames; ++f)
      EXPECT_TRUE(frameDiffers(f - 1, f)) << "frames " << f - 1 << " and " << f;
    const int used = image.frames * image.frameWidth;
    if (used < image.Listed().width) {
      EXPECT_EQ(bmp.MagentaShare(used, 0, image.Listed().width, image.Listed().height), 1.0);
    }
  }
}

TEST(ForgedImages, EffectsFadeOutAndLayersStaySparse) {
  // The explosion blooms and fades: its last frame shows far less than its biggest.
  const Bmp& explosion = Load("explosion.bmp");
  double fullest = 0;
  for (int f = 0; f < 15; ++f)
    fullest = std::max(fullest, 1 - explosion.MagentaShare(f * 60, 0, f * 60 + 60, 60));
  EXPECT_GT(fullest, 0.4);
  EXPECT_LT(1 - explosion.MagentaShare(14 * 60, 0, 900, 60), fullest * 0.15);
  // The bomb flash starts as a white-out and leaves mostly ground in its later frames.
  for (const char* file : {"bomb_flash.bmp", "spare_flash.bmp"}) {
    SCOPED_TRACE(file);
    const Bmp& flash = Load(file);
    std::array<double, 4> ground{};
    for (int f = 0; f < 4; ++f) ground[f] = flash.MagentaShare(f * 900, 0, f * 900 + 900, 600);
    EXPECT_LT(ground[0], 0.5);
    EXPECT_GT(ground[3], 0.7);
    for (int f = 1; f < 4; ++f) EXPECT_GT(ground[f], ground[f - 1]);
  }
  // The near layers show the far layer through most of their area, at both ends too.
  const Bmp& near1 = Load("stage1_near.bmp");
  EXPECT_GT(near1.MagentaShare(0, 0, 900, 7500), 0.6);
  EXPECT_GT(near1.MagentaShare(0, 6900, 900, 7500), 0.5);
  EXPECT_GT(near1.MagentaShare(0, 0, 900, 600), 0.5);
  const Bmp& near2 = Load("stage2_near.bmp");
  EXPECT_GT(near2.MagentaShare(0, 0, 5000, 600), 0.6);
  // Its middle band, where the fight happens, stays mostly open.
  EXPECT_GT(near2.MagentaShare(0, 200, 5000, 400), 0.85);
}

// Average colour of a picture's figure pixels.
std::array<double, 3> FigureColour(const Bmp& bmp) {
  std::array<double, 3> sum{};
  double n = 0;
  for (int y = 0; y < bmp.height; ++y)
    for (int x = 0; x < bmp.width; ++x) {
      const uint32_t c = bmp.At(x, y);
      if (c == kMagenta) continue;
      sum[0] += (c >> 16) & 0xFF;
      sum[1] += (c >> 8) & 0xFF;
      sum[2] += c & 0xFF;
      ++n;
    }
  for (double& v : sum) v /= std::max(1.0, n);
  return sum;
}

TEST(ForgedImages, EnemyShotsAreWarmAndPlayerShotsCool) {
  for (const char* file : {"bullet_center.bmp", "bullet_left.bmp", "bullet_right.bmp"}) {
    const auto c = FigureColour(Load(file));
    EXPECT_GT(c[2], c[0] + 40) << file;
  }
  for (const char* file :
       {"enemy_bullet.bmp", "enemy_bullet_large.bmp", "boss_curtain_bullet.bmp", "boss_beam.bmp"}) {
    const auto c = FigureColour(Load(file));
    EXPECT_GT(c[0], c[2] + 40) << file;
  }
  // The sweep stars are told apart from the other enemy shots by their green.
  const auto sweep = FigureColour(Load("boss_sweep_bullet.bmp"));
  EXPECT_GT(sweep[1], sweep[0] + 40);
  // The four power-ups each have their own dominant colour: gold, green, red, blue.
  const auto power = FigureColour(Load("powerup.bmp")),
             repair = FigureColour(Load("powerup_repair.bmp"));
  const auto bomb = FigureColour(Load("powerup_bomb.bmp")),
             focus = FigureColour(Load("powerup_focus.bmp"));
  EXPECT_GT(power[0], power[2] + 30);
  EXPECT_GT(power[1], power[2] + 20);
  EXPECT_GT(repair[1], repair[0] + 30);
  EXPECT_GT(bomb[0], bomb[1] + 30);
  EXPECT_GT(focus[2], focus[0] + 30);
}

TEST(ForgedImages, BossPartsMeetWhereTheGameJoinsThem) {
  const Bmp& body = Load("boss1.bmp");
  const Bmp& right = Load("boss1_right_engine.bmp");
  const Bmp& left = Load("boss1_left_engine.bmp");
  // Engines placed at body-relative (418, 244) and (94, 245) sit on mounts of the body and
  // hide them: under each engine the body is solid, and the engine covers nearly all of it.
  struct Mount {
    const Bmp* engine;
    int x, y, muzzleX;
  };
  for (const Mount& m : {Mount{&right, 418, 244, 516}, Mount{&left, 94, 245, 142}}) {
    int bodyUnder = 0, covered = 0;
    for (int y = 0; y < 82 && m.y + y < 320; ++y)
      for (int x = 0; x < 139; ++x) {
        if (body.At(m.x + x, m.y + y) == kMagenta) continue;
        ++bodyUnder;
        covered += m.engine->At(x, y) != kMagenta;
      }
    EXPECT_GT(bodyUnder, 2000) << "no mount under the engine at " << m.x;
    EXPECT_GT(covered, bodyUnder * 9 / 10) << "engine at " << m.x << " leaves its mount showing";
    // The beam leaves around body-relative (muzzle, 255..285): the engine shows a red muzzle there.
    const uint32_t muzzle = m.engine->At(m.muzzleX - m.x, 270 - m.y);
    ASSERT_NE(muzzle, kMagenta);
    EXPECT_GT(static_cast<int>((muzzle >> 16) & 0xFF), static_cast<int>(muzzle & 0xFF) + 60)
        << "engine at " << m.x;
  }
  // The gunship's shots leave its lower right (x 54..69, y 34..57): its cannon is there.
  const Bmp& gunship = Load("enemy_gunship.bmp");
  EXPECT_LT(gunship.MagentaShare(58, 38, 65, 56), 0.05);
}

TEST(ForgedImages, StatusPanelLeavesRoomForNumbersAndBars) {
  const Bmp& panel = Load("hud_panel.bmp");
  for (int half = 0; half < 2; ++half) {
    SCOPED_TRACE(half == 0 ? "player 1" : "player 2");
    // Black numbers are printed right-aligned in x 100..200 (550..650), rows 40..100.
    const int nx = half == 0 ? 100 : 550;
    int darkest = 255;
    for (int y = 40; y < 100; ++y)
      for (int x = nx; x < nx + 100; ++x) darkest = std::min(darkest, panel.LumaAt(x, y));
    EXPECT_GT(darkest, 140) << "the number area is not light";
    // The bars fill x 277..432 (724..879) on rows 57..63 and 73..79: the slot pixels are all
    // one dark colour, and the frame lies on the pixels just outside.
    const int gx = half == 0 ? 277 : 724;
    for (int top : {57, 73}) {
      SCOPED_TRACE(top);
      const uint32_t slot = panel.At(gx, top);
      EXPECT_LT(Bmp::Luma(slot), 50);
      for (int y = top; y < top + 6; ++y)
        for (int x = gx; x < gx + 155; ++x) ASSERT_EQ(panel.At(x, y), slot) << x << "," << y;
      for (int y = top; y < top + 6; ++y) {
        EXPECT_NE(panel.At(gx - 1, y), slot);
        EXPECT_NE(panel.At(gx + 155, y), slot);
      }
      for (int x = gx; x < gx + 155; ++x) {
        EXPECT_NE(panel.At(x, top - 1), slot);
        EXPECT_NE(panel.At(x, top + 6), slot);
      }
    }
  }
}

TEST(ForgedImages, UpgradeScreensLeaveRoomForNumbersAndHighlight) {
  constexpr int kBars[] = {248, 322, 396, 470};
  constexpr std::array<int, 4> kBoxes[] = {
      {756, 219, 861, 242}, {756, 291, 861, 314}, {756, 365, 861, 390}, {756, 436, 861, 457}};
  for (const char* file : {"upgrade_menu1.bmp", "upgrade_menu2.bmp"}) {
    SCOPED_TRACE(file);
    const Bmp& menu = Load(file);
    for (int i = 0; i < 4; ++i) {
      // The game fills the chosen slot red: unlit, the slot holds only a dim guide rail, so
      // the lit one stands out and none looks half filled.
      int brightest = 0;
      for (int y = kBars[i]; y < kBars[i] + 10; ++y)
        for (int x = 450; x < 735; ++x) brightest = std::max(brightest, menu.LumaAt(x, y));
      EXPECT_LT(brightest, 100) << "slot " << i;
      // A pointer just left of the slot marks it as a place to choose, not a meter.
      int pointer = 0;
      for (int y = kBars[i]; y < kBars[i] + 10; ++y)
        for (int x = 432; x < 446; ++x) pointer += menu.LumaAt(x, y) > 90;
      EXPECT_GT(pointer, 20) << "no pointer at slot " << i;
      // Its red number lands in a dark readout, where pure red reads clearly.
      const auto& b = kBoxes[i];
      int lightest = 0;
      for (int y = b[1]; y < b[3]; ++y)
        for (int x = b[0]; x < b[2]; ++x) lightest = std::max(lightest, menu.LumaAt(x, y));
      EXPECT_LT(lightest, 30) << "box " << i;
      // The entry's name is lettered just above its bar: bright pixels in the rows above.
      int lettered = 0;
      for (int y = kBars[i] - 26; y < kBars[i] - 4; ++y)
        for (int x = 450; x < 620; ++x) lettered += menu.LumaAt(x, y) > 180;
      EXPECT_GT(lettered, 60) << "no label above bar " << i;
    }
  }
}

TEST(ForgedImages, TitleKeepsThePromptBandCalmAndShowsTheKeysUnderIt) {
  const Bmp& title = Load("title.bmp");
  // PRESS ENTER and the players question are drawn over x 140..760, y 440..560.
  int brightest = 0;
  for (int y = 440; y < 560; ++y)
    for (int x = 140; x < 760; ++x) brightest = std::max(brightest, title.LumaAt(x, y));
  EXPECT_LT(brightest, 90);
  // Under them, the keys' legend: lettered keycaps on a dark panel across the lower band.
  int lettered = 0;
  for (int y = 575; y < 705; ++y)
    for (int x = 140; x < 760; ++x) lettered += title.LumaAt(x, y) > 160;
  EXPECT_GT(lettered, 3000);
  // Elsewhere the screen is not empty: the logo lights its upper part.
  int lit = 0;
  for (int y = 100; y < 300; ++y)
    for (int x = 100; x < 800; ++x) lit += title.LumaAt(x, y) > 200;
  EXPECT_GT(lit, 10000);
}

TEST(ForgedImages, IconsAndTextFaceAreWhatTheGameEmbeds) {
  // Each icon file: a directory of 32-bit bitmap entries of the sizes the window asks for.
  auto sizes = [](const fs::path& path) {
    const std::vector<uint8_t> b = ReadAll(path);
    std::vector<int> out;
    if (b.size() < 6 || U16(b, 0) != 0 || U16(b, 2) != 1) return out;
    const uint32_t count = U16(b, 4);
    for (uint32_t i = 0; i < count; ++i) {
      const size_t dir = 6 + 16 * i;
      if (dir + 16 > b.size()) return std::vector<int>{};
      const int size = b[dir] == 0 ? 256 : b[dir];
      const uint32_t bytes = U32(b, dir + 8), offset = U32(b, dir + 12);
      if (offset + bytes > b.size() || bytes < 40) return std::vector<int>{};
      // The entry's own header: width, doubled height (colour and mask), 32 bits.
      if (U32(b, offset) != 40 || static_cast<int>(U32(b, offset + 4)) != size ||
          static_cast<int>(U32(b, offset + 8)) != 2 * size || U16(b, offset + 14) != 32)
        return std::vector<int>{};
      const size_t maskStride = ((static_cast<size_t>(size) + 31) / 32) * 4;
      if (bytes != 40 + static_cast<size_t>(size) * size * 4 + maskStride * size)
        return std::vector<int>{};
      out.push_back(size);
    }
    return out;
  };
  const std::vector<int> large = sizes(kAssets / "skyrift.ico");
  EXPECT_NE(std::find(large.begin(), large.end(), 32), large.end());
  EXPECT_EQ(sizes(kAssets / "skyrift_small.ico"), std::vector<int>{16});
  // The desktop's icons: square RGBA PNGs of each size the hicolor theme is given.
  for (int size : {16, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const std::vector<uint8_t> png =
        ReadAll(kAssets / ("skyrift_" + std::to_string(size) + ".png"));
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    const auto big32 = [&](size_t at) {
      return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    };
    EXPECT_EQ(big32(16), size);
    EXPECT_EQ(big32(20), size);
    EXPECT_EQ(png[25], 6);  // RGBA: the icon's corners stay see-through on any panel
  }
  // The text face is a TrueType file.
  const std::vector<uint8_t> face = ReadAll(kAssets / "skyrift_font.ttf");
  ASSERT_GT(face.size(), 10000u);
  EXPECT_EQ(U32(face, 0), 0x00000100u);  // 0x00010000 stored big-endian
}

TEST(ForgedImages, ASecondRunGivesTheSameBytes) {
  const fs::path forge = kAssets / ".." / "forge";
  ASSERT_TRUE(fs::exists(forge)) << forge;
  const skyrift::testing::TempFolder folder("skyrift_forge_again");
  const fs::path& dir = folder.Path();
  const std::string command = forge.string() + " images " + dir.string();
  ASSERT_EQ(std::system(command.c_str()), 0);
  size_t compared = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const fs::path name = entry.path().filename();
    EXPECT_TRUE(ReadAll(entry.path()) == ReadAll(kAssets / name))
        << name << " differs between runs";
    ++compared;
  }
  // The pictures, the three screens lettered with the shipped keys, two icons, the face and the
  // desktop's six icon sizes.
  EXPECT_EQ(compared, std::size(kImages) + 3 + 3 + 6);
}

TEST(ForgedImages, ContactSheetIsAValidPng) {
  const fs::path forge = kAssets / ".." / "forge";
  const skyrift::testing::TempFolder folder("skyrift_sheet");
  const fs::path& dir = folder.Path();
  const fs::path png = dir / "sheet.png";
  ASSERT_EQ(
      std::system((forge.string() + " sheet " + kAssets.string() + " " + png.string()).c_str()), 0);
  const std::vector<uint8_t> b = ReadAll(png);
  ASSERT_GT(b.size(), 8u);
  const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_TRUE(std::equal(signature, signature + 8, b.begin()));
  // Walk the chunks, checking each one's CRC, and expect IHDR first, IDAT, then IEND last.
  auto be32 = [&](size_t at) {
    return static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
           static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3];
  };
  auto crc = [](const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
      c ^= p[i];
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return ~c;
  };
  std::vector<std::string> chunks;
  size_t at = 8;
  while (at + 12 <= b.size()) {
    const uint32_t length = be32(at);
    ASSERT_LE(at + 12 + length, b.size());
    chunks.emplace_back(reinterpret_cast<const char*>(&b[at + 4]), 4);
    EXPECT_EQ(crc(&b[at + 4], length + 4), be32(at + 8 + length)) << chunks.back();
    if (chunks.size() == 1) {
      EXPECT_GT(be32(at + 8), 1000u);   // width
      EXPECT_GT(be32(at + 12), 1000u);  // height
      EXPECT_EQ(b[at + 16], 8);         // bits per channel
      EXPECT_EQ(b[at + 17], 2);         // RGB
    }
    at += 12 + length;
  }
  EXPECT_EQ(at, b.size());
  ASSERT_GE(chunks.size(), 3u);
  EXPECT_EQ(chunks.front(), "IHDR");
  EXPECT_EQ(chunks[1], "IDAT");
  EXPECT_EQ(chunks.back(), "IEND");
}

}  // namespace
