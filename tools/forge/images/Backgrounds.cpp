// The four scrolling layers. The vertical ones are seen from their bottom (the start of the
// stage) to their top; the sideways one from its left end to its right end.
#include <numbers>

#include "images/Art.h"

namespace skyrift::forge {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// A colour ramp through evenly spaced stops.
Rgba Ramp(const std::vector<uint32_t>& stops, float t) {
  t = Clamp01(t) * static_cast<float>(stops.size() - 1);
  const size_t i = std::min(stops.size() - 2, static_cast<size_t>(t));
  return Mix(Hex(stops[i]), Hex(stops[i + 1]), t - static_cast<float>(i));
}

// Stars of three depths; the brightest get a soft halo and, rarely, a four-point glint.
void StarField(Canvas& c, uint64_t seed, int count, float twinkleShare) {
  Rng rng(seed);
  const int w = c.Width(), h = c.Height();
  for (int i = 0; i < count; ++i) {
    const float x = rng.Range(0, static_cast<float>(w)), y = rng.Range(0, static_cast<float>(h));
    const float kind = rng.Unit();
    const float temp = rng.Unit();
    const Rgba tint = temp < 0.2f ? Hex(0xFFD8A8) : (temp < 0.5f ? Hex(0xC8DCFF) : Hex(0xFFFFFF));
    if (kind < 0.72f) {
      c.AddLight(static_cast<int>(x), static_cast<int>(y), tint, rng.Range(0.2f, 0.55f));
    } else if (kind < 1 - twinkleShare) {
      c.Glow({x, y}, rng.Range(1.4f, 2.2f), tint, rng.Range(0.6f, 1.0f), 1.0f);
    } else {
      const float s = rng.Range(4, 9);
      c.Glow({x, y}, s, tint, 0.5f, 2.5f);
      c.GlowLine({x - s * 1.6f, y}, {x + s * 1.6f, y}, 1.2f, tint, 0.7f);
      c.GlowLine({x, y - s * 1.6f}, {x, y + s * 1.6f}, 1.2f, tint, 0.7f);
      c.Circle({x, y}, 1.0f, Hex(0xFFFFFF));
    }
  }
}

// A nebula: layered fractal noise shaped by a mask function of the position.
template <class Mask>
void Nebula(Canvas& c, uint32_t seed, float scale, const std::vector<uint32_t>& ramp,
            float strength, Mask mask) {
  const int w = c.Width(), h = c.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float m = mask(static_cast<float>(x), static_cast<float>(y));
      if (m <= 0.001f) continue;
      // Domain warping makes the clouds fold instead of blob.
      const float wx = Fbm(x * scale, y * scale, seed + 11, 3) * 3.0f;
      const float wy = Fbm(x * scale + 5.2f, y * scale + 1.3f, seed + 23, 3) * 3.0f;
      const float n = Fbm(x * scale + wx, y * scale + wy, seed, 5);
      const float v = Clamp01((n - 0.38f) * 2.4f) * m;
      if (v <= 0) continue;
      const Rgba col = Ramp(ramp, v);
      c.AddLight(x, y, col, strength * v);
    }
}

// A lit sphere with bands and an atmosphere rim; light from the upper left.
void Planet(Canvas& c, Vec centre, float r, const std::vector<uint32_t>& bands, uint32_t atmosphere,
            uint32_t seed) {
  const Box b = c.Clip(
      {static_cast<int>(centre.x - r * 1.3f), static_cast<int>(centre.y - r * 1.3f),
       static_cast<int>(centre.x + r * 1.3f) + 1, static_cast<int>(centre.y + r * 1.3f) + 1});
  const float lx = -0.55f, ly = -0.5f, lz = 0.67f;
  for (int y = b.y0; y < b.y1; ++y)
    for (int x = b.x0; x < b.x1; ++x) {
      const float dx = (x + 0.5f - centre.x) / r, dy = (y + 0.5f - centre.y) / r;
      const float d2 = dx * dx + dy * dy;
      if (d2 > 1.0f) {
        // Atmosphere halo outside the disc, strongest on the lit side.
        const float d = std::sqrt(d2);
        const float halo = std::pow(Clamp01(1 - (d - 1) / 0.18f), 2.0f) *
                           Clamp01(0.3f - (dx * lx + dy * ly) * 0.9f + 0.3f);
        c.AddLight(x, y, Hex(atmosphere), halo * 0.8f);
        continue;
      }
      const float dz = std::sqrt(1 - d2);
      const float lambert = Clamp01(dx * lx + dy * ly + dz * lz);
      // Bands follow latitude, disturbed by noise.
      const float lat = dy + 0.035f * (Fbm(dx * 2.5f, dy * 8, seed, 4) - 0.5f);
      const float n = Fbm(dx * 2 + 10, lat * 7, seed + 7, 3);
      const float storms = Fbm(dx * 6, dy * 6, seed + 9, 3);
      const Rgba surface = Ramp(
          bands, Clamp01(0.5f + 0.45f * std::sin(lat * 7.0f + n * 2.2f) + 0.1f * (storms - 0.5f)));
      const float rim = std::pow(1 - dz, 3.0f);
      Rgba col = Shade(surface, 0.08f + 1.05f * lambert);
      col = Mix(col, Hex(atmosphere), rim * 0.6f * Clamp01(lambert + 0.2f));
      const float edge = Clamp01((1 - std::sqrt(d2)) * r);  // anti-aliased limb
      c.Blend(x, y, col, edge);
    }
}

// An asteroid: a lumpy disc shaded as a sphere, with craters; dark rim for the key.
void Asteroid(Canvas& c, Vec centre, float r, uint32_t seed, Rgba tone) {
  const Box b = c.Clip(
      {static_cast<int>(centre.x - r * 1.4f) - 2, static_cast<int>(centre.y - r * 1.4f) - 2,
       static_cast<int>(centre.x + r * 1.4f) + 3, static_cast<int>(centre.y + r * 1.4f) + 3});
  Rng rng(seed);
  struct Crater {
    float x, y, r;
  };
  std::vector<Crater> craters;
  const int n = 3 + static_cast<int>(r / 8);
  for (int i = 0; i < n; ++i)
    craters.push_back({rng.Range(-0.6f, 0.6f), rng.Range(-0.6f, 0.6f), rng.Range(0.08f, 0.22f)});
  auto radius = [&](float angle) {
    return r *
           (0.66f + 0.55f * Fbm(std::cos(angle) * 1.9f + 3, std::sin(angle) * 1.9f + 3, seed, 3));
  };
  for (int y = b.y0; y < b.y1; ++y)
    for (int x = b.x0; x < b.x1; ++x) {
      const Vec p{x + 0.5f - centre.x, y + 0.5f - centre.y};
      const float d = Length(p), a = std::atan2(p.y, p.x);
      const float edgeR = radius(a);
      const float sd = d - edgeR;
      if (sd > 1.5f) continue;
      if (sd > -1.2f) {  // dark rim
        c.Blend(x, y, Hex(0x0C0A0C), Clamp01(1.5f - sd));
        if (sd > -0.2f) continue;
      }
      const float nx = p.x / (edgeR + 1), ny = p.y / (edgeR + 1);
      const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
      float light = Clamp01(-0.6f * nx - 0.55f * ny + 0.58f * nz);
      float shade = 0.15f + 0.95f * light;
      for (const Crater& cr : craters) {
        const float cd = Length(Vec{nx - cr.x, ny - cr.y}) / cr.r;
        if (cd < 1) {
          // Bowl: dark on the lit side, bright lip on the far side.
          const float side = ((nx - cr.x) * -0.6f + (ny - cr.y) * -0.55f) / cr.r;
          shade *= 0.65f + 0.35f * cd - 0.25f * side * (1 - cd);
        } else if (cd < 1.25f) {
          shade *= 1.08f;
        }
      }
      const float grain = Fbm((x + 0.5f) * 0.15f, (y + 0.5f) * 0.15f, seed + 99, 3);
      shade *= 0.8f + 0.4f * grain;
      c.Blend(x, y, Shade(tone, shade), Clamp01(-0.2f - sd + 1.0f));
    }
}

// A drifting piece of wrecked hull: a torn plate with ribs and a few dead lights.
void Wreck(Canvas& c, Vec at, float size, float angle, uint32_t seed) {
  Rng rng(seed);
  const float ca = std::cos(angle), sa = std::sin(angle);
  auto place = [&](Vec p) { return at + Vec{p.x * ca - p.y * sa, p.x * sa + p.y * ca} * size; };
  std::vector<Vec> plate;
  const int points = 9;
  for (int i = 0; i < points; ++i) {
    const float t = static_cast<float>(i) / points;
    const float a = t * 2 * kPi;
    const float rr = (i % 2 ? rng.Range(0.5f, 0.8f) : rng.Range(0.85f, 1.1f));
    plate.push_back(place({std::cos(a) * rr * 1.5f, std::sin(a) * rr * 0.7f}));
  }
  // Dull, scorched and unlit, so that no player takes a wreck for a live enemy.
  Hull(c, plate, Hex(0x4A4846), 1.5f, 0.6f);
  for (int i = -2; i <= 2; ++i)
    c.Line(place({i * 0.35f, -0.55f}), place({i * 0.35f, 0.55f}), std::max(1.0f, size * 0.06f),
           Hex(0x1E1E22));
  c.Line(place({-1.2f, 0}), place({1.2f, 0}), std::max(1.0f, size * 0.08f), Hex(0x66646A));
  const Vec burn = place({rng.Range(-0.7f, 0.7f), rng.Range(-0.3f, 0.3f)});
  c.FillSdf(
      Canvas::Bounds(plate, 2),
      [&](Vec p) { return std::max(SdPolygon(p, plate) + 1.5f, SdCircle(p, burn, size * 0.45f)); },
      Hex(0x14100E, 0.7f));
}

}  // namespace

Canvas PaintStage1Far() {
  Canvas c(900, 5000);
  // Deep space: a slow wash from indigo at the start to violet-black at the end.
  for (int y = 0; y < 5000; ++y)
    for (int x = 0; x < 900; ++x) {
      const float t = y / 5000.0f;
      const float n = Fbm(x * 0.004f, y * 0.004f, 2000, 3);
      c.At(x, y) = Mix(Mix(Hex(0x070512), Hex(0x040A18), t), Hex(0x0C0A22), n * 0.6f);
    }
  // Nebulae: a blue-violet river through the middle, a teal veil near the start, a rose
  // cloud before the boss.
  Nebula(c, 2001, 0.0028f, {0x101040, 0x3A2A90, 0x8A4AD0, 0xE0B0FF}, 0.65f, [](float x, float y) {
    const float centreX = 450 + 260 * std::sin(y * 0.0011f);
    return Clamp01(1.2f - std::fabs(x - centreX) / 420) * Smooth(300, 1200, y) *
           (1 - Smooth(3900, 4700, y));
  });
  Nebula(c, 2002, 0.0035f, {0x052028, 0x0E5A6A, 0x40C0C0, 0xC0FFF0}, 0.55f,
         [](float, float y) { return Smooth(3200, 4000, y) * 0.9f; });
  Nebula(c, 2003, 0.003f, {0x200818, 0x7A1840, 0xE05070, 0xFFD0C0}, 0.6f, [](float x, float y) {
    return (1 - Smooth(200, 1300, y)) * Clamp01(1.3f - std::fabs(x - 620) / 500);
  });
  // Faint dust everywhere, so the stretches between the clouds are never flat black.
  Nebula(c, 2007, 0.0045f, {0x080C20, 0x18244A, 0x3A4A80, 0x8090C0}, 0.45f,
         [](float, float) { return 0.8f; });
  StarField(c, 2004, 9000, 0.008f);
  // A ringless blue world at the start and a small red moon near the end.
  Planet(c, {180, 4720}, 260, {0x0A2A60, 0x1A5AA0, 0x4A9AD0, 0xD0F0FF, 0x2A6A9A}, 0x60B0FF, 2005);
  Planet(c, {720, 420}, 70, {0x501808, 0xA04020, 0xD08050, 0x702810}, 0xFF9060, 2006);
  // A distant spiral galaxy in the middle stretch.
  const Vec g{640, 2500};
  for (int y = 2300; y < 2700; ++y)
    for (int x = 440; x < 840; ++x) {
      const float dx = (x - g.x) / 170.0f, dy = (y - g.y) / 70.0f;
      const float d = std::sqrt(dx * dx + dy * dy);
      if (d > 1.2f) continue;
      const float a = std::atan2(dy, dx);
      const float arm = 0.5f + 0.5f * std::sin(2 * a - d * 9);
      const float v = Clamp01(1 - d) * (0.3f + 0.7f * arm) + std::exp(-d * d * 40) * 1.2f;
      c.AddLight(x, y, Mix(Hex(0x6080FF), Hex(0xFFE8C0), Clamp01(1 - d * 1.5f)), v * 0.55f);
    }
  return c;
}

Canvas PaintStage1Near() {
  Canvas c(900, 7500);
  Rng rng(2010);
  // Asteroids drift mostly along the edges; density rises toward the top of the stage, where
  // the belt thickens before the boss, and the centre stays open for play.
  for (int i = 0; i < 150; ++i) {
    const float y = rng.Range(0, 7500);
    const float density = 0.35f + 0.65f * (1 - y / 7500.0f);
    if (!rng.Chance(density)) continue;
    const bool edge = rng.Chance(0.75f);
    const float x =
        edge ? (rng.Chance(0.5f) ? rng.Range(-30, 170) : rng.Range(730, 930)) : rng.Range(200, 700);
    const float r = edge ? rng.Range(14, 70) : rng.Range(8, 26);
    const float tone = rng.Unit();
    const Rgba col = tone < 0.4f ? Hex(0x8A7A6A) : (tone < 0.7f ? Hex(0x7A7470) : Hex(0x8A6A52));
    Asteroid(c, {x, y}, r, static_cast<uint32_t>(2011 + i), col);
  }
  // Wreckage: torn hull plates, some tumbling near the middle.
  for (int i = 0; i < 28; ++i) {
    const float y = rng.Range(200, 7400);
    const float x = rng.Chance(0.5f) ? rng.Range(40, 300) : rng.Range(600, 860);
    Wreck(c, {x, y}, i % 4 == 0 ? rng.Range(28, 44) : rng.Range(10, 24), rng.Range(0, kPi),
          static_cast<uint32_t>(2100 + i));
  }
  // Small debris: rock chips and metal splinters.
  for (int i = 0; i < 500; ++i) {
    const Vec p{rng.Range(0, 900), rng.Range(0, 7500)};
    if (rng.Chance(0.5f)) {
      const float r = rng.Range(1.5f, 3.5f);
      c.Circle(p, r + 1, Hex(0x0C0A0C));
      c.Circle(p, r, Shade(Hex(0x7A7068), rng.Range(0.7f, 1.2f)));
    } else {
      const float a = rng.Range(0, kPi), l = rng.Range(3, 8);
      const Vec d{std::cos(a) * l, std::sin(a) * l};
      c.Line(p - d * 0.5f, p + d * 0.5f, 3.0f, Hex(0x0C0A0C));
      c.Line(p - d * 0.5f, p + d * 0.5f, 1.4f, Hex(0x9AA0AA));
    }
  }
  return c;
}

Canvas PaintStage2Far() {
  Canvas c(900, 3500);
  for (int y = 0; y < 3500; ++y)
    for (int x = 0; x < 900; ++x) {
      const float n = Fbm(x * 0.004f, y * 0.004f, 2020, 3);
      c.At(x, y) = Mix(Hex(0x120406), Hex(0x1E0A06), n);
    }
  Nebula(c, 2021, 0.0026f, {0x200604, 0x8A2A0A, 0xFF8A30, 0xFFF0B0}, 0.6f, [](float x, float y) {
    const float centreX = 450 - 300 * std::sin(y * 0.0016f + 1);
    return Clamp01(1.3f - std::fabs(x - centreX) / 450);
  });
  Nebula(c, 2022, 0.004f, {0x0A1420, 0x1A4050, 0x50A0A0, 0xD0FFF0}, 0.5f,
         [](float x, float) { return Clamp01((x - 500) / 400); });
  StarField(c, 2023, 6500, 0.01f);
  // A ringed gas giant at the start, seen low over the stage.
  Planet(c, {660, 3200}, 300, {0x6A3010, 0xC07030, 0xF0C080, 0xA05020, 0xE0A060}, 0xFFC080, 2024);
  for (int y = 2800; y < 3500; ++y)
    for (int x = 0; x < 900; ++x) {
      const float dx = (x - 660) / 520.0f, dy = (y - 3200) / 120.0f;
      const float d = std::sqrt(dx * dx + dy * dy);
      if (d < 0.62f || d > 1.0f) continue;
      const bool behind = y < 3200 && (x - 660) * (x - 660) + (y - 3200) * (y - 3200) < 300 * 300;
      if (behind) continue;
      const float bands = 0.5f + 0.5f * std::sin(d * 90);
      c.Blend(x, y, Mix(Hex(0x8A6040), Hex(0xF0D0A0), bands),
              0.55f * Smooth(0.62f, 0.7f, d) * (1 - Smooth(0.95f, 1.0f, d)));
    }
  Planet(c, {160, 500}, 90, {0x102040, 0x305080, 0x80A0C0, 0x203050}, 0x90C0FF, 2025);
  return c;
}

namespace {

// A lattice tower with modules, solar wings and a beacon, rising from the bottom edge or
// hanging from the top; its open bracing lets the far layer show through.
void Tower(Canvas& c, float x0, float width, float length, bool fromTop, Rng& rng, int index) {
  const float x1 = x0 + width;
  const float base = fromTop ? -4.0f : 604.0f, tip = fromTop ? length : 604 - length;
  const float top = std::min(base, tip), bottom = std::max(base, tip);
  const Rgba steel = Hex(0x5A6478), dark = Hex(0x0A0A0E);
  // Rails and bracing.
  for (float rx : {x0 + 2, x1 - 2}) {
    c.Line({rx, top}, {rx, bottom}, 5, dark);
    c.Line({rx, top}, {rx, bottom}, 3, steel);
  }
  for (float y = top + 4; y < bottom - 4; y += 20) {
    c.Line({x0 + 2, y}, {x1 - 2, y + 20}, 3.2f, dark);
    c.Line({x1 - 2, y}, {x0 + 2, y + 20}, 3.2f, dark);
    c.Line({x0 + 2, y}, {x1 - 2, y + 20}, 1.5f, Hex(0x3A4252));
    c.Line({x1 - 2, y}, {x0 + 2, y + 20}, 1.5f, Hex(0x3A4252));
    c.Line({x0 + 2, y}, {x1 - 2, y}, 2.0f, steel);
  }
  // Modules along the tower.
  const int modules = 1 + rng.Int(0, 2);
  for (int m = 0; m < modules; ++m) {
    const float along = rng.Range(0.15f, 0.8f) * length;
    const float my = fromTop ? along : 604 - along;
    const float mw = width + rng.Range(10, 30), mh = rng.Range(22, 40);
    const float cx = (x0 + x1) / 2;
    const std::vector<Vec> box{{cx - mw / 2, my - mh / 2},
                               {cx + mw / 2, my - mh / 2},
                               {cx + mw / 2, my + mh / 2},
                               {cx - mw / 2, my + mh / 2}};
    Hull(c, box, Hex(0x6A7488), 1.5f);
    for (float wy = my - mh / 2 + 6; wy < my + mh / 2 - 5; wy += 8)
      for (float wx = cx - mw / 2 + 5; wx < cx + mw / 2 - 6; wx += 7)
        if (rng.Chance(0.6f))
          c.Rect(wx, wy, wx + 4, wy + 3, Hex(rng.Chance(0.8f) ? 0xFFD890 : 0x80E0FF));
    if (m == 0 && rng.Chance(0.55f)) {
      // Solar wings.
      for (int side : {-1, 1}) {
        const float px0 = side < 0 ? cx - mw / 2 - 70 : cx + mw / 2 + 4, px1 = px0 + 66;
        c.Rect(side < 0 ? px1 : cx + mw / 2, my - 1.5f, side < 0 ? cx - mw / 2 : px0, my + 1.5f,
               steel);
        c.Rect(px0 - 1, my - 13, px1 + 1, my + 13, dark);
        c.FillSdf(
            {static_cast<int>(px0), static_cast<int>(my - 12), static_cast<int>(px1) + 1,
             static_cast<int>(my + 13)},
            [&](Vec p) {
              return SdBox(p, {(px0 + px1) / 2, my}, {33, 12});
            },
            [&](Vec p) {
              const bool line = std::fmod(p.x - px0, 11.0f) < 1.0f || std::fabs(p.y - my) < 0.6f;
              return line ? Hex(0x8A94A8)
                          : Mix(Hex(0x2A4AA0), Hex(0x10204A), Clamp01((p.y - my + 12) / 24));
            });
      }
    }
  }
  // Antenna and beacon at the tip.
  const float cx = (x0 + x1) / 2;
  const float antenna = rng.Range(14, 30);
  const Vec end{cx, fromTop ? tip + antenna : tip - antenna};
  c.Line({cx, tip}, end, 3, dark);
  c.Line({cx, tip}, end, 1.4f, Hex(0x9AA4B8));
  const uint32_t beacon = index % 3 == 0 ? 0xFF4030 : 0x40E0FF;
  c.Glow(end, 12, Hex(beacon), 0.7f);
  c.Circle(end, 2.8f, Hex(beacon));
}

// A great half-wheel hub at an edge: rim, spokes and a glowing core.
void Hub(Canvas& c, Vec centre, float radius) {
  c.FillSdf(
      {static_cast<int>(centre.x - radius) - 4, static_cast<int>(centre.y - radius) - 4,
       static_cast<int>(centre.x + radius) + 5, static_cast<int>(centre.y + radius) + 5},
      [&](Vec p) { return std::fabs(SdCircle(p, centre, radius)) - 11; }, Hex(0x0A0A0E));
  c.FillSdf(
      {static_cast<int>(centre.x - radius) - 4, static_cast<int>(centre.y - radius) - 4,
       static_cast<int>(centre.x + radius) + 5, static_cast<int>(centre.y + radius) + 5},
      [&](Vec p) { return std::fabs(SdCircle(p, centre, radius)) - 9.5f; },
      [&](Vec p) {
        const float a = std::atan2(p.y - centre.y, p.x - centre.x);
        const bool seam = std::fmod(a * radius / 24 + 100, 1.0f) < 0.08f;
        const float lit =
            Clamp01(0.5f - (p.y - centre.y) / radius * 0.5f - (p.x - centre.x) / radius * 0.3f);
        return seam ? Hex(0x20242C) : Shade(Hex(0x7A8498), 0.6f + 0.6f * lit);
      });
  for (int i = 0; i < 16; ++i) {
    const float a = i * kPi / 8 + 0.2f;
    const Vec d{std::cos(a), std::sin(a)};
    if (i % 2 == 0) {
      const Vec w = centre + d * (radius - 2);
      c.Circle(w, 2.0f, Hex(0xFFE0A0));
    }
    c.Line(centre + d * 30, centre + d * (radius - 9), 5, Hex(0x0A0A0E));
    c.Line(centre + d * 30, centre + d * (radius - 9), 3, Hex(0x4A5466));
  }
  c.Circle(centre, 34, Hex(0x0A0A0E));
  c.Circle(centre, 32, Hex(0x5A6478));
  c.Circle(centre, 20, Hex(0x1A3040));
  c.Circle(centre, 14, Hex(0x60E8FF));
  c.Glow(centre, 60, Hex(0x40C0FF), 0.6f);
}

}  // namespace

Canvas PaintStage2Near() {
  Canvas c(5000, 600);
  Rng rng(2030);
  // Orbital scaffolding seen scrolling past: towers rise from below and hang from above,
  // four great hubs stand out as landmarks, and the middle band stays open for the fight.
  const float hubs[] = {700, 1900, 3150, 4400};
  for (int i = 0; i < 4; ++i) Hub(c, {hubs[i], i % 2 ? -30.0f : 630.0f}, 150);
  float x = 40;
  int n = 0;
  while (x < 4960) {
    const bool fromTop = (n % 2) == 1;
    const float w = rng.Range(22, 40), len = rng.Range(80, 180);
    bool nearHub = false;
    for (int i = 0; i < 4; ++i)
      if (std::fabs(x - hubs[i]) < 230 && (i % 2 == 1) == fromTop) nearHub = true;
    if (!nearHub) Tower(c, x, w, len, fromTop, rng, n);
    x += w + rng.Range(110, 260);
    ++n;
  }
  // Drifting wreckage in the open band.
  for (int i = 0; i < 16; ++i) {
    const Vec p{rng.Range(200, 4800), rng.Range(220, 380)};
    Wreck(c, p, rng.Range(8, 16), rng.Range(0, kPi), static_cast<uint32_t>(2040 + i));
  }
  return c;
}

}  // namespace skyrift::forge
