// The one test world the play, enemy and stage tests run in: an engine without a window, the
// off-screen frame, blank images of the game's sizes in colours a test can tell apart, the
// game's own samples on a silent output (so the sounds asked for can be told apart), the
// shipped key bindings and a fresh temporary working directory for log.txt. Every global the
// play code reads is reset, so the tests also pass when one process runs them all.
// PadWorld below is the same world one step further: a one-player stage 1 and a gamepad.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/Joystick.h"
#include "engine/Sound.h"
#include "game/Stages.h"
#include "graphics/Bitmap.h"
#include "platform/Keyboard.h"
#include "platform/Surface.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift::testing {

// Colours of the blank images.
constexpr COLORREF kFarColour = RGB(10, 20, 30);
constexpr COLORREF kPanelColour = RGB(120, 120, 120);
constexpr COLORREF kShipColour = RGB(0, 200, 0);
constexpr COLORREF kBannerColour = RGB(200, 200, 0);
constexpr COLORREF kPageColour = RGB(0, 150, 150);
constexpr COLORREF kMenuColour = RGB(40, 0, 80);

// The sprites of the engine's list with this tag, in list order.
std::vector<Sprite*> Tagged(const std::string& tag);
// How often `sample` was asked for since the requests were last cleared: on any channel, or
// on `channel` only.
int Requests(const Sample* sample);
int Requests(const Sample* sample, int channel);

class World : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The play state of a fresh game with the shipped controls.txt.
  static void ResetPlay();
  // The players chosen and stage 1 begun, the ships made as the game makes them.
  static void StartGame(bool twoPlayers);

  // A blank image that lives as long as the test.
  Bitmap* Image(int width, int height, COLORREF colour);
  // A plain sprite of one colour, tagged, in the engine's list.
  Sprite* AddSprite(const char* tag, int x, int y, int width = 40, int height = 40,
                    COLORREF colour = RGB(255, 0, 0));
  // A plain sprite with a game image, tagged, in the engine's list.
  static Sprite* Put(Bitmap* image, const char* tag, int x, int y, EdgeAction edge = EdgeStop);
  // The sprites of the list drawn with `image`.
  static std::vector<Sprite*> Showing(const Bitmap* image);

  // Stand-in ships the test owns, outside the list, at the given top-left corners, for the
  // enemies to aim at; a player without a place is out.
  void Players(const POINT* one, const POINT* two);
  // The sprites handed to the engine so far: what the enemies fired.
  static const std::vector<Sprite*>& Fired() { return _pEngine->GetSprites(); }

  // The first seed from which the next `count` draws of rand() satisfy `wanted`.
  static unsigned SeedWhere(int count, const std::function<bool(const std::vector<int>&)>& wanted);
  // The draws that follow `seed`; rand() is left seeded with it.
  static std::vector<int> DrawsAfter(unsigned seed, int count);

  std::vector<std::string> LogLines() const { return FileLines(folder_.Path() / "log.txt"); }
  static void Hold(int key) { platform::KeyEvent(key, true); }
  static void Let(int key) { platform::KeyEvent(key, false); }

 private:
  // Sets an image global to a blank image of the game's picture's size, or only its top `rows`
  // (a solid band under which the world still shows); TearDown clears it.
  void Keep(Bitmap*& global, COLORREF colour, int rows = 0);

  TempFolder folder_{"skyrift-play", TempFolder::Enter::Yes};
  std::vector<std::unique_ptr<Bitmap>> images_;
  std::vector<Bitmap**> globals_;
  std::vector<std::unique_ptr<PlayerShip>> standIns_;
};

// Player 1 in a one-player stage 1 with a gamepad to drive it: the game's handler called
// directly, or the engine polling a virtual pad.
class PadWorld : public World {
 protected:
  void SetUp() override;

  // A second ship, for the two-player cases.
  static void AddPlayer2();

  // The game's handler for `frames` frames with the same state.
  static void Run(StickState state, int frames) {
    for (int i = 0; i < frames; ++i) GameJoystick(state);
  }

  // The frames (1-based) after which `changed` says something changed.
  template <typename Changed>
  static std::vector<int> FramesWhere(StickState state, int frames, Changed changed) {
    std::vector<int> found;
    for (int frame = 1; frame <= frames; ++frame) {
      GameJoystick(state);
      if (changed()) found.push_back(frame);
    }
    return found;
  }

  // Polls the engine `times` times and returns the ship's velocity afterwards.
  static POINT Poll(int times = 1) {
    for (int i = 0; i < times; ++i) _pEngine->PollJoystick();
    return _pPlayer1->GetVelocity();
  }
};

}  // namespace skyrift::testing
