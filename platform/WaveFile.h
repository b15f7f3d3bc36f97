// Where the sound of a WAV file lies and in what format, and whether the game plays it. Every
// layer's sample loading goes through this one reading and this one decision, so a file plays,
// or is refused for the same reason, on every build, before any decoder sees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/SoundFile.h"

namespace skyrift::platform {

constexpr uint16_t kWavePcm = 1;
constexpr uint16_t kWaveFloat = 3;
constexpr uint16_t kWaveExtensible = 0xFFFE;

// What a sample may be: up to 7.1 sound (more than two channels are mixed down to stereo), at a
// rate no studio format exceeds.
constexpr int kMaxSampleChannels = 8;
constexpr uint32_t kMaxSampleRate = 384000;

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
  // Whole frames in the data.
  uint64_t Frames() const;
  double Seconds() const { return static_cast<double>(Frames()) / format.rate; }
};

// The layout of a file of `fileSize` bytes: its first format chunk, then the first data chunk
// after it. Nothing, with the reason in `why`, when the headers are malformed: a RIFF size that
// ends before the sound data, a block size that disagrees with the channels and sample size, an
// extensible sub-format that is not one of the standard ones.
std::optional<WaveLayout> ReadWaveLayout(const ReadAt& read, uint64_t fileSize, std::string& why);
std::optional<WaveLayout> ReadWaveLayout(const uint8_t* file, size_t size, std::string& why);
// The layout of the file named, read from its headers alone; only a regular file is read.
std::optional<WaveLayout> ReadWaveLayout(const char* fileName, std::string& why);

// Why a sample of this layout is too long to load (past the limit of platform/Mixer.h), or
// empty when it is not.
std::string WhySampleTooLong(const WaveLayout& layout);
// Why the game does not play a well-formed file of this layout (an encoding other than integer
// PCM of 8, 16, 24 or 32 bits or 32-bit float, too many channels, too high a rate, no sound at
// all, too long), or empty when it plays it.
std::string WhyNotPlayable(const WaveLayout& layout);
// The layout of a sample file the mixer may load: nothing, with the reason in `why`, when its
// headers cannot be read or it is not playable. Checked before anything is decoded.
std::optional<WaveLayout> ReadSampleLayout(const char* fileName, std::string& why);

}  // namespace skyrift::platform
