// The few arguments the program takes: --help and --version answer without opening a window;
// anything else is a mistake, answered with the usage.
#pragma once

#include <string>
#include <vector>

namespace skyrift {

struct CommandLineAnswer {
  bool play = true;  // no argument: start the game
  // When not playing: 0 with the text for standard output, or 2 with the text for standard
  // error. The text's last line has no newline.
  int exitCode = 0;
  std::string text;
};

CommandLineAnswer ReadCommandLine(const std::vector<std::string>& arguments,
                                  const std::string& version);

}  // namespace skyrift
