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

// Armour plates in staggered courses: each course has its own plate width and offset, each
// plate its own tone, with dark seams and a lit lip, clipped to the polygon.
void Plating(Canvas& c, const std::vector<Vec>& poly, float course, uint32_t seed) {
  const Box box = c.Clip(Canvas::Bounds(poly, 0));
  for (int y = box.y0; y < box.y1; ++y) {
    const int row = static_cast<int>(std::floor((y + 0.5f) / course));
    const float fy = (y + 0.5f) - row * course;
    const float width = 34 + 40 * ValueNoise(row * 3.7f, 0.5f, seed);
    const float offset = width * ValueNoise(row * 5.1f, 2.5f, seed + 1);
    for (int x = box.x0; x < box.x1; ++x) {
      const Vec p{x + 0.5f, y + 0.5f};
      if (-SdPolygon(p, poly) < 2.5f) continue;
      // Plates mirror about the spine so both wings match.
      const float mx = std::fabs(p.x - kAxis) + offset;
      const int col = static_cast<int>(std::floor(mx / width));
      const float fx = mx - col * width;
      const float tone = ValueNoise(col * 7.3f, row * 3.1f, seed + 2) - 0.5f;
      float k = 1.0f + tone * 0.26f;
      if (fx < 1.0f || fy < 1.0f)
        k *= 0.68f;
      else if (fy < 2.0f)
        k *= 1.15f;
      const float grain = ValueNoise(p.x * 0.35f, p.y * 0.35f, seed + 3);
      k *= 0.94f + 0.12f * grain;
      Rgba& d = c.At(x, y);
      d.r *= k;
      d.g *= k;
      d.b *= k;
    }
  }
}

// A shadow band cast to the right of a raised part (light comes from the upper left).
void CastShadow(Canvas& c, const std::vector<Vec>& caster, const std::vector<Vec>& onto,
                Vec offset) {
  const Box box = c.Clip(Canvas::Bounds(onto, 0));
  for (int y = box.y0; y < box.y1; ++y)
    for (int x = box.x0; x < box.x1; ++x) {
      const Vec p{x + 0.5f, y + 0.5f};
      if (SdPolygon(p, onto) > -1.0f || SdPolygon(p, caster) < 0) continue;
      const float s = Clamp01(0.5f - SdPolygon(p - offset, caster) / 6);
      if (s <= 0) continue;
      Rgba& d = c.At(x, y);
      const float k = 1 - 0.45f * s;
      d.r *= k;
      d.g *= k;
      d.b *= k;
    }
}

// A gun turret seen from above, barrels pointing down at the players.
void Turret(Canvas& c, Vec at, float r) {
  c.Rect(at.x - r * 0.45f, at.y, at.x - r * 0.15f, at.y + r * 1.7f, Hex(0x0A0A10));
  c.Rect(at.x + r * 0.15f, at.y, at.x + r * 0.45f, at.y + r * 1.7f, Hex(0x0A0A10));
  c.Rect(at.x - r * 0.4f, at.y, at.x - r * 0.2f, at.y + r * 1.6f, Hex(0x8A90A0));
  c.Rect(at.x + r * 0.2f, at.y, at.x + r * 0.4f, at.y + r * 1.6f, Hex(0x8A90A0));
  c.Circle(at, r + 1.5f, Hex(0x0A0A10));
  c.FillSdf(
      {static_cast<int>(at.x - r) - 2, static_cast<int>(at.y - r) - 2,
       static_cast<int>(at.x + r) + 3, static_cast<int>(at.y + r) + 3},
      [&](Vec p) { return SdCircle(p, at, r); },
      [&](Vec p) {
        return Mix(Hex(0xA8B0C0), Hex(0x3A4050),
                   Clamp01(Length(p - (at + Vec{-r * 0.4f, -r * 0.4f})) / (r * 1.6f)));
      });
  c.Circle(at, r * 0.35f, Hex(0x20242C));
  c.Circle(at, r * 0.18f, Hex(0xFF4040));
}

void Light(Canvas& c, Vec at, float r, uint32_t colour) {
  c.Circle(at, r + 1, Hex(0x0A0406));
  c.Circle(at, r, Hex(colour));
  c.Glow(at, r * 3.2f, Hex(colour), 0.5f);
}

}  // namespace

Canvas PaintBoss() {
  Canvas c(650, 320);
  const Rgba armour = Hex(0x5A6276), dark = Hex(0x2C303C), crimson = Hex(0xB01830);

  // Wings: a broad delta with blade tips raking down past the engines and notches above
  // the engine mounts.
  const std::vector<Vec> wing = Mirror({{325, 26},
                                        {420, 30},
                                        {520, 46},
                                        {600, 70},
                                        {646, 104},
                                        {648, 160},
                                        {632, 196},
                                        {644, 262},
                                        {604, 238},
                                        {570, 222},
                                        {546, 192},
                                        {436, 192},
                                        {412, 224},
                                        {394, 250},
                                        {325, 256}});
  Hull(c, wing, armour, 1.5f);
  Plating(c, wing, 21, 2200);
  // Crimson leading-edge bands and a darker trailing edge.
  for (int side : {-1, 1}) {
    const auto X = [side](float dx) { return kAxis + side * dx; };
    c.Polygon({{X(110), 33},
               {X(200), 40},
               {X(282), 58},
               {X(318), 94},
               {X(312), 104},
               {X(274), 72},
               {X(196), 54},
               {X(108), 47}},
              crimson);
    c.Polygon({{X(110), 40}, {X(200), 46}, {X(276), 62}, {X(274), 66}, {X(198), 50}, {X(110), 44}},
              Hex(0xFF5A6A));
    c.Polygon({{X(307), 200}, {X(319), 262}, {X(310), 256}, {X(300), 212}}, crimson);
    // Wing turrets.
    Turret(c, {X(172), 120}, 11);
    Turret(c, {X(262), 150}, 8);
    // Vents with the reactor's glow behind them.
    for (int i = 0; i < 6; ++i) {
      const float vx = X(120 + i * 14.0f);
      c.Rect(vx - 4, 160, vx + 4, 182, Hex(0x0A0A10));
      c.Rect(vx - 3, 161, vx + 3, 181, Hex(0xFF6A20, 0.85f));
      c.Rect(vx - 3, 161, vx + 3, 166, Hex(0xFFD080, 0.9f));
    }
  }
  // Struts from the wing to each engine mount; seen bare, with a glowing socket, once an
  // engine is shot away.
  for (const float cx : {163.5f, 487.5f}) {
    const std::vector<Vec> strut{{cx - 34, 186}, {cx + 34, 186}, {cx + 46, 262},
                                 {cx + 30, 300}, {cx - 30, 300}, {cx - 46, 262}};
    Hull(c, strut, dark, 1.5f);
    c.Rect(cx - 26, 246, cx + 26, 292, Hex(0x0C0C12));
    c.Circle({cx, 270}, 16, Hex(0x301010));
    c.Circle({cx, 270}, 10, Hex(0xFF5020));
    c.Circle({cx, 270}, 5, Hex(0xFFD0A0));
    for (int i = 0; i < 3; ++i) c.Rect(cx - 22 + i * 17, 200, cx - 16 + i * 17, 236, Hex(0x14161E));
  }
  // The spine: a long armoured keel whose prow points down at the players.
  const std::vector<Vec> spine =
      Mirror({{325, 2}, {360, 6}, {388, 36}, {396, 150}, {386, 236}, {360, 290}, {325, 316}});
  CastShadow(c, spine, wing, {9, 6});
  Hull(c, spine, Hex(0x788298), 1.5f);
  Plating(c, spine, 18, 2201);
  // Raised armour ridges down the prow.
  for (int side : {-1, 1}) {
    const auto X = [side](float dx) { return kAxis + side * dx; };
    c.Polygon({{X(40), 212}, {X(48), 214}, {X(22), 296}, {X(16), 292}}, Hex(0x0A0A10));
    c.Polygon({{X(40), 214}, {X(46), 216}, {X(21), 292}, {X(17), 290}}, Hex(0xA8B2C4));
    // Lit windows along the keel.
    for (int i = 0; i < 7; ++i)
      c.Rect(X(58) - 1.5f, 60 + i * 12.0f, X(58) + 1.5f, 65 + i * 12.0f, Hex(0xFFE0A0));
  }
  // Bridge tower and the fan gun at the top.
  const std::vector<Vec> tower = Mirror({{325, 8}, {346, 12}, {352, 42}, {340, 70}, {325, 74}});
  Hull(c, tower, dark, 1.2f);
  c.Circle({325, 21}, 11, Hex(0x0A0406));
  c.Circle({325, 21}, 9, Hex(0x40101A));
  Light(c, {325, 21}, 5, 0xFF5060);
  c.Rect(318, 48, 332, 52, Hex(0x40E0FF));
  // The curtain guns along the leading edge.
  for (int i = 0; i < 6; ++i) {
    const Vec at{38.5f + i * 108.0f, 56};
    if (at.x > 300 && at.x < 350) continue;
    c.Rect(at.x - 7, at.y - 8, at.x + 7, at.y + 8, Hex(0x0C0C12));
    c.Rect(at.x - 5.5f, at.y - 6.5f, at.x + 5.5f, at.y + 6.5f, Hex(0x4A505C));
    c.Rect(at.x - 2, at.y, at.x + 2, at.y + 12, Hex(0x0C0C12));
    Light(c, {at.x, at.y - 1}, 2.8f, 0xFFB040);
  }
  // The core: a great lens the sweeping streams pour from.
  c.Circle({327, 172}, 36, Hex(0x08080C));
  c.FillSdf(
      {288, 134, 368, 212},
      [](Vec p) {
        return SdCircle(p, {327, 172}, 33);
      },
      [](Vec p) {
        const float a = std::atan2(p.y - 172, p.x - 327);
        const float lit = Clamp01(0.5f - ((p.x - 327) + (p.y - 172)) / 66);
        return Shade(Hex(0x505868), (0.7f + 0.25f * std::sin(a * 8)) * (0.7f + 0.6f * lit));
      });
  c.Circle({327, 172}, 22, Hex(0x0A0408));
  c.FillSdf(
      {300, 145, 355, 200},
      [](Vec p) {
        return SdCircle(p, {327, 172}, 20);
      },
      [](Vec p) {
        const float d = Length(p - Vec{322, 166}) / 22;
        return Mix(Hex(0xFFE0C0), Mix(Hex(0xFF3050), Hex(0x400818), Clamp01(d * 1.2f - 0.2f)),
                   Clamp01(d * 3));
      });
  c.Glow({327, 172}, 48, Hex(0xFF3050), 0.4f);
  // Wing-tip drives (pointing back, up the screen) and running lights.
  for (float tx : {40.0f, 610.0f}) {
    c.Glow({tx, 92}, 18, Hex(0xFF6030), 0.7f);
    c.Circle({tx, 100}, 7, Hex(0x14141A));
    c.Circle({tx, 100}, 4.5f, Hex(0xFFA050));
  }
  Light(c, {12, 150}, 2.5f, 0xFF3030);
  Light(c, {638, 150}, 2.5f, 0x30FF60);
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
  const std::vector<Vec> pod{{10, 12},  {40, 3},  {100, 3}, {129, 12}, {136, 40},
                             {128, 68}, {98, 79}, {40, 79}, {11, 68},  {3, 40}};
  Hull(c, pod, armour, 1.5f);
  // Exhaust bells along the back edge.
  for (float bx : {right ? 60.0f : 79.0f, right ? 124.0f : 15.0f}) {
    c.Rect(bx - 9, 2, bx + 9, 12, Hex(0x08080C));
    c.Rect(bx - 7, 3, bx + 7, 11, Hex(0x3A3E48));
    c.Rect(bx - 5, 3, bx + 5, 7, Hex(0xFFB050));
  }
  c.Line({8, 40}, {131, 40}, 1.2f, Hex(0x30343E));
  // Turbine intake.
  c.Circle({innerX, 38}, 25, Hex(0x08080C));
  c.FillSdf(
      {0, 0, 139, 82},
      [&](Vec p) {
        return SdCircle(p, {innerX, 38}, 22);
      },
      [&](Vec p) {
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
  for (int i = 0; i < 4; ++i)
    c.Rect(muzzleX - 7, 46 + i * 9.0f, muzzleX + 7, 49 + i * 9.0f, Hex(0xC02030));
  // Armour stripes.
  const float stripeX = right ? 125.0f : 14.0f;
  c.Rect(stripeX - 4, 20, stripeX + 4, 62, Hex(0xA0182C));
  return c;
}

}  // namespace skyrift::forge
