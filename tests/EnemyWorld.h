// What the enemy tests share: an engine whose sprite list collects what the enemies fire, the
// play-area globals, blank images of the real sizes, and a way to pick a seed whose next draws
// of rand() have the properties a test needs.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "engine/Engine.h"
#include "graphics/Bitmap.h"
#include "platform/Resources.h"
#include "sprites/PlayerShip.h"
#include "sprites/Sprite.h"
#include "world/Globals.h"

namespace skyrift::testing {

class EnemyWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    _pEngine = new Engine(platform::ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732);
    _iFrameRate = 24;
    _iPlayWidth = 900;
    _iPlayHeight = 600;
    _bBulletTime = FALSE;
    _bmpHoverEnemy = Image(64, 29);
    _bmpGunshipEnemy = Image(80, 58);
    _bmpSwoopEnemy = Image(50, 39);
    _bmpConvoyEnemy = Image(50, 37);
    _bmpBoss1 = Image(650, 320);
    _bmpEnemyBullet = Image(70, 10);
    _bmpLargeEnemyBullet = Image(140, 20);
    _bmpBossBeam = Image(204, 30);
    _bmpBossCurtainBullet = Image(50, 39);
    _bmpBossSweepBullet = Image(140, 20);
    _bmpPlayer1 = Image(200, 50);
    _bmpPlayer2 = Image(200, 50);
  }

  void TearDown() override {
    _pEngine->DeleteAllSprites();
    delete _pEngine;
    _pEngine = nullptr;
    _pPlayer1 = _pPlayer2 = nullptr;
  }

  Bitmap* Image(int width, int height) {
    images_.push_back(std::make_unique<Bitmap>(nullptr, width, height, RGB(40, 80, 120)));
    return images_.back().get();
  }

  // Puts the players in play at the given top-left corners; a player without a place is out.
  void Players(const POINT* one, const POINT* two) {
    _bPlayer1Out = (one == nullptr);
    _bPlayer2Out = (two == nullptr);
    _pPlayer1 = one != nullptr ? Ship(_bmpPlayer1, "player1", *one) : nullptr;
    _pPlayer2 = two != nullptr ? Ship(_bmpPlayer2, "player2", *two) : nullptr;
  }

  // The sprites the enemies have handed to the engine so far.
  const std::vector<Sprite*>& Fired() const { return _pEngine->GetSprites(); }

  // The first seed from which the next `count` draws of rand() satisfy `wanted`.
  static unsigned SeedWhere(int count, const std::function<bool(const std::vector<int>&)>& wanted) {
    std::vector<int> draws(count);
    for (unsigned seed = 1; seed < 1000000; ++seed) {
      std::srand(seed);
      for (int& draw : draws) draw = std::rand();
      if (wanted(draws)) return seed;
    }
    ADD_FAILURE() << "no seed gives the wanted draws";
    return 1;
  }

 private:
  PlayerShip* Ship(Bitmap* image, const char* tag, POINT at) {
    ships_.push_back(std::make_unique<PlayerShip>(image, RECT{0, 0, 900, 600}, EdgeStop));
    PlayerShip* ship = ships_.back().get();
    ship->SetFrameCount(4, FALSE);
    ship->SetTag(tag);
    ship->SetPosition(at);
    return ship;
  }

  std::vector<std::unique_ptr<Bitmap>> images_;
  std::vector<std::unique_ptr<PlayerShip>> ships_;
};

}  // namespace skyrift::testing
