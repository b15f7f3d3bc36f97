// The mixer's arithmetic, apart from any device: numbered channels playing samples kept as their
// files store them, one music stream, and the sum of them all in 16-bit stereo that never clips.
// Every layer whose system hands it a sound device rather than a mixer uses it: its device's
// thread calls Render under the layer's own lock, and the layer's platform/Mixer.h calls land
// here.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Limiter.h"
#include "platform/Mixer.h"
#include "platform/WavDecoder.h"

namespace skyrift::platform {

// Interleaved left and right samples.
using StereoPcm = std::vector<int16_t>;

// A sample as its file stores it: widened to 16 bits, to stereo and to the output's rate only as
// it is mixed, so that it holds no more than its sound.
struct MixerChunk {
  SampleSound sound;
};

// A WAV file's sample, judged by its headers before anything more is read (only the file up to
// the end of its sound data is); null with the reason in `why` when it cannot be played.
MixerChunk* LoadMixerChunk(const char* fileName, std::string& why);

// A music stream, decoded as it plays, already in the output's format.
class MusicSource {
 public:
  virtual ~MusicSource() = default;
  // Writes up to `frames` stereo frames; fewer only at the end of a stream that does not loop.
  virtual size_t Read(int16_t* stereo, size_t frames) = 0;
};

class MixState {
 public:
  static constexpr int kFullVolume = 128;

  MixState(int channels, int reserved, int rate);

  int Channels() const { return static_cast<int>(channels_.size()); }
  // The channel used, or -1: `channel` -1 picks the first free unreserved one.
  int Play(int channel, const MixerChunk* chunk, bool loop);
  void Halt(int channel);
  // Halts every channel playing `chunk`, before it is freed.
  void Forget(const MixerChunk* chunk);
  void SetVolume(int channel, int volume);
  void Pause(int channel, bool paused);
  bool Playing(int channel) const;
  bool Paused(int channel) const;

  // `owner` names the stream for Forget; null halts the music.
  void PlayMusic(const void* owner, std::unique_ptr<MusicSource> source);
  void ForgetMusic(const void* owner);
  void SetMusicVolume(int volume);
  int MusicVolume() const { return musicVolume_; }
  void PauseMusic(bool paused) { musicPaused_ = paused; }
  bool MusicPaused() const { return musicPaused_; }
  bool MusicPlaying() const { return music_ != nullptr; }

  // Mixes the next `frames` stereo frames into `out`, moving every voice on. As on every
  // platform, samples play at kEffectsGain of their level, the music at its own, and the sum
  // goes through the shared limiter, so the output never clips.
  void Render(int16_t* out, size_t frames);
  // Adds the channels' next `frames` stereo frames, at kEffectsGain of their level, to a float
  // mix whose full scale is 1, moving them on: for a system that mixes the music itself and
  // limits the sum.
  void AddVoices(float* sum, size_t frames);
  // The player's master volume, 0 to 1, over what leaves the limiter: the sounds keep their
  // balance beneath it.
  void SetMasterGain(float gain) { masterGain_ = std::clamp(gain, 0.0f, 1.0f); }
  float MasterGain() const { return masterGain_; }

 private:
  struct Channel {
    const MixerChunk* chunk = nullptr;
    // The sample's frames per output frame, in 32.32 fixed point, and its length in output
    // frames; `played` counts the output frames of the current pass.
    uint64_t step = 0;
    size_t length = 0;
    size_t played = 0;
    bool loop = false;
    bool paused = false;
    int volume = kFullVolume;
  };
  bool Valid(int channel) const { return channel >= 0 && channel < Channels(); }

  std::vector<Channel> channels_;
  int reserved_;
  int rate_;
  Limiter limiter_;
  std::vector<float> sum_;
  std::vector<int16_t> musicBuffer_;
  std::unique_ptr<MusicSource> music_;
  const void* musicOwner_ = nullptr;
  int musicVolume_ = kFullVolume;
  float masterGain_ = 1.0f;
  bool musicPaused_ = false;
};

}  // namespace skyrift::platform
