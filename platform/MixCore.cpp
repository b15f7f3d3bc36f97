#include "platform/MixCore.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/SoundFile.h"
#include "platform/WaveFile.h"

namespace skyrift::platform {
namespace {

// Full scale of the device's 16-bit samples, as the float mix counts it.
constexpr float kFullScale = 32768.0f;

}  // namespace

MixerChunk* LoadMixerChunk(const char* fileName, int outputRate, std::string& why) {
  const std::optional<WaveLayout> layout = ReadSampleLayout(fileName, why);
  if (!layout) return nullptr;
  const auto file = ReadFileStart(fileName, layout->dataAt + layout->dataBytes, why);
  if (!file) return nullptr;
  auto pcm = DecodeWav(file->data(), file->size(), outputRate, &why);
  if (!pcm) return nullptr;
  return new MixerChunk{std::move(*pcm)};
}

MixState::MixState(int channels, int reserved, int rate)
    : channels_(static_cast<size_t>(std::max(channels, 0))),
      reserved_(std::clamp(reserved, 0, std::max(channels, 0))),
      limiter_(rate) {}

int MixState::Play(int channel, const MixerChunk* chunk, bool loop) {
  if (chunk == nullptr || chunk->pcm.empty()) return -1;
  if (channel == -1) {
    for (int i = reserved_; i < Channels() && channel == -1; ++i) {
      if (channels_[i].chunk == nullptr) channel = i;
    }
  }
  if (!Valid(channel)) return -1;
  Channel& playing = channels_[channel];
  playing.chunk = chunk;
  playing.position = 0;
  playing.loop = loop;
  playing.paused = false;
  return channel;
}

void MixState::Halt(int channel) {
  if (Valid(channel)) channels_[channel].chunk = nullptr;
}

void MixState::Forget(const MixerChunk* chunk) {
  for (Channel& channel : channels_) {
    if (channel.chunk == chunk) channel.chunk = nullptr;
  }
}

void MixState::SetVolume(int channel, int volume) {
  if (Valid(channel)) channels_[channel].volume = std::clamp(volume, 0, kFullVolume);
}

void MixState::Pause(int channel, bool paused) {
  if (Valid(channel)) channels_[channel].paused = paused;
}

bool MixState::Playing(int channel) const {
  return Valid(channel) && channels_[channel].chunk != nullptr;
}

bool MixState::Paused(int channel) const {
  return Valid(channel) && channels_[channel].paused;
}

void MixState::PlayMusic(const void* owner, std::unique_ptr<MusicSource> source) {
  music_ = std::move(source);
  musicOwner_ = music_ != nullptr ? owner : nullptr;
  musicPaused_ = false;
}

void MixState::ForgetMusic(const void* owner) {
  if (owner != nullptr && owner == musicOwner_) PlayMusic(nullptr, nullptr);
}

void MixState::SetMusicVolume(int volume) {
  musicVolume_ = std::clamp(volume, 0, kFullVolume);
}

void MixState::AddVoices(float* sum, size_t frames) {
  const size_t samples = frames * 2;
  for (Channel& channel : channels_) {
    if (channel.chunk == nullptr || channel.paused) continue;
    const StereoPcm& pcm = channel.chunk->pcm;
    const float gain =
        kEffectsGain * static_cast<float>(channel.volume) / (kFullVolume * kFullScale);
    for (size_t i = 0; i < samples;) {
      if (channel.position >= pcm.size()) {
        if (!channel.loop) {
          channel.chunk = nullptr;
          break;
        }
        channel.position = 0;
      }
      const size_t run = std::min(samples - i, pcm.size() - channel.position);
      for (size_t k = 0; k < run; ++k) {
        sum[i + k] += static_cast<float>(pcm[channel.position + k]) * gain;
      }
      i += run;
      channel.position += run;
    }
  }
}

void MixState::Render(int16_t* out, size_t frames) {
  const size_t samples = frames * 2;
  sum_.assign(samples, 0.0f);
  AddVoices(sum_.data(), frames);
  if (music_ != nullptr && !musicPaused_) {
    musicBuffer_.resize(samples);
    const size_t got = music_->Read(musicBuffer_.data(), frames);
    const float gain = static_cast<float>(musicVolume_) / (kFullVolume * kFullScale);
    for (size_t k = 0; k < got * 2; ++k) sum_[k] += static_cast<float>(musicBuffer_[k]) * gain;
    if (got < frames) PlayMusic(nullptr, nullptr);  // the stream has ended
  }
  limiter_.Process(sum_.data(), frames);
  // The limiter keeps every sample inside full scale, so the conversion never clamps.
  const float scale = kFullScale * masterGain_;
  for (size_t k = 0; k < samples; ++k) out[k] = static_cast<int16_t>(std::lrint(sum_[k] * scale));
}

}  // namespace skyrift::platform
