// The audio device and its mixer: samples on numbered channels and one music track.
// Without a usable device everything here stays silent: loads give null, plays give -1. The null
// layer's output is always silent, yet keeps what a real one reports (what plays, paused or not,
// at what volume), a sample played once ending when its length has passed on the tick count.
#pragma once

#include <cstdint>
#include <string>

namespace skyrift::platform {

// The longest sample loaded, in seconds of sound: a sample is held whole as its file stores it
// (90 s of 16-bit stereo at 44.1 kHz is 16 MB; wider samples are narrowed to 16 bits). The
// game's own last a few seconds. Longer ones are refused as if they were missing.
constexpr int kMaxSampleSeconds = 90;
// The longest music, in seconds of sound. A music file is read once as it loads, to find its
// frames, then again a stretch at a time as it plays.
constexpr int kMaxMusicSeconds = 15 * 60;

struct MixerChunk;  // a sample, kept as its file stores it
struct MixerMusic;  // a music file, decoded as it plays

// Opens the output at `rate` Hz, stereo, with `channels` mixing channels of which the first
// `reserved` are never picked for a free-channel play. When the system's audio cannot be
// opened, a silent output is used instead; false only when even that fails.
bool OpenMixer(int rate, int channels, int reserved);
void CloseMixer();
bool MixerIsOpen();

// Only regular files are read (a pipe would block the loading); null when the file cannot be
// used, with the reason in LoadError.
MixerChunk* LoadChunk(const char* fileName);
void FreeChunk(MixerChunk* chunk);
// Plays on `channel`, or on a free unreserved channel when it is -1; `loop` repeats until
// halted. Returns the channel used, or -1 when nothing plays (all channels busy, no device).
int PlayChunk(int channel, MixerChunk* chunk, bool loop);
void HaltChannel(int channel);
// Channel volume 0 to 128, and pause.
void SetChannelVolume(int channel, int volume);
void PauseChannel(int channel, bool paused);
bool ChannelPaused(int channel);
bool ChannelPlaying(int channel);

// The player's master volume over the whole mix, music included: 0 (silent) to 1 (full, as
// when opened). It scales what leaves the limiter, so the balance of the sounds never changes.
void SetMasterGain(float gain);
float MasterGain();

// An MP3 file, played from the file: its frames play, and a damaged stretch between them is stepped
// over (platform/Mp3Frames.h). A file with no frames (a WAV file renamed, say) is refused.
MixerMusic* LoadMusic(const char* fileName);
// Why the last LoadChunk or LoadMusic gave null; empty when the mixer is closed, since without
// a device every load fails and that is no fault of the file.
const std::string& LoadError();
void FreeMusic(MixerMusic* music);
bool PlayMusic(MixerMusic* music, bool loop);
void HaltMusic();
// Music volume 0 to 128, and pause.
void SetMusicVolume(int volume);
int MusicVolume();
void PauseMusic(bool paused);
bool MusicPaused();
bool MusicPlaying();

}  // namespace skyrift::platform
