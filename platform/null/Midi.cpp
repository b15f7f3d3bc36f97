// No MIDI synthesiser: no song can be opened, so none ever plays.
#include "platform/Midi.h"

namespace skyrift::platform {

unsigned OpenMidi(const char*) {
  return 0;
}

bool PlayMidi(unsigned, bool) {
  return false;
}

void PauseMidi(unsigned) {}

void CloseMidi(unsigned) {}

bool MidiPlaying(unsigned) {
  return false;
}

}  // namespace skyrift::platform
