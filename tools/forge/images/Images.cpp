// The picture forge: the table of every image the game embeds, and the loop that paints,
// quantises and writes each one, then the icons and the text face.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <system_error>

#include "Forge.h"
#include "images/Art.h"
#include "images/BmpFile.h"
#include "images/Palette.h"
#include "images/Png.h"
#include "images/Text.h"

namespace skyrift::forge {

namespace {

struct Picture {
  int id;
  const char* file;
  int width, height, bpp;
  Ground ground;
  Canvas (*paint)();
  float dither = 0;      // ordered dither for gradients (0..255 steps)
  float alphaCut = 0.5f; // keyed images: coverage below this is ground
  BmpQuirks quirks = {};
};

constexpr Ground kOpaque = Ground::Opaque;
constexpr Ground kKeyed = Ground::Magenta;

Canvas Player1() { return PaintPlayer(1, false); }
Canvas Player2() { return PaintPlayer(2, false); }
Canvas Player1Recharge() { return PaintPlayer(1, true); }
Canvas Player2Recharge() { return PaintPlayer(2, true); }
Canvas RightEngine() { return PaintBossEngine(true); }
Canvas LeftEngine() { return PaintBossEngine(false); }
Canvas BulletLeft() { return PaintBulletSide(false); }
Canvas BulletRight() { return PaintBulletSide(true); }
Canvas PowerUp() { return PaintPowerUp(0); }
Canvas RepairPowerUp() { return PaintPowerUp(1); }
Canvas BombPowerUp() { return PaintPowerUp(2); }
Canvas FocusPowerUp() { return PaintPowerUp(3); }
Canvas UpgradeMenu1() { return PaintUpgradeMenu(1); }
Canvas UpgradeMenu2() { return PaintUpgradeMenu(2); }
Canvas Warning1() { return PaintWarning(1); }
Canvas Warning2() { return PaintWarning(2); }

const Picture kImages[] = {
    {2000, "stage1_far.bmp", 900, 5000, 8, kOpaque, PaintStage1Far, 3.0f},
    {2001, "stage1_near.bmp", 900, 7500, 8, kKeyed, PaintStage1Near},
    {2002, "stage2_far.bmp", 900, 3500, 8, kOpaque, PaintStage2Far, 3.0f},
    {2003, "stage2_near.bmp", 5000, 600, 8, kKeyed, PaintStage2Near},
    {2100, "player1.bmp", 200, 64, 8, kKeyed, Player1},
    {2101, "player2.bmp", 200, 64, 8, kKeyed, Player2},
    {2102, "enemy_swoop.bmp", 50, 39, 8, kKeyed, PaintSwoopEnemy},
    {2103, "enemy_hover.bmp", 64, 29, 8, kKeyed, PaintHoverEnemy},
    {2104, "enemy_convoy.bmp", 50, 37, 4, kKeyed, PaintConvoyEnemy},
    {2105, "enemy_spare.bmp", 120, 120, 8, kKeyed, PaintSpareEnemy},
    {2106, "enemy_gunship.bmp", 80, 58, 8, kKeyed, PaintGunshipEnemy},
    {2200, "boss1.bmp", 650, 320, 8, kKeyed, PaintBoss},
    {2201, "boss1_right_engine.bmp", 139, 82, 4, kKeyed, RightEngine},
    {2202, "boss1_left_engine.bmp", 139, 82, 4, kKeyed, LeftEngine},
    {2203, "boss_beam.bmp", 204, 30, 8, kKeyed, PaintBossBeam, 0, 0.3f},
    {2300, "bullet_center.bmp", 212, 26, 8, kKeyed, PaintBulletCentre, 0, 0.3f},
    {2301, "bullet_left.bmp", 142, 25, 8, kKeyed, BulletLeft, 0, 0.3f},
    {2302, "bullet_right.bmp", 142, 25, 8, kKeyed, BulletRight, 0, 0.3f},
    {2303, "enemy_bullet.bmp", 70, 10, 4, kKeyed, PaintEnemyBullet, 0, 0.3f},
    {2304, "enemy_bullet_large.bmp", 140, 20, 4, kKeyed, PaintEnemyBulletLarge, 0, 0.3f},
    {2305, "boss_curtain_bullet.bmp", 50, 39, 8, kKeyed, PaintCurtainBullet, 0, 0.3f},
    {2306, "boss_sweep_bullet.bmp", 140, 20, 4, kKeyed, PaintSweepBullet, 0, 0.3f},
    {2400, "explosion.bmp", 900, 60, 8, kKeyed, PaintExplosion, 0, 0.3f},
    {2401, "powerup.bmp", 30, 30, 8, kKeyed, PowerUp},
    {2402, "powerup_repair.bmp", 30, 30, 8, kKeyed, RepairPowerUp},
    {2403, "powerup_bomb.bmp", 30, 30, 8, kKeyed, BombPowerUp},
    {2404, "powerup_focus.bmp", 30, 30, 8, kKeyed, FocusPowerUp},
    {2405, "player1_recharge.bmp", 200, 64, 8, kKeyed, Player1Recharge},
    {2406, "player2_recharge.bmp", 200, 64, 8, kKeyed, Player2Recharge},
    {2407, "bomb_flash.bmp", 3600, 600, 8, kKeyed, PaintBombFlash, 2.0f, 0.35f},
    {2408, "spare_flash.bmp", 3600, 600, 4, kKeyed, PaintSpareFlash, 10.0f, 0.35f},
    {2500, "hud_panel.bmp", 900, 132, 8, kOpaque, PaintHudPanel},
    {2501, "game_over.bmp", 900, 600, 8, kKeyed, PaintGameOver},
    {2502, "upgrade_menu1.bmp", 900, 600, 8, kOpaque, UpgradeMenu1, 1.5f, 0.5f, {2, false}},
    {2503, "title.bmp", 900, 732, 8, kOpaque, PaintTitle, 2.5f},
    {2504, "press_enter.bmp", 300, 50, 8, kKeyed, PaintPressEnter},
    {2505, "how_many_players.bmp", 600, 100, 8, kKeyed, PaintHowManyPlayers},
    {2506, "instructions.bmp", 900, 732, 8, kOpaque, PaintInstructions, 1.5f, 0.5f, {2, true}},
    {2507, "upgrade_menu2.bmp", 900, 600, 8, kOpaque, UpgradeMenu2, 1.5f},
    {2508, "stage_clear.bmp", 900, 600, 8, kKeyed, PaintStageClear},
    {2509, "warning1.bmp", 2440, 110, 8, kKeyed, Warning1},
    {2510, "warning2.bmp", 2440, 110, 8, kKeyed, Warning2},
    {2600, "interlude.bmp", 566, 732, 8, kOpaque, PaintInterlude, 2.5f},
};

bool ForgeOne(const Picture& picture, const std::filesystem::path& outDir) {
  const Canvas canvas = picture.paint();
  if (canvas.Width() != picture.width || canvas.Height() != picture.height) {
    std::fprintf(stderr, "forge: %s painted at %dx%d, expected %dx%d\n", picture.file, canvas.Width(), canvas.Height(),
                 picture.width, picture.height);
    return false;
  }
  QuantiseOptions options;
  options.bpp = picture.bpp;
  options.ground = picture.ground;
  options.dither = picture.dither;
  options.alphaCut = picture.alphaCut;
  const Indexed image = Quantise(canvas, options);
  if (!WriteFile(outDir / picture.file, EncodeBmp(image, picture.quirks))) {
    std::fprintf(stderr, "forge: cannot write %s\n", (outDir / picture.file).c_str());
    return false;
  }
  return true;
}

bool ForgeIcons(const std::filesystem::path& outDir) {
  std::vector<Canvas> large;
  for (int size : {256, 48, 32}) large.push_back(PaintIcon(size));
  const std::vector<Canvas> small{PaintIcon(16)};
  bool ok = WriteFile(outDir / "skyrift.ico", EncodeIco(large));
  ok = WriteFile(outDir / "skyrift_small.ico", EncodeIco(small)) && ok;
  // The desktop's icons, one PNG a size for the hicolor theme.
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const Canvas icon = PaintIcon(size);
    std::vector<uint8_t> rgba;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const Rgba p = icon.At(x, y);
        const float a = std::clamp(p.a, 0.0f, 1.0f);
        for (float v : {p.r, p.g, p.b}) rgba.push_back(static_cast<uint8_t>(std::lround(std::clamp(a > 0 ? v / a : 0.0f, 0.0f, 1.0f) * 255)));
        rgba.push_back(static_cast<uint8_t>(std::lround(a * 255)));
      }
    ok = WriteFile(outDir / ("skyrift_" + std::to_string(size) + ".png"), EncodePng(size, size, rgba, 4)) && ok;
  }
  if (!ok) std::fprintf(stderr, "forge: cannot write the icons into %s\n", outDir.c_str());
  return ok;
}

bool CopyTextFace(const std::filesystem::path& outDir) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(GameTextFace(), bytes) || bytes.empty() || !WriteFile(outDir / "skyrift_font.ttf", bytes)) {
    std::fprintf(stderr, "forge: cannot copy the text face %s\n", GameTextFace().c_str());
    return false;
  }
  return true;
}

// Reduces an image by an integer factor for the sheet, showing magenta as a checkerboard.
std::vector<uint8_t> SheetPixels(const Indexed& image, int factor, int& outW, int& outH) {
  outW = (image.width + factor - 1) / factor;
  outH = (image.height + factor - 1) / factor;
  std::vector<uint8_t> rgb(static_cast<size_t>(outW) * outH * 3);
  for (int y = 0; y < outH; ++y)
    for (int x = 0; x < outW; ++x) {
      uint32_t sum[3] = {0, 0, 0}, n = 0;
      for (int j = y * factor; j < std::min(image.height, (y + 1) * factor); ++j)
        for (int i = x * factor; i < std::min(image.width, (x + 1) * factor); ++i) {
          uint32_t c = image.ColourAt(i, j);
          if (c == kMagenta) c = (((i / 8) + (j / 8)) % 2) ? 0x9A9A9A : 0x6A6A6A;
          sum[0] += (c >> 16) & 0xFF;
          sum[1] += (c >> 8) & 0xFF;
          sum[2] += c & 0xFF;
          ++n;
        }
      for (int k = 0; k < 3; ++k) rgb[(static_cast<size_t>(y) * outW + x) * 3 + k] = static_cast<uint8_t>(sum[k] / n);
    }
  return rgb;
}

}  // namespace

int WriteContactSheet(const std::filesystem::path& imageDir, const std::filesystem::path& pngFile) {
  // Large images are reduced so that each fits in about 1220 x 1250; labels sit under each.
  constexpr int kSheetWidth = 2480, kGap = 12, kLabel = 18, kMaxW = 1220, kMaxH = 1250;
  struct Tile {
    std::vector<uint8_t> rgb;
    int w, h, x, y;
    std::string label;
  };
  std::vector<Tile> tiles;
  int x = kGap, y = kGap, rowHeight = 0;
  for (const Picture& picture : kImages) {
    std::vector<uint8_t> bytes;
    Indexed image;
    if (!ReadFile(imageDir / picture.file, bytes) || !DecodeBmp(bytes, image)) {
      std::fprintf(stderr, "forge: cannot read %s\n", (imageDir / picture.file).c_str());
      return 1;
    }
    const int factor = std::max({1, (image.width + kMaxW - 1) / kMaxW, (image.height + kMaxH - 1) / kMaxH});
    Tile t;
    t.rgb = SheetPixels(image, factor, t.w, t.h);
    t.label = std::string(picture.file) + (factor > 1 ? " (1/" + std::to_string(factor) + ")" : "");
    const int tileW = std::max(t.w, 8 * static_cast<int>(t.label.size()));
    if (x + tileW + kGap > kSheetWidth) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    t.x = x;
    t.y = y;
    x += tileW + kGap;
    rowHeight = std::max(rowHeight, t.h + kLabel);
    tiles.push_back(std::move(t));
  }
  const int height = y + rowHeight + kGap;
  std::vector<uint8_t> sheet(static_cast<size_t>(kSheetWidth) * height * 3, 0x20);
  for (const Tile& t : tiles) {
    for (int j = 0; j < t.h; ++j)
      std::copy_n(&t.rgb[static_cast<size_t>(j) * t.w * 3], t.w * 3, &sheet[(static_cast<size_t>(t.y + j) * kSheetWidth + t.x) * 3]);
    const TextMask label = RenderText(Face::Bold, 12, t.label);
    for (int j = 0; j < label.mask.h; ++j)
      for (int i = 0; i < label.mask.w; ++i) {
        const int sx = t.x + i, sy = t.y + t.h + 2 + j;
        if (sx >= kSheetWidth || sy >= height) continue;
        uint8_t* p = &sheet[(static_cast<size_t>(sy) * kSheetWidth + sx) * 3];
        const float a = label.mask.At(i, j);
        for (int k = 0; k < 3; ++k) p[k] = static_cast<uint8_t>(p[k] + (230 - p[k]) * a);
      }
  }
  if (!WriteFile(pngFile, EncodePng(kSheetWidth, height, sheet))) {
    std::fprintf(stderr, "forge: cannot write %s\n", pngFile.c_str());
    return 1;
  }
  return 0;
}

int ForgeImages(const std::filesystem::path& outDir) {
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  if (ec) {
    std::fprintf(stderr, "forge: cannot create %s: %s\n", outDir.c_str(), ec.message().c_str());
    return 1;
  }
  if (!FontsReady()) return 1;
  bool ok = true;
  for (const Picture& picture : kImages) ok = ForgeOne(picture, outDir) && ok;
  ok = ForgeIcons(outDir) && ok;
  ok = CopyTextFace(outDir) && ok;
  return ok ? 0 : 1;
}

}  // namespace skyrift::forge
