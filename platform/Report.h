// The one-line reasons a player is told, such as a sample that cannot be used or why the game
// cannot start: on standard error and, where the system keeps one, in the debugger's output.
// Each line is written whole, without its newline.
#pragma once

#include <string>

namespace skyrift::platform {

void ReportLine(const std::string& line);
// An answer the player asked for (the usage, the version), whole, on standard output.
void PrintAnswer(const std::string& text);

}  // namespace skyrift::platform
