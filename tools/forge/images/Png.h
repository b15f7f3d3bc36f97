// A small PNG encoder (8-bit RGB or RGBA) with its own deflate, for the review contact sheet
// and the desktop's icons.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skyrift::forge {

// pixels holds width * height * channels bytes (3: RGB, 4: RGBA, alpha not premultiplied),
// top row first.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& pixels,
                               int channels = 3);

// zlib stream (RFC 1950) of the data: deflate with fixed Huffman codes and LZ77 matches.
std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& data);

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

}  // namespace skyrift::forge
