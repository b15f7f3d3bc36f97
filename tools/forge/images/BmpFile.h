// Windows bitmap and icon files: the stored forms the game embeds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "images/Canvas.h"
#include "images/Palette.h"

namespace skyrift::forge {

// Two of the game's screens were stored by a tool that padded the image-size field and
// wrote no colours-used count; the game copes with both, and we keep them to prove it.
struct BmpQuirks {
  int extraBytes = 0;            // zero bytes after the pixels, counted in the image size
  bool coloursUsedZero = false;  // colours-used 0, full table still written
};

// Bytes of an uncompressed, bottom-up bitmap file (8 or 4 bits per pixel).
std::vector<uint8_t> EncodeBmp(const Indexed& image, const BmpQuirks& quirks = {});

// Reads an 8- or 4-bit uncompressed bitmap file; false (and an empty image) on anything else.
bool DecodeBmp(const std::vector<uint8_t>& bytes, Indexed& image);

// An icon file with one 32-bit entry per canvas (each square, 16 to 256 pixels).
std::vector<uint8_t> EncodeIco(const std::vector<Canvas>& sizes);

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes);

}  // namespace skyrift::forge
