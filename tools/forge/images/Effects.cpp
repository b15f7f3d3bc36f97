// Explosions, the bomb's flash and the four pick-ups.
#include <numbers>

#include "images/Art.h"
#include "images/Text.h"

namespace skyrift::forge {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Fire colour by heat: white, yellow, orange, red, then soot.
Rgba Fire(float heat) {
  heat = Clamp01(heat);
  if (heat > 0.8f) return Mix(Hex(0xFFE070), Hex(0xFFFFF0), (heat - 0.8f) / 0.2f);
  if (heat > 0.55f) return Mix(Hex(0xFF8A10), Hex(0xFFE070), (heat - 0.55f) / 0.25f);
  if (heat > 0.3f) return Mix(Hex(0xC02808), Hex(0xFF8A10), (heat - 0.3f) / 0.25f);
  return Mix(Hex(0x2A2224), Hex(0xC02808), heat / 0.3f);
}

}  // namespace

Canvas PaintExplosion() {
  Rng rng(2400);
  // Sparks keep their direction and speed through the whole animation.
  struct Spark {
    float angle, speed;
  };
  std::vector<Spark> sparks;
  for (int i = 0; i < 14; ++i) sparks.push_back({rng.Range(0, 2 * kPi), rng.Range(1.6f, 2.4f)});
  struct Puff {
    Vec offset;
    float size;
  };
  std::vector<Puff> puffs;
  for (int i = 0; i < 9; ++i) {
    const float a = rng.Range(0, 2 * kPi), d = rng.Range(3, 11);
    puffs.push_back({{d * std::cos(a), d * std::sin(a)}, rng.Range(0.6f, 1.0f)});
  }
  return Strip(900, 60, 15, 60, [&](Canvas& c, int f) {
    const Vec centre{30, 30};
    const float t = f / 14.0f;
    // Smoke: grows and thins out over the second half.
    if (f >= 4) {
      const float smokeT = (f - 4) / 10.0f;
      const float alpha = 0.95f * (1 - smokeT * smokeT);
      for (const Puff& p : puffs) {
        const float r = (7 + 9 * smokeT) * p.size;
        const Vec at = centre + p.offset * (1 + smokeT * 1.4f) + Vec{0, -3 * smokeT};
        c.FillSdf(
            {0, 0, 60, 60},
            [&](Vec q) {
              // Ragged puffs: the edge is eaten by noise, more so as the smoke thins.
              const float n = Fbm(q.x * 0.22f, q.y * 0.22f + f * 0.7f, 77, 3);
              return SdCircle(q, at, r) + (n - 0.5f) * 8 + smokeT * 3;
            },
            [&](Vec q) {
              const float n = Fbm(q.x * 0.25f, q.y * 0.25f + f, 78, 3);
              const float lit =
                  Clamp01((at.y - q.y) / r * 0.5f + 0.5f);  // fire light from below fades
              const Rgba smoke =
                  Mix(Hex(0x3A3438), Hex(0x8A7A70), lit * (1 - smokeT) * 0.8f + n * 0.3f);
              return smoke * alpha;
            });
      }
    }
    // Fireball: a quick bloom that cools and breaks up.
    if (f <= 10) {
      const float radius = f < 5 ? 6 + 4.2f * f : 27 - 2.2f * (f - 5);
      const float heat = f < 3 ? 1.0f : 1.0f - (f - 3) / 8.0f;
      c.FillSdf(
          {0, 0, 60, 60},
          [&](Vec q) {
            const float n = Fbm(q.x * 0.16f, q.y * 0.16f, 2401 + f, 3);
            return SdCircle(q, centre, radius * (0.75f + 0.45f * n));
          },
          [&](Vec q) {
            const float d = Length(q - centre) / std::max(1.0f, radius);
            const float n = Fbm(q.x * 0.2f, q.y * 0.2f, 2402, 3);
            return Fire(heat * (1.15f - 0.75f * d) + 0.25f * (n - 0.5f));
          });
    }
    // The first flash: a white-hot star that the fireball swallows.
    if (f <= 2) {
      const float r = 9 + 5 * f;
      c.FillSdf(
          {0, 0, 60, 60}, [&](Vec q) { return SdCircle(q, centre, r + 3); },
          [&](Vec q) {
            return Mix(
                Hex(0xFFFFF4), Hex(0xFFB030),
                Clamp01(Length(q - centre) / (r + 3)) * Clamp01(Length(q - centre) / (r + 3)));
          });
      for (int k = 0; k < 4; ++k) {
        const float a = k * kPi / 2 + kPi / 4 * f;
        const Vec d{std::cos(a), std::sin(a)};
        c.Line(centre - d * (r * 2.4f), centre + d * (r * 2.4f), 2.2f - 0.5f * f, Hex(0xFFFFE0));
      }
    }
    // Sparks fly out and fade.
    if (f >= 1 && f <= 12) {
      for (const Spark& s : sparks) {
        const float d0 = 6 + s.speed * 2.2f * f, d1 = d0 + 3 + s.speed;
        const Vec dir{std::cos(s.angle), std::sin(s.angle)};
        const Rgba col = Mix(Hex(0xFFF0A0), Hex(0xFF6010), t);
        c.Line(centre + dir * d0, centre + dir * d1, 1.4f, col * (1 - t * 0.7f));
      }
    }
    // The last embers keep the centre lit to the end.
    if (f >= 10) c.Circle(centre, 3.2f * (1 - t) + 1.2f, Mix(Hex(0xFFB040), Hex(0x5A2A20), t));
  });
}

Canvas PaintBombFlash() {
  return Strip(3600, 600, 4, 900, [](Canvas& c, int f) {
    const Vec centre{450, 340};
    // A white-out that collapses into an expanding shock ring; later frames are mostly clear.
    static constexpr float kRing[] = {120, 300, 470, 640};
    static constexpr float kWidth[] = {90, 70, 48, 34};
    static constexpr float kFill[] = {1.6f, 0.55f, 0.0f, 0.0f};
    static constexpr float kReach[] = {620, 330, 1, 1};
    const float ring = kRing[f], width = kWidth[f], fill = kFill[f], reach = kReach[f];
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 900; ++x) {
        const Vec p{x + 0.5f, y + 0.5f};
        const float d = Length(p - centre);
        const float band = std::exp(-((d - ring) * (d - ring)) / (width * width));
        const float core = fill * std::exp(-(d * d) / (reach * reach));
        const float n = Fbm(x * 0.01f, y * 0.01f, 2407, 3);
        const float a = Clamp01(band * (1.0f - 0.2f * f) + core * (0.8f + 0.4f * n));
        // Light, not paint: where the flash shows at all it is opaque, its strength setting
        // the colour from a deep blue edge to white, so it never dims into grey.
        if (a < 0.35f) continue;
        c.Blend(x, y, Mix(Hex(0x2A58C8), Hex(0xFFFFFF), std::pow((a - 0.35f) / 0.65f, 0.6f)));
      }
  });
}

Canvas PaintSpareFlash() {
  return Strip(3600, 600, 4, 900, [](Canvas& c, int f) {
    // A warm flash: a fire-coloured burst that thins into streaks.
    const Vec centre{450, 300};
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 900; ++x) {
        const Vec p{x + 0.5f, y + 0.5f};
        const float d = Length(p - centre) / 520.0f;
        const float ang = std::atan2(p.y - centre.y, p.x - centre.x);
        const float rays = 0.5f + 0.5f * std::sin(ang * 14 + f);
        const float a = Clamp01((1.1f - d - 0.25f * f) * (0.7f + 0.5f * rays));
        if (a < 0.35f) continue;
        c.Blend(x, y, Fire(0.3f + 0.7f * (a - 0.35f) / 0.65f));
      }
  });
}

Canvas PaintPowerUp(int kind) {
  struct Look {
    uint32_t rim, light, dark;
  };
  static constexpr Look kLooks[] = {
      {0xFFB020, 0xFFE890, 0x7A3E00},  // power: gold
      {0x30D050, 0xB0FFB0, 0x0A4A18},  // repair: green
      {0xE02828, 0xFF9A8A, 0x500808},  // bomb: red
      {0x30A8FF, 0xB0E8FF, 0x0A2A60},  // focus: blue
  };
  const Look look = kLooks[kind];
  Canvas c(30, 30);
  const Vec centre{15, 15};
  c.Circle(centre, 14.3f, Hex(0x050508));
  c.FillSdf(
      {0, 0, 30, 30}, [&](Vec p) { return SdCircle(p, centre, 13.2f); },
      [&](Vec p) {
        const float t = Clamp01((p.y - 2) / 26);
        return Mix(Hex(look.light), Hex(look.dark), t);
      });
  c.Circle(centre, 10.2f, Hex(0x0C0C14));
  c.FillSdf(
      {0, 0, 30, 30}, [&](Vec p) { return SdCircle(p, centre, 9.6f); },
      [&](Vec p) {
        const float d = Length(p - Vec{13, 12}) / 12;
        return Mix(Shade(Hex(look.rim), 0.55f), Hex(0x101018), Clamp01(d));
      });
  const Rgba ink = Hex(0xFFFFFF);
  switch (kind) {
    case 0:  // an upward chevron pair: more fire power
      c.Polygon({{15, 7}, {22, 14}, {19, 14}, {15, 10}, {11, 14}, {8, 14}}, ink);
      c.Polygon({{15, 13}, {22, 20}, {19, 20}, {15, 16}, {11, 20}, {8, 20}}, Hex(look.light));
      break;
    case 1:  // a cross: repair
      c.Rect(13, 8, 17, 22, ink);
      c.Rect(8, 13, 22, 17, ink);
      break;
    case 2:  // a round bomb with a lit fuse
      c.Circle({14, 17}, 5.2f, Hex(0xF0F0F0));
      c.Rect(15, 9.5f, 18, 12.5f, Hex(0xF0F0F0));
      c.Line({17.5f, 10}, {20, 7.5f}, 1.2f, Hex(0xFFD060));
      c.Glow({20.5f, 7}, 3.5f, Hex(0xFFE080), 1.0f);
      break;
    default:  // a lightning bolt: energy
      c.Polygon({{17, 6}, {10, 16}, {14.5f, 16}, {12.5f, 24}, {20, 13}, {15.5f, 13}}, ink);
      break;
  }
  // Gloss on the rim.
  c.FillSdf(
      {0, 0, 30, 30},
      [&](Vec p) { return std::max(SdCircle(p, centre, 12.6f), -SdCircle(p, centre, 10.8f)); },
      [&](Vec p) {
        return Hex(0xFFFFFF, 0.45f * Clamp01((16 - p.y) / 12) * Clamp01((17 - p.x) / 10));
      });
  return c;
}

}  // namespace skyrift::forge
