// The definitions of the globals declared in world/Globals.h; zero-initialised like any static.
#include "world/Globals.h"

namespace skyrift {

int _iGameState;
int _iStateBeforeMenu1;
int _iStateBeforeMenu2;
int _iMenuToggleDelay;
BOOL _bGameOver;
BOOL _bPlayPaused;

Engine* _pEngine;
HINSTANCE _hInstance;
// The play area's size from the start, so that sprites made before GameInitialize (in tests and
// tools) fly in the same area as in the game.
int _iPlayWidth = 900;
int _iPlayHeight = 600;
int _iFrameRate;
HDC _hOffscreenDC;
platform::Surface* _hOffscreenBitmap;
Background* _pFarBackground;
Background* _pNearBackground;

Stream* _sngCurrentStage;

int _iNumPlayers;
BOOL _bStartPressed;
BOOL _bGameStarted;
PlayerShip* _pPlayer1;
PlayerShip* _pPlayer2;
BOOL _bPlayer1Out;
BOOL _bPlayer2Out;
int _iLastFirepower1 = 10;
int _iLastFirepower2 = 10;

int _iKeyP1Up, _iKeyP1Down, _iKeyP1Left, _iKeyP1Right;
int _iKeyP1Fire, _iKeyP1Bomb, _iKeyP1BulletTime, _iKeyP1Recharge, _iKeyP1Menu;
int _iKeyP2Up, _iKeyP2Down, _iKeyP2Left, _iKeyP2Right;
int _iKeyP2Fire, _iKeyP2Bomb, _iKeyP2BulletTime, _iKeyP2Recharge, _iKeyP2Menu;

int _iMenuDelay;
int _iFireDelay;
int _iBombDelay;
int _iRechargeDelay;
int _iBulletTimeDelay;

BOOL _bBulletTime;
int _iEnergyRegenDelay;
int _iP1RepairDelay;
int _iP2RepairDelay;

int _iUpgradeChoice;
int _iUpgradeCost;

int _iStageTicker;
int _iCurrentStage;
Sprite* _pWarning1;
Sprite* _pWarning2;
BOOL _bWarning1Shown, _bWarning2Shown;
BOOL _bWarning1Made, _bWarning2Made;
BossShip* _pBoss;
Sprite* _pBossLeftEngine;
Sprite* _pBossRightEngine;
BOOL _bBossSpawned, _bBossEnginesAttached, _bBossDefeated;
int _iStageClearTimer;
BOOL _bShowStageClear, _bStageClearSoundPlayed;
platform::Surface* _hStageClearedFrame;

int _iHudBombs1, _iHudPoints1, _iHudLives1;
int _iHudBombs2, _iHudPoints2, _iHudLives2;

Bitmap *_bmpStage1Far, *_bmpStage1Near, *_bmpStage2Far, *_bmpStage2Near;
Bitmap *_bmpHudPanel, *_bmpGameOver, *_bmpUpgradeMenu1, *_bmpUpgradeMenu2;
Bitmap *_bmpTitle, *_bmpPressEnter, *_bmpHowManyPlayers, *_bmpInstructions;
Bitmap* _bmpPaused;
Bitmap *_bmpKeyLegend, *_bmpUpgradeKeys1, *_bmpUpgradeKeys2;
Bitmap *_bmpStageClear, *_bmpWarning1, *_bmpWarning2;
Bitmap *_bmpPlayer1, *_bmpPlayer1Recharge, *_bmpPlayer2, *_bmpPlayer2Recharge;
Bitmap *_bmpSwoopEnemy, *_bmpHoverEnemy, *_bmpConvoyEnemy, *_bmpSpareEnemy, *_bmpGunshipEnemy;
Bitmap *_bmpBoss1, *_bmpBoss1RightEngine, *_bmpBoss1LeftEngine, *_bmpBossBeam;
Bitmap *_bmpBulletCenter, *_bmpBulletLeft, *_bmpBulletRight;
Bitmap *_bmpEnemyBullet, *_bmpLargeEnemyBullet, *_bmpBossCurtainBullet, *_bmpBossSweepBullet;
Bitmap *_bmpExplosion, *_bmpPowerUp, *_bmpRepairPowerUp, *_bmpBombPowerUp, *_bmpFocusPowerUp;
Bitmap *_bmpBombFlash, *_bmpSpareFlash, *_bmpInterlude;

Sample *_sndExplosion, *_sndBoss1Enter, *_sndBulletTimeAct, *_sndBulletTimeDeact;
Sample *_sndBulletTimeDur, *_sndPlayerFire, *_sndPlayerBomb, *_sndEnemyFire, *_sndEnemyFire2;
Sample *_sndUpgradeDing, *_sndBtDepleted, *_sndShieldsDepleted, *_sndLargeIncoming;
Sample *_sndMassiveEnemy, *_sndStage1Complete;

void ResetPlayGlobals() {
  _iGameState = GameStateTitle;
  _iStateBeforeMenu1 = _iStateBeforeMenu2 = 0;
  _iMenuToggleDelay = 0;
  _bGameOver = FALSE;
  _bPlayPaused = FALSE;
  _sngCurrentStage = nullptr;
  _iNumPlayers = 0;
  _bStartPressed = _bGameStarted = FALSE;
  _pPlayer1 = _pPlayer2 = nullptr;
  _bPlayer1Out = _bPlayer2Out = FALSE;
  _iLastFirepower1 = _iLastFirepower2 = 10;
  _iKeyP1Up = _iKeyP1Down = _iKeyP1Left = _iKeyP1Right = 0;
  _iKeyP1Fire = _iKeyP1Bomb = _iKeyP1BulletTime = _iKeyP1Recharge = _iKeyP1Menu = 0;
  _iKeyP2Up = _iKeyP2Down = _iKeyP2Left = _iKeyP2Right = 0;
  _iKeyP2Fire = _iKeyP2Bomb = _iKeyP2BulletTime = _iKeyP2Recharge = _iKeyP2Menu = 0;
  _iMenuDelay = _iFireDelay = _iBombDelay = _iRechargeDelay = _iBulletTimeDelay = 0;
  _bBulletTime = FALSE;
  _iEnergyRegenDelay = _iP1RepairDelay = _iP2RepairDelay = 0;
  _iUpgradeChoice = 0;
  _iUpgradeCost = 0;
  _iStageTicker = 0;
  _iCurrentStage = 0;
  _pWarning1 = _pWarning2 = nullptr;
  _bWarning1Shown = _bWarning2Shown = _bWarning1Made = _bWarning2Made = FALSE;
  _pBoss = nullptr;
  _pBossLeftEngine = _pBossRightEngine = nullptr;
  _bBossSpawned = _bBossEnginesAttached = _bBossDefeated = FALSE;
  _iStageClearTimer = 0;
  _bShowStageClear = _bStageClearSoundPlayed = FALSE;
  _iHudBombs1 = _iHudPoints1 = _iHudLives1 = _iHudBombs2 = _iHudPoints2 = _iHudLives2 = 0;
}

void ResetNewGameGlobals() {
  _iGameState = GameStateTitle;
  _iMenuToggleDelay = 0;
  _bGameOver = FALSE;
  _iNumPlayers = 0;
  _bStartPressed = _bGameStarted = FALSE;
  _bPlayer1Out = _bPlayer2Out = FALSE;
  _iMenuDelay = _iFireDelay = _iBombDelay = _iRechargeDelay = _iBulletTimeDelay = 0;
  _bBulletTime = FALSE;
  _iEnergyRegenDelay = _iP1RepairDelay = 0;
  _iUpgradeChoice = 0;
  _iUpgradeCost = 2500;  // points per upgrade
  _iStageTicker = 0;
  _iCurrentStage = 0;
}

RECT PlayArea() {
  return RECT{0, 0, _iPlayWidth, _iPlayHeight};
}

}  // namespace skyrift
