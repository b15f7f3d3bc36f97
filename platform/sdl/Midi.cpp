// MIDI songs on SDL_mixer's music player (FluidSynth or Timidity underneath, whichever the
// mixer was built with and finds instruments for).
#include "platform/Midi.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace skyrift::platform {
namespace {

Mix_Music* song = nullptr;
unsigned songDevice = 0;  // 0 while no song is open
unsigned nextDevice = 1;
bool started = false;  // the song has been handed to the music player

bool AudioOpen() {
  return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0;
}

// Whether our song is the player's current music, playing or paused. Only songs are MIDI: the
// stage music taking the player over ends our hold on it.
bool InPlayer(unsigned device) {
  return device != 0 && device == songDevice && started && AudioOpen() && Mix_PlayingMusic() != 0 &&
         Mix_GetMusicType(nullptr) == MUS_MID;
}

}  // namespace

unsigned OpenMidi(const char* fileName) {
  if (fileName == nullptr || !AudioOpen()) return 0;
  Mix_Music* music = Mix_LoadMUS(fileName);
  if (music == nullptr) return 0;
  if (Mix_GetMusicType(music) != MUS_MID) {
    Mix_FreeMusic(music);
    return 0;
  }
  CloseMidi(songDevice);
  song = music;
  songDevice = nextDevice++;
  if (nextDevice == 0) nextDevice = 1;
  started = false;
  return songDevice;
}

bool PlayMidi(unsigned device, bool fromStart) {
  if (device == 0 || device != songDevice || !AudioOpen()) return false;
  if (!fromStart && InPlayer(device)) {
    Mix_ResumeMusic();
    return true;
  }
  // Played once, as a sequencer plays a file; starting it replaces whatever music was on.
  started = Mix_PlayMusic(song, 1) == 0;
  return started;
}

void PauseMidi(unsigned device) {
  if (InPlayer(device)) Mix_PauseMusic();
}

void CloseMidi(unsigned device) {
  if (device == 0 || device != songDevice) return;
  // Once the output is closed the mixer may have unloaded the synthesiser the song needs to
  // free itself; it is dropped instead. The game closes its song before the output.
  if (AudioOpen()) Mix_FreeMusic(song);
  song = nullptr;
  songDevice = 0;
  started = false;
}

bool MidiPlaying(unsigned device) {
  return InPlayer(device) && Mix_PausedMusic() == 0;
}

}  // namespace skyrift::platform
