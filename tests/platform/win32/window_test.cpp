// The Win32 window and loop on the system's real message queue (Wine's null display driver
// when headless): the window's shape, the messages the engine is given, a loop that sleeps
// between frames rather than spinning, keys read from the system, and the program's folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "Harness.h"
#include "TempFolder.h"
#include "engine/MessageLoop.h"
#include "platform/Clock.h"
#include "TempFolder.h"
#include "platform/FilePlaces.h"
#include "platform/Files.h"
#include "platform/Keyboard.h"
#include "platform/Resources.h"
#include "platform/Window.h"
#include "platform/win32/Keyboard.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32.h"

namespace skyrift::platform {
namespace {

using Clock = std::chrono::steady_clock;

// The window of the class the game names its engine's windows by.
::HWND GameWindow() {
  return FindWindowA("Skyrift", nullptr);
}

// Every message waiting, in order.
std::vector<Message> Drain() {
  std::vector<Message> messages;
  for (Message message; PollMessage(message);) messages.push_back(message);
  return messages;
}

bool Has(const std::vector<Message>& messages, MessageKind kind, uint32_t wParam = 0) {
  for (const Message& m : messages) {
    if (m.kind == kind && m.wParam == wParam) return true;
  }
  return false;
}

// The game's window, shown and active, with the messages of its showing taken.
std::unique_ptr<Window> ShownWindow() {
  std::string error;
  auto window = Window::Create(
      WindowSpec{ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732}, error);
  if (window == nullptr) return nullptr;
  window->Show();
  Drain();
  return window;
}

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) {
    return ((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

TEST(Win32Window, ACentredWindowWhoseMessagesReachTheEngine) {
  std::string error;
  auto window = Window::Create(
      WindowSpec{ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732}, error);
  ASSERT_NE(window, nullptr) << error;
  ::HWND handle = GameWindow();
  ASSERT_NE(handle, nullptr);
  ::RECT client;
  GetClientRect(handle, &client);
  EXPECT_EQ(client.right - client.left, 900);
  EXPECT_EQ(client.bottom - client.top, 732);
  const LONG style = GetWindowLongA(handle, GWL_STYLE);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_THICKFRAME) << "resizable";
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  char caption[32] = {};
  GetWindowTextA(handle, caption, sizeof caption);
  EXPECT_STREQ(caption, "Skyrift");
  EXPECT_NE(GetClassLongPtrA(handle, GCLP_HICON), 0) << "the icon from the resources";
  EXPECT_NE(GetClassLongPtrA(handle, GCLP_HICONSM), 0) << "the small icon from the resources";
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
  auto window = Window::Create(
      WindowSpec{ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732}, error);
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
  ASSERT_TRUE(PollMessage(quit));
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

// Windows keeps some keys for itself: a key pressed with Alt or a Windows key held (Alt+Tab,
// Win+Tab) is not the game's until it is released, unless the game binds that modifier; with
// another window in front the game reads none of the system's keys. The keys tests inject are
// always read.
bool altBound = false, f11Bound = false;
bool BoundForTheTest(int code) {
  return (altBound && code == VK_MENU) || (f11Bound && code == VK_F11);
}

// A key pressed or released through the system, its messages handled as the game's loop does.
void Press(BYTE key, bool down) {
  keybd_event(key, 0, down ? 0 : KEYEVENTF_KEYUP, 0);
  Drain();
}

// Whether the system takes synthesised keys; skips the test where it does not.
#define SKIP_WITHOUT_SYNTHESISED_KEYS()                                             \
  do {                                                                              \
    keybd_event(VK_F7, 0, 0, 0);                                                    \
    const bool synthesised = (::GetAsyncKeyState(VK_F7) & 0x8000) != 0;             \
    Press(VK_F7, false);                                                            \
    if (!synthesised) GTEST_SKIP() << "this system does not take synthesised keys"; \
  } while (false)

TEST(Win32Keys, AKeyPressedWithAltOrAWindowsKeyHeldOrForAnotherWindowIsNotTheGames) {
  const auto window = ShownWindow();
  ASSERT_NE(window, nullptr);
  ::HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  ResetKeyboard();
  SetGameKeys(BoundForTheTest);
  auto held = [](BYTE key) { return (GetAsyncKeyState(key) & 0x8000) != 0; };
  SetForegroundWindow(GameWindow());
  SKIP_WITHOUT_SYNTHESISED_KEYS();

  struct Case {
    const char* what;
    BYTE modifier;  // held while Tab goes down, and let go first
    bool bound;     // Alt is a player's key
    bool gameInFront;
    bool tabRead;
  } cases[] = {
      {"the game in front", 0, false, true, true},
      {"Alt held: Alt+Tab is the system's", VK_MENU, false, true, false},
      {"the Windows key held: Win+Tab is the system's", VK_LWIN, false, true, false},
      {"Alt bound: a game key like any other", VK_MENU, true, true, true},
      {"another window in front", 0, false, false, false},
  };
  for (const Case& c : cases) {
    SetForegroundWindow(c.gameInFront ? GameWindow() : other);
    Drain();
    altBound = c.bound;
    if (c.modifier != 0) Press(c.modifier, true);
    Press(VK_TAB, true);
    if (c.modifier != 0) {
      if (c.bound) {
        EXPECT_TRUE(held(c.modifier)) << c.what;
      }
      Press(c.modifier, false);
    }
    EXPECT_EQ(held(VK_TAB), c.tabRead) << c.what;
    Press(VK_TAB, false);
    KeyEvent(VK_F9, true);
    EXPECT_TRUE(held(VK_F9)) << c.what << ": an injected key is read whatever the focus";
    KeyEvent(VK_F9, false);
  }
  DestroyWindow(other);
  SetGameKeys(nullptr);
}

// The press between two reads is the game's own, kept from the window's messages: a program that
// asks the system first (an overlay, a macro tool) cannot take it. Held, a key's repeats are not
// new presses.
TEST(Win32Keys, APressBetweenReadsIsTheGamesWhoeverAsksTheSystemFirst) {
  const auto window = ShownWindow();
  ASSERT_NE(window, nullptr);
  ResetKeyboard();
  SKIP_WITHOUT_SYNTHESISED_KEYS();
  Press(VK_SPACE, true);
  Press(VK_SPACE, false);
  ::GetAsyncKeyState(VK_SPACE);  // the system's shared "pressed" bit, taken by someone else
  EXPECT_EQ(GetAsyncKeyState(VK_SPACE), 1) << "tapped since the last read";
  EXPECT_EQ(GetAsyncKeyState(VK_SPACE), 0) << "the read clears it";

  Press(VK_SPACE, true);
  EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(VK_SPACE)), 0x8001);
  Press(VK_SPACE, true);  // the system repeating the held key
  EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(VK_SPACE)), 0x8000);
  Press(VK_SPACE, false);
}

// F11 switches to fullscreen and back unless a player has it; then it is that player's key.
TEST(Win32Keys, F11SwitchesToFullscreenUnlessAPlayerHasIt) {
  const auto window = ShownWindow();
  ASSERT_NE(window, nullptr);
  ResetKeyboard();
  SetGameKeys(BoundForTheTest);
  SKIP_WITHOUT_SYNTHESISED_KEYS();
  auto fullscreen = [] { return (GetWindowLongA(GameWindow(), GWL_STYLE) & WS_CAPTION) == 0; };
  for (const bool bound : {false, true}) {
    SCOPED_TRACE(bound ? "bound" : "not bound");
    f11Bound = bound;
    GetAsyncKeyState(VK_F11);
    Press(VK_F11, true);
    EXPECT_EQ(fullscreen(), !bound);
    if (bound) {
      EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(VK_F11)), 0x8001);
    }
    Press(VK_F11, false);
    if (!bound) {
      Press(VK_F11, true);  // back to the window
      Press(VK_F11, false);
      ASSERT_FALSE(fullscreen());
    }
  }
  SetGameKeys(nullptr);
}

// Deactivation and activation reach the engine once each however they come: a minimised window
// sleeps and one restored from the taskbar wakes. Alt or F10 do not put the window in menu mode,
// whose modal loop would stall the game until the next key.
TEST(Win32Window, MinimisingSleepsRestoringWakesAndTheMenuKeyNeverStalls) {
  const auto window = ShownWindow();
  ASSERT_NE(window, nullptr);
  ::HWND handle = GameWindow();

  ShowWindow(handle, SW_MINIMIZE);
  auto messages = Drain();
  EXPECT_TRUE(Has(messages, MessageKind::Activate, 0)) << "minimised, it sleeps";
  EXPECT_FALSE(Has(messages, MessageKind::Activate, 1));
  ShowWindow(handle, SW_RESTORE);
  SetForegroundWindow(handle);
  messages = Drain();
  EXPECT_TRUE(Has(messages, MessageKind::Activate, 1)) << "restored, it wakes";
  int activations = 0;
  for (const Message& m : messages) activations += m.kind == MessageKind::Activate ? 1 : 0;
  EXPECT_EQ(activations, 1) << "the engine hears each change once";

  // A tapped Alt or F10 asks for the menu so. Should the menu's loop start, a timer leaves it,
  // so that the test tells how long it took.
  const UINT_PTR timer =
      SetTimer(nullptr, 0, 1000, [](::HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  const auto start = Clock::now();
  SendMessageA(handle, WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500))
      << "the window went into menu mode";
  KillTimer(nullptr, timer);
  Drain();
}

// Fullscreen covers its monitor whatever scale the system announces: a change of scale does not
// turn it back into a window's size.
TEST(Win32Window, AChangeOfScaleWhileFullscreenLeavesTheMonitorCovered) {
  const auto window = ShownWindow();
  ASSERT_NE(window, nullptr);
  ::HWND handle = GameWindow();
  SendMessageA(handle, WM_KEYDOWN, VK_F11, 0);
  ASSERT_EQ(GetWindowLongA(handle, GWL_STYLE) & WS_CAPTION, 0) << "fullscreen";
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST), &monitor);
  ::RECT suggested{10, 10, 1010, 900};
  SendMessageA(handle, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  ::RECT outer{};
  GetWindowRect(handle, &outer);
  EXPECT_EQ(outer.left, monitor.rcMonitor.left);
  EXPECT_EQ(outer.top, monitor.rcMonitor.top);
  EXPECT_EQ(outer.right, monitor.rcMonitor.right);
  EXPECT_EQ(outer.bottom, monitor.rcMonitor.bottom);
}

// The player sizes or maximises the window: the frame is letterboxed in it, black bars beside
// or above it; restored, the window has the size it had; it never gets too small to see.
TEST(Win32Window, ResizedOrMaximisedTheFrameIsLetterboxedAndRestoringGivesBackItsSize) {
  const auto window = ShownWindow();
  ASSERT_NE(window, nullptr);
  ::HWND handle = GameWindow();
  window->Frame()->Fill(RECT{0, 0, 900, 732}, RGB(10, 200, 30));
  ::RECT before{};
  GetWindowRect(handle, &before);
  const auto shown = [&](int x, int y) {
    window->Present();
    ::HDC screen = GetDC(handle);
    const COLORREF pixel = ::GetPixel(screen, x, y);
    ReleaseDC(handle, screen);
    return pixel;
  };
  const auto client = [&] {
    ::RECT area{};
    GetClientRect(handle, &area);
    return area;
  };

  // Wider than the frame's shape: bars left and right. (Kept on the screen, whose pixels alone
  // can be read back.)
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST), &monitor);
  const ::RECT work = monitor.rcWork;
  SetWindowPos(handle, nullptr, work.left, work.top, work.right - work.left,
               (work.bottom - work.top) / 2, SWP_NOZORDER);
  ::RECT area = client();
  EXPECT_EQ(shown(2, area.bottom / 2), RGB(0, 0, 0)) << "a bar on the left";
  EXPECT_EQ(shown(area.right - 3, area.bottom / 2), RGB(0, 0, 0)) << "a bar on the right";
  EXPECT_EQ(shown(area.right / 2, area.bottom / 2), RGB(10, 200, 30)) << "the frame between";

  SetWindowPos(handle, nullptr, before.left, before.top, before.right - before.left,
               before.bottom - before.top, SWP_NOZORDER);
  GetWindowRect(handle, &before);
  ShowWindow(handle, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(handle));
  area = client();
  EXPECT_GT(area.right - area.left, 0);
  EXPECT_EQ(shown(area.right / 2, area.bottom / 2), RGB(10, 200, 30));
  ShowWindow(handle, SW_RESTORE);
  ::RECT after{};
  GetWindowRect(handle, &after);
  EXPECT_TRUE(after.left == before.left && after.top == before.top && after.right == before.right &&
              after.bottom == before.bottom)
      << "restored to the size it had";

  SetWindowPos(handle, nullptr, 0, 0, 20, 20, SWP_NOMOVE | SWP_NOZORDER);
  area = client();
  EXPECT_GE(area.right - area.left, 900 / 4) << "never too small to see";
  EXPECT_GE(area.bottom - area.top, 732 / 4);
  Drain();
}

// Windows runs a loop of its own while the window is dragged by its caption, and the engine's
// loop waits: the game must hear at once that the player let go of it, from inside that loop.
TEST(Win32Window, ADragIsALostFocusHeardAtOnceAndItsEndGivesTheGameBack) {
  const auto window = ShownWindow();
  ASSERT_NE(window, nullptr);
  ::HWND handle = GameWindow();
  static std::vector<Message> heard;
  heard.clear();
  SetHeldLoopHandler([](const Message& message) { heard.push_back(message); });
  SendMessageA(handle, WM_ENTERSIZEMOVE, 0, 0);
  EXPECT_TRUE(Has(heard, MessageKind::Activate, 0)) << "heard inside the system's loop";
  SendMessageA(handle, WM_EXITSIZEMOVE, 0, 0);
  SetHeldLoopHandler(nullptr);
  EXPECT_FALSE(Has(heard, MessageKind::Activate, 1)) << "the drag's end waits for the loop";
  EXPECT_TRUE(Has(Drain(), MessageKind::Activate, 1)) << "the drag over, the game goes on";
}

::RECT OuterRect(::HWND handle) {
  ::RECT outer{};
  GetWindowRect(handle, &outer);
  return outer;
}

bool SameRect(const ::RECT& a, const ::RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Moved to a monitor of another scale, the window asks for the size that shows the frame at that
// scale within the work area, takes the rectangle Windows then suggests as it is, and comes back
// onto the work area when the drag ends. Fullscreen covers the monitor whatever changes under
// it. (Wine sends none of these messages itself: the test sends what Windows would.)
TEST(Win32Window, AMoveToAnotherScaleTakesTheFittedSizeWhereWindowsSuggestsIt) {
  const auto window = ShownWindow();
  ASSERT_NE(window, nullptr);
  ::HWND handle = GameWindow();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST), &monitor);
  const ::RECT work = monitor.rcWork;

  const ::RECT placed = OuterRect(handle);
  ::SIZE asked{};
  ASSERT_TRUE(SendMessageA(handle, WM_GETDPISCALEDSIZE, MAKEWPARAM(96, 96),
                           reinterpret_cast<LPARAM>(&asked)));
  EXPECT_EQ(asked.cx, placed.right - placed.left) << "at its own scale, the size it has";
  EXPECT_EQ(asked.cy, placed.bottom - placed.top);
  ASSERT_TRUE(SendMessageA(handle, WM_GETDPISCALEDSIZE, MAKEWPARAM(192, 192),
                           reinterpret_cast<LPARAM>(&asked)));
  ::RECT extra{0, 0, 0, 0};
  AdjustWindowRectExForDpi(&extra, GetWindowLongA(handle, GWL_STYLE), FALSE, 0, 192);
  const int clientWidth = asked.cx - (extra.right - extra.left);
  const int clientHeight = asked.cy - (extra.bottom - extra.top);
  EXPECT_LE(std::abs(clientWidth * 732 - clientHeight * 900), 900) << "the frame's shape";
  EXPECT_LE(asked.cx, work.right - work.left) << "fits the work area";
  EXPECT_LE(asked.cy, work.bottom - work.top);

  // Dragged half off the work area's left edge: where Windows suggests, until the drag ends.
  const ::RECT suggested{work.left - 60, work.top, work.left - 60 + asked.cx, work.top + asked.cy};
  SendMessageA(handle, WM_ENTERSIZEMOVE, 0, 0);
  SendMessageA(handle, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_TRUE(SameRect(OuterRect(handle), suggested)) << "the suggested rectangle, as given";
  SendMessageA(handle, WM_EXITSIZEMOVE, 0, 0);
  const ::RECT dropped = OuterRect(handle);
  EXPECT_EQ(dropped.left, work.left) << "back on the work area once dropped";
  EXPECT_EQ(dropped.top, suggested.top);
  EXPECT_EQ(dropped.right - dropped.left, asked.cx) << "its size kept";

  // Fullscreen, left the wrong size by a change of resolution or of scale: the monitor again.
  SendMessageA(handle, WM_KEYDOWN, VK_F11, 0);
  for (const UINT message : {WM_DISPLAYCHANGE, WM_DPICHANGED}) {
    SetWindowPos(handle, nullptr, 10, 10, 300, 200, SWP_NOZORDER);
    const ::RECT elsewhere{20, 20, 400, 300};
    SendMessageA(handle, message, message == WM_DPICHANGED ? MAKEWPARAM(144, 144) : 32,
                 message == WM_DPICHANGED ? reinterpret_cast<LPARAM>(&elsewhere) : 0);
    EXPECT_TRUE(SameRect(OuterRect(handle), monitor.rcMonitor)) << message;
  }
  SendMessageA(handle, WM_KEYDOWN, VK_F11, 0);
  Drain();
}

TEST(Win32Keys, TheEnterOfAltEnterIsNotTheGamesUntilReleased) {
  const auto window = ShownWindow();  // the system's keys are read only for the active window
  ASSERT_NE(window, nullptr);
  ResetKeyboard();
  SKIP_WITHOUT_SYNTHESISED_KEYS();
  Press(VK_RETURN, true);
  IgnoreUntilReleased(VK_RETURN);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0) << "held since Alt+Enter";
  Press(VK_RETURN, false);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0) << "released: no press left over";
  Press(VK_RETURN, true);
  EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(VK_RETURN)), 0x8001)
      << "the next press is the game's";
  Press(VK_RETURN, false);
}

TEST(Win32Files, TheProgramFolderHoldsTheRunningExecutable) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::exists(Utf8Path(folder) / "skyrift_tests.exe")) << folder;
}

// Paths cross the platform in UTF-8 and reach the system as UTF-16, whatever its code page:
// a Japanese folder on a Western system is found.
TEST(Win32Files, UTF8PathsReachTheSystemWhateverItsCodePage) {
  const std::string name = "\xE3\x82\xB9\xE3\x82\xAB\xE3\x82\xA4 \xC3\xA9";  // スカイ é
  EXPECT_EQ(Utf16(name), L"\u30B9\u30AB\u30A4 \u00E9");
  EXPECT_EQ(Utf8(Utf16(name)), name);
  EXPECT_EQ(Utf16("a\xFF"
                  "b"),
            L"a\uFFFD"
            L"b")
      << "a stray byte is marked, not the end of the text";

  testing::TempFolder temporary;
  const std::string folder = Utf8(temporary.Path().wstring()) + "\\" + name;
  ASSERT_TRUE(CreateDirectoryW(Utf16(folder).c_str(), nullptr));
  const std::string file = folder + "\\sample.wav";
  ::HANDLE made =
      CreateFileW(Utf16(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  CloseHandle(made);
  EXPECT_EQ(WhyNotARegularFile(file.c_str()), "");
  EXPECT_EQ(WhyNotARegularFile(folder.c_str()), "not a regular file");
  EXPECT_TRUE(std::filesystem::is_regular_file(Utf8Path(file)));
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
  // No default to copy: nothing is promised here, and the reading of the controls says it is
  // missing.
  EXPECT_TRUE(places.problems.empty()) << places.problems[0];
  EXPECT_EQ(places.controlsFile, temp.Path().string() + "\\no game here\\controls.txt");
}

}  // namespace
}  // namespace skyrift::platform
