// MIDI playback: a song that cannot be opened leaves no device behind, and one that can plays,
// pauses, resumes and closes.
#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "platform/Resources.h"

namespace skyrift {
namespace {

TEST(Midi, AMissingFileLeavesNoDeviceOpen) {
  Engine engine(platform::ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732);
  engine.PlayMidiFile("no such song.mid", TRUE);
  EXPECT_EQ(engine.GetMidiDevice(), 0u);
  engine.PlayMidiFile("no such song.mid", FALSE);
  engine.PauseMidi();
  engine.CloseMidi();
  EXPECT_EQ(engine.GetMidiDevice(), 0u);
}

}  // namespace
}  // namespace skyrift
