// The engine's sound layer: samples played on any free channel or on a fixed one, and one
// looping music stream standing on "channel 0" with its own volume and pause.
// Channel 0 is the music, 1 the looping bullet-time sound, 2 is reserved; every other
// sample goes to whichever of the remaining channels is free.
#pragma once

#include <vector>

#include "platform/Types.h"

namespace skyrift {

struct Sample;  // a loaded sound file
struct Stream;  // the streamed music

// Load modes, combined with |.
constexpr unsigned kSoundLoop = 0x02;
constexpr unsigned kSound8Bit = 0x08;
constexpr unsigned kSound16Bit = 0x10;
constexpr unsigned kSoundMono = 0x20;
constexpr unsigned kSoundStereo = 0x40;

constexpr int kAnyFreeChannel = -1;
constexpr int kMusicChannel = 0;
constexpr int kBulletTimeChannel = 1;

// Starts output at `rate` Hz with `channels` mixing channels and reserves channels 0, 1 and 2.
// Without a sound device the game runs silent: FALSE then, and every later call plays nothing.
BOOL StartSoundLibrary(int rate, int channels);
// Stops all sound, frees every sample and stream still loaded and shuts the library down.
void CloseSoundLibrary();

// A sample from a file in the working directory; null when it cannot be read. A mode with
// kSoundLoop makes the sample repeat until its channel is stopped.
Sample* LoadSample(const char* fileName, unsigned mode);
// Frees a loaded sample (and silences it); null and unknown handles are ignored.
void FreeSample(Sample* sample);
// Plays a sample on `channel`, or on a free unreserved one for kAnyFreeChannel. Returns the
// channel used, or -1 (a null sample plays nothing, nor does a request when every free
// channel is busy).
int PlaySample(int channel, Sample* sample);
void StopChannel(int channel);

// The music stream of a file; null when it cannot be opened.
Stream* OpenStream(const char* fileName, unsigned mode);
// Starts the stream as the music (its channel is always the music channel, 0).
void PlayStream(int channel, Stream* stream);
// Volume 0 to 255, and pause, of a channel (channel 0 is the music).
void SetChannelVolume(int channel, int volume);
void SetChannelPaused(int channel, BOOL paused);
// Frees a stream (and stops it if it is the music); null and unknown handles are ignored.
void CloseStream(Stream* stream);
// The player's master volume over everything, 0 (silent) to 1 (full); channel volumes keep
// their balance beneath it.
void SetMasterGain(float gain);

// Every PlaySample call since the last ClearPlayRequests, oldest first: the channel asked for
// (kAnyFreeChannel or a number), the sample, and the channel it landed on (-1: none). Kept so
// that tests can hear what the game asked for; only the most recent few thousand are kept.
struct PlayRequest {
  int channel;
  const Sample* sample;
  int playedOn;
};
const std::vector<PlayRequest>& PlayRequests();
void ClearPlayRequests();

}  // namespace skyrift
