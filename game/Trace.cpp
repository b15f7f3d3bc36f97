#include "game/Trace.h"

#include <string>
#include <utility>

#include "platform/Files.h"
#include "platform/Report.h"

namespace skyrift {

namespace {

std::string traceFile = "log.txt";  // empty: no log is kept
bool failureTold = false;           // the player hears of a failing log once, not every line

void Write(std::string_view text, bool afresh) {
  if (traceFile.empty()) return;
  const std::string problem = platform::AppendText(traceFile, text, afresh);
  if (!problem.empty() && !failureTold) {
    platform::ReportLine("Skyrift: cannot write \"" + traceFile + "\": " + problem +
                         "; the log misses lines");
  }
  failureTold = !problem.empty();
}

}  // namespace

void SetTraceFile(std::string path) {
  traceFile = std::move(path);
  failureTold = false;
}

void StartTrace() {
  Write("", true);
}

void TraceLine(std::string_view text) {
  Write(std::string(text) + '\n', false);
}

}  // namespace skyrift
