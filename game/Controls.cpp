// The players' key bindings: eighteen virtual-key codes read once from controls.txt, in a
// fixed order, and written back to the trace so a player can see what the game understood.
#include "game/Controls.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <istream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "game/Trace.h"
#include "platform/Files.h"
#include "platform/Keyboard.h"
#include "platform/Report.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

struct Binding {
  int* key;
  const char* action;  // named on standard error when its value is refused
};

// The file's order, which is also the order of the logged line.
const std::array<Binding, 18> kBindings = {{
    {&_iKeyP1Up, "player 1 up"},
    {&_iKeyP1Down, "player 1 down"},
    {&_iKeyP1Left, "player 1 left"},
    {&_iKeyP1Right, "player 1 right"},
    {&_iKeyP1Fire, "player 1 fire"},
    {&_iKeyP1Bomb, "player 1 bomb"},
    {&_iKeyP1BulletTime, "player 1 bullet time"},
    {&_iKeyP1Recharge, "player 1 recharge"},
    {&_iKeyP1Menu, "player 1 menu"},
    {&_iKeyP2Up, "player 2 up"},
    {&_iKeyP2Down, "player 2 down"},
    {&_iKeyP2Left, "player 2 left"},
    {&_iKeyP2Right, "player 2 right"},
    {&_iKeyP2Fire, "player 2 fire"},
    {&_iKeyP2Bomb, "player 2 bomb"},
    {&_iKeyP2BulletTime, "player 2 bullet time"},
    {&_iKeyP2Recharge, "player 2 recharge"},
    {&_iKeyP2Menu, "player 2 menu"},
}};

// Virtual-key codes run from 1 to 255; anything else would name a key that never goes down.
constexpr int kFirstKeyCode = 1;
constexpr int kLastKeyCode = 255;

// Notepad's "Unicode" saves UTF-16 behind a byte-order mark. The numbers are plain ASCII, so the
// text is handed on one character per code unit; anything beyond ASCII becomes '?', which no
// number contains and so ends the reading where it stands.
class Utf16AsAscii : public std::streambuf {
 public:
  Utf16AsAscii(std::streambuf* bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

 protected:
  int_type underflow() override {
    const int_type first = bytes_->sbumpc();
    const int_type second = bytes_->sbumpc();
    if (first == traits_type::eof() || second == traits_type::eof()) return traits_type::eof();
    const int unit = bigEndian_ ? (first << 8 | second) : (second << 8 | first);
    current_ = unit < 0x80 ? static_cast<char>(unit) : '?';
    setg(&current_, &current_, &current_ + 1);
    return traits_type::to_int_type(current_);
  }

 private:
  std::streambuf* bytes_;
  bool bigEndian_;
  char current_ = 0;
};

enum class Encoding { kPlain, kUtf16LittleEndian, kUtf16BigEndian };

// Reads past the byte-order mark an editor may have put first and says how the rest is encoded;
// without a mark the file is read as it stands.
Encoding SkipByteOrderMark(std::istream& file) {
  char mark[3] = {};
  file.read(mark, 3);
  const std::string head(mark, static_cast<size_t>(file.gcount()));
  file.clear();
  Encoding encoding = Encoding::kPlain;
  std::streamoff start = 0;
  if (head.rfind("\xFF\xFE", 0) == 0) {
    encoding = Encoding::kUtf16LittleEndian;
    start = 2;
  } else if (head.rfind("\xFE\xFF", 0) == 0) {
    encoding = Encoding::kUtf16BigEndian;
    start = 2;
  } else if (head == "\xEF\xBB\xBF") {
    start = 3;
  }
  file.seekg(start);
  return encoding;
}

// Skips the white space before the next value, counting the line breaks it passes.
void SkipSpace(std::istream& text, int& line) {
  for (int c = text.peek(); c != std::char_traits<char>::eof() && std::isspace(c);
       c = text.peek()) {
    if (text.get() == '\n') ++line;
  }
}

// What one file gave: the values as read, up to the first that could not be, and what the player
// is to be told about them.
struct Reading {
  std::string problem;  // why the file could not be opened; empty when it was
  std::vector<int> values;
  int keys = 0;  // values that are key codes
  std::vector<std::string> complaints;
};

Reading Read(const std::string& fileName) {
  Reading reading;
  // A pipe or a device in its place would block the opening: only a plain file is read.
  reading.problem = platform::WhyNotARegularFile(fileName);
  std::ifstream file;
  if (reading.problem.empty()) {
    file.open(platform::Utf8Path(fileName), std::ios::binary);
    if (!file) reading.problem = std::strerror(errno);
  }
  if (!reading.problem.empty()) return reading;

  const Encoding encoding = SkipByteOrderMark(file);
  Utf16AsAscii utf16(file.rdbuf(), encoding == Encoding::kUtf16BigEndian);
  std::istream text(encoding == Encoding::kPlain ? static_cast<std::streambuf*>(file.rdbuf())
                                                 : &utf16);

  // The layout over lines is free. The first value that is not a number ends the reading: it
  // and every later key keep what they had. A number that is no key code binds nothing.
  int line = 1;
  const std::string where = "Skyrift: " + fileName + " line ";
  for (size_t i = 0; i < kBindings.size(); ++i) {
    SkipSpace(text, line);
    int code = 0;
    if (!(text >> code)) {
      reading.complaints.push_back(
          where + std::to_string(line) + ": value " + std::to_string(i + 1) +
          " is missing or not a key code; it and the ones after it are not read");
      break;
    }
    reading.values.push_back(code);
    if (code >= kFirstKeyCode && code <= kLastKeyCode) {
      ++reading.keys;
    } else {
      reading.complaints.push_back(where + std::to_string(line) + ": value " +
                                   std::to_string(i + 1) + " (" + kBindings[i].action + ") is " +
                                   std::to_string(code) + ", not a key code from " +
                                   std::to_string(kFirstKeyCode) + " to " +
                                   std::to_string(kLastKeyCode) + "; that key is left unbound");
    }
  }
  return reading;
}

std::string controlsFile = "controls.txt";
std::string defaultControls;

}  // namespace

void SetControlsFile(std::string path, std::string defaultPath) {
  controlsFile = std::move(path);
  defaultControls = std::move(defaultPath);
}

void LoadControls() {
  Reading reading = Read(controlsFile);
  // A player's file that binds nothing, unreadable or not, would leave the game with no keys for
  // good: the default's are read instead, when there is one apart from it.
  const bool useDefault = reading.keys == 0 && !defaultControls.empty() &&
                          defaultControls != controlsFile &&
                          platform::WhyNotARegularFile(defaultControls).empty();
  if (useDefault) {
    platform::ReportLine(
        "Skyrift: " + controlsFile +
        (reading.problem.empty() ? " binds no key" : " cannot be used: " + reading.problem) +
        "; the default keys are read from " + defaultControls);
    reading = Read(defaultControls);
  } else if (!reading.problem.empty()) {
    platform::ReportLine("Skyrift: " + controlsFile + " cannot be used: " + reading.problem +
                         "; no key is bound");
  }
  for (const std::string& complaint : reading.complaints) platform::ReportLine(complaint);

  // The trace shows each value as read, a refused one included, so that the player sees what
  // the game understood; a refused key stays as it was.
  std::string codes;
  for (size_t i = 0; i < kBindings.size(); ++i) {
    if (i < reading.values.size()) {
      const int code = reading.values[i];
      if (code >= kFirstKeyCode && code <= kLastKeyCode) *kBindings[i].key = code;
      codes += std::to_string(code);
    } else {
      codes += std::to_string(*kBindings[i].key);
    }
  }
  if (!reading.problem.empty()) TraceLine("Unable to open controls.txt. Is the file missing?");
  TraceLine("");
  TraceLine("Controls:");
  TraceLine(codes);
  TraceLine("");
}

bool BoundToAnAction(int code) {
  for (const Binding& binding : kBindings) {
    if (*binding.key == code) return true;
  }
  return false;
}

bool PressedSinceLastFrame(int code, bool& wasDown) {
  if (BoundToAnAction(code)) {
    wasDown = false;
    return false;
  }
  const int16_t state = platform::GetAsyncKeyState(code);
  const bool down = state < 0;
  const bool pressed = (down && !wasDown) || (state & 1) != 0;
  wasDown = down;
  return pressed;
}

}  // namespace skyrift
