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

}  // namespace skyrift::platform
