#include "game/Trace.h"

#include <fstream>
#include <utility>

#include "platform/Files.h"

namespace skyrift {

namespace {
std::string traceFile = "log.txt";  // empty: no log is kept
}

void SetTraceFile(std::string path) {
  traceFile = std::move(path);
}

void StartTrace() {
  if (!traceFile.empty()) std::ofstream log(platform::Utf8Path(traceFile), std::ios::trunc);
}

void TraceLine(std::string_view text) {
  if (traceFile.empty()) return;
  std::ofstream log(platform::Utf8Path(traceFile), std::ios::app);
  log << text << '\n';
  log.flush();
}

}  // namespace skyrift
