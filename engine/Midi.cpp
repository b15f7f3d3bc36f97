// The engine's MIDI player: one song at a time, opened on first play and closed on request or
// on any error. The game itself plays none; it only closes the device at the end.
#include "platform/Midi.h"

#include "engine/Engine.h"

namespace skyrift {

void Engine::PlayMidiFile(const char* fileName, BOOL restart) {
  if (midiDevice == 0) {
    const unsigned device = platform::OpenMidi(fileName);
    if (device == 0) return;
    midiDevice = device;
  }
  // Restarting is a rewind followed by the play; either failing closes the device.
  if (!platform::PlayMidi(midiDevice, restart != FALSE)) CloseMidi();
}

void Engine::PauseMidi() {
  if (midiDevice != 0) platform::PauseMidi(midiDevice);
}

void Engine::CloseMidi() {
  if (midiDevice == 0) return;
  platform::CloseMidi(midiDevice);
  midiDevice = 0;
}

}  // namespace skyrift
