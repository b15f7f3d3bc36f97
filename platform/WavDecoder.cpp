#include "platform/WavDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/LittleEndian.h"
#include "platform/WaveFile.h"

namespace skyrift::platform {
namespace {

// One sample at `p` as a 16-bit one.
int16_t Sample(const uint8_t* p, const WaveFormat& format) {
  if (format.encoding == kWaveFloat) {
    float value;
    std::memcpy(&value, p, sizeof value);
    if (std::isnan(value)) return 0;
    return static_cast<int16_t>(
        std::lrint(std::clamp(value, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
  }
  switch (format.bits) {
    case 8:
      return static_cast<int16_t>((p[0] - 128) << 8);
    case 16:
      return static_cast<int16_t>(Read16(p));
    case 24:
      return static_cast<int16_t>(Read24(p) >> 8);
    default:
      return static_cast<int16_t>(Read32(p) >> 16);
  }
}

// One frame of three to eight channels, in the standard order (front left and right, centre,
// low frequencies, then the surrounds left and right in pairs), as a stereo pair: the centre and
// low frequencies go to both sides at half, each surround to its own side, and each side is
// scaled by what it was given so that nothing clips.
void MixDown(const uint8_t* frame, const WaveFormat& format, int16_t* stereo) {
  const size_t sampleBytes = format.bits / 8;
  float sides[2] = {}, weights[2] = {};
  for (int channel = 0; channel < format.channels; ++channel) {
    const float sample = Sample(frame + channel * sampleBytes, format);
    const bool shared = channel == 2 || channel == 3;
    for (int side = 0; side < 2; ++side) {
      const float weight = shared ? 0.5f : (channel % 2 == side ? 1.0f : 0.0f);
      sides[side] += sample * weight;
      weights[side] += weight;
    }
  }
  for (int side = 0; side < 2; ++side)
    stereo[side] = static_cast<int16_t>(std::lrint(sides[side] / weights[side]));
}

}  // namespace

std::optional<SampleSound> ReadSampleSound(const uint8_t* file, size_t size, std::string* why) {
  std::string reason;
  const std::optional<WaveLayout> layout = ReadWaveLayout(file, size, reason);
  if (layout) reason = WhyNotPlayable(*layout);
  if (!reason.empty()) {
    if (why != nullptr) *why = reason;
    return std::nullopt;
  }
  const WaveFormat& format = layout->format;
  const size_t frames = static_cast<size_t>(layout->Frames());
  const size_t sampleBytes = format.bits / 8;
  const uint8_t* data = file + layout->dataAt;
  SampleSound sound;
  sound.channels = std::min<int>(format.channels, 2);
  sound.rate = format.rate;
  const bool asStored = format.encoding == kWavePcm && format.bits <= 16 && format.channels <= 2;
  if (asStored) {
    // Built from the range, so that it holds exactly the frames and no room to spare.
    sound.bits = format.bits;
    sound.bytes = std::vector<uint8_t>(data, data + frames * sampleBytes * format.channels);
    return sound;
  }
  sound.bits = 16;
  sound.bytes.resize(frames * sound.channels * 2);
  uint8_t* out = sound.bytes.data();
  const auto put = [&out](int16_t sample) {
    const auto bits = static_cast<uint16_t>(sample);
    *out++ = static_cast<uint8_t>(bits & 0xFF);
    *out++ = static_cast<uint8_t>(bits >> 8);
  };
  for (size_t i = 0; i < frames; ++i) {
    const uint8_t* frame = data + i * sampleBytes * format.channels;
    if (format.channels <= 2) {
      for (int channel = 0; channel < format.channels; ++channel)
        put(Sample(frame + channel * sampleBytes, format));
    } else {
      int16_t stereo[2];
      MixDown(frame, format, stereo);
      put(stereo[0]);
      put(stereo[1]);
    }
  }
  return sound;
}

}  // namespace skyrift::platform
