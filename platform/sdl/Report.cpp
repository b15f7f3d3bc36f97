#include "platform/Report.h"

#include <cstdio>

namespace skyrift::platform {

void ReportLine(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
}

void PrintAnswer(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

void ReportGameFilesMissing() {
  ReportLine(
      "Skyrift's files are missing: keep the skyrift program beside its sounds, music and "
      "controls.txt, or reinstall the game");
}

}  // namespace skyrift::platform
