// Reasons go to standard error; there is no debugger's output to copy them to.
#include "platform/Report.h"

#include <cstdio>

namespace skyrift::platform {

// A real system: the line where a developer looks: standard error, a debugger's output, a console.
void ReportLine(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace skyrift::platform
