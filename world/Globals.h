// Every process-wide global of the game, declared once and grouped by who owns it, below the
// sprites, the engine and the game that read them (sprite classes are only named here).
// Defined in world/Globals.cpp; all start at zero or null unless said otherwise.
#pragma once

#include <cstdint>

#include "platform/Resources.h"
#include "platform/Surface.h"
#include "platform/Types.h"

namespace skyrift {

class Engine;
class Bitmap;
class Background;
class Sprite;
class PlayerShip;
class BossShip;
struct Sample;
struct Stream;

// --- The state machine -------------------------------------------------------------------
// The stages' play states are beside the stage table (game/Stages.h).
constexpr int GameStateTitle = 0;
constexpr int GameStateInterlude = 7;
constexpr int GameStateUpgrade1 = 12;
constexpr int GameStateUpgrade2 = 13;
constexpr int GameStateGameOver = 14;

extern int _iGameState;         // the current GameState
extern int _iStateBeforeMenu1;  // restored when player 1's menu closes
extern int _iStateBeforeMenu2;  // restored when player 2's menu closes
extern int _iMenuToggleDelay;   // frames; shared by both menu keys and the stick's menu button
extern BOOL _bGameOver;         // set with state 14; the keys do nothing while it is set
extern BOOL _bPlayPaused;       // paused by key: no frame runs until the key is pressed again

// --- Engine, window and frame ------------------------------------------------------------
extern Engine* _pEngine;
extern HINSTANCE _hInstance;  // where the images are loaded from
extern int _iPlayWidth;       // 900: the play area above the status panel
extern int _iPlayHeight;      // 600
// The play area as a rectangle at the origin: the bounds of the ships, the shots, the enemies
// and everything else that flies.
RECT PlayArea();
extern int _iFrameRate;  // 24 frames per second
// Every frame is painted in _hOffscreenDC: the window's own pixels where they hold a frame of the
// game's size, otherwise _hOffscreenBitmap, a 900 x 732 frame of the game's own (owned), copied
// to the window. See CurrentFrame.
extern HDC _hOffscreenDC;
extern platform::Surface* _hOffscreenBitmap;
extern Background* _pFarBackground;   // the current stage's opaque far layer; owned
extern Background* _pNearBackground;  // the current stage's keyed near layer; owned

// --- Sound -------------------------------------------------------------------------------
extern Stream* _sngCurrentStage;  // the stage music; owned

// --- Title and players -------------------------------------------------------------------
extern int _iNumPlayers;       // 1 or 2 once chosen on the title screen
extern BOOL _bStartPressed;    // title: start pressed, the number of players is asked
extern BOOL _bGameStarted;     // title: the number of players was chosen
extern PlayerShip* _pPlayer1;  // owned by the sprite list; read only while the player is in play
extern PlayerShip* _pPlayer2;
extern BOOL _bPlayer1Out;  // the player is not in play (absent or out of lives)
extern BOOL _bPlayer2Out;
// The firepower each ship had when the sprite list deleted it: the damage of that player's
// shots still in flight afterwards. 10, a new ship's, until then.
extern int _iLastFirepower1, _iLastFirepower2;

// --- Key codes (Windows virtual-key codes from controls.txt; 0 is unbound) ---------------
extern int _iKeyP1Up, _iKeyP1Down, _iKeyP1Left, _iKeyP1Right;
extern int _iKeyP1Fire, _iKeyP1Bomb, _iKeyP1BulletTime, _iKeyP1Recharge, _iKeyP1Menu;
extern int _iKeyP2Up, _iKeyP2Down, _iKeyP2Left, _iKeyP2Right;
extern int _iKeyP2Fire, _iKeyP2Bomb, _iKeyP2BulletTime, _iKeyP2Recharge, _iKeyP2Menu;

// --- Repeat counters, in frames; each is incremented just before its test ----------------
extern int _iMenuDelay;        // title steps and the upgrade menus
extern int _iFireDelay;        // fire (shared by both players and the stick)
extern int _iBombDelay;        // bomb
extern int _iRechargeDelay;    // recharge-mode toggle
extern int _iBulletTimeDelay;  // bullet-time toggle

// --- Player status upkeep ----------------------------------------------------------------
extern BOOL _bBulletTime;       // bullet time is on for the whole game
extern int _iEnergyRegenDelay;  // frames toward the next energy point
extern int _iP1RepairDelay;     // frames toward player 1's next repair point
extern int _iP2RepairDelay;     // frames toward player 2's next repair point

// --- Upgrade menu ------------------------------------------------------------------------
extern int _iUpgradeChoice;  // highlighted entry 0 to 3, shared by both menus
extern int _iUpgradeCost;    // points per upgrade: 2500

// --- Stage script ------------------------------------------------------------------------
extern int _iStageTicker;   // frames since the stage began
extern int _iCurrentStage;  // the row of the stage table played, or last cleared; 0 is stage 1
extern Sprite* _pWarning1;  // the warning signs; owned by the sprite list
extern Sprite* _pWarning2;
extern BOOL _bWarning1Shown, _bWarning2Shown;
extern BOOL _bWarning1Made, _bWarning2Made;  // each sign is made once per run, never again
extern BossShip* _pBoss;                     // owned by the sprite list
extern Sprite* _pBossLeftEngine;  // owned by the game until attached, then by the sprite list
extern Sprite* _pBossRightEngine;
extern BOOL _bBossSpawned, _bBossEnginesAttached, _bBossDefeated;
extern int _iStageClearTimer;  // frames since the boss died
extern BOOL _bShowStageClear, _bStageClearSoundPlayed;
// Stage 1's last frame as it was when the stage was cleared, kept for the interlude page to lie
// on; owned, made once when the stage is cleared.
extern platform::Surface* _hStageClearedFrame;

// --- Status panel: the last numbers shown, kept after a player is out ----------------------
extern int _iHudBombs1, _iHudPoints1, _iHudLives1;
extern int _iHudBombs2, _iHudPoints2, _iHudLives2;

// --- Images (owned; made by CreateBitmaps, freed by DeleteBitmaps) -------------------------
extern Bitmap *_bmpStage1Far, *_bmpStage1Near, *_bmpStage2Far, *_bmpStage2Near;
extern Bitmap *_bmpHudPanel, *_bmpGameOver, *_bmpUpgradeMenu1, *_bmpUpgradeMenu2;
extern Bitmap *_bmpTitle, *_bmpPressEnter, *_bmpHowManyPlayers, *_bmpInstructions;
extern Bitmap* _bmpPaused;  // the word over the pause sign
// The shipped keys as the forge lettered them: the title's plates, each upgrade menu's line.
extern Bitmap *_bmpKeyLegend, *_bmpUpgradeKeys1, *_bmpUpgradeKeys2;
extern Bitmap *_bmpStageClear, *_bmpWarning1, *_bmpWarning2;
extern Bitmap *_bmpPlayer1, *_bmpPlayer1Recharge, *_bmpPlayer2, *_bmpPlayer2Recharge;
extern Bitmap *_bmpSwoopEnemy, *_bmpHoverEnemy, *_bmpConvoyEnemy, *_bmpSpareEnemy,
    *_bmpGunshipEnemy;
extern Bitmap *_bmpBoss1, *_bmpBoss1RightEngine, *_bmpBoss1LeftEngine, *_bmpBossBeam;
extern Bitmap *_bmpBulletCenter, *_bmpBulletLeft, *_bmpBulletRight;
extern Bitmap *_bmpEnemyBullet, *_bmpLargeEnemyBullet, *_bmpBossCurtainBullet, *_bmpBossSweepBullet;
extern Bitmap *_bmpExplosion, *_bmpPowerUp, *_bmpRepairPowerUp, *_bmpBombPowerUp, *_bmpFocusPowerUp;
extern Bitmap *_bmpBombFlash, *_bmpSpareFlash, *_bmpInterlude;

// --- Samples (loaded by LoadSounds) --------------------------------------------------------
extern Sample *_sndExplosion, *_sndBoss1Enter, *_sndBulletTimeAct, *_sndBulletTimeDeact;
extern Sample *_sndBulletTimeDur, *_sndPlayerFire, *_sndPlayerBomb, *_sndEnemyFire, *_sndEnemyFire2;
extern Sample *_sndUpgradeDing, *_sndBtDepleted, *_sndShieldsDepleted, *_sndLargeIncoming;
extern Sample *_sndMassiveEnemy, *_sndStage1Complete;

// --- Resets --------------------------------------------------------------------------------
// Every global of play back to its value at program start: the state machine, the title and the
// players, the keys, the repeat counters, the upgrade menu, the stage script, the status panel
// and the music handle. The engine, the frame, the layers, the images and the samples are left
// to the owners that free them. For runs of several games in one process (tests, benchmarks).
void ResetPlayGlobals();
// The globals a new game starts from. Player 2's repair counter, the menus' saved states and
// the stage script's flags are not among them: they keep what the last game left.
void ResetNewGameGlobals();

}  // namespace skyrift
