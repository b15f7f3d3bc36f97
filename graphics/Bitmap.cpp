// Bitmap: reads Windows bitmaps (files, and resources without their file header) into 8-bit
// paletted images, makes blank drawing targets, and draws either kind opaque or keyed.
#include "graphics/Bitmap.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/LittleEndian.h"

namespace skyrift {
namespace {

constexpr uint16_t kFileType = 0x4D42;  // "BM"
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
// The largest header any tool writes is 124 bytes; a size far past that is damage.
constexpr uint32_t kMaxInfoHeaderSize = 1024;
constexpr uint32_t kMaxColours = 256;
// One byte per pixel once loaded; no picture of ours comes near this, a hostile header might.
constexpr int64_t kMaxPixelBytes = 256LL * 1024 * 1024;

using platform::Read16;
using platform::Read32;

// The information header, checked: everything the pixel copy relies on.
struct Layout {
  uint32_t headerSize = 0;
  int width = 0;
  int rows = 0;          // the height without its sign
  bool topDown = false;  // a negative height: the first stored row is the top one
  int bitsPerPixel = 0;
  uint32_t colours = 0;    // colour-table entries
  uint64_t rowBytes = 0;   // one stored row, padded to 4 bytes
  uint64_t imageSize = 0;  // pixel bytes the header says follow the table
  // Bytes actually copied: the image size, but never more than the rows need.
  uint64_t CopyBytes() const { return std::min<uint64_t>(imageSize, rowBytes * rows); }
};

// The sizes a Bitmap reports once a header has been read. A top-down image reports its
// height positive, like every other image.
void HeaderSizes(const uint8_t* header, int32_t& width, int32_t& height) {
  width = static_cast<int32_t>(Read32(header + 4));
  const int64_t stored = static_cast<int32_t>(Read32(header + 8));
  height = static_cast<int32_t>(
      std::min<int64_t>(stored < 0 ? -stored : stored, std::numeric_limits<int32_t>::max()));
}

// False for any header this loader does not read: the file is damaged or of a kind the game
// never uses (compressed, more than 8 bits per pixel).
bool ParseHeader(const uint8_t* header, Layout& layout) {
  layout.headerSize = Read32(header);
  const int32_t width = static_cast<int32_t>(Read32(header + 4));
  const int64_t height = static_cast<int32_t>(Read32(header + 8));
  const uint16_t bits = Read16(header + 14);
  const uint32_t compression = Read32(header + 16);
  const uint32_t imageSize = Read32(header + 20);
  const uint32_t coloursUsed = Read32(header + 32);

  if (layout.headerSize < kInfoHeaderSize || layout.headerSize > kMaxInfoHeaderSize) return false;
  if (width <= 0 || height == 0) return false;
  if (bits != 1 && bits != 4 && bits != 8) return false;
  if (compression != 0) return false;
  if (coloursUsed > kMaxColours) return false;
  const int64_t rows = height < 0 ? -height : height;
  // The loaded image keeps one byte per pixel in rows padded to 4 bytes.
  const int64_t pitch = (int64_t{width} + 3) / 4 * 4;
  if (pitch * rows > kMaxPixelBytes) return false;

  layout.width = width;
  layout.rows = static_cast<int>(rows);
  layout.topDown = height < 0;
  layout.bitsPerPixel = bits;
  layout.colours = coloursUsed != 0 ? coloursUsed : 1u << bits;
  layout.rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  // Writers may leave the size of an uncompressed image as 0: it is then whole rows.
  layout.imageSize = imageSize != 0 ? imageSize : layout.rowBytes * layout.rows;
  return true;
}

// One stored row widened to a palette index per pixel. `available` may fall short of the row
// when the image size ends inside it; pixels past it keep index 0.
void WidenRow(const Layout& layout, const uint8_t* stored, uint64_t available, uint8_t* out) {
  const int width = layout.width;
  switch (layout.bitsPerPixel) {
    case 8:
      std::memcpy(out, stored, static_cast<size_t>(std::min<uint64_t>(width, available)));
      break;
    case 4: {
      const int count = static_cast<int>(std::min<uint64_t>(width, available * 2));
      for (int x = 0; x < count; ++x) {
        const uint8_t pair = stored[x / 2];
        out[x] = (x & 1) != 0 ? (pair & 0x0F) : (pair >> 4);
      }
      break;
    }
    default: {  // 1 bit per pixel, leftmost pixel in the high bit
      const int count = static_cast<int>(std::min<uint64_t>(width, available * 8));
      for (int x = 0; x < count; ++x) out[x] = (stored[x / 8] >> (7 - x % 8)) & 1;
      break;
    }
  }
}

// The colour table's entries (blue, green, red, reserved) as colours.
void Palette(const Layout& layout, const uint8_t* table, COLORREF* palette) {
  for (uint32_t i = 0; i < layout.colours; ++i) {
    const uint8_t* entry = table + 4 * i;
    palette[i] = RGB(entry[2], entry[1], entry[0]);
  }
}

// Makes the image from a checked layout. `table` holds its colour entries (blue, green, red,
// reserved); `nextRow(bytes)` hands out the stored rows in stored order, or null when the data
// cannot be read.
template <typename NextRow>
std::unique_ptr<platform::Surface> BuildImage(const Layout& layout, const uint8_t* table,
                                              NextRow nextRow) {
  COLORREF palette[kMaxColours];
  Palette(layout, table, palette);
  auto image = platform::Surface::CreateIndexed(layout.width, layout.rows, palette,
                                                static_cast<int>(layout.colours));
  if (image == nullptr) return nullptr;

  uint64_t remaining = layout.CopyBytes();
  for (int stored = 0; stored < layout.rows && remaining > 0; ++stored) {
    const uint64_t available = std::min(layout.rowBytes, remaining);
    const uint8_t* row = nextRow(static_cast<size_t>(available));
    if (row == nullptr) return nullptr;
    // Stored rows run bottom-up unless the height was negative.
    const int y = layout.topDown ? stored : layout.rows - 1 - stored;
    WidenRow(layout, row, available, image->IndexRow(y));
    remaining -= available;
  }
  return image;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool ReadExactly(std::FILE* file, void* buffer, size_t bytes) {
  return std::fread(buffer, 1, bytes, file) == bytes;
}

}  // namespace

Bitmap::Bitmap() = default;

Bitmap::Bitmap(HDC dc, const char* fileName) {
  LoadFromFile(dc, fileName);
}

Bitmap::Bitmap(HDC dc, uint32_t resourceId, HINSTANCE instance) {
  LoadFromResource(dc, resourceId, instance);
}

Bitmap::Bitmap(HDC dc, int width, int height, COLORREF colour) {
  CreateBlank(dc, width, height, colour);
}

Bitmap::~Bitmap() {
  Release();
}

BOOL Bitmap::LoadFromResource(HDC, uint32_t resourceId, HINSTANCE instance) {
  Release();
  const platform::ResourceEntry* entry = platform::LookUpResource(
      instance, static_cast<uint16_t>(resourceId & 0xFFFF), platform::kBitmapResource);
  if (entry == nullptr || entry->data == nullptr || entry->size < kInfoHeaderSize) return FALSE;

  const uint8_t* data = entry->data;
  HeaderSizes(data, width, height);
  Layout layout;
  if (!ParseHeader(data, layout)) return FALSE;
  // Header, table and the pixels to copy must all lie inside the resource. An image size
  // larger than the rows need is harmless: only the rows are copied.
  const uint64_t pixelsAt = uint64_t{layout.headerSize} + 4ull * layout.colours;
  if (pixelsAt + layout.CopyBytes() > entry->size) return FALSE;

  const uint8_t* pixels = data + pixelsAt;
  if (layout.bitsPerPixel == 8 && layout.CopyBytes() == layout.rowBytes * layout.rows) {
    // Already one index a pixel, every row present: drawn from where the program holds it,
    // with no copy in memory of our own.
    COLORREF palette[kMaxColours];
    Palette(layout, data + layout.headerSize, palette);
    const auto rowBytes = static_cast<ptrdiff_t>(layout.rowBytes);
    handle =
        layout.topDown
            ? platform::Surface::ViewIndexed(layout.width, layout.rows, palette,
                                             static_cast<int>(layout.colours), pixels, rowBytes)
            : platform::Surface::ViewIndexed(layout.width, layout.rows, palette,
                                             static_cast<int>(layout.colours),
                                             pixels + (layout.rows - 1) * rowBytes, -rowBytes);
    return handle != nullptr ? TRUE : FALSE;
  }
  handle = BuildImage(layout, data + layout.headerSize, [&pixels, &layout](size_t) {
    const uint8_t* row = pixels;
    pixels += layout.rowBytes;
    return row;
  });
  // The image now lives in its decoded copy: the embedded bytes need not stay in memory.
  platform::ReleaseResource(entry);
  return handle != nullptr ? TRUE : FALSE;
}

BOOL Bitmap::LoadFromFile(HDC, const char* fileName) {
  Release();
  if (fileName == nullptr) return FALSE;
  File file{std::fopen(fileName, "rb")};
  if (file == nullptr) return FALSE;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return FALSE;
  const long end = std::ftell(file.get());
  if (end < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return FALSE;
  const uint64_t fileSize = static_cast<uint64_t>(end);

  uint8_t fileHeader[kFileHeaderSize];
  if (!ReadExactly(file.get(), fileHeader, sizeof fileHeader)) return FALSE;
  if (Read16(fileHeader) != kFileType) return FALSE;

  // Room for the information header and the largest colour table.
  uint8_t header[kInfoHeaderSize + 4 * kMaxColours];
  if (!ReadExactly(file.get(), header, kInfoHeaderSize)) return FALSE;
  HeaderSizes(header, width, height);
  Layout layout;
  if (!ParseHeader(header, layout)) return FALSE;

  // Skip what a larger header adds, then read the colour table.
  const uint64_t tableAt = kFileHeaderSize + uint64_t{layout.headerSize};
  if (tableAt + 4ull * layout.colours > fileSize) return FALSE;
  if (std::fseek(file.get(), static_cast<long>(tableAt), SEEK_SET) != 0) return FALSE;
  uint8_t* table = header + kInfoHeaderSize;
  if (!ReadExactly(file.get(), table, 4 * size_t{layout.colours})) return FALSE;

  const uint64_t pixelsAt = Read32(fileHeader + 10);
  if (pixelsAt + layout.CopyBytes() > fileSize) return FALSE;
  if (std::fseek(file.get(), static_cast<long>(pixelsAt), SEEK_SET) != 0) return FALSE;

  std::vector<uint8_t> row(static_cast<size_t>(layout.rowBytes));
  handle = BuildImage(layout, table, [&file, &row](size_t bytes) -> const uint8_t* {
    return ReadExactly(file.get(), row.data(), bytes) ? row.data() : nullptr;
  });
  return handle != nullptr ? TRUE : FALSE;
}

BOOL Bitmap::CreateBlank(HDC, int newWidth, int newHeight, COLORREF colour) {
  auto blank = platform::Surface::CreateTarget(newWidth, newHeight, colour);
  if (blank == nullptr) return FALSE;
  handle = std::move(blank);
  width = newWidth;
  height = newHeight;
  return TRUE;
}

void Bitmap::Release() {
  handle.reset();
}

void Bitmap::Draw(HDC dc, int x, int y, BOOL transparent, COLORREF key) const {
  DrawRegion(dc, x, y, 0, 0, width, height, transparent, key);
}

void Bitmap::DrawRegion(HDC dc, int x, int y, int regionX, int regionY, int regionWidth,
                        int regionHeight, BOOL transparent, COLORREF key) const {
  if (handle == nullptr || dc == nullptr) return;
  dc->Blit(*handle, regionX, regionY, regionWidth, regionHeight, x, y, transparent != FALSE, key);
}

}  // namespace skyrift
