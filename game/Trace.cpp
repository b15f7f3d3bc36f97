#include "game/Trace.h"

#include <fstream>

namespace skyrift {

namespace {
constexpr const char* kTraceFile = "log.txt";
}

void StartTrace() { std::ofstream log(kTraceFile, std::ios::trunc); }

void TraceLine(std::string_view text) {
  std::ofstream log(kTraceFile, std::ios::app);
  log << text << '\n';
  log.flush();
}

}  // namespace skyrift
