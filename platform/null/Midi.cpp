// No MIDI synthesiser: no song can be opened, so none ever plays.
#include "platform/Midi.h"

namespace skyrift::platform {

// A real system: open the file on the system's sequencer; a non-zero id, or 0 when it cannot.
unsigned OpenMidi(const char*) {
  return 0;
}

// A real system: play it from the start (from where it paused when resuming).
bool PlayMidi(unsigned, bool) {
  return false;
}

// A real system: pause it where it is.
void PauseMidi(unsigned) {}

// A real system: stop it and free the device.
void CloseMidi(unsigned) {}

// A real system: whether it still sounds.
bool MidiPlaying(unsigned) {
  return false;
}

}  // namespace skyrift::platform
