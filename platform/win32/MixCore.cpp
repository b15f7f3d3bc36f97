#include "platform/win32/MixCore.h"

#include <algorithm>

namespace skyrift::platform {
namespace {

constexpr int64_t kHeadroom = 45875;  // 0.7 in 16.16 fixed point: about 3 dB
constexpr int64_t kFull = 32767;
constexpr int64_t kKnee = kFull * 3 / 4;
constexpr int64_t kRange = kFull - kKnee;

}  // namespace

int16_t LimitSample(int32_t sum) {
  // Worked on the magnitude, rounded, so that a sound and its mirror image come out alike.
  const int64_t magnitude = ((sum < 0 ? -int64_t{sum} : int64_t{sum}) * kHeadroom + 0x8000) >> 16;
  if (magnitude <= kKnee) return static_cast<int16_t>(sum < 0 ? -magnitude : magnitude);
  // Above the knee the excess e becomes range * e / (e + range): slope 1 at the knee, and
  // always short of the range however loud the sum.
  const int64_t excess = magnitude - kKnee;
  const int64_t limited = kKnee + kRange * excess / (excess + kRange);
  return static_cast<int16_t>(sum < 0 ? -limited : limited);
}

MixState::MixState(int channels, int reserved)
    : channels_(static_cast<size_t>(std::max(channels, 0))),
      reserved_(std::clamp(reserved, 0, std::max(channels, 0))) {}

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

void MixState::PlayMusic(const void* owner, std::unique_ptr<MusicSource> source) {
  music_ = std::move(source);
  musicOwner_ = music_ != nullptr ? owner : nullptr;
  musicPaused_ = false;
}

void MixState::ForgetMusic(const void* owner) {
  if (owner != nullptr && owner == musicOwner_) PlayMusic(nullptr, nullptr);
}

void MixState::SetMusicVolume(int volume) { musicVolume_ = std::clamp(volume, 0, kFullVolume); }

void MixState::Render(int16_t* out, size_t frames) {
  const size_t samples = frames * 2;
  sum_.assign(samples, 0);
  for (Channel& channel : channels_) {
    if (channel.chunk == nullptr || channel.paused) continue;
    const StereoPcm& pcm = channel.chunk->pcm;
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
        sum_[i + k] += pcm[channel.position + k] * channel.volume / kFullVolume;
      }
      i += run;
      channel.position += run;
    }
  }
  if (music_ != nullptr && !musicPaused_) {
    musicBuffer_.resize(samples);
    const size_t got = music_->Read(musicBuffer_.data(), frames);
    for (size_t k = 0; k < got * 2; ++k) sum_[k] += musicBuffer_[k] * musicVolume_ / kFullVolume;
    if (got < frames) PlayMusic(nullptr, nullptr);  // the stream has ended
  }
  for (size_t k = 0; k < samples; ++k) out[k] = LimitSample(sum_[k]);
}

}  // namespace skyrift::platform
