// Median-cut palette with a few k-means passes, then nearest-colour mapping through a cache.
#include "images/Palette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace skyrift::forge {

namespace {

struct Bin {
  double r = 0, g = 0, b = 0;  // sums of 8-bit channel values
  double n = 0;
};

struct Colour {
  float r, g, b;
};

// Weighted squared distance: the eye is most sensitive to green, least to blue.
inline float Distance(const Colour& a, const Colour& b) {
  const float dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

struct CutBox {
  std::vector<int> bins;  // indices of non-empty histogram bins
  double sse = 0;
  int axis = 0;
};

Colour Mean(const std::vector<Bin>& hist, const std::vector<int>& bins) {
  double r = 0, g = 0, b = 0, n = 0;
  for (int i : bins) {
    r += hist[i].r;
    g += hist[i].g;
    b += hist[i].b;
    n += hist[i].n;
  }
  if (n <= 0) return {0, 0, 0};
  return {static_cast<float>(r / n), static_cast<float>(g / n), static_cast<float>(b / n)};
}

void Measure(const std::vector<Bin>& hist, CutBox& box) {
  const Colour m = Mean(hist, box.bins);
  double var[3] = {0, 0, 0};
  for (int i : box.bins) {
    const Bin& h = hist[i];
    const double c[3] = {h.r / h.n - m.r, h.g / h.n - m.g, h.b / h.n - m.b};
    for (int k = 0; k < 3; ++k) var[k] += c[k] * c[k] * h.n;
  }
  var[0] *= 3;
  var[1] *= 4;
  var[2] *= 2;
  box.sse = var[0] + var[1] + var[2];
  box.axis = var[0] >= var[1] && var[0] >= var[2] ? 0 : (var[1] >= var[2] ? 1 : 2);
  if (box.bins.size() < 2) box.sse = 0;
}

std::vector<Colour> MedianCut(const std::vector<Bin>& hist, int wanted) {
  std::vector<CutBox> boxes(1);
  for (int i = 0; i < static_cast<int>(hist.size()); ++i)
    if (hist[i].n > 0) boxes[0].bins.push_back(i);
  if (boxes[0].bins.empty()) return {};
  Measure(hist, boxes[0]);
  while (static_cast<int>(boxes.size()) < wanted) {
    auto it = std::max_element(boxes.begin(), boxes.end(),
                               [](const CutBox& a, const CutBox& b) { return a.sse < b.sse; });
    if (it->sse <= 0) break;
    CutBox& box = *it;
    const int axis = box.axis;
    auto channel = [&](int i) {
      const Bin& h = hist[i];
      return axis == 0 ? h.r / h.n : (axis == 1 ? h.g / h.n : h.b / h.n);
    };
    std::stable_sort(box.bins.begin(), box.bins.end(),
                     [&](int a, int b) { return channel(a) < channel(b); });
    double total = 0;
    for (int i : box.bins) total += hist[i].n;
    double acc = 0;
    size_t cut = 1;
    for (size_t k = 0; k + 1 < box.bins.size(); ++k) {
      acc += hist[box.bins[k]].n;
      cut = k + 1;
      if (acc >= total / 2) break;
    }
    CutBox upper;
    upper.bins.assign(box.bins.begin() + static_cast<long>(cut), box.bins.end());
    box.bins.resize(cut);
    Measure(hist, box);
    Measure(hist, upper);
    boxes.push_back(std::move(upper));
  }
  std::vector<Colour> out;
  for (const CutBox& b : boxes) out.push_back(Mean(hist, b.bins));
  return out;
}

// A few Lloyd passes over the histogram bins pull the median-cut colours to their clusters'
// centres.
void Refine(const std::vector<Bin>& hist, std::vector<Colour>& palette, int passes) {
  std::vector<int> used;
  for (int i = 0; i < static_cast<int>(hist.size()); ++i)
    if (hist[i].n > 0) used.push_back(i);
  for (int pass = 0; pass < passes; ++pass) {
    std::vector<Bin> acc(palette.size());
    for (int i : used) {
      const Bin& h = hist[i];
      const Colour c{static_cast<float>(h.r / h.n), static_cast<float>(h.g / h.n),
                     static_cast<float>(h.b / h.n)};
      size_t best = 0;
      float bestD = 1e30f;
      for (size_t k = 0; k < palette.size(); ++k) {
        const float d = Distance(c, palette[k]);
        if (d < bestD) {
          bestD = d;
          best = k;
        }
      }
      acc[best].r += h.r;
      acc[best].g += h.g;
      acc[best].b += h.b;
      acc[best].n += h.n;
    }
    for (size_t k = 0; k < palette.size(); ++k)
      if (acc[k].n > 0)
        palette[k] = {static_cast<float>(acc[k].r / acc[k].n),
                      static_cast<float>(acc[k].g / acc[k].n),
                      static_cast<float>(acc[k].b / acc[k].n)};
  }
}

uint8_t ToByte(float v) {
  return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

constexpr std::array<float, 16> kBayer = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

}  // namespace

Indexed Quantise(const Canvas& canvas, const QuantiseOptions& options) {
  const int w = canvas.Width(), h = canvas.Height();
  const int slots = 1 << options.bpp;
  const bool keyed = options.ground == Ground::Magenta;
  const float er = ((options.edge >> 16) & 0xFF), eg = ((options.edge >> 8) & 0xFF),
              eb = (options.edge & 0xFF);

  // Flatten: opaque images lie on black; keyed figures lie on their dark edge colour.
  std::vector<Colour> flat(static_cast<size_t>(w) * h);
  std::vector<uint8_t> ground(static_cast<size_t>(w) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgba& p = canvas.At(x, y);
      const size_t i = static_cast<size_t>(y) * w + x;
      if (keyed && p.a < options.alphaCut) {
        ground[i] = 1;
        continue;
      }
      const float k = keyed ? 1 - Clamp01(p.a) : 0.0f;
      flat[i] = {std::clamp(p.r * 255 + er * k, 0.0f, 255.0f),
                 std::clamp(p.g * 255 + eg * k, 0.0f, 255.0f),
                 std::clamp(p.b * 255 + eb * k, 0.0f, 255.0f)};
    }

  std::vector<Bin> hist(32768);
  for (size_t i = 0; i < flat.size(); ++i) {
    if (ground[i]) continue;
    const Colour& c = flat[i];
    const int key = (static_cast<int>(c.r) >> 3) << 10 | (static_cast<int>(c.g) >> 3) << 5 |
                    (static_cast<int>(c.b) >> 3);
    hist[key].r += c.r;
    hist[key].g += c.g;
    hist[key].b += c.b;
    hist[key].n += 1;
  }
  const int figureSlots = keyed ? slots - 1 : slots;
  std::vector<Colour> colours;
  if (static_cast<int>(options.palette.size()) == slots) {
    for (int k = keyed ? 1 : 0; k < slots; ++k) {
      const uint32_t rgb = options.palette[k];
      colours.push_back({static_cast<float>((rgb >> 16) & 0xFF),
                         static_cast<float>((rgb >> 8) & 0xFF), static_cast<float>(rgb & 0xFF)});
    }
  } else {
    colours = MedianCut(hist, figureSlots);
    Refine(hist, colours, 4);
  }

  Indexed out;
  out.width = w;
  out.height = h;
  out.bpp = options.bpp;
  out.palette.assign(static_cast<size_t>(slots), 0x000000);
  out.index.assign(static_cast<size_t>(w) * h, 0);
  // In keyed images entry 0 is the ground; figure colours follow and may never be magenta.
  const int first = keyed ? 1 : 0;
  if (keyed) out.palette[0] = kMagenta;
  std::vector<Colour> entries;
  for (size_t k = 0; k < colours.size(); ++k) {
    uint32_t rgb = static_cast<uint32_t>(ToByte(colours[k].r)) << 16 |
                   static_cast<uint32_t>(ToByte(colours[k].g)) << 8 | ToByte(colours[k].b);
    if (rgb == kMagenta) rgb = 0xFE00FE;
    out.palette[first + k] = rgb;
    entries.push_back({static_cast<float>((rgb >> 16) & 0xFF),
                       static_cast<float>((rgb >> 8) & 0xFF), static_cast<float>(rgb & 0xFF)});
  }
  if (entries.empty()) entries.push_back({0, 0, 0});  // a keyed image with no figure at all

  // Nearest entry per 6-bit cell, filled on first use.
  std::vector<int16_t> cache(1 << 18, -1);
  auto nearest = [&](const Colour& c) {
    const int cr = static_cast<int>(c.r) >> 2, cg = static_cast<int>(c.g) >> 2,
              cb = static_cast<int>(c.b) >> 2;
    const int key = cr << 12 | cg << 6 | cb;
    if (cache[key] < 0) {
      const Colour centre{cr * 4 + 1.5f, cg * 4 + 1.5f, cb * 4 + 1.5f};
      int best = 0;
      float bestD = 1e30f;
      for (size_t k = 0; k < entries.size(); ++k) {
        const float d = Distance(centre, entries[k]);
        if (d < bestD) {
          bestD = d;
          best = static_cast<int>(k);
        }
      }
      cache[key] = static_cast<int16_t>(best);
    }
    return cache[key];
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y) * w + x;
      if (ground[i]) continue;  // index 0, the magenta entry
      Colour c = flat[i];
      if (options.dither > 0) {
        const float d = (kBayer[(y & 3) * 4 + (x & 3)] / 16.0f - 0.47f) * options.dither;
        c = {std::clamp(c.r + d, 0.0f, 255.0f), std::clamp(c.g + d, 0.0f, 255.0f),
             std::clamp(c.b + d, 0.0f, 255.0f)};
      }
      out.index[i] = static_cast<uint8_t>(first + nearest(c));
    }
  return out;
}

}  // namespace skyrift::forge
