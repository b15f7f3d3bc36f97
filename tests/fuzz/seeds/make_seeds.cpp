// Writes the image fuzzer's starting files: valid 1-, 4- and 8-bit bitmaps in the forms the
// loader reads (larger headers, top-down rows, colours-used 0, image size 0, spare bytes).
// Usage: make_seeds <directory>
#include <cstdio>
#include <filesystem>

#include "tests/BmpBytes.h"

namespace {

using skyrift::COLORREF;
using skyrift::RGB;
using skyrift::testing::BmpForm;

struct Seed {
  const char* name;
  int width, height, bits, colours;
  int64_t coloursUsed;
  uint32_t headerSize;
  int64_t imageSize;
  int extraBytes;
};

constexpr Seed kSeeds[] = {
    {"8bit", 13, 7, 8, 256, -1, 40, -1, 0},
    {"8bit_colours_used_0", 9, 5, 8, 256, 0, 40, -1, 0},
    {"8bit_short_table", 21, 11, 8, 40, -1, 40, -1, 0},
    {"8bit_spare_bytes", 9, 5, 8, 256, 0, 40, -1, 2},
    {"8bit_image_size_0", 10, 4, 8, 16, -1, 40, 0, 0},
    {"8bit_header_108", 6, 6, 8, 32, -1, 108, -1, 0},
    {"8bit_top_down", 11, -6, 8, 64, -1, 40, -1, 0},
    {"8bit_magenta_ground", 40, 30, 8, 8, -1, 40, -1, 0},
    {"4bit", 13, 7, 4, 16, -1, 40, -1, 0},
    {"4bit_colours_used_0", 7, 5, 4, 16, 0, 40, -1, 0},
    {"4bit_header_124", 9, 3, 4, 16, -1, 124, -1, 0},
    {"4bit_top_down", 15, -4, 4, 16, -1, 40, -1, 0},
    {"1bit", 19, 5, 1, 2, -1, 40, -1, 0},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (const Seed& seed : kSeeds) {
    BmpForm form;
    form.width = seed.width;
    form.height = seed.height;
    form.bits = seed.bits;
    for (int i = 0; i < seed.colours; ++i) {
      // Index 1 is magenta so that keyed drawing has something to leave out.
      form.palette.push_back(i == 1 ? skyrift::kMagenta : RGB(i * 5 % 256, 255 - i, i * 29 % 256));
    }
    form.coloursUsed = seed.coloursUsed;
    form.headerSize = seed.headerSize;
    form.imageSize = seed.imageSize;
    form.extraBytes = seed.extraBytes;
    const int colours = seed.colours;
    form.index = [colours](int x, int y) {
      return static_cast<uint8_t>((x * x + 3 * y) % colours);
    };
    const std::vector<uint8_t> bytes = skyrift::testing::MakeBmp(form);
    const std::filesystem::path path = folder / (std::string(seed.name) + ".bmp");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      std::fprintf(stderr, "make_seeds: cannot write %s\n", path.c_str());
      if (file != nullptr) std::fclose(file);
      return 1;
    }
    std::fclose(file);
  }
  return 0;
}
