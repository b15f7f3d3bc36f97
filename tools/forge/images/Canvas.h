// The forge's drawing surface: premultiplied float RGBA with analytic anti-aliasing.
// Shapes are given as signed distance functions (negative inside), so every edge gets an
// exact one-pixel coverage ramp without supersampling.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace skyrift::forge {

// A premultiplied colour: r, g and b are already scaled by a.
struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};

inline Rgba operator*(Rgba c, float k) {
  return {c.r * k, c.g * k, c.b * k, c.a * k};
}
inline Rgba operator+(Rgba x, Rgba y) {
  return {x.r + y.r, x.g + y.g, x.b + y.b, x.a + y.a};
}

// An opaque colour from 0xRRGGBB, optionally with an alpha.
inline Rgba Hex(uint32_t rgb, float alpha = 1.0f) {
  const float r = ((rgb >> 16) & 0xFF) / 255.0f, g = ((rgb >> 8) & 0xFF) / 255.0f,
              b = (rgb & 0xFF) / 255.0f;
  return {r * alpha, g * alpha, b * alpha, alpha};
}
inline Rgba Rgb(float r, float g, float b, float a = 1.0f) {
  return {r * a, g * a, b * a, a};
}
// Linear mix of two colours (t = 0 gives x).
inline Rgba Mix(Rgba x, Rgba y, float t) {
  return x * (1 - t) + y * t;
}
// Scales the colour channels (not alpha): k < 1 darkens, k > 1 brightens.
inline Rgba Shade(Rgba c, float k) {
  return {c.r * k, c.g * k, c.b * k, c.a};
}

inline float Clamp01(float v) {
  return v < 0 ? 0 : (v > 1 ? 1 : v);
}
inline float Smooth(float e0, float e1, float x) {
  const float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

struct Vec {
  float x = 0, y = 0;
};
inline Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, float k) {
  return {a.x * k, a.y * k};
}
inline float Dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y;
}
inline float Length(Vec a) {
  return std::sqrt(a.x * a.x + a.y * a.y);
}

// The project's own generator (xorshift-style with a splitmix seed), so the art never
// depends on the C library's rand and the same seed gives the same picture everywhere.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {
    Next();
  }
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  float Unit() { return static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24); }
  float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
  int Int(int lo, int hiInclusive) {
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hiInclusive - lo + 1));
  }
  bool Chance(float p) { return Unit() < p; }

 private:
  uint64_t state_;
};

// Smooth value noise in [0, 1] and its fractal sum; seeded, lattice hashed, no tables.
float ValueNoise(float x, float y, uint32_t seed);
float Fbm(float x, float y, uint32_t seed, int octaves, float lacunarity = 2.0f, float gain = 0.5f);

// Signed distances (negative inside) of the basic shapes.
float SdCircle(Vec p, Vec c, float r);
float SdEllipse(Vec p, Vec c, float rx, float ry);
float SdBox(Vec p, Vec c, Vec halfSize, float radius = 0);
float SdSegment(Vec p, Vec a, Vec b, float halfWidth);
float SdPolygon(Vec p, const std::vector<Vec>& poly);

struct Box {
  int x0, y0, x1, y1;  // x1, y1 exclusive
};

class Canvas {
 public:
  Canvas() = default;
  Canvas(int w, int h, Rgba fill = {}) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}

  // Drawing primitives take coordinates in units of 1/scale pixels, so a painter written
  // for a small sprite can draw the same figure large.
  void SetScale(float s) { s_ = s; }
  float Scale() const { return s_; }

  int Width() const { return w_; }
  int Height() const { return h_; }
  Rgba& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
  const Rgba& At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

  // Source-over blend of a premultiplied colour with a coverage.
  void Blend(int x, int y, Rgba c, float coverage = 1.0f) {
    if (!Inside(x, y) || coverage <= 0) return;
    Rgba& d = At(x, y);
    const Rgba s = c * coverage;
    const float k = 1 - s.a;
    d = {s.r + d.r * k, s.g + d.g * k, s.b + d.b * k, s.a + d.a * k};
  }
  // Additive light: brightens colour and makes the pixel as opaque as the light is strong.
  void AddLight(int x, int y, Rgba c, float amount) {
    if (!Inside(x, y) || amount <= 0) return;
    Rgba& d = At(x, y);
    d.r += c.r * amount;
    d.g += c.g * amount;
    d.b += c.b * amount;
    d.a = std::min(1.0f, d.a + c.a * amount);
  }

  Box Clip(Box b) const {
    return {std::max(0, b.x0), std::max(0, b.y0), std::min(w_, b.x1), std::min(h_, b.y1)};
  }

  // Pixels covered by a box given in drawing units.
  Box ToPixels(Box b) const {
    if (s_ == 1.0f) return Clip(b);
    return Clip({static_cast<int>(std::floor(b.x0 * s_)), static_cast<int>(std::floor(b.y0 * s_)),
                 static_cast<int>(std::ceil(b.x1 * s_)), static_cast<int>(std::ceil(b.y1 * s_))});
  }

  // Fills the shape given by sdf (drawing units, pixel centres) with paint(x, y) inside box.
  template <class Sdf, class Paint>
  void FillSdf(Box box, Sdf sdf, Paint paint) {
    box = ToPixels(box);
    const float inv = 1.0f / s_;
    for (int y = box.y0; y < box.y1; ++y)
      for (int x = box.x0; x < box.x1; ++x) {
        const Vec p{(x + 0.5f) * inv, (y + 0.5f) * inv};
        const float cov = Clamp01(0.5f - sdf(p) * s_);
        if (cov > 0) Blend(x, y, paint(p), cov);
      }
  }
  template <class Sdf>
  void FillSdf(Box box, Sdf sdf, Rgba colour) {
    FillSdf(box, sdf, [colour](Vec) { return colour; });
  }

  // Convenience shapes.
  void Circle(Vec c, float r, Rgba colour);
  void Ellipse(Vec c, float rx, float ry, Rgba colour);
  void Line(Vec a, Vec b, float width, Rgba colour);
  void Rect(float x0, float y0, float x1, float y1, Rgba colour);  // crisp-edged box
  void Polygon(const std::vector<Vec>& poly, Rgba colour);
  template <class Paint>
  void Polygon(const std::vector<Vec>& poly, Paint paint) {
    FillSdf(
        Bounds(poly, 2), [&](Vec p) { return SdPolygon(p, poly); }, paint);
  }
  // The polygon grown by width (a dark rim drawn first gives figures their outline).
  void PolygonOutline(const std::vector<Vec>& poly, float width, Rgba colour);
  // A soft additive radial light: falls off as (1 - d/r)^falloff.
  void Glow(Vec c, float r, Rgba colour, float intensity = 1.0f, float falloff = 2.0f);
  // Glow along a segment.
  void GlowLine(Vec a, Vec b, float r, Rgba colour, float intensity = 1.0f);

  // Copies another canvas over this one (source-over) at (dx, dy).
  void Draw(const Canvas& src, int dx, int dy);
  // A sub-rectangle as its own canvas.
  Canvas Crop(int x, int y, int w, int h) const;
  // Mirror left to right.
  Canvas MirrorX() const;

  static Box Bounds(const std::vector<Vec>& poly, int margin);

 private:
  int w_ = 0, h_ = 0;
  float s_ = 1.0f;
  std::vector<Rgba> px_;
};

// A single-channel coverage grid (text, masks for glows and outlines).
struct Mask {
  int w = 0, h = 0;
  std::vector<float> v;
  Mask() = default;
  Mask(int w_, int h_) : w(w_), h(h_), v(static_cast<size_t>(w_) * h_, 0.0f) {}
  float& At(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
  float At(int x, int y) const { return v[static_cast<size_t>(y) * w + x]; }
  float Get(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : At(x, y); }
};

// Three box blurs approximate a Gaussian of the given radius.
Mask Blur(const Mask& m, int radius);
// Grows a mask by a radius (round brush), keeping anti-aliased edges.
Mask Dilate(const Mask& m, float radius);
// Paints a mask onto a canvas at (dx, dy) with paint(x, y) (canvas coordinates).
template <class Paint>
void DrawMask(Canvas& c, const Mask& m, int dx, int dy, Paint paint, float opacity = 1.0f) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      const float a = m.At(x, y) * opacity;
      if (a > 0)
        c.Blend(x + dx, y + dy, paint(Vec{x + dx + 0.5f, y + dy + 0.5f}), std::min(1.0f, a));
    }
}
inline void DrawMask(Canvas& c, const Mask& m, int dx, int dy, Rgba colour, float opacity = 1.0f) {
  DrawMask(
      c, m, dx, dy, [colour](Vec) { return colour; }, opacity);
}
// Adds a mask as light (for glows).
void AddMask(Canvas& c, const Mask& m, int dx, int dy, Rgba colour, float intensity);

}  // namespace skyrift::forge
