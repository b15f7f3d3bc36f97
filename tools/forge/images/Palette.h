// Turns a drawn canvas into the game's stored form: a 256- or 16-colour palette and one
// index per pixel, with the magenta ground kept exact and never used by a figure pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "images/Canvas.h"

namespace skyrift::forge {

inline constexpr uint32_t kMagenta = 0xFF00FF;

enum class Ground { Opaque, Magenta };

struct QuantiseOptions {
  int bpp = 8;  // 8 or 4
  Ground ground = Ground::Opaque;
  // Pixels less covered than this become ground; the rest are laid over the edge colour,
  // so a figure's anti-aliased rim fades into a dark outline instead of into magenta.
  float alphaCut = 0.5f;
  uint32_t edge = 0x0A0812;
  // Amplitude (in 0..255 steps) of the ordered dither that breaks up banding in gradients.
  float dither = 0.0f;
  // When given (2^bpp entries), the pixels take the nearest of these colours instead of a
  // palette made for them: two paintings of one screen mapped to one palette differ only where
  // the paintings do.
  std::vector<uint32_t> palette;
};

struct Indexed {
  int width = 0, height = 0, bpp = 8;
  std::vector<uint32_t> palette;  // 0xRRGGBB, exactly 2^bpp entries
  std::vector<uint8_t> index;     // width * height, top row first
  uint32_t ColourAt(int x, int y) const {
    return palette[index[static_cast<size_t>(y) * width + x]];
  }
};

Indexed Quantise(const Canvas& canvas, const QuantiseOptions& options);

}  // namespace skyrift::forge
