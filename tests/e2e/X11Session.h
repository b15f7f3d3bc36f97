// Drives the real game executable in a real X server (under xvfb-run): starts it in a fresh
// copy of the game folder, finds and focuses its window, holds keys with xdotool, grabs the
// window's pixels with ImageMagick, and closes it with SIGTERM as a window manager would.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "../TempFolder.h"

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

inline void Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// One grab of the window (900 x 732 unless told otherwise): pixels of red, green, blue.
class Screenshot {
 public:
  Screenshot(int width, int height, std::vector<unsigned char> bytes)
      : width_(width), height_(height), bytes_(std::move(bytes)) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Valid() const { return bytes_.size() == static_cast<size_t>(width_) * height_ * 3; }
  Rgb At(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width_ + x) * 3;
    return Rgb{bytes_[i], bytes_[i + 1], bytes_[i + 2]};
  }

 private:
  int width_, height_;
  std::vector<unsigned char> bytes_;
};

// Waits up to `milliseconds` for the child `pid` to end: its exit code, or -1 if it did not end
// in time or was killed. An ended child's `pid` becomes -1.
inline int WaitForExit(pid_t& pid, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    Sleep(50);
  }
  return -1;
}

// The window's picture, grabbed through a scratch file in `folder`; by default the game
// window's client area at its own size.
inline Screenshot GrabWindow(const std::string& window, const fs::path& folder, int width = 900,
                             int height = 732) {
  const fs::path file = folder / "grab.rgb";
  Shell("import -window " + window + " -depth 8 rgb:" + file.string() + " 2>/dev/null");
  std::ifstream in(file, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  return Screenshot(width, height, std::move(bytes));
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
  // when its last client leaves, as between two tests.
  WindowManager() {
    for (int attempt = 0; attempt < 100 && !Running(); ++attempt) {
      if (pid_ <= 0 || waitpid(pid_, nullptr, WNOHANG) == pid_) Launch();
      Sleep(100);
    }
  }
  ~WindowManager() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  bool Running() const {
    return Shell("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") !=
           std::string::npos;
  }

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

class GameProcess {
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

  // Starts the game and waits for its window; false if none appears within a few seconds.
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
    for (int attempt = 0; attempt < 100 && window_.empty(); ++attempt) {
      Sleep(100);
      window_ = Shell("xdotool search --name '^Skyrift$' 2>/dev/null | head -n 1");
    }
    return !window_.empty();
  }

  // Sets a variable of the game's environment for the next Start.
  void SetEnvironment(const std::string& name, const std::string& value) {
    environment_.emplace_back(name, value);
  }

  // Gives the window the focus, so that the game wakes (there is no window manager).
  void Focus() {
    Shell("xdotool windowfocus --sync " + window_ + " 2>/dev/null");
    Sleep(300);
  }

  // Holds a key for `milliseconds`: the game polls once per frame, so a tap must span frames.
  void Hold(const std::string& key, int milliseconds = 250) {
    Shell("xdotool keydown " + key);
    Sleep(milliseconds);
    Shell("xdotool keyup " + key);
    Sleep(100);
  }
  void KeyDown(const std::string& key) { Shell("xdotool keydown " + key); }
  void KeyUp(const std::string& key) { Shell("xdotool keyup " + key); }

  Screenshot Grab() const { return GrabWindow(window_, Folder()); }
  Screenshot Grab(int width, int height) const {
    return GrabWindow(window_, Folder(), width, height);
  }

  // Sends SIGTERM (SDL's quit) and returns the exit code, or -1 if it did not end in time.
  int Close() {
    kill(pid_, SIGTERM);
    return WaitForExit(pid_, 5000);
  }

  std::vector<std::string> LogLines() const { return testing::FileLines(Folder() / "log.txt"); }

  const std::string& Window() const { return window_; }
  const fs::path& Folder() const { return folder_.Path(); }
  pid_t Pid() const { return pid_; }

 private:
  testing::TempFolder folder_{"skyrift-e2e"};
  pid_t pid_ = -1;
  std::string window_;
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

  // Opens the window; false if none appears within a few seconds.
  bool Open() {
    pid_ = fork();
    if (pid_ == 0) {
      execlp("xmessage", "xmessage", "-title", "skyrift-e2e-other", "-geometry", "160x40+0+0",
             "elsewhere", static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int attempt = 0; attempt < 100 && window_.empty(); ++attempt) {
      Sleep(100);
      window_ = Shell("xdotool search --name '^skyrift-e2e-other$' 2>/dev/null | head -n 1");
    }
    return !window_.empty();
  }

  void Focus() {
    Shell("xdotool windowfocus --sync " + window_ + " 2>/dev/null");
    Sleep(300);
  }

 private:
  pid_t pid_ = -1;
  std::string window_;
};

}  // namespace skyrift::e2e
