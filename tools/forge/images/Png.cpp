// PNG chunks, CRC and a compact deflate: one fixed-Huffman block with hash-chain matching.
#include "images/Png.h"

#include <algorithm>
#include <array>

namespace skyrift::forge {

namespace {

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  // Writes the low n bits of v, least significant first (deflate's bit order).
  void Bits(uint32_t v, int n) {
    acc_ |= static_cast<uint64_t>(v) << used_;
    used_ += n;
    while (used_ >= 8) {
      out_.push_back(static_cast<uint8_t>(acc_));
      acc_ >>= 8;
      used_ -= 8;
    }
  }
  // Huffman codes go most significant bit first.
  void Code(uint32_t code, int n) {
    uint32_t r = 0;
    for (int i = 0; i < n; ++i) r |= ((code >> i) & 1u) << (n - 1 - i);
    Bits(r, n);
  }
  void Flush() {
    if (used_ > 0) out_.push_back(static_cast<uint8_t>(acc_));
    acc_ = 0;
    used_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  int used_ = 0;
};

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void Symbol(BitWriter& w, int v) {
  if (v < 144)
    w.Code(0x30 + static_cast<uint32_t>(v), 8);
  else if (v < 256)
    w.Code(0x190 + static_cast<uint32_t>(v - 144), 9);
  else if (v < 280)
    w.Code(static_cast<uint32_t>(v - 256), 7);
  else
    w.Code(0xC0 + static_cast<uint32_t>(v - 280), 8);
}

void Match(BitWriter& w, int length, int distance) {
  int li = 28;
  while (kLengthBase[li] > length) --li;
  Symbol(w, 257 + li);
  if (kLengthExtra[li]) w.Bits(static_cast<uint32_t>(length - kLengthBase[li]), kLengthExtra[li]);
  int di = 29;
  while (kDistBase[di] > distance) --di;
  w.Code(static_cast<uint32_t>(di), 5);
  if (kDistExtra[di]) w.Bits(static_cast<uint32_t>(distance - kDistBase[di]), kDistExtra[di]);
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  const uint32_t n = static_cast<uint32_t>(data.size());
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(n >> s));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uint32_t crc = Crc32(&out[start], out.size() - start);
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(crc >> s));
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
  uint32_t a = 1, b = 0;
  for (size_t i = 0; i < size; ++i) {
    a = (a + data[i]) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out{0x78, 0x01};  // deflate, 32K window, fastest-level flag
  BitWriter w(out);
  w.Bits(1, 1);  // final block
  w.Bits(1, 2);  // fixed Huffman codes
  constexpr int kWindow = 32768, kHashBits = 15, kMaxChain = 24;
  std::vector<int> head(1 << kHashBits, -1), prev(kWindow, -1);
  const int n = static_cast<int>(data.size());
  auto hash = [&](int i) {
    return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & ((1 << kHashBits) - 1);
  };
  auto insert = [&](int i) {
    if (i + 2 >= n) return;
    const int h = hash(i);
    prev[i % kWindow] = head[h];
    head[h] = i;
  };
  int i = 0;
  while (i < n) {
    int bestLen = 0, bestDist = 0;
    if (i + 2 < n) {
      int candidate = head[hash(i)];
      for (int chain = 0; candidate >= 0 && chain < kMaxChain; ++chain) {
        const int dist = i - candidate;
        if (dist > kWindow - 1 || dist <= 0) break;
        int len = 0;
        const int maxLen = std::min(258, n - i);
        while (len < maxLen && data[candidate + len] == data[i + len]) ++len;
        if (len > bestLen) {
          bestLen = len;
          bestDist = dist;
          if (len == maxLen) break;
        }
        candidate = prev[candidate % kWindow];
      }
    }
    if (bestLen >= 3) {
      Match(w, bestLen, bestDist);
      for (int k = 0; k < bestLen; ++k) insert(i + k);
      i += bestLen;
    } else {
      Symbol(w, data[i]);
      insert(i);
      ++i;
    }
  }
  Symbol(w, 256);
  w.Flush();
  const uint32_t adler = Adler32(data.data(), data.size());
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(adler >> s));
  return out;
}

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& pixels,
                               int channels) {
  std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  for (uint32_t v : {static_cast<uint32_t>(width), static_cast<uint32_t>(height)})
    for (int s = 24; s >= 0; s -= 8) header.push_back(static_cast<uint8_t>(v >> s));
  const uint8_t colourType = channels == 4 ? 6 : 2;       // RGBA or RGB
  header.insert(header.end(), {8, colourType, 0, 0, 0});  // 8 bits a channel, no interlace
  Chunk(out, "IHDR", header);
  // Each row uses the "sub" filter: flat areas become runs of zeros.
  const int stride = width * channels;
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (static_cast<size_t>(stride) + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back(1);
    const uint8_t* row = &pixels[static_cast<size_t>(y) * stride];
    for (int x = 0; x < stride; ++x)
      raw.push_back(static_cast<uint8_t>(row[x] - (x >= channels ? row[x - channels] : 0)));
  }
  Chunk(out, "IDAT", ZlibCompress(raw));
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace skyrift::forge
