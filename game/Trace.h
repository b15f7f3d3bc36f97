// The trace file log.txt: one line per step, each written with the file opened, flushed and
// closed again, so the story survives however the run ends.
#pragma once

#include <string>
#include <string_view>

namespace skyrift {

// Where the log goes (UTF-8; log.txt in the working folder unless told); empty keeps none.
void SetTraceFile(std::string path);
// Starts log.txt afresh for this run.
void StartTrace();
// Appends one line. A log that cannot be written never stops the game.
void TraceLine(std::string_view text);

}  // namespace skyrift
