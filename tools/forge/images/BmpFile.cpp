// Little-endian writers and a strict reader for the bitmap and icon formats.
#include "images/BmpFile.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace skyrift::forge {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
uint32_t Get16(const std::vector<uint8_t>& in, size_t at) {
  return in[at] | static_cast<uint32_t>(in[at + 1]) << 8;
}
uint32_t Get32(const std::vector<uint8_t>& in, size_t at) {
  return Get16(in, at) | Get16(in, at + 2) << 16;
}

uint32_t RowBytes(int width, int bpp) {
  return ((static_cast<uint32_t>(width) * bpp + 31) / 32) * 4;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Indexed& image, const BmpQuirks& quirks) {
  const uint32_t colours = 1u << image.bpp;
  const uint32_t stride = RowBytes(image.width, image.bpp);
  const uint32_t pixelBytes =
      stride * static_cast<uint32_t>(image.height) + static_cast<uint32_t>(quirks.extraBytes);
  const uint32_t offset = 14 + 40 + 4 * colours;
  std::vector<uint8_t> out;
  out.reserve(offset + pixelBytes);
  // File header.
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + pixelBytes);
  Put32(out, 0);
  Put32(out, offset);
  // Information header.
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.height));  // positive: bottom-up rows
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(image.bpp));
  Put32(out, 0);  // uncompressed
  Put32(out, pixelBytes);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, quirks.coloursUsedZero ? 0 : colours);
  Put32(out, 0);
  for (uint32_t i = 0; i < colours; ++i) {
    const uint32_t rgb = i < image.palette.size() ? image.palette[i] : 0;
    out.push_back(static_cast<uint8_t>(rgb));
    out.push_back(static_cast<uint8_t>(rgb >> 8));
    out.push_back(static_cast<uint8_t>(rgb >> 16));
    out.push_back(0);
  }
  for (int y = image.height - 1; y >= 0; --y) {
    const size_t rowStart = out.size();
    const uint8_t* row = &image.index[static_cast<size_t>(y) * image.width];
    if (image.bpp == 8) {
      out.insert(out.end(), row, row + image.width);
    } else {
      for (int x = 0; x < image.width; x += 2) {
        const uint8_t hi = row[x] & 0x0F, lo = x + 1 < image.width ? (row[x + 1] & 0x0F) : 0;
        out.push_back(static_cast<uint8_t>(hi << 4 | lo));
      }
    }
    out.resize(rowStart + stride, 0);
  }
  out.resize(out.size() + static_cast<size_t>(quirks.extraBytes), 0);
  return out;
}

bool DecodeBmp(const std::vector<uint8_t>& in, Indexed& image) {
  image = Indexed{};
  if (in.size() < 54 || in[0] != 'B' || in[1] != 'M') return false;
  const uint32_t offset = Get32(in, 10), headerSize = Get32(in, 14);
  const int32_t width = static_cast<int32_t>(Get32(in, 18)),
                height = static_cast<int32_t>(Get32(in, 22));
  const uint32_t bpp = Get16(in, 28), compression = Get32(in, 30);
  uint32_t colours = Get32(in, 46);
  if (headerSize < 40 || (bpp != 8 && bpp != 4) || compression != 0) return false;
  if (width <= 0 || height <= 0 || width > 20000 || height > 20000) return false;
  if (colours == 0) colours = 1u << bpp;
  if (colours > (1u << bpp)) return false;
  const size_t table = 14 + static_cast<size_t>(headerSize);
  const uint32_t stride = RowBytes(width, static_cast<int>(bpp));
  if (table + 4ull * colours > in.size() ||
      offset + static_cast<uint64_t>(stride) * height > in.size())
    return false;
  Indexed out;
  out.width = width;
  out.height = height;
  out.bpp = static_cast<int>(bpp);
  out.palette.assign(1u << bpp, 0);
  for (uint32_t i = 0; i < colours; ++i)
    out.palette[i] = static_cast<uint32_t>(in[table + 4 * i + 2]) << 16 |
                     static_cast<uint32_t>(in[table + 4 * i + 1]) << 8 | in[table + 4 * i];
  out.index.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = &in[offset + static_cast<size_t>(height - 1 - y) * stride];
    for (int x = 0; x < width; ++x)
      out.index[static_cast<size_t>(y) * width + x] =
          bpp == 8 ? row[x] : ((row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F);
  }
  image = std::move(out);
  return true;
}

std::vector<uint8_t> EncodeIco(const std::vector<Canvas>& sizes) {
  std::vector<std::vector<uint8_t>> entries;
  for (const Canvas& c : sizes) {
    const int n = c.Width();
    std::vector<uint8_t> e;
    Put32(e, 40);
    Put32(e, static_cast<uint32_t>(n));
    Put32(e, static_cast<uint32_t>(n * 2));  // colour rows plus the mask rows
    Put16(e, 1);
    Put16(e, 32);
    Put32(e, 0);
    Put32(e, 0);
    Put32(e, 0);
    Put32(e, 0);
    Put32(e, 0);
    Put32(e, 0);
    for (int y = n - 1; y >= 0; --y)
      for (int x = 0; x < n; ++x) {
        const Rgba& p = c.At(x, y);
        const float a = Clamp01(p.a);
        auto channel = [a](float v) {
          return static_cast<uint8_t>(
              std::lround(std::clamp(a > 0 ? v / a : 0.0f, 0.0f, 1.0f) * 255));
        };
        e.push_back(channel(p.b));
        e.push_back(channel(p.g));
        e.push_back(channel(p.r));
        e.push_back(static_cast<uint8_t>(std::lround(a * 255)));
      }
    // The 1-bit mask: set where the icon is fully transparent, for readers that ignore alpha.
    const uint32_t maskStride = RowBytes(n, 1);
    for (int y = n - 1; y >= 0; --y) {
      std::vector<uint8_t> row(maskStride, 0);
      for (int x = 0; x < n; ++x)
        if (c.At(x, y).a < 0.5f / 255) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      e.insert(e.end(), row.begin(), row.end());
    }
    entries.push_back(std::move(e));
  }
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, static_cast<uint32_t>(sizes.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    const int n = sizes[i].Width();
    out.push_back(static_cast<uint8_t>(n >= 256 ? 0 : n));
    out.push_back(static_cast<uint8_t>(n >= 256 ? 0 : n));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(entries[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(entries[i].size());
  }
  for (const auto& e : entries) out.insert(out.end(), e.begin(), e.end());
  return out;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) return false;
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return !f.bad();
}

}  // namespace skyrift::forge
