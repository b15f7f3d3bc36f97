// Feeds arbitrary bytes to the sound-file readers both builds share: the WAV layout reader with
// the reading of a sample's sound, and the MP3 frame scanner with the joining of the frames a
// decoder is fed. Besides the sanitizers' checks, every frame and the sound data must lie inside
// the bytes given, and a sample read holds every whole frame of its data.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/Mp3Frames.h"
#include "platform/WavDecoder.h"
#include "platform/WaveFile.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace skyrift::platform;
  // Exact-size copies, so that reading one byte past the file is caught.
  const std::vector<uint8_t> file(data, data + size);
  std::string why;

  if (const std::optional<WaveLayout> wave = ReadWaveLayout(file.data(), file.size(), why)) {
    Require(wave->dataAt <= size && wave->dataBytes <= size - wave->dataAt);
    Require(wave->format.rate > 0 && wave->format.channels > 0);
    WhySampleTooLong(*wave);
    if (const std::optional<SampleSound> sound = ReadSampleSound(file.data(), file.size()))
      Require(sound->Frames() == wave->Frames() && sound->Frames() > 0);
  } else {
    Require(!why.empty());
  }

  why.clear();
  if (const std::optional<Mp3Frames> frames = ScanMp3(file.data(), file.size(), why)) {
    size_t joined = 0;
    for (const Mp3Frame& frame : frames->audio) {
      Require(frame.bytes > 0 && frame.at <= size && frame.bytes <= size - frame.at);
      joined += frame.bytes;
    }
    if (frames->info) joined += frames->info->bytes;
    JoinedMp3 music(ReadFromMemory(file.data(), file.size()), *frames);
    std::vector<uint8_t> read(joined);
    Require(music.Size() == joined && music.Read(0, read.data(), joined) == joined);
  } else {
    Require(!why.empty());
  }
  return 0;
}
