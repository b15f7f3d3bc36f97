// The picture forge: the table of every image the game embeds, and the loop that paints,
// quantises and writes each one, then the icons and the text face.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "Forge.h"
#include "images/Art.h"
#include "images/BmpFile.h"
#include "images/Palette.h"
#include "images/Png.h"
#include "images/Text.h"
#include "resources/KeyPlaces.h"

namespace skyrift::forge {

namespace {

// The listed images, named as the game's globals, in the list's order.
enum ListedImage {
#define IMAGE(id, file, global, width, height) global,
#include "resources/Images.inc"
#undef IMAGE
};

struct Listing {
  const char* file;
  int width, height;
};
constexpr Listing kListed[] = {
#define IMAGE(id, file, global, width, height) {file, width, height},
#include "resources/Images.inc"
#undef IMAGE
};

// How a listed image is painted and stored. A picture without a painter is cut from a screen
// painted with the shipped keys (kShippedKeys below).
struct Picture {
  ListedImage image;
  int bpp;
  Ground ground;
  Canvas (*paint)();
  float dither = 0;       // ordered dither for gradients (0..255 steps)
  float alphaCut = 0.5f;  // keyed images: coverage below this is ground
  BmpQuirks quirks = {};

  const char* File() const { return kListed[image].file; }
  int Width() const { return kListed[image].width; }
  int Height() const { return kListed[image].height; }
};

constexpr Ground kOpaque = Ground::Opaque;
constexpr Ground kKeyed = Ground::Magenta;

Canvas Player1() {
  return PaintPlayer(1, false);
}
Canvas Player2() {
  return PaintPlayer(2, false);
}
Canvas Player1Recharge() {
  return PaintPlayer(1, true);
}
Canvas Player2Recharge() {
  return PaintPlayer(2, true);
}
Canvas RightEngine() {
  return PaintBossEngine(true);
}
Canvas LeftEngine() {
  return PaintBossEngine(false);
}
Canvas BulletLeft() {
  return PaintBulletSide(false);
}
Canvas BulletRight() {
  return PaintBulletSide(true);
}
Canvas PowerUp() {
  return PaintPowerUp(0);
}
Canvas RepairPowerUp() {
  return PaintPowerUp(1);
}
Canvas BombPowerUp() {
  return PaintPowerUp(2);
}
Canvas FocusPowerUp() {
  return PaintPowerUp(3);
}
Canvas UpgradeMenu1() {
  return PaintUpgradeMenu(1, false);
}
Canvas UpgradeMenu2() {
  return PaintUpgradeMenu(2, false);
}
Canvas Title() {
  return PaintTitle(false);
}
Canvas UpgradeMenu1WithKeys() {
  return PaintUpgradeMenu(1, true);
}
Canvas UpgradeMenu2WithKeys() {
  return PaintUpgradeMenu(2, true);
}
Canvas TitleWithKeys() {
  return PaintTitle(true);
}
Canvas Warning1() {
  return PaintWarning(1);
}
Canvas Warning2() {
  return PaintWarning(2);
}

constexpr Picture kImages[] = {
    {_bmpStage1Far, 8, kOpaque, PaintStage1Far, 3.0f},
    {_bmpStage1Near, 8, kKeyed, PaintStage1Near},
    {_bmpStage2Far, 8, kOpaque, PaintStage2Far, 3.0f},
    {_bmpStage2Near, 8, kKeyed, PaintStage2Near},
    {_bmpPlayer1, 8, kKeyed, Player1},
    {_bmpPlayer2, 8, kKeyed, Player2},
    {_bmpSwoopEnemy, 8, kKeyed, PaintSwoopEnemy},
    {_bmpHoverEnemy, 8, kKeyed, PaintHoverEnemy},
    {_bmpConvoyEnemy, 4, kKeyed, PaintConvoyEnemy},
    {_bmpSpareEnemy, 8, kKeyed, PaintSpareEnemy},
    {_bmpGunshipEnemy, 8, kKeyed, PaintGunshipEnemy},
    {_bmpBoss1, 8, kKeyed, PaintBoss},
    {_bmpBoss1RightEngine, 4, kKeyed, RightEngine},
    {_bmpBoss1LeftEngine, 4, kKeyed, LeftEngine},
    {_bmpBossBeam, 8, kKeyed, PaintBossBeam, 0, 0.3f},
    {_bmpBulletCenter, 8, kKeyed, PaintBulletCentre, 0, 0.3f},
    {_bmpBulletLeft, 8, kKeyed, BulletLeft, 0, 0.3f},
    {_bmpBulletRight, 8, kKeyed, BulletRight, 0, 0.3f},
    {_bmpEnemyBullet, 4, kKeyed, PaintEnemyBullet, 0, 0.3f},
    {_bmpLargeEnemyBullet, 4, kKeyed, PaintEnemyBulletLarge, 0, 0.3f},
    {_bmpBossCurtainBullet, 8, kKeyed, PaintCurtainBullet, 0, 0.3f},
    {_bmpBossSweepBullet, 4, kKeyed, PaintSweepBullet, 0, 0.3f},
    {_bmpExplosion, 8, kKeyed, PaintExplosion, 0, 0.3f},
    {_bmpPowerUp, 8, kKeyed, PowerUp},
    {_bmpRepairPowerUp, 8, kKeyed, RepairPowerUp},
    {_bmpBombPowerUp, 8, kKeyed, BombPowerUp},
    {_bmpFocusPowerUp, 8, kKeyed, FocusPowerUp},
    {_bmpPlayer1Recharge, 8, kKeyed, Player1Recharge},
    {_bmpPlayer2Recharge, 8, kKeyed, Player2Recharge},
    {_bmpBombFlash, 8, kKeyed, PaintBombFlash, 2.0f, 0.35f},
    {_bmpSpareFlash, 4, kKeyed, PaintSpareFlash, 10.0f, 0.35f},
    {_bmpHudPanel, 8, kOpaque, PaintHudPanel},
    {_bmpGameOver, 8, kKeyed, PaintGameOver},
    {_bmpUpgradeMenu1, 8, kOpaque, UpgradeMenu1, 1.5f, 0.5f, {2, false}},
    {_bmpTitle, 8, kOpaque, Title, 2.5f},
    {_bmpPressEnter, 8, kKeyed, PaintPressEnter},
    {_bmpHowManyPlayers, 8, kKeyed, PaintHowManyPlayers},
    {_bmpPaused, 8, kKeyed, PaintPaused},
    {_bmpKeyLegend, 8, kOpaque, nullptr},
    {_bmpUpgradeKeys1, 8, kOpaque, nullptr},
    {_bmpUpgradeKeys2, 8, kOpaque, nullptr},
    {_bmpInstructions, 8, kOpaque, PaintInstructions, 1.5f, 0.5f, {2, true}},
    {_bmpUpgradeMenu2, 8, kOpaque, UpgradeMenu2, 1.5f},
    {_bmpStageClear, 8, kKeyed, PaintStageClear},
    {_bmpWarning1, 8, kKeyed, Warning1},
    {_bmpWarning2, 8, kKeyed, Warning2},
    {_bmpInterlude, 8, kOpaque, PaintInterlude, 2.5f},
};

// A listed image without a painting, or with two, fails the build.
constexpr bool EachListedImagePaintedOnce() {
  for (int listed = 0; listed < static_cast<int>(std::size(kListed)); ++listed) {
    int paintings = 0;
    for (const Picture& picture : kImages) paintings += (picture.image == listed);
    if (paintings != 1) return false;
  }
  return std::size(kImages) == std::size(kListed);
}
static_assert(EachListedImagePaintedOnce());

// The screens whose keys the game letters from the bindings. Each is painted blank (its
// picture's painter) and with the shipped keys lettered, both mapped to the lettered one's
// colours; the places where they may differ are cut from the lettered one into the cut picture,
// which the game lays over the places of keys still bound as shipped. The lettered screen is
// also written whole, as "lettered_" and the screen's file, for the tests to compare the game's
// screen with; it is neither embedded nor installed.
struct ShippedKeys {
  ListedImage screen, cut;
  Canvas (*lettered)();
  std::vector<keyplaces::Cut> (*places)();
};

std::vector<keyplaces::Cut> LegendCuts() {
  std::vector<keyplaces::Cut> cuts;
  for (int player = 1; player <= 2; ++player) {
    for (int column = 0; column < keyplaces::kColumns; ++column)
      cuts.push_back(keyplaces::LegendCut(player, column));
  }
  return cuts;
}
std::vector<keyplaces::Cut> MenuKeysCut() {
  return {keyplaces::kMenuKeysCut};
}

const ShippedKeys kShippedKeys[] = {
    {_bmpTitle, _bmpKeyLegend, TitleWithKeys, LegendCuts},
    {_bmpUpgradeMenu1, _bmpUpgradeKeys1, UpgradeMenu1WithKeys, MenuKeysCut},
    {_bmpUpgradeMenu2, _bmpUpgradeKeys2, UpgradeMenu2WithKeys, MenuKeysCut},
};

bool PaintedToSize(const Picture& picture, const Canvas& canvas) {
  if (canvas.Width() == picture.Width() && canvas.Height() == picture.Height()) return true;
  std::fprintf(stderr, "forge: %s painted at %dx%d, expected %dx%d\n", picture.File(),
               canvas.Width(), canvas.Height(), picture.Width(), picture.Height());
  return false;
}

QuantiseOptions OptionsOf(const Picture& picture) {
  QuantiseOptions options;
  options.bpp = picture.bpp;
  options.ground = picture.ground;
  options.dither = picture.dither;
  options.alphaCut = picture.alphaCut;
  return options;
}

bool WriteBmp(const Indexed& image, const std::filesystem::path& file,
              const BmpQuirks& quirks = {}) {
  if (WriteFile(file, EncodeBmp(image, quirks))) return true;
  std::fprintf(stderr, "forge: cannot write %s\n", file.c_str());
  return false;
}

bool Inside(const keyplaces::Place& place, int x, int y) {
  return x >= place.left && x < place.right && y >= place.top && y < place.bottom;
}

bool ForgeWithShippedKeys(const Picture& picture, const ShippedKeys& keys,
                          const std::filesystem::path& outDir) {
  const Canvas blankCanvas = picture.paint(), letteredCanvas = keys.lettered();
  if (!PaintedToSize(picture, blankCanvas) || !PaintedToSize(picture, letteredCanvas)) return false;
  QuantiseOptions options = OptionsOf(picture);
  const Indexed lettered = Quantise(letteredCanvas, options);
  options.palette = lettered.palette;
  const Indexed blank = Quantise(blankCanvas, options);
  const std::vector<keyplaces::Cut> places = keys.places();
  // Laid over the blank screen, the cuts must give back the lettered one exactly.
  for (int y = 0; y < blank.height; ++y)
    for (int x = 0; x < blank.width; ++x) {
      if (blank.ColourAt(x, y) == lettered.ColourAt(x, y) ||
          std::any_of(places.begin(), places.end(),
                      [&](const keyplaces::Cut& cut) { return Inside(cut.screen, x, y); }))
        continue;
      std::fprintf(stderr,
                   "forge: %s: the shipped keys change (%d, %d), outside the places cut for "
                   "them (resources/KeyPlaces.h)\n",
                   picture.File(), x, y);
      return false;
    }
  const Listing& listed = kListed[keys.cut];
  Indexed cut;
  cut.width = listed.width;
  cut.height = listed.height;
  cut.bpp = 8;
  cut.palette = lettered.palette;
  cut.index.assign(static_cast<size_t>(cut.width) * cut.height, 0);
  for (const keyplaces::Cut& place : places) {
    const keyplaces::Place& s = place.screen;
    const int w = s.right - s.left, h = s.bottom - s.top;
    if (place.pictureX < 0 || place.pictureY < 0 || place.pictureX + w > cut.width ||
        place.pictureY + h > cut.height || s.left < 0 || s.top < 0 || s.right > blank.width ||
        s.bottom > blank.height) {
      std::fprintf(stderr, "forge: %s: a place of %dx%d at (%d, %d) does not fit\n", listed.file, w,
                   h, place.pictureX, place.pictureY);
      return false;
    }
    for (int y = 0; y < h; ++y)
      std::copy_n(&lettered.index[static_cast<size_t>(s.top + y) * lettered.width + s.left], w,
                  &cut.index[static_cast<size_t>(place.pictureY + y) * cut.width + place.pictureX]);
  }
  bool ok = WriteBmp(blank, outDir / picture.File(), picture.quirks);
  ok = WriteBmp(cut, outDir / listed.file) && ok;
  return WriteBmp(lettered, outDir / ("lettered_" + std::string(picture.File())), picture.quirks) &&
         ok;
}

bool ForgeOne(const Picture& picture, const std::filesystem::path& outDir) {
  for (const ShippedKeys& keys : kShippedKeys) {
    if (keys.screen == picture.image) return ForgeWithShippedKeys(picture, keys, outDir);
  }
  if (picture.paint == nullptr) return true;  // cut from its screen
  const Canvas canvas = picture.paint();
  if (!PaintedToSize(picture, canvas)) return false;
  return WriteBmp(Quantise(canvas, OptionsOf(picture)), outDir / picture.File(), picture.quirks);
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
        for (float v : {p.r, p.g, p.b})
          rgba.push_back(static_cast<uint8_t>(
              std::lround(std::clamp(a > 0 ? v / a : 0.0f, 0.0f, 1.0f) * 255)));
        rgba.push_back(static_cast<uint8_t>(std::lround(a * 255)));
      }
    ok = WriteFile(outDir / ("skyrift_" + std::to_string(size) + ".png"),
                   EncodePng(size, size, rgba, 4)) &&
         ok;
  }
  if (!ok) std::fprintf(stderr, "forge: cannot write the icons into %s\n", outDir.c_str());
  return ok;
}

bool CopyTextFace(const std::filesystem::path& outDir) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(GameTextFace(), bytes) || bytes.empty() ||
      !WriteFile(outDir / "skyrift_font.ttf", bytes)) {
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
      for (int k = 0; k < 3; ++k)
        rgb[(static_cast<size_t>(y) * outW + x) * 3 + k] = static_cast<uint8_t>(sum[k] / n);
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
    if (!ReadFile(imageDir / picture.File(), bytes) || !DecodeBmp(bytes, image)) {
      std::fprintf(stderr, "forge: cannot read %s\n", (imageDir / picture.File()).c_str());
      return 1;
    }
    const int factor =
        std::max({1, (image.width + kMaxW - 1) / kMaxW, (image.height + kMaxH - 1) / kMaxH});
    Tile t;
    t.rgb = SheetPixels(image, factor, t.w, t.h);
    t.label =
        std::string(picture.File()) + (factor > 1 ? " (1/" + std::to_string(factor) + ")" : "");
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
      std::copy_n(&t.rgb[static_cast<size_t>(j) * t.w * 3], t.w * 3,
                  &sheet[(static_cast<size_t>(t.y + j) * kSheetWidth + t.x) * 3]);
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
