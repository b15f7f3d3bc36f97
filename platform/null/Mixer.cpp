// Silent sound: every channel and the music keep the state a real mixer would report (what is
// playing, paused, its volume), and a sample played once ends when its length has passed on the
// tick count, which tests may drive. Files are read as the real layers read them, so a load
// fails here where it fails there.
#include "platform/Mixer.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Mp3Frames.h"
#include "platform/WaveFile.h"

namespace skyrift::platform {

struct MixerChunk {
  uint32_t lengthMs = 0;
};

struct MixerMusic {
  uint32_t lengthMs = 0;
};

namespace {

constexpr int kMaxVolume = 128;

struct Channel {
  const MixerChunk* chunk = nullptr;  // null while silent
  bool loop = false;
  bool paused = false;
  uint32_t startedAt = 0;
  uint32_t pausedAt = 0;
  int volume = kMaxVolume;
};

struct Music {
  const MixerMusic* music = nullptr;
  bool loop = false;
  bool paused = false;
  uint32_t startedAt = 0;
  uint32_t pausedAt = 0;
  int volume = kMaxVolume;
};

bool open = false;
int reservedCount = 0;
std::vector<Channel> channels;
Music music;
std::string loadError;
float masterGain = 1.0f;

uint32_t Milliseconds(double seconds) {
  return static_cast<uint32_t>(seconds * 1000.0);
}

// Whether a sound started at `startedAt` (and paused at `pausedAt` when `paused`) is still
// sounding: a looping one always is, a one-shot one until its length has passed.
bool StillSounding(uint32_t lengthMs, bool loop, bool paused, uint32_t startedAt,
                   uint32_t pausedAt) {
  if (loop) return true;
  const uint32_t now = paused ? pausedAt : GetTickCount();
  return TicksBetween(startedAt, now) < lengthMs;
}

// Forgets what has finished, as a real mixer frees a channel whose sample ran out.
void SettleChannel(Channel& channel) {
  if (channel.chunk != nullptr &&
      !StillSounding(channel.chunk->lengthMs, channel.loop, channel.paused, channel.startedAt,
                     channel.pausedAt)) {
    channel.chunk = nullptr;
    channel.paused = false;
  }
}

void SettleMusic() {
  if (music.music != nullptr && !StillSounding(music.music->lengthMs, music.loop, music.paused,
                                               music.startedAt, music.pausedAt)) {
    music.music = nullptr;
    music.paused = false;
  }
}

Channel* ValidChannel(int channel) {
  if (!open || channel < 0 || channel >= static_cast<int>(channels.size())) return nullptr;
  SettleChannel(channels[channel]);
  return &channels[channel];
}

// A paused sound's clock stands still: resuming moves its start on by the time it was paused.
template <typename Sound>
void Pause(Sound& sound, bool paused) {
  if (paused == sound.paused) return;
  const uint32_t now = GetTickCount();
  if (paused) {
    sound.pausedAt = now;
  } else {
    sound.startedAt += TicksBetween(sound.pausedAt, now);
  }
  sound.paused = paused;
}

}  // namespace

// A real system: open the sound device at `rate`, stereo, with `channelCount` channels, the first
// `reserved` kept for PlayChunk on a named channel; mix with headroom and the shared Limiter. True
// without a device too (silent).
bool OpenMixer(int /*rate*/, int channelCount, int reserved) {
  if (open) return true;
  open = true;
  channels.assign(static_cast<size_t>(std::max(channelCount, 0)), Channel{});
  reservedCount = std::clamp(reserved, 0, static_cast<int>(channels.size()));
  music = Music{};
  return true;
}

// A real system: stop everything and close the device.
void CloseMixer() {
  open = false;
  channels.clear();
  music = Music{};
}

// A real system: whether OpenMixer succeeded and CloseMixer has not run.
bool MixerIsOpen() {
  return open;
}

// A real system: read the WAV file through the shared reader (WaveFile) and keep its frames; null
// with LoadError set on any fault.
MixerChunk* LoadChunk(const char* fileName) {
  loadError.clear();
  if (!open || fileName == nullptr) return nullptr;
  const std::optional<WaveLayout> layout = ReadSampleLayout(fileName, loadError);
  if (!layout) return nullptr;
  return new MixerChunk{Milliseconds(layout->Seconds())};
}

// A real system: silence the channels playing it, then free it.
void FreeChunk(MixerChunk* chunk) {
  if (chunk == nullptr) return;
  // A sample freed while it plays is silenced first.
  for (Channel& channel : channels) {
    if (channel.chunk == chunk) channel = Channel{nullptr, false, false, 0, 0, channel.volume};
  }
  delete chunk;
}

// A real system: play on `channel`, or on the first free unreserved one for -1; the channel, or -1.
int PlayChunk(int channel, MixerChunk* chunk, bool loop) {
  if (chunk == nullptr || !open) return -1;
  if (channel == -1) {
    for (int free = reservedCount; free < static_cast<int>(channels.size()); ++free) {
      if (ValidChannel(free)->chunk == nullptr) {
        channel = free;
        break;
      }
    }
  }
  Channel* playing = ValidChannel(channel);
  if (playing == nullptr) return -1;
  *playing = Channel{chunk, loop, false, GetTickCount(), 0, playing->volume};
  return channel;
}

// A real system: stop the channel.
void HaltChannel(int channel) {
  if (Channel* halted = ValidChannel(channel)) {
    halted->chunk = nullptr;
    halted->paused = false;
  }
}

// A real system: the channel's volume, 0 to kMaxVolume.
void SetChannelVolume(int channel, int volume) {
  if (Channel* set = ValidChannel(channel)) set->volume = std::clamp(volume, 0, kMaxVolume);
}

// A real system: pause or resume the channel where it is.
void PauseChannel(int channel, bool paused) {
  Channel* target = ValidChannel(channel);
  if (target != nullptr && target->chunk != nullptr) Pause(*target, paused);
}

// A real system: whether the channel is paused.
bool ChannelPaused(int channel) {
  const Channel* asked = ValidChannel(channel);
  return asked != nullptr && asked->paused;
}

// A real system: whether the channel still sounds.
bool ChannelPlaying(int channel) {
  const Channel* asked = ValidChannel(channel);
  return asked != nullptr && asked->chunk != nullptr;
}

// A real system: read the MP3 file through the shared reader (Mp3Frames) and decode it as the
// system can; null with LoadError set on any fault.
MixerMusic* LoadMusic(const char* fileName) {
  loadError.clear();
  if (!open || fileName == nullptr) return nullptr;
  const std::unique_ptr<JoinedMp3> frames = OpenMp3File(fileName, loadError);
  if (frames == nullptr) return nullptr;
  return new MixerMusic{Milliseconds(frames->Frames().Seconds())};
}

// A real system: why the last load failed.
const std::string& LoadError() {
  return loadError;
}

// A real system: stop it if it plays, then free it.
void FreeMusic(MixerMusic* freed) {
  if (freed == nullptr) return;
  if (music.music == freed) HaltMusic();
  delete freed;
}

// A real system: stream it from the start, looping without a gap when asked.
bool PlayMusic(MixerMusic* played, bool loop) {
  if (!open || played == nullptr) return false;
  music = Music{played, loop, false, GetTickCount(), 0, music.volume};
  return true;
}

// A real system: stop the music.
void HaltMusic() {
  music.music = nullptr;
  music.paused = false;
}

// A real system: the music's volume, 0 to kMaxVolume.
void SetMusicVolume(int volume) {
  if (open) music.volume = std::clamp(volume, 0, kMaxVolume);
}

// A real system: the music's volume.
int MusicVolume() {
  return open ? music.volume : 0;
}

// A real system: pause or resume the music.
void PauseMusic(bool paused) {
  SettleMusic();
  if (open && music.music != nullptr) Pause(music, paused);
}

// A real system: whether the music is paused.
bool MusicPaused() {
  SettleMusic();
  return open && music.paused;
}

// A real system: whether the music sounds.
bool MusicPlaying() {
  SettleMusic();
  return open && music.music != nullptr;
}

void SetMasterGain(float gain) {
  masterGain = std::clamp(gain, 0.0f, 1.0f);
}

float MasterGain() {
  return masterGain;
}

}  // namespace skyrift::platform
