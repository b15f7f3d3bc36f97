// Drives the real game executable in a real X server (under xvfb-run): starts it in a fresh
// copy of the game folder, finds and focuses its window, holds keys, grabs the window's pixels
// and closes it with SIGTERM as a window manager would.
//
// The game runs in real time beside whatever else the machine is doing, so nothing here waits a
// fixed time for it: each step waits for what it looks for (the window, a line of the log, a
// picture), looking again every few milliseconds, and gives up only after a long deadline.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "../TempFolder.h"
#include "XServer.h"

namespace skyrift::e2e {

namespace fs = std::filesystem;

inline std::string Shell(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe) != nullptr) output += buffer.data();
    pclose(pipe);
  }
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return output;
}

using Clock = std::chrono::steady_clock;

// How long a step waits for the game before it fails: far more than the game ever needs, so
// that a machine busy with builds makes a test slower, never red.
constexpr std::chrono::seconds kPatience{60};

inline void Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

inline double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Looks at `done` every few milliseconds, so that waiting costs the idle machine nothing, until
// it holds or `patience` has passed: whether it held.
template <typename Condition>
bool WaitFor(Condition done, Clock::duration patience = kPatience) {
  for (const auto until = Clock::now() + patience;;) {
    if (done()) return true;
    if (Clock::now() >= until) return false;
    Sleep(15);
  }
}

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// A rectangle of the window, right- and bottom-exclusive.
struct Box {
  int left, top, right, bottom;
};

// One grab of the window, or of a rectangle of it: pixels of red, green, blue, addressed by
// where they are in the window. A pixel outside the grab has no colour (-1): it matches none.
// Grabbing only what a check looks at keeps each look short, so that a test keeps up with the
// game on a busy machine.
class Screenshot {
 public:
  Screenshot(const Box& area, std::vector<unsigned char> bytes)
      : area_(area), bytes_(std::move(bytes)) {}
  int Width() const { return area_.right - area_.left; }
  int Height() const { return area_.bottom - area_.top; }
  bool Valid() const { return bytes_.size() == static_cast<size_t>(Width()) * Height() * 3; }
  Rgb At(int x, int y) const {
    if (x < area_.left || x >= area_.right || y < area_.top || y >= area_.bottom || !Valid()) {
      return Rgb{-1, -1, -1};
    }
    const size_t i = (static_cast<size_t>(y - area_.top) * Width() + (x - area_.left)) * 3;
    return Rgb{bytes_[i], bytes_[i + 1], bytes_[i + 2]};
  }

 private:
  Box area_;
  std::vector<unsigned char> bytes_;
};

// Waits up to `patience` for the child `pid` to end: its exit code, or -1 if it did not end in
// time or was killed. An ended child's `pid` becomes -1.
inline int WaitForExit(pid_t& pid, Clock::duration patience = kPatience) {
  int status = 0;
  if (!WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, patience)) return -1;
  pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The window's picture within `area`.
inline Screenshot GrabWindow(const std::string& window, const Box& area) {
  return Screenshot(area, WindowPixels(window, area.left, area.top, area.right - area.left,
                                       area.bottom - area.top));
}

// A number that xwininfo prints after `name` (such as "Width:"), or -1.
inline int InfoField(const std::string& text, const std::string& name) {
  const size_t at = text.find(name);
  return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + name.size());
}

// Where a window is and how big, as xwininfo tells it; `frame` includes the window manager's
// frame around it.
struct Geometry {
  int x = -1, y = -1, width = -1, height = -1;
};
inline Geometry WindowGeometry(const std::string& window, bool frame = false) {
  const std::string info =
      Shell("xwininfo " + std::string(frame ? "-frame " : "") + "-id " + window);
  return Geometry{InfoField(info, "Absolute upper-left X:"),
                  InfoField(info, "Absolute upper-left Y:"), InfoField(info, "Width:"),
                  InfoField(info, "Height:")};
}

// A real window manager (openbox) on the test's X server, for as long as this object lives:
// it decorates windows, honours fullscreen requests and knows the screen's work area.
class WindowManager {
 public:
  // Started again if it cannot reach the display at first: the X server resets for a moment
  // when its last client leaves.
  WindowManager() {
    WaitFor([this] {
      if (pid_ <= 0 || waitpid(pid_, nullptr, WNOHANG) == pid_) Launch();
      return Running();
    });
  }
  ~WindowManager() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  bool Running() const { return WindowManagerRunning(); }

 private:
  void Launch() {
    pid_ = fork();
    if (pid_ == 0) {
      execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
      _exit(127);
    }
  }

  pid_t pid_ = -1;
};

// Keys held down for as long as this object lives.
class HeldKeys {
 public:
  explicit HeldKeys(std::string keys) : keys_(std::move(keys)), held_(PressKeys(keys_, true)) {
    if (!held_) ADD_FAILURE() << "no key called " << keys_;
  }
  ~HeldKeys() {
    if (held_) PressKeys(keys_, false);
  }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;
  bool Held() const { return held_; }

 private:
  std::string keys_;
  bool held_;
};

// The game's window once it is up, whichever system runs the game: the focus, keys held until
// the game has seen them, its picture and its log (log.txt in its folder).
class GameWindow {
 public:
  const std::string& Window() const { return window_; }
  virtual const fs::path& Folder() const = 0;

  std::vector<std::string> LogLines() const { return testing::FileLines(Folder() / "log.txt"); }
  bool Logged(const std::string& line) const {
    const std::vector<std::string> log = LogLines();
    return std::find(log.begin(), log.end(), line) != log.end();
  }

  // Whether the log's last word on the focus is that the game has it (`focused`) or has lost
  // it, the stage's ticker written after the loss too.
  bool LogSaysFocused(bool focused) const {
    const std::vector<std::string> log = LogLines();
    for (size_t i = log.size(); i-- > 0;) {
      if (log[i] == "GameActivate()") return focused;
      if (log[i] == "GameDeactive()") {
        return !focused && i + 1 < log.size() && log[i + 1].starts_with("Level 1 Ticker count: ");
      }
    }
    return false;
  }

  // Gives the window the focus and waits until the game says it has it; asked again now and
  // then, in case the request came before the window could take it. Always asked at least once:
  // Wine may call a new window active while the X focus is elsewhere, and a window that never
  // had the X focus cannot lose it to another later.
  bool Focus() {
    auto asked = Clock::time_point{};
    return WaitFor([&] {
      if (Clock::now() - asked > std::chrono::seconds(5)) {
        Shell("xdotool windowfocus --sync " + window_ + " 2>/dev/null");
        asked = Clock::now();
      }
      return LogSaysFocused(true);
    });
  }

  // Holds `keys` down until `seen` says the game has seen them, then lets go; whether it did
  // within `patience`. The game reads the keys once a frame, so a press must last until then.
  template <typename Seen>
  bool Hold(const std::string& keys, Seen seen, Clock::duration patience = kPatience) {
    const HeldKeys held(keys);
    return held.Held() && WaitFor(seen, patience);
  }

  // Holds `keys` until the log holds `line`. `notBefore` receives the last moment it was seen
  // without it: a clock started there has not started late.
  bool HoldUntilLogged(const std::string& keys, const std::string& line,
                       Clock::time_point* notBefore = nullptr) {
    return Hold(keys, [&] {
      const auto now = Clock::now();
      if (Logged(line)) return true;
      if (notBefore != nullptr) *notBefore = now;
      return false;
    });
  }

  // The game's frame at its own size, the window at another, or a rectangle of it.
  Screenshot Grab() const { return Grab(Box{0, 0, 900, 732}); }
  Screenshot Grab(int width, int height) const { return Grab(Box{0, 0, width, height}); }
  Screenshot Grab(const Box& area) const { return GrabWindow(window_, area); }

  // Grabs the window until a grab shows what `shows` looks for; `shot` keeps the last grab.
  template <typename Shows>
  bool GrabUntil(Screenshot& shot, Shows shows, Clock::duration patience = kPatience) const {
    return GrabUntil(shot, Box{0, 0, 900, 732}, shows, patience);
  }
  template <typename Shows>
  bool GrabUntil(Screenshot& shot, const Box& area, Shows shows,
                 Clock::duration patience = kPatience) const {
    return WaitFor(
        [&] {
          shot = Grab(area);
          return shot.Valid() && shows(shot);
        },
        patience);
  }

 protected:
  GameWindow() = default;
  ~GameWindow() = default;

  // Waits for the window named as the game names its own, while `alive` holds.
  template <typename Alive>
  bool FindWindow(Alive alive) {
    WaitFor([&] {
      window_ = e2e::FindWindow("Skyrift");
      return !window_.empty() || !alive();
    });
    return !window_.empty();
  }

  std::string window_;
};

class GameProcess : public GameWindow {
 public:
  GameProcess() {
    for (const auto& entry : fs::directory_iterator(SKYRIFT_GAME_DIR)) {
      fs::copy(entry.path(), Folder() / entry.path().filename(), fs::copy_options::recursive);
    }
  }
  ~GameProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  GameProcess(const GameProcess&) = delete;
  GameProcess& operator=(const GameProcess&) = delete;

  // Starts the game and waits for its window; false if none appears, or the game ends first.
  // It starts in its own folder unless `workingFolder` is given; `errorFile` takes its standard
  // error when given.
  bool Start(const fs::path& workingFolder = {}, const fs::path& errorFile = {}) {
    pid_ = fork();
    if (pid_ == 0) {
      if (chdir((workingFolder.empty() ? Folder() : workingFolder).c_str()) != 0) _exit(127);
      if (!errorFile.empty() && freopen(errorFile.c_str(), "w", stderr) == nullptr) _exit(127);
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      for (const auto& [name, value] : environment_) setenv(name.c_str(), value.c_str(), 1);
      execl((Folder() / "skyrift").c_str(), "skyrift", static_cast<char*>(nullptr));
      _exit(127);
    }
    return FindWindow([this] { return waitpid(pid_, nullptr, WNOHANG) == 0; });
  }

  // Sets a variable of the game's environment for the next Start.
  void SetEnvironment(const std::string& name, const std::string& value) {
    environment_.emplace_back(name, value);
  }

  // Sends SIGTERM (SDL's quit) and returns the exit code, or -1 if it did not end in time.
  int Close() {
    kill(pid_, SIGTERM);
    return WaitForExit(pid_);
  }

  const fs::path& Folder() const override { return folder_.Path(); }
  pid_t Pid() const { return pid_; }

 private:
  testing::TempFolder folder_{"skyrift-e2e"};
  pid_t pid_ = -1;
  std::vector<std::pair<std::string, std::string>> environment_;
};

// A second X client's window (xmessage), to take the focus from the game as a player switching
// to another program does. It sits in the screen's corner, clear of the game's centred window.
class OtherWindow {
 public:
  OtherWindow() = default;
  OtherWindow(const OtherWindow&) = delete;
  OtherWindow& operator=(const OtherWindow&) = delete;
  ~OtherWindow() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }

  // Opens the window; false if none appears.
  bool Open() {
    pid_ = fork();
    if (pid_ == 0) {
      execlp("xmessage", "xmessage", "-title", "skyrift-e2e-other", "-geometry", "160x40+0+0",
             "elsewhere", static_cast<char*>(nullptr));
      _exit(127);
    }
    WaitFor([this] {
      window_ = FindWindow("skyrift-e2e-other");
      return !window_.empty() || waitpid(pid_, nullptr, WNOHANG) != 0;
    });
    return !window_.empty();
  }

  // Takes the focus from the game and waits until the game says it has lost it.
  // Asked for again every few seconds: a starved window system (Wine's above all) may drop a
  // request, which says nothing of the game.
  bool TakeFocusFrom(const GameWindow& game) {
    for (const auto until = Clock::now() + kPatience; Clock::now() < until;) {
      Shell("xdotool windowfocus --sync " + window_ + " 2>/dev/null");
      if (WaitFor([&game] { return game.LogSaysFocused(false); }, std::chrono::seconds(5)))
        return true;
    }
    return false;
  }

 private:
  pid_t pid_ = -1;
  std::string window_;
};

}  // namespace skyrift::e2e
