// MPEG layer III files made frame by frame, for the scanner's and the loaders' tests: frames of
// silence with the header given, and the encoder's info frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace skyrift::testing {

using Bytes = std::vector<uint8_t>;

// A frame of `bytes` bytes: the header given, then silence.
inline Bytes Mp3Frame(uint8_t b1, uint8_t b2, uint8_t b3, size_t bytes) {
  Bytes frame(bytes, 0);
  frame[0] = 0xFF, frame[1] = b1, frame[2] = b2, frame[3] = b3;
  return frame;
}
inline Bytes Repeat(const Bytes& frame, int count) {
  Bytes out;
  for (int i = 0; i < count; ++i) out.insert(out.end(), frame.begin(), frame.end());
  return out;
}
inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The sizes are the standard's: 144 (MPEG-1) or 72 bytes a frame per bit per second of rate,
// plus the padding byte.
inline const Bytes kMpeg1 = Mp3Frame(0xFB, 0x90, 0x00, 417);  // 128 kbit/s, 44100 Hz, stereo

// An MPEG-1 info frame ("Info" after the stereo side information, no fields) whose encoder tag
// records `delay` and `padding` samples of silence.
inline Bytes InfoFrame(int delay, int padding) {
  Bytes frame = kMpeg1;
  std::memcpy(frame.data() + 36, "Info", 4);
  std::memcpy(frame.data() + 44, "LAME3.100", 9);
  frame[44 + 21] = static_cast<uint8_t>(delay >> 4);
  frame[44 + 22] = static_cast<uint8_t>((delay & 0x0F) << 4 | padding >> 8);
  frame[44 + 23] = static_cast<uint8_t>(padding);
  return frame;
}

}  // namespace skyrift::testing
