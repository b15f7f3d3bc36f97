// Keys to play, polled once per frame: the title screen's start and player count, the menu keys
// and the upgrade menu's keys, fire to leave the stage-clear screen, and each player's fire,
// bomb, mode toggles and movement. Every action waits on a repeat counter in frames, shared by
// both players.
#include "game/KeyboardInput.h"

#include "engine/Sound.h"
#include "game/PlayerActions.h"
#include "game/Players.h"
#include "game/StageCycle.h"
#include "game/Stages.h"
#include "game/UpgradeMenu.h"
#include "platform/Keyboard.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kKeyEnter = 13;
constexpr int kKeyOne = 0x31;
constexpr int kKeyTwo = 0x32;

constexpr int kTitleFrames = 6;        // title steps wait more than this many counted frames
constexpr int kFireFrames = 4;         // between volleys
constexpr int kStageClearFrames = 5;   // before fire leaves the stage-clear screen
constexpr int kToggleFrames = 5;       // between recharge or bullet-time toggles
constexpr int kMenuToggleFrames = 10;  // counted twice a frame, by both menu keys' tests

bool KeyDown(int code) {
  return platform::GetAsyncKeyState(code) < 0;
}

// One player's keys, as controls.txt set them, and bomb wait, so both handlers share one body.
struct PlayerControls {
  const int *up, *down, *left, *right;
  const int *fire, *bomb, *bulletTime, *recharge;
  int bombFrames;
};

// Player 1 waits longer for a bomb than player 2.
// clang-format off
constexpr PlayerControls kPlayer1Controls{&_iKeyP1Up, &_iKeyP1Down, &_iKeyP1Left, &_iKeyP1Right,
                                          &_iKeyP1Fire, &_iKeyP1Bomb, &_iKeyP1BulletTime,
                                          &_iKeyP1Recharge, 8};
constexpr PlayerControls kPlayer2Controls{&_iKeyP2Up, &_iKeyP2Down, &_iKeyP2Left, &_iKeyP2Right,
                                          &_iKeyP2Fire, &_iKeyP2Bomb, &_iKeyP2BulletTime,
                                          &_iKeyP2Recharge, 5};
// clang-format on

// A direction key read once per frame: a tap since the last frame is "touched" without being
// down, for every test of this frame alike.
struct DirectionKey {
  int16_t state;
  explicit DirectionKey(int code) : state(platform::GetAsyncKeyState(code)) {}
  bool Down() const { return state < 0; }
  bool Untouched() const { return state == 0; }
};

// The way across while up or down is held: left before right.
int Across(const DirectionKey& left, const DirectionKey& right) {
  return left.Down() ? -1 : right.Down() ? 1 : 0;
}

void Move(PlayerShip* ship, const PlayerControls& keys) {
  const DirectionKey up(*keys.up), down(*keys.down), left(*keys.left), right(*keys.right);
  // Unlike the stick, the keys stop the ship when none is touched, and a sideways key counts
  // only when no other direction key is touched.
  if (up.Untouched() && down.Untouched() && left.Untouched() && right.Untouched()) {
    Steer(ship, 0, 0);
  } else if (left.Down() && right.Untouched() && up.Untouched() && down.Untouched()) {
    Steer(ship, -1, 0);
  } else if (right.Down() && up.Untouched() && down.Untouched() && left.Untouched()) {
    Steer(ship, 1, 0);
  } else if (up.Down()) {
    Steer(ship, Across(left, right), -1);
  } else if (down.Down()) {
    Steer(ship, Across(left, right), 1);
  }
  // Otherwise (left and right together, or a tap) the ship keeps the velocity it had.
}

// The keys' counters advance every frame, held or not, and both players' handlers advance the
// same ones; the pad's count only while their button is held.
void HandlePlayerKeys(PlayerShip* ship, const PlayerControls& keys) {
  if (++_iFireDelay > kFireFrames && KeyDown(*keys.fire) && !ship->IsRecharging()) {
    FireVolley(ship);
    _iFireDelay = 0;
  }

  // Without a bomb the counter still counts.
  if (++_iBombDelay > keys.bombFrames && ship->GetBombs() > 0 && KeyDown(*keys.bomb)) {
    DropBomb(ship);
    _iBombDelay = 0;
  }

  if (++_iRechargeDelay > kToggleFrames && KeyDown(*keys.recharge)) {
    ToggleRecharge(ship);
    _iRechargeDelay = 0;
  }

  // Either player's key switches bullet time off, whoever switched it on.
  if (++_iBulletTimeDelay > kToggleFrames && KeyDown(*keys.bulletTime)) {
    ToggleBulletTime(ship);
    _iBulletTimeDelay = 0;
  }

  Move(ship, keys);
}

// The title's last step: the digit key of the number of players starts the game.
void ChoosePlayers(int digitKey, int players) {
  if (++_iMenuDelay > kTitleFrames && _bStartPressed && !_bGameStarted && KeyDown(digitKey)) {
    PlaySample(kAnyFreeChannel, _sndUpgradeDing);
    _iNumPlayers = players;
    _bGameStarted = TRUE;
    _iGameState = kStages[0].state;
    _iMenuDelay = 0;
    CreatePlayers(players == 2 ? TRUE : FALSE);
  }
}

}  // namespace

void HandleTitleKeys() {
  // The counter advances before each of the three steps, so three times a frame here.
  if (++_iMenuDelay > kTitleFrames && !_bStartPressed &&
      (KeyDown(kKeyEnter) || KeyDown(_iKeyP1Fire))) {
    PlaySample(kAnyFreeChannel, _sndUpgradeDing);
    _bStartPressed = TRUE;
    _iMenuDelay = 0;
  }
  ChoosePlayers(kKeyOne, 1);
  ChoosePlayers(kKeyTwo, 2);
}

void HandleMenuKeys() {
  // One counter for both toggles, advanced before each test: a held key toggles every sixth
  // frame. A menu shows its ship's values, so a player without a ship in play has none.
  if (++_iMenuToggleDelay > kMenuToggleFrames && KeyDown(_iKeyP1Menu) && _pPlayer1 != nullptr &&
      !_bPlayer1Out) {
    ToggleUpgradeMenu(1);
    _iMenuToggleDelay = 0;
  }
  if (++_iMenuToggleDelay > kMenuToggleFrames && KeyDown(_iKeyP2Menu) && _iNumPlayers > 1 &&
      _pPlayer2 != nullptr && !_bPlayer2Out) {
    ToggleUpgradeMenu(2);
    _iMenuToggleDelay = 0;
  }
}

void HandleUpgradeMenuKeys(PlayerShip* ship, int upKey, int downKey, int fireKey) {
  StepUpgradeMenu(ship, KeyDown(upKey), KeyDown(downKey), KeyDown(fireKey));
}

void HandleStageClearKeys() {
  // The counter is never cleared here. Both players pressing fire in one frame enter the next
  // stage once: a second start would replace the layers and the music again.
  bool started = false;
  if (!_bPlayer1Out && ++_iFireDelay > kStageClearFrames && KeyDown(_iKeyP1Fire)) {
    EnterNextStage();
    started = true;
  }
  if (!_bPlayer2Out && ++_iFireDelay > kStageClearFrames && KeyDown(_iKeyP2Fire) && !started) {
    EnterNextStage();
  }
}

void HandlePlayer1Keys() {
  // Once out, the ship may already have been deleted by the sprite list.
  if (_bPlayer1Out || _pPlayer1 == nullptr) return;
  HandlePlayerKeys(_pPlayer1, kPlayer1Controls);
}

void HandlePlayer2Keys() {
  if (_bPlayer2Out || _pPlayer2 == nullptr) return;
  HandlePlayerKeys(_pPlayer2, kPlayer2Controls);
}

}  // namespace skyrift
