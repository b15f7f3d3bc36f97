// The state machine: the per-state key, frame and paint dispatch. Only the stages' play states
// move the world.
#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "game/KeyboardInput.h"
#include "game/Pause.h"
#include "game/Presenting.h"
#include "game/Screens.h"
#include "game/StageCycle.h"
#include "game/Stages.h"
#include "game/Volume.h"
#include "world/Globals.h"

namespace skyrift {

void PollKeys() {
  // The volume is the player's at any moment, over any screen; a paused game shows its change.
  if (PollVolumeKeys() && PlayPaused()) PresentFrame();
  if (_bGameOver) return;
  if (PollPauseKeys()) return;
  HandleMenuKeys();

  if (StageOfState(_iGameState) != nullptr) {
    if (!_bPlayer1Out) HandlePlayer1Keys();
    if (_iNumPlayers > 1 && !_bPlayer2Out) HandlePlayer2Keys();
    return;
  }
  switch (_iGameState) {
    case GameStateTitle:
      HandleTitleKeys();
      break;
    case GameStateInterlude:
      HandleStageClearKeys();
      break;
    case GameStateUpgrade1:
      HandleUpgradeMenuKeys(_pPlayer1, _iKeyP1Up, _iKeyP1Down, _iKeyP1Fire);
      break;
    case GameStateUpgrade2:
      HandleUpgradeMenuKeys(_pPlayer2, _iKeyP2Up, _iKeyP2Down, _iKeyP2Fire);
      break;
    default:
      break;
  }
}

void GameFrame() {
  const bool volumeBarEnds = VolumeBarEnds();
  if (PlayPaused()) {
    if (volumeBarEnds) PresentFrame();
    return;
  }
  if (const Stage* stage = StageOfState(_iGameState)) {
    CycleStage(*stage);
    return;
  }
  switch (_iGameState) {
    case GameStateTitle:
    case GameStateInterlude:
    case GameStateUpgrade1:
    case GameStateUpgrade2:
    case GameStateGameOver:
      PresentFrame();
      break;
    default:
      break;
  }
}

void GameDraw(HDC dc) {
  if (StageOfState(_iGameState) != nullptr) {
    DrawPlayScreen(dc);
  } else {
    switch (_iGameState) {
      case GameStateTitle:
        DrawTitleScreen(dc);
        break;
      case GameStateInterlude:
        DrawInterlude(dc);
        break;
      case GameStateUpgrade1:
        DrawUpgradeMenu1(dc);
        break;
      case GameStateUpgrade2:
        DrawUpgradeMenu2(dc);
        break;
      case GameStateGameOver:
        DrawGameOver(dc);
        break;
      default:
        break;
    }
  }
  if (PauseSignShown()) DrawPauseSign(dc);
}

// Pointer input has no part in play.
void MouseDown(int, int, BOOL) {}
void MouseUp(int, int, BOOL) {}
void MouseMoved(int, int) {}

}  // namespace skyrift
