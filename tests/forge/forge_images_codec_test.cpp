// The forge's palette quantiser and its file writers, tested on small pictures made here:
// what the game's loader and the key colour depend on, and that compressed data inflates back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "images/BmpFile.h"
#include "images/Canvas.h"
#include "images/Palette.h"
#include "images/Png.h"

namespace {

using namespace skyrift::forge;

uint32_t Channel(uint32_t c, int shift) {
  return (c >> shift) & 0xFF;
}

TEST(ForgeQuantiser, KeyedFiguresNeverTakeTheGroundColour) {
  // Figure pixels close to magenta, and one painted exactly magenta, next to true ground.
  Canvas c(32, 16);
  const uint32_t nearMagenta[] = {0xFF00FF, 0xFE00FF, 0xFF00FA, 0xF00AF0, 0xFF20FF};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) c.At(x, y) = Hex(nearMagenta[(x + y) % 5]);
  QuantiseOptions options;
  options.ground = Ground::Magenta;
  const Indexed out = Quantise(c, options);
  ASSERT_EQ(out.palette.size(), 256u);
  EXPECT_EQ(std::count(out.palette.begin(), out.palette.end(), kMagenta), 1);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) EXPECT_NE(out.ColourAt(x, y), kMagenta) << x << "," << y;
    for (int x = 16; x < 32; ++x) EXPECT_EQ(out.ColourAt(x, y), kMagenta) << x << "," << y;
  }
}

TEST(ForgeQuantiser, PartlyCoveredEdgesBlendIntoTheOutlineNotTheGround) {
  Canvas c(4, 1);
  c.At(0, 0) = Hex(0xFFFFFF, 0.8f);  // kept, laid over the dark edge colour
  c.At(1, 0) = Hex(0xFFFFFF, 0.3f);  // below the cut: ground
  c.At(2, 0) = Hex(0x20C040, 1.0f);
  QuantiseOptions options;
  options.ground = Ground::Magenta;
  options.edge = 0x000000;
  const Indexed out = Quantise(c, options);
  const uint32_t edge = out.ColourAt(0, 0);
  EXPECT_NEAR(static_cast<int>(Channel(edge, 16)), 204, 2);
  EXPECT_NEAR(static_cast<int>(Channel(edge, 0)), 204, 2);
  EXPECT_EQ(out.ColourAt(1, 0), kMagenta);
  EXPECT_EQ(out.ColourAt(2, 0), 0x20C040u);
  EXPECT_EQ(out.ColourAt(3, 0), kMagenta);
  // A lower cut keeps the fainter pixel too.
  options.alphaCut = 0.2f;
  EXPECT_NE(Quantise(c, options).ColourAt(1, 0), kMagenta);
}

TEST(ForgeQuantiser, OpaquePicturesShowNoMagentaEvenWhenPaintedIt) {
  Canvas c(8, 8, Hex(0xFF00FF));
  const Indexed out = Quantise(c, {});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_NE(out.ColourAt(x, y), kMagenta);
  EXPECT_EQ(std::count(out.palette.begin(), out.palette.end(), kMagenta), 0);
}

TEST(ForgeQuantiser, KeepsFewColoursExactlyAndApproximatesMany) {
  // Five colours fit any palette and come back unchanged.
  const uint32_t five[] = {0x102030, 0xF0E0D0, 0x808080, 0x00FF00, 0x123456};
  Canvas few(10, 10);
  for (int i = 0; i < 100; ++i) few.At(i % 10, i / 10) = Hex(five[i % 5]);
  for (int bpp : {4, 8}) {
    QuantiseOptions options;
    options.bpp = bpp;
    const Indexed out = Quantise(few, options);
    ASSERT_EQ(out.palette.size(), 1u << bpp);
    for (int i = 0; i < 100; ++i)
      EXPECT_EQ(out.ColourAt(i % 10, i / 10), five[i % 5]) << "bpp " << bpp;
  }
  // A smooth ramp: 256 entries follow it closely, 16 still stay near it.
  Canvas ramp(256, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 256; ++x)
      ramp.At(x, y) = Rgb(x / 255.0f, 0.5f * x / 255.0f, 1 - x / 255.0f);
  for (int bpp : {4, 8}) {
    QuantiseOptions options;
    options.bpp = bpp;
    const Indexed out = Quantise(ramp, options);
    int worst = 0;
    for (int x = 0; x < 256; ++x) {
      const uint32_t c = out.ColourAt(x, 0);
      worst = std::max(worst, std::abs(static_cast<int>(Channel(c, 16)) - x));
      worst = std::max(worst, std::abs(static_cast<int>(Channel(c, 0)) - (255 - x)));
    }
    EXPECT_LE(worst, bpp == 8 ? 6 : 24) << "bpp " << bpp;
  }
}

Indexed Pattern(int width, int height, int bpp) {
  Indexed image;
  image.width = width;
  image.height = height;
  image.bpp = bpp;
  for (uint32_t i = 0; i < (1u << bpp); ++i)
    image.palette.push_back((i * 0x010203u + 0x400000u * (i & 1)) & 0xFFFFFFu);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.index.push_back(static_cast<uint8_t>((x * 7 + y * 3) % (1 << bpp)));
  return image;
}

TEST(ForgeBitmapFile, RoundTripsOddWidthsAtBothDepths) {
  // Odd widths exercise the 4-byte row padding and, at 4 bits, the half-filled last byte.
  for (const auto& [w, h, bpp] :
       {std::tuple{139, 82, 4}, std::tuple{37, 5, 8}, std::tuple{1, 1, 4}, std::tuple{3, 2, 8}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(bpp));
    const Indexed image = Pattern(w, h, bpp);
    const std::vector<uint8_t> bytes = EncodeBmp(image);
    const size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    EXPECT_EQ(bytes.size(), 54 + 4 * (1u << bpp) + stride * h);
    // Bottom-up: the first stored row is the image's last.
    const size_t first = 54 + 4 * (1u << bpp);
    const uint8_t lastRowFirst = image.index[static_cast<size_t>(h - 1) * w];
    EXPECT_EQ(bpp == 8 ? bytes[first] : bytes[first] >> 4, lastRowFirst);
    Indexed back;
    ASSERT_TRUE(DecodeBmp(bytes, back));
    EXPECT_EQ(back.width, w);
    EXPECT_EQ(back.height, h);
    EXPECT_EQ(back.palette, image.palette);
    EXPECT_EQ(back.index, image.index);
  }
}

TEST(ForgeBitmapFile, QuirksAndDamage) {
  const Indexed image = Pattern(10, 4, 8);
  // Two extra bytes counted in the image size, and a zero colours-used count.
  const std::vector<uint8_t> odd = EncodeBmp(image, {2, true});
  const std::vector<uint8_t> plain = EncodeBmp(image);
  ASSERT_EQ(odd.size(), plain.size() + 2);
  auto u32 = [](const std::vector<uint8_t>& b, size_t at) {
    return b[at] | static_cast<uint32_t>(b[at + 1]) << 8 | static_cast<uint32_t>(b[at + 2]) << 16 |
           static_cast<uint32_t>(b[at + 3]) << 24;
  };
  EXPECT_EQ(u32(odd, 34), u32(plain, 34) + 2);
  EXPECT_EQ(u32(odd, 2), odd.size());
  EXPECT_EQ(u32(odd, 46), 0u);
  EXPECT_EQ(u32(plain, 46), 256u);
  Indexed back;
  ASSERT_TRUE(DecodeBmp(odd, back));
  EXPECT_EQ(back.index, image.index);
  // Damaged files are refused, leaving an empty image.
  std::vector<uint8_t> truncated(plain.begin(), plain.end() - 5);
  EXPECT_FALSE(DecodeBmp(truncated, back));
  EXPECT_EQ(back.width, 0);
  std::vector<uint8_t> wrongMagic = plain;
  wrongMagic[0] = 'X';
  EXPECT_FALSE(DecodeBmp(wrongMagic, back));
  std::vector<uint8_t> compressed = plain;
  compressed[30] = 1;
  EXPECT_FALSE(DecodeBmp(compressed, back));
  std::vector<uint8_t> tooManyColours = plain;
  tooManyColours[47] = 2;  // 512 colours in an 8-bit table
  EXPECT_FALSE(DecodeBmp(tooManyColours, back));
}

TEST(ForgeIconFile, StoresStraightAlphaAndAMask) {
  Canvas big(32, 32), small(16, 16);
  big.At(0, 31) = Hex(0xFF0000, 0.5f);  // bottom-left: the first stored pixel
  small.At(3, 0) = Hex(0x00FF00);
  const std::vector<uint8_t> ico = EncodeIco({big, small});
  ASSERT_GE(ico.size(), 6u + 32);
  EXPECT_EQ(ico[2], 1);  // icon
  EXPECT_EQ(ico[4], 2);  // two entries
  EXPECT_EQ(ico[6], 32);
  EXPECT_EQ(ico[6 + 16], 16);
  const uint32_t offset =
      ico[18] | ico[19] << 8 | ico[20] << 16 | static_cast<uint32_t>(ico[21]) << 24;
  // The half-covered red pixel is stored un-premultiplied, BGRA.
  EXPECT_EQ(ico[offset + 40 + 0], 0);
  EXPECT_EQ(ico[offset + 40 + 2], 255);
  EXPECT_EQ(ico[offset + 40 + 3], 128);
  // Its mask bit is clear; the fully transparent pixel beside it has its bit set.
  const size_t mask = offset + 40 + 32 * 32 * 4;
  EXPECT_EQ(ico[mask] & 0x80, 0);
  EXPECT_EQ(ico[mask] & 0x40, 0x40);
}

// An independent decoder for what the compressor writes: zlib around deflate blocks
// (stored or fixed-Huffman).
bool Inflate(const std::vector<uint8_t>& z, std::vector<uint8_t>& out) {
  if (z.size() < 6 || (z[0] & 0x0F) != 8 || ((z[0] << 8) | z[1]) % 31 != 0) return false;
  size_t bit = 16;
  auto bits = [&](int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i, ++bit) {
      if (bit / 8 >= z.size()) throw std::out_of_range("past the end");
      v |= static_cast<uint32_t>((z[bit / 8] >> (bit % 8)) & 1) << i;
    }
    return v;
  };
  auto code = [&](int n) {  // Huffman codes arrive most significant bit first
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 1) | bits(1);
    return v;
  };
  static const int lengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                   31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static const int lengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  static const int distBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                 33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  static const int distExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                  6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
  try {
    bool last = false;
    while (!last) {
      last = bits(1);
      const uint32_t type = bits(2);
      if (type == 0) {
        bit = (bit + 7) / 8 * 8;
        const uint32_t len = bits(16);
        bits(16);
        for (uint32_t i = 0; i < len; ++i) out.push_back(static_cast<uint8_t>(bits(8)));
        continue;
      }
      if (type != 1) return false;
      for (;;) {
        uint32_t sym = code(7);
        if (sym <= 23)
          sym += 256;
        else {
          sym = (sym << 1) | bits(1);
          if (sym >= 0x30 && sym <= 0xBF)
            sym -= 0x30;
          else if (sym >= 0xC0 && sym <= 0xC7)
            sym = sym - 0xC0 + 280;
          else
            sym = ((sym << 1) | bits(1)) - 0x190 + 144;
        }
        if (sym < 256) {
          out.push_back(static_cast<uint8_t>(sym));
        } else if (sym == 256) {
          break;
        } else {
          const int li = static_cast<int>(sym) - 257;
          if (li >= 29) return false;
          const int length = lengthBase[li] + static_cast<int>(bits(lengthExtra[li]));
          const uint32_t di = code(5);
          if (di >= 30) return false;
          const size_t dist = static_cast<size_t>(distBase[di]) + bits(distExtra[di]);
          if (dist > out.size()) return false;
          for (int k = 0; k < length; ++k) out.push_back(out[out.size() - dist]);
        }
      }
    }
    bit = (bit + 7) / 8 * 8;
    uint32_t adler = 0;
    for (int i = 0; i < 4; ++i)
      adler = adler << 8 | bits(8);  // whole bytes, most significant first
    return adler == Adler32(out.data(), out.size()) && bit / 8 == z.size();
  } catch (const std::out_of_range&) {
    return false;
  }
}

TEST(ForgePng, ChecksumsMatchKnownValues) {
  const std::string digits = "123456789", word = "Wikipedia";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xCBF43926u);
  EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>(word.data()), word.size()), 0x11E60398u);
}

TEST(ForgePng, CompressedDataInflatesBackAndRunsShrink) {
  std::vector<std::vector<uint8_t>> inputs;
  inputs.push_back({});
  inputs.push_back({42});
  std::vector<uint8_t> noise(70000);
  uint32_t s = 12345;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((s = s * 1103515245u + 12345u) >> 24);
  inputs.push_back(noise);
  std::vector<uint8_t> runs(100000, 0);
  for (size_t i = 40000; i < 40600; ++i) runs[i] = static_cast<uint8_t>(i % 3);
  inputs.push_back(runs);
  // Repeats at distances up to the edge of the window.
  std::vector<uint8_t> far;
  for (int rep = 0; rep < 4; ++rep)
    for (int i = 0; i < 32000; ++i) far.push_back(static_cast<uint8_t>((i * 31) ^ (i >> 7)));
  inputs.push_back(far);
  for (size_t k = 0; k < inputs.size(); ++k) {
    SCOPED_TRACE(k);
    const std::vector<uint8_t> z = ZlibCompress(inputs[k]);
    std::vector<uint8_t> back;
    ASSERT_TRUE(Inflate(z, back));
    EXPECT_TRUE(back == inputs[k]);
  }
  EXPECT_LT(ZlibCompress(runs).size(), 2000u);
  EXPECT_LT(ZlibCompress(far).size(), far.size() / 3);
}

TEST(ForgePng, ImageDataHoldsFilteredRowsOfRgbOrRgba) {
  // 2 x 2 pictures, as the contact sheet (RGB) and the desktop's icons (RGBA) are written: the
  // header names the colour type, and IDAT inflates to two rows of a filter byte and the pixels.
  struct Case {
    int channels, colourType;
    std::vector<uint8_t> pixels;
  };
  const Case cases[] = {
      {3, 2, {10, 20, 30, 15, 25, 35, 200, 100, 50, 0, 0, 0}},
      {4, 6, {10, 20, 30, 0, 15, 25, 35, 255, 200, 100, 50, 128, 0, 0, 0, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channels);
    const std::vector<uint8_t> png = EncodePng(2, 2, c.pixels, c.channels);
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(png[24], 8);  // bits a channel
    EXPECT_EQ(png[25], c.colourType);
    size_t at = 8;
    std::vector<uint8_t> idat;
    while (at + 12 <= png.size()) {
      const uint32_t len =
          static_cast<uint32_t>(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
      if (std::string(reinterpret_cast<const char*>(&png[at + 4]), 4) == "IDAT")
        idat.assign(png.begin() + static_cast<long>(at) + 8,
                    png.begin() + static_cast<long>(at + 8 + len));
      at += 12 + len;
    }
    std::vector<uint8_t> raw;
    ASSERT_TRUE(Inflate(idat, raw));
    const int stride = 2 * c.channels;
    ASSERT_EQ(raw.size(), static_cast<size_t>(2 * (stride + 1)));
    // Undo the "sub" filter and compare with the pixels given.
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 2; ++y) {
      EXPECT_EQ(raw[y * (stride + 1)], 1);
      for (int x = 0; x < stride; ++x) {
        const uint8_t left = x >= c.channels ? pixels[pixels.size() - c.channels] : 0;
        pixels.push_back(static_cast<uint8_t>(raw[y * (stride + 1) + 1 + x] + left));
      }
    }
    EXPECT_EQ(pixels, c.pixels);
  }
}

}  // namespace
