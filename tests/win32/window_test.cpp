// The Win32 window and loop on the system's real message queue (Wine's null display driver
// when headless): the window's shape, the messages the engine is given, a loop that sleeps
// between frames rather than spinning, keys read from the system, and the program's folder.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "Harness.h"
#include "engine/MessageLoop.h"
#include "platform/Clock.h"
#include "TempFolder.h"
#include "platform/FilePlaces.h"
#include "platform/Files.h"
#include "platform/Keyboard.h"
#include "platform/Window.h"
#include "platform/win32/Keyboard.h"
#include "platform/win32/Win32.h"

namespace skyrift::platform {
namespace {

using Clock = std::chrono::steady_clock;

::HWND GameWindow() { return FindWindowA("SkyriftWindow", nullptr); }

// Every message waiting, in order.
std::vector<Message> Drain() {
  std::vector<Message> messages;
  for (Message message; PeekMessage(message);) messages.push_back(message);
  return messages;
}

bool Has(const std::vector<Message>& messages, MessageKind kind, uint32_t wParam = 0) {
  for (const Message& m : messages) {
    if (m.kind == kind && m.wParam == wParam) return true;
  }
  return false;
}

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) { return ((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}

TEST(Win32Window, AFixedCentredWindowWhoseMessagesReachTheEngine) {
  std::string error;
  auto window = Window::Create("Skyrift", 900, 732, nullptr, 0, error);
  ASSERT_NE(window, nullptr) << error;
  ::HWND handle = GameWindow();
  ASSERT_NE(handle, nullptr);
  ::RECT client;
  GetClientRect(handle, &client);
  EXPECT_EQ(client.right - client.left, 900);
  EXPECT_EQ(client.bottom - client.top, 732);
  const LONG style = GetWindowLongA(handle, GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  char caption[32] = {};
  GetWindowTextA(handle, caption, sizeof caption);
  EXPECT_STREQ(caption, "Skyrift");
  EXPECT_NE(GetClassLongPtrA(handle, GCLP_HICON), 0) << "the icon from the resources";
  EXPECT_FALSE(IsWindowVisible(handle)) << "hidden until shown";

  Drain();
  window->Show();
  auto messages = Drain();
  EXPECT_TRUE(Has(messages, MessageKind::Activate, 1)) << "shown, it is the active window";
  EXPECT_TRUE(Has(messages, MessageKind::Paint));

  PostMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 34));
  PostMessageA(handle, WM_CLOSE, 0, 0);
  messages = Drain();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].kind, MessageKind::LeftDown);
  EXPECT_EQ(messages[0].lParam, 12u | (34u << 16));
  EXPECT_EQ(messages[1].kind, MessageKind::Destroy);
  EXPECT_TRUE(IsWindow(handle)) << "the engine, not the close, ends the window";

  // The frame reaches the window's own pixels.
  window->Frame()->Fill(RECT{0, 0, 900, 732}, RGB(10, 200, 30));
  window->Present();
  ::HDC screen = GetDC(handle);
  EXPECT_EQ(::GetPixel(screen, 450, 400), RGB(10, 200, 30));
  ReleaseDC(handle, screen);
  window.reset();
  EXPECT_FALSE(IsWindow(handle));
}

// Centred whole, frame and caption, on the work area of its monitor: not its client on the
// whole screen, which puts the panel under the taskbar of a 768-line screen. (Fullscreen is
// checked through the X server by the end-to-end test.)
TEST(Win32Window, OpensCentredOnTheWorkAreaOfItsMonitor) {
  std::string error;
  auto window = Window::Create("Skyrift", 900, 732, nullptr, 0, error);
  ASSERT_NE(window, nullptr) << error;
  ::HWND handle = GameWindow();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST), &monitor);
  const ::RECT work = monitor.rcWork;
  ::RECT outer{};
  GetWindowRect(handle, &outer);
  EXPECT_LE(std::abs((outer.left - work.left) - (work.right - outer.right)), 1);
  EXPECT_LE(std::abs((outer.top - work.top) - (work.bottom - outer.bottom)), 1);
}

TEST(Win32Window, WaitingSleepsUntilItsTimeOrAMessage) {
  const double cpu = CpuSeconds();
  auto start = Clock::now();
  WaitMessage(200);
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(180));
  EXPECT_LT(CpuSeconds() - cpu, 0.05) << "waiting must not spin";

  // A message posted from elsewhere wakes it long before its time.
  const DWORD self = GetCurrentThreadId();
  start = Clock::now();
  std::thread poster([self] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    PostThreadMessageA(self, WM_NULL, 0, 0);
  });
  WaitMessage(5000);
  const auto woken = Clock::now() - start;
  poster.join();
  EXPECT_GE(woken, std::chrono::milliseconds(80));
  EXPECT_LT(woken, std::chrono::milliseconds(1000));

  PostQuitMessage(3);
  Message quit;
  ASSERT_TRUE(PeekMessage(quit));
  EXPECT_EQ(quit.kind, MessageKind::Quit);
  EXPECT_EQ(quit.wParam, 3u);
}

TEST(Win32Window, TheGameLoopRunsFramesOnTheRealClockWithoutSpinningAndEndsOnClose) {
  testing::GameHarness game;
  ASSERT_TRUE(game.Start());
  UseRealClock();
  _iNextFrameTick = 0;
  ::HWND handle = GameWindow();
  ASSERT_NE(handle, nullptr);
  std::thread closer([handle] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    PostMessageA(handle, WM_CLOSE, 0, 0);
  });
  const double cpu = CpuSeconds();
  const uint32_t started = GetTickCount();
  const int exitCode = RunMessageLoop();
  closer.join();
  const double used = CpuSeconds() - cpu;
  EXPECT_EQ(exitCode, 0);
  // Frames kept coming until the close: the next one was due about when the loop ended.
  EXPECT_GT(_iNextFrameTick - static_cast<int32_t>(started), 1300);
  EXPECT_LT(used, 1.5 * 0.5) << "a loop that waits for its frames uses far less than a core";
}

TEST(Win32Keys, TheSystemsKeyStateIsReadAlongsideInjectedKeys) {
  ResetKeyboard();
  const BYTE key = VK_F9;
  keybd_event(key, 0, 0, 0);
  const int16_t down = GetAsyncKeyState(key);
  keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  if (down == 0) GTEST_SKIP() << "this system does not take synthesised keys";
  EXPECT_TRUE(down & 0x8000);
  EXPECT_FALSE(GetAsyncKeyState(key) & 0x8000) << "released";
  KeyEvent(key, true);
  EXPECT_TRUE(GetAsyncKeyState(key) & 0x8000) << "an injected key holds while the system's is up";
  KeyEvent(key, false);
}

TEST(Win32Keys, TheEnterOfAltEnterIsNotTheGamesUntilReleased) {
  ResetKeyboard();
  keybd_event(VK_RETURN, 0, 0, 0);
  if (GetAsyncKeyState(VK_RETURN) == 0) {
    keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
    GTEST_SKIP() << "this system does not take synthesised keys";
  }
  IgnoreUntilReleased(VK_RETURN);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0) << "held since Alt+Enter";
  keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0) << "released: no press left over";
  keybd_event(VK_RETURN, 0, 0, 0);
  EXPECT_TRUE(GetAsyncKeyState(VK_RETURN) & 0x8000) << "the next press is the game's";
  keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
}

TEST(Win32Files, TheProgramFolderHoldsTheRunningExecutable) {
  const std::filesystem::path folder = Utf8Path(ProgramFolder());
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::exists(folder / "skyrift_tests.exe")) << folder;
}

// A folder the game cannot use sends its files to %LOCALAPPDATA%\Skyrift, made through the
// wide-character calls so that a player's folder named outside the code page works.
TEST(Win32Files, ThePlayersFolderIsMadeUnderLocalAppDataWhateverItsName) {
  const testing::TempFolder temp("skyrift-places");
  const std::string local = temp.Path().string() + "\\Zo\xC3\xAB \xE5\xAE\xB6";  // "Zoë 家"
  ASSERT_TRUE(SetEnvironmentVariableW(L"LOCALAPPDATA", Utf8Path(local).wstring().c_str()));
  const FilePlaces places = PlaceGameFiles(temp.Path().string() + "\\no game here");
  EXPECT_EQ(places.logFile, local + "\\Skyrift\\log.txt");
  EXPECT_TRUE(std::filesystem::is_directory(Utf8Path(local + "\\Skyrift")));
  // No default to copy: said with the system's reason, and the default's place is kept.
  ASSERT_EQ(places.problems.size(), 1u);
  EXPECT_EQ(places.problems[0].rfind("cannot copy", 0), 0u) << places.problems[0];
  EXPECT_EQ(places.controlsFile, temp.Path().string() + "\\no game here\\controls.txt");
}

}  // namespace
}  // namespace skyrift::platform
