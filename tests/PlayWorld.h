// A small world for the play tests: an engine without a window, the off-screen frame, blank
// images of the game's sizes in colours a test can tell apart, the shipped key bindings and a
// fresh temporary working directory for log.txt. Every global the play code reads is reset, so
// the tests also pass when one process runs them all.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "graphics/Background.h"
#include "graphics/Bitmap.h"
#include "platform/Keyboard.h"
#include "platform/Resources.h"
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
inline std::vector<Sprite*> Tagged(const std::string& tag) {
  std::vector<Sprite*> found;
  for (Sprite* sprite : _pEngine->GetSprites()) {
    if (sprite->Tag() == tag) found.push_back(sprite);
  }
  return found;
}

class PlayWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device entropy;
    folder_ =
        std::filesystem::temp_directory_path() / ("skyrift-play-" + std::to_string(entropy()));
    std::filesystem::create_directories(folder_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);

    frame_ = platform::Surface::CreateTarget(900, 732, RGB(0, 0, 0));
    _hOffscreenBitmap = frame_.get();
    _hOffscreenDC = frame_.get();
    _pEngine = new Engine(platform::ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732);
    _iPlayWidth = 900;
    _iPlayHeight = 600;
    _iFrameRate = 24;
    ResetPlay();

    HDC dc = _hOffscreenDC;
    Keep(_bmpPlayer1, dc, 200, 64, kShipColour);
    Keep(_bmpPlayer2, dc, 200, 64, kShipColour);
    Keep(_bmpPlayer1Recharge, dc, 200, 64, RGB(0, 0, 250));
    Keep(_bmpPlayer2Recharge, dc, 200, 64, RGB(0, 0, 250));
    Keep(_bmpBulletCenter, dc, 212, 26, RGB(255, 255, 255));
    Keep(_bmpBulletLeft, dc, 142, 25, RGB(255, 255, 255));
    Keep(_bmpBulletRight, dc, 142, 25, RGB(255, 255, 255));
    Keep(_bmpBombFlash, dc, 3600, 600, RGB(255, 255, 200));
    Keep(_bmpExplosion, dc, 900, 60, RGB(255, 128, 0));
    Keep(_bmpHudPanel, dc, 900, 132, kPanelColour);
    Keep(_bmpStageClear, dc, 900, 100, kBannerColour);
    Keep(_bmpGameOver, dc, 900, 100, kBannerColour);
    Keep(_bmpUpgradeMenu1, dc, 900, 600, kMenuColour);
    Keep(_bmpUpgradeMenu2, dc, 900, 600, kMenuColour);
    Keep(_bmpInterlude, dc, 566, 732, kPageColour);
    Keep(_bmpTitle, dc, 900, 732, RGB(30, 30, 60));
    Keep(_bmpPressEnter, dc, 300, 40, RGB(250, 250, 250));
    Keep(_bmpHowManyPlayers, dc, 600, 40, RGB(250, 250, 0));
    Keep(_bmpStage2Far, dc, 900, 3500, RGB(5, 5, 40));
    Keep(_bmpStage2Near, dc, 5000, 600, kMagenta);
    Keep(_bmpStage1Far, dc, 900, 600, kFarColour);
    // What the stage cycle's schedules and script put into play.
    Keep(_bmpSwoopEnemy, dc, 50, 39, RGB(200, 0, 0));
    Keep(_bmpHoverEnemy, dc, 64, 29, RGB(200, 0, 10));
    Keep(_bmpGunshipEnemy, dc, 80, 58, RGB(200, 0, 20));
    Keep(_bmpConvoyEnemy, dc, 50, 37, RGB(200, 0, 30));
    Keep(_bmpEnemyBullet, dc, 70, 10, RGB(255, 0, 255));
    Keep(_bmpLargeEnemyBullet, dc, 140, 20, RGB(255, 0, 200));
    Keep(_bmpBoss1, dc, 650, 320, RGB(90, 90, 90));
    Keep(_bmpBoss1RightEngine, dc, 139, 82, RGB(90, 90, 100));
    Keep(_bmpBoss1LeftEngine, dc, 139, 82, RGB(90, 90, 110));
    Keep(_bmpBossBeam, dc, 204, 30, RGB(0, 255, 255));
    Keep(_bmpBossCurtainBullet, dc, 50, 39, RGB(0, 250, 255));
    Keep(_bmpBossSweepBullet, dc, 140, 20, RGB(0, 245, 255));
    Keep(_bmpPowerUp, dc, 30, 30, RGB(0, 0, 200));
    Keep(_bmpRepairPowerUp, dc, 30, 30, RGB(0, 0, 210));
    Keep(_bmpBombPowerUp, dc, 30, 30, RGB(0, 0, 220));
    Keep(_bmpFocusPowerUp, dc, 30, 30, RGB(0, 0, 230));
    Keep(_bmpWarning1, dc, 2440, 110, RGB(250, 0, 0));
    Keep(_bmpWarning2, dc, 2440, 110, RGB(250, 10, 0));
    _pFarBackground = new ScrollingLayer(_bmpStage1Far, 900, 600, ViewUp, 1, FALSE, 0);
    _pNearBackground = nullptr;
  }

  void TearDown() override {
    _pEngine->DeleteAllSprites();
    delete _pEngine;
    _pEngine = nullptr;
    delete _pFarBackground;
    delete _pNearBackground;
    _pFarBackground = _pNearBackground = nullptr;
    _pPlayer1 = _pPlayer2 = nullptr;
    for (Bitmap** global : globals_) *global = nullptr;
    for (Bitmap* image : images_) delete image;
    _hOffscreenDC = nullptr;
    _hOffscreenBitmap = nullptr;
    platform::ResetKeyboard();
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // The play state of a fresh game with the shipped controls.txt.
  static void ResetPlay() {
    platform::ResetKeyboard();
    _iGameState = GameStateTitle;
    _bGameOver = FALSE;
    _iNumPlayers = 0;
    _bStartPressed = _bGameStarted = FALSE;
    _pPlayer1 = _pPlayer2 = nullptr;
    _bPlayer1Out = _bPlayer2Out = FALSE;
    _iMenuDelay = _iFireDelay = _iBombDelay = _iRechargeDelay = _iBulletTimeDelay = 0;
    _bBulletTime = FALSE;
    _iEnergyRegenDelay = _iP1RepairDelay = _iP2RepairDelay = 0;
    _iUpgradeChoice = 0;
    _iStageTicker = 0;
    _pWarning1 = _pWarning2 = nullptr;
    _bWarning1Shown = _bWarning2Shown = _bWarning1Made = _bWarning2Made = FALSE;
    _pBoss = nullptr;
    _pBossLeftEngine = _pBossRightEngine = nullptr;
    _bBossSpawned = _bBossEnginesAttached = FALSE;
    _iLastFirepower1 = _iLastFirepower2 = 10;
    _bBossDefeated = FALSE;
    _iStageClearTimer = 0;
    _bShowStageClear = _bStageClearSoundPlayed = FALSE;
    _iHudBombs1 = _iHudPoints1 = _iHudLives1 = _iHudBombs2 = _iHudPoints2 = _iHudLives2 = 0;
    _sngCurrentStage = nullptr;
    _iKeyP1Up = 38, _iKeyP1Down = 40, _iKeyP1Left = 37, _iKeyP1Right = 39;
    _iKeyP1Fire = 32, _iKeyP1Bomb = 90, _iKeyP1BulletTime = 88, _iKeyP1Recharge = 67,
    _iKeyP1Menu = 9;
    _iKeyP2Up = 87, _iKeyP2Down = 83, _iKeyP2Left = 65, _iKeyP2Right = 68;
    _iKeyP2Fire = 70, _iKeyP2Bomb = 71, _iKeyP2BulletTime = 84, _iKeyP2Recharge = 82,
    _iKeyP2Menu = 81;
  }

  // Sets an image global to a blank image; TearDown deletes it and clears the global.
  void Keep(Bitmap*& global, HDC dc, int width, int height, COLORREF colour) {
    global = Image(dc, width, height, colour);
    globals_.push_back(&global);
  }

  Bitmap* Image(HDC dc, int width, int height, COLORREF colour) {
    images_.push_back(new Bitmap(dc, width, height, colour));
    return images_.back();
  }

  // A plain sprite of one colour, tagged, in the engine's list.
  Sprite* AddSprite(const char* tag, int x, int y, int width = 40, int height = 40,
                    COLORREF colour = RGB(255, 0, 0)) {
    auto* sprite =
        new Sprite(Image(_hOffscreenDC, width, height, colour), RECT{0, 0, 900, 600}, EdgeStop);
    sprite->SetTag(tag);
    sprite->SetPosition(x, y);
    _pEngine->InsertSprite(sprite);
    return sprite;
  }

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::ifstream log(folder_ / "log.txt");
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }

  static void Hold(int key) { platform::KeyEvent(key, true); }
  static void Let(int key) { platform::KeyEvent(key, false); }

 private:
  std::filesystem::path folder_;
  std::filesystem::path previous_;
  std::unique_ptr<platform::Surface> frame_;
  std::vector<Bitmap*> images_;
  std::vector<Bitmap**> globals_;
};

}  // namespace skyrift::testing
