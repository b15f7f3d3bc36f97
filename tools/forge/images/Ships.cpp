// The players' fighters (nose up) and the enemy craft (nose down), each its own silhouette.
#include <numbers>

#include "images/Art.h"

namespace skyrift::forge {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Both halves of a symmetric outline from its right half, given top to bottom on the axis.
std::vector<Vec> Symmetric(const std::vector<Vec>& rightHalf, float axis) {
  std::vector<Vec> out = rightHalf;
  for (auto it = rightHalf.rbegin(); it != rightHalf.rend(); ++it)
    if (std::fabs(it->x - axis) > 0.01f) out.push_back({2 * axis - it->x, it->y});
  return out;
}

struct PlayerLook {
  uint32_t hull, accent, flameOuter, flameInner, canopy, arc;
};

constexpr PlayerLook kPlayerLooks[] = {
    {0xA8BCD4, 0x2F6FE8, 0x2A7CFF, 0xC8F4FF, 0x58C8FF, 0x8FE8FF},  // player 1: steel and blue
    {0xD0C0B0, 0xE0482A, 0xFF6A18, 0xFFF0B0, 0xFFC040, 0xFFE27A},  // player 2: sand and red
};

void PaintFighter(Canvas& c, const PlayerLook& look, int frame) {
  const float ax = 25;
  // Engine flames first, so the nozzles sit over their roots.
  // The flames flicker: each frame has its own length and width, the two engines out of step.
  static constexpr float kFlame[] = {6.5f, 10.5f, 8.0f, 10.0f};
  static constexpr float kFlameWidth[] = {5.2f, 6.2f, 5.6f, 6.4f};
  for (float nx : {19.0f, 31.0f}) {
    const float len = kFlame[frame] + (nx < ax ? 0.0f : (frame % 2 ? -1.5f : 0.5f));
    c.Glow({nx, 56}, 7.5f, Hex(look.flameOuter), 0.9f, 1.5f);
    Flame(c, {nx, 53.0f}, kFlameWidth[frame], len, Hex(look.flameOuter), Hex(look.flameInner));
    Flame(c, {nx, 53.0f}, kFlameWidth[frame] * 0.4f, len * 0.45f, Hex(0xFFFFFF), Hex(0xFFFFFF));
  }
  // Wings: swept back from the waist to square tips.
  const std::vector<Vec> wingR{{29, 24}, {46, 41}, {47.5f, 47}, {45, 48.5f}, {31, 45}};
  for (const auto& wing : {wingR, MirrorPoly(wingR, ax)}) Hull(c, wing, Hex(look.accent));
  // Wing stripes and tip lights.
  c.Line({34, 33}, {43, 43}, 1.2f, Shade(Hex(look.hull), 1.1f));
  c.Line({16, 33}, {7, 43}, 1.2f, Shade(Hex(look.hull), 1.1f));
  // Forward canards.
  const std::vector<Vec> canardR{{28.5f, 14}, {35, 21}, {35, 23.5f}, {29.5f, 22}};
  for (const auto& wing : {canardR, MirrorPoly(canardR, ax)})
    Hull(c, wing, Shade(Hex(look.hull), 0.85f));
  // Engine nacelles.
  for (float nx : {19.0f, 31.0f}) {
    const std::vector<Vec> nacelle{{nx - 2.0f, 33}, {nx + 2.0f, 33},    {nx + 3.4f, 38},
                                   {nx + 3.4f, 51}, {nx + 2.6f, 53.5f}, {nx - 2.6f, 53.5f},
                                   {nx - 3.4f, 51}, {nx - 3.4f, 38}};
    Hull(c, nacelle, Shade(Hex(look.hull), 0.8f));
    c.Rect(nx - 2.8f, 50.5f, nx + 2.8f, 54.0f, Hex(0x24242C));
    c.Rect(nx - 1.8f, 52.5f, nx + 1.8f, 54.0f, Hex(look.flameInner));
  }
  // Fuselage.
  const std::vector<Vec> body = Symmetric({{25, 1.5f},
                                           {27.2f, 7},
                                           {29.3f, 16},
                                           {30.4f, 27},
                                           {30.8f, 42},
                                           {29.5f, 50},
                                           {27, 53},
                                           {25, 53}},
                                          ax);
  Hull(c, body, Hex(look.hull));
  // A centre stripe in the player's colour and panel lines.
  c.Polygon({{25, 4}, {26.3f, 9}, {26.3f, 44}, {25, 47}, {23.7f, 44}, {23.7f, 9}},
            Shade(Hex(look.accent), 1.05f));
  c.Line({21, 31}, {29, 31}, 0.8f, Hex(0x000000, 0.35f));
  c.Line({21.5f, 40}, {28.5f, 40}, 0.8f, Hex(0x000000, 0.35f));
  Canopy(c, {25, 21}, 2.9f, 6.0f, Hex(look.canopy));
  // Wingtip navigation lights blink on alternate frames.
  const float blink = (frame % 2 == 0) ? 1.0f : 0.45f;
  c.Circle({46, 46}, 1.3f, Hex(0x30FF60));
  c.Circle({4, 46}, 1.3f, Hex(0xFF3030));
  c.Glow({46, 46}, 3.5f, Hex(0x30FF60), 0.6f * blink);
  c.Glow({4, 46}, 3.5f, Hex(0xFF3030), 0.6f * blink);
}

}  // namespace

void DrawFighter(Canvas& out, int player, int frame, Vec origin, float scale) {
  // Drawn in the sprite's own 50 x 64 layout on a canvas of the wanted scale.
  Canvas c(static_cast<int>(std::ceil(50 * scale)), static_cast<int>(std::ceil(64 * scale)));
  c.SetScale(scale);
  PaintFighter(c, kPlayerLooks[player == 1 ? 0 : 1], frame);
  out.Draw(c, static_cast<int>(std::lround(origin.x)), static_cast<int>(std::lround(origin.y)));
}

Canvas PaintPlayer(int player, bool recharge) {
  const PlayerLook& look = kPlayerLooks[player == 1 ? 0 : 1];
  return Strip(200, 64, 4, 50, [&](Canvas& c, int f) {
    PaintFighter(c, look, f);
    if (!recharge) return;
    // Electric arcs crawl over the hull; each frame draws a fresh set.
    Rng rng(2405 + static_cast<uint64_t>(player) * 17 + static_cast<uint64_t>(f) * 101);
    const Rgba arc = Hex(look.arc);
    for (int i = 0; i < 5; ++i) {
      const float a0 = rng.Range(0, 2 * kPi), a1 = a0 + rng.Range(0.6f, 1.6f);
      const Vec p0{25 + 21 * std::cos(a0), 31 + 27 * std::sin(a0)};
      const Vec p1{25 + 21 * std::cos(a1), 31 + 27 * std::sin(a1)};
      Arc(c, p0, p1, rng, arc, 3.0f, 6);
    }
    for (int i = 0; i < 3; ++i) {
      const Vec p0{rng.Range(8, 42), rng.Range(12, 50)};
      const Vec p1{25 + rng.Range(-4, 4), rng.Range(8, 50)};
      Arc(c, p0, p1, rng, arc, 2.0f, 4);
    }
    c.Glow({25, 31}, 30, arc, 0.12f, 1.0f);
  });
}

Canvas PaintSwoopEnemy() {
  // A manta: broad swept wings, a blade nose pointing down, twin exhausts at the back.
  Canvas c(50, 39);
  const float ax = 25;
  for (float ex : {19.0f, 31.0f}) Flame(c, {ex, 7}, 4.0f, 7.0f, Hex(0xFF5030), Hex(0xFFE0A0), -1);
  const std::vector<Vec> wings =
      Symmetric({{25, 8}, {36, 3.5f}, {47.5f, 2.5f}, {45, 12}, {37, 22}, {30, 26}, {25, 26}}, ax);
  Hull(c, wings, Hex(0x8A2E4E));
  const std::vector<Vec> body =
      Symmetric({{25, 3}, {29, 5}, {30.5f, 16}, {28.5f, 29}, {25, 37.5f}}, ax);
  Hull(c, body, Hex(0xB8A8B8));
  // Leading-edge claws.
  for (const auto& claw : {std::vector<Vec>{{45, 12}, {47, 22}, {42, 16}},
                           MirrorPoly({{45, 12}, {47, 22}, {42, 16}}, ax)})
    Hull(c, claw, Hex(0x6A2038));
  c.Line({31, 8}, {44, 5}, 1.0f, Hex(0xE06080));
  c.Line({19, 8}, {6, 5}, 1.0f, Hex(0xE06080));
  // A red visor near the nose.
  c.Ellipse({25, 25}, 2.6f, 4.2f, Hex(0x200008));
  c.Ellipse({25, 25}, 1.8f, 3.4f, Hex(0xFF2A3A));
  c.Glow({25, 26}, 5, Hex(0xFF3040), 0.5f);
  return c;
}

Canvas PaintHoverEnemy() {
  // A flat hover platform: a wide oval deck with a dome, two side pods and lift lights.
  Canvas c(64, 29);
  for (float px : {7.5f, 56.5f}) {
    c.Ellipse({px, 14.5f}, 7.0f, 10.5f, Hex(0x06080A));
    c.FillSdf(
        {0, 0, 64, 29},
        [&](Vec p) {
          return SdEllipse(p, {px, 14.5f}, 6.0f, 9.5f);
        },
        [&](Vec p) { return Shade(Hex(0x5E7C68), 1.2f - (p.y - 5) / 19 * 0.6f); });
    c.Circle({px, 22}, 2.0f, Hex(0xFFE040));
    c.Glow({px, 23}, 5, Hex(0xFFD030), 0.6f);
  }
  c.Rect(10, 12.5f, 54, 16.5f, Hex(0x2A3430));
  c.Ellipse({32, 14}, 20.5f, 10.5f, Hex(0x06080A));
  c.FillSdf(
      {0, 0, 64, 29},
      [](Vec p) {
        return SdEllipse(p, {32, 14}, 19.5f, 9.5f);
      },
      [](Vec p) {
        const float t = Clamp01((p.y - 4) / 19);
        return Mix(Hex(0xA8C8B0), Hex(0x3A5446), t);
      });
  c.Ellipse({32, 14}, 13.5f, 6.0f, Hex(0x2E4438));
  for (int i = 0; i < 8; ++i) {
    const float a = i * kPi / 4;
    c.Circle({32 + 16.5f * std::cos(a), 14 + 7.8f * std::sin(a)}, 0.9f, Hex(0xFFE060));
  }
  Canopy(c, {32, 14}, 7.5f, 4.6f, Hex(0xFF8A30));
  // The gun under the nose, pointing down.
  c.Rect(30.5f, 23, 33.5f, 28.5f, Hex(0x1A1E20));
  c.Rect(31.2f, 23, 32.8f, 28, Hex(0x8A9A90));
  return c;
}

Canvas PaintConvoyEnemy() {
  // A boxy armoured hauler with cargo pods; drawn in few flat tones for its 16 colours.
  Canvas c(50, 37);
  for (float ex : {19.0f, 31.0f}) Flame(c, {ex, 5}, 4.5f, 5.0f, Hex(0xFF8020), Hex(0xFFF0B0), -1);
  const std::vector<Vec> hull =
      Symmetric({{25, 4}, {38, 4}, {40, 7}, {40, 26}, {33, 33}, {28, 36}, {25, 36}}, 25);
  Hull(c, hull, Hex(0xB08850), 1.0f, 0.6f);
  for (float px : {3.5f, 46.5f}) {
    c.Rect(px - 3.5f, 7, px + 3.5f, 27, Hex(0x101010));
    c.Rect(px - 2.5f, 8, px + 2.5f, 26, Hex(0x8A9098));
    c.Rect(px - 2.5f, 16, px + 2.5f, 17.2f, Hex(0x30343A));
  }
  c.Rect(7, 13, 43, 16, Hex(0x30343A));
  for (int i = 0; i < 3; ++i) {
    const float y = 6 + i * 7.0f;
    c.Rect(14, y, 36, y + 5.5f, Hex(0x101010));
    c.Rect(15, y + 0.8f, 35, y + 4.8f, i == 1 ? Hex(0xD8B060) : Hex(0x7A6040));
  }
  c.Rect(22, 27, 28, 31, Hex(0x101010));
  c.Rect(23, 28, 27, 30, Hex(0x40E0FF));
  return c;
}

Canvas PaintGunshipEnemy() {
  // A heavy gunship: armoured wedge, side sponsons and a big cannon at its lower right.
  Canvas c(80, 58);
  const float ax = 38;
  for (float ex : {31.0f, 45.0f}) Flame(c, {ex, 8}, 5.0f, 8.0f, Hex(0xFF6030), Hex(0xFFE0A0), -1);
  const std::vector<Vec> wings =
      Symmetric({{38, 10}, {60, 6}, {74, 14}, {72, 28}, {56, 34}, {38, 36}}, ax);
  Hull(c, wings, Hex(0x5A6474));
  const std::vector<Vec> body =
      Symmetric({{38, 2}, {47, 3}, {50, 20}, {47, 40}, {41, 50}, {38, 52}}, ax);
  Hull(c, body, Hex(0x9AA2AE));
  c.Line({52, 12}, {70, 16}, 1.5f, Hex(0xC03030));
  c.Line({24, 12}, {6, 16}, 1.5f, Hex(0xC03030));
  c.Rect(35.5f, 8, 40.5f, 30, Hex(0x3A4050));
  Canopy(c, {38, 38}, 3.4f, 5.0f, Hex(0xFF5040));
  // The cannon turret: its shots leave the lower right, x 54..69, y 34..61.
  c.Circle({61.5f, 36}, 7.5f, Hex(0x08080C));
  c.FillSdf(
      {50, 26, 74, 46},
      [](Vec p) {
        return SdCircle(p, {61.5f, 36}, 6.5f);
      },
      [](Vec p) { return Mix(Hex(0xC8CCD4), Hex(0x50545C), Clamp01((p.y - 30) / 12)); });
  c.Rect(58.5f, 38, 64.5f, 57.5f, Hex(0x08080C));
  c.FillSdf(
      {58, 38, 66, 58},
      [](Vec p) {
        return SdBox(p, {61.5f, 47.5f}, {2.2f, 9.5f});
      },
      [](Vec p) { return Shade(Hex(0x9098A4), 1.2f - std::fabs(p.x - 61.0f) * 0.25f); });
  c.Rect(58, 54, 65, 57.5f, Hex(0x40444C));
  c.Glow({61.5f, 56}, 4, Hex(0xFF4020), 0.6f);
  return c;
}

Canvas PaintSpareEnemy() {
  // A heavy frigate: a long armoured spine with gun decks and four drive bells at the back.
  Canvas c(120, 120);
  const float ax = 60;
  for (float ex : {38.0f, 50.0f, 70.0f, 82.0f})
    Flame(c, {ex, 10}, 6.0f, 10.0f, Hex(0x4A8AFF), Hex(0xE0F0FF), -1);
  const std::vector<Vec> wings =
      Symmetric({{60, 20}, {96, 14}, {116, 34}, {112, 58}, {86, 66}, {60, 70}}, ax);
  Hull(c, wings, Hex(0x4E5870));
  const std::vector<Vec> body =
      Symmetric({{60, 4}, {74, 6}, {80, 30}, {76, 80}, {68, 104}, {60, 117}}, ax);
  Hull(c, body, Hex(0x9CA6BC));
  for (float ex : {38.0f, 50.0f, 70.0f, 82.0f}) {
    c.Rect(ex - 4, 6, ex + 4, 18, Hex(0x08080C));
    c.Rect(ex - 3, 7, ex + 3, 17, Hex(0x5A6274));
  }
  for (int i = 0; i < 4; ++i) {
    const float y = 30 + i * 14.0f;
    c.Rect(53, y, 67, y + 8, Hex(0x2A3040));
    c.Rect(55, y + 2, 65, y + 6, Hex(0x7A8AAA));
  }
  for (float gx : {28.0f, 92.0f}) {
    c.Circle({gx, 46}, 7, Hex(0x08080C));
    c.Circle({gx, 46}, 6, Hex(0x808A9C));
    c.Rect(gx - 1.5f, 46, gx + 1.5f, 62, Hex(0x30343C));
  }
  Canopy(c, {60, 92}, 5, 8, Hex(0x40E0C0));
  return c;
}

}  // namespace skyrift::forge
