// Full screens, banners and the status panel. Where the game prints numbers or fills bars
// at fixed places, the art leaves exactly those places for it (coordinates below).
#include <numbers>
#include <string>

#include "game/KeyNames.h"
#include "images/Art.h"
#include "images/Text.h"
#include "resources/KeyPlaces.h"

namespace skyrift::forge {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Player colours used on every screen: player 1 blue, player 2 red-orange.
constexpr uint32_t kP1 = 0x4A9CFF;
constexpr uint32_t kP2 = 0xFF6A3A;

// A starry backdrop with a soft nebula, for menus and art pages. calm(x, y) in 0..1 dims
// the stars and clouds where text or prompts must read.
template <class Calm>
void Backdrop(Canvas& c, uint32_t seed, uint32_t deep, uint32_t cloud, Calm calm) {
  const int w = c.Width(), h = c.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float n = Fbm(x * 0.006f, y * 0.006f, seed, 4);
      const float warp = Fbm(x * 0.004f + n, y * 0.004f, seed + 5, 4);
      const float v = Clamp01((warp - 0.42f) * 2.2f) *
                      (1 - 0.8f * calm(static_cast<float>(x), static_cast<float>(y)));
      c.At(x, y) = Mix(Hex(deep), Hex(cloud), v * 0.7f);
    }
  Rng rng(seed);
  for (int i = 0; i < w * h / 600; ++i) {
    const float x = rng.Range(0, static_cast<float>(w)), y = rng.Range(0, static_cast<float>(h));
    const float k = (1 - calm(x, y)) * rng.Range(0.2f, 0.9f);
    if (rng.Chance(0.08f))
      c.Glow({x, y}, 2.2f, Hex(0xE0E8FF), k, 1.0f);
    else
      c.AddLight(static_cast<int>(x), static_cast<int>(y), Hex(0xFFFFFF), k * 0.7f);
  }
}

// A bevelled metal plate.
void Plate(Canvas& c, float x0, float y0, float x1, float y1, uint32_t base, float radius = 4) {
  const Vec centre{(x0 + x1) / 2, (y0 + y1) / 2}, half{(x1 - x0) / 2, (y1 - y0) / 2};
  const Box box{static_cast<int>(x0) - 2, static_cast<int>(y0) - 2, static_cast<int>(x1) + 3,
                static_cast<int>(y1) + 3};
  c.FillSdf(
      box,
      [&](Vec p) {
        return SdBox(p, centre, {half.x + 1, half.y + 1}, radius + 1);
      },
      Hex(0x05060A));
  c.FillSdf(
      box, [&](Vec p) { return SdBox(p, centre, half, radius); },
      [&](Vec p) {
        const float inside = -SdBox(p, centre, half, radius);
        const float t = Clamp01((p.y - y0) / std::max(1.0f, y1 - y0));
        float k = 1.15f - 0.35f * t;
        if (inside < 1.5f) k += (p.y < centre.y ? 0.35f : -0.25f);
        return Shade(Hex(base), k);
      });
}

const TextStyle& Heading(uint32_t colour) {
  static TextStyle style;
  style = TextStyle{};
  style.top = Mix(Hex(colour), Hex(0xFFFFFF), 0.6f);
  style.bottom = Hex(colour);
  style.outline = 2;
  style.outlineColour = Hex(0x05060C);
  style.glow = 10;
  style.glowColour = Hex(colour);
  style.glowStrength = 0.5f;
  return style;
}

// The actions, in the order the instructions page and the title's legend list them with their
// keys (game/KeyNames.h).
constexpr const char* kActions[] = {"MOVE", "FIRE", "BOMB", "BULLET TIME", "RECHARGE", "UPGRADES"};

TextStyle Plain(uint32_t colour, float outline = 0) {
  TextStyle s;
  s.top = s.bottom = Hex(colour);
  s.outline = outline;
  s.outlineColour = Hex(0x05060C);
  return s;
}

}  // namespace

// --- Status panel -------------------------------------------------------------------------
// Per half: the game prints bombs, experience and ships right-aligned in x 100..200 (left
// half) or 550..650 (right half) on rows centred at y 52, 72 and 92, in black; it fills the
// hull bar in red over x 277..432 (or 724..879), rows 57..63, and the energy bar in blue over
// rows 73..79 (right and bottom exclusive).
Canvas PaintHudPanel() {
  Canvas c(900, 132);
  for (int y = 0; y < 132; ++y)
    for (int x = 0; x < 900; ++x) {
      const float n = Fbm(x * 0.05f, y * 0.05f, 2500, 3);
      c.At(x, y) = Shade(Mix(Hex(0x2A3040), Hex(0x1A1E2A), y / 132.0f), 0.9f + 0.2f * n);
    }
  // The top rim that meets the play area, and the divider between the halves.
  c.Rect(0, 0, 900, 3, Hex(0x8A96B0));
  c.Rect(0, 3, 900, 5, Hex(0x0A0C12));
  c.Rect(447, 5, 453, 132, Hex(0x0A0C12));
  c.Rect(449, 5, 451, 132, Hex(0x5A6478));
  for (int half = 0; half < 2; ++half) {
    const float nx = half == 0 ? 100 : 550;  // number column
    const float gx = half == 0 ? 277 : 724;  // gauge slots
    const uint32_t colour = half == 0 ? kP1 : kP2;
    // Title strip.
    DrawText(c, Face::Display, 17, half == 0 ? "PLAYER 1" : "PLAYER 2", nx - 88, 20,
             Plain(colour, 1.5f), Align::Left);
    c.Rect(nx - 88 + 84, 19, nx - 88 + 330, 21, Shade(Hex(colour), 0.6f));
    // The light number plate: black numbers sit on it.
    Plate(c, nx - 4, 40, nx + 104, 101, 0xC8D2E0, 3);
    for (float row : {62.0f, 82.0f}) c.Rect(nx, row, nx + 100, row + 1, Hex(0xA0AABB));
    // Labels, right-aligned against the plate.
    const char* labels[] = {"BOMBS", "EXPERIENCE", "SHIPS"};
    const float rows[] = {52, 72, 92};
    for (int i = 0; i < 3; ++i)
      DrawText(c, Face::Condensed, 12, labels[i], nx - 9, rows[i], Plain(0xD8E0F0, 1),
               Align::Right);
    // Gauges: a frame that lies just outside the slot pixels, the slot dark and empty.
    const char* gauges[] = {"HULL", "ENERGY"};
    const float top[] = {57, 73};
    const uint32_t tint[] = {0x2A0808, 0x080A2A};
    for (int i = 0; i < 2; ++i) {
      DrawText(c, Face::Condensed, 12, gauges[i], gx - 7, top[i] + 3, Plain(0xD8E0F0, 1),
               Align::Right);
      c.Rect(gx - 3, top[i] - 3, gx + 158, top[i] + 9, Hex(0x05060A));
      c.Rect(gx - 2, top[i] - 2, gx + 157, top[i] + 8, Hex(0x9AA6BE));
      c.Rect(gx - 1, top[i] - 1, gx + 156, top[i] + 7, Hex(0x2A3040));
      c.Rect(gx, top[i], gx + 155, top[i] + 6, Hex(tint[i]));
      // Ticks every quarter, below the slot.
      for (int q = 1; q < 4; ++q)
        c.Rect(gx + q * 155 / 4.0f, top[i] + 8, gx + q * 155 / 4.0f + 1, top[i] + 11,
               Hex(0x8A96B0));
    }
    // Decorative lower strip with vents.
    for (int v = 0; v < 10; ++v) c.Rect(gx + v * 15.5f, 98, gx + v * 15.5f + 9, 101, Hex(0x0A0C12));
  }
  c.Rect(0, 112, 900, 114, Hex(0x0A0C12));
  for (int x = 0; x < 900; x += 30)
    c.Rect(static_cast<float>(x), 118, x + 18.0f, 126, Hex(0x323A4C));
  return c;
}

// --- Banners on magenta -------------------------------------------------------------------
Canvas PaintGameOver() {
  Canvas c(900, 600);
  TextStyle s = Heading(0xFF3030);
  s.glow = 14;
  s.outline = 3;
  DrawText(c, Face::Display, 110, "GAME OVER", 450, 270, s);
  DrawText(c, Face::Display, 26, "THE RIFT HAS CLAIMED YOU", 450, 350, Plain(0xFFC0B0, 2));
  // The game ends here: only closing the window leaves this screen, so say so, on a plate of
  // its own so it reads over whatever the last frame left behind.
  Plate(c, 226, 410, 674, 450, 0x141A28, 8);
  TextStyle leave = Plain(0xFFFFFF, 2);
  leave.tracking = 2;
  DrawText(c, Face::Display, 24, "CLOSE THE WINDOW TO LEAVE", 450, 430, leave);
  return c;
}

Canvas PaintStageClear() {
  Canvas c(900, 600);
  TextStyle s = Heading(0x40E0FF);
  s.outline = 3;
  DrawText(c, Face::Display, 88, "STAGE CLEAR", 450, 250, s);
  DrawText(c, Face::Display, 26, "THE FORTRESS HAS FALLEN", 450, 320, Plain(0xE0F8FF, 2));
  for (int side : {-1, 1}) {
    c.Rect(450 + side * 330.0f - 100, 318, 450 + side * 330.0f + 100, 322, Hex(0x05060C));
    c.Rect(450 + side * 330.0f - 99, 319, 450 + side * 330.0f + 99, 321, Hex(0x40E0FF));
  }
  return c;
}

Canvas PaintPressEnter() {
  Canvas c(300, 50);
  TextStyle s = Heading(0x40C8FF);
  s.glow = 5;
  DrawText(c, Face::Display, 36, "PRESS ENTER", 150, 25, s);
  return c;
}

// The pause sign's word, lettered at its size; the game draws the sign around it and the key
// that resumes under it.
Canvas PaintPaused() {
  Canvas c(420, 64);
  TextStyle s = Heading(0xFFC040);
  s.glow = 5;
  DrawText(c, Face::Display, 52, "PAUSED", 210, 32, s);
  return c;
}

Canvas PaintHowManyPlayers() {
  Canvas c(600, 100);
  TextStyle s = Heading(0xFFC040);
  s.glow = 5;
  DrawText(c, Face::Display, 36, "HOW MANY PLAYERS?", 300, 30, s);
  DrawText(c, Face::Display, 30, "1 OR 2", 300, 74, Heading(0x40C8FF));
  return c;
}

Canvas PaintWarning(int which) {
  const std::string message = which == 1 ? "LARGE INCOMING AHEAD" : "MASSIVE ENEMY AHEAD";
  struct Colouring {
    uint32_t ground, stripe, title, text;
  };
  // Four colourings that cycle while the sign is up: a pulse from deep red to alarm yellow.
  static constexpr Colouring kColourings[] = {
      {0x3A0408, 0xE01818, 0xFF3030, 0xFFD0D0},
      {0x4A1004, 0xFF6A10, 0xFF8A20, 0xFFF0D0},
      {0x4A3A04, 0xFFD020, 0xFFE040, 0xFFFFE0},
      {0x200204, 0xFF3030, 0xFFFFFF, 0xFF6060},
  };
  return Strip(2440, 110, 4, 610, [&](Canvas& c, int f) {
    const Colouring k = kColourings[f];
    // A banner with bevelled ends.
    const std::vector<Vec> banner{{24, 6}, {586, 6}, {604, 55}, {586, 104}, {24, 104}, {6, 55}};
    c.PolygonOutline(banner, 2, Hex(0x05060C));
    c.Polygon(banner, Hex(k.ground));
    // Hazard stripes along top and bottom.
    for (float y0 : {10.0f, 88.0f})
      for (int i = -2; i < 40; ++i) {
        const float x = 30 + i * 16.0f;
        const std::vector<Vec> stripe{{x, y0}, {x + 8, y0}, {x + 16, y0 + 12}, {x + 8, y0 + 12}};
        c.FillSdf(
            Canvas::Bounds(stripe, 2),
            [&](Vec p) { return std::max(SdPolygon(p, stripe), SdPolygon(p, banner) + 6); },
            Hex(k.stripe));
      }
    TextStyle title = Plain(k.title, 2);
    title.tracking = 6;
    DrawText(c, Face::Display, 34, "WARNING", 305, 40, title);
    DrawText(c, Face::Display, 24, message, 305, 72, Plain(k.text, 2));
    // Alarm triangles either side of the title.
    for (float tx : {165.0f, 445.0f}) {
      const std::vector<Vec> tri{{tx, 26}, {tx + 16, 54}, {tx - 16, 54}};
      c.PolygonOutline(tri, 1.5f, Hex(0x05060C));
      c.Polygon(tri, Hex(k.stripe));
      c.Rect(tx - 1.5f, 33, tx + 1.5f, 46, Hex(0x05060C));
      c.Rect(tx - 1.5f, 48, tx + 1.5f, 51, Hex(0x05060C));
    }
  });
}

// --- Full screens ---------------------------------------------------------------------------
// Both players' keys as a small table on a dark glass panel under the title's prompts: a row of
// actions, then a plate per player and action beneath them. The game letters on the plates the
// keys the player bound (resources/KeyPlaces.h); `shippedKeys` letters the shipped ones instead,
// each on a plate as wide as its name.
void KeysLegend(Canvas& c, bool shippedKeys) {
  using namespace keyplaces;
  constexpr float kLeft = kLegendLeft, kRight = kLegendRight, kTop = kLegendTop,
                  kBottom = kLegendBottom;
  const Box panel{static_cast<int>(kLeft) - 2, static_cast<int>(kTop) - 2,
                  static_cast<int>(kRight) + 3, static_cast<int>(kBottom) + 3};
  const Vec centre{(kLeft + kRight) / 2, (kTop + kBottom) / 2},
      half{(kRight - kLeft) / 2, (kBottom - kTop) / 2};
  c.FillSdf(
      panel,
      [&](Vec p) {
        return SdBox(p, centre, {half.x + 1, half.y + 1}, 9);
      },
      Hex(0x6A7AA8, 0.6f));
  c.FillSdf(
      panel, [&](Vec p) { return SdBox(p, centre, half, 8); }, Hex(0x04060E, 0.86f));
  DrawText(c, Face::Condensed, 14, "CONTROLS", kLeft + 12, kActionRow, Plain(0x8A98B8),
           Align::Left);
  for (int i = 0; i < kColumns; ++i) {
    DrawText(c, Face::Condensed, 14, kActions[i], static_cast<float>(ColumnCentre(i)), kActionRow,
             Plain(0xC8D4F0), Align::Centre);
  }
  for (int p = 0; p < 2; ++p) {
    const float y = static_cast<float>(kPlayerRows[p]);
    DrawText(c, Face::Display, 18, p == 0 ? "PLAYER 1" : "PLAYER 2", kLeft + 12, y,
             Plain(p == 0 ? kP1 : kP2, 1), Align::Left);
    const auto keys = LegendNames(ShippedKeys(p + 1));
    for (int i = 0; i < kColumns; ++i) {
      const float x = static_cast<float>(ColumnCentre(i));
      const float w = shippedKeys
                          ? std::max(30.0f, 18.0f + 10.5f * static_cast<float>(keys[i].size())) / 2
                          : PlateWidth(i) / 2.0f;
      Plate(c, x - w, y - kPlateHalfHeight, x + w, y + kPlateHalfHeight, 0xC8D0E0, 5);
      if (shippedKeys) DrawText(c, Face::Bold, 14, keys[i], x, y, Plain(0x10141C), Align::Centre);
    }
  }
}

Canvas PaintTitle(bool shippedKeys) {
  Canvas c(900, 732);
  // The prompts appear in x 150..750, y 450..550, and the keys' legend sits under them in
  // y 566..714: that band stays calm and dark.
  auto calm = [](float x, float y) {
    const float fx = Smooth(100, 160, x) * (1 - Smooth(740, 800, x));
    const float fy = Smooth(410, 450, y);
    return fx * fy;
  };
  Backdrop(c, 2503, 0x05040E, 0x2A1A60, calm);
  // A planet's limb low in the frame, lit from behind.
  for (int y = 560; y < 732; ++y)
    for (int x = 0; x < 900; ++x) {
      const float d = std::sqrt((x - 450.0f) * (x - 450.0f) + (y - 1650.0f) * (y - 1650.0f)) - 1000;
      if (d < 0) {
        const float n = Fbm(x * 0.01f, y * 0.03f, 2504, 4);
        const float lit = std::exp(d / 40.0f);
        c.At(x, y) = Mix(Mix(Hex(0x040814), Hex(0x103060), n * 0.6f), Hex(0x80C0FF), lit * 0.8f);
      } else {
        c.AddLight(x, y, Hex(0x4080FF), std::exp(-d / 14.0f) * 0.9f);
      }
    }
  // The rift: a glowing tear behind the logo.
  for (int y = 40; y < 400; ++y)
    for (int x = 0; x < 900; ++x) {
      const float t = (x - 450.0f) / 450.0f;
      const float centreY = 210 + 60 * t * t * t + 18 * (Fbm(x * 0.01f, 1, 2505, 3) - 0.5f) * 4;
      const float d = std::fabs(y - centreY);
      const float width = 4 + 26 * (1 - t * t);
      const float v = std::exp(-d / width) * (1 - t * t);
      if (v > 0.003f)
        c.AddLight(x, y, Mix(Hex(0xC040FF), Hex(0x60E0FF), Clamp01(1 - d / 30)), v * 1.1f);
    }
  // Two fighters climbing toward the rift, either side of the prompts.
  DrawFighter(c, 1, 1, {28, 470}, 1.9f);
  DrawFighter(c, 2, 3, {782, 500}, 1.8f);
  // The logo.
  TextStyle logo;
  logo.top = Hex(0xFFFFFF);
  logo.bottom = Hex(0x5AB0FF);
  logo.outline = 4;
  logo.outlineColour = Hex(0x05030C);
  logo.glow = 22;
  logo.glowColour = Hex(0x8A5AFF);
  logo.glowStrength = 0.8f;
  logo.shadow = 6;
  logo.tracking = 8;
  const Box ink = DrawText(c, Face::Logo, 150, "SKYRIFT", 450, 200, logo);
  // A bright cut through the letters, the rift running through the name.
  for (int y = ink.y0; y < ink.y1; ++y)
    for (int x = ink.x0; x < ink.x1; ++x) {
      const float t = (x - 450.0f) / 450.0f;
      const float d = std::fabs(y - (210 + 60 * t * t * t));
      if (d < 2.5f) c.AddLight(x, y, Hex(0xFFFFFF), (2.5f - d) / 2.5f * 0.6f);
    }
  DrawText(c, Face::Display, 24, "A TWO-PILOT SPACE SHOOTER", 450, 330, Plain(0xB8C8FF, 2));
  KeysLegend(c, shippedKeys);
  return c;
}

Canvas PaintInstructions() {
  Canvas c(900, 732);
  Backdrop(c, 2506, 0x04060E, 0x14284A, [](float, float) { return 0.5f; });
  DrawText(c, Face::Display, 56, "HOW TO PLAY", 450, 64, Heading(0x40C8FF));
  for (int p = 0; p < 2; ++p) {
    const float x0 = p == 0 ? 60 : 480, x1 = x0 + 360;
    const uint32_t colour = p == 0 ? kP1 : kP2;
    Plate(c, x0, 130, x1, 600, 0x1A2234, 8);
    DrawText(c, Face::Display, 30, p == 0 ? "PLAYER 1" : "PLAYER 2", (x0 + x1) / 2, 166,
             Heading(colour));
    DrawFighter(c, p + 1, 0, {x1 - 70, 190}, 1.0f);
    const auto keys = LegendNames(ShippedKeys(p + 1));
    for (int i = 0; i < 6; ++i) {
      const float y = 240 + i * 58.0f;
      const std::string& key = keys[i];
      const float kw = std::max(44.0f, 16.0f + 12.0f * static_cast<float>(key.size()));
      Plate(c, x0 + 24, y - 19, x0 + 24 + kw, y + 19, 0xD0D8E8, 6);
      DrawText(c, Face::Bold, 17, key, x0 + 24 + kw / 2, y, Plain(0x10141C));
      DrawText(c, Face::Display, 22, kActions[i], x0 + 40 + kw, y, Plain(0xE8EEFF), Align::Left);
    }
  }
  DrawText(c, Face::Display, 18, "DESTROY ENEMIES TO EARN EXPERIENCE, THEN SPEND IT ON UPGRADES",
           450, 632, Plain(0xB8C8E0, 1));
  TextStyle enter = Heading(0xFFC040);
  DrawText(c, Face::Display, 34, "PRESS ENTER TO START", 450, 686, enter);
  return c;
}

// Upgrade screen: entries named above their highlight slots (x 450..735; rows 248..258,
// 322..332, 396..406, 470..480, which the game fills red on the chosen entry) with a readout
// for the game's red number at x 756..861 (rows 219..242, 291..314, 365..390, 436..457).
Canvas PaintUpgradeMenu(int player, bool shippedKeys) {
  Canvas c(900, 600);
  const uint32_t colour = player == 1 ? kP1 : kP2;
  Backdrop(c, 2502 + static_cast<uint32_t>(player), 0x05060E, player == 1 ? 0x102848 : 0x401810,
           [](float x, float) { return x > 420 ? 0.8f : 0.3f; });
  DrawText(c, Face::Display, 54, player == 1 ? "PLAYER 1" : "PLAYER 2", 450, 62, Heading(colour));
  DrawText(c, Face::Display, 26, "UPGRADE BAY", 450, 112, Plain(0xE0E8FF, 2));
  c.Rect(150, 136, 750, 138, Shade(Hex(colour), 0.7f));
  // The pilot's ship on a lit pad.
  c.Glow({210, 360}, 150, Hex(colour), 0.35f, 1.5f);
  c.Ellipse({210, 430}, 110, 24, Hex(0x1A2030));
  c.Ellipse({210, 428}, 100, 19, Hex(0x2A3448));
  DrawFighter(c, player, 1, {145, 250}, 2.6f);
  // The entries.
  Plate(c, 430, 180, 880, 500, 0x121826, 10);
  const char* names[] = {"FIRE POWER", "SHIP SPEED", "HULL MAXIMUM", "ENERGY MAXIMUM"};
  const float bars[] = {248, 322, 396, 470};
  const Box boxes[] = {
      {756, 219, 861, 242}, {756, 291, 861, 314}, {756, 365, 861, 390}, {756, 436, 861, 457}};
  for (int i = 0; i < 4; ++i) {
    DrawText(c, Face::Display, 21, names[i], 452, bars[i] - 16, Plain(0xE8EEFF, 1), Align::Left);
    DrawText(c, Face::Condensed, 12, "COST: 2500 EXPERIENCE", 452, bars[i] + 22, Plain(0x9AA8C0),
             Align::Left);
    // The selection rail: a thin guide line through the slot between two brackets, and a
    // pointer aimed at it. Unlit it reads as a track; the game's red fill lights the chosen one.
    const float y = bars[i], mid = y + 5;
    c.Rect(450, mid - 0.5f, 735, mid + 0.5f, Hex(0x3A4660));
    for (float x = 462; x < 735; x += 24) c.Rect(x, mid - 1.5f, x + 2, mid + 1.5f, Hex(0x4A5878));
    for (float side : {-1.0f, 1.0f}) {
      const float edge = side < 0 ? 449 : 736;
      c.Rect(edge - (side < 0 ? 2 : 0), y - 3, edge + (side < 0 ? 0 : 2), y + 13, Hex(0x8A96B0));
      c.Rect(side < 0 ? edge - 2 : edge - 4, y - 3, side < 0 ? edge + 4 : edge + 2, y - 1,
             Hex(0x8A96B0));
      c.Rect(side < 0 ? edge - 2 : edge - 4, y + 11, side < 0 ? edge + 4 : edge + 2, y + 13,
             Hex(0x8A96B0));
    }
    const std::vector<Vec> pointer{{434, mid - 7}, {445, mid}, {434, mid + 7}};
    c.PolygonOutline(pointer, 1.5f, Hex(0x05060C));
    c.Polygon(pointer, Shade(Hex(colour), 1.1f));
    // The number's readout: a dark instrument window set into the panel, so the game's red digits
    // glow in it like a display.
    const Box& b = boxes[i];
    c.Rect(b.x0 - 3.0f, b.y0 - 3.0f, b.x1 + 3.0f, b.y1 + 3.0f, Hex(0x05060A));
    c.Rect(b.x0 - 2.0f, b.y0 - 2.0f, b.x1 + 2.0f, b.y1 + 2.0f, Hex(0x5A6680));
    c.Rect(b.x0 - 1.0f, b.y0 - 1.0f, b.x1 + 1.0f, b.y1 + 1.0f, Hex(0x2A3244));
    c.Rect(static_cast<float>(b.x0), static_cast<float>(b.y0), static_cast<float>(b.x1),
           static_cast<float>(b.y1), Hex(0x0A0608));
    c.Rect(static_cast<float>(b.x0), static_cast<float>(b.y0), static_cast<float>(b.x1),
           b.y0 + 2.0f, Hex(0x1E1418));
  }
  // The line of keys (resources/KeyPlaces.h) is the game's to letter, from the bindings.
  if (shippedKeys) {  // as shipped
    DrawText(c, Face::Display, 20, MenuKeysLine(ShippedKeys(player)), 450, 540, Plain(0xD0DAF0, 1));
  }
  DrawText(c, Face::Condensed, 14, "EVERY UPGRADE COSTS 2500 EXPERIENCE", 450, 570,
           Plain(0x8A98B8));
  return c;
}

Canvas PaintInterlude() {
  Canvas c(566, 732);
  Backdrop(c, 2600, 0x060410, 0x301848, [](float, float y) { return y > 560 ? 0.7f : 0.0f; });
  // The sun rising over a broken world: the way to stage 2.
  for (int y = 0; y < 732; ++y)
    for (int x = 0; x < 566; ++x) {
      const float d = Length(Vec{x - 283.0f, y - 470.0f});
      c.AddLight(x, y, Hex(0xFFB060), std::exp(-d / 70.0f) * 1.2f + std::exp(-d / 220.0f) * 0.25f);
    }
  for (int y = 470; y < 732; ++y)
    for (int x = 0; x < 566; ++x) {
      const float d = std::sqrt((x - 283.0f) * (x - 283.0f) + (y - 1420.0f) * (y - 1420.0f)) - 950;
      if (d < 0) {
        const float n = Fbm(x * 0.012f, y * 0.03f, 2601, 5);
        c.At(x, y) =
            Mix(Mix(Hex(0x100808), Hex(0x603020), n), Hex(0xFFC080), std::exp(d / 30.0f) * 0.9f);
      }
    }
  DrawFighter(c, 1, 2, {150, 300}, 1.6f);
  DrawFighter(c, 2, 0, {330, 330}, 1.6f);
  DrawText(c, Face::Display, 46, "STAGE 1", 283, 70, Heading(0x40E0FF));
  DrawText(c, Face::Display, 46, "CLEARED", 283, 122, Heading(0x40E0FF));
  DrawText(c, Face::Display, 19, "THE FORTRESS IS DOWN. BEYOND IT,", 283, 184, Plain(0xE0E8FF, 1));
  DrawText(c, Face::Display, 19, "THE RIFT BURNS BRIGHTER.", 283, 210, Plain(0xE0E8FF, 1));
  Plate(c, 83, 640, 483, 690, 0x1A2234, 8);
  DrawText(c, Face::Display, 26, "PRESS FIRE TO CONTINUE", 283, 665, Heading(0xFFC040));
  return c;
}

Canvas PaintIcon(int size) {
  Canvas c(size, size);
  const float s = static_cast<float>(size);
  c.FillSdf(
      {0, 0, size, size},
      [&](Vec p) {
        return SdBox(p, {s / 2, s / 2}, {s / 2 - 0.5f, s / 2 - 0.5f}, s * 0.2f);
      },
      [&](Vec p) { return Mix(Hex(0x2A1A60), Hex(0x05040E), Clamp01(p.y / s)); });
  c.Glow({s / 2, s * 0.4f}, s * 0.5f, Hex(0x8A5AFF), 0.6f);
  if (size <= 24) {
    // Too small for the detailed ship: a bold delta silhouette reads better.
    c.SetScale(s / 16.0f);
    const std::vector<Vec> ship{{8, 1.5f},     {10, 7},    {14.5f, 12},   {14.5f, 13.8f},
                                {9.5f, 12.2f}, {8, 14.5f}, {6.5f, 12.2f}, {1.5f, 13.8f},
                                {1.5f, 12},    {6, 7}};
    c.PolygonOutline(ship, 0.8f, Hex(0x05040E));
    c.Polygon(ship,
              [](Vec p) { return Mix(Hex(0xFFFFFF), Hex(0x4A9CFF), Clamp01((p.y - 2) / 12)); });
    c.Ellipse({8, 7.5f}, 1.0f, 2.0f, Hex(0x1A3A80));
    return c;
  }
  const float scale = s / 64.0f * 0.95f;
  DrawFighter(c, 1, 1, {s / 2 - 25 * scale, s / 2 - 32 * scale}, scale);
  return c;
}

}  // namespace skyrift::forge
