// Where the sound of a WAV file lies and in what format, read the way SDL's loader reads it:
// the first format chunk, then the first data chunk after it. Both platforms' sample loading
// go through this one reading, so a file means the same thing to the size check and to the
// decoder on every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace skyrift::platform {

constexpr uint16_t kWavePcm = 1;
constexpr uint16_t kWaveFloat = 3;
constexpr uint16_t kWaveExtensible = 0xFFFE;

struct WaveFormat {
  uint16_t encoding = 0;  // the format tag; for an extensible header, its sub-format's
  uint16_t channels = 0;
  uint32_t rate = 0;  // frames per second
  uint16_t bits = 0;  // of one channel's sample
};

struct WaveLayout {
  WaveFormat format;
  uint64_t dataAt = 0;     // where the sound data starts in the file
  uint64_t dataBytes = 0;  // as much of the declared data as the file holds
  // Whole frames in the data (for a compressed encoding, as many as its bits per sample give).
  uint64_t Frames() const;
  double Seconds() const { return static_cast<double>(Frames()) / format.rate; }
};

// Fills `bytes` bytes at `into` from the file at offset `at`; false when the file ends first.
using ReadAt = std::function<bool(uint64_t at, uint8_t* into, size_t bytes)>;

// The layout of a file of `fileSize` bytes, or nothing with the reason in `why`.
std::optional<WaveLayout> ReadWaveLayout(const ReadAt& read, uint64_t fileSize, std::string& why);
std::optional<WaveLayout> ReadWaveLayout(const uint8_t* file, size_t size, std::string& why);
// The layout of the file named, read from its headers alone; only a regular file is read.
std::optional<WaveLayout> ReadWaveLayout(const char* fileName, std::string& why);

// Why a sample of this layout is too long to load (past the limit of platform/Mixer.h), or
// empty when it is not.
std::string WhySampleTooLong(const WaveLayout& layout);
// The layout of a sample file the mixer may load: nothing, with the reason in `why`, when its
// headers cannot be read or it is too long. Checked before anything is decoded.
std::optional<WaveLayout> ReadSampleLayout(const char* fileName, std::string& why);

}  // namespace skyrift::platform
