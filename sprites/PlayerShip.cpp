#include "sprites/PlayerShip.h"

#include "sprites/Explosion.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {

PlayerShip::PlayerShip(Bitmap* image, const RECT& bounds, EdgeAction edgeAction)
    : Sprite(image, bounds, edgeAction) {
  slowSpeed = baseSpeed / 2;
}

void PlayerShip::UpgradeFirepower(int n) {
  // The power-up bonus is a share of the base, so it is re-applied on the new base.
  const int level = powerLevel;
  powerLevel = 0;
  baseFirepower += n;
  firepower = baseFirepower;
  for (int i = 0; i < level; ++i) PowerUp();
}

void PlayerShip::AddEnergy(int n) {
  if (energy + n >= maxEnergy) {
    energy = maxEnergy;
  } else {
    energy += n;
  }
}

void PlayerShip::UpgradeSpeed(int n) {
  baseSpeed += n;
  slowSpeed = baseSpeed / 2;
  speed = baseSpeed;
}

void PlayerShip::PowerUp() {
  if (powerLevel <= 2) firepower += (2 * baseFirepower) / 10;
  if (powerLevel < 4) powerLevel += 1;
}

bool PlayerShip::LoseLife() {
  lives -= 1;
  if (lives < 0) {
    Kill();
    return true;
  }
  powerLevel = 0;  // the firepower keeps its bonus
  Heal(9999);
  if (recharging) {
    // The new ship starts in normal mode, at its normal speed and in its normal picture.
    recharging = 0;
    speed = baseSpeed;
    SetBitmap(Tag() == TagPlayer2 ? _bmpPlayer2 : _bmpPlayer1);
  }
  bulletTime = 0;

  AddExplosion(position.left, position.top);

  // A fresh ship at the bottom centre of the play area.
  SetPosition(_iPlayWidth / 2 - GetWidth() / 2, _iPlayHeight - GetHeight());
  return false;
}

void PlayerShip::Heal(int n) {
  if (health + n >= maxHealth) {
    SetHealth(maxHealth);
  } else {
    health += n;
  }
}

void PlayerShip::UpgradeHull(int n) {
  maxHealth += n;
  health = maxHealth;
}

void PlayerShip::UpgradeEnergy(int n) {
  maxEnergy += n;
  energy = maxEnergy;
}

}  // namespace skyrift
