// Numbers stored least significant byte first, as Windows file formats store them.
#pragma once

#include <cstdint>

namespace skyrift::platform {

inline uint16_t Read16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t Read24(const uint8_t* p) {
  return p[0] | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
}
inline uint32_t Read32(const uint8_t* p) {
  return Read24(p) | uint32_t{p[3]} << 24;
}

}  // namespace skyrift::platform
