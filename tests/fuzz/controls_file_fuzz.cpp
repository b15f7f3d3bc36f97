// Feeds arbitrary bytes to the controls reader as a player's controls.txt, with the shipped
// bindings as the default behind it. Besides the sanitizers' checks: every key ends bound to a
// key code or unbound, at least one key is bound (a file that binds none gives way to the
// default), and the trace holds the values in one line of digits and signs.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "game/Controls.h"
#include "game/Trace.h"
#include "tests/Keys.h"
#include "tests/TempFolder.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace skyrift;
  static const testing::TempFolder folder("skyrift-controls-fuzz");
  static const std::string controls = (folder.Path() / "controls.txt").string();
  static const std::string log = (folder.Path() / "log.txt").string();
  static const std::string defaults = (folder.Path() / "default.txt").string();
  static const bool written = [] {
    std::ofstream(defaults) << "38 40 37 39 32 90 88 67 9 87 83 65 68 70 71 84 82 81\n";
    SetControlsFile(controls, defaults);
    SetTraceFile(log);
    return true;
  }();
  (void)written;

  std::ofstream(controls, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  for (int* key : testing::kKeyGlobals) *key = 0;
  StartTrace();
  LoadControls();

  bool anyBound = false;
  for (const int* key : testing::kKeyGlobals) {
    Require(*key >= 0 && *key <= 255);
    anyBound = anyBound || *key != 0;
  }
  Require(anyBound);
  const std::vector<std::string> lines = testing::FileLines(log);
  Require(lines.size() == 4 && lines[1] == "Controls:");
  Require(!lines[2].empty() && lines[2].find_first_not_of("-0123456789") == std::string::npos);
  return 0;
}
