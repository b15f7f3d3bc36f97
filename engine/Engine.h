// The one object between the platform and the game: the window and its messages, the frame
// timing, the list of live sprites, the joystick and the MIDI device.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameCallbacks.h"
#include "platform/Resources.h"
#include "platform/Types.h"
#include "platform/Window.h"

namespace skyrift {

class Sprite;

class Engine {
 public:
  Engine(HINSTANCE instance, const char* windowClass, const char* title, uint16_t iconId,
         uint16_t smallIconId, int width, int height);
  virtual ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // The single instance; null once it has been deleted.
  static Engine* Current;

  BOOL CreateGameWindow(int showCommand);
  int OnWindowMessage(HWND window, const platform::Message& message);
  void FatalError(const char* text);

  HWND GetWindow() const { return window; }
  void SetWindow(HWND handle) { window = handle; }
  int GetWidth() const { return width; }
  int GetHeight() const { return height; }
  uint16_t GetIconId() const { return iconId; }
  uint16_t GetSmallIconId() const { return smallIconId; }
  int GetFrameDelay() const { return frameDelay; }
  void SetFramesPerSecond(int rate) { frameDelay = 1000 / rate; }
  BOOL IsAsleep() const { return asleep; }
  void SetAsleep(BOOL sleep) { asleep = sleep; }
  // Why the window could not be made, for the program entry to report.
  const std::string& GetWindowError() const { return windowError; }

  // The sprite list, in drawing order; the engine owns every sprite in it.
  void InsertSprite(Sprite* sprite);
  void DrawAllSprites(HDC dc);
  void UpdateAllSprites();
  BOOL FindCollision(Sprite* moved);
  void DeleteAllSprites();
  void RemoveUnprotectedSprites();
  Sprite* SpriteAtPoint(int x, int y);
  const std::vector<Sprite*>& GetSprites() const { return sprites; }

  // Joystick (engine/Joystick.cpp).
  BOOL OpenJoystick();
  void AcquireJoystick();
  void UnacquireJoystick();
  void PollJoystick();

  // MIDI playback (engine/Midi.cpp).
  void PlayMidiFile(const char* fileName, BOOL restart);
  void PauseMidi();
  void CloseMidi();
  unsigned GetMidiDevice() const { return midiDevice; }

 private:
  HINSTANCE instance;
  HWND window = nullptr;
  char windowClass[32] = {};
  char title[32] = {};
  uint16_t iconId;
  uint16_t smallIconId;
  int width;
  int height;
  int frameDelay = 50;  // milliseconds between frames
  BOOL asleep = TRUE;   // while TRUE no frame runs
  unsigned joystickId = 0;
  RECT joystickDeadZone{};  // in the stick's raw axis units
  std::vector<Sprite*> sprites;
  unsigned midiDevice = 0;  // 0 when none is open

  std::unique_ptr<platform::Window> ownedWindow;
  std::string windowError;
};

}  // namespace skyrift
