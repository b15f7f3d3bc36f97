// A player's ship: a plain sprite in how it moves and draws, plus the player's stats:
// firepower, speed, bullet-time energy, points, bombs, power-up level, spare lives and modes.
#pragma once

#include "sprites/Sprite.h"

namespace skyrift {

class PlayerShip : public Sprite {
 public:
  PlayerShip(Bitmap* image, const RECT& bounds, EdgeAction edgeAction);

  void UpgradeFirepower(int n);
  void AddEnergy(int n);
  void UpgradeSpeed(int n);
  void PowerUp();
  // Spends a life: true when none was left and the ship is out of the game.
  bool LoseLife();
  void Heal(int n);
  void UpgradeHull(int n);
  void UpgradeEnergy(int n);

  int GetPoints() const { return points; }
  void AddPoints(int n) { points += n; }
  int GetBombs() const { return bombs; }
  void SetBombs(int n) { bombs = n; }
  void AddBombs(int n) { bombs += n; }
  int GetPowerLevel() const { return powerLevel; }
  int GetLives() const { return lives; }
  int GetEnergy() const { return energy; }
  int GetMaxEnergy() const { return maxEnergy; }
  int GetFirepower() const { return firepower; }
  int GetSpeed() const { return speed; }
  int GetBaseSpeed() const { return baseSpeed; }
  int IsRecharging() const { return recharging; }
  void SetRecharging(int flag) { recharging = flag; }
  int HasBulletTime() const { return bulletTime; }
  void SetBulletTime(int flag) { bulletTime = flag; }
  void UseNormalSpeed() { speed = baseSpeed; }
  void UseSlowSpeed() { speed = slowSpeed; }

 private:
  int firepower = 10;      // damage of this player's bullets: base plus the power-up bonus
  int baseFirepower = 10;  // bought in the upgrade menu
  int speed = 8;           // pixels per frame now
  int baseSpeed = 8;
  int slowSpeed = 4;  // half the base speed: recharge mode
  int energy = 500;   // bullet-time energy
  int maxEnergy = 500;
  int points = 0;
  int bombs = 0;
  int powerLevel = 0;  // 0 to 4
  int lives = 5;       // spare ships
  int recharging = 0;
  int bulletTime = 0;  // this player switched bullet time on
};

}  // namespace skyrift
