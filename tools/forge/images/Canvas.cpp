// Noise, distance functions and the canvas primitives.
#include "images/Canvas.h"

namespace skyrift::forge {

namespace {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed ^ 0x27D4EB2Fu;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h *= 0x9E3779B1u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  return h;
}

float Lattice(int32_t x, int32_t y, uint32_t seed) {
  return (Hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

}  // namespace

float ValueNoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
  ty = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
  const float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
  const float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, uint32_t seed, int octaves, float lacunarity, float gain) {
  float sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 1013u) * amp;
    norm += amp;
    amp *= gain;
    x *= lacunarity;
    y *= lacunarity;
  }
  return sum / norm;
}

float SdCircle(Vec p, Vec c, float r) {
  return Length(p - c) - r;
}

float SdEllipse(Vec p, Vec c, float rx, float ry) {
  const Vec q = p - c;
  const float k0 = std::sqrt((q.x * q.x) / (rx * rx) + (q.y * q.y) / (ry * ry));
  const float k1 = std::sqrt((q.x * q.x) / (rx * rx * rx * rx) + (q.y * q.y) / (ry * ry * ry * ry));
  if (k1 < 1e-6f) return -std::min(rx, ry);
  return k0 * (k0 - 1) / k1;
}

float SdBox(Vec p, Vec c, Vec half, float radius) {
  const float qx = std::fabs(p.x - c.x) - half.x + radius;
  const float qy = std::fabs(p.y - c.y) - half.y + radius;
  const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdSegment(Vec p, Vec a, Vec b, float halfWidth) {
  const Vec pa = p - a, ba = b - a;
  const float len2 = Dot(ba, ba);
  const float h = len2 > 0 ? Clamp01(Dot(pa, ba) / len2) : 0.0f;
  return Length(pa - ba * h) - halfWidth;
}

float SdPolygon(Vec p, const std::vector<Vec>& v) {
  const size_t n = v.size();
  float d = Dot(p - v[0], p - v[0]);
  float s = 1;
  for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
    const Vec e = v[j] - v[i], w = p - v[i];
    const float len2 = Dot(e, e);
    const Vec b = w - e * (len2 > 0 ? Clamp01(Dot(w, e) / len2) : 0.0f);
    d = std::min(d, Dot(b, b));
    const bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
  }
  return s * std::sqrt(d);
}

Box Canvas::Bounds(const std::vector<Vec>& poly, int margin) {
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
  for (const Vec& v : poly) {
    x0 = std::min(x0, v.x);
    y0 = std::min(y0, v.y);
    x1 = std::max(x1, v.x);
    y1 = std::max(y1, v.y);
  }
  return {static_cast<int>(std::floor(x0)) - margin, static_cast<int>(std::floor(y0)) - margin,
          static_cast<int>(std::ceil(x1)) + margin, static_cast<int>(std::ceil(y1)) + margin};
}

void Canvas::Circle(Vec c, float r, Rgba colour) {
  const Box b{static_cast<int>(c.x - r) - 2, static_cast<int>(c.y - r) - 2,
              static_cast<int>(c.x + r) + 3, static_cast<int>(c.y + r) + 3};
  FillSdf(
      b, [&](Vec p) { return SdCircle(p, c, r); }, colour);
}

void Canvas::Ellipse(Vec c, float rx, float ry, Rgba colour) {
  const Box b{static_cast<int>(c.x - rx) - 2, static_cast<int>(c.y - ry) - 2,
              static_cast<int>(c.x + rx) + 3, static_cast<int>(c.y + ry) + 3};
  FillSdf(
      b, [&](Vec p) { return SdEllipse(p, c, rx, ry); }, colour);
}

void Canvas::Line(Vec a, Vec b, float width, Rgba colour) {
  const float h = width * 0.5f;
  const Box box{
      static_cast<int>(std::min(a.x, b.x) - h) - 2, static_cast<int>(std::min(a.y, b.y) - h) - 2,
      static_cast<int>(std::max(a.x, b.x) + h) + 3, static_cast<int>(std::max(a.y, b.y) + h) + 3};
  FillSdf(
      box, [&](Vec p) { return SdSegment(p, a, b, h); }, colour);
}

void Canvas::Rect(float x0, float y0, float x1, float y1, Rgba colour) {
  const Vec c{(x0 + x1) * 0.5f, (y0 + y1) * 0.5f}, half{(x1 - x0) * 0.5f, (y1 - y0) * 0.5f};
  FillSdf(
      {static_cast<int>(x0) - 1, static_cast<int>(y0) - 1, static_cast<int>(x1) + 2,
       static_cast<int>(y1) + 2},
      [&](Vec p) { return SdBox(p, c, half); }, colour);
}

void Canvas::Polygon(const std::vector<Vec>& poly, Rgba colour) {
  FillSdf(
      Bounds(poly, 2), [&](Vec p) { return SdPolygon(p, poly); }, colour);
}

void Canvas::PolygonOutline(const std::vector<Vec>& poly, float width, Rgba colour) {
  FillSdf(
      Bounds(poly, static_cast<int>(width) + 2), [&](Vec p) { return SdPolygon(p, poly) - width; },
      colour);
}

void Canvas::Glow(Vec c, float r, Rgba colour, float intensity, float falloff) {
  const Box b = ToPixels({static_cast<int>(c.x - r) - 1, static_cast<int>(c.y - r) - 1,
                          static_cast<int>(c.x + r) + 2, static_cast<int>(c.y + r) + 2});
  const float inv = 1.0f / s_;
  for (int y = b.y0; y < b.y1; ++y)
    for (int x = b.x0; x < b.x1; ++x) {
      const float d = Length(Vec{(x + 0.5f) * inv, (y + 0.5f) * inv} - c) / r;
      if (d < 1) AddLight(x, y, colour, intensity * std::pow(1 - d, falloff));
    }
}

void Canvas::GlowLine(Vec a, Vec b, float r, Rgba colour, float intensity) {
  const Box box = ToPixels(
      {static_cast<int>(std::min(a.x, b.x) - r) - 1, static_cast<int>(std::min(a.y, b.y) - r) - 1,
       static_cast<int>(std::max(a.x, b.x) + r) + 2, static_cast<int>(std::max(a.y, b.y) + r) + 2});
  const float inv = 1.0f / s_;
  for (int y = box.y0; y < box.y1; ++y)
    for (int x = box.x0; x < box.x1; ++x) {
      const float d = (SdSegment(Vec{(x + 0.5f) * inv, (y + 0.5f) * inv}, a, b, 0) / r);
      if (d < 1) AddLight(x, y, colour, intensity * (1 - d) * (1 - d));
    }
}

void Canvas::Draw(const Canvas& src, int dx, int dy) {
  for (int y = 0; y < src.h_; ++y)
    for (int x = 0; x < src.w_; ++x) {
      const Rgba& s = src.At(x, y);
      if (s.a > 0) Blend(x + dx, y + dy, s);
    }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const {
  Canvas out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (Inside(x + i, y + j)) out.At(i, j) = At(x + i, y + j);
  return out;
}

Canvas Canvas::MirrorX() const {
  Canvas out(w_, h_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) out.At(w_ - 1 - x, y) = At(x, y);
  return out;
}

namespace {

void BoxBlurH(const Mask& in, Mask& out, int r) {
  const float inv = 1.0f / (2 * r + 1);
  for (int y = 0; y < in.h; ++y) {
    float sum = 0;
    for (int x = -r; x <= r; ++x) sum += in.Get(x, y);
    for (int x = 0; x < in.w; ++x) {
      out.At(x, y) = sum * inv;
      sum += in.Get(x + r + 1, y) - in.Get(x - r, y);
    }
  }
}

void BoxBlurV(const Mask& in, Mask& out, int r) {
  const float inv = 1.0f / (2 * r + 1);
  for (int x = 0; x < in.w; ++x) {
    float sum = 0;
    for (int y = -r; y <= r; ++y) sum += in.Get(x, y);
    for (int y = 0; y < in.h; ++y) {
      out.At(x, y) = sum * inv;
      sum += in.Get(x, y + r + 1) - in.Get(x, y - r);
    }
  }
}

}  // namespace

Mask Blur(const Mask& m, int radius) {
  if (radius <= 0) return m;
  const int r = std::max(1, radius / 2);
  Mask a = m, b(m.w, m.h);
  for (int i = 0; i < 3; ++i) {
    BoxBlurH(a, b, r);
    BoxBlurV(b, a, r);
  }
  return a;
}

Mask Dilate(const Mask& m, float radius) {
  Mask out(m.w, m.h);
  const int r = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      float best = 0;
      for (int j = -r; j <= r && best < 1; ++j)
        for (int i = -r; i <= r; ++i) {
          const float v = m.Get(x + i, y + j);
          if (v <= best) continue;
          const float d = std::sqrt(static_cast<float>(i * i + j * j));
          const float w = Clamp01(radius + 0.5f - d);
          best = std::max(best, v * w);
        }
      out.At(x, y) = best;
    }
  return out;
}

void AddMask(Canvas& c, const Mask& m, int dx, int dy, Rgba colour, float intensity) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      const float a = m.At(x, y) * intensity;
      if (a > 0) c.AddLight(x + dx, y + dy, colour, a);
    }
}

}  // namespace skyrift::forge
