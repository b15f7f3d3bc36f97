// Every shot: the players' plasma bolts (cyan-white), the enemies' orbs (orange and red),
// the boss's needles (amber), sweep stars (green) and beam (crimson).
#include <numbers>

#include "images/Art.h"

namespace skyrift::forge {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// 0..1..0 over a cycle of n frames, so the animation loops without a jump; the quarter-frame
// phase keeps the rising and falling halves from repeating a frame.
float Pulse(int frame, int n) {
  return 0.5f - 0.5f * std::cos(2 * kPi * (frame + 0.25f) / n);
}

// A glowing bolt along a segment: a soft halo, a deep sheath, a bright body and a
// white-hot core, nested so the shot reads as light even after the key cuts its halo.
void Bolt(Canvas& c, Vec a, Vec b, float width, Rgba halo, Rgba body, float glow) {
  c.GlowLine(a, b, width * 0.5f + glow + 1.5f, halo, 0.8f);
  c.Line(a, b, width + 2.2f, Shade(halo, 0.75f));
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
    // A hot spot circles the rim, so even this small shot visibly spins.
    const float a = 2 * kPi * f / 7;
    c.Circle({5 + 2.6f * std::cos(a), 5 + 2.6f * std::sin(a)}, 0.9f, Hex(0xFFFFE0));
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
    c.FillSdf(
        {0, 0, 7, 39},
        [](Vec q) {
          return SdSegment(q, {3.5f, 3}, {3.5f, 36}, 2.0f);
        },
        [p](Vec q) {
          return Mix(Hex(0x8A4A00), Mix(Hex(0xFFC020), Hex(0xFFE060), p), q.y / 39.0f);
        });
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
    // Shots leave every second frame and fall 12 pixels a frame, so successive 30-pixel
    // segments overlap into one beam: each frame is a full-height slice of that column,
    // its edges rippling with a phase that moves down the frames.
    const float phase = f * kPi / 2;
    auto edge = [phase](float y, float amp) {
      return amp * std::sin(y * 0.42f + phase) + 0.6f * amp * std::sin(y * 1.1f - phase);
    };
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 51; ++x) {
        const float fy = y + 0.5f, fx = x + 0.5f - 25.5f;
        const float outer = 12.5f + edge(fy, 1.6f), mid = 8.0f + edge(fy + 3, 1.0f),
                    core = 3.2f + edge(fy + 7, 0.6f);
        const float d = std::fabs(fx);
        if (d > outer + 4) continue;
        c.AddLight(x, y, Hex(0xFF2040), Clamp01((outer + 4 - d) / 4) * 0.6f);
        if (d < outer) c.Blend(x, y, Hex(0x8A0820), Clamp01(outer - d));
        if (d < mid)
          c.Blend(x, y,
                  Mix(Hex(0xFF2848), Hex(0xFF6070), 0.5f + 0.5f * std::sin(fy * 0.7f + phase)),
                  Clamp01(mid - d));
        if (d < core) c.Blend(x, y, Hex(0xFFE8EC), Clamp01(core - d));
      }
  });
}

}  // namespace skyrift::forge
