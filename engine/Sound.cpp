// The sound layer on the platform mixer. The music stream stands for "channel 0": its volume
// and pause are the music's; every other channel number is a mixing channel of its own.
// The layer keeps every sample and stream it hands out, so that closing the library frees
// whatever the game did not, and a handle freed once is never freed again.
#include "engine/Sound.h"

#include <algorithm>
#include <memory>
#include <string>

#include "platform/Mixer.h"
#include "platform/Report.h"

namespace skyrift {

struct Sample {
  Sample(platform::MixerChunk* decoded, bool repeats) : chunk(decoded), loops(repeats) {}
  platform::MixerChunk* chunk;
  bool loops;
  ~Sample() { platform::FreeChunk(chunk); }
  Sample(const Sample&) = delete;
  Sample& operator=(const Sample&) = delete;
};

struct Stream {
  Stream(platform::MixerMusic* file, bool repeats) : music(file), loops(repeats) {}
  platform::MixerMusic* music;
  bool loops;
  ~Stream() { platform::FreeMusic(music); }
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
};

namespace {

constexpr int kReservedChannels = 3;  // 0 music, 1 bullet time, 2 unused
constexpr int kLayerVolumeMax = 255;
constexpr int kMixerVolumeMax = 128;
constexpr size_t kRequestsKept = 4096;

std::vector<std::unique_ptr<Sample>> samples;
std::vector<std::unique_ptr<Stream>> streams;
std::vector<PlayRequest> requests;

template <typename T>
bool Release(std::vector<std::unique_ptr<T>>& owned, const T* handle) {
  const auto found =
      std::find_if(owned.begin(), owned.end(),
                   [handle](const std::unique_ptr<T>& item) { return item.get() == handle; });
  if (found == owned.end()) return false;
  owned.erase(found);
  return true;
}

void Remember(int channel, const Sample* sample, int playedOn) {
  // A long session plays tens of thousands of shots; the oldest requests are of no use.
  if (requests.size() >= kRequestsKept)
    requests.erase(requests.begin(), requests.begin() + kRequestsKept / 2);
  requests.push_back(PlayRequest{channel, sample, playedOn});
}

// A file the game cannot use changes nothing on screen; the player learns why here.
void ReportUnusable(const char* kind, const char* fileName) {
  const std::string& reason = platform::LoadError();
  if (!reason.empty()) {
    platform::ReportLine(std::string("Skyrift: ") + kind + " \"" + fileName +
                         "\" cannot be used: " + reason);
  }
}

int ToMixerVolume(int volume) {
  return std::clamp(volume, 0, kLayerVolumeMax) * kMixerVolumeMax / kLayerVolumeMax;
}

}  // namespace

BOOL StartSoundLibrary(int rate, int channels) {
  return platform::OpenMixer(rate, channels, kReservedChannels) ? TRUE : FALSE;
}

void CloseSoundLibrary() {
  // Samples and streams go before the device: freeing one silences it first.
  streams.clear();
  samples.clear();
  platform::CloseMixer();
}

Sample* LoadSample(const char* fileName, unsigned mode) {
  platform::MixerChunk* chunk = platform::LoadChunk(fileName);
  if (chunk == nullptr) {
    ReportUnusable("sample", fileName);
    return nullptr;
  }
  samples.push_back(std::make_unique<Sample>(chunk, (mode & kSoundLoop) != 0));
  return samples.back().get();
}

void FreeSample(Sample* sample) {
  if (sample != nullptr) Release(samples, sample);
}

int PlaySample(int channel, Sample* sample) {
  const int playedOn =
      sample != nullptr ? platform::PlayChunk(channel, sample->chunk, sample->loops) : -1;
  Remember(channel, sample, playedOn);
  return playedOn;
}

void StopChannel(int channel) {
  if (channel == kMusicChannel) {
    platform::HaltMusic();
  } else {
    platform::HaltChannel(channel);
  }
}

Stream* OpenStream(const char* fileName, unsigned mode) {
  platform::MixerMusic* music = platform::LoadMusic(fileName);
  if (music == nullptr) {
    ReportUnusable("music", fileName);
    return nullptr;
  }
  streams.push_back(std::make_unique<Stream>(music, (mode & kSoundLoop) != 0));
  return streams.back().get();
}

void PlayStream(int /*channel: the music is always channel 0*/, Stream* stream) {
  if (stream != nullptr) platform::PlayMusic(stream->music, stream->loops);
}

void SetMasterGain(float gain) {
  platform::SetMasterGain(gain);
}

void SetChannelVolume(int channel, int volume) {
  if (channel == kMusicChannel) {
    platform::SetMusicVolume(ToMixerVolume(volume));
  } else {
    platform::SetChannelVolume(channel, ToMixerVolume(volume));
  }
}

void SetChannelPaused(int channel, BOOL paused) {
  if (channel == kMusicChannel) {
    platform::PauseMusic(paused != FALSE);
  } else {
    platform::PauseChannel(channel, paused != FALSE);
  }
}

void CloseStream(Stream* stream) {
  if (stream != nullptr) Release(streams, stream);
}

const std::vector<PlayRequest>& PlayRequests() {
  return requests;
}

void ClearPlayRequests() {
  requests.clear();
}

}  // namespace skyrift
