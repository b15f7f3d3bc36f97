// The play world with player 1 in a one-player stage 1 and a gamepad to drive it: the game's
// handler called directly, or the engine polling a virtual pad.
#pragma once

#include <vector>

#include "GameSamples.h"
#include "PlayWorld.h"
#include "engine/GameCallbacks.h"
#include "engine/Joystick.h"
#include "game/Players.h"
#include "platform/Gamepad.h"

namespace skyrift::testing {

class PadWorld : public PlayWorld {
 protected:
  void SetUp() override {
    PlayWorld::SetUp();
    _iNumPlayers = 1;
    CreatePlayers(FALSE);
    _bGameStarted = TRUE;
    _iGameState = GameStateStage1;
    _iStateBeforeMenu1 = 0;
    _iMenuToggleDelay = 0;
    _iUpgradeCost = 2500;
    _pPlayer1->SetBombs(0);
  }
  void TearDown() override {
    platform::DetachVirtualGamepad();
    PlayWorld::TearDown();
  }

  // A second ship, for the two-player cases.
  static void AddPlayer2() {
    _iNumPlayers = 2;
    _bPlayer2Out = FALSE;
    _pPlayer2 = new PlayerShip(_bmpPlayer2, RECT{0, 0, 900, 600}, EdgeStop);
    _pPlayer2->SetFrameCount(4);
    _pPlayer2->SetTag("player2");
    _pEngine->InsertSprite(_pPlayer2);
  }

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

  GameSamples samples;
};

}  // namespace skyrift::testing
