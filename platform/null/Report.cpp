// Reasons go to standard error; there is no debugger's output to copy them to.
#include "platform/Report.h"

#include <cstdio>

namespace skyrift::platform {

// A real system: the line where a developer looks: standard error, a debugger's output, a console.
void ReportLine(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
}

void PrintAnswer(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

void ReportGameFilesMissing() {
  ReportLine("Skyrift's files are missing from the folder it was started in");
}

}  // namespace skyrift::platform
