// The small value types the whole game shares: rectangles, points, colours and BOOL.
// They stand in for the Windows types the game was designed around.
#pragma once

#include <cstdint>

namespace skyrift {

using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Left, top, right, bottom; right and bottom exclusive.
struct RECT {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const RECT&, const RECT&) = default;
};

struct POINT {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const POINT&, const POINT&) = default;
};

// A colour as GDI stores it: 0x00BBGGRR.
using COLORREF = uint32_t;
constexpr COLORREF RGB(uint8_t red, uint8_t green, uint8_t blue) {
  return red | (green << 8) | (blue << 16);
}
constexpr uint8_t GetRValue(COLORREF colour) {
  return colour & 0xFF;
}
constexpr uint8_t GetGValue(COLORREF colour) {
  return (colour >> 8) & 0xFF;
}
constexpr uint8_t GetBValue(COLORREF colour) {
  return (colour >> 16) & 0xFF;
}

// The key colour of every transparent drawing.
constexpr COLORREF kMagenta = RGB(255, 0, 255);

}  // namespace skyrift
