#include "platform/WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/LittleEndian.h"
#include "platform/Mixer.h"
#include "platform/SoundFile.h"

namespace skyrift::platform {
namespace {

// What follows the format tag in every standard extensible sub-format.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Why a format chunk of `size` bytes (its first 40 at `chunk`) does not describe sound
// coherently, or empty; fills `format` either way.
std::string ReadFormat(const uint8_t* chunk, uint64_t size, WaveFormat& format) {
  format = WaveFormat{Read16(chunk), Read16(chunk + 2), Read32(chunk + 4), Read16(chunk + 14)};
  const uint16_t blockAlign = Read16(chunk + 12);
  if (format.encoding == kWaveExtensible) {
    if (size < 40) return "its extensible format is cut short";
    format.encoding = Read16(chunk + 24);
    if (std::memcmp(chunk + 26, kSubFormatTail, sizeof kSubFormatTail) != 0)
      return "its extensible sub-format is not a standard one";
  }
  if (format.channels == 0) return "its format gives no channels";
  if (format.rate == 0) return "its format gives a rate of 0 Hz";
  if (format.bits == 0) return "its format gives no sample size";
  // Compressed encodings have blocks of their own; they are refused as unplayable anyway.
  const bool plain = format.encoding == kWavePcm || format.encoding == kWaveFloat;
  if (plain && blockAlign != format.channels * ((format.bits + 7) / 8))
    return "its block size disagrees with its channels and sample size";
  return {};
}

}  // namespace

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
  // A RIFF size of 0 is what a writer that never came back to fill it in leaves: no bound.
  const uint64_t riffSize = Read32(riff + 4);
  const uint64_t riffEnd = riffSize == 0 ? UINT64_MAX : 8 + riffSize;
  // The chunks in turn, each padded to an even size. Only the first format counts; data before
  // it is refused. Data the header claims but the file lacks is not there.
  std::optional<WaveLayout> layout;
  for (uint64_t at = sizeof riff; at + 8 <= fileSize;) {
    uint8_t chunk[8];
    if (!read(at, chunk, sizeof chunk)) break;
    const uint64_t size = Read32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !layout) {
      uint8_t format[40] = {};
      const size_t length = static_cast<size_t>(std::min<uint64_t>(size, sizeof format));
      if (size < 16 || !read(at + 8, format, length)) break;
      why = ReadFormat(format, size, layout.emplace().format);
      if (!why.empty()) return std::nullopt;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!layout) {
        why = "its sound data comes before its format";
        return std::nullopt;
      }
      layout->dataAt = at + 8;
      if (riffEnd < layout->dataAt) {
        why = "its RIFF size ends before its sound data";
        return std::nullopt;
      }
      layout->dataBytes = std::min(size, fileSize - layout->dataAt);
      return layout;
    }
    at += 8 + size + (size & 1);
  }
  why = "no sound format or data found";
  return std::nullopt;
}

std::optional<WaveLayout> ReadWaveLayout(const uint8_t* file, size_t size, std::string& why) {
  return ReadWaveLayout(ReadFromMemory(file, size), file == nullptr ? 0 : size, why);
}

std::optional<WaveLayout> ReadWaveLayout(const char* fileName, std::string& why) {
  auto file = std::make_shared<std::ifstream>();
  if (!OpenSoundFile(*file, fileName, why)) return std::nullopt;
  const auto size = static_cast<uint64_t>(file->tellg());
  return ReadWaveLayout(ReadFromFile(file), size, why);
}

std::string WhySampleTooLong(const WaveLayout& layout) {
  if (layout.Frames() <= uint64_t{kMaxSampleSeconds} * layout.format.rate) return {};
  return "it holds " + std::to_string(std::llround(layout.Seconds())) +
         " s of sound, more than the " + std::to_string(kMaxSampleSeconds) + " s a sample may";
}

std::string WhyNotPlayable(const WaveLayout& layout) {
  const WaveFormat& format = layout.format;
  const bool pcm = format.encoding == kWavePcm && (format.bits == 8 || format.bits == 16 ||
                                                   format.bits == 24 || format.bits == 32);
  const bool single = format.encoding == kWaveFloat && format.bits == 32;
  if (!pcm && !single) return "it is not 8-, 16-, 24- or 32-bit PCM or 32-bit float";
  if (format.channels > kMaxSampleChannels) {
    return "it has " + std::to_string(format.channels) + " channels, more than the " +
           std::to_string(kMaxSampleChannels) + " a sample may";
  }
  if (format.rate > kMaxSampleRate) {
    return "its rate of " + std::to_string(format.rate) + " Hz is more than the " +
           std::to_string(kMaxSampleRate) + " Hz a sample may have";
  }
  if (layout.Frames() == 0) return "it holds no sound";
  return WhySampleTooLong(layout);
}

std::optional<WaveLayout> ReadSampleLayout(const char* fileName, std::string& why) {
  std::optional<WaveLayout> layout = ReadWaveLayout(fileName, why);
  if (layout) why = WhyNotPlayable(*layout);
  if (!why.empty()) return std::nullopt;
  return layout;
}

}  // namespace skyrift::platform
