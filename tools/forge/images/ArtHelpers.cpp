// Drawing helpers shared by the painters.
#include "images/Art.h"

namespace skyrift::forge {

Canvas Strip(int width, int height, int frames, int frameWidth,
             const std::function<void(Canvas&, int)>& paint) {
  Canvas out(width, height);
  for (int f = 0; f < frames; ++f) {
    Canvas frame(frameWidth, height);
    paint(frame, f);
    out.Draw(frame, f * frameWidth, 0);
  }
  return out;
}

void Hull(Canvas& c, const std::vector<Vec>& poly, Rgba base, float rim, float light) {
  const Box box = Canvas::Bounds(poly, 3);
  const float cx = (box.x0 + box.x1) * 0.5f, half = std::max(1.0f, (box.x1 - box.x0) * 0.5f);
  const float cy = (box.y0 + box.y1) * 0.5f, halfY = std::max(1.0f, (box.y1 - box.y0) * 0.5f);
  if (rim > 0) c.PolygonOutline(poly, rim, Hex(0x07060C));
  c.FillSdf(
      box, [&](Vec p) { return SdPolygon(p, poly); },
      [&](Vec p) {
        const float inside = -SdPolygon(p, poly);
        const float bevel = Smooth(0.0f, 3.5f, inside);
        const float side = (cx - p.x) / half * 0.22f + (cy - p.y) / halfY * 0.12f;
        float k = (0.55f + 0.45f * bevel) * (1.0f + side * light);
        // A bright lip just inside the upper-left edges.
        if (inside < 1.6f && (p.x < cx || p.y < cy)) k += 0.25f * light * (1.6f - inside) / 1.6f;
        // Fine grain keeps large hulls from looking like flat plastic.
        k *= 0.94f + 0.12f * ValueNoise(p.x * 0.6f, p.y * 0.6f, 7);
        return Shade(base, k);
      });
}

std::vector<Vec> MirrorPoly(const std::vector<Vec>& poly, float axis) {
  std::vector<Vec> out;
  for (auto it = poly.rbegin(); it != poly.rend(); ++it) out.push_back({2 * axis - it->x, it->y});
  return out;
}

void Canopy(Canvas& c, Vec centre, float rx, float ry, Rgba tint) {
  c.Ellipse(centre, rx + 1, ry + 1, Hex(0x06060A));
  c.FillSdf(
      {static_cast<int>(centre.x - rx) - 2, static_cast<int>(centre.y - ry) - 2,
       static_cast<int>(centre.x + rx) + 3, static_cast<int>(centre.y + ry) + 3},
      [&](Vec p) { return SdEllipse(p, centre, rx, ry); },
      [&](Vec p) {
        const float t = Clamp01((p.y - (centre.y - ry)) / (2 * ry));
        return Mix(Shade(tint, 1.25f), Shade(tint, 0.35f), t);
      });
  c.Ellipse({centre.x - rx * 0.35f, centre.y - ry * 0.35f}, rx * 0.28f, ry * 0.4f,
            Hex(0xFFFFFF, 0.75f));
}

void Flame(Canvas& c, Vec at, float width, float length, Rgba outer, Rgba inner, int dir) {
  const float h = width * 0.5f;
  const Box box{static_cast<int>(at.x - width) - 2,
                static_cast<int>(std::min(at.y, at.y + dir * length)) - 2,
                static_cast<int>(at.x + width) + 3,
                static_cast<int>(std::max(at.y, at.y + dir * length)) + 3};
  // A teardrop: full width at the nozzle, tapering to a point.
  auto sd = [&](Vec p, float scale) {
    const float t = Clamp01((p.y - at.y) * dir / (length * scale));
    const float r = h * scale * (1 - t * t) + 0.2f;
    const float along = (p.y - at.y) * dir;
    if (along < 0) return Length(p - at) - h * scale;
    if (along > length * scale) return Length(p - Vec{at.x, at.y + dir * length * scale});
    return std::fabs(p.x - at.x) - r;
  };
  c.FillSdf(
      box, [&](Vec p) { return sd(p, 1.0f); },
      [&](Vec p) {
        const float t = Clamp01((p.y - at.y) * dir / length);
        return outer * (1 - t * 0.6f);
      });
  c.FillSdf(
      box, [&](Vec p) { return sd(p, 0.55f); }, inner);
}

void Arc(Canvas& c, Vec a, Vec b, Rng& rng, Rgba colour, float jitter, int segments) {
  const Vec d = b - a;
  const float len = std::max(1e-3f, Length(d));
  const Vec n{-d.y / len, d.x / len};
  Vec prev = a;
  for (int i = 1; i <= segments; ++i) {
    const float t = static_cast<float>(i) / segments;
    Vec p = a + d * t;
    if (i < segments) p = p + n * rng.Range(-jitter, jitter);
    c.GlowLine(prev, p, 3.0f, colour, 0.55f);
    c.Line(prev, p, 1.0f, Mix(colour, Hex(0xFFFFFF), 0.7f));
    prev = p;
  }
}

}  // namespace skyrift::forge
