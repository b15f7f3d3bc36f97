// Every shot: the players' plasma bolts (cyan-white), the enemies' orbs (orange and red),
// the boss's needles (amber), sweep stars (green) and beam (crimson).
#include <numbers>

#include "images/Art.h"

namespace skyrift::forge {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// 0..1..0 over a cycle of n frames, so the animation loops without a jump.
float Pulse(int frame, int n) { return 0.5f - 0.5f * std::cos(2 * kPi * frame / n); }

// A glowing bolt along a segment: a coloured halo, a bright body, a white-hot core.
void Bolt(Canvas& c, Vec a, Vec b, float width, Rgba halo, Rgba body, float glow) {
  c.GlowLine(a, b, width * 1.6f + glow, halo, 0.9f);
  c.Line(a, b, width, body);
  c.Line(a, b, std::max(1.0f, width * 0.45f), Hex(0xFFFFFF));
}

// A round glowing orb with a rim of another colour.
void Orb(Canvas& c, Vec centre, float r, Rgba rim, Rgba core, float glow) {
  c.Glow(centre, r + glow, rim, 0.9f, 1.5f);
  c.Circle(centre, r, rim);
  c.Circle(centre, r * 0.62f, core);
  c.Circle({centre.x - r * 0.2f, centre.y - r * 0.2f}, r * 0.25f, Hex(0xFFFFFF));
}

}  // namespace

Canvas PaintBulletCentre() {
  return Strip(212, 26, 5, 42, [](Canvas& c, int f) {
    const float p = Pulse(f, 5);
    const Rgba halo = Hex(0x2090FF), body = Hex(0x7FE8FF);
    // A long central lance flanked by two short sparks.
    Bolt(c, {21, 3}, {21, 22}, 3.2f + p, halo, body, 2 + p * 2);
    Bolt(c, {14.5f, 9}, {14.5f, 19}, 2.0f, halo, body, 1 + p);
    Bolt(c, {27.5f, 9}, {27.5f, 19}, 2.0f, halo, body, 1 + p);
    c.Glow({21, 5}, 5 + 2 * p, Hex(0xDFFFFF), 0.8f);
  });
}

Canvas PaintBulletSide(bool right) {
  Canvas c = Strip(142, 25, 5, 28, [](Canvas& c, int f) {
    const float p = Pulse(f, 5);
    // Leaning left: the tip is up and to the left, as the shot flies.
    Bolt(c, {7, 4}, {20, 21}, 2.8f + p * 0.6f, Hex(0x2090FF), Hex(0x7FE8FF), 1.5f + p * 1.5f);
    c.Glow({8, 5.5f}, 4 + 2 * p, Hex(0xDFFFFF), 0.8f);
  });
  if (!right) return c;
  // The right-leaning shot mirrors each frame in place (the spare columns stay at the right).
  Canvas out(142, 25);
  for (int f = 0; f < 5; ++f) out.Draw(c.Crop(f * 28, 0, 28, 25).MirrorX(), f * 28, 0);
  return out;
}

Canvas PaintEnemyBullet() {
  return Strip(70, 10, 7, 10, [](Canvas& c, int f) {
    const float p = Pulse(f, 7);
    c.Circle({5, 5}, 4.4f, Hex(0x3A0A00));
    c.Circle({5, 5}, 3.6f + 0.4f * p, Mix(Hex(0xFF5A00), Hex(0xFF9A20), p));
    c.Circle({5, 5}, 1.8f + 0.5f * p, Hex(0xFFF0A0));
  });
}

Canvas PaintEnemyBulletLarge() {
  return Strip(140, 20, 7, 20, [](Canvas& c, int f) {
    const float p = Pulse(f, 7);
    c.Circle({10, 10}, 9.3f, Hex(0x300000));
    Orb(c, {10, 10}, 7.2f + 0.8f * p, Mix(Hex(0xE01010), Hex(0xFF3020), p), Hex(0xFFB040), 1.5f);
  });
}

Canvas PaintCurtainBullet() {
  return Strip(50, 39, 7, 7, [](Canvas& c, int f) {
    const float p = Pulse(f, 7);
    // A falling amber needle, brightest at its leading (lower) end.
    c.Line({3.5f, 2}, {3.5f, 37}, 5.0f, Hex(0x2A1600));
    c.FillSdf({0, 0, 7, 39}, [](Vec q) { return SdSegment(q, {3.5f, 3}, {3.5f, 36}, 2.0f); },
              [p](Vec q) { return Mix(Hex(0x8A4A00), Mix(Hex(0xFFC020), Hex(0xFFE060), p), q.y / 39.0f); });
    c.Line({3.5f, 14 - 4 * p}, {3.5f, 35}, 1.0f, Hex(0xFFFFE0));
  });
}

Canvas PaintSweepBullet() {
  return Strip(140, 20, 7, 20, [](Canvas& c, int f) {
    // A spinning four-pointed star: the angle turns a quarter turn over the cycle.
    const float angle = kPi / 2 * f / 7;
    std::vector<Vec> star;
    for (int k = 0; k < 8; ++k) {
      const float a = angle + k * kPi / 4;
      const float r = (k % 2 == 0) ? 9.2f : 3.6f;
      star.push_back({10 + r * std::cos(a), 10 + r * std::sin(a)});
    }
    c.PolygonOutline(star, 1.0f, Hex(0x002A10));
    c.Polygon(star, Hex(0x30FF80));
    c.Circle({10, 10}, 3.2f, Hex(0xE0FFE0));
  });
}

Canvas PaintBossBeam() {
  return Strip(204, 30, 4, 51, [](Canvas& c, int f) {
    // A crimson plasma slug with a shimmering sheath; frames shift the ripples.
    const float shift = f * 2.5f;
    c.FillSdf({0, 0, 51, 30}, [](Vec q) { return SdEllipse(q, {25.5f, 15}, 11.5f, 14.0f); },
              [shift](Vec q) {
                const float ripple = 0.5f + 0.5f * std::sin((q.y + shift) * 0.9f);
                return Mix(Hex(0xA00020), Hex(0xFF3050), ripple);
              });
    c.Glow({25.5f, 15}, 24, Hex(0xFF2040), 0.5f, 1.2f);
    c.Ellipse({25.5f, 15}, 6.0f + (f % 2), 12.0f, Hex(0xFF9AA0));
    c.Ellipse({25.5f, 17}, 2.8f, 9.0f, Hex(0xFFFFFF));
  });
}

}  // namespace skyrift::forge
