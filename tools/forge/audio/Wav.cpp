// RIFF wave files: the writer for the game's samples and the reader for the speech synthesiser's
// output.
#include "audio/Wav.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace skyrift::forge::audio {

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

uint32_t GetU32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24;
}
uint16_t GetU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

bool WriteWav(const std::filesystem::path& file, const std::vector<double>& samples, int rate,
              WavFormat format, std::string& error) {
  const int channels = format == WavFormat::Stereo16 ? 2 : 1;
  const int bytesPerSample = format == WavFormat::Mono8 ? 1 : 2;
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * bytesPerSample);

  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes + 1);
  PutTag(out, "RIFF");
  PutU32(out, 36 + dataBytes + (dataBytes & 1));
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // uncompressed PCM
  PutU16(out, channels);
  PutU32(out, rate);
  PutU32(out, rate * channels * bytesPerSample);
  PutU16(out, channels * bytesPerSample);
  PutU16(out, bytesPerSample * 8);
  PutTag(out, "data");
  PutU32(out, dataBytes);

  // 8-bit samples get triangular dither: quiet tails then fade into a soft hiss instead of
  // turning into a gritty staircase. The seed is fixed so the bytes never change.
  Random dither(0x5EED0008u);
  for (double s : samples) {
    s = std::clamp(s, -1.0, 1.0);
    if (format == WavFormat::Mono8) {
      const double v = s * 127.0 + 128.0 + 0.5 * (dither.Uniform() - dither.Uniform());
      out.push_back(static_cast<uint8_t>(std::clamp(std::lround(v), 1l, 255l)));
    } else {
      PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * 32767.0))));
    }
  }
  if (dataBytes & 1) out.push_back(0);  // chunks are word-aligned

  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  stream.close();
  if (!stream) {
    error = "cannot write " + file.string();
    return false;
  }
  return true;
}

bool ReadWav(const std::filesystem::path& file, Mono& sound, std::string& error) {
  std::ifstream stream(file, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                   std::istreambuf_iterator<char>());
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    error = file.string() + " is not a wave file";
    return false;
  }
  int channels = 0, bits = 0, rate = 0;
  size_t pos = 12;
  while (pos + 8 <= bytes.size()) {
    const uint8_t* chunk = bytes.data() + pos;
    // The synthesiser may leave a streaming size in the header: never read past the file.
    const size_t size = std::min<size_t>(GetU32(chunk + 4), bytes.size() - pos - 8);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
      if (GetU16(chunk + 8) != 1) break;
      channels = GetU16(chunk + 10);
      rate = static_cast<int>(GetU32(chunk + 12));
      bits = GetU16(chunk + 22);
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (bits != 16 || channels < 1 || channels > 2 || rate <= 0) break;
      const size_t frames = size / (2 * channels);
      sound.rate = rate;
      sound.samples.assign(frames, 0.0);
      for (size_t i = 0; i < frames; ++i) {
        double sum = 0.0;
        for (int c = 0; c < channels; ++c) {
          sum += static_cast<int16_t>(GetU16(chunk + 8 + 2 * (i * channels + c)));
        }
        sound.samples[i] = sum / (32768.0 * channels);
      }
      return true;
    }
    pos += 8 + size + (size & 1);
  }
  error = file.string() + " is not 16-bit PCM";
  return false;
}

}  // namespace skyrift::forge::audio
