// Small Windows bitmaps written in memory for the image and background tests, and a
// one-entry resource module to load them from as the game loads its own.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/Resources.h"
#include "platform/Types.h"

namespace skyrift::testing {

struct BmpForm {
  int width = 4;
  int height = 3;  // negative: rows stored top-down
  int bits = 8;
  std::vector<COLORREF> palette;  // the colour table as written
  int64_t coloursUsed = -1;       // the header's count; -1 writes the palette's size
  uint32_t headerSize = 40;
  int64_t imageSize = -1;  // the header's field; -1 writes what the rows need plus extra
  int extraBytes = 0;      // written after the rows
  std::function<uint8_t(int x, int y)> index;  // palette index at (x, y), y from the top
};

inline void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
  bytes[at] = value & 0xFF;
  bytes[at + 1] = value >> 8;
}
inline void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = (value >> (8 * i)) & 0xFF;
}

// A whole bitmap file, 14-byte file header included.
inline std::vector<uint8_t> MakeBmp(const BmpForm& form) {
  const int rows = form.height < 0 ? -form.height : form.height;
  const size_t rowBytes = (static_cast<size_t>(form.width) * form.bits + 31) / 32 * 4;
  const size_t tableAt = 14 + form.headerSize;
  const size_t pixelsAt = tableAt + 4 * form.palette.size();
  std::vector<uint8_t> bytes(pixelsAt + rowBytes * rows + form.extraBytes, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
  Put32(bytes, 10, static_cast<uint32_t>(pixelsAt));
  Put32(bytes, 14, form.headerSize);
  Put32(bytes, 18, static_cast<uint32_t>(form.width));
  Put32(bytes, 22, static_cast<uint32_t>(form.height));
  Put16(bytes, 26, 1);
  Put16(bytes, 28, static_cast<uint16_t>(form.bits));
  Put32(bytes, 34,
        static_cast<uint32_t>(form.imageSize >= 0 ? form.imageSize
                                                  : rowBytes * rows + form.extraBytes));
  Put32(bytes, 46,
        static_cast<uint32_t>(form.coloursUsed >= 0 ? form.coloursUsed : form.palette.size()));
  for (size_t i = 0; i < form.palette.size(); ++i) {
    const COLORREF c = form.palette[i];
    bytes[tableAt + 4 * i] = GetBValue(c);
    bytes[tableAt + 4 * i + 1] = GetGValue(c);
    bytes[tableAt + 4 * i + 2] = GetRValue(c);
  }
  for (int stored = 0; stored < rows; ++stored) {
    const int y = form.height < 0 ? stored : rows - 1 - stored;
    uint8_t* row = bytes.data() + pixelsAt + stored * rowBytes;
    for (int x = 0; form.index && x < form.width; ++x) {
      const int value = form.index(x, y);
      const int bit = x * form.bits;  // from the high bits of each byte
      row[bit / 8] |= static_cast<uint8_t>(value << (8 - form.bits - bit % 8));
    }
  }
  return bytes;
}

// A file in the temporary folder holding `bytes`, removed with the object.
class TempFile {
 public:
  explicit TempFile(const std::vector<uint8_t>& bytes) {
    // Test processes run side by side: the process id keeps their files apart.
    static int count = 0;
    path_ = (std::filesystem::temp_directory_path() /
             ("skyrift_" + std::to_string(getpid()) + "_" + std::to_string(++count) + ".bmp"))
                .string();
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (file != nullptr) {
      if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
      std::fclose(file);
    }
  }
  ~TempFile() { std::filesystem::remove(path_); }
  const char* Path() const { return path_.c_str(); }

 private:
  std::string path_;  // narrow on every system, as the loader takes it
};

// A module holding one bitmap resource: the file's bytes without the file header.
class OneResource {
 public:
  OneResource(uint16_t id, const std::vector<uint8_t>& file,
              uint16_t type = platform::kBitmapResource)
      : data_(file.size() > 14 ? file.begin() + 14 : file.end(), file.end()),
        entry_{id, type, 0, data_.data(), data_.size()},
        module_{&entry_, 1} {}
  HINSTANCE Module() const { return &module_; }

 private:
  std::vector<uint8_t> data_;
  platform::ResourceEntry entry_;
  platform::ResourceModule module_;
};

}  // namespace skyrift::testing
