// The one-line reasons a player is told, such as a sample that cannot be used or why the game
// cannot start: on standard error and, where the system keeps one, in the debugger's output.
// Each line is written whole, without its newline.
#pragma once

#include <string>

namespace skyrift::platform {

void ReportLine(const std::string& line);
// An answer the player asked for (the usage, the version), whole, on standard output.
void PrintAnswer(const std::string& text);

// Tells the player, where the player will see it, that the game's own files are not beside the
// program and how to put that right: in a message box on Windows, whose games are started from
// Explorer with no console; in one line on standard error elsewhere.
void ReportGameFilesMissing();

}  // namespace skyrift::platform
