#include "platform/WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/LittleEndian.h"
#include "platform/Mixer.h"
#include "platform/SoundFile.h"

namespace skyrift::platform {

uint64_t WaveLayout::Frames() const {
  const uint64_t frameBits = uint64_t{format.bits} * format.channels;
  return frameBits == 0 ? 0 : dataBytes * 8 / frameBits;
}

std::optional<WaveLayout> ReadWaveLayout(const ReadAt& read, uint64_t fileSize, std::string& why) {
  uint8_t riff[12];
  if (fileSize < sizeof riff || !read(0, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0) {
    why = "not a WAV file";
    return std::nullopt;
  }
  // The chunks in turn, each padded to an even size. Only the first format counts; data before
  // it is refused, as SDL refuses it. Data the header claims but the file lacks is not there.
  std::optional<WaveLayout> layout;
  for (uint64_t at = sizeof riff; at + 8 <= fileSize;) {
    uint8_t chunk[8];
    if (!read(at, chunk, sizeof chunk)) break;
    const uint64_t size = Read32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !layout) {
      uint8_t format[26] = {};
      const size_t length = static_cast<size_t>(std::min<uint64_t>(size, sizeof format));
      if (size < 16 || !read(at + 8, format, length)) break;
      WaveFormat& f = layout.emplace().format;
      f = WaveFormat{Read16(format), Read16(format + 2), Read32(format + 4), Read16(format + 14)};
      // An extensible header names its real encoding in the first two bytes of its sub-format.
      if (f.encoding == kWaveExtensible && size >= 26) f.encoding = Read16(format + 24);
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!layout) {
        why = "its sound data comes before its format";
        return std::nullopt;
      }
      if (layout->format.channels == 0 || layout->format.rate == 0 || layout->format.bits == 0) {
        why = "its format gives no channels, rate or sample size";
        return std::nullopt;
      }
      layout->dataAt = at + 8;
      layout->dataBytes = std::min(size, fileSize - layout->dataAt);
      return layout;
    }
    at += 8 + size + (size & 1);
  }
  why = "no sound format or data found";
  return std::nullopt;
}

std::optional<WaveLayout> ReadWaveLayout(const uint8_t* file, size_t size, std::string& why) {
  const auto read = [file, size](uint64_t at, uint8_t* into, size_t bytes) {
    if (at > size || bytes > size - at) return false;
    std::memcpy(into, file + at, bytes);
    return true;
  };
  return ReadWaveLayout(read, file == nullptr ? 0 : size, why);
}

std::optional<WaveLayout> ReadWaveLayout(const char* fileName, std::string& why) {
  std::ifstream file;
  if (!OpenSoundFile(file, fileName, why)) return std::nullopt;
  const auto size = static_cast<uint64_t>(file.tellg());
  const auto read = [&file](uint64_t at, uint8_t* into, size_t bytes) {
    file.clear();
    file.seekg(static_cast<std::streamoff>(at));
    return static_cast<bool>(
        file.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(bytes)));
  };
  return ReadWaveLayout(read, size, why);
}

std::string WhySampleTooLong(const WaveLayout& layout) {
  if (layout.Frames() <= uint64_t{kMaxSampleSeconds} * layout.format.rate) return {};
  return "it holds " + std::to_string(std::llround(layout.Seconds())) +
         " s of sound, more than the " + std::to_string(kMaxSampleSeconds) + " s a sample may";
}

std::optional<WaveLayout> ReadSampleLayout(const char* fileName, std::string& why) {
  std::optional<WaveLayout> layout = ReadWaveLayout(fileName, why);
  if (layout) why = WhySampleTooLong(*layout);
  if (!why.empty()) return std::nullopt;
  return layout;
}

}  // namespace skyrift::platform
