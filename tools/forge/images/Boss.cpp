// The stage-1 boss: a winged fortress whose two engine pods sit on mounts under its wings.
// Fixed points of the body (body-relative): engine mounts at (94, 245) and (418, 244), each
// 139 x 82; beam muzzles centred at x 142 and 516 around y 270; the fan gun at (325, 21);
// six curtain ports along y = 50 from x = 38 every 108; the sweep core at (327, 172).
#include <numbers>

#include "images/Art.h"

namespace skyrift::forge {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kAxis = 325;

std::vector<Vec> Mirror(const std::vector<Vec>& right) {
  std::vector<Vec> out = right;
  for (auto it = right.rbegin(); it != right.rend(); ++it)
    if (std::fabs(it->x - kAxis) > 0.01f) out.push_back({2 * kAxis - it->x, it->y});
  return out;
}

// Armour plates: panel seams and a mottled shade, clipped to the polygon.
void Plating(Canvas& c, const std::vector<Vec>& poly, float cell, uint32_t seed) {
  const Box box = c.Clip(Canvas::Bounds(poly, 0));
  for (int y = box.y0; y < box.y1; ++y)
    for (int x = box.x0; x < box.x1; ++x) {
      const Vec p{x + 0.5f, y + 0.5f};
      const float inside = -SdPolygon(p, poly);
      if (inside < 2.5f) continue;
      const int gx = static_cast<int>(std::floor(p.x / cell)), gy = static_cast<int>(std::floor(p.y / (cell * 0.7f)));
      const float fx = p.x - gx * cell, fy = p.y - gy * cell * 0.7f;
      const float tone = ValueNoise(gx * 7.3f, gy * 3.1f, seed) - 0.5f;
      Rgba& d = c.At(x, y);
      float k = 1.0f + tone * 0.22f;
      if (fx < 1.0f || fy < 1.0f) k *= 0.62f;        // seam
      else if (fx < 2.0f || fy < 2.0f) k *= 1.12f;   // lit lip of the next plate
      d.r *= k;
      d.g *= k;
      d.b *= k;
    }
}

void Light(Canvas& c, Vec at, float r, uint32_t colour) {
  c.Circle(at, r + 1, Hex(0x0A0406));
  c.Circle(at, r, Hex(colour));
  c.Glow(at, r * 3.2f, Hex(colour), 0.5f);
}

}  // namespace

Canvas PaintBoss() {
  Canvas c(650, 320);
  const Rgba armour = Hex(0x5C6270), dark = Hex(0x353A46), crimson = Hex(0xA0182C);

  // Wings: a broad delta from the spine to the tips, ragged trailing edge.
  const std::vector<Vec> wing = Mirror({{325, 30}, {430, 36}, {560, 58}, {640, 96}, {646, 150}, {612, 196},
                                        {560, 232}, {500, 238}, {430, 226}, {390, 250}, {325, 256}});
  Hull(c, wing, armour, 1.5f);
  Plating(c, wing, 26, 2200);
  // Crimson leading-edge bands.
  for (int side : {-1, 1}) {
    std::vector<Vec> band{{325 + side * 120.0f, 40}, {325 + side * 232.0f, 60}, {325 + side * 310.0f, 100},
                          {325 + side * 306.0f, 112}, {325 + side * 228.0f, 74}, {325 + side * 118.0f, 54}};
    c.Polygon(band, crimson);
  }
  // Engine mounts: recessed pylons under the engines, seen as scorched sockets if an engine falls.
  for (const Box m : {Box{94, 245, 233, 320}, Box{418, 244, 557, 320}}) {
    const float cx = (m.x0 + m.x1) * 0.5f;
    const std::vector<Vec> pylon{{cx - 58, 196}, {cx + 58, 196}, {cx + 64, 300}, {cx + 40, 318}, {cx - 40, 318},
                                 {cx - 64, 300}};
    Hull(c, pylon, dark, 1.5f);
    c.Rect(cx - 46, 250, cx + 46, 306, Hex(0x0C0C12));
    for (int i = 0; i < 5; ++i) c.Rect(cx - 40 + i * 18, 256, cx - 32 + i * 18, 300, Hex(0x24202A));
    c.Glow({cx, 278}, 40, Hex(0xFF5020), 0.25f);
  }
  // The spine: a long armoured keel whose prow points down at the players.
  const std::vector<Vec> spine = Mirror({{325, 2}, {362, 6}, {392, 40}, {398, 150}, {388, 236}, {360, 290}, {325, 316}});
  Hull(c, spine, Hex(0x7C8494), 1.5f);
  Plating(c, spine, 20, 2201);
  // Bridge tower and the fan gun at the top.
  const std::vector<Vec> tower = Mirror({{325, 8}, {346, 12}, {352, 42}, {340, 70}, {325, 74}});
  Hull(c, tower, dark, 1.2f);
  c.Circle({325, 21}, 11, Hex(0x0A0406));
  c.Circle({325, 21}, 9, Hex(0x40101A));
  Light(c, {325, 21}, 5, 0xFF5060);
  // The curtain guns along the leading edge.
  for (int i = 0; i < 6; ++i) {
    const Vec at{38.5f + i * 108.0f, 56};
    if (at.x > 300 && at.x < 350) continue;
    c.Rect(at.x - 7, at.y - 8, at.x + 7, at.y + 8, Hex(0x0C0C12));
    c.Rect(at.x - 5.5f, at.y - 6.5f, at.x + 5.5f, at.y + 6.5f, Hex(0x4A505C));
    Light(c, {at.x, at.y + 3}, 2.8f, 0xFFB040);
  }
  // The core: a great lens the sweeping streams pour from.
  c.Circle({327, 172}, 34, Hex(0x08080C));
  c.FillSdf({290, 136, 366, 210}, [](Vec p) { return SdCircle(p, {327, 172}, 31); }, [](Vec p) {
    const float a = std::atan2(p.y - 172, p.x - 327);
    return Shade(Hex(0x505868), 0.8f + 0.25f * std::sin(a * 8));
  });
  c.Circle({327, 172}, 21, Hex(0x0A0408));
  c.FillSdf({300, 145, 355, 200}, [](Vec p) { return SdCircle(p, {327, 172}, 19); }, [](Vec p) {
    const float d = Length(p - Vec{322, 166}) / 22;
    return Mix(Hex(0xFFE0C0), Mix(Hex(0xFF3050), Hex(0x400818), Clamp01(d * 1.2f - 0.2f)), Clamp01(d * 3));
  });
  c.Glow({327, 172}, 46, Hex(0xFF3050), 0.45f);
  // Hull lights and vents.
  for (int side : {-1, 1}) {
    for (int i = 0; i < 4; ++i) Light(c, {325 + side * (150.0f + i * 40), 150.0f + i * 10}, 2.2f, 0xFF4040);
    c.Rect(325 + side * 40.0f - 6, 90, 325 + side * 40.0f + 6, 130, Hex(0x14141A));
    for (int i = 0; i < 5; ++i)
      c.Rect(325 + side * 40.0f - 5, 92 + i * 8.0f, 325 + side * 40.0f + 5, 96 + i * 8.0f, Hex(0xFF7030, 0.9f));
  }
  // Wing-tip drives (pointing back, up the screen).
  for (float tx : {40.0f, 610.0f}) {
    c.Glow({tx, 92}, 18, Hex(0xFF6030), 0.7f);
    c.Circle({tx, 100}, 7, Hex(0x14141A));
    c.Circle({tx, 100}, 4.5f, Hex(0xFFA050));
  }
  return c;
}

Canvas PaintBossEngine(bool right) {
  Canvas c(139, 82);
  // The beam muzzle sits where the boss fires its beams from: engine-relative x 48 (left)
  // or 98 (right), the beam appearing around y 26.
  const float muzzleX = right ? 98.5f : 48.5f;
  const float innerX = right ? 34.0f : 105.0f;  // the turbine faces the spine
  const Rgba armour = Hex(0x6A7080);
  // Heat shimmer from the exhausts at the back (top).
  c.Glow({innerX, 6}, 22, Hex(0xFF7030), 0.7f);
  const std::vector<Vec> pod{{10, 12}, {40, 3}, {100, 3}, {129, 12}, {136, 40}, {128, 68}, {98, 79}, {40, 79},
                             {11, 68}, {3, 40}};
  Hull(c, pod, armour, 1.5f);
  // Turbine intake.
  c.Circle({innerX, 38}, 25, Hex(0x08080C));
  c.FillSdf({0, 0, 139, 82}, [&](Vec p) { return SdCircle(p, {innerX, 38}, 22); }, [&](Vec p) {
    const float a = std::atan2(p.y - 38, p.x - innerX);
    const float blades = 0.5f + 0.5f * std::sin(a * 12 + Length(p - Vec{innerX, 38}) * 0.25f);
    return Mix(Hex(0x282C34), Hex(0x8A909C), blades);
  });
  c.Circle({innerX, 38}, 8, Hex(0x101014));
  c.Circle({innerX, 38}, 5.5f, Hex(0xFF8030));
  // The beam cannon: a crimson lens in an armoured collar with a firing channel below it.
  c.Rect(muzzleX - 12, 30, muzzleX + 12, 82, Hex(0x08080C));
  c.Rect(muzzleX - 9, 30, muzzleX + 9, 82, Hex(0x2A1018));
  c.Circle({muzzleX, 26}, 17, Hex(0x08080C));
  c.Circle({muzzleX, 26}, 15, Hex(0x9098A8));
  c.Circle({muzzleX, 26}, 11, Hex(0x300810));
  c.Circle({muzzleX, 26}, 8, Hex(0xE02040));
  c.Circle({muzzleX - 2, 24}, 3.5f, Hex(0xFFC0C8));
  for (int i = 0; i < 4; ++i) c.Rect(muzzleX - 7, 46 + i * 9.0f, muzzleX + 7, 49 + i * 9.0f, Hex(0xC02030));
  // Armour stripes.
  const float stripeX = right ? 125.0f : 14.0f;
  c.Rect(stripeX - 4, 20, stripeX + 4, 62, Hex(0xA0182C));
  return c;
}

}  // namespace skyrift::forge
