#include "platform/MixCore.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/LittleEndian.h"
#include "platform/SoundFile.h"
#include "platform/WaveFile.h"

namespace skyrift::platform {
namespace {

// Full scale of the device's 16-bit samples, as the float mix counts it.
constexpr float kFullScale = 32768.0f;
// One stored frame per output frame, in 32.32 fixed point.
constexpr uint64_t kUnitStep = uint64_t{1} << 32;

// Channel `channel` of stored frame `at` as a 16-bit sample: 8-bit samples are unsigned around
// 128.
template <int kBits, int kChannels>
int32_t Widened(const uint8_t* bytes, size_t at, int channel) {
  const uint8_t* sample = bytes + (at * kChannels + channel) * (kBits / 8);
  if constexpr (kBits == 8) {
    return (sample[0] - 128) * 256;
  } else {
    return static_cast<int16_t>(Read16(sample));
  }
}

// Adds output frames [from, from + frames) of a pass through `sound` to `sum` at `gain`, a mono
// sample to both sides. At the output's rate each output frame is the stored one as it is.
// Away from it each lies `step` stored frames (32.32) after the one before and is interpolated
// linearly between its neighbours in 16 bits, the last frame held; the position is a multiple
// of the step from the pass's start, so long samples keep their pitch exactly.
template <int kBits, int kChannels>
void AddRun(const SampleSound& sound, uint64_t step, size_t from, size_t frames, float gain,
            float* sum) {
  const uint8_t* bytes = sound.bytes.data();
  const size_t last = sound.Frames() - 1;
  uint64_t position = uint64_t{from} * step;
  for (size_t k = 0; k < frames; ++k, position += step) {
    float heard[kChannels];
    for (int channel = 0; channel < kChannels; ++channel) {
      if (step == kUnitStep) {
        heard[channel] = static_cast<float>(Widened<kBits, kChannels>(bytes, from + k, channel));
        continue;
      }
      const auto at = static_cast<size_t>(position >> 32);
      const size_t next = at < last ? at + 1 : at;
      const auto fraction = static_cast<int64_t>((position >> 16) & 0xFFFF);
      const int64_t a = Widened<kBits, kChannels>(bytes, at, channel);
      const int64_t b = Widened<kBits, kChannels>(bytes, next, channel);
      heard[channel] = static_cast<float>(static_cast<int16_t>(a + (((b - a) * fraction) >> 16)));
    }
    sum[k * 2] += heard[0] * gain;
    sum[k * 2 + 1] += heard[kChannels - 1] * gain;
  }
}

using AddRunOf = void (*)(const SampleSound&, uint64_t, size_t, size_t, float, float*);

AddRunOf AddRunFor(const SampleSound& sound) {
  if (sound.bits == 8) return sound.channels == 2 ? AddRun<8, 2> : AddRun<8, 1>;
  return sound.channels == 2 ? AddRun<16, 2> : AddRun<16, 1>;
}

bool Mixable(const SampleSound& sound) {
  return (sound.bits == 8 || sound.bits == 16) && (sound.channels == 1 || sound.channels == 2) &&
         sound.rate > 0 && sound.Frames() > 0;
}

}  // namespace

MixerChunk* LoadMixerChunk(const char* fileName, std::string& why) {
  const std::optional<WaveLayout> layout = ReadSampleLayout(fileName, why);
  if (!layout) return nullptr;
  const auto file = ReadFileStart(fileName, layout->dataAt + layout->dataBytes, why);
  if (!file) return nullptr;
  // Read again from what was read, in case the file changed since its headers were judged.
  auto sound = ReadSampleSound(file->data(), file->size(), &why);
  if (!sound) return nullptr;
  return new MixerChunk{std::move(*sound)};
}

MixState::MixState(int channels, int reserved, int rate)
    : channels_(static_cast<size_t>(std::max(channels, 0))),
      reserved_(std::clamp(reserved, 0, std::max(channels, 0))),
      rate_(rate),
      limiter_(rate) {}

int MixState::Play(int channel, const MixerChunk* chunk, bool loop) {
  if (chunk == nullptr || !Mixable(chunk->sound) || rate_ <= 0) return -1;
  if (channel == -1) {
    for (int i = reserved_; i < Channels() && channel == -1; ++i) {
      if (channels_[i].chunk == nullptr) channel = i;
    }
  }
  if (!Valid(channel)) return -1;
  Channel& playing = channels_[channel];
  playing.chunk = chunk;
  const uint64_t rate = chunk->sound.rate;
  playing.step = (rate << 32) / static_cast<uint64_t>(rate_);
  playing.length = static_cast<size_t>(
      (uint64_t{chunk->sound.Frames()} * static_cast<uint64_t>(rate_) + rate - 1) / rate);
  playing.played = 0;
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
  for (Channel& channel : channels_) {
    if (channel.chunk == nullptr || channel.paused) continue;
    const SampleSound& sound = channel.chunk->sound;
    const AddRunOf addRun = AddRunFor(sound);
    const float gain =
        kEffectsGain * static_cast<float>(channel.volume) / (kFullVolume * kFullScale);
    for (size_t i = 0; i < frames;) {
      if (channel.played >= channel.length) {
        if (!channel.loop) {
          channel.chunk = nullptr;
          break;
        }
        channel.played = 0;
      }
      const size_t run = std::min(frames - i, channel.length - channel.played);
      addRun(sound, channel.step, channel.played, run, gain, sum + i * 2);
      i += run;
      channel.played += run;
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
